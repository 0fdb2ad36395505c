// Reads numbered messages from a message table stored with the program, and
// keeps one open reader per table name for the life of the process.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pellimar {

class TS_StringResource {
public:
    // Opens the table when the name is not empty; raises as Open does.
    explicit TS_StringResource(std::string_view name = {});
    virtual ~TS_StringResource();

    TS_StringResource(const TS_StringResource&) = delete;
    TS_StringResource& operator=(const TS_StringResource&) = delete;

    virtual void Open(std::string_view name);
    virtual void Close();
    virtual void Lock();
    virtual void Unlock();

    // The text of message Id, or the empty string when the table has none.
    std::string GetString(std::int32_t id);

protected:
    // Offset of the entry after the one at `entry`.
    virtual std::size_t NextEntry(std::size_t entry) const;
    // Offset of the entry with that Id, or nothing.
    virtual std::optional<std::size_t> FindEntry(std::int32_t id) const;

private:
    bool IsEntry(std::size_t entry) const;

    std::optional<std::span<const std::uint8_t>> ResHandle;
    const std::uint8_t* ResData = nullptr;
    std::size_t ResSize = 0;
};

// The text of message Id of the named table ("" when the table has no such
// message). Table names compare without regard to case; each table is found
// and opened once and then served from the cache.
std::string LoadStrRes(std::string_view tableName, std::int32_t id);

}  // namespace pellimar
