// The Qt dialogs behind the window: captions, buttons and answers of the
// message boxes, the input box and the file dialogs, answered by a timer.
#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <functional>

#include "support/temp_dir.h"
#include "window/application_setup.h"
#include "window/qt_dialogs.h"

using namespace pellimar;

namespace {

// Runs `answer` on the first modal dialog that appears; a dialog still open
// after two seconds is rejected so that a test fails instead of hanging.
class ModalAnswerer {
public:
    explicit ModalAnswerer(std::function<void(QWidget*)> answer) : answer_(std::move(answer))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(10);
    }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        if (!answered_) {
            answered_ = true;
            answer_(modal);
        } else if (++ticks_ > 200) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        }
    }

    std::function<void(QWidget*)> answer_;
    QTimer timer_;
    bool answered_ = false;
    int ticks_ = 0;
};

// What a message box showed: caption, text and its buttons' captions, sorted.
struct SeenBox {
    QString caption;
    QString text;
    QString note;
    QStringList buttons;
};

// Records the box, then presses the button with the given caption (or, with
// none given, closes the box as its close button would).
std::function<void(QWidget*)> SeeAndPress(SeenBox& seen, const QString& press = {})
{
    return [&seen, press](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.note = box->informativeText();
        seen.buttons.clear();
        for (QAbstractButton* button : box->buttons())
            seen.buttons << button->text();
        seen.buttons.sort();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == press) {
                button->click();
                return;
            }
        }
        box->reject();
    };
}

}  // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT

private slots:
    void confirmBoxAnswersYesAndNo();
    void warningBoxOffersCancel();
    void errorBoxShowsLineBreaksAndTheCaption();
    void inputBoxReturnsTheTextOrNothing();
    void saveDialogReturnsThePathAndFilter();
    void severalFilesDialogReturnsEveryFileChosen();
    void folderDialogStartsInTheFolderGivenAndShowsOnlyFolders();
    void folderDialogAnswersTheFullPathTyped();
    void fileDialogShowsSizesAndDatesWhole();
    void applicationAddsNothingToCaptions();
};

void TestQtDialogs::confirmBoxAnswersYesAndNo()
{
    QtDialogs dialogs;
    SeenBox seen;
    {
        ModalAnswerer answer(SeeAndPress(seen, "&No"));
        QCOMPARE(dialogs.ShowMessage(MessageKind::Confirm, "Delete?", MessageButtons::YesNo), MessageAnswer::No);
    }
    QCOMPARE(seen.caption, QString("Confirm"));
    QCOMPARE(seen.buttons, (QStringList{"&No", "&Yes"}));
    ModalAnswerer answer(SeeAndPress(seen, "&Yes"));
    QCOMPARE(dialogs.ShowMessageWithNote(MessageKind::Confirm, "Delete?", "a\rnote", MessageButtons::YesNo),
             MessageAnswer::Yes);
    QCOMPARE(seen.text, QString("Delete?"));
    QCOMPARE(seen.note, QString("a\nnote"));
}

// With or without No beside it.
void TestQtDialogs::warningBoxOffersCancel()
{
    QtDialogs dialogs;
    SeenBox seen;
    {
        ModalAnswerer answer(SeeAndPress(seen));  // closing the box is Cancel
        QCOMPARE(dialogs.ShowMessage(MessageKind::Warning, "Output File Exists.  Overwrite?",
                                     MessageButtons::YesNoCancel),
                 MessageAnswer::Cancel);
    }
    QCOMPARE(seen.caption, QString("Warning"));
    QCOMPARE(seen.buttons, (QStringList{"&No", "&Yes", "Cancel"}));
    {
        ModalAnswerer answer(SeeAndPress(seen));
        QCOMPARE(dialogs.ShowMessage(MessageKind::Warning, "2 output files exist. Overwrite?", MessageButtons::YesCancel),
                 MessageAnswer::Cancel);
    }
    QCOMPARE(seen.buttons, (QStringList{"&Yes", "Cancel"}));
    ModalAnswerer answer(SeeAndPress(seen, "&Yes"));
    QCOMPARE(dialogs.ShowMessage(MessageKind::Warning, "2 output files exist. Overwrite?", MessageButtons::YesCancel),
             MessageAnswer::Yes);
}

void TestQtDialogs::errorBoxShowsLineBreaksAndTheCaption()
{
    QtDialogs dialogs;
    SeenBox seen;
    ModalAnswerer answer(SeeAndPress(seen, "OK"));
    dialogs.ShowErrorBox("Folio Flat File Pellimar", "first\rsecond");
    QCOMPARE(seen.caption, QString("Folio Flat File Pellimar"));
    QCOMPARE(seen.text, QString("first\nsecond"));
    QCOMPARE(seen.buttons, QStringList{"OK"});
}

void TestQtDialogs::inputBoxReturnsTheTextOrNothing()
{
    QtDialogs dialogs;
    QString caption;
    QString label;
    {
        ModalAnswerer answer([&](QWidget* modal) {
            auto* input = qobject_cast<QInputDialog*>(modal);
            caption = input->windowTitle();
            label = input->labelText();
            input->setTextValue(input->textValue() + "7");
            input->accept();
        });
        QCOMPARE(dialogs.InputBox("Input Page Number", "Please enter a starting page number:", "1").value_or("-"),
                 std::string("17"));
    }
    QCOMPARE(caption, QString("Input Page Number"));
    QCOMPARE(label, QString("Please enter a starting page number:"));
    ModalAnswerer cancel([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    QVERIFY(!dialogs.InputBox("Input Page Number", "prompt", "1").has_value());
}

void TestQtDialogs::saveDialogReturnsThePathAndFilter()
{
    testing::TempDir dir;
    QtDialogs dialogs;
    FileDialogState state{{{"Folio Flat Files (*.fff)", "*.fff"}, {"Text Files (*.txt)", "*.txt"}},
                          2,
                          "/elsewhere/chosen.txt",
                          "FFF",
                          false,
                          "Output File",
                          dir.Path().string()};
    QString selectedFilter;
    QString caption;
    ModalAnswerer answer([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        selectedFilter = dialog->selectedNameFilter();
        caption = dialog->windowTitle();
        static_cast<QDialog*>(dialog)->accept();
    });
    QVERIFY(dialogs.SaveFile(state));
    QCOMPARE(selectedFilter, QString("Text Files (*.txt)"));
    QCOMPARE(caption, QString("Output File"));
    // The name the dialog held, offered in the folder of its purpose.
    QCOMPARE(state.fileName, dir.File("chosen.txt"));
    QCOMPARE(state.filterIndex, 2);
}

void TestQtDialogs::severalFilesDialogReturnsEveryFileChosen()
{
    testing::TempDir dir;
    testing::WriteFileBytes(dir.File("a.fff"), "");
    testing::WriteFileBytes(dir.File("b.fff"), "");
    QtDialogs dialogs;
    FileDialogState state{{{"Folio Flat Files (*.fff)", "*.fff"}}, 1, "", "FFF", false, "Convert Several Files",
                          dir.Path().string()};
    ModalAnswerer answer([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
        dialog->selectFile("\"a.fff\" \"b.fff\"");
        static_cast<QDialog*>(dialog)->accept();
    });
    QCOMPARE(dialogs.OpenFiles(state), (std::vector<std::string>{dir.File("a.fff"), dir.File("b.fff")}));
}

// Cancelled, it chooses nothing, not the folder it showed.
void TestQtDialogs::folderDialogStartsInTheFolderGivenAndShowsOnlyFolders()
{
    testing::TempDir dir;
    QtDialogs dialogs;
    QString shown;
    {
        ModalAnswerer answer([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
            QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
            shown = dialog->windowTitle();
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(dialogs.ChooseFolder("Output Folder", dir.Path().string()).value_or("-"), dir.Path().string());
    }
    QCOMPARE(shown, QString("Output Folder"));
    ModalAnswerer cancel([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    QVERIFY(!dialogs.ChooseFolder("Output Folder", dir.Path().string()).has_value());
}

// Typed while the dialog shows the folder's parent, whose other folders share
// its first letters, Qt counts the folder shown among its answers. A folder
// that does not exist comes back as typed, for the run's checks to judge.
void TestQtDialogs::folderDialogAnswersTheFullPathTyped()
{
    testing::TempDir dir;
    for (const char* name : {"c2", "c3", "coll", "conv"})
        std::filesystem::create_directory(dir.File(name));
    QtDialogs dialogs;
    for (const std::string& typed : {dir.File("conv"), dir.File("new")}) {
        ModalAnswerer answer([&](QWidget* modal) {
            auto* nameBox = modal->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(QTest::qWaitForWindowActive(modal));
            QVERIFY(nameBox->hasFocus());  // as for a person typing into it
            QTest::keyClicks(nameBox, QString::fromStdString(typed));
            // Pressed from outside this answer, so that a box the dialog
            // might show in its turn is answered too (and rejected).
            QTimer::singleShot(0, nameBox, [nameBox] { QTest::keyClick(nameBox, Qt::Key_Return); });
        });
        QCOMPARE(QString::fromStdString(dialogs.ChooseFolder("Output Folder", dir.Path().string()).value_or("-")),
                 QString::fromStdString(typed));
    }
}

// The detail view's Size and Date Modified columns hold their texts whole,
// and every column shows without scrolling.
void TestQtDialogs::fileDialogShowsSizesAndDatesWhole()
{
    testing::TempDir dir;
    testing::WriteFileBytes(dir.File("large.fff"), "");
    std::filesystem::resize_file(dir.File("large.fff"), 274877907);  // "262.14 MiB" in English
    QtDialogs dialogs;
    FileDialogState state{{{"Folio Flat Files (*.fff)", "*.fff"}}, 1, "", "FFF", false, "Input File",
                          dir.Path().string()};
    ModalAnswerer answer([](QWidget* modal) {
        auto* view = modal->findChild<QTreeView*>("treeView");
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 1);
        const QModelIndex file = view->model()->index(0, 0, view->rootIndex());
        const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        for (const int column : {1, 3}) {
            const QString text = file.siblingAtColumn(column).data().toString();
            QVERIFY2(view->fontMetrics().horizontalAdvance(text) + margins <= view->header()->sectionSize(column),
                     qPrintable(text));
        }
        QVERIFY(view->header()->length() <= view->viewport()->width());
        qobject_cast<QDialog*>(modal)->reject();
    });
    QVERIFY(!dialogs.OpenFile(state));
}

// On X11 Qt appends the application's display name, once one is set, to
// every caption that does not end with it; the window manager would show
// "Error — Folio Flat File Pellimar" for the box captioned "Error".
void TestQtDialogs::applicationAddsNothingToCaptions()
{
    SetUpApplication();
    // Without a display name of its own, the application shows its plain name.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QString("pellimar"));
}

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
