// The window's own events (show, close, drops, keys in the boxes) go to the
// model.
#include "window/main_window.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QScreen>

#include "window/file_drop.h"
#include "window/history_combo.h"

namespace pellimar {

std::optional<HistoryBox> TZUDIzazu::BoxOf(const QObject* watched) const
{
    const auto boxes = ui.HistoryBoxes();
    for (int i = 0; i < kHistoryBoxCount; ++i) {
        if (watched == boxes[i])
            return static_cast<HistoryBox>(i);
    }
    return std::nullopt;
}

void TZUDIzazu::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    CenterOnScreen();
    model_.FirstShown();
    // Once the window is on the screen: the files' message stands over it.
    QMetaObject::invokeMethod(this, [this] { model_.TakeStartFiles(); }, Qt::QueuedConnection);
}

void TZUDIzazu::CenterOnScreen()
{
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

void TZUDIzazu::closeEvent(QCloseEvent* event)
{
    if (model_.CloseRequested())
        event->accept();
    else
        event->ignore();
}

void TZUDIzazu::dragEnterEvent(QDragEnterEvent* event)
{
    AcceptFileDrag(event);
}

void TZUDIzazu::dropEvent(QDropEvent* event)
{
    if (AcceptFileDrag(event))
        model_.FilesDropped(DroppedFilePaths(event->mimeData()));
}

bool TZUDIzazu::eventFilter(QObject* watched, QEvent* event)
{
    const std::optional<HistoryBox> box = BoxOf(watched);
    if (box && event->type() == QEvent::KeyPress && BoxKeyPressed(*box, *static_cast<QKeyEvent*>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

bool TZUDIzazu::BoxKeyPressed(HistoryBox box, const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        model_.EnterInBox(box);
        return true;  // Enter never edits or beeps
    }
    if (key.key() == Qt::Key_Delete && (key.modifiers() & Qt::ControlModifier)) {
        model_.DeleteShownEntry(box);
        return true;
    }
    const QString text = key.text();
    return text.size() == 1 && text[0].unicode() < 0x80 &&
           !model_.AcceptsTypedCharacter(box, static_cast<char>(text[0].unicode()));
}

}  // namespace pellimar
