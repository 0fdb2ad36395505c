// ReasonOfFailure: the reason a stream error raised by a step gives, for
// tests that hold a refusal to its words.
#pragma once

#include <string>

#include "streams/exceptions.h"

namespace pellimar::testing {

// Empty when the step raised nothing.
template <typename Step>
std::string ReasonOfFailure(Step step)
{
    try {
        step();
    } catch (const EStreamError& error) {
        return error.Reason();
    }
    return {};
}

}  // namespace pellimar::testing
