// Where the window would have no display to open on, the toolkit ends the
// program as it starts, with words of its own ("Reinstalling the
// application may fix this problem"). The program tells the true reason
// first, or refuses an option that is neither its own nor the toolkit's.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pellimar {

// What the toolkit would look at to find a display.
struct DisplayEnvironment {
    std::string display;         // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string platform;        // QT_QPA_PLATFORM
};

struct DisplayRefusal {
    std::string text;  // for standard error
    int status;
};

// Nothing when the toolkit may open the window, or has been told how to
// (a display, a platform that needs none, one chosen on the command line).
std::optional<DisplayRefusal> RefusalWithoutDisplay(const std::vector<std::string>& arguments,
                                                    const DisplayEnvironment& environment);

}  // namespace pellimar
