#pragma once

// Internal to the window stand-in: the per-window state behind HWND::impl,
// the handle table and the message queue. Not for engine code.
#include "Platform/Win32/Messages.h"

#include <SDL.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace win32
{
struct WindowClass
{
    std::wstring name;
    WNDPROC proc = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    POINT lastCursor{}; // screen position of the last mouse event
};

struct Timer
{
    UINT_PTR id = 0;
    uint32_t interval = 0;
    uint64_t due = 0;
};

struct PressRecord
{
    int button = 0; // 0: none
    uint32_t time = 0;
    int x = 0, y = 0;
};

struct WindowImpl
{
    WNDPROC proc = nullptr;
    std::wstring className;
    std::wstring title;
    LONG_PTR userData = 0;
    DWORD style = 0;        // as set by SetWindowLongW
    DWORD appliedStyle = 0; // the style the geometry was last applied with
    RECT client{};          // client area in screen units
    uint32_t sdlId = 0;
    bool visible = false;
    bool minimized = false;
    bool maximized = false;
    bool paintPending = false;
    bool pointerInside = false;
    bool destroying = false;
    POINT pointer{}; // last pointer position seen, client units
    PressRecord lastPress;
    std::vector<Timer> timers;
    int instanceLock = -1;   // flock'd lock file of a first copy
    int instanceSocket = -1; // listening socket for restore requests
};

struct QueuedMessage
{
    MSG msg{};
    std::u32string text; // characters of a key-down
    uint16_t mod = 0;    // SDL modifiers of a key message
    UINT sidedKey = 0;   // VK_LSHIFT etc. for a modifier key
};

struct RemoteWindow
{
    std::string socketName;
};

// The process-wide state of the stand-in; main thread only.
struct State
{
    std::vector<WindowClass> classes;
    std::vector<HWND> live;                   // every window that exists
    std::vector<std::unique_ptr<HWND__>> all; // never freed, so no handle value is reused
    std::vector<std::unique_ptr<RemoteWindow>> remotes;
    std::deque<QueuedMessage> queue;
    bool textInputStarted = false;
    bool textTarget = false; // the last SDL event translated was a key-down
    uint32_t doubleClickTime = 500;
    std::function<uint64_t()> clock;
    bool createFails = false;
    bool keyboardStateFails = false;
    BYTE keys[256] = {};
    // The key-down being dispatched and its text, for TranslateMessage and ToUnicode.
    MSG lastKeyDown{};
    std::u32string lastKeyText;
    bool hasLastKeyDown = false;
    HCURSOR cursor = nullptr;
    POINT lastCursor{}; // screen position of the last mouse event
};

State& GetState();
WindowImpl* LookupWindow(HWND hwnd);
HWND FindWindowBySDLId(uint32_t id);
RemoteWindow* FindRemote(HWND hwnd);
bool EnsureVideo();
uint64_t Now();

// The frame rule: outer rectangle <-> client rectangle for a style.
RECT OuterFromClient(const RECT& client, DWORD style);
RECT ClientFromOuter(const RECT& outer, DWORD style);

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void DropMessages(HWND hwnd);
void TranslateSDLEvent(const SDL_Event& event);
void OnMessageTaken(const QueuedMessage& entry);
// Hides, in SDL, the windows ShowWindow hid since the last pump.
void HideWindowsLeftHidden();

// Virtual keys of an SDL key: the generic code the message carries, and the
// sided code the state array also sets (0 when there is none).
UINT VirtualKeyFromSDL(const SDL_Keysym& key);
UINT SidedVirtualKeyFromSDL(const SDL_Keysym& key);
// The character Windows makes from the key itself (Backspace, Ctrl+A ...), or 0.
char32_t ControlCharacter(UINT virtualKey, uint16_t mod);

SDL_Surface* ProgramIcon();

// Single instance: hand the pending lock to a new window, accept restore
// requests, and release a window's lock.
void AdoptInstanceLock(WindowImpl& window, const std::wstring& className, const std::wstring& title);
void PollRestoreRequests();
void ReleaseInstanceLock(WindowImpl& window);
bool SendRestoreRequest(const RemoteWindow& remote);
} // namespace win32
