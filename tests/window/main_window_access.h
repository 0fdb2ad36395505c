// The tests' one way to the main window's controls.
#pragma once

#include "window/main_window.h"

namespace pellimar {

class MainWindowTestAccess {
public:
    static MainWindowUi& Ui(TZUDIzazu& window) { return window.ui; }
    static WindowView& View(TZUDIzazu& window) { return *window.view_; }
};

}  // namespace pellimar
