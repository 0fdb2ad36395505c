// How a message names one character of the user's text: in quotes as it
// looks, or by its code point when it would not show there (a control, a
// blank other than the space, an invisible or combining mark).
#pragma once

#include <string>
#include <string_view>

namespace pellimar {

// True when the character has no visible mark of its own in a message.
bool ShowsNothing(char32_t codePoint);

// "\"é\"" for a character that shows (written as `asGiven`, its bytes as
// the message's reader receives them), "U+0081" for one that would not.
std::string CharacterForMessage(char32_t codePoint, std::string_view asGiven);

}  // namespace pellimar
