// The gauge's kinds of picture and its border styles.
#pragma once

#include <cstdint>

namespace pellimar {

enum TVantorGaugeKind : std::uint8_t {
    gkText = 0,
    gkHorizontalBar = 1,
    gkVerticalBar = 2,
    gkPie = 3,
    gkNeedle = 4,
};

enum TBorderStyle : std::uint8_t { bsNone = 0, bsSingle = 1 };

}  // namespace pellimar
