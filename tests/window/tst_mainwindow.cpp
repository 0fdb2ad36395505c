// The main window as the model's view: keys and focus in the boxes reach
// the model, typed text stays as typed, accelerators, what the first show
// does, and how the controls look.
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>

#include "gauge/gauge_painting.h"
#include "gauge/vantor_gauge.h"
#include "settings/settings_store.h"
#include "window/window_fixture.h"

using namespace pellimar;
using namespace pellimar::testing;

namespace {

// Relative luminance and contrast ratio as the Web Content Accessibility
// Guidelines define them.
double Luminance(QRgb rgb)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

double Contrast(QRgb a, QRgb b)
{
    const double first = Luminance(a);
    const double second = Luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// For each colour that text was drawn over, the lowest contrast of a text
// pixel against it; text pixels are those the text changed.
std::map<QRgb, double> TextContrastByGround(const QImage& withText, const QImage& without)
{
    std::map<QRgb, double> lowest;
    for (int y = 0; y < withText.height(); ++y) {
        for (int x = 0; x < withText.width(); ++x) {
            const QRgb ground = without.pixel(x, y);
            if (withText.pixel(x, y) == ground)
                continue;
            const double contrast = Contrast(withText.pixel(x, y), ground);
            lowest[ground] = lowest.count(ground) ? std::min(lowest[ground], contrast) : contrast;
        }
    }
    return lowest;
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void keysInABoxReachTheModel();
    void otherControlKeysKeepTheShownEntry();
    void firstShowCentresTheWindow();
    void showingAgainKeepsTheControls();
    void startFilesReachTheModelOnceTheWindowIsShown();
    void leavingABoxAddsItsText();
    void boxLeftForADialogAddsItsText();
    void ownListAndOtherProgramsDoNotLeaveABox();
    void typedCharactersAreStoredInTheFileEncoding();
    void fileBoxesShowTheEndOfALongPath();
    void typedTextStaysAsTyped_data();
    void typedTextStaysAsTyped();
    void altRFocusesTheReferencePattern();
    void gaugeTextReadsOverBarAndBackground();
    void controlsInTheGroupsTakeTheWindowFont();
    void captionsKeepClearOfNeighboursAndFrames();
    void preferenceItemsShowTheModelsSwitches();
    void checkBoxesShowTheirPreferences();
};

// Enter adds the shown text, Ctrl+Delete removes it, and a bracket typed
// where the model refuses it never reaches the box.
void TestMainWindow::keysInABoxReachTheModel()
{
    WindowFixture f;
    f.Show();
    HistoryComboBox* box = f.ui().LevelBoxes[0];
    f.SeedHistory(HistoryBox::Level1, {"Book"});
    box->setFocus();
    box->setEditText("Chapter");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->History(), (std::vector<std::string>{"Chapter", "Book"}));
    QCOMPARE(box->currentText(), QString("Chapter"));
    box->setEditText("BOOK");
    QTest::keyClick(box, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(box->History(), (std::vector<std::string>{"Chapter"}));
    QCOMPARE(box->currentText(), QString());
    QTest::keyClicks(box, "a[b]c");
    QCOMPARE(box->currentText(), QString("abc"));
    f.ui().pageCB->setFocus();
    QTest::keyClicks(f.ui().pageCB, "a[b]c");
    QCOMPARE(f.ui().pageCB->currentText(), QString("a[b]c"));
}

// Ctrl is pressed before the key it goes with: only Delete with it removes
// the shown entry.
void TestMainWindow::otherControlKeysKeepTheShownEntry()
{
    WindowFixture f;
    f.Show();
    HistoryComboBox* box = f.ui().LevelBoxes[0];
    f.SeedHistory(HistoryBox::Level1, {"Book"});
    box->setFocus();
    box->setEditText("Book");
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(box->History(), (std::vector<std::string>{"Book"}));
    QCOMPARE(box->currentText(), QString("Book"));
}

void TestMainWindow::firstShowCentresTheWindow()
{
    WindowFixture f;
    f.window->move(0, 0);
    f.Show();
    const QRect available = f.window->screen()->availableGeometry();
    const QPoint offset = f.window->frameGeometry().center() - available.center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QString("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
}

// The settings are loaded once, at the first show; a window shown again
// keeps what its controls hold, not what was saved as it closed.
void TestMainWindow::showingAgainKeepsTheControls()
{
    WindowFixture f;
    f.Show();
    f.ui().checkBoxes[static_cast<int>(Preference::NotSearched)]->setChecked(true);
    QVERIFY(f.window->close());
    f.ui().checkBoxes[static_cast<int>(Preference::NotSearched)]->setChecked(false);
    f.Show();
    QVERIFY(!f.ui().checkBoxes[static_cast<int>(Preference::NotSearched)]->isChecked());
}

// Not while the window is being shown: the message about several files
// must stand over the window, not come before it.
void TestMainWindow::startFilesReachTheModelOnceTheWindowIsShown()
{
    WindowFixture f({"/books/a.fff", "/books/b.fff"});
    f.window->show();
    QVERIFY(f.dialogs.messages.empty());
    QTRY_COMPARE(f.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(f.dialogs.messages[0].note, std::string("/books/a.fff\r/books/b.fff"));
}

void TestMainWindow::leavingABoxAddsItsText()
{
    WindowFixture f;
    f.Show();
    f.ui().refCB->setFocus();
    f.ui().refCB->setEditText("1 2:#");
    f.ui().pageCB->setFocus(Qt::TabFocusReason);
    QCOMPARE(f.ui().refCB->History(), (std::vector<std::string>{"1 2:#"}));
    f.ui().pageCB->setFocus();
    f.ui().pageCB->setEditText("");
    f.ui().refCB->setFocus(Qt::TabFocusReason);
    QVERIFY(f.ui().pageCB->History().empty());
}

// A dialog takes the activation from the window and hands it back after the
// command has moved the focus: the box the user was in has been left then.
void TestMainWindow::boxLeftForADialogAddsItsText()
{
    WindowFixture f;
    f.Show();
    f.dialogs.whileOpen = [] { QApplication::setActiveWindow(nullptr); };
    const auto dialogClosed = [&] { QApplication::setActiveWindow(f.window.get()); };
    HistoryComboBox* level = f.ui().LevelBoxes[0];
    level->setFocus();
    QTest::keyClicks(level, "Book");
    f.dialogs.fileAnswers = {std::string("/data/in.fff"), std::string("/data/out.fff")};
    f.model().Carry(Command::InputFile);
    dialogClosed();
    QCOMPARE(level->History(), (std::vector<std::string>{"Book"}));
    f.model().Carry(Command::OutputFile);
    dialogClosed();
    f.model().Carry(Command::Exit);
    QCOMPARE(LoadSettings(SettingsPathsIn(f.dir.Path(), "pellimar")).inputHistory,
             (std::vector<std::string>{"/data/in.fff"}));
}

void TestMainWindow::ownListAndOtherProgramsDoNotLeaveABox()
{
    WindowFixture f;
    f.Show();
    HistoryComboBox* box = f.ui().refCB;
    f.SeedHistory(HistoryBox::RefPattern, {"1 2"});
    box->setFocus();
    QTest::keyClicks(box, "1");
    box->showPopup();
    box->hidePopup();
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(box->hasFocus());
    QCOMPARE(box->History(), (std::vector<std::string>{"1 2"}));
}

// Characters beyond Latin-1 that Windows-1252 holds reach the pattern file
// as its bytes, and come back as the same characters.
void TestMainWindow::typedCharactersAreStoredInTheFileEncoding()
{
    const QString typed = QString::fromUtf8("1 \u2014 \u201C#\u201D \u20AC");
    WindowFixture f;
    f.Show();
    f.ui().refCB->setFocus();
    f.ui().refCB->lineEdit()->insert(typed);  // as an input method types it
    f.ui().pageCB->setFocus(Qt::TabFocusReason);
    f.model().Carry(Command::Exit);
    QCOMPARE(ReadFileBytes(f.dir.File("patterns.ref")), std::string("1 \x97 \x93#\x94 \x80\r\n"));
    WindowFixture again;
    WriteFileBytes(again.dir.File("patterns.ref"), ReadFileBytes(f.dir.File("patterns.ref")));
    again.Show();
    QCOMPARE(again.ui().refCB->itemText(0), typed);
}

void TestMainWindow::fileBoxesShowTheEndOfALongPath()
{
    WindowFixture f;
    f.Show();
    const QString path = "/a/long/folder/name/that/does/not/fit/into/the/box/at/all/the-file.fff";
    f.ui().inEdit->SetBytes(path.toStdString());
    QCOMPARE(f.ui().inEdit->lineEdit()->cursorPosition(), path.size());
    f.ui().outEdit->setFocus();
    f.ui().outEdit->lineEdit()->setText(path);
    f.ui().outEdit->lineEdit()->setCursorPosition(0);  // the user went back to its start
    f.ui().refCB->setFocus(Qt::TabFocusReason);
    QCOMPARE(f.ui().outEdit->lineEdit()->cursorPosition(), path.size());
}

void TestMainWindow::typedTextStaysAsTyped_data()
{
    QTest::addColumn<int>("box");  // index into the eleven history boxes
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("start of an entry") << kLevelCount + 1 << QStringList{"1 2"} << "1" << QStringList{"1", "1 2"};
    QTest::newRow("start of a path") << kLevelCount + 3 << QStringList{"/data/out1.fff"} << "/data/out"
                                     << QStringList{"/data/out", "/data/out1.fff"};
    QTest::newRow("entry in other capitals") << 3 << QStringList{"Section"} << "SECTION" << QStringList{"Section"};
}

// Nothing completes or re-cases what is typed, and leaving the box keeps it.
void TestMainWindow::typedTextStaysAsTyped()
{
    QFETCH(int, box);
    QFETCH(QStringList, history);
    QFETCH(QString, typed);
    QFETCH(QStringList, after);
    WindowFixture f;
    f.Show();
    HistoryComboBox* typedInto = f.ui().HistoryBoxes()[box];
    std::vector<std::string> entries;
    for (const QString& entry : history)
        entries.push_back(entry.toStdString());
    f.SeedHistory(static_cast<HistoryBox>(box), entries);
    typedInto->setFocus();
    QTest::keyClicks(typedInto, typed);
    QTest::keyClick(typedInto, Qt::Key_Tab);
    QVERIFY(!typedInto->hasFocus());
    QCOMPARE(typedInto->currentText(), typed);
    QStringList shown;
    for (int i = 0; i < typedInto->count(); ++i)
        shown << typedInto->itemText(i);
    QCOMPARE(shown, after);
}

void TestMainWindow::altRFocusesTheReferencePattern()
{
    WindowFixture f;
    f.Show();
    f.ui().LevelBoxes[0]->setFocus();
    QTest::keyClick(f.window.get(), Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(f.ui().refCB->hasFocus());
    QVERIFY(!f.ui().checkBoxes[static_cast<int>(Preference::RemovePageMarks)]->isChecked());
    QTest::keyClick(f.window.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(f.ui().checkBoxes[static_cast<int>(Preference::NotSearched)]->isChecked());
}

void TestMainWindow::gaugeTextReadsOverBarAndBackground()
{
    WindowFixture f;
    f.ui().ProgBar1->SetProgress(50);
    GaugeLook look = f.ui().ProgBar1->Look();
    const QImage withText = ComposeGauge(look, f.ui().ProgBar1->size());
    look.ShowText = false;
    const QImage without = ComposeGauge(look, f.ui().ProgBar1->size());
    const QRgb bar = without.pixel(2, without.height() / 2);
    const QRgb empty = without.pixel(without.width() - 3, without.height() / 2);
    std::map<QRgb, double> lowest = TextContrastByGround(withText, without);
    QCOMPARE(lowest.size(), std::size_t{2});
    QVERIFY2(lowest[bar] >= 3.0, qPrintable(QString("over the bar: %1").arg(lowest[bar])));
    QVERIFY2(lowest[empty] >= 3.0, qPrintable(QString("over the empty part: %1").arg(lowest[empty])));
}

// The style sheet that draws the group frames must not cut the controls in
// the groups, or the boxes' text and dropped-down lists, off from the
// window's font.
void TestMainWindow::controlsInTheGroupsTakeTheWindowFont()
{
    WindowFixture f;
    f.Show();
    QWidgetList controls;
    for (const QGroupBox* group : {f.ui().levelGroup, f.ui().filesGroup, f.ui().optionsGroup})
        controls += group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (HistoryComboBox* box : f.ui().HistoryBoxes())
        controls << box->lineEdit() << box->view();
    const QFontInfo windowFont(f.window->font());
    for (const QWidget* control : controls) {
        QCOMPARE(QFontInfo(control->font()).family(), windowFont.family());
        QCOMPARE(QFontInfo(control->font()).pixelSize(), 13);
    }
}

// Every label and check box in a group keeps some room to the controls
// beside it and to the group's frame.
void TestMainWindow::captionsKeepClearOfNeighboursAndFrames()
{
    constexpr int kRoom = 6;
    WindowFixture f;
    f.Show();
    for (const QGroupBox* group : {f.ui().levelGroup, f.ui().filesGroup, f.ui().optionsGroup}) {
        const QWidgetList controls = group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (const QWidget* caption : controls) {
            if (!qobject_cast<const QLabel*>(caption) && !qobject_cast<const QCheckBox*>(caption))
                continue;
            const QRect place = caption->geometry();
            QVERIFY2(place.left() >= kRoom && place.right() < group->width() - kRoom, qPrintable(group->title()));
            for (const QWidget* other : controls) {
                const QRect beside = other->geometry();
                if (other == caption || place.bottom() < beside.top() || beside.bottom() < place.top())
                    continue;
                const int gap = std::max(beside.left() - place.right(), place.left() - beside.right()) - 1;
                QVERIFY2(gap >= kRoom, qPrintable(group->title() + " " + caption->property("text").toString()));
            }
        }
    }
}

// The Preferences menu's items are built from the model's table and carry
// its check marks.
void TestMainWindow::preferenceItemsShowTheModelsSwitches()
{
    WindowFixture f;
    f.Show();
    f.model().TogglePreference(Preference::UseHR);
    f.model().PreferencesMenuOpening();
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::MenuItem)) {
        const QAction* action = f.ui().preferenceActions[static_cast<int>(row.preference)];
        QCOMPARE(action->text(), QString::fromUtf8(row.caption));
        QCOMPARE(action->isChecked(), f.model().Prefs().On(row.preference));
    }
    QVERIFY(f.ui().preferenceActions[static_cast<int>(Preference::UseHR)]->isChecked());
    QVERIFY(f.ui().preferenceActions[static_cast<int>(Preference::ShowProgMeter)]->isChecked());
}

// The Options group's check boxes are the table's check-box rows, with their
// captions, each showing and giving back its own preference; the
// Preferences menu has none of them.
void TestMainWindow::checkBoxesShowTheirPreferences()
{
    WindowFixture f;
    f.Show();
    const auto boxes = PreferenceRows(PreferenceKind::CheckBox);
    for (const PreferenceRow& row : boxes) {
        QCheckBox* box = f.ui().checkBoxes[static_cast<int>(row.preference)];
        QCOMPARE(box->text(), QString::fromUtf8(row.caption));
        f.view().SetOptionChecked(row.preference, true);
        for (const PreferenceRow& other : boxes)
            QCOMPARE(f.ui().checkBoxes[static_cast<int>(other.preference)]->isChecked(), &other == &row);
        box->click();
        QVERIFY(!f.view().OptionChecked(row.preference));
        box->click();
        QVERIFY(f.view().OptionChecked(row.preference));
        f.view().SetOptionChecked(row.preference, false);
        QVERIFY(!f.ui().preferenceActions[static_cast<int>(row.preference)]);
        for (const QAction* action : f.ui().preferencesMenu->actions())
            QVERIFY(action->text() != box->text());
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
