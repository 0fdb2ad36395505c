// What a file dropped on the window stands for: a definition file gives the
// level names; any other file is an input, whose output name can be derived.
#pragma once

#include <string>

namespace pellimar {

// A definition file: a name ending in ".def" in any letter case.
bool IsDefinitionFile(const std::string& path);

// The output name offered for an input: "-ref" added to the name before its
// extension, in the same folder ("/d/book.fff" gives "/d/book-ref.fff").
std::string DerivedOutputPath(const std::string& inputPath);

}  // namespace pellimar
