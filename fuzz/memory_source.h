// A byte source in memory under a buffered stream, which behaves as a file
// does (reads past the end give nothing, writes past it leave zeros in the
// gap) and takes only a set number of bytes before it refuses writes, as a
// full disk would. It can also misreport its size, as files under /proc and
// files changed by another program do: each question about the size is
// answered with the true size plus the next of `sizeErrors`, in turn.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "streams/stream.h"

namespace pellimar::fuzz {

class MemorySource : public TStream {
public:
    MemorySource(std::string bytes, std::int64_t writable) : data(std::move(bytes)), writable_(writable) {}

    std::int64_t Read(void* buffer, std::int64_t count) override
    {
        const std::int64_t n = std::clamp<std::int64_t>(Length() - pos_, 0, count);
        if (n > 0)
            std::memcpy(buffer, data.data() + pos_, static_cast<std::size_t>(n));
        pos_ += n;
        return n;
    }

    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        const std::int64_t n = std::min(count, writable_);
        if (n <= 0)
            return 0;
        writable_ -= n;
        if (pos_ + n > Length())
            data.resize(static_cast<std::size_t>(pos_ + n), '\0');
        std::memcpy(data.data() + pos_, buffer, static_cast<std::size_t>(n));
        pos_ += n;
        return n;
    }

    std::int64_t Seek(std::int64_t offset, std::uint16_t origin) override
    {
        const std::int64_t base = origin == kFromEnd ? ReportedLength() : origin == kFromCurrent ? pos_ : 0;
        pos_ = base + offset;
        return pos_;
    }

    std::string data;
    std::vector<std::int64_t> sizeErrors;

private:
    std::int64_t Length() const { return static_cast<std::int64_t>(data.size()); }
    std::int64_t ReportedLength()
    {
        if (sizeErrors.empty())
            return Length();
        return std::max<std::int64_t>(0, Length() + sizeErrors[sizeQuestions_++ % sizeErrors.size()]);
    }

    std::size_t sizeQuestions_ = 0;

    std::int64_t pos_ = 0;
    std::int64_t writable_;
};

}  // namespace pellimar::fuzz
