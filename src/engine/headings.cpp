// The heading state: copies the lines that follow a level-record code (and
// the earlier references right after it) and makes them the value of that
// level. A heading is its first line plus every following line that starts
// with neither a line break nor "<".
#include "engine/conversion_pass.h"
#include "engine/levels.h"
#include "streams/byte_scan.h"

namespace pellimar {
namespace {

bool IsLineBreak(std::uint8_t ch)
{
    return ch == '\r' || ch == '\n';
}

}  // namespace

// The rest of the line, up to its CR or LF, which stays unread: a view of
// the block when the line ends within it, else gathered into `spill`.
std::string_view ConversionPass::LineText(std::string& spill)
{
    const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
    const std::uint8_t* const end = ahead.data() + ahead.size();
    const std::uint8_t* const stop = FindEither(ahead.data(), end, '\r', '\n');
    if (stop == end) {
        spill = ReadText("\r\n");
        return spill;
    }
    const auto length = static_cast<std::size_t>(stop - ahead.data());
    run_.Input->Consume(length);
    return {reinterpret_cast<const char*>(ahead.data()), length};
}

// A line's view stays good while its line break is read: that byte is in
// the same block.
void ConversionPass::CaptureHeading()
{
    state_ = PassState::Copy;
    TakeEarlierReferences();
    WriteKeptEarlierReferences();
    // A level record that ends the input, once they are out, has no heading.
    if (!Peek())
        return;
    std::string spill;
    std::string_view line = LineText(spill);
    Write(line);
    bool lineEnded = Next();
    if (lineEnded)
        Write(ch_);
    // A heading on the input's last line still sets its level.
    const int index = SetLevelFromHeading(run_.Levels, headingLevel_, line);

    while (lineEnded && HeadingContinues()) {
        line = LineText(spill);
        Write(line);
        lineEnded = Next();
        if (lineEnded)
            Write(ch_);
        AppendHeadingLine(run_.Levels, line, index);
    }
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
