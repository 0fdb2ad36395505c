// The settings of a run from the window.
#include "window_model/window_run_settings.h"

#include <vector>

#include "run/shown_character.h"
#include "run/utf8.h"
#include "streams/native_file.h"
#include "window_model/screen_text.h"
#include "window_model/check_boxes.h"
#include "window_model/error_box.h"

namespace pellimar {
namespace {

// The character as it looks, or its code point when it would not show.
std::string UnheldForMessage(const std::string& unheld)
{
    const std::vector<char32_t> characters = DecodeUtf8(unheld);
    return CharacterForMessage(characters.empty() ? 0 : characters.front(), unheld);
}

std::string BoxName(HistoryBox box)
{
    if (box == HistoryBox::PagePattern)
        return "Page # Pattern";
    if (box == HistoryBox::RefPattern)
        return "Reference Pattern";
    return "Level " + std::to_string(BoxIndex(box) + 1);
}

}  // namespace

std::optional<RunSettings> RunSettingsOfWindow(const BoxTexts& boxes, const WindowView& view,
                                               const Preferences& preferences, Dialogs& dialogs)
{
    RunSettings settings;
    settings.inputPath = boxes.Shown(HistoryBox::InputFile);
    settings.outputPath = boxes.Shown(HistoryBox::OutputFile);
    const auto take = [&](HistoryBox box, std::string& bytes) {
        FileText text = boxes.AsFileText(box);
        if (!text.Complete()) {
            dialogs.ShowMessage(MessageKind::Error,
                                "The " + BoxName(box) + " box holds " + UnheldForMessage(text.unheld) +
                                    ", a character that the flat file's encoding, " + FileEncodingName() +
                                    ", cannot hold.",
                                MessageButtons::Ok);
            return false;
        }
        bytes = std::move(text.bytes);
        return true;
    };
    for (int i = 0; i < kLevelCount; ++i) {
        if (!take(LevelBox(i), settings.levelTexts[i]))
            return std::nullopt;
    }
    if (!take(HistoryBox::PagePattern, settings.pagePattern) || !take(HistoryBox::RefPattern, settings.refPattern))
        return std::nullopt;
    TakeAtRunStart(WithCheckBoxes(preferences, view), settings);
    return settings;
}

void ReportFailedRemoval(Dialogs& dialogs, const std::string& path)
{
    dialogs.ShowMessage(MessageKind::Error,
                        WithFileAndReason("The partial output could not be removed.", path, LastFailureReason()),
                        MessageButtons::Ok);
}

}  // namespace pellimar
