// Begin and Cancel from the window: the checks, the run, the window while it
// runs, the dialogues at the end, and the viewer.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "gauge/vantor_gauge.h"
#include "settings/settings_store.h"
#include "window/window_fixture.h"

using namespace pellimar;
using namespace pellimar::testing;

namespace {

const std::string kBook = "<RD:Book>Genesis\r\n";

std::string Records(int count)
{
    std::string text = kBook;
    for (int i = 0; i < count; ++i)
        text += "<RD>record text\r\n";
    return text;
}

}  // namespace

class TestRunControl : public QObject {
    Q_OBJECT

private slots:
    void completeRunReportsTheCountAndLaunchesTheViewer();
    void levelRecordsWithIdsReadOnlyWithTheSwitchOrAdvised();
    void answeringNoLaunchesNothing();
    void missingViewerIsReported();
    void missingInputIsReported();
    void patternChecksStopTheRun();
    void overwriteYesRunsIntoTheFile();
    void overwriteNoAsksForANewName();
    void overwriteCancelStopsTheRun();
    void cancelDuringTheRunOffersToDeleteTheOutput_data();
    void cancelDuringTheRunOffersToDeleteTheOutput();
    void cancelClickWorksAtEveryPercent();
    void errorFromThePassRestoresTheWindow();
    void controlsWhileRunning();
    void progressMeterOffShowsOnlyTheTimes();
    void switchingTheMeterOffDuringARunStopsFeedingIt();
    void startingPageIsAskedThroughTheInputBox();
    void closingDuringARunCancelsSavesAndCloses();
    void viewerPathIsSetAndStored();
    void cancelledViewerDialogChangesNothing();
};

void TestRunControl::completeRunReportsTheCountAndLaunchesTheViewer()
{
    WindowFixture f;
    f.Prepare(Records(3));
    f.ui().LevelBoxes[0]->setEditText("Book");
    f.model().ChooseViewer();  // cancelled: no viewer yet
    f.dialogs.fileAnswers = {std::string("/opt/view er/viewer")};
    f.model().ChooseViewer();
    f.dialogs.answers = {MessageAnswer::Yes};
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.MessageTexts(), (std::vector<std::string>{"3 total references created.\rView output file?"}));
    QCOMPARE(f.dialogs.messages[0].kind, MessageKind::Confirm);
    QCOMPARE(f.launcher.started.size(), std::size_t{1});
    QCOMPARE(f.launcher.started[0].first, std::string("/opt/view er/viewer"));
    QCOMPARE(f.launcher.started[0].second, f.outputPath);
    QVERIFY(ReadFileBytes(f.outputPath).find("<CS:Reference>Genesis<CR>") != std::string::npos);
}

void TestRunControl::levelRecordsWithIdsReadOnlyWithTheSwitchOrAdvised()
{
    WindowFixture f;
    f.Prepare("<RD,ID:1:Book>Genesis\r\n<RD,ID:2>text\r\n");
    f.ui().LevelBoxes[0]->setEditText("Book");
    f.model().BeginOrCancel();
    f.dialogs.answers = {MessageAnswer::Yes};  // overwrite the first output
    f.ui().idRecordsAction->trigger();
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.MessageTexts(), (std::vector<std::string>{"0 total references created.\rView output file?",
                                                                 "Output File Exists.  Overwrite?",
                                                                 "1 total references created.\rView output file?"}));
    QVERIFY(f.dialogs.messages[0].note.starts_with("1 record codes of this file name a level in the form "));
    QVERIFY(f.dialogs.messages[0].note.find("ID record levels") != std::string::npos);
    QCOMPARE(f.dialogs.messages[2].note, std::string());
}

void TestRunControl::answeringNoLaunchesNothing()
{
    WindowFixture f;
    f.Prepare("no records here", "x");
    f.dialogs.answers = {MessageAnswer::No};
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.MessageTexts(), (std::vector<std::string>{"0 total references created.\rView output file?"}));
    QVERIFY(f.launcher.started.empty());
}

void TestRunControl::missingViewerIsReported()
{
    WindowFixture f;
    f.Prepare("text", "x");
    f.dialogs.answers = {MessageAnswer::Yes};
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.messages.back().text, std::string("FFFViewer key is not set in the INI-file"));
    QCOMPARE(f.dialogs.messages.back().kind, MessageKind::Error);
    QVERIFY(f.launcher.started.empty());
}

void TestRunControl::missingInputIsReported()
{
    WindowFixture f;
    f.Prepare("text");
    f.ui().inEdit->SetBytes(f.dir.File("missing.fff"));
    f.model().BeginOrCancel();
    f.ui().inEdit->SetBytes(f.dir.Path().string());  // a folder
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.MessageTexts(), (std::vector<std::string>{"Input file not found.", "Input file not found."}));
    QCOMPARE(f.dialogs.messages[0].kind, MessageKind::Error);
    QVERIFY(!std::filesystem::exists(f.outputPath));
}

void TestRunControl::patternChecksStopTheRun()
{
    WindowFixture f;
    f.Prepare("text", "1 #");
    f.ui().LevelBoxes[0]->setEditText("Book");
    f.model().BeginOrCancel();
    f.ui().pageCB->setEditText("[x]");
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.MessageTexts(), (std::vector<std::string>{"Insufficient information to process reference pattern",
                                                                 "Page # Pattern must contain #"}));
    QVERIFY(!std::filesystem::exists(f.outputPath));
}

void TestRunControl::overwriteYesRunsIntoTheFile()
{
    WindowFixture f;
    f.Prepare("new text", "x");
    WriteFileBytes(f.outputPath, "old");
    f.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No};
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.messages[0].text, std::string("Output File Exists.  Overwrite?"));
    QCOMPARE(f.dialogs.messages[0].kind, MessageKind::Warning);
    QCOMPARE(f.dialogs.messages[0].buttons, MessageButtons::YesNoCancel);
    QCOMPARE(ReadFileBytes(f.outputPath), std::string("new text"));
}

void TestRunControl::overwriteNoAsksForANewName()
{
    WindowFixture f;
    f.Prepare("new text", "x");
    WriteFileBytes(f.outputPath, "old");
    const std::string other = f.dir.File("other.fff");
    f.dialogs.answers = {MessageAnswer::No, MessageAnswer::No};
    f.dialogs.fileAnswers = {other};
    f.model().BeginOrCancel();
    QVERIFY(f.dialogs.fileDialogs.back().save);
    QVERIFY(f.dialogs.fileDialogs.back().state.overwritePrompt);
    QCOMPARE(ReadFileBytes(f.outputPath), std::string("old"));
    QCOMPARE(ReadFileBytes(other), std::string("new text"));
    QCOMPARE(f.ui().outEdit->Bytes(), other);
}

void TestRunControl::overwriteCancelStopsTheRun()
{
    WindowFixture f;
    f.Prepare("new text", "x");
    WriteFileBytes(f.outputPath, "old");
    f.dialogs.answers = {MessageAnswer::Cancel};
    f.model().BeginOrCancel();
    f.dialogs.answers = {MessageAnswer::No};  // then the save dialog is cancelled
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.messages.size(), std::size_t{2});
    QCOMPARE(ReadFileBytes(f.outputPath), std::string("old"));
}

void TestRunControl::cancelDuringTheRunOffersToDeleteTheOutput_data()
{
    QTest::addColumn<bool>("deleteIt");
    QTest::newRow("yes deletes") << true;
    QTest::newRow("no keeps") << false;
}

// Over an earlier output: Yes leaves that file as it was, No puts the
// partial output in its place; nothing else is left in the folder.
void TestRunControl::cancelDuringTheRunOffersToDeleteTheOutput()
{
    QFETCH(bool, deleteIt);
    WindowFixture f;
    f.Prepare(std::string(1000, 'x'), "x");
    WriteFileBytes(f.outputPath, "earlier output");
    f.window->probe = [&](std::int32_t percent) {
        if (percent == 40)
            f.model().BeginOrCancel();  // reads "&Cancel" now
    };
    f.dialogs.answers = {MessageAnswer::Yes, deleteIt ? MessageAnswer::Yes : MessageAnswer::No};
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.MessageTexts(), (std::vector<std::string>{"Output File Exists.  Overwrite?",
                                                                 "Operation Canceled.\rDelete output file?"}));
    QCOMPARE(f.window->percents.back(), 40);
    QCOMPARE(ReadFileBytes(f.outputPath), deleteIt ? std::string("earlier output") : std::string(400, 'x'));
    QCOMPARE(FileNames(f.dir.Path()), (std::set<std::string>{"in.fff", "out.fff"}));
}

// A click queued at any percent is handled at the next progress step, which
// is the only place the window processes events during a run.
void TestRunControl::cancelClickWorksAtEveryPercent()
{
    WindowFixture f;
    f.Show();
    f.Prepare(std::string(2000, 'c'), "x");
    for (int clickAt = 0; clickAt < 99; ++clickAt) {
        f.window->percents.clear();
        std::filesystem::remove(f.outputPath);
        f.window->probe = [&](std::int32_t percent) {
            if (percent == clickAt)
                QMetaObject::invokeMethod(f.ui().beginButton, "click", Qt::QueuedConnection);
        };
        f.dialogs.answers = {MessageAnswer::No};
        f.ui().beginButton->click();
        QCOMPARE(f.window->percents.back(), clickAt + 1);
        QCOMPARE(f.dialogs.messages.back().text, std::string("Operation Canceled.\rDelete output file?"));
        QCOMPARE(ReadFileBytes(f.outputPath).size(), std::size_t(20 * (clickAt + 1)));
    }
}

void TestRunControl::errorFromThePassRestoresTheWindow()
{
    WindowFixture f;
    f.Prepare("text", "x");
    f.ui().outEdit->SetBytes(f.dir.File("no/such/folder/out.fff"));
    f.ui().beginButton->click();
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(f.dialogs.errorBoxes.size(), std::size_t{1});
    QCOMPARE(f.dialogs.errorBoxes[0].second, "Cannot create file " + f.dir.File("no/such/folder/out.fff") + ".");
    QCOMPARE(f.ui().beginButton->text(), QString("&Begin"));
    QVERIFY(f.ui().exitButton->isEnabled());
    QVERIFY(!f.model().IsRunning());
    QVERIFY(!f.ui().lblET->isVisibleTo(f.window.get()));
}

void TestRunControl::controlsWhileRunning()
{
    WindowFixture f;
    f.Show();
    f.Prepare(std::string(2000, 'y'), "x");
    bool checked = false;
    f.window->probe = [&](std::int32_t percent) {
        if (percent != 50)
            return;
        checked = true;
        QCOMPARE(f.ui().beginButton->text(), QString("&Cancel"));
        QVERIFY(f.ui().beginButton->isEnabled());
        QVERIFY(!f.ui().exitButton->isEnabled());
        QVERIFY(!f.ui().usingAction->isEnabled());
        QVERIFY(!f.ui().aboutAction->isEnabled());
        QVERIFY(f.ui().ProgBar1->isVisible());
        QCOMPARE(f.ui().ProgBar1->Progress(), 50);
        QVERIFY(f.ui().lblStaticET->isVisible());
        QVERIFY(f.ui().lblRT->isVisible());
        QCOMPARE(f.window->cursor().shape(), Qt::WaitCursor);
        f.ui().inEdit->setEditText("");  // emptying a box must not lose Cancel
        QVERIFY(f.ui().beginButton->isEnabled());
        f.model().FileMenuOpening();
        QVERIFY(f.ui().beginAction->text().startsWith("&Cancel"));
        QVERIFY(!f.ui().exitAction->isEnabled());
    };
    f.dialogs.answers = {MessageAnswer::No};
    f.model().BeginOrCancel();
    QVERIFY(checked);
    QCOMPARE(f.ui().beginButton->text(), QString("&Begin"));
    QVERIFY(!f.ui().beginButton->isEnabled());  // the input box was emptied during the run
    QVERIFY(f.ui().exitButton->isEnabled());
    QVERIFY(f.ui().aboutAction->isEnabled());
    QVERIFY(!f.ui().ProgBar1->isVisible());
    QVERIFY(!f.ui().lblStaticET->isVisible());
    QCOMPARE(f.ui().lblET->text(), QString("00:00:00"));
    QCOMPARE(f.window->cursor().shape(), Qt::ArrowCursor);
}

void TestRunControl::progressMeterOffShowsOnlyTheTimes()
{
    WindowFixture f;
    f.Show();
    f.model().ToggleShowProgMeter();
    f.Prepare(std::string(100, 'y'), "x");
    const std::int32_t before = f.ui().ProgBar1->Progress();
    bool seen = false;
    f.window->probe = [&](std::int32_t) {
        seen = true;
        QVERIFY(!f.ui().ProgBar1->isVisible());
        QVERIFY(f.ui().lblET->isVisible());
    };
    f.model().BeginOrCancel();
    QVERIFY(seen);
    QCOMPARE(f.ui().ProgBar1->Progress(), before);
}

void TestRunControl::switchingTheMeterOffDuringARunStopsFeedingIt()
{
    WindowFixture f;
    f.Show();
    f.Prepare(std::string(100, 'y'), "x");
    f.window->probe = [&](std::int32_t percent) {
        if (percent == 30)
            f.model().ToggleShowProgMeter();
    };
    f.model().BeginOrCancel();
    QCOMPARE(f.ui().ProgBar1->Progress(), 30);
    QVERIFY(!f.ui().ProgBar1->isVisible());
}

void TestRunControl::startingPageIsAskedThroughTheInputBox()
{
    WindowFixture f;
    f.Prepare(Records(2), "1 #");
    f.ui().LevelBoxes[0]->setEditText("Book");
    f.ui().pageCB->setEditText("[#]");
    f.dialogs.inputAnswers = {std::string("17")};
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.inputTitles, (std::vector<std::string>{"Input Page Number"}));
    QVERIFY(ReadFileBytes(f.outputPath).find("Genesis 17<CR>") != std::string::npos);
}

// Closing asks nothing: the run stops and changes no file.
void TestRunControl::closingDuringARunCancelsSavesAndCloses()
{
    WindowFixture f;
    f.Show();
    f.Prepare(std::string(1000, 'z'), "x");
    WriteFileBytes(f.outputPath, "earlier output");
    f.dialogs.answers = {MessageAnswer::Yes};  // overwrite
    f.SeedHistory(HistoryBox::RefPattern, {"x"});
    f.window->probe = [&](std::int32_t percent) {
        if (percent == 20)
            f.window->close();
    };
    f.model().BeginOrCancel();
    QCOMPARE(f.dialogs.messages.size(), std::size_t{1});  // no end dialogue
    QVERIFY(!f.window->isVisible());
    QCOMPARE(ReadFileBytes(f.outputPath), std::string("earlier output"));
    QCOMPARE(LoadSettings(SettingsPathsIn(f.dir.Path(), "pellimar")).refPatternHistory,
             (std::vector<std::string>{"x"}));
}

void TestRunControl::viewerPathIsSetAndStored()
{
    WindowFixture f;
    f.dialogs.fileAnswers = {std::string("/usr/local/bin/ffview")};
    f.model().ChooseViewer();
    // Programs here have no ".exe": the dialog opens on all files, and the
    // entry for executables is still there to choose.
    const FileDialogState& shown = f.dialogs.fileDialogs[0].state;
    QCOMPARE(shown.filters.at(shown.filterIndex - 1).description, std::string("All Files (*.*)"));
    QCOMPARE(shown.filters.at(3).description, std::string("Executable Files (*.exe)"));
    QCOMPARE(f.model().OpenDialog().filterIndex, 1);
    QCOMPARE(f.model().ViewerPath(), std::string("/usr/local/bin/ffview"));
    QCOMPARE(LoadSettings(SettingsPathsIn(f.dir.Path(), "pellimar")).viewerPath,
             std::string("/usr/local/bin/ffview"));
}

void TestRunControl::cancelledViewerDialogChangesNothing()
{
    WindowFixture f;
    f.model().ChooseViewer();
    QVERIFY(f.model().ViewerPath().empty());
    QVERIFY(!std::filesystem::exists(SettingsPathsIn(f.dir.Path(), "pellimar").iniFile));
    QCOMPARE(f.model().OpenDialog().filterIndex, 1);
}

QTEST_MAIN(TestRunControl)
#include "tst_runcontrol.moc"
