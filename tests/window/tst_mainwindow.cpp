// The main window: the Begin rule, drop-down histories, typed-character
// filter, file commands, menus, accelerators, settings on show and close, and
// how its controls look.
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <map>

#include "gauge/gauge_painting.h"
#include "gauge/vantor_gauge.h"
#include "settings/settings_store.h"
#include "streams/exceptions.h"
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
    void beginNeedsInputOutputAndPattern_data();
    void beginNeedsInputOutputAndPattern();
    void enterAddsANewEntryAtTheTop();
    void existingEntryKeepsItsCapitalsAndPlace();
    void leavingABoxAddsItsText();
    void boxLeftForADialogAddsItsText();
    void ownListAndOtherProgramsDoNotLeaveABox();
    void typedTextStaysAsTyped_data();
    void typedTextStaysAsTyped();
    void ctrlDeleteRemovesTheShownEntry();
    void bracketsAreFilteredInNineBoxes();
    void inputDialogLeavesTheHistoryAloneUntilFocusLeaves();
    void outputDialogSwitchesTheOverwritePromptOff();
    void preferencesShowTheSwitches();
    void altRFocusesTheReferencePattern();
    void settingsAreLoadedOnShowAndSavedOnClose();
    void errorsGetAFullStopWhenTheyNeedOne();
    void aboutAndHelp();
    void gaugeTextReadsOverBarAndBackground();
    void controlsInTheGroupsTakeTheWindowFont();
    void captionsKeepClearOfNeighboursAndFrames();
};

void TestMainWindow::beginNeedsInputOutputAndPattern_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("all filled") << "a.fff" << "b.fff" << "1" << true;
    QTest::newRow("names differ only in case") << "a.fff" << "A.fff" << "1" << true;
    QTest::newRow("same name") << "a.fff" << "a.fff" << "1" << false;
    QTest::newRow("no input") << "" << "b.fff" << "1" << false;
    QTest::newRow("no output") << "a.fff" << "" << "1" << false;
    QTest::newRow("no pattern") << "a.fff" << "b.fff" << "" << false;
}

void TestMainWindow::beginNeedsInputOutputAndPattern()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, pattern);
    QFETCH(bool, enabled);
    WindowFixture f;
    f.ui().pageCB->setEditText("");
    f.ui().inEdit->setEditText(input);
    f.ui().outEdit->setEditText(output);
    f.ui().refCB->setEditText(pattern);
    QCOMPARE(f.ui().beginButton->isEnabled(), enabled);
}

void TestMainWindow::enterAddsANewEntryAtTheTop()
{
    WindowFixture f;
    f.Show();
    THistoryComboBox* box = f.ui().LevelBoxes[0];
    f.SeedHistory(HistoryBox::Level1, {"Book"});
    box->setFocus();
    box->setEditText("Chapter");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->History(), (std::vector<std::string>{"Chapter", "Book"}));
    QCOMPARE(box->currentText(), QString("Chapter"));
}

void TestMainWindow::existingEntryKeepsItsCapitalsAndPlace()
{
    WindowFixture f;
    f.Show();
    THistoryComboBox* box = f.ui().LevelBoxes[1];
    f.SeedHistory(HistoryBox::Level2, {"Verse", "Chapter"});
    box->setFocus();
    box->setEditText("chapter");
    QTest::keyClick(box, Qt::Key_Enter);
    QCOMPARE(box->History(), (std::vector<std::string>{"Verse", "Chapter"}));
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
    THistoryComboBox* level = f.ui().LevelBoxes[0];
    level->setFocus();
    QTest::keyClicks(level, "Book");
    f.dialogs.fileAnswers = {std::string("/data/in.fff"), std::string("/data/out.fff")};
    f.model().ChooseInputFile();
    dialogClosed();
    QCOMPARE(level->History(), (std::vector<std::string>{"Book"}));
    f.model().ChooseOutputFile();
    dialogClosed();
    f.model().Exit();
    QCOMPARE(LoadSettings(SettingsPathsIn(f.dir.Path(), "pellimar")).inputHistory,
             (std::vector<std::string>{"/data/in.fff"}));
}

void TestMainWindow::ownListAndOtherProgramsDoNotLeaveABox()
{
    WindowFixture f;
    f.Show();
    THistoryComboBox* box = f.ui().refCB;
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
    THistoryComboBox* typedInto = f.ui().HistoryBoxes()[box];
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

void TestMainWindow::ctrlDeleteRemovesTheShownEntry()
{
    WindowFixture f;
    f.Show();
    THistoryComboBox* box = f.ui().outEdit;
    f.SeedHistory(HistoryBox::OutputFile, {"/a/one.fff", "/a/two.fff"});
    box->setFocus();
    box->setEditText("/a/three.fff");
    QTest::keyClick(box, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(box->History().size(), std::size_t{2});
    QCOMPARE(box->currentText(), QString("/a/three.fff"));
    box->setEditText("/A/ONE.fff");
    QTest::keyClick(box, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(box->History(), (std::vector<std::string>{"/a/two.fff"}));
    QCOMPARE(box->currentText(), QString());
}

void TestMainWindow::bracketsAreFilteredInNineBoxes()
{
    WindowFixture f;
    f.Show();
    auto typeInto = [](THistoryComboBox* box) {
        box->setFocus();
        box->setEditText("");
        QTest::keyClicks(box, "a[b]c");
        return box->currentText();
    };
    for (THistoryComboBox* box : f.ui().LevelBoxes)
        QCOMPARE(typeInto(box), QString("abc"));
    QCOMPARE(typeInto(f.ui().inEdit), QString("abc"));
    QCOMPARE(typeInto(f.ui().outEdit), QString("abc"));
    QCOMPARE(typeInto(f.ui().pageCB), QString("a[b]c"));
    QCOMPARE(typeInto(f.ui().refCB), QString("a[b]c"));
}

void TestMainWindow::inputDialogLeavesTheHistoryAloneUntilFocusLeaves()
{
    WindowFixture f;
    f.Show();
    f.dialogs.fileAnswers = {std::string("/data/bible.fff"), std::nullopt};
    f.model().ChooseInputFile();
    QCOMPARE(f.ui().inEdit->currentText(), QString("/data/bible.fff"));
    QVERIFY(f.ui().inEdit->History().empty());
    QVERIFY(f.ui().inEdit->hasFocus());
    f.ui().outEdit->setFocus(Qt::TabFocusReason);
    QCOMPARE(f.ui().inEdit->History(), (std::vector<std::string>{"/data/bible.fff"}));
    f.model().ChooseOutputFile();
    QCOMPARE(f.dialogs.fileDialogs.back().state.fileName, std::string("/data/bible.fff"));
    QCOMPARE(f.ui().outEdit->currentText(), QString());
}

void TestMainWindow::outputDialogSwitchesTheOverwritePromptOff()
{
    WindowFixture f;
    f.dialogs.fileAnswers = {std::string("/data/out.fff")};
    f.ui().inEdit->setEditText("/data/in.fff");
    f.ui().refCB->setEditText("1");
    f.model().ChooseOutputFile();
    QVERIFY(f.dialogs.fileDialogs.back().save);
    QVERIFY(!f.dialogs.fileDialogs.back().state.overwritePrompt);
    QCOMPARE(f.dialogs.fileDialogs.back().state.defaultExtension, std::string("FFF"));
    QCOMPARE(f.ui().outEdit->currentText(), QString("/data/out.fff"));
    QVERIFY(f.ui().beginButton->isEnabled());
}

void TestMainWindow::preferencesShowTheSwitches()
{
    WindowFixture f;
    TIniFile ini(SettingsPathsIn(f.dir.Path(), "pellimar").iniFile);
    ini.WriteString("Options", "NoProgMeter", "1");
    ini.WriteString("Options", "UseHR", "1");
    ini.WriteString("Options", "IDRecords", "1");
    f.Show();
    emit f.ui().preferencesMenu->aboutToShow();
    QVERIFY(!f.ui().leftJustOnlyAction->isChecked());
    QVERIFY(!f.ui().showProgMeterAction->isChecked());
    QVERIFY(f.ui().useHRAction->isChecked());
    QVERIFY(f.ui().idRecordsAction->isChecked());
    f.ui().leftJustOnlyAction->trigger();
    f.ui().useHRAction->trigger();
    f.ui().idRecordsAction->trigger();
    QVERIFY(f.model().LeftJustOnly());
    QVERIFY(!f.model().UseHR());
    QVERIFY(!f.model().IdRecords());
    emit f.ui().preferencesMenu->aboutToShow();
    QVERIFY(f.ui().leftJustOnlyAction->isChecked());
    QVERIFY(!f.ui().useHRAction->isChecked());
    QVERIFY(!f.ui().idRecordsAction->isChecked());
}

void TestMainWindow::altRFocusesTheReferencePattern()
{
    WindowFixture f;
    f.Show();
    f.ui().LevelBoxes[0]->setFocus();
    QTest::keyClick(f.window.get(), Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(f.ui().refCB->hasFocus());
    QVERIFY(!f.ui().cbRemove->isChecked());
    QTest::keyClick(f.window.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(f.ui().cbSearch->isChecked());
}

void TestMainWindow::settingsAreLoadedOnShowAndSavedOnClose()
{
    WindowFixture f;
    const SettingsPaths paths = SettingsPathsIn(f.dir.Path(), "pellimar");
    SettingsData stored;
    stored.levelHistories[0] = {"Book", "Tome"};
    stored.inputHistory = {"/data/in.fff"};
    stored.refPatternHistory = {"1 2:#"};
    stored.notSearched = true;
    stored.showProgMeter = false;
    stored.viewerPath = "/usr/bin/viewer";
    SaveSettings(paths, stored);
    SaveViewerPath(paths, stored.viewerPath);  // the viewer is stored when set, not at close
    f.Show();
    QCOMPARE(f.ui().LevelBoxes[0]->History(), stored.levelHistories[0]);
    QCOMPARE(f.ui().LevelBoxes[0]->currentText(), QString());
    QCOMPARE(f.ui().inEdit->History(), stored.inputHistory);
    QCOMPARE(f.ui().refCB->History(), stored.refPatternHistory);
    QVERIFY(f.ui().cbSearch->isChecked());
    QVERIFY(!f.model().ShowProgMeter());
    QCOMPARE(f.model().ViewerPath(), stored.viewerPath);

    f.SeedHistory(HistoryBox::Level3, {"Verse"});
    f.ui().cbRemove->setChecked(true);
    f.model().Exit();
    const SettingsData saved = LoadSettings(paths);
    QCOMPARE(saved.levelHistories[2], (std::vector<std::string>{"Verse"}));
    QVERIFY(saved.removePageMarkers);
    QCOMPARE(saved.levelHistories[0], stored.levelHistories[0]);
    QVERIFY(f.dialogs.errorBoxes.empty());
}

void TestMainWindow::errorsGetAFullStopWhenTheyNeedOne()
{
    WindowFixture f;
    f.model().HandleException(Exception("Cannot open file /x/y.fff"));
    f.model().HandleException(Exception("Stream read error"));
    f.model().HandleException(Exception("Done."));
    f.model().HandleException(Exception("Odd!"));
    QCOMPARE(f.dialogs.errorBoxes.size(), std::size_t{4});
    QCOMPARE(f.dialogs.errorBoxes[0].first, std::string("Folio Flat File Pellimar"));
    QCOMPARE(f.dialogs.errorBoxes[0].second, std::string("Cannot open file /x/y.fff."));
    QCOMPARE(f.dialogs.errorBoxes[1].second, std::string("Stream read error."));
    QCOMPARE(f.dialogs.errorBoxes[2].second, std::string("Done."));
    QCOMPARE(f.dialogs.errorBoxes[3].second, std::string("Odd!"));
}

void TestMainWindow::aboutAndHelp()
{
    WindowFixture f;
    f.ui().aboutAction->trigger();
    QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
    QCOMPARE(f.dialogs.messages[0].kind, MessageKind::Information);
    const std::string about = f.dialogs.messages[0].text;
    QVERIFY(about.starts_with("Folio Flat File Pellimar\rFor use with Views 3.1 Flat File code.\r\rVersion 1.2\r"));
    QCOMPARE(std::count(about.begin(), about.end(), '\r'), 8);
    QVERIFY(about.find("The Pellimar developers, under the MIT licence") != std::string::npos);
    f.ui().usingAction->trigger();
    QCOMPARE(f.dialogs.helpShown, (std::vector<std::string>{f.dir.File("guide.md")}));
}

// At 50 % the centred text stands half over the bar and half over the empty
// part; every pixel of it must stand out from the pixel it was drawn over.
void TestMainWindow::gaugeTextReadsOverBarAndBackground()
{
    WindowFixture f;
    f.ui().ProgBar1->SetProgress(50);
    TGaugeLook look = f.ui().ProgBar1->Look();
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
    for (THistoryComboBox* box : f.ui().HistoryBoxes())
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
