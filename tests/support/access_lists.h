// Access control lists and extended attributes as the system stores them,
// for tests that set them and compare them byte for byte.
#pragma once

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace pellimar::testing {

inline constexpr const char* kAccessListAttribute = "system.posix_acl_access";
inline constexpr const char* kDefaultListAttribute = "system.posix_acl_default";

// The tags of a list's entries; an entry's id matters only for named users
// and groups.
enum AccessTag : std::uint32_t { kOwnerEntry = 0x01, kUserEntry = 0x02, kGroupEntry = 0x04, kMaskEntry = 0x10,
                                 kOthersEntry = 0x20 };
inline constexpr std::uint32_t kAnyone = 0xFFFFFFFF;
inline constexpr std::uint32_t kNobody = 65534;

// A version, then entries of a tag, permissions and an id.
inline std::string AccessList(std::initializer_list<std::array<std::uint32_t, 3>> entries)
{
    std::string bytes;
    auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(2, 4);
    for (const auto& [tag, permissions, id] : entries) {
        put(tag, 2);
        put(permissions, 2);
        put(id, 4);
    }
    return bytes;
}

// A folder's default list that shares new files with the user nobody:
// owner rw, owning group r, others none, nobody rw, mask rw.
inline std::string SharingDefaultList()
{
    return AccessList({{kOwnerEntry, 6, kAnyone}, {kUserEntry, 6, kNobody}, {kGroupEntry, 4, kAnyone},
                       {kMaskEntry, 6, kAnyone}, {kOthersEntry, 0, kAnyone}});
}

// The permission bits and the access control list of a file that a program
// creates there plainly, with 0666, to compare a new file of ours with.
inline std::string CreatedPlainly(const std::string& path)
{
    ::close(::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0666));
    return path;
}

// The attribute's bytes; empty when the file has none.
inline std::string Attribute(const std::string& path, const char* name)
{
    std::string value(256, '\0');
    const ssize_t size = ::getxattr(path.c_str(), name, value.data(), value.size());
    value.resize(size < 0 ? 0 : static_cast<std::size_t>(size));
    return value;
}

inline bool SetAttribute(const std::string& path, const char* name, const std::string& value)
{
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

}  // namespace pellimar::testing
