// Files dropped on the main window: a definition file fills the level names,
// any other file becomes the input (and names the output when none is given).
#pragma once

#include <span>
#include <string>

class QDropEvent;
class QMimeData;

namespace pellimar {

class THistoryComboBox;
class TZUDIzazu;

// The local file a drag carries (its first URL), or empty when it carries
// none or its first URL names a folder or a file elsewhere than on this machine.
std::string DroppedFilePath(const QMimeData* data);

// A definition file: a name ending in ".def" in any letter case.
bool IsDefinitionFile(const std::string& path);

// The output name offered for an input: "-ref" added to the name before its
// extension, in the same folder ("/d/book.fff" gives "/d/book-ref.fff").
std::string DerivedOutputPath(const std::string& inputPath);

// Accepts a drag or drop that carries a file, as a copy (so that no file
// manager takes it for a move and removes the file). False when it carries none.
bool AcceptFileDrag(QDropEvent* event);

// Applies a dropped file to the window. A definition file replaces the seven
// level names as "Load Levels" does; any other file fills the input box, and
// the output box with DerivedOutputPath when that box is empty. Histories are
// left alone; errors reach the window's general error handler.
void DropFileOnWindow(TZUDIzazu& window, const std::string& path);

// Sends file drags over the window's drop-down boxes on to the window, whose
// edit lines would otherwise take a dragged file's address as text.
void ForwardFileDragsOverBoxes(TZUDIzazu& window, std::span<THistoryComboBox* const> boxes);

}  // namespace pellimar
