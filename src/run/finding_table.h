// Every finding a report tells of besides the references, one row each:
// whether a file's run has anything to tell of it, with its count and the
// line of the first; its words in each voice; its key in the machine report.
// A run, a preview, a dry run and each file of a collection are told of by
// the same rows: the window names its Preferences menu's items and writes
// whole sentences, the command line names its options.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/findings.h"
#include "engine/level_census.h"
#include "engine/run_settings.h"
#include "run/preferences.h"

namespace pellimar {

enum class Voice { CommandLine, Window };

// One file's run, as its notes see it.
struct NoteSubject {
    const Findings& counts;
    const LevelCensus& levels;
    const RunSettings& settings;
    const Preferences& preferences;
    // The whole input was read, so a level it never sets is known.
    bool wholeRead = true;
    // The level names' file of the last load, and the first name of its
    // line, which was not loaded.
    std::string levelsFile;
    std::string skippedLevelName;
};

// How the notes are told.
struct NoteTelling {
    Voice voice = Voice::Window;
    // A preview or a dry run, which tells what a run would do.
    bool foretold = false;
    // A preview, which knows only the part of the input it read.
    bool partRead = false;
    // The input as the command line names it.
    std::string input;
    // The flat file's text as the front end shows it.
    std::function<std::string(const std::string&)> shown;
};

// Where the command line names the input a note is about.
enum class InputNamed {
    InItsWords,  // the note's words name it already
    BeforeIt,    // a note about the input's text: before it, always
    ForSeveral,  // before it, where a run has several inputs
};

struct FindingRow {
    // Its name, in the machine report's "findings" too.
    std::string_view key;
    InputNamed inputNamed;
    // How many there are to tell of, and the line of the first where the
    // pass knows it; a count of 0 tells nothing.
    Tally (*tally)(const NoteSubject& subject);
    std::string (*words)(const NoteSubject& subject, const Tally& tally, const NoteTelling& telling);
};

// Every row, in the order the notes are told: why a level has no level
// record first, the name the level names' file did not load last.
const std::vector<FindingRow>& FindingTable();
const FindingRow& RowOf(std::string_view key);

struct RunNote {
    std::string_view key;  // its row's
    std::string text;
};

// The notes in the table's order; none of a finding with nothing to tell.
std::vector<RunNote> NotesOf(const NoteSubject& subject, const NoteTelling& telling);

}  // namespace pellimar
