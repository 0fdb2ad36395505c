// The viewer dialog's filter where programs carry no common ending: all files.
#include "window_model/file_dialogs.h"

namespace pellimar {

OpenFilter ViewerFilter()
{
    return kAllFilesFilter;
}

}  // namespace pellimar
