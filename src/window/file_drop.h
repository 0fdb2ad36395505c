// Files dragged onto the main window: which drags are taken, and where the
// dropped files go (to the window model, which decides what it fills in).
#pragma once

#include <span>
#include <string>
#include <vector>

class QDropEvent;
class QMimeData;
class QWidget;

namespace pellimar {

class MainWindowModel;
class HistoryComboBox;

// The local files a drag carries, in its order; folders and files elsewhere
// than on this machine are left out.
std::vector<std::string> DroppedFilePaths(const QMimeData* data);

// Accepts a drag or drop that carries a file, as a copy (so that no file
// manager takes it for a move and removes the file). False when it carries none.
bool AcceptFileDrag(QDropEvent* event);

// Sends file drags over the window's drop-down boxes on to the model, as a
// drop on the window; the boxes' edit lines would otherwise take a dragged
// file's address as text.
void ForwardFileDragsOverBoxes(QWidget& window, MainWindowModel& model, std::span<HistoryComboBox* const> boxes);

}  // namespace pellimar
