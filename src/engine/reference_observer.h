// Who may watch the references a run makes as it makes them: the preview
// lists the first ones and ends the run when it has enough, or reads on for
// the counts of the whole file.
#pragma once

#include <cstdint>
#include <string_view>

namespace pellimar {

class ReferenceObserver {
public:
    virtual ~ReferenceObserver() = default;

    // `line`: the input line (from 1) on which the record code begins;
    // `text`: the reference as written between "<CS:Reference>" (and
    // "<IX->") and "<CR>" or "<HR>"; `recordStart`: what follows the record
    // code in the input, up to the end of its line or a little more.
    virtual void ReferenceMade(std::int64_t line, std::string_view text, std::string_view recordStart) = 0;
    // True ends the run before its next step.
    virtual bool Enough() const = 0;
    // False once it wants no more references, though the run goes on: the
    // pass then makes the rest without looking back at each record.
    virtual bool WantsMore() const { return !Enough(); }
};

}  // namespace pellimar
