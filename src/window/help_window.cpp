// The user guide in a text browser beside the main window.
#include "window/help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace pellimar {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this))
{
    setWindowTitle("Using Pellimar");
    setModal(false);
    resize(640, 560);
    browser_->setOpenExternalLinks(true);
    // The page's own margin: the browser fills the window edge to edge.
    browser_->document()->setDocumentMargin(16);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

void HelpWindow::ShowGuide(const QString& path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        browser_->setMarkdown(QString::fromUtf8(file.readAll()));
    else
        browser_->setPlainText("The user guide was not found.\n\nIt was looked for at: " + path);
    show();
    raise();
    activateWindow();
}

}  // namespace pellimar
