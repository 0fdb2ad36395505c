// A run host for tests: switches and answers set up front, every call logged,
// and optional hooks run at each progress change and at the page question.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/run_host.h"

namespace pellimar::testing {

class ScriptedHost : public RunHost {
public:
    void EnterRunning() override { log.push_back("enter"); }
    void ProgressChanged(std::int32_t runPercent, std::int64_t) override
    {
        percents.push_back(runPercent);
        if (onProgress)
            onProgress(runPercent);
    }
    void LeaveRunning() override { log.push_back("leave"); }
    void OutputOpened(const OutputFile&) override { log.push_back("output"); }

    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override
    {
        prompts.push_back(prompt);
        if (onPageQuestion)
            onPageQuestion();
        if (pageAnswers.empty())
            return std::nullopt;
        std::optional<std::string> answer = pageAnswers.front();
        pageAnswers.pop_front();
        return answer;
    }

    bool SwitchOn(RunSwitch runSwitch) const override { return switches.On(runSwitch); }
    bool CancelRequested() const override { return cancel; }

    RunSwitches switches;
    bool cancel = false;
    std::deque<std::optional<std::string>> pageAnswers;
    std::function<void(std::int32_t)> onProgress;
    std::function<void()> onPageQuestion;

    std::vector<std::string> log;
    std::vector<std::int32_t> percents;
    std::vector<PagePrompt> prompts;
};

}  // namespace pellimar::testing
