// The collection's host on the pass's side.
#include "window_model/collection_pass_host.h"

namespace pellimar {

void CollectionPassHost::FileStarted(std::size_t index)
{
    shown_.Started(index);
    // A small file may change no whole percentage of the collection: the
    // window would never name it, nor see a Cancel before it is done. A
    // single file has no name to show.
    if (shown_.Active())
        host_.ProgressChanged(lastPercent_, lastBytes_);
}

void CollectionPassHost::ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed)
{
    lastPercent_ = runPercent;
    lastBytes_ = bytesConsumed;
    host_.ProgressChanged(runPercent, bytesConsumed);
}

}  // namespace pellimar
