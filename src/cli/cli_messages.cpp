// The command line's messages.
#include "cli/cli_messages.h"

#include <cstdio>
#include <vector>

#include "run/run_summary.h"
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

void InCliWords(RunCheckFailure failure, char missingToken, std::string& message, std::string& reason)
{
    if (failure == RunCheckFailure::PagePatternWithoutHash)
        message = kPagePatternNamed + std::string(" must contain #");
    if (failure != RunCheckFailure::PatternSourceMissing)
        return;
    const std::string token(1, missingToken);
    if (missingToken == '#')
        reason = "\"#\" stands for the page, and " + std::string(kPagePatternNamed) + " is empty";
    else
        reason = "\"" + token + "\" stands for level " + token + ", and no name was given for it (--level" + token +
                 ")";
}

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

namespace {

// A file under the output's name that is rewritten in place, and what a
// new file would not keep of the one it replaces.
void NoteLoss(const std::string& path, const std::string& whyInPlace, bool replacesFile,
              const std::vector<std::string>& notKept)
{
    if (!whyInPlace.empty())
        ReportError("note: " + whyInPlace + ", so it is written in place: " +
                        (replacesFile ? "what it held is lost, and " : "") +
                        "a cancel or a failure leaves a partial file under its name",
                    {path, {}});
    for (const std::string& lost : notKept)
        ReportError("note: the new file cannot keep " + lost + " of the one it replaces", {path, {}});
}

}  // namespace

void ForetellWhatIsLost(const std::string& outputPath)
{
    const OutputOutlook outlook = ForeseeOutput(outputPath);
    NoteLoss(outputPath, outlook.earlierLost ? outlook.whyInPlace : std::string(), true, outlook.notKept);
}

void NoteFailedInPlace(const std::string& outputPath)
{
    ReportError("note: it holds only the part written before the failure", {outputPath, {}});
}

void ReportFate(const std::string& outputPath, OutputFate fate)
{
    ReportError(FateWords(fate), {outputPath, {}});
}

}  // namespace pellimar::cli
