// The pass's own thread and the window's messages handled while it runs.
#include "window_win32/pass_thread_win32.h"

#include <atomic>
#include <exception>
#include <optional>
#include <thread>

#include "window_model/relayed_host.h"

namespace pellimar {
namespace {

// Handles what is queued. A request to end the program is kept for the
// loop of the program, once the pass is over.
void HandleQueuedMessages(const std::function<bool(MSG&)>& preTranslate, std::optional<int>& quitCode)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitCode = static_cast<int>(message.wParam);
        } else if (!preTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace

void CarryOutHostCall(LPARAM call)
{
    (*reinterpret_cast<const std::function<void()>*>(call))();
}

void RunPassOnOwnThread(HWND window, RunHost& host, const std::function<void(RunHost&)>& pass,
                        const std::function<bool(MSG&)>& preTranslate)
{
    // Sent, not posted: the pass waits for each call, and the window's
    // thread takes sent messages in whatever loop it is in.
    RelayedHost relayed(host, [window](const std::function<void()>& call) {
        SendMessageW(window, kHostCall, 0, reinterpret_cast<LPARAM>(&call));
    });
    std::atomic<bool> over{false};
    std::exception_ptr error;
    std::thread passThread([&] {
        try {
            pass(relayed);
        } catch (...) {
            error = std::current_exception();
        }
        over = true;
        PostMessageW(window, WM_NULL, 0, 0);  // wakes the wait below
    });
    std::optional<int> quitCode;
    for (;;) {
        HandleQueuedMessages(preTranslate, quitCode);
        if (over)
            break;
        // A message sent (a call of the pass) or posted ends the wait.
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    passThread.join();
    if (quitCode)
        PostQuitMessage(*quitCode);
    if (error)
        std::rethrow_exception(error);
}

}  // namespace pellimar
