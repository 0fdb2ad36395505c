// The preferences: switches the user sets in the main window (a check box of
// its Options group, or an item of its File > Preferences menu) or on the
// command line, and which last from one start to the next. Each is one row
// of a table (where the window shows it, its caption, its key in the
// settings file, its command-line option where it has one, its default and
// what of the run it feeds), and the settings file, both windows' check
// boxes and menus, the command line and the run all read the table.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "engine/run_host.h"
#include "engine/run_settings.h"

namespace pellimar {

// Where the window shows a preference.
enum class PreferenceKind {
    CheckBox,  // a check box of the main window, which holds its value
    MenuItem,  // an item of File > Preferences, with a check mark
};

// In the table's order: the check boxes, then the Preferences menu's items
// in the menu's order.
enum class Preference {
    RemovePageMarks,
    NotSearched,
    LeftJustOnly,
    ShowProgMeter,
    UseHR,
    IdRecords,
    ReplaceReferences,
    LineEndRecords,
};
inline constexpr int kPreferenceCount = 8;

struct PreferenceRow {
    Preference preference;
    PreferenceKind kind;
    // Beside its check box or in File > Preferences, its access key after
    // "&" (the same in both windows, none twice in the menu).
    const char* caption;
    // In the settings file's "Options" section; an inverted key holds the
    // opposite of the preference ("NoProgMeter"). Keys are written in the
    // order of `iniOrder`, the order files have always had.
    const char* iniKey;
    bool iniInverted;
    int iniOrder;
    bool byDefault;
    // The pass's switch it feeds, which a change during the run reaches at
    // the next progress report; nothing for one of the window alone, or one
    // that a run takes once, at its start, with the rest of its settings.
    std::optional<RunSwitch> runSwitch;
    // What it sets in the settings of a run, which take it once, at the
    // run's start; nullptr for one that sets nothing there.
    void (*atRunStart)(RunSettings& settings, bool on);
    // The command line's option, which switches the preference on; nullptr
    // where it has none. Its help for --help, and in roff for the manual.
    const char* cliOption;
    const char* cliHelp;
    const char* cliManual;
};

// Every row, in the table's order.
std::span<const PreferenceRow> PreferenceTable();
// The rows of one kind, in the table's order.
std::span<const PreferenceRow> PreferenceRows(PreferenceKind kind);
const PreferenceRow& RowOf(Preference preference);

// A caption as a text names it, without the "&" of its access key
// ("&&" stands for "&").
std::string WithoutAccessKey(const char* caption);

// The preferences' values.
class Preferences {
public:
    Preferences();  // every preference at its default

    bool On(Preference preference) const { return on_[Index(preference)]; }
    void Set(Preference preference, bool on) { on_[Index(preference)] = on; }
    void Toggle(Preference preference) { Set(preference, !On(preference)); }
    // A switch of the run: the value of the preference that feeds it.
    bool SwitchOn(RunSwitch runSwitch) const;

    bool operator==(const Preferences&) const = default;

private:
    static constexpr int Index(Preference preference) { return static_cast<int>(preference); }

    std::array<bool, kPreferenceCount> on_{};
};

// Into the settings of a run, the preferences it takes at its start (each
// row's `atRunStart`): a change during the run waits for the next one.
void TakeAtRunStart(const Preferences& preferences, RunSettings& settings);

}  // namespace pellimar
