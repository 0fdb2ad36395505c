// The heading of a level record is its first line plus every following line
// that starts with neither a line break nor "<"; a CR LF is one line break.
// Its bytes go to the output as they stand, copied by the pass; its value
// keeps no more than the longest reference can show. One walk over the
// lines both finds where the heading ends and gives its lines to the value,
// so that the value is only read when it is needed.
#include "engine/heading_capture.h"

#include "streams/byte_scan.h"

namespace pellimar {
namespace {

bool IsLineBreak(std::uint8_t ch)
{
    return ch == '\r' || ch == '\n';
}

// A line that begins with neither a line break nor "<" goes on the heading.
bool GoesOn(std::uint8_t first)
{
    return !IsLineBreak(first) && first != '<';
}

const std::uint8_t* FindLineBreak(const std::uint8_t* from, const std::uint8_t* to)
{
    return FindEither(from, to, '\r', '\n');
}

PELLIMAR_WIDE_SCANS const std::uint8_t* FindLineBreakWide(const std::uint8_t* from, const std::uint8_t* to)
{
    return FindEitherWide(from, to, '\r', '\n');
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

// Finding and giving walk alike; a walk that gives only passes lines that
// Find has seen go on.
template <const std::uint8_t* (*findLineBreak)(const std::uint8_t*, const std::uint8_t*), bool give>
[[gnu::always_inline]] inline const std::uint8_t* HeadingCapture::Walk(At& at, const std::uint8_t* from,
                                                                       const std::uint8_t* end, bool inputEnds)
{
    const std::uint8_t* const goesPast = inputEnds ? end : nullptr;
    for (;;) {
        switch (at) {
        case At::Line: {
            const std::uint8_t* const stop = findLineBreak(from, end);
            if constexpr (give)
                value_->Take({reinterpret_cast<const char*>(from), static_cast<std::size_t>(stop - from)});
            if (stop == end)
                return goesPast;
            if constexpr (give)
                value_->EndLine();
            at = *stop == '\r' ? At::AfterCr : At::LineStart;
            from = stop + 1;
            break;
        }
        case At::AfterCr:
            if (from == end)
                return goesPast;
            if (*from == '\n')
                ++from;
            at = At::LineStart;
            break;
        case At::LineStart:
            if (from == end)
                return goesPast;
            if (!GoesOn(*from))
                return from;
            if constexpr (give)
                value_->StartLine();
            at = At::Line;
            break;
        }
    }
}

const std::uint8_t* HeadingCapture::Find(const std::uint8_t* from, const std::uint8_t* end, bool inputEnds)
{
    return Walk<FindLineBreak, false>(found_, from, end, inputEnds);
}

PELLIMAR_WIDE_SCANS const std::uint8_t* HeadingCapture::FindWide(const std::uint8_t* from, const std::uint8_t* end,
                                                                 bool inputEnds)
{
    return Walk<FindLineBreakWide, false>(found_, from, end, inputEnds);
}

void HeadingCapture::Give(const std::uint8_t* from, const std::uint8_t* to)
{
    Walk<FindLineBreak, true>(given_, from, to, false);
}

const std::uint8_t* HeadingCapture::FindGiving(const std::uint8_t* from, const std::uint8_t* end)
{
    const std::uint8_t* const found = Walk<FindLineBreak, true>(found_, from, end, false);
    given_ = found_;
    return found;
}

PELLIMAR_WIDE_SCANS const std::uint8_t* HeadingCapture::FindGivingWide(const std::uint8_t* from,
                                                                       const std::uint8_t* end)
{
    const std::uint8_t* const found = Walk<FindLineBreakWide, true>(found_, from, end, false);
    given_ = found_;
    return found;
}

void HeadingCapture::Begin(std::string_view level, std::int64_t start)
{
    RunContext& run = work_.run;
    found_ = At::Line;
    given_ = At::Line;
    start_ = start;
    value_.reset();
    text_ = nullptr;
    onlyWhetherCut_ = false;
    index_ = FindLevel(run.Levels, level);
    // Nothing has read a code since the level record's, so its name as
    // written is still at hand, and is copied only for a name's first record.
    first_ = run.LevelsSeen.Count(level, index_);
    if (first_ != nullptr)
        first_->name = work_.code.WrittenLevelName(work_.switches.On(RunSwitch::IdRecords));
    // Nothing shows the value of a level deeper than the reference does: it
    // stays unset, and its heading is read aside only to tell whether it was
    // cut, or to be shown beside its name.
    const int deepest = run.RefPattern.DeepestLevel();
    if (index_ != -1) {
        run.LevelsSeen.LevelSet(index_);
        const bool kept = index_ <= deepest;
        text_ = kept ? &StartLevelValue(run.Levels, index_, deepest) : &unshown_;
        onlyWhetherCut_ = !kept && first_ == nullptr;
        value_.emplace(*text_, run.LongestEarlierReference, onlyWhetherCut_);
    } else if (first_ != nullptr) {
        value_.emplace(first_->firstHeading, kLongestShownHeading);
    }
}

void HeadingCapture::Finish()
{
    // A heading that the input's end cuts short ends its last line there.
    if (value_ && given_ == At::Line)
        value_->EndLine();
    if (index_ == -1) {
        if (first_ != nullptr)
            first_->headingCut = value_->Cut();
        return;
    }
    if (first_ != nullptr)
        ShowFirstHeading(*first_, *text_);
    if (value_->Cut())
        work_.Note(work_.run.Found[Finding::HeadingsCut], start_);
}

}  // namespace pellimar
