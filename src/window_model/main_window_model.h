// The main window's rules without a toolkit: the boxes' histories and the
// Begin rule, the commands of the buttons and the menu, the run control with
// its questions, the progress display, and the settings loaded at the first
// show and saved at close. It is the run's host, shows everything through a
// WindowView and asks the user through Dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "engine/run_host.h"
#include "engine/run_settings.h"
#include "run/run_time.h"
#include "settings/settings_paths.h"
#include "window_model/dialogs.h"
#include "window_model/file_dialogs.h"
#include "window_model/screen_text.h"
#include "window_model/window_view.h"

namespace pellimar {

class ProgramLauncher;
struct SettingsData;

// A message with, on a line of its own, the file it concerns and the reason.
std::string WithFileAndReason(const std::string& message, const std::string& file, const std::string& reason);

inline constexpr const char* kApplicationTitle = "Folio Flat File Pellimar";

struct WindowServices {
    Dialogs* dialogs = nullptr;
    ProgramLauncher* launcher = nullptr;
    SettingsPaths settingsPaths;
    std::string guidePath;
    // Local time of day in milliseconds.
    std::function<std::int64_t()> clock;
    // Runs a pass (a conversion, a preview) with the given host; when unset,
    // on the caller's thread. A window whose system holds its thread in
    // loops of its own (an open menu, a window being moved) runs it on a
    // thread of its own, with the host's calls carried back.
    std::function<void(RunHost& host, const std::function<void(RunHost&)>& pass)> runPass;
};

class MainWindowModel : public RunHost {
public:
    // The view is only used once the window is shown or a command runs.
    MainWindowModel(WindowView& view, WindowServices services);

    // The window's own events.
    void FirstShown();
    // True when the window may close; the settings are then saved. During a
    // run it cancels the run, and the window closes at the run's end.
    bool CloseRequested();

    // The boxes' events.
    void BoxEdited(HistoryBox box);
    void BoxLeft(HistoryBox box);
    void EnterInBox(HistoryBox box);
    void DeleteShownEntry(HistoryBox box);
    // False for a typed character the box discards.
    bool AcceptsTypedCharacter(HistoryBox box, char typed) const;

    // The commands of the buttons and the menu. Each reports its own errors
    // through the general error handler.
    void BeginOrCancel();
    void Preview();
    void ChooseInputFile();
    void ChooseOutputFile();
    void LoadLevels();
    void ChooseViewer();
    void Exit();
    void ShowAbout();
    void ShowHelp();
    void FileMenuOpening();
    void PreferencesMenuOpening();
    void ToggleLeftJustOnly();
    void ToggleShowProgMeter();
    void ToggleUseHR();
    void ToggleIdRecords();
    // A file dropped on the window: a definition file fills the level names
    // as "Load Levels" does; any other becomes the input, and names the
    // output when none is given.
    void FileDropped(const std::string& path);

    void UpdateBeginButton();
    // The program's general error handler: the message in an error box
    // captioned with the application title, with a full stop added when the
    // message ends in a character that sorts above ".".
    void HandleException(const std::exception& error);

    // RunHost
    void EnterRunning() override;
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override;
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override;
    bool LeftJustOnly() const override { return leftJustOnly_; }
    bool UseHR() const override { return useHR_; }
    bool IdRecords() const override { return idRecords_; }
    bool CancelRequested() const override { return cancelRequested_; }

    bool ShowProgMeter() const { return showProgMeter_; }
    bool IsRunning() const { return running_; }
    std::int32_t RunPercent() const { return runPercent_; }
    const std::string& ViewerPath() const { return viewerPath_; }
    // A box's entries as the settings hold them, top first.
    const std::vector<std::string>& History(HistoryBox box) const { return histories_[BoxIndex(box)]; }
    const FileDialogState& OpenDialog() const { return openDialog_; }
    const FileDialogState& SaveDialog() const { return saveDialog_; }

private:
    // Runs a command; an error it raises reaches the general error handler.
    void Guarded(const std::function<void()>& command);
    void SetHistory(HistoryBox box, std::vector<std::string> entries);
    void AddShownText(HistoryBox box);
    // The text shown: UTF-8 in the pattern and level boxes, the system's
    // file names in the file boxes.
    std::string Text(HistoryBox box) const { return view_.BoxText(box); }
    // The text shown as the file and the settings hold it, and back.
    FileText BoxFileText(HistoryBox box) const;
    std::string ScreenText(HistoryBox box, const std::string& bytes) const;
    void ShowBoxText(HistoryBox box, const std::string& bytes);
    void LoadSettingsIntoWindow(const SettingsData& data);
    SettingsData SettingsFromWindow() const;
    // Nothing when a box holds a character the file cannot; the user was told.
    std::optional<RunSettings> SettingsForRun();
    bool PassesRunChecks(const RunSettings& settings);

    bool RefuseOutputThatIsInput(const RunSettings& settings);
    // Shows the open or save dialog captioned for its purpose, in the folder
    // last used for it; true when the user confirmed a file.
    bool ShowFileDialog(FileDialogState& dialog, FileDialogPurpose purpose, bool save);
    bool ConfirmOverwrite();
    void RunPass(const std::function<void(RunHost&)>& pass);
    void RunAndReport(const RunSettings& settings);
    void ShowRunEnd(RunResult& result);
    void ReportFailedRemoval(const std::string& path);
    std::string IdRecordsAdvice(std::int32_t unreadIdLevelRecords) const;
    bool CloseIfPending();
    void SetRunControls(bool enabled);
    void ShowRunDisplay(bool running);
    void UpdateTimeDisplay();
    bool AskForViewer();
    void LaunchViewer();
    void RememberRunTexts();
    void ShowPreview();

    void EmptyLevelNames();
    void FillLevelNames(const std::string& path);
    void TakeInputFile(const std::string& path);

    WindowView& view_;
    WindowServices services_;
    std::array<std::vector<std::string>, kHistoryBoxCount> histories_;
    FileDialogState openDialog_;
    FileDialogState saveDialog_;
    std::array<std::string, kFileDialogPurposeCount> dialogFolders_;
    bool showProgMeter_ = true;
    bool leftJustOnly_ = false;
    bool useHR_ = false;
    bool idRecords_ = false;
    bool cancelRequested_ = false;
    bool running_ = false;
    bool closePending_ = false;
    bool beginEnabled_ = false;
    std::string viewerPath_;
    std::int32_t runPercent_ = 0;
    LevelLists levels_;
    RunTimeDisplay timeDisplay_;
};

}  // namespace pellimar
