#include "Core/App/Win32/ApplicationWin32.h"

#include "Core/App/Application.h"
#include "Core/Base/Log.h"
#include "Core/Base/LogMessage.h"
#include "Core/Base/LogUtf8File.h"
#include "Core/Base/NormalizePath.h"
#include "Platform/Win32/Folders.h"
#include "Platform/Win32/LastError.h"
#include "Platform/Win32/MessageBox.h"
#include "Platform/Win32/Messages.h"
#include "Platform/Win32/Module.h"

#include <climits>

namespace app
{
namespace
{
// The place of the last '/' or '\\', whichever comes later.
size_t LastSeparator(const std::wstring& path)
{
    const size_t slash = path.rfind(L'/');
    const size_t backslash = path.rfind(L'\\');
    if (slash == std::wstring::npos)
        return backslash;
    if (backslash == std::wstring::npos)
        return slash;
    return slash > backslash ? slash : backslash;
}
} // namespace

ApplicationWin32::ApplicationWin32()
    : Thread(false, true, true, true),
      mShowMessageBox([](const std::wstring& text, const std::wstring& caption, UINT type) {
          return MessageBoxW(nullptr, text.c_str(), caption.c_str(), type);
      })
{
}

ApplicationWin32::~ApplicationWin32()
{
    if (mRenderInitFailed)
        mShowMessageBox(L"Failed to init DirectX 9 render: video card does'n support vertex shaders 1.1 and(or) "
                        L"pixel shaders 2.0",
                        L"Error", MB_ICONERROR);
}

HVResultEnum ApplicationWin32::Update(float)
{
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return HV_OK;
}

HVResultEnum ApplicationWin32::RunMain()
{
    Application* application = Application::Instance();
    const HVResultEnum result = application->Init();
    // A failed start must not end as success; a deliberate stop keeps its code.
    if (result != HV_OK && application->mExitCode == 0)
        application->mExitCode = 1;
    if (mStopRequested)
        return result;
    return Run();
}

HVResultEnum ApplicationWin32::PreInit()
{
    // Buffers are PATH_MAX, so a long install or home path still fits.
    WCHAR buffer[PATH_MAX];
    SetLastError(0);
    GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, PATH_MAX);
    if (GetLastError() != 0)
        return HV_FAIL;
    const std::wstring exePath = buffer;
    const size_t separator = LastSeparator(exePath);
    mExeFolder = separator == std::wstring::npos ? std::wstring() : exePath.substr(0, separator + 1);

    base::MainLog::Instance()->AddTextOutput(new base::LogDebugOutput());

    WCHAR folder[PATH_MAX] = {};
    SetLastError(0);
    HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder);
    if (hr == E_FAIL)
        hr = SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, folder);
    if (FAILED(hr))
        return HV_FAIL;
    mUserAppDataFolder = base::NormalizePath(folder);
    return HV_OK;
}

HVResultEnum ApplicationWin32::OnInit()
{
    return HV_OK;
}

HVResultEnum ApplicationWin32::InitLogFile(const std::wstring& folder)
{
    mLogFolder = folder;
    const std::wstring path = folder + L"log.html";
    // Only the debugger output exists yet, so this line is not in the file.
    HV_LOG(L"%s(0): Html log file\n").SetStyle(base::LogBlockStyle()) % path;
    base::MainLog::Instance()->AddHtmlOutput(new base::LogUtf8File(path));
    return HV_OK;
}
} // namespace app
