// Counting events and finding the line of the first of each.
#include "engine/noted_places.h"

#include <algorithm>

#include "engine/line_counter.h"
#include "streams/buffer_stream.h"
#include "streams/exceptions.h"

namespace pellimar {

void NotedPlaces::Note(Tally& tally, std::int64_t position, LineCounter* lines)
{
    if (tally.count++ > 0)
        return;
    if (lines != nullptr)
        tally.firstLine = lines->LineOf(position);
    else
        pending_.push_back({&tally, position});
}

void NotedPlaces::FindLines(TS_BufferStream& input)
{
    if (pending_.empty())
        return;
    std::sort(pending_.begin(), pending_.end(),
              [](const Pending& a, const Pending& b) { return a.position < b.position; });
    try {
        input.Seek(0, 0);
        std::int64_t at = 0;
        std::int64_t ends = 0;
        std::uint8_t before = 0;
        for (const Pending& event : pending_) {
            while (at < event.position) {
                if (input.ReadAhead().empty() && !input.Refill())
                    return;
                const std::span<const std::uint8_t> ahead = input.ReadAhead();
                const auto count = static_cast<std::size_t>(
                    std::min<std::int64_t>(static_cast<std::int64_t>(ahead.size()), event.position - at));
                ends += CountLineEnds(ahead.first(count), before);
                before = ahead[count - 1];
                input.Consume(count);
                at += static_cast<std::int64_t>(count);
            }
            event.tally->firstLine = ends + 1;
        }
    } catch (const Exception&) {
        // The lines stay unknown; the counts are what matters.
    }
    pending_.clear();
}

}  // namespace pellimar
