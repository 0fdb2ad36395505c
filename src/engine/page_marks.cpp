// Page-number markers in the pass: a marker sets the current page and may be
// left out of the output; the matching itself is the matcher's.
#include "engine/conversion_pass.h"

namespace pellimar {

// Entered with Ch, the pattern's first byte, read but not written. A failed
// attempt writes every byte it consumed as it stood, and they are not
// examined again.
void ConversionPass::MatchPageMark()
{
    run_.State = PassState::Copy;
    PageMarkerMatcher& marker = run_.Marker;
    if (!marker.Match(*run_.Input, run_.Ch)) {
        marker.Held().WriteTo(*run_.Output);
        return;
    }
    if (!run_.RemovePageMarks)
        marker.Held().WriteTo(*run_.Output);
    NoteMidLinePage();
    run_.State = PassState::PageCommit;
}

// A marker with more text after it on its line makes the next reference's
// page a range.
void ConversionPass::NoteMidLinePage()
{
    const std::optional<std::uint8_t> after = Peek();
    if (after && *after != '\r' && *after != '\n')
        run_.MidLinePage = true;
}

void ConversionPass::PageCommit()
{
    run_.PageNumber = run_.Marker.Page();
    run_.State = PassState::Copy;
}

}  // namespace pellimar
