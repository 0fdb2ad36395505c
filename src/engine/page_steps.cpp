// The pass's two page-number states: a marker attempt, and the marker's page
// put in force from the step after it.
#include "engine/conversion_pass.h"

namespace pellimar {

// Entered with Ch, the pattern's first byte, read but not written.
void ConversionPass::MatchPageMark()
{
    state_ = page_.Attempt(*run_.Input, ch_, *run_.Output) ? PassState::PageCommit : PassState::Copy;
}

void ConversionPass::PageCommit()
{
    page_.Commit();
    state_ = PassState::Copy;
}

}  // namespace pellimar
