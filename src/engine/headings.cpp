// The heading state: copies the lines that follow a level-record code and
// makes them the value of that level. A heading is its first line plus every
// following line that starts with neither a line break nor "<".
#include "engine/conversion_pass.h"
#include "engine/levels.h"

namespace pellimar {
namespace {

bool IsLineBreak(std::uint8_t ch)
{
    return ch == '\r' || ch == '\n';
}

}  // namespace

void ConversionPass::CaptureHeading()
{
    c.State = PassState::Copy;
    std::string line = c.Input->ReadUntil("\r\n");
    c.BytesConsumed += static_cast<std::int64_t>(line.size());
    Write(line);
    const bool ended = !Next();
    if (!ended)
        Write(c.Ch);
    // A heading on the input's last line still sets its level.
    const int index = SetLevelFromHeading(*c.Levels, c.HeadingLevel, line);
    ++c.LevelsVersion;
    if (ended)
        return;

    for (;;) {
        std::uint8_t next;
        if (c.Ch == '\r') {
            if (!c.Input->TryReadByte(next))
                return;
            if (next == '\n') {
                ++c.BytesConsumed;
                Write(next);
            } else {
                c.Input->PutBack(next);
            }
        }
        if (!c.Input->TryReadByte(next))
            return;
        c.Input->PutBack(next);
        if (IsLineBreak(next) || next == '<')
            return;
        line = c.Input->ReadUntil("\r\n");
        c.BytesConsumed += static_cast<std::int64_t>(line.size());
        Write(line);
        const bool lineEnded = Next();
        if (lineEnded)
            Write(c.Ch);
        AppendHeadingLine(*c.Levels, line, index);
        ++c.LevelsVersion;
        if (!lineEnded)
            return;
    }
}

}  // namespace pellimar
