// Qt dialogs behind the window's dialogs interface.
#include "window/qt_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "window/byte_text.h"
#include "window/file_dialog_columns.h"
#include "window/folder_dialog.h"
#include "window/help_window.h"
#include "window/preview_dialog.h"

namespace pellimar {
namespace {

QString DisplayText(const std::string& text)
{
    // Texts use "\r" between lines.
    return TextFromUtf8(text).replace('\r', '\n');
}

const char* CaptionOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return "Warning";
    case MessageKind::Error: return "Error";
    case MessageKind::Information: return "Information";
    case MessageKind::Confirm: return "Confirm";
    }
    return "";
}

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Confirm: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Qt reads an entry's patterns between its last parentheses. A "*.*"
// means every file, with or without a dot in its name.
QString FilterText(const FileFilter& filter)
{
    QString description = QString::fromLatin1(filter.description.c_str());
    const qsizetype open = description.lastIndexOf(" (");
    if (open != -1)
        description.truncate(open);
    const QString pattern = filter.pattern == "*.*" ? QString("*") : QString::fromLatin1(filter.pattern.c_str());
    return description + " (" + pattern + ")";
}

}  // namespace

MessageAnswer QtDialogs::ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons)
{
    return ShowMessageWithNote(kind, text, "", buttons);
}

MessageAnswer QtDialogs::ShowMessageWithNote(MessageKind kind, const std::string& text, const std::string& note,
                                             MessageButtons buttons)
{
    QMessageBox box(IconOf(kind), CaptionOf(kind), DisplayText(text), QMessageBox::NoButton, parent_);
    if (!note.empty())
        box.setInformativeText(DisplayText(note));
    QAbstractButton* yes = nullptr;
    QAbstractButton* no = nullptr;
    QAbstractButton* last = nullptr;
    if (buttons == MessageButtons::Ok) {
        last = box.addButton("OK", QMessageBox::AcceptRole);
    } else {
        yes = box.addButton("&Yes", QMessageBox::YesRole);
        if (buttons != MessageButtons::YesCancel)
            no = box.addButton("&No", QMessageBox::NoRole);
        const bool cancels = buttons == MessageButtons::YesNoCancel || buttons == MessageButtons::YesCancel;
        last = cancels ? box.addButton("Cancel", QMessageBox::RejectRole) : no;
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(yes != nullptr ? yes : last));
    box.setEscapeButton(last);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (clicked != nullptr && clicked == yes)
        return MessageAnswer::Yes;
    if (clicked != nullptr && clicked == no)
        return MessageAnswer::No;
    return MessageAnswer::Cancel;
}

void QtDialogs::ShowErrorBox(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Critical, TextFromUtf8(caption), DisplayText(text), QMessageBox::NoButton, parent_);
    box.setEscapeButton(box.addButton("OK", QMessageBox::AcceptRole));
    box.exec();
}

std::optional<std::string> QtDialogs::InputBox(const std::string& title, const std::string& prompt,
                                               const std::string& defaultText)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, TextFromUtf8(title), TextFromUtf8(prompt),
                                                 QLineEdit::Normal, TextFromUtf8(defaultText), &ok);
    if (!ok)
        return std::nullopt;
    return Utf8FromText(answer);
}

bool QtDialogs::OpenFile(FileDialogState& state)
{
    return RunFileDialog(state, false);
}

bool QtDialogs::SaveFile(FileDialogState& state)
{
    return RunFileDialog(state, true);
}

bool QtDialogs::RunFileDialog(FileDialogState& state, bool save)
{
    QFileDialog dialog(parent_, TextFromUtf8(state.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Like the open dialog it stands for, it takes names of files that do not exist yet.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !state.overwritePrompt);
    const QStringList files = RunPrepared(dialog, state);
    if (files.isEmpty())
        return false;
    state.fileName = BytesFromPath(files.first());
    return true;
}

std::vector<std::string> QtDialogs::OpenFiles(FileDialogState& state)
{
    QFileDialog dialog(parent_, TextFromUtf8(state.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    std::vector<std::string> chosen;
    for (const QString& file : RunPrepared(dialog, state))
        chosen.push_back(BytesFromPath(file));
    return chosen;
}

QStringList QtDialogs::RunPrepared(QFileDialog& dialog, FileDialogState& state)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    FitDetailColumns(dialog);
    dialog.setDefaultSuffix(QString::fromLatin1(state.defaultExtension.c_str()));
    QStringList filters;
    for (const FileFilter& filter : state.filters)
        filters << FilterText(filter);
    dialog.setNameFilters(filters);
    if (state.filterIndex >= 1 && state.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[state.filterIndex - 1]);
    // The folder last used for this purpose wins over that of the name the
    // dialog still holds from another use; the name itself is offered there.
    if (!state.folder.empty())
        dialog.setDirectory(PathFromBytes(state.folder));
    if (!state.fileName.empty() && dialog.fileMode() != QFileDialog::ExistingFiles) {
        const QString name = PathFromBytes(state.fileName);
        dialog.selectFile(state.folder.empty() ? name : QFileInfo(name).fileName());
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    state.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles();
}

std::optional<std::string> QtDialogs::ChooseFolder(const std::string& title, const std::string& start)
{
    FolderDialog dialog(parent_, TextFromUtf8(title));
    FitDetailColumns(dialog);
    if (!start.empty())
        dialog.setDirectory(PathFromBytes(start));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return BytesFromPath(dialog.Chosen());
}

void QtDialogs::ShowPreview(const PreviewShown& preview)
{
    PreviewDialog dialog(preview, parent_);
    dialog.exec();
}

void QtDialogs::ShowHelp(const std::string& guidePath)
{
    if (help_ == nullptr)
        help_ = new HelpWindow(parent_);
    help_->ShowGuide(PathFromBytes(guidePath));
}

}  // namespace pellimar
