#include "Platform/Win32/SingleInstance.h"
#include "Platform/Win32/WindowState.h"

#include "Platform/Win32/Utf8Lossy.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace win32;

namespace
{
struct InstanceState
{
    std::string folder;
    int pendingLock = -1; // taken by FindWindowW, kept for the window created next
    std::string pendingPath;
    unsigned restoreRequests = 0;
};

InstanceState& Instance()
{
    static InstanceState state;
    return state;
}

// FNV-1a: stable across builds, so every copy derives the same names.
uint64_t Hash(const std::string& text)
{
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

std::string Hex(uint64_t v)
{
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

std::string LockPath(const std::wstring& className, const std::wstring& title)
{
    std::string folder = Instance().folder;
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder + "instance-" + Hex(Hash(WideToUtf8Lossy(className) + '\n' + WideToUtf8Lossy(title))) + ".lock";
}

std::string SocketName(const std::string& lockPath)
{
    return "hv-instance-" + Hex(Hash(lockPath));
}

socklen_t MakeAddress(const std::string& name, sockaddr_un& addr)
{
    addr = {};
    addr.sun_family = AF_UNIX;
    // Abstract namespace: a leading NUL, no file left behind.
    const size_t n = std::min(name.size(), sizeof(addr.sun_path) - 1);
    std::copy(name.begin(), name.begin() + n, addr.sun_path + 1);
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}

HWND NewRemote(const std::string& lockPath)
{
    State& s = GetState();
    s.remotes.push_back(std::make_unique<RemoteWindow>(RemoteWindow{SocketName(lockPath)}));
    s.all.push_back(std::make_unique<HWND__>());
    s.all.back()->impl = s.remotes.back().get();
    return s.all.back().get();
}
} // namespace

namespace win32
{
void SetSingleInstanceFolder(const std::wstring& folder)
{
    Instance().folder = WideToUtf8Lossy(folder);
}

unsigned GetRestoreRequestCount()
{
    return Instance().restoreRequests;
}

void AdoptInstanceLock(WindowImpl& window, const std::wstring&, const std::wstring&)
{
    InstanceState& in = Instance();
    if (in.pendingLock < 0)
        return;
    window.instanceLock = in.pendingLock;
    in.pendingLock = -1;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un addr;
    socklen_t len = MakeAddress(SocketName(in.pendingPath), addr);
    if (fd >= 0 && (bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(fd, 4) != 0))
    {
        close(fd);
        fd = -1;
    }
    window.instanceSocket = fd;
    in.pendingPath.clear();
}

void PollRestoreRequests()
{
    for (HWND hwnd : std::vector<HWND>(GetState().live))
    {
        WindowImpl* w = LookupWindow(hwnd);
        if (!w || w->instanceSocket < 0)
            continue;
        int conn;
        while ((conn = accept4(w->instanceSocket, nullptr, nullptr, SOCK_CLOEXEC)) >= 0)
        {
            close(conn); // the connection itself is the request
            ++Instance().restoreRequests;
            ShowWindow(hwnd, SW_RESTORE);
            SetForegroundWindow(hwnd);
        }
    }
}

void ReleaseInstanceLock(WindowImpl& window)
{
    if (window.instanceSocket >= 0)
        close(window.instanceSocket);
    if (window.instanceLock >= 0)
        close(window.instanceLock); // closing drops the flock
    window.instanceSocket = window.instanceLock = -1;
}

bool SendRestoreRequest(const RemoteWindow& remote)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr;
    socklen_t len = MakeAddress(remote.socketName, addr);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0;
    close(fd);
    return ok;
}
} // namespace win32

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    const std::wstring cls = className ? className : L"";
    const std::wstring title = windowName ? windowName : L"";
    for (HWND hwnd : GetState().live)
    {
        WindowImpl* w = LookupWindow(hwnd);
        if ((!className || w->className == cls) && (!windowName || w->title == title))
            return hwnd;
    }
    InstanceState& in = Instance();
    if (in.folder.empty())
        return nullptr;
    const std::string path = LockPath(cls, title);
    if (in.pendingLock >= 0 && in.pendingPath == path)
        return nullptr;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0)
    {
        if (in.pendingLock >= 0)
            close(in.pendingLock);
        in.pendingLock = fd;
        in.pendingPath = path;
        return nullptr;
    }
    const bool held = errno == EWOULDBLOCK;
    close(fd);
    return held ? NewRemote(path) : nullptr;
}
