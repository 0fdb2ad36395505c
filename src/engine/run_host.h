// How the conversion pass reaches its caller: the window or the command line
// supplies the running-state hooks, the starting-page question, the live
// preference switches and the cancel flag.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pellimar {

class OutputFile;

struct PagePrompt {
    std::string title = "Input Page Number";
    std::string prompt = "Please enter a starting page number:";
    std::string defaultText = "1";
};

// The switches the pass reads at its start and again after each progress
// report and page question, the only points where they may change, so that
// a change during the run takes effect from there on.
enum class RunSwitch { LeftJustOnly, UseHR, IdRecords, LineEndRecords };
inline constexpr int kRunSwitchCount = 4;

// A value for each switch, for a host that holds them itself.
class RunSwitches {
public:
    bool On(RunSwitch runSwitch) const { return on_[Index(runSwitch)]; }
    void Set(RunSwitch runSwitch, bool on) { on_[Index(runSwitch)] = on; }

private:
    static constexpr std::size_t Index(RunSwitch runSwitch) { return static_cast<std::size_t>(runSwitch); }

    std::array<bool, kRunSwitchCount> on_{};
};

class RunHost {
public:
    virtual ~RunHost() = default;

    // Once the input is open, before the output is created. LeaveRunning is
    // then guaranteed, whatever ends the run.
    virtual void EnterRunning() = 0;
    // After a step that changed the whole percentage of the input consumed;
    // for an input without a size (a pipe) the percentage is -1 and the call
    // comes after each further megabyte. The only point (besides the page
    // question) where the switches and the cancel flag may change.
    virtual void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) = 0;
    virtual void LeaveRunning() = 0;
    // Once the output file has passed every check and its stream is open,
    // before the first byte is read; not for standard output.
    virtual void OutputOpened(const OutputFile&) {}

    // The answer typed, or nothing when the question was cancelled.
    virtual std::optional<std::string> AskStartingPage(const PagePrompt& prompt) = 0;

    virtual bool SwitchOn(RunSwitch runSwitch) const = 0;
    virtual bool CancelRequested() const = 0;

    // No reference for records that open justified or styled.
    bool LeftJustOnly() const { return SwitchOn(RunSwitch::LeftJustOnly); }
    // References end with <HR>, not <CR>.
    bool UseHR() const { return SwitchOn(RunSwitch::UseHR); }
    // Record codes of the form <RD,ID:n:Level> name a level.
    bool IdRecords() const { return SwitchOn(RunSwitch::IdRecords); }
    // A record code that ends its line gets a reference when its record
    // goes on, on a later line.
    bool LineEndRecords() const { return SwitchOn(RunSwitch::LineEndRecords); }
};

}  // namespace pellimar
