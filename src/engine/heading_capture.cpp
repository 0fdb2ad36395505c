// The heading state: copies the lines that follow a level-record code (and
// the earlier references right after it) and makes them the value of that
// level. A heading is its first line plus every following line that starts
// with neither a line break nor "<". Its lines are copied as they are read,
// whatever their length, and its value keeps no more than the longest
// reference can show.
#include "engine/heading_capture.h"

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

void HeadingCapture::Capture()
{
    RunContext& run = work_.run;
    work_.state = PassState::Copy;
    const std::int64_t start = work_.BytesConsumed();
    earlier_.Take();
    earlier_.WriteKept();
    // A level record that ends the input, once they are out, has no heading.
    if (!work_.Peek())
        return;
    const int index = FindLevel(run.Levels, work_.headingLevel);
    // Nothing has read a code since the level record's, so its name as
    // written is still at hand, and is copied only for a name's first record.
    LevelSeen* const first = run.LevelsSeen.Count(work_.headingLevel, index);
    if (first != nullptr)
        first->name = work_.code.WrittenLevelName(work_.switches.On(RunSwitch::IdRecords));
    // Nothing shows the value of a level deeper than the reference does: it
    // is made only to tell whether it was cut, or to be shown beside its
    // name, and then left empty.
    const bool kept = index <= run.RefPattern.DeepestLevel();
    std::optional<HeadingValue> value;
    if (index != -1) {
        run.LevelsSeen.LevelSet(index);
        value.emplace(StartLevelValue(run.Levels, index), run.LongestEarlierReference, !kept && first == nullptr);
    } else if (first != nullptr) {
        value.emplace(first->firstHeading, kLongestShownHeading);
    }
    // A heading on the input's last line still sets its level.
    bool lineEnded = CopyLine(value);
    while (lineEnded && Continues()) {
        if (value)
            value->StartLine();
        lineEnded = CopyLine(value);
    }
    if (index == -1) {
        if (first != nullptr)
            first->headingCut = value->Cut();
        return;
    }
    if (first != nullptr)
        ShowFirstHeading(*first, run.Levels.values[static_cast<std::size_t>(index)]);
    if (value->Cut())
        work_.Note(run.HeadingsCut, start);
    if (!kept)
        run.Levels.values[static_cast<std::size_t>(index)].clear();
}

// Copies the rest of a heading line, giving it to the level's value, and
// its line break; false when the input ends first.
bool HeadingCapture::CopyLine(std::optional<HeadingValue>& value)
{
    bool ended = false;
    while (!ended) {
        std::span<const std::uint8_t> ahead = work_.input.ReadAhead();
        if (ahead.empty()) {
            if (!work_.Peek())
                break;
            ahead = work_.input.ReadAhead();
        }
        const std::uint8_t* const end = ahead.data() + ahead.size();
        const std::uint8_t* const stop = FindEither(ahead.data(), end, '\r', '\n');
        const std::string_view text(reinterpret_cast<const char*>(ahead.data()),
                                    static_cast<std::size_t>(stop - ahead.data()));
        ended = stop != end;
        // The line break, in the same block, is copied with the text.
        work_.Write({text.data(), text.size() + (ended ? 1 : 0)});
        if (value)
            value->Take(text);
        work_.input.Consume(text.size() + (ended ? 1 : 0));
        if (ended)
            work_.ch = *stop;
    }
    if (value)
        value->EndLine();
    return ended;
}

// After a heading line and its line break: true when the next line belongs
// to the heading too. A CR LF counts as one line break.
bool HeadingCapture::Continues()
{
    std::span<const std::uint8_t> ahead = work_.input.ReadAhead();
    if (work_.ch == '\r') {
        if (ahead.empty() && work_.Peek())
            ahead = work_.input.ReadAhead();
        if (!ahead.empty() && ahead.front() == '\n') {
            work_.ch = '\n';
            work_.Write(work_.ch);
            work_.input.Consume(1);
            ahead = ahead.subspan(1);
        }
    }
    const std::optional<std::uint8_t> next = ahead.empty() ? work_.Peek() : ahead.front();
    return next && !IsLineBreak(*next) && *next != '<';
}

}  // namespace pellimar
