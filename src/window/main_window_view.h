// The main window as the model's view: what the model shows goes to the
// window's controls (texts, lists, check boxes, enabled states), the menus,
// the gauge and time readouts, the cursor and the caption. It decides
// nothing; the window's events go to the model from TZUDIzazu.
#pragma once

#include "window/main_window_ui.h"
#include "window_model/window_view.h"

class QWidget;

namespace pellimar {

class QtMainWindowView : public WindowView {
public:
    // Draws on the window and on the controls it keeps in `ui`, which may be
    // filled in after this is made.
    QtMainWindowView(QWidget& window, const MainWindowUi& ui);
    QtMainWindowView(const QtMainWindowView&) = delete;
    QtMainWindowView& operator=(const QtMainWindowView&) = delete;

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

private:
    QWidget& window_;
    const MainWindowUi& ui;
};

}  // namespace pellimar
