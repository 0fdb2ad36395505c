// Dropping files on the window: a dropped file reaches the window model,
// over the window or over a box; other drags are refused.
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <filesystem>

#include "window/file_drop.h"
#include "window/window_fixture.h"

using namespace pellimar;
using namespace pellimar::testing;

namespace {



std::unique_ptr<QMimeData> FileDrag(const std::vector<std::string>& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data->setUrls(urls);
    return data;
}

// A drag entering `target` and dropped there, as the window system delivers
// it; true when the drag was accepted on entering.
bool DragAndDrop(QWidget* target, const QMimeData& data)
{
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return true;
}

}  // namespace

class TestFileDrop : public QObject {
    Q_OBJECT

private slots:
    void inputFileFillsInputAndDerivedOutput();
    void severalFilesAreConvertedIntoTheFolderChosen();
    void dragsWithoutALocalFileAreRefused_data();
    void dragsWithoutALocalFileAreRefused();
    void fileDraggedOverABoxGoesToTheWindow();
    void textDraggedOverABoxStaysInTheBox();
};

void TestFileDrop::inputFileFillsInputAndDerivedOutput()
{
    WindowFixture f;
    const std::string input = f.dir.File("book.fff");
    WriteFileBytes(input, "<RD>x\r\n");
    f.ui().refCB->SetBytes("1");
    QVERIFY(!f.ui().beginButton->isEnabled());

    QVERIFY(DragAndDrop(f.window.get(), *FileDrag({input})));

    QCOMPARE(f.ui().inEdit->Bytes(), input);
    QCOMPARE(f.ui().outEdit->Bytes(), f.dir.File("book-ref.fff"));
    QVERIFY(f.ui().beginButton->isEnabled());
}

// Folders in the drop are left out; the files are converted into the folder
// chosen, and the caption names each while it is converted.
void TestFileDrop::severalFilesAreConvertedIntoTheFolderChosen()
{
    WindowFixture f;
    const std::string first = f.dir.File("book.fff");
    const std::string second = f.dir.File("more.fff");
    const std::string out = f.dir.File("out");
    std::filesystem::create_directory(out);
    WriteFileBytes(first, "<RD>x\r\n");
    WriteFileBytes(second, "<RD>y\r\n");
    f.ui().refCB->SetBytes("x");
    f.dialogs.folderAnswers = {out};
    QStringList captions;
    f.window->probe = [&](std::int32_t) { captions << f.window->windowTitle(); };

    QVERIFY(DragAndDrop(f.window.get(), *FileDrag({first, f.dir.Path().string(), second})));

    QVERIFY(captions.contains("1 of 2: book.fff - Folio Flat File Pellimar"));
    QVERIFY(captions.contains("2 of 2: more.fff - Folio Flat File Pellimar"));
    QCOMPARE(f.window->windowTitle(), QString("Folio Flat File Pellimar"));
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(f.dialogs.lists.size(), std::size_t{1});
    QCOMPARE(f.dialogs.lists[0].heading, "2 files, 2 total references created.\rThe outputs are in " + out + ".");
    QVERIFY(std::filesystem::exists(out + "/book.fff") && std::filesystem::exists(out + "/more.fff"));
    QVERIFY(f.ui().inEdit->Bytes().empty());
}

void TestFileDrop::dragsWithoutALocalFileAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("plain text") << "text";
    QTest::newRow("web address") << "remote";
    QTest::newRow("folder") << "folder";
}

void TestFileDrop::dragsWithoutALocalFileAreRefused()
{
    QFETCH(QString, kind);
    WindowFixture f;
    QMimeData data;
    if (kind == "text")
        data.setText(QString::fromStdString(f.dir.File("book.fff")));
    else if (kind == "remote")
        data.setUrls({QUrl("https://example.org/book.fff")});
    else
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(f.dir.Path().string()))});

    QVERIFY(!DragAndDrop(f.window.get(), data));
    // Even a drop delivered without an accepted drag changes nothing.
    QDropEvent drop(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.window.get(), &drop);
    QVERIFY(!drop.isAccepted());
    QCOMPARE(f.ui().inEdit->Bytes(), std::string());
    QCOMPARE(f.ui().outEdit->Bytes(), std::string());
}

// File managers offer a file's address as text too, which an edit line would
// insert; over a box the drop must still go to the window.
void TestFileDrop::fileDraggedOverABoxGoesToTheWindow()
{
    WindowFixture f;
    const std::string input = f.dir.File("book.fff");
    WriteFileBytes(input, "");
    f.ui().refCB->SetBytes("1");
    auto data = FileDrag({input});
    data->setText(QUrl::fromLocalFile(QString::fromStdString(input)).toString());

    QVERIFY(DragAndDrop(f.ui().refCB->lineEdit(), *data));

    QCOMPARE(f.ui().refCB->Bytes(), std::string("1"));
    QCOMPARE(f.ui().inEdit->Bytes(), input);
    QCOMPARE(f.ui().outEdit->Bytes(), f.dir.File("book-ref.fff"));
}

void TestFileDrop::textDraggedOverABoxStaysInTheBox()
{
    WindowFixture f;
    QMimeData data;
    data.setText("[#]");
    QVERIFY(DragAndDrop(f.ui().pageCB->lineEdit(), data));
    QCOMPARE(f.ui().pageCB->Bytes(), std::string("[#]"));
    QCOMPARE(f.ui().inEdit->Bytes(), std::string());
}

QTEST_MAIN(TestFileDrop)
#include "tst_filedrop.moc"
