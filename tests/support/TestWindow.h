#pragma once

// A window of the stand-in whose procedure records what it receives.
#include "Platform/Win32/Input.h"
#include "Platform/Win32/Messages.h"
#include "Platform/Win32/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace testwin
{
struct Received
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LONG_PTR userData; // GWLP_USERDATA when it arrived
};

struct Recorder
{
    std::vector<Received> log;
    // Runs inside the procedure, after recording; its result is returned.
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> hook;
};

inline Recorder*& CurrentRecorder()
{
    static Recorder* current = nullptr;
    return current;
}

inline LRESULT CALLBACK_Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Recorder* r = CurrentRecorder();
    if (!r)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    r->log.push_back({message, wParam, lParam, GetWindowLongPtrW(hwnd, GWLP_USERDATA)});
    if (message == WM_PAINT)
    {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (r->hook)
        return r->hook(hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

inline void RegisterTestClass()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = CALLBACK_Proc;
    wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(109));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"TestWindow";
    RegisterClassExW(&wc); // a second registration fails harmlessly
}

constexpr DWORD kWindowed = 0x82CA0000;
constexpr DWORD kPopup = 0x80000000;

// A shown window whose client area is (100, 130)-(740, 610).
inline HWND MakeWindow(Recorder& r, DWORD style = kWindowed, RECT outer = {100, 100, 740, 610},
                       const wchar_t* title = L"Test")
{
    RegisterTestClass();
    CurrentRecorder() = &r;
    HWND hwnd = CreateWindowExW(0, L"TestWindow", title, style, outer.left, outer.top, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, nullptr, nullptr, nullptr);
    if (hwnd)
    {
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
    }
    return hwnd;
}

inline void Push(SDL_Event e)
{
    SDL_PushEvent(&e);
}

inline SDL_Event Motion(HWND hwnd, int x, int y)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(hwnd->sdlWindow);
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

inline SDL_Event Button(HWND hwnd, bool down, int button, int x, int y)
{
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = SDL_GetWindowID(hwnd->sdlWindow);
    e.button.button = static_cast<Uint8>(button);
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    return e;
}

inline SDL_Event WindowEvent(HWND hwnd, Uint8 event, int d1 = 0, int d2 = 0)
{
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(hwnd->sdlWindow);
    e.window.event = event;
    e.window.data1 = d1;
    e.window.data2 = d2;
    return e;
}

inline SDL_Event Key(HWND hwnd, bool down, SDL_Scancode sc, SDL_Keycode sym, Uint16 mod = 0, bool repeat = false)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = SDL_GetWindowID(hwnd->sdlWindow);
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = sc;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

// Alt down, Return down and up, Alt up: the window-mode key, pushed into SDL's queue.
inline void PushAltEnter(HWND hwnd)
{
    for (SDL_Event event : {Key(hwnd, true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT),
                            Key(hwnd, true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT),
                            Key(hwnd, false, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT),
                            Key(hwnd, false, SDL_SCANCODE_LALT, SDLK_LALT)})
        SDL_PushEvent(&event);
}

inline SDL_Event Text(HWND hwnd, const char* utf8)
{
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = SDL_GetWindowID(hwnd->sdlWindow);
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    return e;
}

// Takes and dispatches one message the way the engine's pump does.
inline bool PumpOne(HWND filter)
{
    MSG msg;
    if (!PeekMessageW(&msg, filter, 0, 0, PM_REMOVE))
        return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

// Pumps until the queue is empty (timers are kept far away by the caller).
inline void PumpAll(HWND filter)
{
    for (int i = 0; i < 1000 && PumpOne(filter); ++i)
    {
    }
}

// A test with one shown window, its creation messages already pumped away.
class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        hwnd = MakeWindow(rec);
        ASSERT_NE(hwnd, nullptr);
        PumpAll(nullptr);
        rec.log.clear();
    }
    void TearDown() override
    {
        DestroyWindow(hwnd);
        PumpAll(nullptr);
        CurrentRecorder() = nullptr;
    }
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> out;
        for (const Received& r : rec.log)
            out.push_back(r.message);
        return out;
    }
    Recorder rec;
    HWND hwnd = nullptr;
};
} // namespace testwin
