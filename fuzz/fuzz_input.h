// Reads a fuzz input as a sequence of choices: single bytes, numbers in a
// range, texts ending at a separator, and the bytes that are left. Every
// read succeeds; an exhausted input reads as zeros and empty texts, so any
// byte string is a valid input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pellimar::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size)
    {
    }

    bool Empty() const { return rest_.empty(); }

    std::uint8_t Byte()
    {
        if (rest_.empty())
            return 0;
        const auto byte = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return byte;
    }

    bool Bit() { return (Byte() & 1) != 0; }

    // A number from 0 to limit - 1 (limit at most 65536).
    std::uint32_t Below(std::uint32_t limit)
    {
        const std::uint32_t wide = limit > 256 ? Byte() | (std::uint32_t{Byte()} << 8) : Byte();
        return limit == 0 ? 0 : wide % limit;
    }

    // The bytes up to the next `separator`, which is consumed too.
    std::string Field(char separator)
    {
        const std::size_t end = rest_.find(separator);
        const std::string field(rest_.substr(0, end));
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        return field;
    }

    // At most `count` bytes.
    std::string Bytes(std::size_t count)
    {
        const std::string bytes(rest_.substr(0, count));
        rest_.remove_prefix(bytes.size());
        return bytes;
    }

    std::string Rest() { return Bytes(rest_.size()); }

private:
    std::string_view rest_;
};

}  // namespace pellimar::fuzz
