// The list a preview shows: for each of the first references of a run, the
// input line of its record code, the reference, and the start of the record,
// so that the user sees which record each belongs to.
#pragma once

#include <QDialog>
#include <vector>

#include "engine/preview.h"

class QTableWidget;

namespace pellimar {

class TPreviewDialog : public QDialog {
    Q_OBJECT

public:
    explicit TPreviewDialog(const std::vector<PreviewReference>& references, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_;
};

}  // namespace pellimar
