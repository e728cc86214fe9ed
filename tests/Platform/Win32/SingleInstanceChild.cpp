// A second copy of a program, for the single-instance tests: looks for the
// first copy by folder, class and caption and asks it to restore its window.
// Exit code 2: a first copy was found; 0: none.
#include "Platform/Win32/SingleInstance.h"
#include "Platform/Win32/Window.h"

#include <string>

namespace
{
std::wstring Widen(const char* s)
{
    return std::wstring(s, s + std::char_traits<char>::length(s)); // ASCII arguments
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 1;
    win32::SetSingleInstanceFolder(Widen(argv[1]));
    HWND found = FindWindowW(Widen(argv[2]).c_str(), Widen(argv[3]).c_str());
    if (!found)
        return 0;
    return ShowWindow(found, SW_RESTORE) ? 2 : 3;
}
