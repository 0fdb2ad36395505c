// The heading state: the lines after a level record, copied and made the
// value of that level.
#pragma once

#include <optional>

#include "engine/earlier_reference_taker.h"
#include "engine/levels.h"
#include "engine/pass_work.h"

namespace pellimar {

class HeadingCapture {
public:
    HeadingCapture(PassWork& work, EarlierReferenceTaker& earlier) : work_(work), earlier_(earlier) {}

    // Right after the level record of work.headingLevel.
    void Capture();

private:
    bool CopyLine(std::optional<HeadingValue>& value);
    bool Continues();

    PassWork& work_;
    EarlierReferenceTaker& earlier_;
};

}  // namespace pellimar
