// The heading state: copies the lines that follow a level-record code (and
// the earlier references right after it) and makes them the value of that
// level. A heading is its first line plus every following line that starts
// with neither a line break nor "<". Its lines are copied as they are read,
// whatever their length, and its value keeps no more than the longest
// reference can show.
#include "engine/conversion_pass.h"
#include "engine/levels.h"
#include "streams/byte_scan.h"

namespace pellimar {
namespace {

bool IsLineBreak(std::uint8_t ch)
{
    return ch == '\r' || ch == '\n';
}

// The first of a level value shown beside its name. The value holds no
// codes, so reading it again only cuts it, never in a "<<".
void ShowFirstHeading(LevelSeen& seen, const std::string& value)
{
    HeadingValue shown(seen.firstHeading, kLongestShownHeading);
    shown.Take(value);
    seen.headingCut = shown.Cut();
}

}  // namespace

void ConversionPass::CaptureHeading()
{
    state_ = PassState::Copy;
    const std::int64_t start = BytesConsumed();
    TakeEarlierReferences();
    WriteKeptEarlierReferences();
    // A level record that ends the input, once they are out, has no heading.
    if (!Peek())
        return;
    const int index = FindLevel(run_.Levels, headingLevel_);
    // Nothing has read a code since the level record's, so its name as
    // written is still at hand, and is copied only for a name's first record.
    LevelSeen* const first = run_.LevelsSeen.Count(headingLevel_, index);
    if (first != nullptr)
        first->name = code_.WrittenLevelName(switches_.idRecords);
    std::optional<HeadingValue> value;
    if (index != -1) {
        run_.LevelsSeen.LevelSet(index);
        value.emplace(StartLevelValue(run_.Levels, index), run_.LongestEarlierReference);
    } else if (first != nullptr) {
        value.emplace(first->firstHeading, kLongestShownHeading);
    }
    // A heading on the input's last line still sets its level.
    bool lineEnded = CopyHeadingLine(value);
    while (lineEnded && HeadingContinues()) {
        if (value)
            value->StartLine();
        lineEnded = CopyHeadingLine(value);
    }
    if (index == -1) {
        if (first != nullptr)
            first->headingCut = value->Cut();
        return;
    }
    if (first != nullptr)
        ShowFirstHeading(*first, run_.Levels.values[static_cast<std::size_t>(index)]);
    ++run_.Levels.version;
    if (value->Cut())
        Note(run_.HeadingsCut, start);
}

// Copies the rest of a heading line, giving it to the level's value, and
// its line break; false when the input ends first.
bool ConversionPass::CopyHeadingLine(std::optional<HeadingValue>& value)
{
    bool ended = false;
    while (!ended) {
        std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
        if (ahead.empty()) {
            if (!Peek())
                break;
            ahead = run_.Input->ReadAhead();
        }
        const std::uint8_t* const end = ahead.data() + ahead.size();
        const std::uint8_t* const stop = FindEither(ahead.data(), end, '\r', '\n');
        const std::string_view text(reinterpret_cast<const char*>(ahead.data()),
                                    static_cast<std::size_t>(stop - ahead.data()));
        Write(text);
        if (value)
            value->Take(text);
        run_.Input->Consume(text.size());
        // The line break is the next byte, in the same block.
        ended = stop != end && Next();
    }
    if (ended)
        Write(ch_);
    if (value)
        value->EndLine();
    return ended;
}

// After a heading line and its line break: true when the next line belongs
// to the heading too. A CR LF counts as one line break.
bool ConversionPass::HeadingContinues()
{
    if (ch_ == '\r' && Next()) {
        if (ch_ == '\n')
            Write(ch_);
        else
            Unread();
    }
    const std::optional<std::uint8_t> next = Peek();
    return next && !IsLineBreak(*next) && *next != '<';
}

}  // namespace pellimar
