// Page-number markers in the pass: a marker sets the current page and may be
// left out of the output; the matching itself is the matcher's.
#include "engine/conversion_pass.h"

namespace pellimar {

// Entered with Ch, the pattern's first byte, read but not written. A failed
// attempt writes every byte it consumed as it stood, and they are not
// examined again.
void ConversionPass::MatchPageMark()
{
    state_ = PassState::Copy;
    PageMarkerMatcher& marker = marker_;
    if (!marker.Match(*run_.Input, ch_)) {
        marker.Held().WriteTo(*run_.Output);
        return;
    }
    if (!run_.RemovePageMarks)
        marker.Held().WriteTo(*run_.Output);
    NoteMidLinePage();
    state_ = PassState::PageCommit;
}

// A marker with more text after it on its line makes the next reference's
// page a range.
void ConversionPass::NoteMidLinePage()
{
    const std::optional<std::uint8_t> after = Peek();
    if (after && *after != '\r' && *after != '\n')
        midLinePage_ = true;
}

void ConversionPass::PageCommit()
{
    pageNumber_ = marker_.Page();
    state_ = PassState::Copy;
}

}  // namespace pellimar
