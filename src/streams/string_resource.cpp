// The message-table reader and its process-wide cache.
#include "streams/string_resource.h"

#include <map>
#include <memory>

#include "streams/exceptions.h"
#include "streams/resources.h"
#include "streams/stream_table.h"
#include "streams/text_util.h"

namespace pellimar {

TS_StringResource::TS_StringResource(std::string_view name)
{
    if (!name.empty())
        Open(name);
}

TS_StringResource::~TS_StringResource()
{
    Close();
}

void TS_StringResource::Open(std::string_view name)
{
    const std::span<const std::uint8_t> found = FindResourceBlock(kStringTableType, name);
    if (found.data() == nullptr) {
        throw Exception(FillPlaceholder(LoadProgramString(kMsgNoSuchStringResource), name));
    }
    if (found.empty())
        throw EOutOfResources(LoadProgramString(kMsgCannotLoadStringResource));
    ResHandle = found;
}

void TS_StringResource::Close()
{
    if (ResData != nullptr)
        Unlock();
    ResHandle.reset();
}

void TS_StringResource::Lock()
{
    if (!ResHandle)
        throw EOutOfResources(LoadProgramString(kMsgCannotLockStringResource));
    ResData = ResHandle->data();
    ResSize = ResHandle->size();
}

void TS_StringResource::Unlock()
{
    ResData = nullptr;
    ResSize = 0;
}

// An entry needs its id and length bytes, and its text, inside the table; a
// zero id is the end mark. A damaged table ends the walk instead of reading
// past its last byte.
bool TS_StringResource::IsEntry(std::size_t entry) const
{
    if (entry + 2 > ResSize)
        return false;
    if (ResData[entry] == 0 && ResData[entry + 1] == 0)
        return false;
    return entry + 3 <= ResSize && entry + 3 + ResData[entry + 2] <= ResSize;
}

std::size_t TS_StringResource::NextEntry(std::size_t entry) const
{
    return entry + 3 + ResData[entry + 2];
}

std::optional<std::size_t> TS_StringResource::FindEntry(std::int32_t id) const
{
    for (std::size_t entry = 0; ResData != nullptr && IsEntry(entry); entry = NextEntry(entry)) {
        const auto stored = static_cast<std::int16_t>(ResData[entry] | (ResData[entry + 1] << 8));
        if (stored == id)
            return entry;
    }
    return std::nullopt;
}

std::string TS_StringResource::GetString(std::int32_t id)
{
    Lock();
    std::string text;
    if (const std::optional<std::size_t> entry = FindEntry(id)) {
        const auto* begin = reinterpret_cast<const char*>(ResData + *entry + 3);
        text.assign(begin, ResData[*entry + 2]);
    }
    Unlock();
    return text;
}

namespace {

using StrResCache = std::map<std::string, std::unique_ptr<TS_StringResource>, LessIgnoreAsciiCase>;

StrResCache& TheCache()
{
    static StrResCache cache;
    return cache;
}

}  // namespace

std::string LoadStrRes(std::string_view tableName, std::int32_t id)
{
    StrResCache& cache = TheCache();
    auto found = cache.find(tableName);
    if (found == cache.end()) {
        auto reader = std::make_unique<TS_StringResource>(tableName);
        found = cache.emplace(std::string(tableName), std::move(reader)).first;
    }
    return found->second->GetString(id);
}

}  // namespace pellimar
