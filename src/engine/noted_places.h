// What a run tells the user of at its end besides its counts (texts that
// look like earlier references, cuts made to keep within bounds): how many
// times each happened, and the input line of the first.
#pragma once

#include <cstdint>
#include <vector>

namespace pellimar {

class LineCounter;
class TS_BufferStream;

struct Tally {
    std::int32_t count = 0;
    std::int64_t firstLine = 0;  // from 1; 0 where it could not be told
};

// The lines of the first event of each tally. A line counter that follows
// the input (for a pipe, or a preview) tells them at once; otherwise the
// input is read again up to them once the pass is over, so that an ordinary
// run counts no lines.
class NotedPlaces {
public:
    // One more event at `position` of the input, a byte of the current
    // block when `lines` is given.
    void Note(Tally& tally, std::int64_t position, LineCounter* lines);
    // Reads the input again from its start, up to the last event noted; a
    // failure leaves their lines unknown.
    void FindLines(TS_BufferStream& input);

private:
    struct Pending {
        Tally* tally;
        std::int64_t position;
    };
    std::vector<Pending> pending_;
};

}  // namespace pellimar
