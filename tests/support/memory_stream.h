// An in-memory byte stream that counts the calls made to it and can be told
// to refuse writes, for testing what sits on top of a stream.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "streams/stream.h"

namespace pellimar::testing {

class MemoryStream : public TStream {
public:
    explicit MemoryStream(std::string bytes = {}) : data(std::move(bytes)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override
    {
        ++reads;
        const std::int64_t size = static_cast<std::int64_t>(data.size());
        const std::int64_t n = std::max<std::int64_t>(0, std::min(count, size - pos));
        if (n > 0)
            std::memcpy(buffer, data.data() + pos, static_cast<std::size_t>(n));
        pos += n;
        return n;
    }

    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        ++writes;
        const std::int64_t n = std::min(count, writeLimit);
        writeLimit -= n;
        if (pos + n > static_cast<std::int64_t>(data.size()))
            data.resize(static_cast<std::size_t>(pos + n));
        if (n > 0)
            std::memcpy(data.data() + pos, buffer, static_cast<std::size_t>(n));
        pos += n;
        return n;
    }

    std::int64_t Seek(std::int64_t offset, std::uint16_t origin) override
    {
        ++seeks;
        if (origin == kFromCurrent)
            pos += offset;
        else if (origin == kFromEnd)
            pos = static_cast<std::int64_t>(data.size()) + offset;
        else
            pos = offset;
        return pos;
    }

    std::string data;
    std::int64_t pos = 0;
    std::int64_t writeLimit = INT64_MAX;  // bytes it will still take
    int reads = 0;
    int writes = 0;
    int seeks = 0;
};

}  // namespace pellimar::testing
