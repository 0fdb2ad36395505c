// A stream that moves every byte between its caller and another stream (its
// source) through one memory block, adding put-back, a look further ahead
// than the block, an end test and optional notifications after each block
// fill and flush.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "streams/looked_ahead_bytes.h"
#include "streams/stream.h"

namespace pellimar {

// The block of a stream that is not given another size. A run's streams take
// larger blocks, enough to pass each system call a good share of the file.
inline constexpr std::size_t kDefaultBlockSize = 8192;

enum TBufferDirection : std::uint8_t { bdIdle = 0, bdReading = 1, bdWriting = 2 };

class TS_BufferStream : public TStream {
public:
    using Notification = std::function<void(TS_BufferStream&)>;

    // The source is not owned and must outlive this stream. A block size of
    // 0 is taken as 1.
    explicit TS_BufferStream(TStream* source, std::size_t blockSize = kDefaultBlockSize);
    ~TS_BufferStream() override;

    TS_BufferStream(const TS_BufferStream&) = delete;
    TS_BufferStream& operator=(const TS_BufferStream&) = delete;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // Origin 2 counts back from the end: the target is size minus offset.
    std::int64_t Seek(std::int64_t offset, std::uint16_t origin) override;
    ErrorContext FailureContext() const override
    {
        return Source != nullptr ? Source->FailureContext() : ErrorContext{};
    }

    // Reads one block: the bytes looked at past the last block first, then
    // from the source; true when at least one byte came.
    bool Refill();
    // Writes the pending bytes to the source; true when it took them all.
    // Bytes it did not take are dropped, and a Write whose block could not be
    // written reports fewer bytes taken than asked.
    bool Flush();
    // Makes ch the next byte read. Needs a byte of the current fill before the
    // read position, else raises "Putback overflow".
    void PutBack(std::uint8_t ch);
    void DoAfterFill();
    void DoAfterFlush();

    // True at the end of the data. Asks the source only when the block is
    // used up; false on a stream that has not yet tried to read. Once a fill
    // has found no more bytes, the data has ended whatever the source's size
    // says, so a reader that loops until the end always gets there.
    bool Eof()
    {
        if (BufPos != BufLimit || LookedAhead.Left() != 0)
            return false;
        return DataEnded || SourceAtEnd();
    }

    void SetAfterFill(Notification callback) { AfterFill = std::move(callback); }
    void SetAfterFlush(Notification callback) { AfterFlush = std::move(callback); }

    // Byte-at-a-time access for hot loops: a bounds test and a copy within the
    // block, the virtual transfers only when the block is used up or full.
    bool TryReadByte(std::uint8_t& ch)
    {
        if (Direction == bdReading && BufPos != BufLimit) {
            ch = *BufPos++;
            return true;
        }
        return Read(&ch, 1) == 1;
    }
    // As WriteBuffer; bytes that fit in the block without filling it are
    // copied there directly.
    void WriteBytes(const void* bytes, std::size_t count)
    {
        if (Direction == bdWriting && static_cast<std::size_t>(BufLimit - BufPos) > count) {
            std::memcpy(BufPos, bytes, count);
            BufPos += count;
            return;
        }
        WriteBuffer(bytes, static_cast<std::int64_t>(count));
    }
    void WriteByte(std::uint8_t ch)
    {
        // The byte that fills the block goes the slow way, which flushes it.
        if (Direction == bdWriting && BufLimit - BufPos > 1) {
            *BufPos++ = ch;
            return;
        }
        WriteBuffer(&ch, 1);
    }

    // The bytes of the current fill not yet handed out (empty unless
    // reading), and a way to take some of them at once.
    std::span<const std::uint8_t> ReadAhead() const
    {
        if (Direction != bdReading)
            return {};
        return {BufPos, static_cast<std::size_t>(BufLimit - BufPos)};
    }
    void Consume(std::size_t count) { BufPos += count; }

    // Copies the bytes that stand `offset` bytes past the read position into
    // `into`, without taking them, whether or not the block holds them: what
    // lies past the block is read from the source now and kept for the next
    // fills, so that a reader can decide on a construct longer than the block
    // before taking any of it. Returns how many were copied, fewer than asked
    // only where the data ends. Only for a stream that is not being written.
    std::size_t CopyAhead(std::size_t offset, std::span<std::uint8_t> into);

    // How far a stream that is being read has been read: bytes put back
    // count as not read yet. Asks nothing of the source.
    std::int64_t ReadPosition() const { return FillStart + (BufPos != nullptr ? BufPos - BufStart : 0); }

protected:
    // Position + pending - read-ahead: where the caller stands in the data.
    std::int64_t BufferDelta() const;
    bool SourceAtEnd();
    bool RefillFromLookedAhead();
    TStream* SourceStream() const { return Source; }
    void DetachSource() { Source = nullptr; }
    TBufferDirection CurrentDirection() const { return Direction; }

private:
    TStream* Source;
    std::unique_ptr<std::uint8_t[]> Block;
    std::uint8_t* BufStart;
    std::uint8_t* BufPos = nullptr;
    std::uint8_t* BufLimit;
    std::int32_t BufCapacity;
    std::int64_t FillStart = 0;  // where in the data the block's first byte stands
    // The source's size when last asked, -1 before: the end test asks again
    // only once reading has reached it.
    std::int64_t KnownSize = -1;
    TBufferDirection Direction = bdIdle;
    bool DataEnded = false;  // the last fill found no bytes
    // Bytes read from the source past the block by CopyAhead, of which the
    // fills since have taken the first LookedAheadTaken.
    LookedAheadBytes LookedAhead;
    Notification AfterFill;
    Notification AfterFlush;
};

}  // namespace pellimar
