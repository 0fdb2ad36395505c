// Preview from the window: when it can be chosen, the checks and the page
// question it shares with Begin, the list it shows, and that it writes
// nothing.
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <filesystem>

#include "window/preview_dialog.h"
#include "window/window_fixture.h"

using namespace pellimar;
using namespace pellimar::testing;

class TestPreview : public QObject {
    Q_OBJECT

private slots:
    void listsTheFirstTwentyReferencesAndWritesNothing();
    void needsTheInputAndTheReferencePattern();
    void makesTheChecksOfBeginButNotThoseOfTheOutput();
    void asksForTheStartingPageAndCancelStopsIt();
    void dialogShowsLineReferenceAndRecord();
};

void TestPreview::listsTheFirstTwentyReferencesAndWritesNothing()
{
    WindowFixture f;
    std::string input = "<RD:Book>Genesis\r\n";
    for (int i = 1; i <= 30; ++i)
        input += "<RD>verse " + std::to_string(i) + "\r\n";
    f.Prepare(input, "1");
    f.ui().LevelBoxes[0]->SetBytes("Book");
    f.ui().previewAction->trigger();
    QCOMPARE(f.dialogs.previews.size(), std::size_t{1});
    const std::vector<PreviewReference>& shown = f.dialogs.previews[0];
    QCOMPARE(shown.size(), std::size_t{20});
    QCOMPARE(shown[0].line, std::int64_t{2});
    QCOMPARE(shown[0].text, std::string("Genesis"));
    QCOMPARE(shown[19].recordStart, std::string("verse 20"));
    QVERIFY(!std::filesystem::exists(f.outputPath));
    QCOMPARE(f.ui().LevelBoxes[0]->History(), (std::vector<std::string>{"Book"}));
    QCOMPARE(f.ui().beginButton->text(), QString("&Begin"));
}

void TestPreview::needsTheInputAndTheReferencePattern()
{
    WindowFixture f;
    emit f.ui().fileMenu->aboutToShow();
    QVERIFY(!f.ui().previewAction->isEnabled());
    f.ui().inEdit->SetBytes("in.fff");
    emit f.ui().fileMenu->aboutToShow();
    QVERIFY(!f.ui().previewAction->isEnabled());
    f.ui().refCB->SetBytes("1");
    emit f.ui().fileMenu->aboutToShow();
    QVERIFY(f.ui().previewAction->isEnabled());  // no output needed
}

void TestPreview::makesTheChecksOfBeginButNotThoseOfTheOutput()
{
    WindowFixture f;
    f.Prepare("<RD>x", "1");
    WriteFileBytes(f.outputPath, "earlier");
    f.ui().previewAction->trigger();  // level 1 has no name
    f.ui().inEdit->SetBytes(f.dir.File("missing.fff"));
    f.ui().previewAction->trigger();
    const std::vector<std::string> expected{"Insufficient information to process reference pattern",
                                            "Input file not found."};
    QCOMPARE(f.dialogs.MessageTexts(), expected);
    QVERIFY(f.dialogs.previews.empty());
    QCOMPARE(ReadFileBytes(f.outputPath), std::string("earlier"));
}

void TestPreview::asksForTheStartingPageAndCancelStopsIt()
{
    WindowFixture f;
    f.Prepare("<RD>x\r\n" + std::string(5000, 'z'), "#");
    f.ui().pageCB->SetBytes("[#]");
    f.dialogs.inputAnswers = {std::string("7")};
    f.ui().previewAction->trigger();
    QCOMPARE(f.dialogs.inputTitles, (std::vector<std::string>{"Input Page Number"}));
    QCOMPARE(f.dialogs.previews.at(0).at(0).text, std::string("7"));

    f.window->probe = [&](std::int32_t percent) {
        if (percent == 10)
            f.ui().beginButton->click();  // reads "&Cancel" while the preview runs
    };
    f.ui().previewAction->trigger();
    QCOMPARE(f.dialogs.previews.size(), std::size_t{1});
    QCOMPARE(f.window->percents.back(), 10);
}

void TestPreview::dialogShowsLineReferenceAndRecord()
{
    TPreviewDialog dialog({{12, "Genesis, p. 1", "<JU:CN>THE FIRST BOOK"}, {14, "Genesis 1, p. 1", "Chapter 1"}});
    QTableWidget* table = dialog.Table();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QString("12"));
    QCOMPARE(table->item(0, 1)->text(), QString("Genesis, p. 1"));
    QCOMPARE(table->item(1, 2)->text(), QString("Chapter 1"));
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
