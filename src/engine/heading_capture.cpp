// The heading state: copies the lines that follow a level-record code (and
// the earlier references right after it) and makes them the value of that
// level. A heading is its first line plus every following line that starts
// with neither a line break nor "<". Its lines are copied as they are read,
// whatever their length, and its value keeps no more than the longest
// reference can show. A heading the block holds whole is read there instead
// (TakeLines), and sets its level as the heading state does.
#include "engine/heading_capture.h"

#include <algorithm>

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

// A line that begins with neither a line break nor "<" goes on the heading.
bool GoesOn(std::uint8_t first)
{
    return !IsLineBreak(first) && first != '<';
}

// Past the line break at `at`, a CR LF taken as one.
const std::uint8_t* AfterLineBreak(const std::uint8_t* at, const std::uint8_t* end)
{
    return at != end && *at == '\r' && end - at >= 2 && at[1] == '\n' ? at + 2 : std::min(at + 1, end);
}

const std::uint8_t* FindLineBreak(const std::uint8_t* from, const std::uint8_t* to)
{
    return FindEither(from, to, '\r', '\n');
}

PELLIMAR_WIDE_SCANS const std::uint8_t* FindLineBreakWide(const std::uint8_t* from, const std::uint8_t* to)
{
    return FindEitherWide(from, to, '\r', '\n');
}

// The lines' breaks found by `findLineBreak`.
template <const std::uint8_t* (*findLineBreak)(const std::uint8_t*, const std::uint8_t*)>
[[gnu::always_inline]] inline std::optional<HeadingSpan> FindHeadingWith(const std::uint8_t* from,
                                                                         const std::uint8_t* end)
{
    const std::uint8_t* firstBreak = nullptr;
    const std::uint8_t* at = from;
    for (;;) {
        const std::uint8_t* const stop = findLineBreak(at, end);
        if (stop == end)
            return std::nullopt;
        if (firstBreak == nullptr)
            firstBreak = stop;
        at = AfterLineBreak(stop, end);
        // A CR at the end may yet be followed by its LF.
        if (at == end)
            return std::nullopt;
        if (!GoesOn(*at))
            return HeadingSpan{firstBreak, at};
    }
}

}  // namespace

std::optional<HeadingSpan> FindHeading(const std::uint8_t* from, const std::uint8_t* end)
{
    return FindHeadingWith<FindLineBreak>(from, end);
}

PELLIMAR_WIDE_SCANS std::optional<HeadingSpan> FindHeadingWide(const std::uint8_t* from, const std::uint8_t* end)
{
    return FindHeadingWith<FindLineBreakWide>(from, end);
}

void HeadingCapture::Capture()
{
    work_.state = PassState::Copy;
    const std::int64_t start = work_.BytesConsumed();
    earlier_.Take();
    earlier_.WriteKept();
    // A level record that ends the input, once they are out, has no heading.
    if (!work_.Peek())
        return;
    Heading heading;
    Begin(heading, work_.headingLevel);
    // A heading on the input's last line still sets its level.
    bool lineEnded = CopyLine(heading.value);
    while (lineEnded && Continues()) {
        if (heading.value)
            heading.value->StartLine();
        lineEnded = CopyLine(heading.value);
    }
    Finish(heading, start);
}

void HeadingCapture::TakeLines(std::string_view level, std::string_view lines, std::size_t firstLength,
                               std::int64_t start)
{
    Heading heading;
    Begin(heading, level);
    // A heading read only to tell whether it was cut is not, when it is no
    // longer than the value may be.
    if (heading.value && !(heading.onlyWhetherCut && lines.size() <= work_.run.LongestEarlierReference)) {
        const auto* const first = reinterpret_cast<const std::uint8_t*>(lines.data());
        const auto* const end = first + lines.size();
        const std::uint8_t* stop = first + firstLength;
        for (const std::uint8_t* at = first; at != end; at = AfterLineBreak(stop, end)) {
            if (at != first) {
                heading.value->StartLine();
                stop = FindEither(at, end, '\r', '\n');
            }
            heading.value->Take({reinterpret_cast<const char*>(at), static_cast<std::size_t>(stop - at)});
            heading.value->EndLine();
        }
    }
    Finish(heading, start);
}

void HeadingCapture::Begin(Heading& heading, std::string_view level)
{
    RunContext& run = work_.run;
    heading.index = FindLevel(run.Levels, level);
    // Nothing has read a code since the level record's, so its name as
    // written is still at hand, and is copied only for a name's first record.
    heading.first = run.LevelsSeen.Count(level, heading.index);
    if (heading.first != nullptr)
        heading.first->name = work_.code.WrittenLevelName(work_.switches.On(RunSwitch::IdRecords));
    // Nothing shows the value of a level deeper than the reference does: it
    // stays unset, and its heading is read aside only to tell whether it was
    // cut, or to be shown beside its name.
    const int deepest = run.RefPattern.DeepestLevel();
    if (heading.index != -1) {
        run.LevelsSeen.LevelSet(heading.index);
        const bool kept = heading.index <= deepest;
        heading.text = kept ? &StartLevelValue(run.Levels, heading.index, deepest) : &unshown_;
        heading.onlyWhetherCut = !kept && heading.first == nullptr;
        heading.value.emplace(*heading.text, run.LongestEarlierReference, heading.onlyWhetherCut);
    } else if (heading.first != nullptr) {
        heading.value.emplace(heading.first->firstHeading, kLongestShownHeading);
    }
}

void HeadingCapture::Finish(Heading& heading, std::int64_t start)
{
    RunContext& run = work_.run;
    if (heading.index == -1) {
        if (heading.first != nullptr)
            heading.first->headingCut = heading.value->Cut();
        return;
    }
    if (heading.first != nullptr)
        ShowFirstHeading(*heading.first, *heading.text);
    if (heading.value->Cut())
        work_.Note(run.Found[Finding::HeadingsCut], start);
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
    return next && GoesOn(*next);
}

}  // namespace pellimar
