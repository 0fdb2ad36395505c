// The Help window with the shipped user guide: every flat-file code the guide
// quotes is still there once the Markdown is shown (a code left outside a code
// span would be taken for HTML and vanish), a missing guide is reported, and
// the text keeps a margin.
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include <map>

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

}  // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT

private slots:
    void shippedGuideShowsEveryCodeItQuotes();
    void missingGuideSaysWhereItWasLookedFor();
    void textKeepsClearOfTheLeftEdge();
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
    const QImage shown = window.grab().toImage();
    int firstInk = shown.width();  // the leftmost column with a dark pixel: the text's
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < firstInk; ++x) {
            if (qGray(shown.pixel(x, y)) < 80)
                firstInk = x;
        }
    }
    QVERIFY2(firstInk >= 12 && firstInk < shown.width(), qPrintable(QString::number(firstInk)));
}

QTEST_MAIN(TestHelpWindow)
#include "tst_helpwindow.moc"
