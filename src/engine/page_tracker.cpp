// Page-number markers met in the running text.
#include "engine/page_tracker.h"

#include "streams/text_stream.h"

namespace pellimar {
namespace {

// The byte after a marker, left unread; nothing at the end of the input.
bool LineGoesOn(TS_TextStream& input)
{
    std::uint8_t next;
    if (!input.TryReadByte(next))
        return false;
    input.PutBack(next);
    return next != '\r' && next != '\n';
}

}  // namespace

// A failed attempt writes every byte it consumed as it stood, and they are
// not examined again.
bool PageTracker::Attempt(TS_TextStream& input, std::uint8_t first, TS_TextStream& output)
{
    if (!marker_.Match(input, first)) {
        marker_.Held().WriteTo(output);
        return false;
    }
    if (!removeMarks_)
        marker_.Held().WriteTo(output);
    // A marker with more text after it on its line makes the next
    // reference's page a range.
    if (LineGoesOn(input))
        midLine_ = true;
    return true;
}

std::optional<PageMarkerMatcher::Taken> PageTracker::AttemptWithin(std::span<const std::uint8_t> bytes,
                                                                  std::size_t most)
{
    const std::optional<PageMarkerMatcher::Taken> taken = marker_.MatchWithin(bytes);
    if (!taken || taken->length > most || (taken->marker && taken->length == bytes.size()))
        return std::nullopt;
    if (taken->marker) {
        const std::uint8_t next = bytes[taken->length];
        if (next != '\r' && next != '\n')
            midLine_ = true;
        Commit();
    }
    return taken;
}

}  // namespace pellimar
