// Dropping files on the main window: which drags are taken, and passing the
// file on to the window model.
#include "window/file_drop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "window/byte_text.h"
#include "window/history_combo.h"
#include "window_model/main_window_model.h"

namespace pellimar {
namespace {

// Takes a file drag that arrives over a box's edit line for the window;
// drags of plain text stay with the edit line.
class EditLineDropForwarder : public QObject {
public:
    EditLineDropForwarder(QWidget& window, MainWindowModel& model) : QObject(&window), model_(model) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return QObject::eventFilter(watched, event);
        auto* drop = static_cast<QDropEvent*>(event);
        const std::string path = DroppedFilePath(drop->mimeData());
        if (path.empty())
            return false;
        if (AcceptFileDrag(drop) && type == QEvent::Drop)
            model_.FileDropped(path);
        return true;
    }

private:
    MainWindowModel& model_;
};

}  // namespace

std::string DroppedFilePath(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    if (path.isEmpty() || QFileInfo(path).isDir())
        return {};
    return BytesFromPath(path);
}

bool AcceptFileDrag(QDropEvent* event)
{
    if (DroppedFilePath(event->mimeData()).empty() || !(event->possibleActions() & Qt::CopyAction))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void ForwardFileDragsOverBoxes(QWidget& window, MainWindowModel& model, std::span<HistoryComboBox* const> boxes)
{
    auto* forwarder = new EditLineDropForwarder(window, model);
    for (HistoryComboBox* box : boxes)
        box->lineEdit()->installEventFilter(forwarder);
}

}  // namespace pellimar
