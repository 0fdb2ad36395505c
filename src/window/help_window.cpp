// The user guide in a text browser beside the main window, and finding text
// in it: Ctrl+F goes to the find box, Enter and F3 find the next place,
// Shift+F3 the one before.
#include "window/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace pellimar {
namespace {

// The desktop's own keys for a command, and `also` where they lack it; a key
// bound twice would do nothing.
QList<QKeySequence> KeysFor(QKeySequence::StandardKey command, const QKeySequence& also)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(command);
    if (!keys.contains(also))
        keys.append(also);
    return keys;
}

}  // namespace

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
    layout->setSpacing(0);
    layout->addWidget(browser_);
    AddFindRow(*layout);
    AddFindKeys();
}

void HelpWindow::AddFindRow(QVBoxLayout& layout)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 6, 8, 6);
    auto* label = new QLabel("&Find:", this);
    findBox_ = new QLineEdit(this);
    findBox_->setClearButtonEnabled(true);
    label->setBuddy(findBox_);
    auto* next = new QPushButton("&Next", this);
    auto* previous = new QPushButton("&Previous", this);
    // Enter in the find box finds; a default button would find a second time.
    for (QPushButton* button : {next, previous})
        button->setAutoDefault(false);
    findStatus_ = new QLabel(this);
    row->addWidget(label);
    row->addWidget(findBox_, 1);
    row->addWidget(next);
    row->addWidget(previous);
    row->addWidget(findStatus_, 1);
    layout.addLayout(row);
    connect(findBox_, &QLineEdit::returnPressed, this, [this] { FindAgain(false); });
    connect(next, &QPushButton::clicked, this, [this] { FindAgain(false); });
    connect(previous, &QPushButton::clicked, this, [this] { FindAgain(true); });
    connect(findBox_, &QLineEdit::textEdited, findStatus_, &QLabel::clear);
}

// Ctrl+F, and F3 (or the desktop's Ctrl+G) with and without Shift.
void HelpWindow::AddFindKeys()
{
    const auto add = [this](const QList<QKeySequence>& keys, auto action) {
        for (const QKeySequence& key : keys)
            connect(new QShortcut(key, this), &QShortcut::activated, this, action);
    };
    add(KeysFor(QKeySequence::Find, QKeySequence(Qt::CTRL | Qt::Key_F)), [this] {
        findBox_->setFocus(Qt::ShortcutFocusReason);
        findBox_->selectAll();
    });
    add(KeysFor(QKeySequence::FindNext, QKeySequence(Qt::Key_F3)), [this] { FindAgain(false); });
    add(KeysFor(QKeySequence::FindPrevious, QKeySequence(Qt::SHIFT | Qt::Key_F3)), [this] { FindAgain(true); });
}

void HelpWindow::FindAgain(bool backwards)
{
    const QString text = findBox_->text();
    if (text.isEmpty())
        return;
    const QTextDocument::FindFlags flags = backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = browser_->find(text, flags);
    if (!found) {
        const QTextCursor before = browser_->textCursor();
        QTextCursor end(browser_->document());
        end.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
        browser_->setTextCursor(end);
        found = browser_->find(text, flags);
        if (!found)
            browser_->setTextCursor(before);
    }
    findStatus_->setText(found ? QString() : "Not found");
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
