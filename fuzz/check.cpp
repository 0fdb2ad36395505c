// Reporting a broken invariant.
#include "check.h"

#include <cstdio>
#include <cstdlib>

namespace pellimar::fuzz {

void Fail(const char* file, int line, std::string_view what, const std::string& expected, const std::string& actual)
{
    std::fprintf(stderr, "\n%s:%d: invariant broken: %.*s\n  expected: %s\n  actual:   %s\n", file, line,
                 static_cast<int>(what.size()), what.data(), expected.c_str(), actual.c_str());
    std::abort();
}

std::string Show(std::string_view bytes)
{
    std::string shown = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            shown += '\\';
            shown += c;
        } else if (byte < 32 || byte > 126) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown + "\"";
}

std::string Show(const std::vector<std::string>& list)
{
    std::string shown = "{";
    for (const std::string& item : list)
        shown += (shown.size() > 1 ? ", " : "") + Show(item);
    return shown + "}";
}

}  // namespace pellimar::fuzz
