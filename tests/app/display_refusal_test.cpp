// Without a display the program says why it opens no window, or which
// option nobody takes, before the toolkit would end it.
#include <gtest/gtest.h>

#include "app/display_refusal.h"
#include "app/window_arguments.h"

namespace pellimar {
namespace {

using Strings = std::vector<std::string>;

struct RefusalCase {
    Strings arguments;
    DisplayEnvironment environment;
    int status;  // 0: left to the toolkit
};

TEST(DisplayRefusal, ToldWhereTheToolkitWouldFindNoDisplay)
{
    const DisplayEnvironment none{"", "", ""};
    const RefusalCase cases[] = {
        {{}, none, 1},
        {{"book.fff", "-style", "fusion", "-reverse"}, none, 1},
        {{"-style=fusion", "--bogus"}, none, 2},
        {{"-x"}, {"", "", "xcb"}, 2},
        {{}, {"", "", "wayland"}, 1},
        // A display, or a platform that needs none, is the toolkit's to use.
        {{"--bogus"}, {":0", "", ""}, 0},
        {{"--bogus"}, {"", "wayland-0", ""}, 0},
        {{"--bogus"}, {"", "", "offscreen"}, 0},
        {{"-platform", "offscreen", "--bogus"}, none, 0},
        {{"--display", ":1"}, none, 0},
    };
    for (const RefusalCase& c : cases) {
        const std::optional<DisplayRefusal> refused = RefusalWithoutDisplay(c.arguments, c.environment);
        EXPECT_EQ(refused ? refused->status : 0, c.status) << ::testing::PrintToString(c.arguments);
    }
    EXPECT_EQ(RefusalWithoutDisplay({"-q", "--bogus"}, none)->text, UnknownOptionText("-q"));
    EXPECT_EQ(RefusalWithoutDisplay({}, none)->text,
              "pellimar: cannot open the window: there is no display (DISPLAY is not set)\n"
              "pellimar-cli converts without a window: try 'pellimar-cli --help'.\n");
}

}  // namespace
}  // namespace pellimar
