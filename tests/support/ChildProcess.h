#pragma once

// A program run beside the test: started, watched and stopped.
#include <chrono>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace hvtest
{
// Starts the program with the arguments and this process's environment; -1 on failure.
pid_t Spawn(const std::string& path, std::vector<std::string> arguments);
// Waits for the process; its exit code, -1 when it was killed or is not a child.
int Wait(pid_t pid);
// Whether the process listens on a single-instance socket, i.e. its window
// exists. Read from /proc so the check takes no lock: a FindWindowW probe
// that came first would take the instance lock itself and make the child quit.
bool ListensForSecondCopies(pid_t pid);

// Polls for up to thirty seconds: a sanitized child starts slowly on a busy machine.
template <class Condition>
bool Eventually(Condition condition)
{
    for (int i = 0; i < 600; ++i)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}
} // namespace hvtest
