// What replacing an existing output would cost beyond its content, said in
// the overwrite question while the user can still keep the file.
#pragma once

#include <string>

namespace pellimar {

// Empty when the new file keeps all the old one had.
std::string WhatReplacingLoses(const std::string& path);

}  // namespace pellimar
