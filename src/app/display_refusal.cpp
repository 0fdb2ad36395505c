// The toolkit's own options, as its documentation lists them for every
// program built on it, are told apart from options nobody takes.
#include "app/display_refusal.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "app/window_arguments.h"

namespace pellimar {
namespace {

// Options of every program built on the toolkit, and the older ones its X11
// platform still takes.
// clang-format off
constexpr std::string_view kToolkitOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger", "qwindowgeometry", "qwindowicon",
    "qwindowtitle", "reverse", "session", "display", "geometry", "style", "stylesheet", "widgetcount", "dialogs",
    "fontengine", "nograb", "dograb", "sync", "name", "title", "visual", "ncols", "cmap", "fn", "font", "bg",
    "background", "fg", "foreground", "btn", "button", "im"};
// clang-format on

// "-style", "--style" and "-style=fusion" name the option "style".
std::string_view OptionName(std::string_view option)
{
    option.remove_prefix(option.starts_with("--") ? 2 : 1);
    return option.substr(0, option.find('='));
}

bool IsToolkitOption(const std::string& option)
{
    return std::ranges::find(kToolkitOptions, OptionName(option)) != std::end(kToolkitOptions);
}

// The platforms that draw on a display of the desktop's: the toolkit's own
// choice when none is named.
bool NeedsDesktopDisplay(std::string_view platform)
{
    const std::string_view name = platform.substr(0, platform.find(':'));
    return name.empty() || name == "xcb" || name == "wayland";
}

}  // namespace

std::optional<DisplayRefusal> RefusalWithoutDisplay(const std::vector<std::string>& arguments,
                                                    const DisplayEnvironment& environment)
{
    if (!environment.display.empty() || !environment.waylandDisplay.empty() ||
        !NeedsDesktopDisplay(environment.platform))
        return std::nullopt;
    const WindowArguments read = ReadWindowArguments(arguments);
    for (const std::string& option : read.unknownOptions) {
        if (!IsToolkitOption(option))
            return DisplayRefusal{UnknownOptionText(option), 2};
        const std::string_view name = OptionName(option);
        if (name == "platform" || name == "display")
            return std::nullopt;
    }
    return DisplayRefusal{
        "pellimar: cannot open the window: there is no display (DISPLAY is not set)\n"
        "pellimar-cli converts without a window: try 'pellimar-cli --help'.\n",
        1};
}

}  // namespace pellimar
