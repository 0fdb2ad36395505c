// A window model over a fake window, scripted dialogs and a temporary
// settings folder.
#pragma once

#include <gtest/gtest.h>

#include "settings/settings_paths.h"
#include "support/temp_dir.h"
#include "window_model/fake_dialogs.h"
#include "window_model/fake_window_view.h"

namespace pellimar::testing {

using Names = std::vector<std::string>;

struct ModelFixture {
    // `startFiles`: the files the program was started with.
    explicit ModelFixture(PassRunner runPass = {}, std::vector<std::string> startFiles = {})
        : model(view, Services(std::move(runPass), std::move(startFiles)))
    {
        view.model = &model;
    }

    WindowServices Services(PassRunner runPass, std::vector<std::string> startFiles)
    {
        WindowServices services;
        services.runPass = std::move(runPass);
        services.startFiles = std::move(startFiles);
        services.dialogs = &dialogs;
        services.launcher = &launcher;
        services.settingsPaths = Paths();
        services.guidePath = dir.File("guide.md");
        services.clock = [this] { return now; };
        return services;
    }

    SettingsPaths Paths() const { return SettingsPathsIn(dir.Path(), "pellimar"); }

    // The user types a box's whole text.
    void Type(HistoryBox box, const std::string& text)
    {
        view.SetBoxText(box, text);
        model.BoxEdited(box);
    }

    // Gives a box this history (top first), as pressing Enter over each
    // entry in turn would; the box's text stays as it was.
    void SeedHistory(HistoryBox box, const Names& entries)
    {
        const std::string shown = view.BoxText(box);
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            view.SetBoxText(box, *entry);
            model.EnterInBox(box);
        }
        view.SetBoxText(box, shown);
    }

    // The texts of the seven level boxes.
    Names LevelTexts() const { return Names(view.texts.begin(), view.texts.begin() + kLevelCount); }

    // Input, output and reference pattern filled for a run over `input`.
    void Prepare(const std::string& input, const std::string& refPattern = "1")
    {
        inputPath = dir.File("in.fff");
        outputPath = dir.File("out.fff");
        WriteFileBytes(inputPath, input);
        Type(HistoryBox::InputFile, inputPath);
        Type(HistoryBox::OutputFile, outputPath);
        Type(HistoryBox::RefPattern, refPattern);
    }

    TempDir dir;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    std::int64_t now = 0;
    FakeWindowView view;
    MainWindowModel model;
    std::string inputPath;
    std::string outputPath;
};

}  // namespace pellimar::testing
