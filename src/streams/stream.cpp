// The operations every stream builds on Read, Write and Seek.
#include "streams/stream.h"

#include <string>

#include "streams/exceptions.h"

namespace pellimar {

void TStream::SetSize(std::int64_t) {}

std::int64_t TStream::Position()
{
    return Seek(0, kFromCurrent);
}

void TStream::SetPosition(std::int64_t position)
{
    Seek(position, kFromBeginning);
}

std::int64_t TStream::Size()
{
    const std::int64_t kept = Seek(0, kFromCurrent);
    const std::int64_t size = Seek(0, kFromEnd);
    Seek(kept, kFromBeginning);
    return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError(std::string(kStreamReadError), FailureContext());
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError(std::string(kStreamWriteError), FailureContext());
}

}  // namespace pellimar
