// A window for model tests: it keeps what the model shows, and its close and
// event processing call back into the model as a real window's would.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window_model/main_window_model.h"
#include "window_model/window_view.h"

namespace pellimar::testing {

class FakeWindowView : public WindowView {
public:
    std::string BoxText(HistoryBox box) const override { return texts[BoxIndex(box)]; }
    void SetBoxText(HistoryBox box, const std::string& text) override { texts[BoxIndex(box)] = text; }
    void ShowHistory(HistoryBox box, const std::vector<std::string>& entries) override
    {
        lists[BoxIndex(box)] = entries;
    }
    void FocusBox(HistoryBox box) override { focused = box; }
    bool OptionChecked(Preference option) const override { return options[static_cast<int>(option)]; }
    void SetOptionChecked(Preference option, bool checked) override { options[static_cast<int>(option)] = checked; }
    void SetBeginCaption(const std::string& caption) override { beginCaption = caption; }
    void EnableBegin(bool enabled) override { beginEnabled = enabled; }
    void EnableRunControls(bool enabled) override { runControlsEnabled = enabled; }
    void ShowMenuState(const MenuState& state) override { menu = state; }
    void ShowPreferenceMarks(const Preferences& shown) override { marks = shown; }
    void ShowGauge(bool visible) override { gaugeVisible = visible; }
    void SetGaugeProgress(std::int32_t percent) override { gaugeProgress = percent; }
    void ShowTimeReadouts(bool visible) override { readoutsVisible = visible; }
    void SetTimeReadouts(const std::string& elapsedText, const std::string& remainingText) override
    {
        elapsed = elapsedText;
        remaining = remainingText;
    }
    void ShowBusyCursor(bool isBusy) override { busy = isBusy; }
    void ShowTaskProgress(std::optional<std::int32_t> percent) override { taskProgress.push_back(percent); }
    void SetCaption(const std::string& text) override { captions.push_back(text); }
    // The run's progress steps; the probe acts as the user meanwhile.
    void ProcessPendingEvents() override
    {
        percents.push_back(model->Session().RunPercent());
        if (probe)
            probe(model->Session().RunPercent());
    }
    void CloseWindow() override { closed = closed || model->CloseRequested(); }

    MainWindowModel* model = nullptr;
    std::function<void(std::int32_t)> probe;

    std::array<std::string, kHistoryBoxCount> texts;
    std::array<std::vector<std::string>, kHistoryBoxCount> lists;
    std::optional<HistoryBox> focused;
    std::array<bool, kPreferenceCount> options{};  // by preference: the check boxes' values
    std::string beginCaption = kBeginCaption;
    bool beginEnabled = false;
    bool runControlsEnabled = true;
    MenuState menu;
    Preferences marks;
    bool gaugeVisible = false;
    std::optional<std::int32_t> gaugeProgress;
    bool readoutsVisible = false;
    std::string elapsed = kZeroClock;
    std::string remaining = kZeroClock;
    bool busy = false;
    std::vector<std::optional<std::int32_t>> taskProgress;
    std::vector<std::string> captions;
    std::vector<std::int32_t> percents;
    bool closed = false;
};

}  // namespace pellimar::testing
