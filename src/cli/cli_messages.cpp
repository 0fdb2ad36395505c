// The command line's messages.
#include "cli/cli_messages.h"

#include <cstdio>

#include "streams/output_file.h"

namespace pellimar::cli {
namespace {

// A text that ends a sentence, not one that ends with a file's name that
// ends in a full stop ("Cannot create file out.").
bool EndsASentence(const std::string& text, const ErrorContext& context)
{
    return text.ends_with('.') && (context.file.empty() || !text.ends_with(context.file));
}

}  // namespace

void ReportError(const std::string& text, const ErrorContext& context)
{
    std::string line = kProgram;
    if (!context.file.empty())
        line += ": " + context.file;
    line += ": " + text;
    if (!context.reason.empty())
        line += EndsASentence(text, context) ? " (" + context.reason + ")" : ": " + context.reason;
    std::fprintf(stderr, "%s\n", line.c_str());
}

void NoteWhatIsLost(const std::string& outputPath)
{
    const OutputOutlook outlook = ForeseeOutput(outputPath);
    if (outlook.earlierLost)
        ReportError("note: its folder takes no new file, so it is written in place: what it holds now is lost, "
                    "also if the run fails or is cancelled",
                    {outputPath, {}});
    for (const std::string& lost : outlook.notKept)
        ReportError("note: the new file cannot keep " + lost + " of the one it replaces", {outputPath, {}});
}

// Interrupting means "stop and change nothing"; where the output was
// written in place, what the user is told is what became of it.
void ReportCancelled(RunResult& result, const std::string& outputPath)
{
    if (!result.partialOutput) {
        ReportError("Operation Canceled.");
    } else if (!result.partialOutput->WritesInPlace()) {
        result.partialOutput->Discard();
        ReportError("Operation Canceled. " + outputPath + " was left as it was.");
    } else if (result.partialOutput->Discard()) {
        ReportError("Operation Canceled. The partial output was removed.");
    } else {
        ReportError("Operation Canceled. The partial output could not be removed.",
                    {outputPath, LastFailureReason()});
    }
}

}  // namespace pellimar::cli
