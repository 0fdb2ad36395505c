// The program's one window: level names, patterns, options, files, the
// Begin/Cancel button, the menu, and the run's progress display. It draws
// and lays out the controls and hands their events to the window model,
// which decides everything else.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>

#include "window_model/main_window_model.h"
#include "window_model/window_view.h"

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace pellimar {

class TBoxExitWatch;
class TVantorGauge;
class THistoryComboBox;

// The window's controls, under the names the window's code gives them.
struct MainWindowUi {
    std::array<THistoryComboBox*, kLevelCount> LevelBoxes{};
    THistoryComboBox* pageCB = nullptr;
    THistoryComboBox* refCB = nullptr;
    THistoryComboBox* inEdit = nullptr;
    THistoryComboBox* outEdit = nullptr;
    QCheckBox* cbRemove = nullptr;
    QCheckBox* cbSearch = nullptr;
    QPushButton* beginButton = nullptr;
    QPushButton* exitButton = nullptr;
    QToolButton* inputBrowseButton = nullptr;
    QToolButton* outputBrowseButton = nullptr;
    QGroupBox* levelGroup = nullptr;
    QGroupBox* filesGroup = nullptr;
    QGroupBox* optionsGroup = nullptr;
    QFrame* menuBevel = nullptr;
    TVantorGauge* ProgBar1 = nullptr;
    QLabel* lblStaticET = nullptr;
    QLabel* lblStaticRT = nullptr;
    QLabel* lblET = nullptr;
    QLabel* lblRT = nullptr;
    QMenu* fileMenu = nullptr;
    QMenu* preferencesMenu = nullptr;
    QAction* loadLevelsAction = nullptr;
    QAction* inputFileAction = nullptr;
    QAction* outputFileAction = nullptr;
    QAction* beginAction = nullptr;
    QAction* previewAction = nullptr;
    QAction* leftJustOnlyAction = nullptr;
    QAction* showProgMeterAction = nullptr;
    QAction* useHRAction = nullptr;
    QAction* idRecordsAction = nullptr;
    QAction* setViewerAction = nullptr;
    QAction* exitAction = nullptr;
    QAction* usingAction = nullptr;
    QAction* aboutAction = nullptr;

    // The eleven drop-down boxes with a history, in the order of HistoryBox.
    std::array<THistoryComboBox*, kHistoryBoxCount> HistoryBoxes() const;
};

class TZUDIzazu : public QMainWindow, public WindowView {
    Q_OBJECT

public:
    explicit TZUDIzazu(WindowServices services);
    ~TZUDIzazu() override;

    MainWindowModel& Model() { return model_; }

    // WindowView
    std::string BoxText(HistoryBox box) const override;
    void SetBoxText(HistoryBox box, const std::string& text) override;
    void ShowHistory(HistoryBox box, const std::vector<std::string>& entries) override;
    void FocusBox(HistoryBox box) override;
    bool OptionChecked(RunOption option) const override;
    void SetOptionChecked(RunOption option, bool checked) override;
    void SetBeginCaption(const std::string& caption) override;
    void EnableBegin(bool enabled) override;
    void EnableRunControls(bool enabled) override;
    void ShowFileMenu(const FileMenuState& state) override;
    void ShowPreferenceMarks(const PreferenceMarks& marks) override;
    void ShowGauge(bool visible) override;
    void SetGaugeProgress(std::int32_t percent) override;
    void ShowTimeReadouts(bool visible) override;
    void SetTimeReadouts(const std::string& elapsed, const std::string& remaining) override;
    void ShowBusyCursor(bool busy) override;
    void ProcessPendingEvents() override;
    void CloseWindow() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class MainWindowTestAccess;

    void CreateControls();
    void CreateLevelGroup();
    void CreateOptionsGroup();
    void CreateFilesGroup();
    void WireHistoryBoxes();
    void CreateButtons();
    void CreateProgressDisplay();
    void CreateMenu();
    void ConnectMenu();
    void CreateShortcuts();
    void SetTabOrder();
    void CenterOnScreen();
    // True when the key was handled and must go no further.
    bool BoxKeyPressed(HistoryBox box, const QKeyEvent& key);
    std::optional<HistoryBox> BoxOf(const QObject* watched) const;
    THistoryComboBox* Box(HistoryBox box) const;

    MainWindowUi ui;
    MainWindowModel model_;
    std::unique_ptr<TBoxExitWatch> boxExitWatch_;
    bool shownOnce_ = false;
};

}  // namespace pellimar
