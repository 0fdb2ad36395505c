// Placeholder filling and reasons for error messages.
#include "streams/exceptions.h"

#include <cerrno>
#include <cstring>

namespace pellimar {

std::string FillPlaceholder(std::string_view format, std::string_view value)
{
    std::string result(format);
    for (std::size_t i = 0; i + 1 < result.size(); ++i) {
        if (result[i] == '%' && (result[i + 1] == 's' || result[i + 1] == 'd')) {
            result.replace(i, 2, value);
            break;
        }
    }
    return result;
}

std::string FillPlaceholder(std::string_view format, std::int64_t value)
{
    return FillPlaceholder(format, std::to_string(value));
}

std::string ReasonOfError(int errorNumber, bool creating)
{
    switch (errorNumber) {
    case EACCES: return "permission denied";
    case EPERM: return "operation not permitted";
    case ENOENT: return creating ? "no such folder" : "no such file";
    case ENOTDIR: return "a part of the path is not a folder";
    case EISDIR: return "it is a folder";
    case ENOSPC: return "no space left on the disk";
    case EFBIG: return "the file would be too large";
    case EROFS: return "the disk is read-only";
    default: break;
    }
    // Opening a file to write it: another program reads it under a lease, or
    // no program reads a pipe.
    if (creating && errorNumber == EWOULDBLOCK)
        return "another program is reading it";
    if (creating && errorNumber == ENXIO)
        return "no program reads it";
    std::string text = std::strerror(errorNumber);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

}  // namespace pellimar
