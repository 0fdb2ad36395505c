// The permissions a new file gets from its folder's default list.
#include "streams/access_list.h"

#include <cstdint>

namespace pellimar {
namespace {

// The stored form: a 4-byte version, then entries of a 2-byte tag, 2-byte
// permissions and a 4-byte id, all little-endian.
constexpr std::uint32_t kVersion = 2;
constexpr std::size_t kHeaderBytes = 4;
constexpr std::size_t kEntryBytes = 8;
constexpr std::size_t kPermissionsAt = 2;

enum Tag : std::uint16_t { kOwner = 0x01, kOwningGroup = 0x04, kMask = 0x10, kOthers = 0x20 };

// Checked, so that a fault in the walk over the entries cannot read past
// the attribute's bytes.
std::uint32_t ValueAt(const std::string& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    return value;
}

}  // namespace

std::optional<unsigned> ModeInherited(const std::string& folderDefault, unsigned requested)
{
    if (folderDefault.size() < kHeaderBytes || (folderDefault.size() - kHeaderBytes) % kEntryBytes != 0 ||
        ValueAt(folderDefault, 0, 4) != kVersion)
        return std::nullopt;
    std::optional<unsigned> owner, owningGroup, mask, others;
    for (std::size_t entry = kHeaderBytes; entry < folderDefault.size(); entry += kEntryBytes) {
        const unsigned permissions = ValueAt(folderDefault, entry + kPermissionsAt, 2) & 7;
        switch (ValueAt(folderDefault, entry, 2)) {
        case kOwner: owner = permissions; break;
        case kOwningGroup: owningGroup = permissions; break;
        case kMask: mask = permissions; break;
        case kOthers: others = permissions; break;
        default: break;
        }
    }
    if (!owner || !owningGroup || !others)
        return std::nullopt;
    return (*owner << 6 | mask.value_or(*owningGroup) << 3 | *others) & requested;
}

}  // namespace pellimar
