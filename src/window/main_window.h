// The program's one window: level names, patterns, options, files, the
// Begin/Cancel button, the menu, and the run's progress display. It builds
// its controls and menus from the window model's layout and menus, draws
// them, and hands their events to the model, which decides everything else.
#pragma once

#include <QMainWindow>
#include <array>
#include <optional>

#include "window_model/main_window_model.h"
#include "window_model/window_layout.h"
#include "window_model/window_view.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace pellimar {

class TVantorGauge;
class HistoryComboBox;

// The window's controls, under the names the window's code gives them.
struct MainWindowUi {
    std::array<HistoryComboBox*, kLevelCount> LevelBoxes{};
    HistoryComboBox* pageCB = nullptr;
    HistoryComboBox* refCB = nullptr;
    HistoryComboBox* inEdit = nullptr;
    HistoryComboBox* outEdit = nullptr;
    QPushButton* beginButton = nullptr;
    QPushButton* exitButton = nullptr;
    QToolButton* inputBrowseButton = nullptr;
    QToolButton* outputBrowseButton = nullptr;
    QGroupBox* levelGroup = nullptr;
    QGroupBox* filesGroup = nullptr;
    QGroupBox* optionsGroup = nullptr;
    TVantorGauge* ProgBar1 = nullptr;
    QLabel* lblStaticET = nullptr;
    QLabel* lblStaticRT = nullptr;
    QLabel* lblET = nullptr;
    QLabel* lblRT = nullptr;
    QMenu* fileMenu = nullptr;
    QMenu* preferencesMenu = nullptr;
    std::array<QAction*, kCommandCount> commandActions{};
    // Indexed by preference: its check box, or its item of File >
    // Preferences, as the preference's kind has it.
    std::array<QCheckBox*, kPreferenceCount> checkBoxes{};
    std::array<QAction*, kPreferenceCount> preferenceActions{};

    QAction* Action(Command command) const { return commandActions[static_cast<int>(command)]; }
    // The eleven drop-down boxes with a history, in the order of HistoryBox.
    std::array<HistoryComboBox*, kHistoryBoxCount> HistoryBoxes() const;
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
    bool OptionChecked(Preference option) const override;
    void SetOptionChecked(Preference option, bool checked) override;
    void SetBeginCaption(const std::string& caption) override;
    void EnableBegin(bool enabled) override;
    void EnableRunControls(bool enabled) override;
    void ShowMenuState(const MenuState& state) override;
    void ShowPreferenceMarks(const Preferences& preferences) override;
    void ShowGauge(bool visible) override;
    void SetGaugeProgress(std::int32_t percent) override;
    void ShowTimeReadouts(bool visible) override;
    void SetTimeReadouts(const std::string& elapsed, const std::string& remaining) override;
    void ShowBusyCursor(bool busy) override;
    // The desktops Qt serves here have no common place for a task's progress
    // outside its window: the gauge and the caption show it.
    void ShowTaskProgress(std::optional<std::int32_t>) override {}
    void SetCaption(const std::string& caption) override;
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
    QWidget* CreateControl(const ControlPlace& place, QWidget* parent);
    void NameControl(const ControlPlace& place, QWidget* control);
    void WireHistoryBoxes();
    void WireButtons();
    void CreateMenus();
    void AddMenuEntry(QMenu* menu, const MenuEntry& entry);
    void CreatePreferencesMenu(QMenu* fileMenu);
    void CreateShortcuts();
    void SetTabOrder();
    void CenterOnScreen();
    // True when the key was handled and must go no further.
    bool BoxKeyPressed(HistoryBox box, const QKeyEvent& key);
    std::optional<HistoryBox> BoxOf(const QObject* watched) const;
    HistoryComboBox* Box(HistoryBox box) const;

    MainWindowUi ui;
    // The widgets of the layout, in its order.
    std::vector<QWidget*> controls_;
    MainWindowModel model_;
    bool shownOnce_ = false;
};

}  // namespace pellimar
