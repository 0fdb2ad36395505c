// A run as it is asked for, by the window or the command line: its inputs,
// each with its output or none, what the pass makes of them, and the
// settings they share. A single file is a plan of one; a collection names
// the folder its outputs go to. Every run, preview, dry run and list of
// level names is checked, run and reported from a plan.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/run_settings.h"
#include "run/collection.h"
#include "run/preferences.h"

namespace pellimar {

enum class RunMode {
    Convert,     // each input into its output
    DryRun,      // the whole pass with nothing written, each output foreseen
    Preview,     // the first references a run would make
    ListLevels,  // the level names of the input's level records
};

struct RunPlan {
    RunMode mode = RunMode::Convert;
    // Shared by every file; each file's input and output are put in at its
    // turn. A single file may be standard input or output.
    RunSettings settings;
    Preferences preferences;
    // Each input with its output; no output for a preview or a list.
    std::vector<CollectionFile> files;
    // A collection's output folder; none for a single file.
    std::optional<std::string> folder;
    std::size_t jobs = 1;
    // An output under whose name a file stands may be replaced: asked for
    // (--force), or agreed to.
    bool replaceExisting = false;
    // A preview lists this many references; a dry run given a limit lists
    // as many too, reading every input whole for its counts.
    std::size_t previewLimit = 0;
    // The level names' file of the last load, and the first name of its
    // line, which was not loaded.
    std::string levelsFile;
    std::string skippedLevelName;

    bool WritesOutputs() const { return mode == RunMode::Convert || mode == RunMode::DryRun; }
    bool IsCollection() const { return folder.has_value() || files.size() != 1; }
};

// Runs each file's pass as the plan's mode asks, `jobs` at a time (the
// checks were made before): EnterRunning once, each file started, one
// progress for them all, LeaveRunning once. Whatever a file's pass raises
// is its outcome.
std::vector<FileOutcome> RunPlanned(const RunPlan& plan, CollectionHost& host);

}  // namespace pellimar
