// window_bench_win32: times a conversion run from the Windows main window,
// shown on the screen, with every question answered "No", and counts the
// progress steps, each brought from the pass's thread to the window's.
//
//   window_bench_win32 INPUT OUTPUT
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <filesystem>
#include <utility>

#include "quiet_services.h"
#include "settings/settings_paths.h"
#include "streams/wide_names.h"
#include "window_win32/main_window_win32.h"

namespace {

using namespace pellimar;

double Seconds()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// At each progress step, brought to the window's thread, the window shows
// the progress; the time that takes is what the window adds to the pass.
class CountingView : public Win32MainWindowView {
public:
    void ProcessPendingEvents() override
    {
        const double start = Seconds();
        if (steps++ == 0)
            firstStep = start;
        Win32MainWindowView::ProcessPendingEvents();
        lastStep = Seconds();
        inSteps += lastStep - start;
    }
    void SetGaugeProgress(std::int32_t percent) override
    {
        const double start = Seconds();
        Win32MainWindowView::SetGaugeProgress(percent);
        inGauge += Seconds() - start;
    }
    void SetTimeReadouts(const std::string& elapsed, const std::string& remaining) override
    {
        const double start = Seconds();
        Win32MainWindowView::SetTimeReadouts(elapsed, remaining);
        inReadouts += Seconds() - start;
    }
    int steps = 0;
    double firstStep = 0;
    double lastStep = 0;
    double inSteps = 0;
    double inGauge = 0;
    double inReadouts = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_bench_win32 INPUT OUTPUT\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    const auto settingsDir = std::filesystem::temp_directory_path() / "pellimar-window-bench";
    std::filesystem::create_directories(settingsDir);
    NoDialogs dialogs;
    NoLauncher launcher;
    WindowServices services{&dialogs, &launcher, SettingsPathsIn(settingsDir, "pellimar"), "", {}, {}, {}};
    CountingView view;
    Win32MainWindow window(view, services);
    if (!window.Create(GetModuleHandleW(nullptr))) {
        std::fprintf(stderr, "window_bench_win32: the window could not be created\n");
        return 1;
    }
    ShowWindow(window.Handle(), SW_SHOWNORMAL);
    UpdateWindow(window.Handle());
    DeleteFileW(argv[2]);
    const std::pair<HistoryBox, std::string> texts[] = {
        {HistoryBox::InputFile, NameOfWide(argv[1])},
        {HistoryBox::OutputFile, NameOfWide(argv[2])},
        {HistoryBox::RefPattern, "2 3, p. #"},
        {HistoryBox::PagePattern, "[#]"},
        {HistoryBox::Level1, "Testament"},
        {HistoryBox::Level2, "Book Name"},
        {HistoryBox::Level3, "Chapter"},
    };
    for (const auto& [box, text] : texts)
        view.SetBoxText(box, text);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    view.steps = 0;

    const double start = Seconds();
    window.Model().Carry(Command::BeginOrCancel);
    const double end = Seconds();
    std::printf("%.3f s, %d progress steps taking %.3f s, the gauge %.3f s, the time readouts %.3f s, the first step "
                "after %.3f s, the last %.3f s before the end; %s\n",
                end - start, view.steps, view.inSteps, view.inGauge, view.inReadouts, view.firstStep - start,
                end - view.lastStep, dialogs.lastMessage.c_str());
    return 0;
}
