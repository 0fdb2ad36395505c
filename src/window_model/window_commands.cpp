// The window's commands: the boxes' events and the rule that enables Begin,
// the menus and their shortcuts, the file dialogs, files dropped on the
// window, the preferences, About and Help.
#include <utility>

#include "window_model/dropped_file.h"
#include "window_model/main_window_model.h"

namespace pellimar {
namespace {

const char* const kAboutLines[] = {
    "Folio Flat File Pellimar",
    "For use with Views 3.1 Flat File code.",
    "",
    "Version " PELLIMAR_VERSION,
    "First released in 1998. (c) 2026 The Pellimar developers, under the MIT licence.",
    "",
    "Concept: the Pellimar editors.",
    "Programming: the Pellimar developers.",
};

// The boxes whose texts the Begin rule reads.
bool ReadByBeginRule(HistoryBox box)
{
    return box == HistoryBox::InputFile || box == HistoryBox::OutputFile || box == HistoryBox::RefPattern;
}

}  // namespace

void MainWindowModel::FocusReached(std::optional<HistoryBox> box)
{
    if (const std::optional<HistoryBox> left = boxExitRule_.FocusReached(box))
        BoxLeft(*left);
}

void MainWindowModel::BoxEdited(HistoryBox box)
{
    if (ReadByBeginRule(box))
        session_.UpdateBeginButton();
}

void MainWindowModel::BoxLeft(HistoryBox box)
{
    Guarded(*services_.dialogs, [&] {
        boxes_.AddShown(box);
        session_.UpdateBeginButton();
    });
}

void MainWindowModel::EnterInBox(HistoryBox box)
{
    boxes_.AddShown(box);
    session_.UpdateBeginButton();
}

void MainWindowModel::DeleteShownEntry(HistoryBox box)
{
    boxes_.RemoveShown(box);
    session_.UpdateBeginButton();
}

bool MainWindowModel::AcceptsTypedCharacter(HistoryBox box, char typed) const
{
    return !(FiltersBrackets(box) && (typed == '[' || typed == ']'));
}

void MainWindowModel::Carry(Command command)
{
    switch (command) {
    case Command::LoadLevels: levelNames_.Load(); break;
    case Command::InputFile: ChooseFile(HistoryBox::InputFile); break;
    case Command::OutputFile: ChooseFile(HistoryBox::OutputFile); break;
    case Command::BeginOrCancel: single_.BeginOrCancel(); break;
    case Command::Preview: single_.Preview(); break;
    case Command::ConvertSeveral:
        // Files the program was started with wait until a run takes them.
        if (collection_.ConvertSeveralFiles(chosenSeveral_))
            chosenSeveral_.clear();
        break;
    case Command::PreviewSeveral: collection_.PreviewSeveralFiles(); break;
    case Command::SetViewer: Guarded(*services_.dialogs, [this] { viewer_.Choose(); }); break;
    case Command::Exit: view_.CloseWindow(); break;
    case Command::UsingPellimar:
        Guarded(*services_.dialogs, [this] { services_.dialogs->ShowHelp(services_.guidePath); });
        break;
    case Command::AboutPellimar: ShowAbout(); break;
    }
}

void MainWindowModel::ShortcutPressed(Command command)
{
    FileMenuOpening();
    if (CurrentMenuState().Enabled(command))
        Carry(command);
}

// Begin mirrors its button, and Exit and Help are off while a run lasts.
MenuState MainWindowModel::CurrentMenuState() const
{
    const bool running = session_.IsRunning();
    MenuState state;
    state.enabled.fill(true);
    state.beginCaption = running ? kCancelCaption : kBeginCaption;
    state.enabled[static_cast<int>(Command::BeginOrCancel)] = session_.BeginEnabled();
    state.enabled[static_cast<int>(Command::Preview)] =
        !running && !boxes_.Shown(HistoryBox::InputFile).empty() && !boxes_.Shown(HistoryBox::RefPattern).empty();
    // As Begin, they need the reference pattern.
    for (const Command several : {Command::ConvertSeveral, Command::PreviewSeveral})
        state.enabled[static_cast<int>(several)] = !running && !boxes_.Shown(HistoryBox::RefPattern).empty();
    for (const Command off : {Command::Exit, Command::UsingPellimar, Command::AboutPellimar})
        state.enabled[static_cast<int>(off)] = !running;
    return state;
}

void MainWindowModel::FileMenuOpening()
{
    view_.ShowMenuState(CurrentMenuState());
}

void MainWindowModel::PreferencesMenuOpening()
{
    view_.ShowPreferenceMarks(preferences_);
}

void MainWindowModel::TogglePreference(Preference preference)
{
    preferences_.Toggle(preference);
}

// The file chosen goes into its box, which takes the focus; Begin may now
// have what it needs.
void MainWindowModel::ChooseFile(HistoryBox box)
{
    Guarded(*services_.dialogs, [this, box] {
        const std::optional<std::string> chosen =
            box == HistoryBox::InputFile ? choices_.Input() : choices_.Output();
        if (chosen) {
            boxes_.Show(box, *chosen);
            view_.FocusBox(box);
        }
        session_.UpdateBeginButton();
    });
}

// A definition file fills the level names as "Load Levels" does; any other
// file becomes the input, and names the output when none is given.
void MainWindowModel::FileDropped(const std::string& path)
{
    Guarded(*services_.dialogs, [&] {
        if (IsDefinitionFile(path))
            levelNames_.Take(path);
        else
            TakeInputFile(path);
    });
    session_.UpdateBeginButton();
}

void MainWindowModel::FilesDropped(const std::vector<std::string>& paths)
{
    if (paths.size() == 1)
        FileDropped(paths.front());
    else if (paths.size() > 1)
        collection_.ConvertSeveralFiles(paths);
}

void MainWindowModel::TakeInputFile(const std::string& path)
{
    boxes_.Show(HistoryBox::InputFile, path);
    // As after the input-file dialog, the output dialog starts on the input's name.
    choices_.InputTaken(path);
    if (boxes_.Shown(HistoryBox::OutputFile).empty())
        boxes_.Show(HistoryBox::OutputFile, DerivedOutputPath(path));
}

void MainWindowModel::ShowAbout()
{
    Guarded(*services_.dialogs, [this] {
        std::string text = kAboutLines[0];
        for (std::size_t i = 1; i < std::size(kAboutLines); ++i)
            text += std::string("\r") + kAboutLines[i];
        services_.dialogs->ShowMessage(MessageKind::Information, text, MessageButtons::Ok);
    });
}

}  // namespace pellimar
