// A folder for the files a fuzz target hands to code that opens files by
// name: one per process, in memory-backed storage when the machine has it,
// removed when the process ends.
#pragma once

#include <string>
#include <string_view>

namespace pellimar::fuzz {

// The path of `name` in this process's scratch folder.
std::string ScratchFile(std::string_view name);

// Creates or replaces the file with exactly these bytes.
void WriteScratchFile(const std::string& path, std::string_view bytes);
std::string ReadScratchFile(const std::string& path);

}  // namespace pellimar::fuzz
