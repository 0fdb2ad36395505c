// Level names from the first "<LN:" line of a file: "Load Levels" and a
// dropped definition file. Only the boxes' texts change; their histories
// take a name only when the user leaves the box or presses Enter in it.
#pragma once

#include <string>

#include "window_model/box_texts.h"
#include "window_model/dialogs.h"
#include "window_model/file_choices.h"

namespace pellimar {

class LevelImport {
public:
    LevelImport(BoxTexts& boxes, FileChoices& choices, Dialogs& dialogs)
        : boxes_(boxes), choices_(choices), dialogs_(dialogs)
    {
    }

    // "Load Levels": the boxes emptied, then filled from the file chosen.
    void Load();
    // The same from a file given; its errors are the caller's.
    void Take(const std::string& path);

    // The file of the last load without its folder, as the notes name it,
    // and the first name of its line, which names no box: nothing when the
    // boxes were emptied.
    const std::string& File() const { return file_; }
    const std::string& Skipped() const { return skipped_; }

private:
    void Empty();
    void Fill(const std::string& path);

    BoxTexts& boxes_;
    FileChoices& choices_;
    Dialogs& dialogs_;
    std::string file_;
    std::string skipped_;
};

}  // namespace pellimar
