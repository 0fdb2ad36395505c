// The abstract byte stream that every stream of the system derives from:
// three virtual transfers plus the operations built on them.
#pragma once

#include <cstdint>

#include "streams/exceptions.h"

namespace pellimar {

// Seek origins.
inline constexpr std::uint16_t kFromBeginning = 0;
inline constexpr std::uint16_t kFromCurrent = 1;
inline constexpr std::uint16_t kFromEnd = 2;

class TStream {
public:
    virtual ~TStream() = default;

    // Nothing in the program changes a file's size through a stream, so no
    // stream of ours overrides this; it is kept as the hook a stream over
    // something resizable would use.
    virtual void SetSize(std::int64_t newSize);
    // Copies up to count bytes out; returns how many were copied.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Takes up to count bytes; returns how many were taken.
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Moves the position; returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, std::uint16_t origin) = 0;

    std::int64_t Position();
    void SetPosition(std::int64_t position);
    std::int64_t Size();

    // As Read and Write, but a short transfer raises "Stream read error" or
    // "Stream write error".
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);

    // The file behind the stream and why its last transfer failed, for the
    // errors above; nothing known by default.
    virtual ErrorContext FailureContext() const { return {}; }
};

}  // namespace pellimar
