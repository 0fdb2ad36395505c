// The rules of the boxes' drop-down histories.
#include "window_model/history_boxes.h"

#include <algorithm>

namespace pellimar {
namespace {

// Folds a capital of ASCII or of the Latin-1 range (but not the multiplication
// sign, which sits among them) to its small letter.
unsigned char FoldCase(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    const bool capital = (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7);
    return capital ? static_cast<unsigned char>(byte + 0x20) : byte;
}

}  // namespace

bool SameHistoryEntry(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

bool AddHistoryEntry(std::vector<std::string>& entries, const std::string& text)
{
    if (text.empty())
        return false;
    if (std::ranges::any_of(entries, [&](const std::string& entry) { return SameHistoryEntry(entry, text); }))
        return false;
    entries.insert(entries.begin(), text);
    return true;
}

bool RemoveHistoryEntry(std::vector<std::string>& entries, std::string_view text)
{
    if (text.empty())
        return false;
    const auto found =
        std::ranges::find_if(entries, [&](const std::string& entry) { return SameHistoryEntry(entry, text); });
    if (found == entries.end())
        return false;
    entries.erase(found);
    return true;
}

}  // namespace pellimar
