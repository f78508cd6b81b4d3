#pragma once
// Idle child processes that make the process table look like a desktop
// session's rather than a bare container's. Start them before any thread
// exists: a child only waits to be killed.
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lumorra::bench {

inline std::vector<pid_t> startIdleChildren(int count)
{
    std::vector<pid_t> children;
    for (int i = 0; i < count; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (;;)
                pause();
        }
        if (pid > 0)
            children.push_back(pid);
    }
    return children;
}

inline void endChildren(const std::vector<pid_t>& children)
{
    for (pid_t c : children)
        kill(c, SIGKILL);
    for (pid_t c : children)
        waitpid(c, nullptr, 0);
}

} // namespace lumorra::bench
