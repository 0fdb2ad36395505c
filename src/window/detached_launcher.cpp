// Program start through QProcess: no shell, so blanks need no quoting.
#include "window/detached_launcher.h"

#include <QProcess>

#include "window/byte_text.h"

namespace pellimar {

void DetachedLauncher::Start(const std::string& program, const std::string& argument)
{
    QProcess::startDetached(PathFromBytes(program), {PathFromBytes(argument)});
}

}  // namespace pellimar
