// A real main window over fake dialogs and a temporary settings folder, with
// a probe that runs at each progress step of a run.
#pragma once

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>

#include "settings/settings_paths.h"
#include "support/temp_dir.h"
#include "window/history_combo.h"
#include "window/main_window.h"
#include "window/main_window_access.h"
#include "window_model/fake_dialogs.h"

namespace pellimar::testing {

using Names = std::vector<std::string>;

// The texts of the seven level boxes.
inline Names LevelBoxTexts(TZUDIzazu& window)
{
    Names texts;
    for (const HistoryComboBox* box : MainWindowTestAccess::Ui(window).LevelBoxes)
        texts.push_back(box->Bytes());
    return texts;
}

// The run lets the window handle its events once at each progress step;
// the view tells each time it has.
class ProbedView : public QtMainWindowView {
public:
    ProbedView(QWidget& window, const MainWindowUi& ui, std::function<void()> eventsProcessed)
        : QtMainWindowView(window, ui), eventsProcessed_(std::move(eventsProcessed))
    {
    }
    void ProcessPendingEvents() override
    {
        QtMainWindowView::ProcessPendingEvents();
        eventsProcessed_();
    }

private:
    std::function<void()> eventsProcessed_;
};

class ProbedWindow : public TZUDIzazu {
public:
    explicit ProbedWindow(WindowServices services)
        : TZUDIzazu(std::move(services), [this](QWidget& window, const MainWindowUi& ui) {
              return std::make_unique<ProbedView>(window, ui, [this] { EventsProcessed(); });
          })
    {
    }
    void EventsProcessed()
    {
        percents.push_back(Model().Session().RunPercent());
        if (probe)
            probe(Model().Session().RunPercent());
    }
    std::function<void(std::int32_t)> probe;
    std::vector<std::int32_t> percents;
};

struct WindowFixture {
    // `startFiles`: the files the program was started with.
    explicit WindowFixture(Names startFiles = {})
    {
        WindowServices services;
        services.startFiles = std::move(startFiles);
        services.dialogs = &dialogs;
        services.launcher = &launcher;
        services.settingsPaths = SettingsPathsIn(dir.Path(), "pellimar");
        services.guidePath = dir.File("guide.md");
        services.clock = [this] { return now; };
        window = std::make_unique<ProbedWindow>(services);
    }

    void Show()
    {
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    MainWindowUi& ui() { return MainWindowTestAccess::Ui(*window); }
    WindowView& view() { return MainWindowTestAccess::View(*window); }
    MainWindowModel& model() { return window->Model(); }

    // Gives a box this history (top first), as pressing Enter over each
    // entry in turn would; the box's text stays as it was.
    void SeedHistory(HistoryBox box, const Names& entries)
    {
        const std::string shown = view().BoxText(box);
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            view().SetBoxText(box, *entry);
            model().EnterInBox(box);
        }
        view().SetBoxText(box, shown);
    }

    // Input, output and reference pattern filled for a run over `input`.
    void Prepare(const std::string& input, const std::string& refPattern = "1")
    {
        inputPath = dir.File("in.fff");
        outputPath = dir.File("out.fff");
        WriteFileBytes(inputPath, input);
        ui().inEdit->SetBytes(inputPath);
        ui().outEdit->SetBytes(outputPath);
        ui().refCB->SetBytes(refPattern);
    }

    TempDir dir;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    std::int64_t now = 0;
    std::unique_ptr<ProbedWindow> window;
    std::string inputPath;
    std::string outputPath;
};

}  // namespace pellimar::testing
