#include "support/RunProgram.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace hvtest
{
int RunProgram(const std::string& path, const std::vector<std::string>& arguments)
{
    std::vector<std::string> args{path};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace hvtest
