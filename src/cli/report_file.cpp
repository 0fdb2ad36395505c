// The report's file.
#include "cli/report_file.h"

#include <cstdio>

#include "cli/cli_messages.h"
#include "cli/console.h"
#include "cli/run_cli.h"
#include "run/report_json.h"
#include "streams/exceptions.h"
#include "streams/file_places.h"
#include "streams/output_file.h"
#include "streams/stop_request.h"
#include "streams/text_stream.h"

#ifndef PELLIMAR_VERSION
#define PELLIMAR_VERSION "0"
#endif

namespace pellimar::cli {
namespace {

bool Same(const std::optional<FilePlace>& report, const std::string& name)
{
    const std::optional<FilePlace> place = name.empty() || name == "-" ? std::nullopt : PlaceOfName(name);
    return report && place && SamePlace(*report, *place);
}

void Write(const std::string& path, const std::string& json, const RunPlan& plan)
{
    auto files = std::make_shared<RunFiles>();
    for (const CollectionFile& file : plan.files)
        files->AddInput(file.input);
    OutputFile output(path, true, {files, {}});
    std::unique_ptr<TS_TextStream> stream = output.CreateStream();
    stream->WriteStr(json);
    stream->Close();
    output.PutInPlace();
}

}  // namespace

std::optional<PlanProblem> ReportFileRefused(const std::string& path, const RunPlan& plan)
{
    if (path == "-")
        return std::nullopt;
    const std::string message = FillPlaceholder(kCannotCreateFile, path);
    const std::optional<FilePlace> report = PlaceOfName(path);
    for (const CollectionFile& file : plan.files) {
        if (Same(report, file.input) && !plan.settings.standardInput)
            return PlanProblem{message, path, "it is " + file.input + ", an input of this run"};
        if (Same(report, file.output) && !plan.settings.standardOutput)
            return PlanProblem{message, path, "it is " + file.output + ", an output of this run"};
    }
    if (OutputIsFolder(path))
        return PlanProblem{message, path, "it is a folder"};
    return std::nullopt;
}

int WithReport(const Configuration& configuration, const RunPlan& whole, const std::vector<PlanProblem>& problems,
               const RunReport* report, int status)
{
    if (!configuration.report)
        return status;
    const ReportJsonFrame frame{kProgram, PELLIMAR_VERSION, status, FlatFileTextInUtf8};
    const std::string json = ReportJson(whole, problems, report, frame);
    if (*configuration.report == "-") {
        std::fwrite(json.data(), 1, json.size(), stdout);
        return status;
    }
    // Once the run is over, an interrupt that stopped it no longer stops
    // the writing of its report.
    SetStopCheck(nullptr);
    try {
        Write(*configuration.report, json, whole);
        return status;
    } catch (const Exception& error) {
        ReportError(error.what(), {error.File(), error.Reason()});
        return status == kExitSuccess ? kExitError : status;
    }
}

}  // namespace pellimar::cli
