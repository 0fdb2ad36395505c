// Level names and heading values.
#include "engine/levels.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "streams/byte_scan.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

LevelList PrepareLevelNames(const LevelList& texts)
{
    LevelList names;
    for (int i = 0; i < kLevelCount; ++i) {
        const std::string upper = ToUpperAscii(texts[i]);
        names[i] = texts[i].find(' ') != std::string::npos ? '"' + upper + '"' : upper;
    }
    return names;
}

std::string StripCodes(std::string_view text)
{
    std::string result;
    HeadingValue value(result, SIZE_MAX);
    value.Take(text);
    return result;
}

HeadingValue::HeadingValue(std::string& value, std::size_t longest, bool onlyWhetherCut)
    : value_(value), longest_(longest), holding_(onlyWhetherCut)
{
    value_.clear();
}

void HeadingValue::Hold(std::string_view bytes)
{
    value_.append(bytes.data(), bytes.size());
    if (value_.size() > longest_)
        TakeHeldApart();
}

void HeadingValue::TakeHeldApart()
{
    holding_ = false;
    blankPending_ = false;
    spacePending_ = false;
    const std::string held = std::move(value_);
    value_.clear();
    std::string_view lines(held);
    for (bool first = true;; first = false) {
        const std::size_t end = lines.find('\n');
        if (!first)
            StartLine();
        TakeApart(lines.substr(0, end));
        if (end == std::string_view::npos)
            return;
        EndLine();
        lines.remove_prefix(end + 1);
        // A line that has ended is all there is: the next one, if any,
        // starts as the caller says.
        if (lines.empty())
            return;
    }
}

// Read from left to right as the pass reads running text: "<<" is a "<"
// meant as text and stays as written, the escape included, since the value
// goes back into a flat file; any other "<" opens a code that runs to the
// next ">".
void HeadingValue::TakeApart(std::string_view bytes)
{
    const auto* at = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto* const end = at + bytes.size();
    while (at < end) {
        if (openPending_) {
            openPending_ = false;
            if (*at == '<') {
                Keep("<<", true);
                ++at;
                continue;
            }
            inCode_ = true;
            codeHeadLength_ = 0;
        }
        if (inCode_) {
            const std::uint8_t* close = FindByte(at, end, '>');
            TakeCodeHead(at, close);
            if (close == end)
                return;
            inCode_ = false;
            CodeEnded();
            at = close + 1;
            continue;
        }
        const std::uint8_t* open = FindByte(at, end, '<');
        Keep({reinterpret_cast<const char*>(at), static_cast<std::size_t>(open - at)});
        if (end - open < 2) {
            openPending_ = open != end;
            return;
        }
        inCode_ = open[1] != '<';
        codeHeadLength_ = 0;
        if (!inCode_)
            Keep("<<", true);
        at = open + (inCode_ ? 1 : 2);
    }
}

void HeadingValue::TakeCodeHead(const std::uint8_t* from, const std::uint8_t* to)
{
    // Only a code of two letters can be white space: a longer one is known
    // by its length alone.
    const std::size_t length = static_cast<std::size_t>(to - from);
    if (codeHeadLength_ + length <= 2)
        std::memcpy(codeHead_ + codeHeadLength_, from, length);
    codeHeadLength_ = std::min<std::size_t>(codeHeadLength_ + length, 3);
}

// A white-space code right after a byte that is no blank may part it from
// the next one; a code that ends its line (EndLine) never closes here.
void HeadingValue::CodeEnded()
{
    if (codeHeadLength_ != 2 || value_.empty() || blankPending_ || IsBlank(value_.back()))
        return;
    const char code[2] = {ToUpperAscii(codeHead_[0]), ToUpperAscii(codeHead_[1])};
    const std::string_view name(code, 2);
    spacePending_ = spacePending_ || name == "CR" || name == "HR" || name == "TB" || name == "HS" || name == "PB";
}

void HeadingValue::EndLine()
{
    if (holding_) {
        Hold("\n");
        return;
    }
    inCode_ = false;
    openPending_ = false;
}

void HeadingValue::KeepWithin(std::string_view text, bool whole)
{
    if (text.empty() || cut_)
        return;
    if (blankPending_) {
        blankPending_ = false;
        Keep(" ");
        if (cut_)
            return;
    }
    if (spacePending_) {
        spacePending_ = false;
        if (!IsBlank(text.front())) {
            Keep(" ");
            if (cut_)
                return;
        }
    }
    const std::size_t room = longest_ - std::min(longest_, value_.size());
    if (text.size() <= room) {
        value_ += text;
        return;
    }
    cut_ = true;
    if (!whole)
        value_.append(text.substr(0, room));
}

std::string_view SplitPiece(std::string_view text, std::string_view set)
{
    const std::size_t found = text.find_first_of(set);
    return found == std::string_view::npos ? text : text.substr(0, found + 1);
}

int FindLevel(const LevelLists& levels, std::string_view name)
{
    // A run's names and the names read from codes are both upper-cased, so
    // the plain comparison nearly always finds the level, and at less cost;
    // names of one length mostly differ in their first byte.
    for (int index = 0; index < kLevelCount; ++index) {
        const std::string& level = levels.names[index];
        if (level.size() == name.size() && (name.empty() || level[0] == name[0]) && level == name)
            return index;
    }
    for (int index = 0; index < kLevelCount; ++index) {
        if (EqualsIgnoreAsciiCase(levels.names[index], name))
            return index;
    }
    return -1;
}

std::string& StartLevelValue(LevelLists& levels, int index, int through)
{
    levels.Changed(index);
    for (int deeper = index + 1; deeper <= through; ++deeper) {
        if (!IsNotSet(levels.values[deeper]))
            levels.values[deeper] = std::string_view(kNotSet);
    }
    levels.values[index].clear();
    return levels.values[index];
}

}  // namespace pellimar
