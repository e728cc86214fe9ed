#pragma once

#include "Core/App/CriticalSection.h"
#include "Core/Base/Task.h"
#include "Platform/Win32/Window.h"

#include <memory>
#include <string>

namespace input
{
class InputWin32;
}

namespace app
{
// The one top-level window, and the task that pumps it: one message of the
// window per update, and its destruction once a close was requested.
class WindowWin32 : public base::Task
{
public:
    // The input object is required and not owned. The task always has a lock.
    WindowWin32(input::InputWin32* input, bool deleteWhenFinished, bool finishWhenChildrenDone,
                bool keepsParentAlive);
    ~WindowWin32() override;

    HVResultEnum Start() override;
    HVResultEnum Update(float dt) override;
    // Requests the close; the next update destroys the window.
    void OnStop() override;
    virtual bool CanClose();
    virtual void OnActivate();
    virtual void OnDeactivate();
    virtual void OnCreated();

    // Makes and shows the window, or, when a first copy of the program runs,
    // restores that copy's window and stops the application. 1 when the
    // window could not be made.
    HVResultEnum Create(int x, int y, int windowWidth, int windowHeight, int clientWidth, int clientHeight,
                        bool windowed, const std::wstring& title);
    HWND GetHandle() const;
    // The outer size of a windowed window with this client size.
    static void GetWindowSizeForClient(int clientWidth, int clientHeight, int* windowWidth, int* windowHeight);
    HVResultEnum SetWindowedSize(int width, int height);
    HVResultEnum SwitchWindowMode(int width, int height, bool windowed);

    static LRESULT StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    static constexpr DWORD kWindowedStyle = 0x82CA0000; // pop-up, caption, system menu, minimise box
    static constexpr DWORD kFullScreenStyle = 0x80000000;
    static constexpr UINT_PTR kLeaveTimerId = 100;

    HWND mHandle = nullptr;
    std::unique_ptr<WCHAR[]> mTitle;
    std::unique_ptr<WCHAR[]> mClassName; // 100 characters
    HINSTANCE mInstance = nullptr;
    bool mCreated = false;
    bool mApplicationActive = true;
    bool mAltHeld = false;
    bool mMinimized = false;
    bool mDisabled = false;
    bool mActive = true;
    bool mWindowed = true;
    int mSavedX = 0;
    int mSavedY = 0;
    int mWindowWidth = 800; // outer size
    int mWindowHeight = 600;
    int mClientWidth = 800;
    int mClientHeight = 600;
    bool mCloseRequested = false;
    bool mDestroyed = false;
    bool mModeSwitchRequested = false;
    bool mPointerInside = false;
    input::InputWin32* mInput;

    // Held from before the window is made until its timer is set, so the
    // procedure finds the object for the messages sent during creation.
    static CriticalSection sCreationLock;
    static WindowWin32* sBeingCreated;

private:
    HVResultEnum CreateOSWindow(int showCommand);
    void UpdateActivity();
    void TestPointerLeave();
};
} // namespace app
