// UTF-8, the screen's and the terminal's text, taken apart into code points
// and put together again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellimar {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// The code points of `text`; a byte that does not begin a well-formed
// sequence becomes U+FFFD, so every input gives an answer.
std::vector<char32_t> DecodeUtf8(std::string_view text);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& text, char32_t codePoint);

// True when `text` is well-formed UTF-8.
bool IsUtf8(std::string_view text);

}  // namespace pellimar
