// The preview dialog: each reference in a row with its line and record.
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "window/preview_dialog.h"

using namespace pellimar;

class TestPreview : public QObject {
    Q_OBJECT

private slots:
    void dialogShowsLineReferenceAndRecord();
};

void TestPreview::dialogShowsLineReferenceAndRecord()
{
    PreviewDialog dialog({"The run would make 2 references:",
                           {{12, "Genesis, p. 1", "<JU:CN>THE FIRST BOOK"}, {14, "Genesis 1, p. 1", "Chapter 1"}},
                           "Switch on \u201CID record levels\u201D"});
    QTableWidget* table = dialog.Table();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QString("12"));
    QCOMPARE(table->item(0, 1)->text(), QString("Genesis, p. 1"));
    QCOMPARE(table->item(1, 2)->text(), QString("Chapter 1"));
    QVERIFY(dialog.Note() != nullptr);
    QCOMPARE(dialog.Note()->text(), QString::fromUtf8("Switch on \u201CID record levels\u201D"));
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
