// The table of held files and locks against other programs.
#include "streams/held_files.h"

#include <sys/file.h>

#include <cerrno>
#include <mutex>
#include <set>

namespace pellimar {
namespace {

struct HeldFiles {
    std::mutex mutex;
    std::set<FileIdentity> files;
};

HeldFiles& TheHeldFiles()
{
    static HeldFiles held;
    return held;
}

}  // namespace

bool TakeHeldFile(FileIdentity file)
{
    HeldFiles& held = TheHeldFiles();
    std::lock_guard lock(held.mutex);
    return held.files.insert(file).second;
}

void GiveHeldFile(FileIdentity file)
{
    HeldFiles& held = TheHeldFiles();
    std::lock_guard lock(held.mutex);
    held.files.erase(file);
}

bool IsHeldFile(FileIdentity file)
{
    HeldFiles& held = TheHeldFiles();
    std::lock_guard lock(held.mutex);
    return held.files.contains(file);
}

bool LockAgainstOtherPrograms(int fd)
{
    return flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

}  // namespace pellimar
