// The registry behind FindResourceBlock and the program's string table.
#include "streams/resources.h"

#include <vector>

#include "streams/stream_table.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

struct Registry {
    std::vector<ResourceBlock> blocks;

    Registry() { blocks.push_back(StreamMessageTableResource()); }
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

}  // namespace

std::span<const std::uint8_t> FindResourceBlock(std::string_view type, std::string_view name)
{
    for (const ResourceBlock& block : TheRegistry().blocks) {
        if (EqualsIgnoreAsciiCase(block.type, type) && EqualsIgnoreAsciiCase(block.name, name))
            return block.bytes;
    }
    return {};
}

void RegisterResourceBlock(const ResourceBlock& block)
{
    TheRegistry().blocks.push_back(block);
}

std::string LoadProgramString(int id)
{
    switch (id) {
    case kMsgCannotLoadStringResource: return "Cannot load string resource";
    case kMsgCannotLockStringResource: return "Cannot lock string resource";
    case kMsgNoSuchStringResource: return "No such string resource: %s";
    default: return {};
    }
}

}  // namespace pellimar
