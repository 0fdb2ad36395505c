// An editable drop-down box whose list is its history: entries are added at
// the top without regard to case and removed on request.
#pragma once

#include <QComboBox>
#include <string>
#include <vector>

namespace pellimar {

enum class BoxText { Plain, Path };

class THistoryComboBox : public QComboBox {
    Q_OBJECT

public:
    THistoryComboBox(QWidget* parent, BoxText textKind, bool filtersBrackets);

    // Box 1..9 keep their histories as INI key names, where "[" and "]"
    // cannot be stored, so typing them there does nothing.
    bool FiltersBrackets() const { return filtersBrackets_; }

    std::string Bytes() const;
    void SetBytes(const std::string& bytes);

    std::vector<std::string> History() const;
    void SetHistory(const std::vector<std::string>& entries);

    // Adds the shown text at the top unless it is empty or an entry already
    // equals it without regard to case (that entry keeps its place and case).
    void AddShownText();
    // Removes the entry equal to the shown text, if any, and empties the box.
    void RemoveShownEntry();

private:
    int FindEntry(const QString& text) const;
    QString FromBytes(const std::string& bytes) const;
    std::string ToBytes(const QString& text) const;

    BoxText textKind_;
    bool filtersBrackets_;
};

}  // namespace pellimar
