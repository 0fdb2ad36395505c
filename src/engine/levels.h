// Level names and the current level values that level records set.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/run_settings.h"

namespace pellimar {

// Upper-cases each level-name text; a name with a blank is put between
// double quotes, as level-record codes write such names.
LevelList PrepareLevelNames(const LevelList& texts);

// Removes every code ("<" through the next ">") from the text, read from
// left to right; "<<", a "<" meant as text, is kept as it stands. A "<"
// with no ">" after it removes the rest of the text.
std::string StripCodes(std::string_view text);

// A level's value built as the lines of its heading stream by: each line
// with its codes removed as StripCodes removes them, each line after the
// first joined with a blank when it keeps any text, and no more than
// `longest` bytes kept, never half a "<<". Past that the rest is dropped,
// so that a heading of any length holds little memory.
// The codes Folio shows as white space (<CR>, <HR>, <TB>, <HS>, <PB>, in
// any letter case) keep words apart: a run of them, once the other codes
// are gone, becomes one blank between two bytes that are not blanks, and
// nothing where a blank (space or tab) or the value's start or end is
// beside it.
//
// A value that nothing will show need only tell whether it was cut: its
// lines are then held as they stream by (each ended by a LF, which a line of
// a heading cannot hold), and taken apart only once they are longer than
// `longest`, as until then nothing of them can have been dropped. What such
// a value holds is for its holder to empty.
class HeadingValue {
public:
    // Takes the place of what `value` held, in its memory.
    HeadingValue(std::string& value, std::size_t longest, bool onlyWhetherCut = false);

    // The next bytes of the current line.
    void Take(std::string_view bytes)
    {
        if (holding_)
            Hold(bytes);
        else
            TakeApart(bytes);
    }
    // The line has ended: a code it left open ends with it.
    void EndLine();
    // A further line begins; its joining blank stands beside any white
    // space the last line ended with.
    void StartLine()
    {
        blankPending_ = true;
        spacePending_ = false;
    }
    // Some of the heading's text was dropped.
    bool Cut() const { return cut_; }

private:
    void TakeApart(std::string_view bytes);
    // The lines held so far are taken apart once they are longer than the
    // value may be: no byte of the value can come of more than one of theirs.
    void Hold(std::string_view bytes);
    void TakeHeldApart();

    // `text` whole or, unless it is a "<<", as much of it as there is room
    // for. The value never holds more than `longest_`.
    void Keep(std::string_view text, bool whole = false)
    {
        if (text.empty())
            return;
        if (!blankPending_ && !spacePending_ && !cut_ && text.size() <= longest_ - value_.size())
            value_.append(text.data(), text.size());
        else
            KeepWithin(text, whole);
    }
    void KeepWithin(std::string_view text, bool whole);
    // The first bytes of the code being read, to tell a white-space code.
    void TakeCodeHead(const std::uint8_t* from, const std::uint8_t* to);
    void CodeEnded();

    std::string& value_;
    std::size_t longest_;
    bool holding_;  // the lines are held, not yet taken apart
    bool inCode_ = false;
    bool openPending_ = false;   // a "<" ended the last bytes: the next one decides
    bool blankPending_ = false;  // the blank that goes before a further line's text
    bool spacePending_ = false;  // white space after a byte that is no blank
    char codeHead_[2] = {};  // the first two bytes of a code of two
    std::size_t codeHeadLength_ = 0;
    bool cut_ = false;
};

// The leading piece of text up to and including its first byte from set, or
// the whole text when none is in it.
std::string_view SplitPiece(std::string_view text, std::string_view set);

// The index of the first level named `name` (any letter case), or -1.
int FindLevel(const LevelLists& levels, std::string_view name);

// Makes level `index` set, with an empty value that its heading fills in,
// and unsets every deeper level through index `through`. Returns the value.
std::string& StartLevelValue(LevelLists& levels, int index, int through = kLevelCount - 1);

}  // namespace pellimar
