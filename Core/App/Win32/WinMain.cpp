#include "Platform/Win32/WinMain.h"

#include "Core/App/Application.h"
#include "Platform/Win32/Com.h"
#include "Platform/Win32/CommandLine.h"

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);

    std::vector<std::wstring> arguments;
    int count = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count))
    {
        for (int i = 1; i < count; ++i)
            arguments.emplace_back(argv[i]);
        LocalFree(argv);
    }

    app::Application* application = app::Application::Instance();
    if (!application)
    {
        std::fputs("Start-up failed: the application could not be created\n", stderr);
        CoUninitialize();
        return 1;
    }
    application->mArguments = std::move(arguments);

    if (application->PreInit() != HV_OK)
    {
        // Nothing else can report it yet: no log file, no window.
        std::fputs("Start-up failed: no executable path or no user data folder\n", stderr);
        return 1;
    }
    application->RunMain();
    CoUninitialize();
    return application->mExitCode;
}
