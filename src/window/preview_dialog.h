// The list a preview shows under its heading: for each of the first
// references of a run, the input line of its record code, the reference, and
// the start of the record, so that the user sees which record each belongs
// to; or for a collection each file with its counts; then the advice, if
// any. Above them, the level names the level records read use.
#pragma once

#include <QDialog>
#include <vector>

#include "window_model/dialogs.h"

class QLabel;
class QTableWidget;

namespace pellimar {

class PreviewDialog : public QDialog {
    Q_OBJECT

public:
    explicit PreviewDialog(const PreviewShown& preview, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }
    QLabel* Note() const { return note_; }
    QLabel* Levels() const { return levels_; }

private:
    QTableWidget* table_;
    QLabel* note_ = nullptr;
    QLabel* levels_ = nullptr;
};

}  // namespace pellimar
