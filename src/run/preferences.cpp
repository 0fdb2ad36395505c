// The table of preferences.
#include "run/preferences.h"

#include <algorithm>
#include <iterator>

namespace pellimar {
namespace {

constexpr PreferenceRow kRows[] = {
    {Preference::RemovePageMarks, PreferenceKind::CheckBox, "&Remove #'s", "Remove", false, 1, false, std::nullopt,
     [](RunSettings& settings, bool on) { settings.removePageMarks = on; }, "remove-page-marks",
     "leave page-number markers out of the output", "Leave page-number markers out of the output."},
    {Preference::NotSearched, PreferenceKind::CheckBox, "Not &Searched", "Search", false, 0, false, std::nullopt,
     [](RunSettings& settings, bool on) { settings.notSearched = on; }, "not-searched",
     "wrap references in <IX-> ... <IX>", R"(Wrap the reference text in \fB<IX\->\fR ... \fB<IX>\fR.)"},
    {Preference::LeftJustOnly, PreferenceKind::MenuItem, "&Left Justified Only", "LeftJustOnly", false, 3, false,
     RunSwitch::LeftJustOnly, nullptr, "left-just-only",
     "no reference for records that open with a justification (JU:) or paragraph style (PS:) code",
     R"(No reference for records that open with a justification (\fBJU:\fR) or
paragraph style (\fBPS:\fR) code.)"},
    {Preference::ShowProgMeter, PreferenceKind::MenuItem, "&Show Progress Meter", "NoProgMeter", true, 2, true,
     std::nullopt, nullptr, nullptr, nullptr, nullptr},
    {Preference::UseHR, PreferenceKind::MenuItem, "&Use <HR> (in place of <CR>)", "UseHR", false, 4, false,
     RunSwitch::UseHR, nullptr, "use-hr",
     "end references with <HR> in place of <CR>", R"(End references with \fB<HR>\fR in place of \fB<CR>\fR.)"},
    {Preference::IdRecords, PreferenceKind::MenuItem, "&ID record levels", "IDRecords", false, 5, false,
     RunSwitch::IdRecords, nullptr, "id-records",
     "read record codes of the form <RD,ID:n:Level>, as later Folio versions write them, as level records",
     R"(Read record codes of the form \fB<RD,ID:\fR\fIn\fR\fB:\fR\fILevel\fR\fB>\fR,
as later Folio versions write level records, as level records for
\fILevel\fR (up to the first comma or semicolon outside double quotes).
Without it such codes are plain record codes; when some of them name one of
the levels, a note on standard error says so after the summary, or after the
list of \fB\-\-preview\fR.)"},
    {Preference::ReplaceReferences, PreferenceKind::MenuItem, "&Replace Earlier References", "ReplaceReferences",
     false, 6, false, std::nullopt,
     [](RunSettings& settings, bool on) {
         if (on)
             settings.earlierReferences = EarlierReferences::Replace;
     },
     "replace-references",
     "take out the references an earlier run wrote into INPUT and write the new ones where they stood; only "
     "what a run could have written is taken: no line break, record code, <CS:...> or </CS> inside",
     R"(Take out the references that an earlier run wrote into \fIINPUT\fR and write
the new ones where they stood (when one is due there).
An earlier reference is only what a run could have written right after a
record code: \fB<CS:Reference>\fR, then a text read as running text
(\fB<<\fR is text, any other \fB<\fR opens a code up to the next \fB>\fR)
that holds no line break and no code beginning \fBRD\fR, \fBCS:\fR or
\fB/CS\fR, then \fB<CR>\fR or \fB<HR>\fR, a CR LF and \fB</CS>\fR, no longer
than 64 KB.
Anything else after a record code is the user's text: it is kept and read
as any other text, and a note on standard error says how many such texts
begin like a reference, and the line of the first.
Without it earlier references are kept after the new ones, and a note on
standard error says how many there are.)"},
    {Preference::LineEndRecords, PreferenceKind::MenuItem, "References for Records on the &Next Line", "LineEndRecords",
     false, 7, false, RunSwitch::LineEndRecords, nullptr, "line-end-records",
     "give a reference to a record whose code ends its line, when the record holds more than line breaks and "
     "blanks before the next record code; it goes right after the code",
     R"(Give a reference to a record whose record code ends its line, when the
record holds anything but line breaks and blanks (space, tab) before the
next record code: Folio reads line breaks as nothing, so the record begins
with that text.
The reference goes right after the record code, before the line break; the
record's first text or code is judged as if it stood there
(\fB\-\-left\-just\-only\fR looks at it).
Text that begins more than 64 KB after the line break is not looked for.
Without it such records get no reference, and a note on standard error says
how many there are.)"},
};
static_assert(std::size(kRows) == kPreferenceCount);
// RowOf finds a row at its preference's place, and PreferenceRows a kind's
// rows side by side.
// (Plain loops: the range views of the standard library do not build with
// every compiler the project uses.)
constexpr bool RowsInPreferenceOrder()
{
    for (int i = 0; i < kPreferenceCount; ++i) {
        if (static_cast<int>(kRows[i].preference) != i)
            return false;
    }
    return true;
}
static_assert(RowsInPreferenceOrder());
static_assert(std::is_sorted(std::begin(kRows), std::end(kRows),
                             [](const PreferenceRow& a, const PreferenceRow& b) { return a.kind < b.kind; }));

// For each switch of the run, the preference that feeds it.
constexpr std::array<Preference, kRunSwitchCount> kFeeding = [] {
    std::array<Preference, kRunSwitchCount> feeding{};
    for (const PreferenceRow& row : kRows) {
        if (row.runSwitch)
            feeding[static_cast<int>(*row.runSwitch)] = row.preference;
    }
    return feeding;
}();

}  // namespace

std::span<const PreferenceRow> PreferenceTable()
{
    return kRows;
}

std::span<const PreferenceRow> PreferenceRows(PreferenceKind kind)
{
    const auto ofKind = [kind](const PreferenceRow& row) { return row.kind == kind; };
    const PreferenceRow* const first = std::find_if(std::begin(kRows), std::end(kRows), ofKind);
    return {first, std::find_if_not(first, std::end(kRows), ofKind)};
}

const PreferenceRow& RowOf(Preference preference)
{
    return kRows[static_cast<int>(preference)];
}

std::string WithoutAccessKey(const char* caption)
{
    std::string shown;
    for (const char* at = caption; *at != '\0'; ++at) {
        if (*at == '&' && at[1] != '\0')
            ++at;
        shown += *at;
    }
    return shown;
}

Preferences::Preferences()
{
    for (const PreferenceRow& row : kRows)
        Set(row.preference, row.byDefault);
}

bool Preferences::SwitchOn(RunSwitch runSwitch) const
{
    return On(kFeeding[static_cast<int>(runSwitch)]);
}

void TakeAtRunStart(const Preferences& preferences, RunSettings& settings)
{
    for (const PreferenceRow& row : kRows) {
        if (row.atRunStart != nullptr)
            row.atRunStart(settings, preferences.On(row.preference));
    }
}

}  // namespace pellimar
