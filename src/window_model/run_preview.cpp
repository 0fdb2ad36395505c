// "Preview": the first references a run would make, shown before anything
// is converted. It makes the checks of Begin except those of the output,
// asks the same page question, and shows progress with Cancel as a run does.
#include "engine/preview.h"
#include "run/level_notes.h"
#include "run/run_notes.h"
#include "window_model/error_box.h"
#include "window_model/run_controller.h"
#include "window_model/screen_text.h"

namespace pellimar {
namespace {

constexpr std::size_t kPreviewCount = 20;

// A preview that stopped short of its count has found every reference.
std::string PreviewHeading(std::size_t count)
{
    if (count == 0)
        return "The run would make no reference.";
    if (count == 1)
        return "The run would make one reference:";
    if (count < kPreviewCount)
        return "The run would make " + std::to_string(count) + " references:";
    return "The first " + std::to_string(count) + " references the run would make:";
}

// The references as the screen shows the file's text.
std::vector<PreviewReference> ScreenReferences(std::vector<PreviewReference> references)
{
    for (PreviewReference& reference : references) {
        reference.text = ScreenTextFromFile(reference.text);
        reference.recordStart = ScreenTextFromFile(reference.recordStart);
    }
    return references;
}

// The levels the level records read name, with their counts and first
// headings; a preview that stopped early read only part of the file.
std::string LevelsShown(const LevelCensus& seen, bool whole)
{
    const std::vector<std::string> lines = LevelLines(seen);
    if (lines.empty())
        return whole ? "This file has no level records." : "The part of the file read has no level records.";
    std::string text = whole ? "Level records of this file:" : "Level records in the part of the file read:";
    for (const std::string& line : lines)
        text += "\r" + line;
    return ScreenTextFromFile(text);
}

}  // namespace

// The texts a preview reads go into their boxes' histories, as leaving each
// box would put them there.
void RunController::Preview()
{
    if (running_)
        return;
    Guarded(services_.dialogs, [this] {
        cancelRequested_ = false;
        for (int i = 0; i < kHistoryBoxCount; ++i) {
            if (const auto box = static_cast<HistoryBox>(i); box != HistoryBox::OutputFile)
                boxes_.AddShown(box);
        }
        const std::optional<RunSettings> settings = SettingsForRun();
        if (!settings || !PassesRunChecks(*settings))
            return;
        PreviewResult result;
        RunPass([&](RunHost& host) { result = RunPreview(*settings, host, levels_, kPreviewCount); });
        if (CloseIfPending() || result.cancelled)
            return;
        const std::int32_t kept =
            settings->earlierReferences == EarlierReferences::Keep ? result.earlierReferences : 0;
        std::string note = IdRecordsAdvice(result.unreadIdLevelRecords);
        for (const std::string& more :
             {EarlierReferencesAdvice(kept, true), LookAlikesNote(result.earlierLookAlikes, true),
              HeadingsCutNote(result.headingsCut, settings->longestEarlierReference),
              ReferencesCutNote(result.referencesCut, settings->longestEarlierReference, true),
              LaterLineRecordsAdvice(result.laterLineRecords, preferences_, true)}) {
            if (!more.empty())
                note += (note.empty() ? "" : " ") + more;
        }
        // Only a preview that read the whole input knows a level is never set.
        const bool whole = result.references.size() < kPreviewCount;
        if (whole) {
            for (const std::string& more : LevelsAdvice(*settings, result.levelsSeen, result.unreadIdLevelRecords))
                note += (note.empty() ? "" : " ") + more;
        }
        services_.dialogs.ShowPreview({PreviewHeading(result.references.size()),
                                       LevelsShown(result.levelsSeen, whole), ScreenReferences(result.references),
                                       std::move(note), {}});
    });
}

}  // namespace pellimar
