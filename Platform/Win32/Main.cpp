#include "Platform/Win32/CommandLine.h"
#include "Platform/Win32/Module.h"
#include "Platform/Win32/WinMain.h"

#define SW_SHOWDEFAULT 10

int main(int argc, char** argv)
{
    win32::SetProcessArguments(argc, argv);
    static char emptyCommandLine[] = "";
    return WinMain(reinterpret_cast<HINSTANCE>(GetModuleHandleW(nullptr)), nullptr, emptyCommandLine,
                   SW_SHOWDEFAULT);
}
