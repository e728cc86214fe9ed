#include "support/ChildProcess.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

extern char** environ;

namespace hvtest
{
pid_t Spawn(const std::string& path, std::vector<std::string> arguments)
{
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    return pid;
}

int Wait(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ListensForSecondCopies(pid_t pid)
{
    namespace fs = std::filesystem;
    std::set<std::string> sockets;
    std::ifstream table("/proc/net/unix");
    for (std::string line; std::getline(table, line);)
    {
        std::istringstream fields(line);
        std::string num, refs, protocol, flags, type, state, inode, path;
        if (fields >> num >> refs >> protocol >> flags >> type >> state >> inode >> path &&
            path.rfind("@hv-instance-", 0) == 0)
            sockets.insert("socket:[" + inode + "]");
    }
    std::error_code error;
    for (const fs::directory_entry& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error))
        if (sockets.count(fs::read_symlink(fd.path(), error).string()))
            return true;
    return false;
}
} // namespace hvtest
