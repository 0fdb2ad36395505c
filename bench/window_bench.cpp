// window_bench: times a conversion run from the main window (offscreen, with
// every question answered "No") and counts the progress steps and repaints
// of the window during it.
//
//   window_bench INPUT OUTPUT
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

#include "gauge/vantor_gauge.h"
#include "quiet_services.h"
#include "window/history_combo.h"
#include "window/main_window.h"

namespace {

using namespace pellimar;

// The run lets the window handle its events once at each progress step.
class CountingView : public QtMainWindowView {
public:
    CountingView(QWidget& window, const MainWindowUi& ui, std::function<void()> stepTaken)
        : QtMainWindowView(window, ui), stepTaken_(std::move(stepTaken))
    {
    }
    void ProcessPendingEvents() override
    {
        stepTaken_();
        QtMainWindowView::ProcessPendingEvents();
    }

private:
    std::function<void()> stepTaken_;
};

class CountingWindow : public TZUDIzazu {
public:
    explicit CountingWindow(WindowServices services)
        : TZUDIzazu(std::move(services), [this](QWidget& window, const MainWindowUi& ui) {
              return std::make_unique<CountingView>(window, ui, [this] { ++steps; });
          })
    {
    }
    int steps = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_bench INPUT OUTPUT\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const auto settingsDir = std::filesystem::temp_directory_path() / "pellimar-window-bench";
    std::filesystem::create_directories(settingsDir);
    NoDialogs dialogs;
    NoLauncher launcher;
    WindowServices services{&dialogs, &launcher, SettingsPathsIn(settingsDir, "pellimar"), "", {}, {}, {}};
    CountingWindow window(services);
    window.show();
    std::filesystem::remove(argv[2]);
    const std::pair<const char*, const char*> texts[] = {
        {"inEdit", argv[1]},     {"outEdit", argv[2]},       {"refCB", "2 3, p. #"}, {"pageCB", "[#]"},
        {"L1CB", "Testament"}, {"L2CB", "Book Name"}, {"L3CB", "Chapter"},
    };
    for (const auto& [box, text] : texts)
        window.findChild<HistoryComboBox*>(box)->SetBytes(text);

    QElapsedTimer timer;
    timer.start();
    window.Model().Carry(Command::BeginOrCancel);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    std::printf("%.3f s, %d progress steps; %s\n", seconds, window.steps, dialogs.lastMessage.c_str());
    return 0;
}
