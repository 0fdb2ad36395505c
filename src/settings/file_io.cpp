// Reading the settings files, and the byte transfers shared with the writers.
#include "settings/file_io.h"

#include <algorithm>

#include "settings/file_transfers.h"

namespace pellimar {

bool WriteAllAt(NativeFile& file, std::string_view bytes, std::int64_t offset)
{
    while (!bytes.empty()) {
        const std::int64_t n = file.WriteAt(bytes.data(), static_cast<std::int64_t>(bytes.size()), offset);
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

bool ReadUpTo(NativeFile& file, std::size_t limit, std::string& bytes, std::int64_t offset)
{
    char block[65536];
    while (bytes.size() < limit) {
        const std::size_t wanted = std::min(sizeof block, limit - bytes.size());
        const std::int64_t n = file.ReadAt(block, static_cast<std::int64_t>(wanted), offset);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        bytes.append(block, static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

FileRead ReadFileUpTo(const std::string& path, std::size_t limit)
{
    NativeFile file = NativeFile::OpenForReading(path);
    if (!file.IsOpen())
        return {IdentityOfName(path) ? FileReadStatus::Unreadable : FileReadStatus::Missing, {}};
    const std::optional<FileFacts> facts = file.Facts();
    if (!facts || facts->kind != FileKind::Regular)
        return {FileReadStatus::Unreadable, {}};
    FileRead result{FileReadStatus::Whole, {}};
    if (!ReadUpTo(file, limit, result.bytes))
        return {FileReadStatus::Unreadable, {}};
    if (result.bytes.size() == limit) {
        std::string probe;
        if (!ReadUpTo(file, 1, probe, static_cast<std::int64_t>(limit)) || !probe.empty())
            result.status = FileReadStatus::Partial;
    }
    return result;
}

}  // namespace pellimar
