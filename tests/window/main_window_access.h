// The tests' one way to the main window's controls.
#pragma once

#include "window/main_window.h"

namespace pellimar {

class MainWindowTestAccess {
public:
    static MainWindowUi& Ui(TZUDIzazu& window) { return window.ui; }
};

}  // namespace pellimar
