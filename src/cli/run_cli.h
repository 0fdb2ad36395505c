// The command-line front end from arguments to exit status.
#pragma once

#include <string>
#include <vector>

namespace pellimar::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCancelled = 130;

int RunCli(const std::vector<std::string>& arguments);

}  // namespace pellimar::cli
