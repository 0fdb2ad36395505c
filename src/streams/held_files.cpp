// The table of held files.
#include "streams/held_files.h"

#include <mutex>
#include <optional>
#include <set>

#include "streams/native_file.h"

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

std::string ReasonNotOpened(const std::string& name, bool creating)
{
    const bool sharing = LastFailureWasSharing();
    const std::string reason = LastFailureReason(creating);
    if (sharing) {
        const std::optional<FileIdentity> identity = IdentityOfName(name);
        if (identity && IsHeldFile(*identity))
            return creating ? "it is the input file" : "it is already open";
    }
    return reason;
}

}  // namespace pellimar
