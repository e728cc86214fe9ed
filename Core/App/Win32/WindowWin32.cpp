#include "Core/App/Win32/WindowWin32.h"

#include "Core/App/Application.h"
#include "Core/Input/Win32/InputWin32.h"
#include "Platform/Win32/Input.h"
#include "Platform/Win32/Messages.h"
#include "Platform/Win32/Module.h"
#include "Platform/Win32/Window.h"

#include <algorithm>

namespace app
{
namespace
{
constexpr size_t kClassNameSize = 100;
constexpr WORD kCloseCommand = 105;

std::unique_ptr<WCHAR[]> CopyText(const std::wstring& text, size_t size)
{
    auto buffer = std::make_unique<WCHAR[]>(size);
    std::copy_n(text.c_str(), std::min(text.size() + 1, size), buffer.get());
    buffer[size - 1] = 0;
    return buffer;
}
} // namespace

CriticalSection WindowWin32::sCreationLock;
WindowWin32* WindowWin32::sBeingCreated = nullptr;

WindowWin32::WindowWin32(input::InputWin32* input, bool deleteWhenFinished, bool finishWhenChildrenDone,
                         bool keepsParentAlive)
    : Task(deleteWhenFinished, finishWhenChildrenDone, keepsParentAlive, true), mInput(input)
{
}

WindowWin32::~WindowWin32()
{
    if (!mDestroyed && mHandle)
        DestroyWindow(mHandle);
}

HVResultEnum WindowWin32::Start()
{
    return HV_OK;
}

HVResultEnum WindowWin32::Update(float)
{
    if (!mCreated || (mFinished && mChildren.empty()))
        return HV_OK;
    if (mCloseRequested && !mDestroyed)
    {
        mDestroyed = true;
        DestroyWindow(mHandle);
    }
    MSG msg;
    if (PeekMessageW(&msg, mHandle, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return HV_OK;
}

void WindowWin32::OnStop()
{
    mCloseRequested = true;
}

bool WindowWin32::CanClose()
{
    return true;
}

void WindowWin32::OnActivate()
{
}

void WindowWin32::OnDeactivate()
{
}

void WindowWin32::OnCreated()
{
}

HVResultEnum WindowWin32::Create(int x, int y, int windowWidth, int windowHeight, int clientWidth,
                                 int clientHeight, bool windowed, const std::wstring& title)
{
    mTitle = CopyText(title, title.size() + 1);
    mClassName = CopyText(L"ApplicationWindow", kClassNameSize);

    if (HWND first = FindWindowW(mClassName.get(), mTitle.get()))
    {
        ShowWindow(first, SW_RESTORE);
        ApplicationWin32::sAnotherInstance = true;
        Application::Instance()->Stop();
        return HV_OK;
    }

    mSavedX = x;
    mSavedY = y;
    mWindowWidth = windowWidth;
    mWindowHeight = windowHeight;
    mClientWidth = clientWidth;
    mClientHeight = clientHeight;
    mWindowed = windowed;
    mInstance = GetModuleHandleW(nullptr);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
    wc.lpfnWndProc = StaticWindowProc;
    wc.hInstance = mInstance;
    wc.hIcon = LoadIconW(mInstance, MAKEINTRESOURCEW(109));
    wc.hIconSm = LoadIconW(mInstance, MAKEINTRESOURCEW(108)); // absent: derived from the large one
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
    wc.lpszClassName = mClassName.get();
    RegisterClassExW(&wc); // a second registration fails, harmlessly

    if (CreateOSWindow(SW_SHOW) != HV_OK)
        return HV_FAIL;
    mCreated = true;
    OnCreated();
    return HV_OK;
}

HVResultEnum WindowWin32::CreateOSWindow(int showCommand)
{
    sCreationLock.Lock();
    sBeingCreated = this;
    mHandle = CreateWindowExW(0, mClassName.get(), mTitle.get(), mWindowed ? kWindowedStyle : kFullScreenStyle,
                              mSavedX, mSavedY, mWindowWidth, mWindowHeight, nullptr, nullptr, mInstance, nullptr);
    if (!mHandle)
    {
        sBeingCreated = nullptr; // never left pointing at an object that may go away
        sCreationLock.Unlock();
        return HV_FAIL;
    }
    SetWindowLongPtrW(mHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    sBeingCreated = nullptr;
    SetTimer(mHandle, kLeaveTimerId, 10, nullptr);
    sCreationLock.Unlock();
    ShowWindow(mHandle, showCommand);
    UpdateWindow(mHandle);
    return HV_OK;
}

HWND WindowWin32::GetHandle() const
{
    return mHandle;
}

void WindowWin32::GetWindowSizeForClient(int clientWidth, int clientHeight, int* windowWidth, int* windowHeight)
{
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&r, kWindowedStyle, FALSE);
    *windowWidth = r.right - r.left;
    *windowHeight = r.bottom - r.top;
}

HVResultEnum WindowWin32::SetWindowedSize(int width, int height)
{
    mWindowWidth = width;
    mWindowHeight = height;
    SetWindowPos(mHandle, nullptr, mSavedX, mSavedY, width, height, SWP_FRAMECHANGED | SWP_NOZORDER);
    return HV_OK;
}

HVResultEnum WindowWin32::SwitchWindowMode(int width, int height, bool windowed)
{
    if (windowed == mWindowed && width == mWindowWidth && height == mWindowHeight)
        return HV_OK;
    mWindowed = windowed;
    mWindowWidth = width;
    mWindowHeight = height;
    ShowWindow(mHandle, SW_HIDE);
    if (windowed)
    {
        SetWindowLongW(mHandle, GWL_STYLE, static_cast<LONG>(kWindowedStyle));
        SetWindowPos(mHandle, HWND_NOTOPMOST, mSavedX, mSavedY, width, height, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    }
    else
    {
        SetWindowLongW(mHandle, GWL_STYLE, static_cast<LONG>(kFullScreenStyle));
        SetWindowPos(mHandle, HWND_TOP, 0, 0, width, height, SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOZORDER);
    }
    ShowWindow(mHandle, SW_SHOW);
    SetForegroundWindow(mHandle);
    return HV_OK;
}

LRESULT WindowWin32::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* window = reinterpret_cast<WindowWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!window)
        window = sBeingCreated; // messages sent from inside CreateWindowExW
    if (!window)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return window->WindowProc(hwnd, message, wParam, lParam);
}

LRESULT WindowWin32::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const input::Point pos{static_cast<float>(GET_X_LPARAM(lParam)), static_cast<float>(GET_Y_LPARAM(lParam))};
    const bool own = hwnd == mHandle; // null while CreateWindowExW runs
    switch (message)
    {
    case WM_CREATE:
    case WM_SYSCOLORCHANGE:
    case WM_ENDSESSION:
    case WM_DISPLAYCHANGE:
        return 0;
    case WM_DESTROY:
        mFinished = true;
        return 0;
    case WM_MOVE:
        if (own && mWindowed)
        {
            WINDOWPLACEMENT wp{};
            wp.length = sizeof wp;
            if (GetWindowPlacement(hwnd, &wp) && (wp.showCmd == SW_SHOWNORMAL || wp.showCmd == SW_SHOW))
            {
                mSavedX = wp.rcNormalPosition.left;
                mSavedY = wp.rcNormalPosition.top;
            }
        }
        return 0;
    case WM_SIZE:
        if (own)
            mMinimized = wParam == SIZE_MINIMIZED;
        UpdateActivity();
        return 0;
    case WM_ENABLE:
        mDisabled = wParam == 0;
        return 0;
    case WM_PAINT:
    {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        if (CanClose())
            Stop();
        return 0;
    case WM_QUERYOPEN:
        return mDisabled ? 0 : DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_ACTIVATEAPP:
        mApplicationActive = wParam != 0;
        if (own)
            UpdateActivity();
        return 0;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (wParam == VK_MENU)
            mAltHeld = true;
        if (mAltHeld && wParam == VK_RETURN)
        {
            mModeSwitchRequested = true;
            mAltHeld = false;
            return 0;
        }
        mInput->KeyDown(static_cast<UINT>(wParam), lParam);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (wParam == VK_MENU)
            mAltHeld = false;
        mInput->KeyUp(static_cast<UINT>(wParam), lParam);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_CHAR:
    case WM_SYSCHAR:
        return 0; // characters come from the key-down handling
    case WM_COMMAND:
        if (LOWORD(wParam) != kCloseCommand)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        DestroyWindow(hwnd);
        return 0;
    case WM_TIMER:
        TestPointerLeave();
        return 0;
    case WM_MOUSEMOVE:
        mInput->MouseMove(pos);
        return 0;
    case WM_LBUTTONDOWN:
        mInput->MouseDown(pos, 1);
        return 0;
    case WM_LBUTTONUP:
        mInput->MouseUp(pos, 1);
        return 0;
    case WM_LBUTTONDBLCLK:
        mInput->DoubleClick(pos, 1);
        return 0;
    case WM_RBUTTONDOWN:
        mInput->MouseDown(pos, 3);
        return 0;
    case WM_RBUTTONUP:
        mInput->MouseUp(pos, 3);
        return 0;
    case WM_RBUTTONDBLCLK:
        mInput->DoubleClick(pos, 3);
        return 0;
    case WM_MOUSEWHEEL:
    {
        // The wheel carries a screen position.
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hwnd, &p);
        mInput->MouseWheel({static_cast<float>(p.x), static_cast<float>(p.y)}, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void WindowWin32::UpdateActivity()
{
    const bool active = mApplicationActive && !mMinimized;
    if (active == mActive)
        return;
    mActive = active;
    if (active)
    {
        OnActivate();
    }
    else
    {
        OnDeactivate();
        ReleaseCapture();
    }
}

void WindowWin32::TestPointerLeave()
{
    POINT p0{0, 0};
    POINT p1{mClientWidth, mClientHeight};
    ClientToScreen(mHandle, &p0);
    ClientToScreen(mHandle, &p1);
    POINT c{};
    GetCursorPos(&c);
    const bool inside =
        WindowFromPoint(c) == mHandle && p0.x <= c.x && c.x < p1.x && p0.y <= c.y && c.y < p1.y;
    if (inside == mPointerInside)
        return;
    if (!inside)
    {
        const input::Point last{static_cast<float>(c.x - p0.x), static_cast<float>(c.y - p0.y)};
        mInput->MouseMove(last);
        mInput->MouseLeave(last);
    }
    mPointerInside = inside;
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}
} // namespace app
