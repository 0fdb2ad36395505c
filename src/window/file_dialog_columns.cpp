// Column widths of the file dialogs' detail view.
#include "window/file_dialog_columns.h"

#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>
#include <algorithm>
#include <initializer_list>

namespace pellimar {
namespace {

// The columns as Qt's file system model orders them.
constexpr int kSizeColumn = 1;
constexpr int kDateColumn = 3;

// Qt sizes these columns for texts such as "128.88 GB" and "10/29/81 02:02PM",
// shorter than what the system's locale writes ("262.14 MiB",
// "9 Dec 2024 14:15:17"); the longest of each kind is measured instead.
QStringList LongestSizes(const QLocale& locale)
{
    QStringList texts;
    for (const qint64 bytes : {qint64{1023}, qint64{1023} * 1024 + 1023, qint64{1048575} * 1024 - 1,
                               qint64{1073741823} * 1024 - 1, qint64{1099511627775} * 1024 - 1})
        texts << locale.formattedDataSize(bytes);
    return texts;
}

QStringList LongestDates(const QLocale& locale)
{
    QStringList texts;
    for (int month = 1; month <= 12; ++month)
        texts << locale.toString(QDateTime(QDate(2088, month, 28), QTime(23, 58, 58)), QLocale::ShortFormat);
    return texts;
}

int WidthFor(const QTreeView& view, const QStringList& texts)
{
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, view.fontMetrics().horizontalAdvance(text));
    // The margins the style keeps on each side of an item's text.
    const int margin = view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
    return widest + 2 * margin + view.fontMetrics().averageCharWidth();
}

void Widen(QHeaderView& header, int column, int width)
{
    if (header.sectionSize(column) < width)
        header.resizeSection(column, width);
}

// Fits the columns as the dialog shows: only then has its layout given the
// view its width. The widths Qt keeps in its own settings from the last
// dialog are only ever widened.
class DetailColumnsFitter : public QObject {
public:
    explicit DetailColumnsFitter(QFileDialog& dialog) : QObject(&dialog), dialog_(dialog) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &dialog_ && event->type() == QEvent::Show)
            Fit();
        return false;
    }

private:
    void Fit()
    {
        auto* view = dialog_.findChild<QTreeView*>("treeView");
        if (view == nullptr)
            return;
        const QLocale locale = QLocale::system();
        QHeaderView& header = *view->header();
        Widen(header, kSizeColumn, WidthFor(*view, LongestSizes(locale)));
        Widen(header, kDateColumn, WidthFor(*view, LongestDates(locale)));
        // Room for a vertical scroll bar too, which a long list brings.
        const int missing = header.length() + view->verticalScrollBar()->sizeHint().width() -
                            view->viewport()->width();
        // A size alone: the dialog places itself over its parent after this.
        if (missing > 0)
            dialog_.resize(dialog_.width() + missing, dialog_.height());
    }

    QFileDialog& dialog_;
};

}  // namespace

void FitDetailColumns(QFileDialog& dialog)
{
    dialog.installEventFilter(new DetailColumnsFitter(dialog));
}

}  // namespace pellimar
