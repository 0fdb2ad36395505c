// The viewer dialog's filter on Windows, where programs end in ".exe".
#include "window_model/file_dialogs.h"

namespace pellimar {

OpenFilter ViewerFilter()
{
    return kExecutablesFilter;
}

}  // namespace pellimar
