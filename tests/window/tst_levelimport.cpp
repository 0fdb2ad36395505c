// "Load Levels" in the window: the seven level boxes filled from a chosen
// definition file.
#include <QTest>

#include "window/window_fixture.h"

using namespace pellimar;
using namespace pellimar::testing;

namespace {



}  // namespace

class TestLevelImport : public QObject {
    Q_OBJECT

private slots:
    void fillsTheBoxesFromTheFile_data();
    void fillsTheBoxesFromTheFile();
    void leavesTheHistoriesAlone();
    void cancelledDialogLeavesTheBoxesEmpty();
    void unopenableFileReachesTheErrorHandler();
    void sharedHelpDefinitionFile();
};

void TestLevelImport::fillsTheBoxesFromTheFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("tome book chapter verse") << QByteArray("<LN:Tome,Book,Chapter,Verse>\r\n")
                                             << QStringList{"Book", "Chapter", "Verse", "", "", "", ""};
    QTest::newRow("quoted names") << QByteArray("<LN:T,\"Sub Section\", \"Part\">\r\n")
                                  << QStringList{"Sub Section", " \"Part", "", "", "", "", ""};
    QTest::newRow("more than eight fields") << QByteArray("<LN:T,a,b,c,d,e,f,g,h,i>\r\n")
                                            << QStringList{"a", "b", "c", "d", "e", "f", "g"};
    QTest::newRow("lines before, second line ignored")
        << QByteArray("<DE:x>\r\n\r\nsome text, here\r\n<ln:T,First>\r\n<LN:T,Second>\r\n")
        << QStringList{"First", "", "", "", "", "", ""};
    QTest::newRow("LF only") << QByteArray("a\n<LN:T,Book,Verse>\n")
                             << QStringList{"Book", "Verse", "", "", "", "", ""};
    QTest::newRow("CR only") << QByteArray("a\r<LN:T,Book,Verse>\r")
                             << QStringList{"Book", "Verse", "", "", "", "", ""};
    QTest::newRow("no comma") << QByteArray("<LN:Book>\r\n") << QStringList{"", "", "", "", "", "", ""};
}

void TestLevelImport::fillsTheBoxesFromTheFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, names);
    WindowFixture f;
    for (THistoryComboBox* box : f.ui().LevelBoxes)
        box->setEditText("old");
    const std::string path = f.dir.File("levels.def");
    WriteFileBytes(path, file.toStdString());
    f.dialogs.fileAnswers = {path};
    f.model().LoadLevels();
    Names expected;
    for (const QString& name : names)
        expected.push_back(name.toStdString());
    QCOMPARE(BoxTexts(*f.window), expected);
    QCOMPARE(f.dialogs.fileDialogs[0].state.filterIndex, 2);
    QCOMPARE(f.dialogs.fileDialogs[0].state.fileName, std::string());
    QCOMPARE(f.model().OpenDialog().filterIndex, 1);
    QCOMPARE(f.model().OpenDialog().fileName, std::string());
}

void TestLevelImport::leavesTheHistoriesAlone()
{
    WindowFixture f;
    f.SeedHistory(HistoryBox::Level1, {"Tome"});
    const std::string path = f.dir.File("levels.def");
    WriteFileBytes(path, "<LN:T,Book>\r\n");
    f.dialogs.fileAnswers = {path};
    f.model().LoadLevels();
    QCOMPARE(f.ui().LevelBoxes[0]->History(), (Names{"Tome"}));
    QCOMPARE(f.ui().LevelBoxes[0]->Bytes(), std::string("Book"));
}

void TestLevelImport::cancelledDialogLeavesTheBoxesEmpty()
{
    WindowFixture f;
    for (THistoryComboBox* box : f.ui().LevelBoxes)
        box->setEditText("old");
    f.model().LoadLevels();
    QCOMPARE(BoxTexts(*f.window), Names(kLevelCount, ""));
    QCOMPARE(f.model().OpenDialog().filterIndex, 1);
}

void TestLevelImport::unopenableFileReachesTheErrorHandler()
{
    WindowFixture f;
    const std::string missing = f.dir.File("missing.def");
    f.dialogs.fileAnswers = {missing};
    f.ui().loadLevelsAction->trigger();
    QCOMPARE(f.dialogs.errorBoxes.size(), std::size_t{1});
    QCOMPARE(f.dialogs.errorBoxes[0].second, "Cannot open file " + missing + ".");
    QCOMPARE(BoxTexts(*f.window), Names(kLevelCount, ""));
    QCOMPARE(f.model().OpenDialog().filterIndex, 2);
    QCOMPARE(f.model().OpenDialog().fileName, missing);
}

void TestLevelImport::sharedHelpDefinitionFile()
{
    const auto shared = SharedDataDir();
    if (shared.empty() || !std::filesystem::exists(shared / "FolioHlp.DEF"))
        QSKIP("shared sample files are not present");
    WindowFixture f;
    f.dialogs.fileAnswers = {(shared / "FolioHlp.DEF").string()};
    f.model().LoadLevels();
    QCOMPARE(BoxTexts(*f.window), (Names{"Section", "Chapter", "Heading", "Sub-Heading 1", "Sub-Heading 2",
                                         "Sub-Heading 3", "Sub-Heading 4"}));
}

QTEST_MAIN(TestLevelImport)
#include "tst_levelimport.moc"
