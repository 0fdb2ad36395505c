// A plain model of the buffered and text streams: the block, the read and
// write positions in it and the source's bytes, each operation as the
// stream's rules describe it, byte by byte, without any of the stream's
// shortcuts. Errors are raised as the real stream raises them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellimar::fuzz {

class StreamModel {
public:
    // `writable` bytes are taken by the source before it refuses writes.
    StreamModel(std::string source, std::int64_t blockSize, std::int64_t writable);

    const std::string& Source() const { return source_; }
    bool Writing() const { return direction_ == Direction::Writing; }

    std::string Read(std::int64_t count);
    std::int64_t Write(std::string_view bytes);
    std::int64_t Seek(std::int64_t offset, std::uint16_t origin);
    bool Refill();
    bool Flush();
    void PutBack(std::uint8_t ch);
    bool Eof();
    std::int64_t Position() const;
    std::int64_t Size();
    std::string ReadBuffer(std::int64_t count);
    void WriteBuffer(std::string_view bytes);

    std::uint8_t ReadChar();
    std::string ReadLine();
    std::string ReadUntil(std::string_view delimiters);
    void WriteStr(std::string_view text);
    void WriteInt(std::int32_t value);
    // The text stream's close: pending bytes written, then the file closed.
    void Close();
    // What destroying the buffered stream does: write what is pending.
    void Destroy();

private:
    enum class Direction { Idle, Reading, Writing };

    std::int64_t Delta() const;
    std::int64_t SourceRead();
    std::int64_t SourceWrite(std::string_view bytes);
    std::optional<std::uint8_t> ReadOne();

    std::string source_;
    std::int64_t sourcePos_ = 0;
    std::int64_t writable_;
    std::string block_;
    std::optional<std::int64_t> pos_;  // none: nothing buffered (new, or just moved)
    std::int64_t limit_;
    Direction direction_ = Direction::Idle;
    bool dataEnded_ = false;  // the last fill found nothing
};

}  // namespace pellimar::fuzz
