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
        const std::vector<std::string> paths = DroppedFilePaths(drop->mimeData());
        if (paths.empty())
            return false;
        if (AcceptFileDrag(drop) && type == QEvent::Drop)
            model_.FilesDropped(paths);
        return true;
    }

private:
    MainWindowModel& model_;
};

}  // namespace

std::vector<std::string> DroppedFilePaths(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (!path.isEmpty() && !QFileInfo(path).isDir())
            paths.push_back(BytesFromPath(path));
    }
    return paths;
}

bool AcceptFileDrag(QDropEvent* event)
{
    if (DroppedFilePaths(event->mimeData()).empty() || !(event->possibleActions() & Qt::CopyAction))
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
