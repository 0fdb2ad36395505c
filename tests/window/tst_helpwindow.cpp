// The Help window with the shipped user guide: every flat-file code the guide
// quotes is still there once the Markdown is shown (a code left outside a code
// span would be taken for HTML and vanish), a missing guide is reported, the
// text keeps a margin, and text is found in it.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include <map>
#include <vector>

#include "support/temp_dir.h"
#include "window/help_window.h"

using namespace pellimar;

namespace {

// How often each code ("<RD>", "<CS:Reference>", "</CS>", ...) occurs in a text.
std::map<QString, int> CodeCounts(const QString& text)
{
    static const QRegularExpression code(R"(<[A-Za-z/][^<>\s`|]*>)");
    std::map<QString, int> counts;
    for (const QRegularExpressionMatch& match : code.globalMatch(text))
        ++counts[match.captured()];
    return counts;
}

QString ShownText(HelpWindow& window)
{
    auto* browser = window.findChild<QTextBrowser*>();
    return browser != nullptr ? browser->toPlainText() : QString();
}

QTextCursor Selection(HelpWindow& window)
{
    return window.findChild<QTextBrowser*>()->textCursor();
}

QPushButton* Button(HelpWindow& window, const QString& caption)
{
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

// What the find row says beside its buttons.
QString FindStatus(HelpWindow& window)
{
    QString said;
    for (const QLabel* label : window.findChildren<QLabel*>())
        said += label->text() == "&Find:" ? QString() : label->text();
    return said;
}

}  // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT

private slots:
    void shippedGuideShowsEveryCodeItQuotes();
    void missingGuideSaysWhereItWasLookedFor();
    void textKeepsClearOfTheLeftEdge();
    void findGoesFromPlaceToPlaceAndRoundAgain();
    void findSaysWhenTheGuideLacksTheText();
    void ctrlFAndF3FindFromTheKeyboard();
    void findRowStandsUnderTheGuideInReadingOrder();
};

void TestHelpWindow::shippedGuideShowsEveryCodeItQuotes()
{
    const QString source = QString::fromStdString(testing::ReadFileBytes(PELLIMAR_USER_GUIDE));
    const std::map<QString, int> quoted = CodeCounts(source);
    QVERIFY(quoted.count("<RD>") && quoted.count("<CS:Reference>") && quoted.count("</CS>"));

    HelpWindow window;
    window.ShowGuide(PELLIMAR_USER_GUIDE);
    const std::map<QString, int> shown = CodeCounts(ShownText(window));
    for (const auto& [code, count] : quoted)
        QVERIFY2(shown.count(code) && shown.at(code) == count, qPrintable(code + " is not shown as often as quoted"));
}

void TestHelpWindow::missingGuideSaysWhereItWasLookedFor()
{
    testing::TempDir dir;
    const QString missing = QString::fromStdString(dir.File("user-guide.md"));
    HelpWindow window;
    window.ShowGuide(missing);
    QVERIFY(ShownText(window).contains("The user guide was not found."));
    QVERIFY(ShownText(window).contains(missing));
}

void TestHelpWindow::textKeepsClearOfTheLeftEdge()
{
    HelpWindow window;
    window.ShowGuide(PELLIMAR_USER_GUIDE);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The text, not the find row under it.
    const QImage shown = window.findChild<QTextBrowser*>()->grab().toImage();
    int firstInk = shown.width();  // the leftmost column with a dark pixel: the text's
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < firstInk; ++x) {
            if (qGray(shown.pixel(x, y)) < 80)
                firstInk = x;
        }
    }
    QVERIFY2(firstInk >= 12 && firstInk < shown.width(), qPrintable(QString::number(firstInk)));
}

// Enter in the find box, in any letter case, each place in turn and then
// the first again; Previous goes back round to the last.
void TestHelpWindow::findGoesFromPlaceToPlaceAndRoundAgain()
{
    HelpWindow window;
    window.ShowGuide(PELLIMAR_USER_GUIDE);
    const QString sought = "convert several files";
    const int places = ShownText(window).count(sought, Qt::CaseInsensitive);
    QVERIFY(places >= 3);
    auto* findBox = window.findChild<QLineEdit*>();
    findBox->setText(sought);
    std::vector<int> starts;
    for (int i = 0; i <= places; ++i) {
        QTest::keyClick(findBox, Qt::Key_Return);
        QCOMPARE(Selection(window).selectedText().toLower(), sought);
        starts.push_back(Selection(window).selectionStart());
    }
    for (int i = 1; i < places; ++i)
        QVERIFY(starts[i] > starts[i - 1]);
    QCOMPARE(starts[places], starts[0]);
    QTest::mouseClick(Button(window, "&Previous"), Qt::LeftButton);
    QCOMPARE(Selection(window).selectionStart(), starts[places - 1]);
    QTest::mouseClick(Button(window, "&Next"), Qt::LeftButton);
    QCOMPARE(Selection(window).selectionStart(), starts[0]);
    QCOMPARE(FindStatus(window), QString());
}

void TestHelpWindow::findSaysWhenTheGuideLacksTheText()
{
    HelpWindow window;
    window.ShowGuide(PELLIMAR_USER_GUIDE);
    auto* findBox = window.findChild<QLineEdit*>();
    findBox->setText("reference");
    QTest::keyClick(findBox, Qt::Key_Return);
    const QTextCursor found = Selection(window);
    findBox->setText("no guide says this");
    QTest::keyClick(findBox, Qt::Key_Return);
    QCOMPARE(FindStatus(window), QString("Not found"));
    QCOMPARE(Selection(window), found);
    QTest::keyClicks(findBox, "x");
    QCOMPARE(FindStatus(window), QString());
}

// Alt+F as well as Ctrl+F goes to the find box.
void TestHelpWindow::ctrlFAndF3FindFromTheKeyboard()
{
    HelpWindow window;
    window.ShowGuide(PELLIMAR_USER_GUIDE);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* browser = window.findChild<QTextBrowser*>();
    auto* findBox = window.findChild<QLineEdit*>();
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(findBox->hasFocus());
    findBox->setText("what was sought before");
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(findBox->hasFocus());
    // The text sought before is selected, so that typing replaces it.
    QTest::keyClicks(findBox, "Preview");
    QCOMPARE(findBox->text(), QString("Preview"));
    // Also when the box has the focus already.
    QTest::keyClick(findBox, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(findBox, "Begin");
    QCOMPARE(findBox->text(), QString("Begin"));
    QTest::keyClick(findBox, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(findBox, "Preview");
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_F3);
    QCOMPARE(Selection(window).selectedText().toLower(), QString("preview"));
    const int first = Selection(window).selectionStart();
    QTest::keyClick(browser, Qt::Key_F3);
    QVERIFY(Selection(window).selectionStart() > first);
    QTest::keyClick(browser, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(Selection(window).selectionStart(), first);
}

QTEST_MAIN(TestHelpWindow)
// Under the guide, from left to right: the box, Next, Previous.
void TestHelpWindow::findRowStandsUnderTheGuideInReadingOrder()
{
    HelpWindow window;
    window.ShowGuide(PELLIMAR_USER_GUIDE);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect guide = window.findChild<QTextBrowser*>()->geometry();
    const QRect box = window.findChild<QLineEdit*>()->geometry();
    QRect next;
    QRect previous;
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        (button->text() == "&Next" ? next : previous) = button->geometry();
    QVERIFY(box.top() >= guide.bottom());
    QVERIFY(box.right() < next.left());
    QVERIFY(next.right() < previous.left());
    QCOMPARE(next.top(), previous.top());
}

#include "tst_helpwindow.moc"
