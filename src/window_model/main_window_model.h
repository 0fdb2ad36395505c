// The main window's rules without a toolkit. It hands each concern to its
// piece: the boxes' texts and histories, the file dialogs, the viewer, the
// preferences, the level names, the window while a pass lasts, the single
// run and the collection; it decides what each command does and whether it
// may run now, loads the settings at the first show and saves them at close. It shows everything through a WindowView and asks the user
// through Dialogs.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "run/preferences.h"
#include "settings/settings_paths.h"
#include "window_model/box_exit_rule.h"
#include "window_model/box_texts.h"
#include "window_model/collection_run.h"
#include "window_model/commands.h"
#include "window_model/dialogs.h"
#include "window_model/error_box.h"
#include "window_model/file_choices.h"
#include "window_model/level_import.h"
#include "window_model/program_launcher.h"
#include "window_model/run_session.h"
#include "window_model/single_run.h"
#include "window_model/viewer_choice.h"
#include "window_model/window_view.h"

namespace pellimar {

struct SettingsData;

struct WindowServices {
    Dialogs* dialogs = nullptr;
    ProgramLauncher* launcher = nullptr;
    SettingsPaths settingsPaths;
    std::string guidePath;
    // Local time of day in milliseconds; the system's when unset.
    std::function<std::int64_t()> clock;
    // Runs a pass on the caller's thread when unset. A window whose system
    // holds its thread in loops of its own (an open menu, a window being
    // moved) runs it on a thread of its own, with the host's calls carried
    // back.
    PassRunner runPass;
    // The files the program was started with, by their full paths.
    std::vector<std::string> startFiles;
};

class MainWindowModel {
public:
    // The view is only used once the window is shown or a command runs.
    MainWindowModel(WindowView& view, WindowServices services);

    // The window's own events.
    void FirstShown();
    // Once the window is on the screen, after FirstShown: the files the
    // program was started with. One is the input, and names the output;
    // several are chosen for "Convert Several Files...", which a message
    // says: that command then takes them in place of its file dialog, once
    // the user has filled in what a run needs. Nothing runs here.
    void TakeStartFiles();
    // True when the window may close; the settings are then saved. During a
    // run it cancels the run, and the window closes at the run's end.
    bool CloseRequested();

    // The focus reached a control of the window: a box, or (nothing) any
    // other. A box given up for a dialog or another program, and then for
    // another control of the window, counts as left.
    void FocusReached(std::optional<HistoryBox> box);
    // The boxes' events.
    void BoxEdited(HistoryBox box);
    void BoxLeft(HistoryBox box);
    void EnterInBox(HistoryBox box);
    void DeleteShownEntry(HistoryBox box);
    // False for a typed character the box discards.
    bool AcceptsTypedCharacter(HistoryBox box, char typed) const;
    // A file dropped on the window: a definition file fills the level names
    // as "Load Levels" does; any other becomes the input, and names the
    // output when none is given.
    void FileDropped(const std::string& path);
    // Several files dropped at once: a collection of them is converted, as
    // "Convert Several Files..." with them chosen. One file is taken as
    // above.
    void FilesDropped(const std::vector<std::string>& paths);

    // A menu item or button. Each command reports its own errors through
    // the general error handler.
    void Carry(Command command);
    // Alt and a letter: a menu shortcut first brings the File menu's items
    // up to date, as opening the menu does, and then runs the item only
    // when it is enabled; the key is taken either way.
    void ShortcutPressed(Command command);
    void TogglePreference(Preference preference);
    // The menus as they open.
    void FileMenuOpening();
    void PreferencesMenuOpening();

    void HandleException(const std::exception& error) { ReportError(*services_.dialogs, error); }

    const Preferences& Prefs() const { return preferences_; }
    const RunSession& Session() const { return session_; }
    const std::string& ViewerPath() const { return viewer_.Path(); }
    const std::vector<std::string>& History(HistoryBox box) const { return boxes_.History(box); }
    const FileDialogState& OpenDialog() const { return choices_.OpenDialog(); }
    const FileDialogState& SaveDialog() const { return choices_.SaveDialog(); }

private:
    MenuState CurrentMenuState() const;
    // Input File or Output File: its dialog, then its box.
    void ChooseFile(HistoryBox box);
    void ShowAbout();
    void TakeInputFile(const std::string& path);
    void LoadSettingsIntoWindow(const SettingsData& data);
    SettingsData SettingsFromWindow() const;

    WindowView& view_;
    WindowServices services_;
    // Files given at the start, waiting for "Convert Several Files...".
    std::vector<std::string> chosenSeveral_;
    BoxTexts boxes_;
    FileChoices choices_;
    ViewerChoice viewer_;
    Preferences preferences_;
    LevelImport levelNames_;
    RunSession session_;
    SingleRun single_;
    CollectionRun collection_;
    BoxExitRule boxExitRule_;
};

}  // namespace pellimar
