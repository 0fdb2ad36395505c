// The boxes' texts between the screen and the file's encoding: patterns,
// level names and their histories are converted, file names pass unchanged;
// a character the encoding cannot hold is refused before a run, naming the
// box and the character.
#include "run/shown_character.h"
#include "run/utf8.h"
#include "window_model/main_window_model.h"
#include "window_model/screen_text.h"

namespace pellimar {
namespace {

bool HoldsFileName(HistoryBox box)
{
    return box == HistoryBox::InputFile || box == HistoryBox::OutputFile;
}

std::string BoxName(HistoryBox box)
{
    if (box == HistoryBox::PagePattern)
        return "Page # Pattern";
    if (box == HistoryBox::RefPattern)
        return "Reference Pattern";
    return "Level " + std::to_string(BoxIndex(box) + 1);
}

// The character as it looks, or its code point when it would not show.
std::string UnheldForMessage(const std::string& unheld)
{
    const std::vector<char32_t> characters = DecodeUtf8(unheld);
    return CharacterForMessage(characters.empty() ? 0 : characters.front(), unheld);
}

}  // namespace

FileText MainWindowModel::BoxFileText(HistoryBox box) const
{
    if (HoldsFileName(box))
        return {Text(box), {}};
    return FileTextFromScreen(Text(box));
}

std::string MainWindowModel::ScreenText(HistoryBox box, const std::string& bytes) const
{
    return HoldsFileName(box) ? bytes : ScreenTextFromFile(bytes);
}

void MainWindowModel::ShowBoxText(HistoryBox box, const std::string& bytes)
{
    view_.SetBoxText(box, ScreenText(box, bytes));
}

void MainWindowModel::SetHistory(HistoryBox box, std::vector<std::string> entries)
{
    histories_[BoxIndex(box)] = std::move(entries);
    std::vector<std::string> shown;
    for (const std::string& entry : History(box))
        shown.push_back(ScreenText(box, entry));
    view_.ShowHistory(box, shown);
}

std::optional<RunSettings> MainWindowModel::SettingsForRun()
{
    RunSettings settings;
    settings.inputPath = Text(HistoryBox::InputFile);
    settings.outputPath = Text(HistoryBox::OutputFile);
    const auto take = [this](HistoryBox box, std::string& bytes) {
        FileText text = BoxFileText(box);
        if (!text.Complete()) {
            services_.dialogs->ShowMessage(MessageKind::Error,
                                           "The " + BoxName(box) + " box holds " + UnheldForMessage(text.unheld) +
                                               ", a character that the flat file's encoding, " +
                                               FileEncodingName() + ", cannot hold.",
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
    settings.notSearched = view_.OptionChecked(RunOption::NotSearched);
    settings.removePageMarks = view_.OptionChecked(RunOption::RemovePageMarks);
    return settings;
}

}  // namespace pellimar
