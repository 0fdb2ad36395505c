// The output-folder dialog and the rule that reads its answer.
#include "window/folder_dialog.h"

#include <QDir>
#include <QLineEdit>

namespace pellimar {
namespace {

// "~" stands for the home folder, as Qt's dialog reads it on its own.
QString WithHomeFolder(const QString& typed)
{
    if (typed == "~" || typed.startsWith("~/"))
        return QDir::homePath() + typed.mid(1);
    return typed;
}

}  // namespace

QString ChosenFolder(const FolderDialogState& state)
{
    if (!state.typed.isEmpty())
        return QDir::cleanPath(QDir(state.shown).absoluteFilePath(WithHomeFolder(state.typed)));
    const QString shown = QDir::cleanPath(state.shown);
    for (const QString& entry : state.entries) {
        if (QDir::cleanPath(entry) != shown)
            return entry;
    }
    return state.shown;
}

FolderDialog::FolderDialog(QWidget* parent, const QString& title) : QFileDialog(parent, title)
{
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly);
}

void FolderDialog::accept()
{
    // Qt names the name box so in every version that has it.
    const auto* nameBox = findChild<QLineEdit*>("fileNameEdit");
    chosen_ = ChosenFolder({directory().absolutePath(), nameBox != nullptr ? nameBox->text() : QString(),
                            selectedFiles()});
    QDialog::accept();
}

}  // namespace pellimar
