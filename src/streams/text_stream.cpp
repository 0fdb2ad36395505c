// Text operations over the buffered stream. The line and delimiter scans work
// on the block directly; the result is the same as reading byte by byte and
// putting the stopping byte back.
#include "streams/text_stream.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "streams/byte_scan.h"
#include "streams/exceptions.h"

namespace pellimar {
namespace {

// The scan for the first of one or two stop bytes.
auto FindByteFrom(std::uint8_t a, std::uint8_t b)
{
    return [a, b](const std::uint8_t* from, const std::uint8_t* to) { return FindEither(from, to, a, b); };
}

}  // namespace

TS_TextStream::TS_TextStream(const std::string& fileName, std::uint16_t mode, std::size_t blockSize)
    : TS_TextStream(std::make_unique<TFileStream>(fileName, mode), blockSize)
{
}

// The file stays owned by `file` until the buffered stream is built: when
// building it fails (no memory for the block), the file is closed and its
// hold released instead of staying locked for the rest of the process.
TS_TextStream::TS_TextStream(std::unique_ptr<TFileStream> file, std::size_t blockSize)
    : TS_BufferStream(file.get(), blockSize), File_(std::move(file))
{
}

std::unique_ptr<TS_TextStream> TS_TextStream::OverStandardInput(std::size_t blockSize)
{
    return std::unique_ptr<TS_TextStream>(new TS_TextStream(TFileStream::StandardInput(), blockSize));
}

std::unique_ptr<TS_TextStream> TS_TextStream::OverStandardOutput(std::size_t blockSize)
{
    return std::unique_ptr<TS_TextStream>(new TS_TextStream(TFileStream::StandardOutput(), blockSize));
}

std::unique_ptr<TS_TextStream> TS_TextStream::OverNewFile(NativeFile file, std::string name, std::size_t blockSize)
{
    return std::unique_ptr<TS_TextStream>(
        new TS_TextStream(TFileStream::OverNewFile(std::move(file), std::move(name)), blockSize));
}

std::optional<std::int64_t> TS_TextStream::DataSize() const
{
    return File().DataSize();
}

std::optional<FileIdentity> TS_TextStream::RegularFile() const
{
    return File().RegularFile();
}

bool TS_TextStream::ChangedSinceOpened() const
{
    return File_ && File().ChangedSinceOpened();
}

void TS_TextStream::ReportAs(std::string name)
{
    File().ReportAs(std::move(name));
}

TS_TextStream::~TS_TextStream()
{
    if (CurrentDirection() == bdWriting)
        Flush();
    ReleaseFile();
}

void TS_TextStream::Close()
{
    if (SourceStream() == nullptr)
        return;
    const bool flushed = CurrentDirection() != bdWriting || Flush();
    const bool closed = File().Close();
    const ErrorContext context = File().FailureContext();
    ReleaseFile();
    if (!flushed || !closed)
        throw EWriteError(std::string(kStreamWriteError), context);
}

// The buffered stream lets go of the file before the file goes.
void TS_TextStream::ReleaseFile()
{
    DetachSource();
    File_.reset();
}

void TS_TextStream::ThrowReadError()
{
    throw EReadError(std::string(kStreamReadError));
}

template <typename FindStop>
bool TS_TextStream::GatherUntil(std::string& text, FindStop findStop, std::size_t keep)
{
    for (;;) {
        std::span<const std::uint8_t> ahead = ReadAhead();
        if (ahead.empty()) {
            // Let Read fill the next block; at the end of the data it gives 0.
            std::uint8_t ch;
            if (Read(&ch, 1) != 1)
                return false;
            PutBack(ch);
            continue;
        }
        const std::uint8_t* const end = ahead.data() + ahead.size();
        const std::uint8_t* const stop = findStop(ahead.data(), end);
        const auto length = static_cast<std::size_t>(stop - ahead.data());
        const std::size_t room = text.size() < keep ? keep - text.size() : 0;
        text.append(reinterpret_cast<const char*>(ahead.data()), std::min(length, room));
        Consume(length);
        if (stop != end)
            return true;
    }
}

std::string TS_TextStream::ReadLine(std::size_t keep)
{
    std::string line;
    if (!GatherUntil(line, FindByteFrom('\r', '\n'), keep))
        return line;
    const std::uint8_t lineBreak = ReadChar();
    std::uint8_t next;
    if (lineBreak == '\r' && TryReadByte(next) && next != '\n')
        PutBack(next);
    return line;
}

std::string TS_TextStream::ReadUntil(std::string_view delimiters)
{
    std::string text;
    if (delimiters.size() == 1 || delimiters.size() == 2) {
        GatherUntil(text, FindByteFrom(static_cast<std::uint8_t>(delimiters.front()),
                                       static_cast<std::uint8_t>(delimiters.back())));
    } else {
        std::array<bool, 256> stops{};
        if (delimiters.empty())
            std::fill(stops.begin(), stops.begin() + 32, true);
        for (char d : delimiters)
            stops[static_cast<std::uint8_t>(d)] = true;
        GatherUntil(text, [&stops](const std::uint8_t* from, const std::uint8_t* to) {
            return std::find_if(from, to, [&stops](std::uint8_t c) { return stops[c]; });
        });
    }
    return text;
}

TS_TextStream& TS_TextStream::WriteStr(std::string_view text)
{
    if (!text.empty())
        WriteBytes(text.data(), text.size());
    return *this;
}

TS_TextStream& TS_TextStream::WriteInt(std::int32_t value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return WriteStr(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

}  // namespace pellimar
