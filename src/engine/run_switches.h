// The switches of a run, and their values as a host or the pass holds them.
#pragma once

#include <array>
#include <cstddef>

namespace pellimar {

// The switches the pass reads at its start and again after each progress
// report and page question, the only points where they may change, so that
// a change during the run takes effect from there on.
enum class RunSwitch { LeftJustOnly, UseHR, IdRecords, LineEndRecords };
inline constexpr int kRunSwitchCount = 4;

// A value for each switch: the pass's own, read from its host where they
// may change, or those of a host that holds them itself.
class RunSwitches {
public:
    bool On(RunSwitch runSwitch) const { return on_[Index(runSwitch)]; }
    void Set(RunSwitch runSwitch, bool on) { on_[Index(runSwitch)] = on; }

private:
    static constexpr std::size_t Index(RunSwitch runSwitch) { return static_cast<std::size_t>(runSwitch); }

    std::array<bool, kRunSwitchCount> on_{};
};

}  // namespace pellimar
