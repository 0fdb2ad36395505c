// The table of held files.
#include "streams/held_files.h"

#include <map>
#include <mutex>
#include <optional>

#include "streams/native_file.h"

namespace pellimar {
namespace {

struct Holders {
    int readers = 0;
    bool writer = false;
};

struct HeldFiles {
    std::mutex mutex;
    std::map<FileIdentity, Holders> files;
};

HeldFiles& TheHeldFiles()
{
    static HeldFiles held;
    return held;
}

// Why a new hold would clash with those taken; null when it would not.
const char* Clash(const Holders& holders, Holding holding)
{
    if (holders.writer)
        return "this run is writing it";
    if (holding == Holding::Writing && holders.readers > 0)
        return kOutputIsInput;
    return nullptr;
}

}  // namespace

bool TakeHeldFile(FileIdentity file, Holding holding, std::string* refusal)
{
    HeldFiles& held = TheHeldFiles();
    std::lock_guard lock(held.mutex);
    Holders& holders = held.files[file];
    if (const char* clash = Clash(holders, holding)) {
        if (refusal != nullptr)
            *refusal = clash;
        return false;
    }
    if (holding == Holding::Writing)
        holders.writer = true;
    else
        ++holders.readers;
    return true;
}

void GiveHeldFile(FileIdentity file, Holding holding)
{
    HeldFiles& held = TheHeldFiles();
    std::lock_guard lock(held.mutex);
    const auto entry = held.files.find(file);
    if (entry == held.files.end())
        return;
    Holders& holders = entry->second;
    if (holding == Holding::Writing)
        holders.writer = false;
    else if (holders.readers > 0)
        --holders.readers;
    if (!holders.writer && holders.readers == 0)
        held.files.erase(entry);
}

bool IsHeldFile(FileIdentity file)
{
    HeldFiles& held = TheHeldFiles();
    std::lock_guard lock(held.mutex);
    return held.files.contains(file);
}

std::string HeldFileClash(FileIdentity file, Holding holding)
{
    HeldFiles& held = TheHeldFiles();
    std::lock_guard lock(held.mutex);
    const auto entry = held.files.find(file);
    const char* clash = entry == held.files.end() ? nullptr : Clash(entry->second, holding);
    return clash != nullptr ? clash : "";
}

std::string ReasonNotOpened(const std::string& name, bool creating)
{
    const bool sharing = LastFailureWasSharing();
    std::string reason = LastFailureReason(creating);
    const std::optional<FileIdentity> identity = sharing ? IdentityOfName(name) : std::nullopt;
    if (!identity)
        return reason;
    const std::string clash = HeldFileClash(*identity, creating ? Holding::Writing : Holding::Reading);
    return clash.empty() ? reason : clash;
}

}  // namespace pellimar
