// Dropping files on the main window: which drags are taken, and what a
// dropped input or definition file fills in.
#include "window/file_drop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <filesystem>

#include "streams/text_util.h"
#include "window/byte_text.h"
#include "window/history_combo.h"
#include "window/main_window.h"

namespace pellimar {
namespace {

// Takes a file drag that arrives over a box's edit line for the window;
// drags of plain text stay with the edit line.
class EditLineDropForwarder : public QObject {
public:
    explicit EditLineDropForwarder(TZUDIzazu& window) : QObject(&window), window_(window) {}

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
            DropFileOnWindow(window_, path);
        return true;
    }

private:
    TZUDIzazu& window_;
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

bool IsDefinitionFile(const std::string& path)
{
    return path.size() >= 4 && EqualsIgnoreAsciiCase(std::string_view(path).substr(path.size() - 4), ".def");
}

std::string DerivedOutputPath(const std::string& inputPath)
{
    std::filesystem::path output(inputPath);
    const std::filesystem::path name = output.filename();
    output.replace_filename(name.stem().string() + "-ref" + name.extension().string());
    return output.string();
}

bool AcceptFileDrag(QDropEvent* event)
{
    if (DroppedFilePath(event->mimeData()).empty() || !(event->possibleActions() & Qt::CopyAction))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void DropFileOnWindow(TZUDIzazu& window, const std::string& path)
{
    try {
        if (IsDefinitionFile(path))
            window.ImportLevelNames(path);
        else
            window.TakeInputFile(path);
    } catch (const std::exception& error) {
        window.HandleException(error);
    }
    window.UpdateBeginButton();
}

void ForwardFileDragsOverBoxes(TZUDIzazu& window, std::span<THistoryComboBox* const> boxes)
{
    auto* forwarder = new EditLineDropForwarder(window);
    for (THistoryComboBox* box : boxes)
        box->lineEdit()->installEventFilter(forwarder);
}

}  // namespace pellimar
