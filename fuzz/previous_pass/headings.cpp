// The heading state: copies the lines that follow a level-record code and
// makes them the value of that level. A heading is its first line plus every
// following line that starts with neither a line break nor "<".
#include "previous_pass/conversion_pass.h"
#include "engine/levels.h"

namespace pellimar::previous {
namespace {

bool IsLineBreak(std::uint8_t ch)
{
    return ch == '\r' || ch == '\n';
}

}  // namespace

void ConversionPass::CaptureHeading()
{
    run_.State = PassState::Copy;
    std::string line = ReadText("\r\n");
    Write(line);
    bool lineEnded = Next();
    if (lineEnded)
        Write(run_.Ch);
    // A heading on the input's last line still sets its level.
    const int index = SetLevelFromHeading(run_.Levels, run_.HeadingLevel, line);
    ++run_.LevelsVersion;

    while (lineEnded && HeadingContinues()) {
        line = ReadText("\r\n");
        Write(line);
        lineEnded = Next();
        if (lineEnded)
            Write(run_.Ch);
        AppendHeadingLine(run_.Levels, line, index);
        ++run_.LevelsVersion;
    }
}

// After a heading line and its line break: true when the next line belongs
// to the heading too. A CR LF counts as one line break.
bool ConversionPass::HeadingContinues()
{
    if (run_.Ch == '\r')
        SkipLineFeedAfterReturn();
    const std::optional<std::uint8_t> next = Peek();
    return next && !IsLineBreak(*next) && *next != '<';
}

void ConversionPass::SkipLineFeedAfterReturn()
{
    if (!Next())
        return;
    if (run_.Ch == '\n')
        Write(run_.Ch);
    else
        Unread();
}

}  // namespace pellimar::previous
