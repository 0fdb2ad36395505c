// The program's one window: level names, patterns, options, files, the
// Begin/Cancel button, the menu, and the run's progress display. It builds
// its controls and menus from the window model's layout and menus, draws
// them through its view (QtMainWindowView), and hands their events to the
// model, which decides everything else.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

#include "window/main_window_ui.h"
#include "window/main_window_view.h"
#include "window_model/main_window_model.h"
#include "window_model/window_layout.h"

class QKeyEvent;

namespace pellimar {

class TZUDIzazu : public QMainWindow {
    Q_OBJECT

public:
    explicit TZUDIzazu(WindowServices services);
    ~TZUDIzazu() override;

    MainWindowModel& Model() { return model_; }

protected:
    // Makes the view the model draws through, over this window and its
    // controls (which are filled in after it is made).
    using ViewMaker = std::function<std::unique_ptr<QtMainWindowView>(QWidget& window, const MainWindowUi& ui)>;
    // A window whose view does more than draw: tests watch a run's steps
    // through theirs.
    TZUDIzazu(WindowServices services, const ViewMaker& makeView);

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
    // Made before the model, which draws through it.
    std::unique_ptr<QtMainWindowView> view_;
    MainWindowModel model_;
    bool shownOnce_ = false;
};

}  // namespace pellimar
