// Runs test steps as a user without privileges, so that file permissions
// apply to them also when the tests run as root.
#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <vector>

namespace pellimar::testing {

// The user "nobody" of Debian.
inline constexpr uid_t kUnprivilegedId = 65534;

// Runs `steps` in a child process, which gives up root first when the tests
// run as root, keeping only the supplementary `groups`. Folders the steps
// use must let that user in. The child's failed expectations are printed by
// the child; true when there were none.
inline bool RunUnprivileged(const std::function<void()>& steps, const std::vector<gid_t>& groups = {})
{
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(kUnprivilegedId) != 0 ||
                                 ::setuid(kUnprivilegedId) != 0))
            ::_exit(2);
        try {
            steps();
        } catch (const std::exception& error) {
            ADD_FAILURE() << "unexpected exception: " << error.what();
        }
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

inline bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

}  // namespace pellimar::testing
