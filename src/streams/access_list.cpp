// Inheriting a folder's default access control list.
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

void SetPermissions(std::string& bytes, std::size_t entry, unsigned permissions)
{
    bytes[entry + kPermissionsAt] = static_cast<char>(permissions);
    bytes[entry + kPermissionsAt + 1] = 0;
}

// The requested bits that bound an entry with that tag: the owner's, the
// group's (for the mask) and the others'; nothing for the entries they do
// not bound.
std::optional<unsigned> Bound(std::uint32_t tag, unsigned requested)
{
    switch (tag) {
    case kOwner: return requested >> 6 & 7;
    case kMask: return requested >> 3 & 7;
    case kOthers: return requested & 7;
    default: return std::nullopt;
    }
}

}  // namespace

std::optional<InheritedAccess> InheritAccess(const std::string& folderDefault, unsigned requested)
{
    if (folderDefault.size() < kHeaderBytes || (folderDefault.size() - kHeaderBytes) % kEntryBytes != 0 ||
        ValueAt(folderDefault, 0, 4) != kVersion)
        return std::nullopt;
    InheritedAccess access{folderDefault, 0};
    std::optional<std::size_t> owningGroup;
    bool masked = false;
    unsigned owner = 0, group = 0, others = 0;
    for (std::size_t entry = kHeaderBytes; entry < folderDefault.size(); entry += kEntryBytes) {
        const std::uint32_t tag = ValueAt(folderDefault, entry, 2);
        if (tag == kOwningGroup)
            owningGroup = entry;
        const std::optional<unsigned> bound = Bound(tag, requested);
        if (!bound)
            continue;
        const unsigned permissions = ValueAt(folderDefault, entry + kPermissionsAt, 2) & *bound;
        SetPermissions(access.list, entry, permissions);
        (tag == kOwner ? owner : tag == kMask ? group : others) = permissions;
        masked = masked || tag == kMask;
    }
    // Without a mask the owning group's entry stands for the group bits.
    if (!masked && owningGroup) {
        group = ValueAt(folderDefault, *owningGroup + kPermissionsAt, 2) & requested >> 3 & 7;
        SetPermissions(access.list, *owningGroup, group);
    }
    access.mode = owner << 6 | group << 3 | others;
    return access;
}

}  // namespace pellimar
