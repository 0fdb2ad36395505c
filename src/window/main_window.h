// The program's one window: level names, patterns, options, files, the
// Begin/Cancel button, the menu, and the run's progress display. It builds
// its controls and menus from the window model's layout and menus, draws
// them, and hands their events to the model, which decides everything else.
#pragma once

#include <QMainWindow>
#include <optional>

#include "window/main_window_ui.h"
#include "window_model/main_window_model.h"
#include "window_model/window_layout.h"
#include "window_model/window_view.h"

class QKeyEvent;

namespace pellimar {

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

    MainWindowUi ui;
    // The widgets of the layout, in its order.
    std::vector<QWidget*> controls_;
    MainWindowModel model_;
    bool shownOnce_ = false;
};

}  // namespace pellimar
