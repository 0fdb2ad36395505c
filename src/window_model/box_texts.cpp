// The boxes' texts and histories.
#include "window_model/box_texts.h"

namespace pellimar {

FileText BoxTexts::AsFileText(HistoryBox box) const
{
    if (HoldsFileName(box))
        return {Shown(box), {}};
    return FileTextFromScreen(Shown(box));
}

std::string BoxTexts::ScreenText(HistoryBox box, const std::string& bytes) const
{
    return HoldsFileName(box) ? bytes : ScreenTextFromFile(bytes);
}

void BoxTexts::SetHistory(HistoryBox box, std::vector<std::string> entries)
{
    histories_[BoxIndex(box)] = std::move(entries);
    std::vector<std::string> shown;
    for (const std::string& entry : History(box))
        shown.push_back(ScreenText(box, entry));
    view_.ShowHistory(box, shown);
}

void BoxTexts::AddShown(HistoryBox box)
{
    const FileText text = AsFileText(box);
    std::vector<std::string> entries = History(box);
    if (text.Complete() && AddHistoryEntry(entries, text.bytes))
        SetHistory(box, std::move(entries));
}

void BoxTexts::RemoveShown(HistoryBox box)
{
    const FileText text = AsFileText(box);
    std::vector<std::string> entries = History(box);
    if (text.Complete() && RemoveHistoryEntry(entries, text.bytes)) {
        SetHistory(box, std::move(entries));
        Show(box, "");
    }
}

}  // namespace pellimar
