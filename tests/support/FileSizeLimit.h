#pragma once

// Runs a check in a child process whose files may grow to a few bytes only,
// so that every larger write fails there as on a full disk; the limit never
// reaches the test process itself.

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaly::test {

// True when the check held in the child.
inline bool HoldsWithTinyFileSizeLimit(const std::function<bool()>& check)
{
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace tessaly::test
