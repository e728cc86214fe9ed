// A second copy of the program for the window tests: creates its window in
// the given user-data folder with the given caption. Exit code 2: it found a
// first copy and took the another-instance path; 0: it made its own window.
#include "Core/App/Application.h"
#include "Core/App/Window.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Platform/Win32/SingleInstance.h"

#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 1;
    const std::string folder = argv[1];
    const std::string title = argv[2];
    win32::SetSingleInstanceFolder(std::wstring(folder.begin(), folder.end()));
    input::InputWin32 input(nullptr, nullptr);
    app::Window window(&input, false, false, true);
    if (window.Create(0, 0, 320, 270, 320, 240, true, std::wstring(title.begin(), title.end())) != HV_OK)
        return 1;
    if (app::ApplicationWin32::sAnotherInstance && app::Application::Instance()->mStopRequested && !window.mCreated
        && !window.GetHandle())
        return 2;
    return window.mCreated ? 0 : 1;
}
