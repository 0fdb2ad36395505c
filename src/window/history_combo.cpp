// The window's drop-down boxes: their text as bytes and their lists.
#include "window/history_combo.h"

#include <QLineEdit>

#include "window/byte_text.h"

namespace pellimar {

HistoryComboBox::HistoryComboBox(QWidget* parent, BoxText textKind) : QComboBox(parent), textKind_(textKind)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);  // the window adds entries itself
    setMaxVisibleItems(6);
    setDuplicatesEnabled(true);
    // The completer an editable box gets by default completes inline and,
    // when the focus leaves, swaps the text for an entry that matches it
    // without regard to case; the text must stay exactly as typed.
    setCompleter(nullptr);
}

QString HistoryComboBox::FromBytes(const std::string& bytes) const
{
    return textKind_ == BoxText::Path ? PathFromBytes(bytes) : TextFromUtf8(bytes);
}

std::string HistoryComboBox::ToBytes(const QString& text) const
{
    return textKind_ == BoxText::Path ? BytesFromPath(text) : Utf8FromText(text);
}

std::string HistoryComboBox::Bytes() const
{
    return ToBytes(currentText());
}

void HistoryComboBox::SetBytes(const std::string& bytes)
{
    setEditText(FromBytes(bytes));
    ShowEndOfPath();
}

// A long path is shown by its end, the file's name, unless the user is
// editing it.
void HistoryComboBox::ShowEndOfPath()
{
    if (textKind_ == BoxText::Path && lineEdit() != nullptr && !hasFocus())
        lineEdit()->end(false);
}

void HistoryComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    ShowEndOfPath();
}

std::vector<std::string> HistoryComboBox::History() const
{
    std::vector<std::string> entries;
    for (int i = 0; i < count(); ++i)
        entries.push_back(ToBytes(itemText(i)));
    return entries;
}

void HistoryComboBox::SetHistory(const std::vector<std::string>& entries)
{
    const QString shown = currentText();
    clear();
    for (const std::string& entry : entries)
        addItem(FromBytes(entry));
    setEditText(shown);
    ShowEndOfPath();
}

}  // namespace pellimar
