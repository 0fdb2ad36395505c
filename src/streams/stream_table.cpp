// The "S_STREAM" message table: entries of a 16-bit little-endian id, a length
// byte and the text, closed by a zero id. 180 bytes in all.
#include "streams/stream_table.h"

#include <array>
#include <cstdint>

namespace pellimar {
namespace {

// Builds the table at compile time from its rows, so the layout cannot drift
// from the texts.
struct Row {
    std::int16_t id;
    std::string_view text;
};

constexpr std::array<Row, 7> kRows{{
    {1, "Seek error"},
    {2, "Invalid seek origin (%d)"},
    {3, "Putback overflow"},
    {4, "Cannot find resource"},
    {5, "Cannot access resource"},
    {6, "Seek past end of resource stream"},
    {7, "Cannot write to a resource stream"},
}};

constexpr std::size_t TableSize()
{
    std::size_t size = 2;  // end mark
    for (const Row& row : kRows)
        size += 3 + row.text.size();
    return size;
}

constexpr std::array<std::uint8_t, TableSize()> BuildTable()
{
    std::array<std::uint8_t, TableSize()> table{};
    std::size_t at = 0;
    for (const Row& row : kRows) {
        const auto id = static_cast<std::uint16_t>(row.id);
        table[at++] = static_cast<std::uint8_t>(id & 0xFF);
        table[at++] = static_cast<std::uint8_t>(id >> 8);
        table[at++] = static_cast<std::uint8_t>(row.text.size());
        for (char c : row.text)
            table[at++] = static_cast<std::uint8_t>(c);
    }
    table[at++] = 0;
    table[at++] = 0;
    return table;
}

constexpr auto kStreamTable = BuildTable();
static_assert(kStreamTable.size() == 180, "the stream message table is 180 bytes");

}  // namespace

ResourceBlock StreamMessageTableResource()
{
    return {kStringTableType, "S_STREAM", kStreamTable};
}

}  // namespace pellimar
