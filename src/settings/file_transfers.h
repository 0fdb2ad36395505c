// Whole-buffer transfers through the file layer, shared by the settings
// files' readers and writers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "streams/native_file.h"

namespace pellimar {

// Writes all bytes at `offset`; false on any error.
bool WriteAllAt(NativeFile& file, std::string_view bytes, std::int64_t offset);

// Reads from `offset` until `limit` bytes or the end of the file; false on a
// read error.
bool ReadUpTo(NativeFile& file, std::size_t limit, std::string& bytes, std::int64_t offset = 0);

}  // namespace pellimar
