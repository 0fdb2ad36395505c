// Held bytes in memory, then in a temporary file.
#include "engine/held_text.h"

#include <algorithm>
#include <vector>

#include "streams/exceptions.h"
#include "streams/native_file.h"
#include "streams/text_stream.h"

namespace pellimar {
namespace {

[[noreturn]] void SpillFailed()
{
    throw EWriteError(std::string(kStreamWriteError));
}

}  // namespace

// The temporary file is kept for the next attempt and written over.
void HeldText::Clear()
{
    memory_.clear();
    size_ = 0;
    if (spill_)
        std::rewind(spill_.get());
}

void HeldText::Append(std::string_view bytes)
{
    const std::size_t room = memory_.size() < memoryLimit_ ? memoryLimit_ - memory_.size() : 0;
    const std::size_t inMemory = std::min(room, bytes.size());
    memory_.append(bytes.substr(0, inMemory));
    bytes.remove_prefix(inMemory);
    if (!bytes.empty()) {
        if (!spill_)
            spill_.reset(OpenTemporaryFile());
        if (!spill_ || std::fwrite(bytes.data(), 1, bytes.size(), spill_.get()) != bytes.size())
            SpillFailed();
    }
    size_ += inMemory + bytes.size();
}

void HeldText::WriteTo(TS_TextStream& output)
{
    output.WriteStr(memory_);
    const std::size_t spilled = size_ - memory_.size();
    if (spilled == 0)
        return;
    if (std::fflush(spill_.get()) != 0)
        SpillFailed();
    std::rewind(spill_.get());
    std::vector<char> chunk(1 << 16);
    for (std::size_t left = spilled; left > 0;) {
        const std::size_t n = std::fread(chunk.data(), 1, std::min(left, chunk.size()), spill_.get());
        if (n == 0)
            SpillFailed();
        output.WriteStr(std::string_view(chunk.data(), n));
        left -= n;
    }
}

}  // namespace pellimar
