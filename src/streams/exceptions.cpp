// Placeholder filling for error messages.
#include "streams/exceptions.h"

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

}  // namespace pellimar
