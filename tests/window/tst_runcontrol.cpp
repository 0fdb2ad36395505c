// A run from the Qt window: a queued click on Cancel reaches the run, the
// controls show the running state, and closing the window waits for the
// run's end.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "gauge/vantor_gauge.h"
#include "window/window_fixture.h"

using namespace pellimar;
using namespace pellimar::testing;

class TestRunControl : public QObject {
    Q_OBJECT

private slots:
    void cancelClickWorksAtEveryPercent();
    void controlsWhileRunning();
    void closingDuringARunClosesAtItsEnd();
    void collectionWhoseOutputLeadsToAnInputIsRefusedInOneBox();
};

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
        QVERIFY(!f.ui().Action(Command::UsingPellimar)->isEnabled());
        QVERIFY(!f.ui().Action(Command::AboutPellimar)->isEnabled());
        QVERIFY(f.ui().ProgBar1->isVisible());
        QCOMPARE(f.ui().ProgBar1->Progress(), 50);
        QVERIFY(f.ui().lblStaticET->isVisible());
        QVERIFY(f.ui().lblRT->isVisible());
        QCOMPARE(f.window->cursor().shape(), Qt::WaitCursor);
        emit f.ui().fileMenu->aboutToShow();
        QVERIFY(f.ui().Action(Command::BeginOrCancel)->text().startsWith("&Cancel\t"));
        QVERIFY(!f.ui().Action(Command::Exit)->isEnabled());
    };
    f.dialogs.answers = {MessageAnswer::No};
    f.ui().beginButton->click();
    QVERIFY(checked);
    QCOMPARE(f.ui().beginButton->text(), QString("&Begin"));
    QVERIFY(f.ui().exitButton->isEnabled());
    QVERIFY(f.ui().Action(Command::AboutPellimar)->isEnabled());
    QVERIFY(!f.ui().ProgBar1->isVisible());
    QVERIFY(!f.ui().lblStaticET->isVisible());
    QCOMPARE(f.ui().lblET->text(), QString("00:00:00"));
    QCOMPARE(f.window->cursor().shape(), Qt::ArrowCursor);
}

void TestRunControl::closingDuringARunClosesAtItsEnd()
{
    WindowFixture f;
    f.Show();
    f.Prepare(std::string(1000, 'z'), "x");
    f.window->probe = [&](std::int32_t percent) {
        if (percent == 20) {
            f.window->close();
            QVERIFY(f.window->isVisible());
        }
    };
    f.ui().beginButton->click();
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.window->percents.back(), 20);
}

// The output folder holds a symbolic link to one of the inputs under the
// other's name: one box says so as soon as it is chosen, the folder dialog
// comes back, and nothing is written.
void TestRunControl::collectionWhoseOutputLeadsToAnInputIsRefusedInOneBox()
{
    WindowFixture f;
    f.Show();
    const std::string a = f.dir.File("a.fff");
    const std::string b = f.dir.File("b.fff");
    const std::string out = f.dir.File("out");
    WriteFileBytes(a, "<RD>a\r\n");
    WriteFileBytes(b, "<RD>b\r\n");
    std::filesystem::create_directory(out);
    std::filesystem::create_symlink(b, out + "/a.fff");
    f.ui().refCB->SetBytes("x");
    f.dialogs.severalFileAnswers.push_back({a, b});
    f.dialogs.folderAnswers = {out};
    f.ui().Action(Command::ConvertSeveral)->trigger();
    QCOMPARE(f.dialogs.MessageTexts(),
             Names{"The outputs cannot go into " + out + ": it holds inputs of this run. Choose another folder."});
    QCOMPARE(f.dialogs.messages[0].note, "Cannot create file " + out + "/a.fff\rit is " + b + ", an input of this run");
    QCOMPARE(f.dialogs.messages[0].kind, MessageKind::Error);
    QCOMPARE(f.dialogs.folderDialogs.size(), std::size_t(2));
    QCOMPARE(ReadFileBytes(a), std::string("<RD>a\r\n"));
    QCOMPARE(ReadFileBytes(b), std::string("<RD>b\r\n"));
    QCOMPARE(FileNames(out), std::set<std::string>{"a.fff"});
    QVERIFY(std::filesystem::is_symlink(out + "/a.fff"));
    QVERIFY(!f.model().Session().IsRunning());
}

QTEST_MAIN(TestRunControl)
#include "tst_runcontrol.moc"
