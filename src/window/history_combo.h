// An editable drop-down box that shows a history, kept by the window model,
// as its list, and its text as bytes (UTF-8, or a file name).
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

namespace pellimar {

enum class BoxText { Plain, Path };

class HistoryComboBox : public QComboBox {
    Q_OBJECT

public:
    HistoryComboBox(QWidget* parent, BoxText textKind);

    std::string Bytes() const;
    void SetBytes(const std::string& bytes);

    // The entries of the list; setting them keeps the text shown.
    std::vector<std::string> History() const;
    void SetHistory(const std::vector<std::string>& entries);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ShowEndOfPath();
    QString FromBytes(const std::string& bytes) const;
    std::string ToBytes(const QString& text) const;

    BoxText textKind_;
};

}  // namespace pellimar
