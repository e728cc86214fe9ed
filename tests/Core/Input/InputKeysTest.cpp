// Key states and key-down handling over the real message path: SDL key
// events pushed to a window whose procedure forwards to the input object.
#include "Core/Input/Win32/InputWin32.h"
#include "RecordingListener.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

using namespace inputtest;
using namespace testwin;
using Calls = std::vector<std::string>;

namespace
{
class InputKeysTest : public WindowTest
{
protected:
    void SetUp() override
    {
        rec.hook = [this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN)
                in.KeyDown(static_cast<UINT>(w), l);
            else if (m == WM_KEYUP || m == WM_SYSKEYUP)
                in.KeyUp(static_cast<UINT>(w), l);
            return DefWindowProcW(h, m, w, l);
        };
        WindowTest::SetUp();
        listener.calls.clear();
    }
    // Takes the queued messages without dispatching them: the keyboard state
    // follows, the input object sees nothing.
    void TakeAll()
    {
        MSG msg;
        while (PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE))
        {
        }
    }
    RecordingListener listener;
    DoublingConverter converter;
    input::InputWin32 in{&listener, &converter};
};

TEST_F(InputKeysTest, KeyStatesOverSuccessiveUpdates)
{
    std::vector<int> seen;
    auto update = [&] {
        in.Update();
        seen.push_back(in.mKeyStates[int{'A'}]);
    };
    Push(Key(hwnd, true, SDL_SCANCODE_A, SDLK_a));
    TakeAll();
    update();
    update();
    update();
    Push(Key(hwnd, false, SDL_SCANCODE_A, SDLK_a));
    TakeAll();
    update();
    update();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 2, 3, 0}));

    seen.clear();
    Push(Key(hwnd, true, SDL_SCANCODE_A, SDLK_a));
    TakeAll();
    update();
    Push(Key(hwnd, false, SDL_SCANCODE_A, SDLK_a));
    TakeAll();
    update();
    EXPECT_EQ(seen, (std::vector<int>{1, 0})) << "released before it was ever held";
}

TEST_F(InputKeysTest, HeldLetterGivesOneKeyDownAndACharPerRepeat)
{
    Push(Key(hwnd, true, SDL_SCANCODE_A, SDLK_a));
    Push(Text(hwnd, "a"));
    for (int i = 0; i < 3; ++i)
    {
        Push(Key(hwnd, true, SDL_SCANCODE_A, SDLK_a, 0, true));
        Push(Text(hwnd, "a"));
    }
    Push(Key(hwnd, false, SDL_SCANCODE_A, SDLK_a));
    PumpAll(hwnd);
    EXPECT_EQ(listener.calls, (Calls{"keydown 97", "char 97", "char 97", "char 97", "char 97", "keyup 97"}));
}

TEST_F(InputKeysTest, EngineKeysAndCharactersOfSpecialKeys)
{
    struct Case
    {
        const char* name;
        SDL_Scancode sc;
        SDL_Keycode sym;
        const char* text;
        Calls calls;
    };
    const Case cases[] = {
        {"enter is the keypad enter's engine key", SDL_SCANCODE_RETURN, SDLK_RETURN, nullptr,
         {"keydown 271", "char 13", "keyup 271"}},
        {"backspace", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, nullptr, {"keydown 8", "char 8", "keyup 8"}},
        {"shift has no engine key", SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, nullptr, {"keydown 0", "keyup 0"}},
        {"two code points give no character", SDL_SCANCODE_E, SDLK_e, "e\xCC\x81", {"keydown 101", "keyup 101"}},
        {"a character beyond 16 bits", SDL_SCANCODE_G, SDLK_g, "\xF0\x9F\x98\x80",
         {"keydown 103", "char 128512", "keyup 103"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        listener.calls.clear();
        Push(Key(hwnd, true, c.sc, c.sym));
        if (c.text)
            Push(Text(hwnd, c.text));
        Push(Key(hwnd, false, c.sc, c.sym));
        PumpAll(hwnd);
        EXPECT_EQ(listener.calls, c.calls);
    }
}

TEST_F(InputKeysTest, FailingKeyboardStateKeepsThePreviousStatesForKeyDown)
{
    Push(Key(hwnd, true, SDL_SCANCODE_B, SDLK_b));
    TakeAll();
    in.Update(); // B pressed: 1
    in.Update(); // held: 2
    win32::SetKeyboardStateFails(true);
    Push(Key(hwnd, true, SDL_SCANCODE_B, SDLK_b, 0, true));
    PumpAll(hwnd);
    win32::SetKeyboardStateFails(false);
    EXPECT_EQ(listener.calls, Calls{}) << "state stays 2: no fresh press";
    Push(Key(hwnd, false, SDL_SCANCODE_B, SDLK_b));
    PumpAll(hwnd);
}
} // namespace
