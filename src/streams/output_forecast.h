// What a run would do with its output, found out without making, changing,
// opening for writing or locking anything: the dry run's view of an output.
// It foresees what can be known before the run (a folder or a file that may
// not be written, a name too long, a file another program has locked, one
// that can only be rewritten in place); what only writing shows (a full
// disk, a write refused halfway) it cannot.
#pragma once

#include <string>
#include <vector>

namespace pellimar {

struct OutputForecast {
    // Why the run would refuse the output, in words that follow its name
    // ("permission denied"); empty when it would go ahead.
    std::string refusal;
    // A regular file stands under the name: the run would replace it.
    bool replacesFile = false;
    // A device such as /dev/null or NUL, or a pipe given by name, written
    // to directly.
    bool device = false;
    // No new file could take the name: the output would be written in
    // place, and why ("its folder takes no new file"). Where nothing stands
    // under the name, that is refused as well: `refusal` then says what the
    // system would say when the run makes the file.
    std::string whyInPlace;
    // What a new file could not keep of the one it replaces ("its group").
    std::vector<std::string> notKept;
};

OutputForecast ForecastOutput(const std::string& path);

}  // namespace pellimar
