// Read leases, and the signal through which the system tells of a writer.
#include "streams/read_lease_posix.h"

#include <fcntl.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <mutex>

#include "streams/file_faults.h"

namespace pellimar {
namespace {

// A lease per file being read: the jobs of a collection, each with its input
// and perhaps a level-names file. A file that finds every place taken is read
// without a lease, as on a file system that has none.
constexpr std::size_t kLeasePlaces = 64;

// Read in the signal handler, so atomic and lock-free.
struct LeasePlace {
    std::atomic<int> fd{-1};
    std::atomic<bool> broken{false};
};
std::array<LeasePlace, kLeasePlaces> places;

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// A real-time signal, as those are queued: two leases broken at once are
// both told.
int LeaseSignal()
{
    return SIGRTMIN + 1;
}

// The signal's default would end the program, on whichever thread it lands.
extern "C" void OnLeaseBroken(int, siginfo_t* info, void*)
{
    const int saved = errno;
    const int fd = info->si_fd;
    for (LeasePlace& place : places) {
        if (place.fd.load() == fd) {
            place.broken.store(true);
            ::fcntl(fd, F_SETLEASE, F_UNLCK);
        }
    }
    errno = saved;
}

void HandleLeaseSignal()
{
    struct sigaction action {};
    action.sa_sigaction = OnLeaseBroken;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(LeaseSignal(), &action, nullptr);
}

LeasePlace* Claim(int fd)
{
    for (LeasePlace& place : places) {
        int free = -1;
        if (place.fd.compare_exchange_strong(free, fd)) {
            place.broken.store(false);
            return &place;
        }
    }
    return nullptr;
}

LeasePlace* PlaceOf(int fd)
{
    for (LeasePlace& place : places) {
        if (place.fd.load() == fd)
            return &place;
    }
    return nullptr;
}

bool Lease(int fd)
{
    int error = 0;
    if (FileFaultStrikes(FileCall::Lease, error)) {
        errno = error;
        return false;
    }
    return ::fcntl(fd, F_SETSIG, LeaseSignal()) == 0 && ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
}

}  // namespace

// The place is claimed before the lease is asked for, so that a break that
// comes at once finds it.
LeaseTaking TakeReadLease(int fd)
{
    static std::once_flag handled;
    std::call_once(handled, HandleLeaseSignal);
    LeasePlace* place = Claim(fd);
    if (place == nullptr)
        return LeaseTaking::Unavailable;
    if (Lease(fd))
        return LeaseTaking::Held;
    const int error = errno;
    place->fd.store(-1);
    return error == EAGAIN ? LeaseTaking::FileOpenForWriting : LeaseTaking::Unavailable;
}

bool ReadLeaseBroken(int fd)
{
    const LeasePlace* place = PlaceOf(fd);
    return place != nullptr && place->broken.load();
}

void DropReadLease(int fd)
{
    if (LeasePlace* place = PlaceOf(fd)) {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
        place->fd.store(-1);
    }
}

}  // namespace pellimar
