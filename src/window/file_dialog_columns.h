// The detail view of Qt's file dialogs, wide enough to show sizes and dates
// whole.
#pragma once

class QFileDialog;

namespace pellimar {

// Once the dialog shows, widens the Size and Date Modified columns to the
// longest texts the dialog writes there, in the system's locale and the
// view's font, and the dialog as much as the columns then need.
void FitDetailColumns(QFileDialog& dialog);

}  // namespace pellimar
