// The preview dialog: each reference in a row with its line and record, or
// for a collection each file with its counts.
#include <QLabel>
#include <QLayout>
#include <QTableWidget>
#include <QTest>

#include "window/preview_dialog.h"

using namespace pellimar;

class TestPreview : public QObject {
    Q_OBJECT

private slots:
    void dialogShowsLineReferenceAndRecord();
    void collectionShowsAFileARow();
};

void TestPreview::dialogShowsLineReferenceAndRecord()
{
    PreviewDialog dialog({"The run would make 2 references:",
                          "Level records of this file:\rBook (1): Genesis",
                           {{12, "Genesis, p. 1", "<JU:CN>THE FIRST BOOK"}, {14, "Genesis 1, p. 1", "Chapter 1"}},
                           "Switch on \u201CID record levels\u201D",
                           {}});
    QTableWidget* table = dialog.Table();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QString("12"));
    QCOMPARE(table->item(0, 1)->text(), QString("Genesis, p. 1"));
    QCOMPARE(table->item(1, 2)->text(), QString("Chapter 1"));
    QVERIFY(dialog.Note() != nullptr);
    QCOMPARE(dialog.Note()->text(), QString::fromUtf8("Switch on \u201CID record levels\u201D"));
    QVERIFY(dialog.Levels() != nullptr);
    QCOMPARE(dialog.Levels()->text(), QString("Level records of this file:\nBook (1): Genesis"));
    // Shown above the list, and selectable so that a name can be copied into a level box.
    QCOMPARE(dialog.layout()->indexOf(dialog.Levels()), 0);
    QVERIFY(dialog.Levels()->textInteractionFlags() & Qt::TextSelectableByMouse);
}

// Each file's details go on rows of their own under it.
void TestPreview::collectionShowsAFileARow()
{
    PreviewDialog dialog({"The run would make 3 references in 1 file; 1 file would fail:",
                          {},
                          {},
                          "",
                          {{"/books/a.fff", "3 references", "", {"Book (1): Genesis"}},
                           {"/books/b.fff", "", "Cannot open file /books/b.fff\rpermission denied", {}}},
                          "Convert Several Files"});
    QCOMPARE(dialog.windowTitle(), QString("Convert Several Files"));
    QTableWidget* table = dialog.Table();
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QString("References"));
    QCOMPARE(table->item(0, 0)->text(), QString("/books/a.fff"));
    QCOMPARE(table->item(0, 1)->text(), QString("3 references"));
    QCOMPARE(table->item(1, 2)->text(), QString("Book (1): Genesis"));
    QCOMPARE(table->item(2, 2)->text(), QString("Cannot open file /books/b.fff permission denied"));
    QVERIFY(dialog.Note() == nullptr);
    QVERIFY(dialog.Levels() == nullptr);
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
