// Whether the user has asked the program to stop. A front end that cancels
// on a signal says how to ask, so that a read or write that the signal
// interrupted while it waited (on a terminal, an idle pipe) fails at once
// instead of being started again and waiting on.
#pragma once

namespace pellimar {

using StopCheck = bool (*)();

// Safe to call at any time; the check must be safe to call from any thread.
void SetStopCheck(StopCheck check);
// False until a check is set.
bool StopRequested();

}  // namespace pellimar
