// The program's one window: level names, patterns, options, files, the
// Begin/Cancel button, the menu, and the run's progress display.
#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/conversion.h"
#include "engine/run_host.h"
#include "engine/run_settings.h"
#include "run/run_time.h"
#include "settings/settings_paths.h"
#include "window/dialogs.h"

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace pellimar {

class ProgramLauncher;
class TBoxExitWatch;
class TVantorGauge;
class THistoryComboBox;
struct SettingsData;

inline constexpr const char* kApplicationTitle = "Folio Flat File Pellimar";

// The entries of the open dialog's filter list, counted from 1.
enum OpenFilter { kFlatFilesFilter = 1, kDefinitionFilesFilter = 2, kExecutablesFilter = 4, kAllFilesFilter = 5 };

// The filter the viewer dialog opens on: programs end in ".exe" only on
// Windows; elsewhere they have no common ending, so every file is offered.
#ifdef Q_OS_WIN
inline constexpr OpenFilter kViewerFilter = kExecutablesFilter;
#else
inline constexpr OpenFilter kViewerFilter = kAllFilesFilter;
#endif

struct WindowServices {
    Dialogs* dialogs = nullptr;
    ProgramLauncher* launcher = nullptr;
    SettingsPaths settingsPaths;
    std::string guidePath;
    // Local time of day in milliseconds; replaceable for tests.
    std::function<std::int64_t()> clock;
};

inline constexpr int kHistoryBoxCount = kLevelCount + 4;

// The window's controls and its two file dialogs, under the names the
// window's code gives them.
struct MainWindowUi {
    std::array<THistoryComboBox*, kLevelCount> LevelBoxes{};
    THistoryComboBox* pageCB = nullptr;
    THistoryComboBox* refCB = nullptr;
    THistoryComboBox* inEdit = nullptr;
    THistoryComboBox* outEdit = nullptr;
    QCheckBox* cbRemove = nullptr;
    QCheckBox* cbSearch = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QFrame* Bevel1 = nullptr;
    TVantorGauge* ProgBar1 = nullptr;
    QLabel* lblStaticET = nullptr;
    QLabel* lblStaticRT = nullptr;
    QLabel* lblET = nullptr;
    QLabel* lblRT = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Preferences1 = nullptr;
    QAction* LoadLevels1 = nullptr;
    QAction* InputFile1 = nullptr;
    QAction* OutputFile1 = nullptr;
    QAction* Begin1 = nullptr;
    QAction* Preview1 = nullptr;
    QAction* LJO1 = nullptr;
    QAction* SPM1 = nullptr;
    QAction* UHR1 = nullptr;
    QAction* IDR1 = nullptr;
    QAction* SetFolioFlatFileViewer1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Using1 = nullptr;
    QAction* About1 = nullptr;

    FileDialogState OpenDialog1;
    FileDialogState SaveDialog1;

    // The eleven drop-down boxes with a history: the seven level boxes, then
    // the page and reference patterns, then the input and output files.
    std::array<THistoryComboBox*, kHistoryBoxCount> HistoryBoxes() const;
};

class TZUDIzazu : public QMainWindow, public RunHost {
    Q_OBJECT

public:
    explicit TZUDIzazu(WindowServices services);
    ~TZUDIzazu() override;

    // The program's general error handler: the message in an error box
    // captioned with the application title, with a full stop added when the
    // message ends in a character that sorts above ".".
    void HandleException(const std::exception& error);

    // RunHost
    void EnterRunning() override;
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override;
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override;
    bool LeftJustOnly() const override { return FLeftJustOnly; }
    bool UseHR() const override { return FUseHR; }
    bool IdRecords() const override { return FIdRecords; }
    bool CancelRequested() const override { return FCancelRequested; }

    bool ShowProgMeter() const { return FShowProgMeter; }
    bool IsRunning() const { return FRunning; }
    const std::string& ViewerPath() const { return FViewerPath; }

    // The commands of the buttons and the menu.
    void Button2Click();
    void Preview1Click();
    void Button1Click();
    void SpeedButton1Click();
    void SpeedButton3Click();
    void LoadLevels1Click();
    void SetFolioFlatFileViewer1Click();
    void File1Click();
    void Preferences1Click();
    void LJO1Click();
    void SPM1Click();
    void UHR1Click();
    void IDR1Click();
    void Button3Click();
    void Button4Click();
    void UpdateBeginButton();

    // What a file dropped on the window fills in: the level names from a
    // definition file, or the input (and an empty output) from any other.
    void ImportLevelNames(const std::string& path);
    void TakeInputFile(const std::string& path);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class MainWindowTestAccess;

    void FormCreate();
    void FormShow();
    void FormClose();
    void CreateControls();
    void CreateLevelGroup();
    void CreateOptionsGroup();
    void CreateFilesGroup();
    void WireHistoryBoxes();
    void CreateButtons();
    void CreateProgressDisplay();
    void CreateMenu();
    void CreateShortcuts();
    void SetTabOrder();
    void LoadSettingsIntoControls(const SettingsData& data);
    SettingsData SettingsFromControls() const;

    void inEditExit(THistoryComboBox* sender);
    // True when the key was handled and must go no further.
    bool outEditKeyDown(THistoryComboBox* sender, int key, Qt::KeyboardModifiers modifiers);
    bool outEditKeyPress(THistoryComboBox* sender, const QString& text);
    void RememberRunTexts();
    void EmptyLevelNames();
    void FillLevelNames(const std::string& path);

    bool ConfirmOverwrite();
    void RunFromWindow();
    void ShowRunEnd(RunResult& result);
    std::string IdRecordsAdvice(const RunResult& result) const;
    void SetRunControls(bool enabled);
    void ShowRunDisplay(bool running);
    void UpdateTimeDisplay();
    void LaunchViewer();
    RunSettings SettingsForRun() const;
    THistoryComboBox* BoxOf(QObject* watched) const;
    // Runs a command; an error it raises reaches the general error handler.
    void Guarded(const std::function<void()>& command);

    MainWindowUi ui;
    WindowServices services_;
    std::unique_ptr<TBoxExitWatch> FBoxExitWatch;
    bool FShowProgMeter = true;
    bool FLeftJustOnly = false;
    bool FUseHR = false;
    bool FIdRecords = false;
    bool FCancelRequested = false;
    bool FRunning = false;
    bool FClosePending = false;
    bool FShownOnce = false;
    std::string FViewerPath;
    std::int32_t FRunPercent = 0;
    LevelLists FLevels;
    RunTimeDisplay FTimeDisplay;
};

}  // namespace pellimar
