// What the program sets for the whole application before it makes its window.
#pragma once

namespace pellimar {

// Names the application, gives it its icon and desktop entry, and keeps its
// default font proportional. It sets no display name: Qt would append one to
// the caption of every window that does not already end with it, and the
// window manager would show "Error — ..." for a box captioned "Error".
void SetUpApplication();

}  // namespace pellimar
