// The window's eleven boxes as the model sees them: the text each shows and
// its drop-down history. Patterns, level names and their histories are
// shown as the screen's text and kept as the flat file's, converted on the
// way; file names pass unchanged.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "window_model/history_boxes.h"
#include "window_model/screen_text.h"
#include "window_model/window_view.h"

namespace pellimar {

class BoxTexts {
public:
    explicit BoxTexts(WindowView& view) : view_(view) {}

    // The text shown, as the screen has it.
    std::string Shown(HistoryBox box) const { return view_.BoxText(box); }
    void Show(HistoryBox box, const std::string& text) { view_.SetBoxText(box, text); }
    // The text shown as the file and the settings hold it, and back.
    FileText AsFileText(HistoryBox box) const;
    void ShowFileText(HistoryBox box, const std::string& bytes) { Show(box, ScreenText(box, bytes)); }

    // Entries as the settings hold them, top first.
    const std::vector<std::string>& History(HistoryBox box) const { return histories_[BoxIndex(box)]; }
    void SetHistory(HistoryBox box, std::vector<std::string> entries);
    // The shown text goes to the top of the history, unless an entry already
    // holds it; a text the settings could not hold stays out.
    void AddShown(HistoryBox box);
    // The entry equal to the shown text goes, and the box is emptied.
    void RemoveShown(HistoryBox box);

private:
    std::string ScreenText(HistoryBox box, const std::string& bytes) const;

    WindowView& view_;
    std::array<std::vector<std::string>, kHistoryBoxCount> histories_;
};

// The boxes whose texts are file names, kept as the file layer's names.
constexpr bool HoldsFileName(HistoryBox box)
{
    return box == HistoryBox::InputFile || box == HistoryBox::OutputFile;
}

}  // namespace pellimar
