// The stream model's operations.
#include "stream_model.h"

#include <algorithm>

#include "streams/exceptions.h"

namespace pellimar::fuzz {
namespace {

bool IsLineBreak(std::uint8_t ch)
{
    return ch == '\r' || ch == '\n';
}

}  // namespace

StreamModel::StreamModel(std::string source, std::int64_t blockSize, std::int64_t writable)
    : source_(std::move(source)), writable_(writable), block_(static_cast<std::size_t>(blockSize), '\0'),
      limit_(blockSize)
{
}

std::int64_t StreamModel::Delta() const
{
    switch (direction_) {
    case Direction::Reading: return *pos_ - limit_;
    case Direction::Writing: return *pos_;
    default: return 0;
    }
}

std::int64_t StreamModel::SourceRead()
{
    const auto size = static_cast<std::int64_t>(source_.size());
    const std::int64_t n = std::clamp<std::int64_t>(size - sourcePos_, 0, static_cast<std::int64_t>(block_.size()));
    source_.copy(block_.data(), static_cast<std::size_t>(n), static_cast<std::size_t>(std::min(sourcePos_, size)));
    sourcePos_ += n;
    return n;
}

// Like a file: writing past the end leaves zero bytes in the gap.
std::int64_t StreamModel::SourceWrite(std::string_view bytes)
{
    const std::int64_t n = std::min(static_cast<std::int64_t>(bytes.size()), writable_);
    if (n <= 0)
        return 0;
    writable_ -= n;
    if (static_cast<std::int64_t>(source_.size()) < sourcePos_ + n)
        source_.resize(static_cast<std::size_t>(sourcePos_ + n), '\0');
    source_.replace(static_cast<std::size_t>(sourcePos_), static_cast<std::size_t>(n), bytes.substr(0, n));
    sourcePos_ += n;
    return n;
}

bool StreamModel::Refill()
{
    const std::int64_t n = SourceRead();
    pos_ = 0;
    limit_ = n;
    direction_ = n > 0 ? Direction::Reading : Direction::Idle;
    dataEnded_ = n == 0;
    return n > 0;
}

bool StreamModel::Flush()
{
    const std::int64_t n = pos_.value_or(0);
    const std::int64_t written = SourceWrite(std::string_view(block_).substr(0, static_cast<std::size_t>(n)));
    pos_ = 0;
    direction_ = Direction::Idle;
    return written == n;
}

std::string StreamModel::Read(std::int64_t count)
{
    if (direction_ != Direction::Reading) {
        if (direction_ == Direction::Writing)
            Flush();
        pos_ = 0;
        limit_ = 0;
    }
    std::string copied;
    while (static_cast<std::int64_t>(copied.size()) < count) {
        if (*pos_ == limit_ && !Refill())
            break;
        copied += block_[static_cast<std::size_t>((*pos_)++)];
    }
    return copied;
}

std::int64_t StreamModel::Write(std::string_view bytes)
{
    if (direction_ != Direction::Writing) {
        if (direction_ == Direction::Reading)
            sourcePos_ += Delta();
        pos_ = 0;
        limit_ = static_cast<std::int64_t>(block_.size());
        direction_ = Direction::Idle;
        dataEnded_ = false;
    }
    std::int64_t taken = 0;
    while (!bytes.empty()) {
        const std::int64_t n = std::min(limit_ - *pos_, static_cast<std::int64_t>(bytes.size()));
        block_.replace(static_cast<std::size_t>(*pos_), static_cast<std::size_t>(n), bytes.substr(0, n));
        *pos_ += n;
        taken += n;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        if (*pos_ == limit_ && !Flush()) {
            taken -= n;
            break;
        }
    }
    if (*pos_ != 0)
        direction_ = Direction::Writing;
    return taken;
}

std::int64_t StreamModel::Seek(std::int64_t offset, std::uint16_t origin)
{
    if (origin > 2)
        throw Exception("Invalid seek origin (" + std::to_string(origin) + ")");
    const std::int64_t current = Position();
    const std::int64_t target = origin == 0   ? offset
                                : origin == 1 ? current + offset
                                              : static_cast<std::int64_t>(source_.size()) - offset;
    if (target == current)
        return target;
    if (direction_ == Direction::Writing && !Flush())
        throw EStreamError("Seek error");
    sourcePos_ = target;
    dataEnded_ = false;
    pos_.reset();
    direction_ = Direction::Idle;
    return target;
}

void StreamModel::PutBack(std::uint8_t ch)
{
    if (!pos_ || *pos_ <= 0)
        throw EStreamError("Putback overflow");
    block_[static_cast<std::size_t>(--*pos_)] = static_cast<char>(ch);
}

// At the end of the block, the data has ended when the last fill found
// nothing, or when the source stands at its size; past its size, only a fill
// can tell.
bool StreamModel::Eof()
{
    if (!pos_ || *pos_ != limit_)
        return false;
    const auto size = static_cast<std::int64_t>(source_.size());
    if (dataEnded_ || sourcePos_ == size)
        return true;
    return sourcePos_ > size && !Refill();
}

std::int64_t StreamModel::Position() const
{
    return sourcePos_ + Delta();
}

std::int64_t StreamModel::Size()
{
    const std::int64_t kept = Seek(0, 1);
    const std::int64_t size = Seek(0, 2);
    Seek(kept, 0);
    return size;
}

// A count of 0 does nothing at all, not even the switch to reading.
std::string StreamModel::ReadBuffer(std::int64_t count)
{
    if (count == 0)
        return {};
    std::string bytes = Read(count);
    if (static_cast<std::int64_t>(bytes.size()) != count)
        throw EReadError("Stream read error");
    return bytes;
}

void StreamModel::WriteBuffer(std::string_view bytes)
{
    if (!bytes.empty() && Write(bytes) != static_cast<std::int64_t>(bytes.size()))
        throw EWriteError("Stream write error");
}

std::optional<std::uint8_t> StreamModel::ReadOne()
{
    const std::string byte = Read(1);
    if (byte.empty())
        return std::nullopt;
    return static_cast<std::uint8_t>(byte[0]);
}

std::uint8_t StreamModel::ReadChar()
{
    return static_cast<std::uint8_t>(ReadBuffer(1)[0]);
}

std::string StreamModel::ReadLine()
{
    std::string line;
    std::optional<std::uint8_t> ch;
    while ((ch = ReadOne()) && !IsLineBreak(*ch))
        line += static_cast<char>(*ch);
    if (ch == '\r') {
        const std::optional<std::uint8_t> next = ReadOne();
        if (next && *next != '\n')
            PutBack(*next);
    }
    return line;
}

std::string StreamModel::ReadUntil(std::string_view delimiters)
{
    std::string text;
    while (const std::optional<std::uint8_t> ch = ReadOne()) {
        const bool stop = delimiters.empty() ? *ch < 32
                                             : delimiters.find(static_cast<char>(*ch)) != std::string_view::npos;
        if (stop) {
            PutBack(*ch);
            break;
        }
        text += static_cast<char>(*ch);
    }
    return text;
}

void StreamModel::WriteStr(std::string_view text)
{
    WriteBuffer(text);
}

void StreamModel::WriteInt(std::int32_t value)
{
    WriteStr(std::to_string(value));
}

void StreamModel::Close()
{
    const bool flushed = direction_ != Direction::Writing || Flush();
    if (!flushed)
        throw EWriteError("Stream write error");
}

void StreamModel::Destroy()
{
    if (direction_ == Direction::Writing)
        Flush();
}

}  // namespace pellimar::fuzz
