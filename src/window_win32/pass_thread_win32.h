// A pass (a conversion, a preview) on a thread of its own, so that nothing
// the user does with the window holds it up: an open menu or a window being
// moved keeps the window's thread in a loop of the system's. The host's
// calls come back to the window's thread as messages, which every such loop
// handles.
#pragma once

#include <windows.h>

#include <functional>

#include "engine/run_host.h"

namespace pellimar {

// Sent to the window with a call of the host to carry out; the window hands
// its lParam to CarryOutHostCall.
inline constexpr UINT kHostCall = WM_APP + 3;
void CarryOutHostCall(LPARAM call);

// Runs the pass and returns when it is over, having handled the window's
// messages meanwhile (through `preTranslate` first, as the message loop
// does); an error the pass raised is raised again here.
void RunPassOnOwnThread(HWND window, RunHost& host, const std::function<void(RunHost&)>& pass,
                        const std::function<bool(MSG&)>& preTranslate);

}  // namespace pellimar
