// The buffered stream's block handling.
//
// A stream normally goes one way, but switching is clean: a write after reads
// first moves the source to the logical position and starts an empty block; a
// read after writes flushes them and starts reading from the source at the
// logical position.
#include "streams/buffer_stream.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "streams/exceptions.h"
#include "streams/stream_table.h"
#include "streams/string_resource.h"

namespace pellimar {

TS_BufferStream::TS_BufferStream(TStream* source, std::size_t blockSize)
    : Source(source),
      Block(new std::uint8_t[std::max<std::size_t>(blockSize, 1)]),
      BufStart(Block.get()),
      BufLimit(Block.get() + std::max<std::size_t>(blockSize, 1)),
      BufCapacity(static_cast<std::int32_t>(std::max<std::size_t>(blockSize, 1))),
      FillStart(source != nullptr ? source->Position() : 0)
{
}

TS_BufferStream::~TS_BufferStream()
{
    if (Direction == bdWriting)
        Flush();
}

// The bytes looked at past the block were read from the source but not yet
// by the caller.
std::int64_t TS_BufferStream::BufferDelta() const
{
    const auto lookedAhead = static_cast<std::int64_t>(LookedAhead.Left());
    switch (Direction) {
    case bdReading: return BufPos - BufLimit - lookedAhead;
    case bdWriting: return BufPos - BufStart;
    default: return -lookedAhead;
    }
}

// The source's size decides while the position has not passed it. A source
// read beyond its size holds more than it says (files under /proc report 0)
// or has shrunk under us: only a fill can tell whether bytes remain. The size
// is asked once, and again only when reading has reached it: a file that
// grows meanwhile is read on, as before.
bool TS_BufferStream::SourceAtEnd()
{
    if (Source == nullptr)
        return true;
    const std::int64_t position = Source->Position();
    if (position < KnownSize)
        return false;
    const std::int64_t size = Source->Size();
    KnownSize = size;
    if (position <= size)
        return position == size;
    return !Refill();
}

bool TS_BufferStream::Refill()
{
    if (LookedAhead.Left() != 0)
        return RefillFromLookedAhead();
    FillStart = Source != nullptr ? Source->Position() : FillStart;
    const std::int64_t n = Source != nullptr ? Source->Read(BufStart, BufCapacity) : 0;
    BufPos = BufStart;
    BufLimit = BufStart + n;
    Direction = n > 0 ? bdReading : bdIdle;
    DataEnded = n == 0;
    DoAfterFill();
    return n > 0;
}

bool TS_BufferStream::RefillFromLookedAhead()
{
    const std::size_t left = LookedAhead.Left();
    FillStart = Source->Position() - static_cast<std::int64_t>(left);
    const std::size_t n = LookedAhead.Take(BufStart, static_cast<std::size_t>(BufCapacity));
    BufPos = BufStart;
    BufLimit = BufStart + n;
    Direction = bdReading;
    DataEnded = false;
    DoAfterFill();
    return true;
}

std::size_t TS_BufferStream::CopyAhead(std::size_t offset, std::span<std::uint8_t> into)
{
    if (Direction == bdWriting)
        return 0;
    const std::size_t inBlock = Direction == bdReading ? static_cast<std::size_t>(BufLimit - BufPos) : 0;
    std::size_t copied = 0;
    if (offset < inBlock) {
        copied = std::min(inBlock - offset, into.size());
        std::memcpy(into.data(), BufPos + offset, copied);
    }
    // Past the block: the looked-ahead bytes, read further while they fall
    // short (a pipe gives what it has).
    const std::size_t from = std::max(offset, inBlock) - inBlock;
    const std::size_t wanted = from + (into.size() - copied);
    while (Source != nullptr && LookedAhead.Left() < wanted &&
           LookedAhead.ReadFurther(*Source, wanted - LookedAhead.Left())) {
    }
    return copied + LookedAhead.CopyFrom(from, into.subspan(copied));
}

bool TS_BufferStream::Flush()
{
    const std::int64_t n = BufPos != nullptr ? BufPos - BufStart : 0;
    const std::int64_t w = Source != nullptr ? Source->Write(BufStart, n) : 0;
    BufPos = BufStart;
    Direction = bdIdle;
    DoAfterFlush();
    return w == n;
}

void TS_BufferStream::DoAfterFill()
{
    if (AfterFill)
        AfterFill(*this);
}

void TS_BufferStream::DoAfterFlush()
{
    if (AfterFlush)
        AfterFlush(*this);
}

std::int64_t TS_BufferStream::Read(void* buffer, std::int64_t count)
{
    if (Direction != bdReading) {
        if (Direction == bdWriting)
            Flush();
        // Whatever the block held was not read-ahead: the next loop pass fills it.
        BufPos = BufLimit = BufStart;
    }
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::int64_t copied = 0;
    while (count > 0) {
        if (BufPos == BufLimit && !Refill())
            break;
        const std::int64_t n = std::min<std::int64_t>(BufLimit - BufPos, count);
        std::memcpy(out, BufPos, static_cast<std::size_t>(n));
        BufPos += n;
        out += n;
        copied += n;
        count -= n;
    }
    return copied;
}

std::int64_t TS_BufferStream::Write(const void* buffer, std::int64_t count)
{
    if (Direction != bdWriting) {
        if ((Direction == bdReading || LookedAhead.Left() != 0) && Source != nullptr)
            Source->SetPosition(Source->Position() + BufferDelta());
        LookedAhead.Forget();
        BufPos = BufStart;
        BufLimit = BufStart + BufCapacity;
        Direction = bdIdle;
        DataEnded = false;
        KnownSize = -1;  // what is written may make the source grow
    }
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    std::int64_t taken = 0;
    while (count > 0) {
        const std::int64_t n = std::min<std::int64_t>(BufLimit - BufPos, count);
        std::memcpy(BufPos, in, static_cast<std::size_t>(n));
        BufPos += n;
        in += n;
        taken += n;
        count -= n;
        if (BufPos == BufLimit && !Flush()) {
            // The bytes of this call in the dropped block were not taken after
            // all; saying so makes WriteBuffer report the failure.
            taken -= n;
            break;
        }
    }
    if (BufPos != BufStart)
        Direction = bdWriting;
    return taken;
}

std::int64_t TS_BufferStream::Seek(std::int64_t offset, std::uint16_t origin)
{
    if (origin > kFromEnd) {
        throw Exception(FillPlaceholder(LoadStrRes(kStreamTableName, kMsgInvalidSeekOrigin), origin));
    }
    if (Source == nullptr)
        return 0;
    const std::int64_t current = Source->Position() + BufferDelta();
    std::int64_t target = offset;
    if (origin == kFromCurrent)
        target = current + offset;
    else if (origin == kFromEnd)
        target = Source->Size() - offset;
    if (target == current)
        return target;
    if (Direction == bdWriting && !Flush())
        throw EStreamError(LoadStrRes(kStreamTableName, kMsgSeekError));
    Source->SetPosition(target);
    LookedAhead.Forget();
    FillStart = target;
    DataEnded = false;
    BufPos = nullptr;
    Direction = bdIdle;
    return target;
}

void TS_BufferStream::PutBack(std::uint8_t ch)
{
    if (BufPos == nullptr || BufPos <= BufStart)
        throw EStreamError(LoadStrRes(kStreamTableName, kMsgPutbackOverflow));
    *--BufPos = ch;
}

}  // namespace pellimar
