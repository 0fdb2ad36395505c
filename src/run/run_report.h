// What a run did, file by file, as every front end reports it: the plan it
// was asked, and for each file its outcome (what became of its output, its
// counts, its findings, the level names its file holds). The window lays it
// out in its boxes, the command line in lines of text and, on request, as a
// JSON document; none of them words a finding or a count of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/collection.h"
#include "run/finding_table.h"
#include "run/output_fates.h"
#include "run/run_plan.h"
#include "streams/output_forecast.h"

namespace pellimar {

struct ReportTotals {
    std::int64_t converted = 0;  // or, for a preview or a list, read through
    std::int64_t failed = 0;
    std::int64_t notRun = 0;
    std::int64_t references = 0;
    std::int64_t earlierFound = 0;
};

class RunReport {
public:
    // `stood`: for each output, whether a file stood under its name before
    // the run (none for a plan without outputs).
    RunReport(RunPlan plan, std::vector<FileOutcome> outcomes, std::vector<bool> stood = {});

    const RunPlan& Plan() const { return plan_; }
    std::size_t FileCount() const { return outcomes_.size(); }
    const CollectionFile& File(std::size_t i) const { return plan_.files[i]; }
    const FileOutcome& Outcome(std::size_t i) const { return outcomes_[i]; }
    // For the front end to settle the partial output of a file a cancel cut
    // short: put in place or thrown away.
    FileOutcome& Outcome(std::size_t i) { return outcomes_[i]; }
    // That file; nothing when none was cut short with an output.
    std::optional<std::size_t> CutShort() const;

    // What each output is now, for a run that writes them: the one cut short
    // as its partial output was settled.
    OutputFate Fate(std::size_t i) const;
    // What a dry run foresees of each output.
    OutputForecast Forecast(std::size_t i) const;
    // The file's notes, as `telling` tells them.
    std::vector<RunNote> Notes(std::size_t i, const NoteTelling& telling) const;
    // Each finding's tally for the file, in the table's order.
    std::vector<Tally> FindingTallies(std::size_t i) const;

    bool Cancelled() const;
    ReportTotals Totals() const;

private:
    NoteSubject SubjectOf(std::size_t i) const;

    RunPlan plan_;
    std::vector<FileOutcome> outcomes_;
    std::vector<bool> stood_;
};

// The references a file got, and what became of those an earlier run wrote
// into it, as a sentence ends: "3 references", "3 references, 1 earlier
// reference replaced", "2 earlier references removed".
std::string FileCountsOf(const RunReport& report, std::size_t i);

}  // namespace pellimar
