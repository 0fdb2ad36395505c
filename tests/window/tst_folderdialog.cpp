// The folder dialog's answer, from what Qt's non-native dialog holds when the
// user chooses: the folder shown, the text typed and the entries Qt counts.
#include <QDir>
#include <QTest>

#include "window/folder_dialog.h"

using namespace pellimar;

class TestFolderDialog : public QObject {
    Q_OBJECT

private slots:
    void chosenFolderIsTheOneTypedOrPicked_data();
    void chosenFolderIsTheOneTypedOrPicked();
};

void TestFolderDialog::chosenFolderIsTheOneTypedOrPicked_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("chosen");
    const QString home = QDir::homePath();
    // The dialog shows /w, which holds c2, c3 and coll.
    QTest::newRow("full path, Qt counting the folder shown first")
        << "/w/conv" << QStringList{"/w", "/w/conv"} << "/w/conv";
    QTest::newRow("full path of a missing folder, Qt giving the folder shown")
        << "/w/conv" << QStringList{"/w"} << "/w/conv";
    QTest::newRow("full path elsewhere") << "/elsewhere/out" << QStringList{"/elsewhere/out"} << "/elsewhere/out";
    QTest::newRow("full path with a separator after it") << "/w/conv/" << QStringList{"/w/conv/"} << "/w/conv";
    QTest::newRow("name in the folder shown") << "coll" << QStringList{"/w/coll"} << "/w/coll";
    QTest::newRow("missing name under the folder shown") << "new/sub" << QStringList{"/w/new/sub"} << "/w/new/sub";
    QTest::newRow("name the dialog's own button made") << "Books 2" << QStringList{"/w/Books 2"} << "/w/Books 2";
    QTest::newRow("the parent of the folder shown") << ".." << QStringList{"/w/.."} << "/";
    QTest::newRow("under the home folder") << "~/out" << QStringList{home + "/out"} << home + "/out";
    QTest::newRow("picked in the list, nothing typed, Qt counting the folder shown first")
        << "" << QStringList{"/w", "/w/c3"} << "/w/c3";
    QTest::newRow("nothing typed or picked") << "" << QStringList{"/w"} << "/w";
    QTest::newRow("no entries") << "" << QStringList{} << "/w";
}

void TestFolderDialog::chosenFolderIsTheOneTypedOrPicked()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, entries);
    QFETCH(QString, chosen);
    QCOMPARE(ChosenFolder({"/w", typed, entries}), chosen);
}

QTEST_APPLESS_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
