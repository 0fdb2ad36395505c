// The bash completion of pellimar-cli, made from the option table like its
// --help and manual page: the options, the values of those whose values are
// known, and file names for FILE values, INPUT and OUTPUT.
#pragma once

#include <string>

namespace pellimar::cli {

// A script for bash that registers the completion of `program`; it uses
// bash's own builtins only, not the helpers of the bash-completion package.
std::string BashCompletion(const std::string& program);

}  // namespace pellimar::cli
