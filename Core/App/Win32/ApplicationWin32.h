#pragma once

#include "Core/App/Thread.h"
#include "Platform/Win32/Types.h"

#include <functional>
#include <string>
#include <vector>

namespace app
{
// The task face of the application: folders, arguments and the main loop.
class ApplicationWin32 : public Thread
{
public:
    // Shows a message box with no owner window and waits for the user.
    using MessageBoxFunction = std::function<int(const std::wstring& text, const std::wstring& caption, UINT type)>;

    ApplicationWin32();
    ~ApplicationWin32() override;

    // Pumps one message of the thread.
    HVResultEnum Update(float dt) override;

    // Init, then the main loop unless Init stopped the application.
    virtual HVResultEnum RunMain();
    // Executable folder, the log's debugger output, application-data folder.
    virtual HVResultEnum PreInit();
    virtual HVResultEnum OnInit();

    // Attaches "log.html" in the folder to the log.
    HVResultEnum InitLogFile(const std::wstring& folder);

    std::wstring mUserAppDataFolder; // '/' separators, exactly one trailing '/'
    std::wstring mExeFolder;         // up to and including the last separator
    std::wstring mLogFolder;
    std::vector<std::wstring> mArguments; // without the program name
    // Static so it can be read after the application object is gone.
    static inline bool sAnotherInstance = false;
    bool mRenderInitFailed = false;
    // The system's box (MessageBoxW) unless the application's maker hands in another.
    MessageBoxFunction mShowMessageBox;
};
} // namespace app
