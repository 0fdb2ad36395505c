// The failure report of every fuzz target: a broken invariant prints what
// was expected and what happened, then aborts so that the fuzzer keeps the
// input that caused it.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace pellimar::fuzz {

[[noreturn]] void Fail(const char* file, int line, std::string_view what, const std::string& expected,
                       const std::string& actual);

// Bytes made printable for a report: escapes for control and 8-bit bytes.
std::string Show(std::string_view bytes);
std::string Show(const std::vector<std::string>& list);

template <typename Number>
    requires std::is_arithmetic_v<Number>
std::string Show(Number value)
{
    return std::to_string(value);
}

}  // namespace pellimar::fuzz

#define FUZZ_CHECK(condition, what)                                                  \
    do {                                                                             \
        if (!(condition))                                                            \
            ::pellimar::fuzz::Fail(__FILE__, __LINE__, (what), #condition, "false"); \
    } while (false)

#define FUZZ_CHECK_EQ(expected, actual, what)                                                         \
    do {                                                                                              \
        const auto& fuzzExpected = (expected);                                                        \
        const auto& fuzzActual = (actual);                                                            \
        if (!(fuzzExpected == fuzzActual))                                                            \
            ::pellimar::fuzz::Fail(__FILE__, __LINE__, (what), ::pellimar::fuzz::Show(fuzzExpected), \
                                   ::pellimar::fuzz::Show(fuzzActual));                               \
    } while (false)
