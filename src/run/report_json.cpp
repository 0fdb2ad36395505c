// The report as JSON, written with nlohmann's library.
#include "run/report_json.h"

#include <nlohmann/json.hpp>

#include "run/level_notes.h"
#include "run/utf8.h"

namespace pellimar {
namespace {

using Json = nlohmann::ordered_json;

std::string Base64(const std::string& bytes)
{
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::uint32_t group = static_cast<std::uint8_t>(bytes[at]) << 16;
        if (at + 1 < bytes.size())
            group |= static_cast<std::uint8_t>(bytes[at + 1]) << 8;
        if (at + 2 < bytes.size())
            group |= static_cast<std::uint8_t>(bytes[at + 2]);
        for (std::size_t digit = 0; digit < 4; ++digit)
            text += at + digit <= bytes.size() ? kDigits[(group >> (18 - 6 * digit)) & 0x3F] : '=';
    }
    return text;
}

// What is no UTF-8 is given as its bytes, beside a readable form in which
// each byte that begins no character reads as U+FFFD.
Json BytesAndText(const std::string& bytes)
{
    std::string readable;
    for (const char32_t character : DecodeUtf8(bytes))
        AppendUtf8(readable, character);
    return {{"text", readable}, {"bytes", Base64(bytes)}};
}

Json Name(const std::string& name)
{
    if (IsUtf8(name))
        return name;
    return BytesAndText(name);
}

class Writer {
public:
    Writer(const RunPlan& whole, const ReportJsonFrame& frame) : whole_(whole), frame_(frame) {}

    Json Text(const std::string& flatText) const
    {
        if (std::optional<std::string> utf8 = frame_.flatTextInUtf8(flatText); utf8 && IsUtf8(*utf8))
            return *utf8;
        return BytesAndText(flatText);
    }

    Json Settings() const
    {
        const RunSettings& settings = whole_.settings;
        const Preferences& preferences = whole_.preferences;
        Json levels = Json::array();
        for (const std::string& level : settings.levelTexts)
            levels.push_back(Text(level));
        return {{"reference_pattern", Text(settings.refPattern)},
                {"page_pattern", Text(settings.pagePattern)},
                {"levels", levels},
                {"remove_page_marks", settings.removePageMarks},
                {"not_searched", settings.notSearched},
                {"left_justified_only", preferences.SwitchOn(RunSwitch::LeftJustOnly)},
                {"use_hr", preferences.SwitchOn(RunSwitch::UseHR)},
                {"id_records", preferences.SwitchOn(RunSwitch::IdRecords)},
                {"line_end_records", preferences.SwitchOn(RunSwitch::LineEndRecords)},
                {"earlier_references", EarlierWord(settings.earlierReferences)},
                {"output_folder", whole_.folder ? Name(*whole_.folder) : Json(nullptr)},
                {"jobs", whole_.jobs},
                {"replace_existing", whole_.replaceExisting},
                {"preview_limit", whole_.mode == RunMode::Preview ? Json(whole_.previewLimit) : Json(nullptr)}};
    }

    // A file the checks refused, or one not run because others were.
    Json Refused(const CollectionFile& file, const std::vector<PlanProblem>& problems) const
    {
        Json record = Plain(file, problems.empty() ? "not_run" : "refused");
        for (const PlanProblem& problem : problems)
            record["problems"].push_back(Problem(problem));
        return record;
    }

    Json Ran(const RunReport& report, std::size_t i) const
    {
        const FileOutcome& outcome = report.Outcome(i);
        Json record = Plain(report.File(i), StateWord(outcome.state));
        record["output_fate"] = Fate(report, i);
        if (outcome.state == FileOutcome::State::Failed)
            record["error"] = {{"message", outcome.error},
                               {"file", Name(outcome.errorContext.file)},
                               {"reason", outcome.errorContext.reason}};
        const bool counted = outcome.state == FileOutcome::State::Converted;
        record["references"] =
            References(counted ? outcome.result.refCount : 0, counted ? outcome.result.EarlierReferences() : 0);
        const std::vector<Tally> tallies = report.FindingTallies(i);
        for (std::size_t row = 0; row < tallies.size(); ++row)
            record["findings"][std::string(FindingTable()[row].key)] = Finding(tallies[row]);
        record["levels"] = Levels(outcome.result.levelsSeen);
        record["unlisted_level_records"] = outcome.result.levelsSeen.Unlisted();
        if (whole_.mode == RunMode::Preview) {
            record["preview_references"] = Json::array();
            for (const PreviewReference& reference : outcome.references)
                record["preview_references"].push_back({{"line", reference.line}, {"text", Text(reference.text)}});
        }
        record["bytes_read"] = outcome.result.bytesRead;
        record["bytes_written"] = whole_.mode == RunMode::Convert ? outcome.result.bytesWritten : 0;
        record["seconds"] = outcome.seconds;
        return record;
    }

    Json Problem(const PlanProblem& problem) const
    {
        return {{"message", problem.message}, {"file", Name(problem.file)}, {"reason", problem.reason}};
    }

private:
    static const char* EarlierWord(EarlierReferences earlier)
    {
        switch (earlier) {
            case EarlierReferences::Keep:
                return "keep";
            case EarlierReferences::Replace:
                return "replace";
            case EarlierReferences::Remove:
                return "remove";
        }
        return "keep";
    }

    static const char* StateWord(FileOutcome::State state)
    {
        switch (state) {
            case FileOutcome::State::Converted:
                return "converted";
            case FileOutcome::State::Failed:
                return "failed";
            case FileOutcome::State::Cancelled:
                return "cancelled";
            case FileOutcome::State::NotRun:
                return "not_run";
        }
        return "not_run";
    }

    static const char* FateWord(OutputFate fate)
    {
        switch (fate) {
            case OutputFate::Converted:
                return "converted";
            case OutputFate::LeftAsItWas:
                return "left_as_it_was";
            case OutputFate::NotWritten:
                return "not_written";
            case OutputFate::Removed:
                return "removed";
            case OutputFate::HoldsPartToCancel:
                return "holds_part_to_cancel";
            case OutputFate::HoldsPartToFailure:
                return "holds_part_to_failure";
        }
        return "not_written";
    }

    // What became of the output, or what a dry run would make of it; none
    // for a preview or a list.
    Json Fate(const RunReport& report, std::size_t i) const
    {
        if (whole_.mode == RunMode::Convert)
            return whole_.settings.standardOutput ? Json("standard_output") : Json(FateWord(report.Fate(i)));
        if (whole_.mode != RunMode::DryRun)
            return nullptr;
        const OutputForecast forecast = report.Forecast(i);
        if (whole_.settings.standardOutput || forecast.device)
            return "would_write";
        return forecast.replacesFile ? "would_replace" : "would_create";
    }

    Json References(std::int64_t created, std::int64_t earlier) const
    {
        const EarlierReferences mode = whole_.settings.earlierReferences;
        return {{"created", created},
                {"replaced", mode == EarlierReferences::Replace ? earlier : 0},
                {"removed", mode == EarlierReferences::Remove ? earlier : 0},
                {"kept", mode == EarlierReferences::Keep ? earlier : 0}};
    }

    static Json Finding(const Tally& tally)
    {
        return {{"count", tally.count}, {"first_line", tally.firstLine > 0 ? Json(tally.firstLine) : Json(nullptr)}};
    }

    Json Levels(const LevelCensus& seen) const
    {
        Json levels = Json::array();
        for (const LevelSeen& level : seen.Levels())
            levels.push_back({{"name", Text(BareLevelName(level.name))},
                              {"count", level.count},
                              {"first_heading", Text(level.firstHeading)},
                              {"heading_cut", level.headingCut}});
        return levels;
    }

    Json Plain(const CollectionFile& file, const char* state) const
    {
        const bool output = whole_.WritesOutputs();
        Json record = {{"input", whole_.settings.standardInput ? Json("-") : Name(file.input)},
                       {"output", !output                          ? Json(nullptr)
                                  : whole_.settings.standardOutput ? Json("-")
                                                                   : Name(file.output)},
                       {"state", state},
                       {"output_fate", nullptr},
                       {"error", nullptr},
                       {"problems", Json::array()}};
        return record;
    }

    const RunPlan& whole_;
    const ReportJsonFrame& frame_;
};

const char* ModeWord(RunMode mode)
{
    switch (mode) {
        case RunMode::Convert:
            return "convert";
        case RunMode::DryRun:
            return "dry_run";
        case RunMode::Preview:
            return "preview";
        case RunMode::ListLevels:
            return "list_levels";
    }
    return "convert";
}

}  // namespace

std::string ReportJson(const RunPlan& whole, const std::vector<PlanProblem>& problems, const RunReport* report,
                       const ReportJsonFrame& frame)
{
    const Writer writer(whole, frame);
    Json document = {{"program", frame.program}, {"version", frame.version}, {"mode", ModeWord(whole.mode)}};
    document["settings"] = writer.Settings();
    const std::vector<std::vector<PlanProblem>> byFile = ProblemsByFile(whole, problems);
    document["files"] = Json::array();
    std::size_t ran = 0;
    for (std::size_t i = 0; i < whole.files.size(); ++i) {
        if (report != nullptr && byFile[i].empty() && ran < report->FileCount())
            document["files"].push_back(writer.Ran(*report, ran++));
        else
            document["files"].push_back(writer.Refused(whole.files[i], byFile[i]));
    }
    document["problems"] = Json::array();
    for (const PlanProblem& problem : problems)
        document["problems"].push_back(writer.Problem(problem));
    const ReportTotals totals = report != nullptr ? report->Totals() : ReportTotals{};
    document["totals"] = {{"files", whole.files.size()},
                          {"converted", totals.converted},
                          {"failed", totals.failed},
                          {"not_run", totals.notRun},
                          {"refused", whole.files.size() - (report != nullptr ? report->FileCount() : 0)},
                          {"references_created", totals.references},
                          {"earlier_references", totals.earlierFound}};
    document["cancelled"] = report != nullptr && report->Cancelled();
    document["exit_status"] = frame.exitStatus;
    // A message may hold a file's name that is no UTF-8.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace pellimar
