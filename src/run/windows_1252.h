// Windows-1252, the encoding of 8-bit flat files: which character each byte
// stands for, and which byte holds a character.
#pragma once

#include <optional>

namespace pellimar {

// Every byte stands for one character. The five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters
// of the same number, as Windows reads them, so no byte of a file is lost on
// its way to the screen and back.
char32_t CharacterOfWindows1252(unsigned char byte);

// The byte holding `character`, or nothing when the encoding has none.
std::optional<unsigned char> Windows1252ByteOf(char32_t character);

}  // namespace pellimar
