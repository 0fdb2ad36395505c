// The INPUTs of a collection read from a list (--files-from): one a line,
// or ending at a NUL (-0), as find -print0 writes them. The names are taken
// as bytes, so that any name a folder can hold comes through.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellimar::cli {

// The names of the list's text; empty ones are passed over.
std::vector<std::string> NamesOfList(std::string_view list, char end);

// The names of the list in the file `name` ("-": standard input). Raises
// "Cannot open file %s" or "Stream read error" when it cannot be read.
std::vector<std::string> ReadInputList(const std::string& name, char end);

}  // namespace pellimar::cli
