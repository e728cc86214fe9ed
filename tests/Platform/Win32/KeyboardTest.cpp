#include "support/TestWindow.h"

#include <gtest/gtest.h>

using namespace testwin;

namespace
{
class KeyboardTest : public WindowTest
{
protected:
    void TearDown() override
    {
        WindowTest::TearDown();
        win32::SetKeyboardStateFails(false);
    }
};

TEST_F(KeyboardTest, KeyDownWithTextGivesKeyThenCharAndToUnicodeSeesIt)
{
    int unicodeResult = -1;
    wchar_t unicodeChar = 0;
    rec.hook = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_KEYDOWN)
        {
            BYTE state[256];
            GetKeyboardState(state);
            unicodeResult = ToUnicode(static_cast<UINT>(w), (l >> 16) & 0xFF, state, &unicodeChar, 1, 0);
        }
        return DefWindowProcW(h, m, w, l);
    };
    Push(Key(hwnd, true, SDL_SCANCODE_A, SDLK_a, KMOD_LSHIFT));
    Push(Text(hwnd, "A"));
    PumpAll(hwnd);
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(rec.log[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(rec.log[1].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(unicodeResult, 1);
    EXPECT_EQ(unicodeChar, L'A');
}

TEST_F(KeyboardTest, CharactersOfTheKeyItselfAndOfLongerText)
{
    struct Case
    {
        const char* name;
        SDL_Scancode sc;
        SDL_Keycode sym;
        Uint16 mod;
        const char* text; // SDL text input that follows, or null
        int toUnicode;
        std::vector<WPARAM> chars;
    };
    const Case cases[] = {
        {"backspace", SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 0, nullptr, 1, {8}},
        {"enter", SDL_SCANCODE_RETURN, SDLK_RETURN, 0, nullptr, 1, {13}},
        {"keypad enter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0, nullptr, 1, {13}},
        {"tab", SDL_SCANCODE_TAB, SDLK_TAB, 0, nullptr, 1, {9}},
        {"escape", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0, nullptr, 1, {27}},
        {"ctrl+c", SDL_SCANCODE_C, SDLK_c, KMOD_LCTRL, nullptr, 1, {3}},
        {"two code points", SDL_SCANCODE_E, SDLK_e, 0, "e\xCC\x81", 2, {'e', 0x301}},
        {"beyond 16 bits", SDL_SCANCODE_G, SDLK_g, 0, "\xF0\x9F\x98\x80", 1, {0x1F600}},
        {"invalid bytes", SDL_SCANCODE_H, SDLK_h, 0, "\xFF", 1, {0xFFFD}},
        {"no text", SDL_SCANCODE_LEFT, SDLK_LEFT, 0, nullptr, 0, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        rec.log.clear();
        int result = -1;
        rec.hook = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_KEYDOWN)
            {
                wchar_t buf[4];
                result = ToUnicode(static_cast<UINT>(w), 0, nullptr, buf, 4, 0);
            }
            return DefWindowProcW(h, m, w, l);
        };
        Push(Key(hwnd, true, c.sc, c.sym, c.mod));
        if (c.text)
            Push(Text(hwnd, c.text));
        Push(Key(hwnd, false, c.sc, c.sym, c.mod));
        PumpAll(hwnd);
        EXPECT_EQ(result, c.toUnicode);
        std::vector<WPARAM> chars;
        for (const Received& r : rec.log)
            if (r.message == WM_CHAR)
                chars.push_back(r.wParam);
        EXPECT_EQ(chars, c.chars);
    }
}

TEST_F(KeyboardTest, StrayTextIsDropped)
{
    Push(Text(hwnd, "x"));
    Push(Key(hwnd, true, SDL_SCANCODE_A, SDLK_a));
    Push(Motion(hwnd, 3, 3));
    Push(Text(hwnd, "a")); // not right after the key-down
    PumpAll(hwnd);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_KEYDOWN, WM_MOUSEMOVE}));
}

TEST_F(KeyboardTest, StateIsThatOfTheMessageBeingDispatched)
{
    std::vector<std::pair<bool, bool>> seen; // (A down, B down) at each key-down
    rec.hook = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_KEYDOWN)
        {
            BYTE state[256];
            GetKeyboardState(state);
            seen.emplace_back((state[int{'A'}] & 0x80) != 0, (state[int{'B'}] & 0x80) != 0);
        }
        return DefWindowProcW(h, m, w, l);
    };
    Push(Key(hwnd, true, SDL_SCANCODE_A, SDLK_a));
    Push(Key(hwnd, true, SDL_SCANCODE_B, SDLK_b));
    PumpAll(hwnd);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(true, false));
    EXPECT_EQ(seen[1], std::make_pair(true, true));

    Push(Key(hwnd, false, SDL_SCANCODE_A, SDLK_a));
    Push(Key(hwnd, false, SDL_SCANCODE_B, SDLK_b));
    PumpAll(hwnd);
    BYTE state[256];
    ASSERT_TRUE(GetKeyboardState(state));
    EXPECT_FALSE(state[int{'A'}] & 0x80);
    win32::SetKeyboardStateFails(true);
    EXPECT_FALSE(GetKeyboardState(state));
}

TEST_F(KeyboardTest, ShiftIsGenericInTheMessageAndSidedInTheState)
{
    BYTE state[256];
    Push(Key(hwnd, true, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_RSHIFT | KMOD_CAPS));
    PumpAll(hwnd);
    ASSERT_EQ(rec.log.size(), 1u);
    EXPECT_EQ(rec.log[0].wParam, static_cast<WPARAM>(VK_SHIFT));
    GetKeyboardState(state);
    EXPECT_TRUE(state[VK_SHIFT] & 0x80);
    EXPECT_TRUE(state[VK_RSHIFT] & 0x80);
    EXPECT_FALSE(state[VK_LSHIFT] & 0x80);
    EXPECT_EQ(state[VK_CAPITAL], 0x01) << "Caps Lock toggled, not down";

    Push(Key(hwnd, true, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_SHIFT));
    Push(Key(hwnd, false, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_LSHIFT));
    PumpAll(hwnd);
    GetKeyboardState(state);
    EXPECT_TRUE(state[VK_SHIFT] & 0x80) << "left Shift still holds the generic code";
    Push(Key(hwnd, false, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 0));
    PumpAll(hwnd);
    GetKeyboardState(state);
    EXPECT_FALSE(state[VK_SHIFT] & 0x80);
    EXPECT_EQ(state[VK_CAPITAL], 0);

    Push(Button(hwnd, true, SDL_BUTTON_RIGHT, 5, 5));
    PumpAll(hwnd);
    GetKeyboardState(state);
    EXPECT_TRUE(state[VK_RBUTTON] & 0x80);
    Push(Button(hwnd, false, SDL_BUTTON_RIGHT, 5, 5));
    PumpAll(hwnd);
}

TEST_F(KeyboardTest, KeyMap)
{
    struct Case
    {
        const char* name;
        SDL_Scancode sc;
        SDL_Keycode sym;
        Uint16 mod;
        WPARAM vk;
    };
    const Case cases[] = {
        {"Latin letter", SDL_SCANCODE_Q, SDLK_q, 0, 'Q'},
        {"AZERTY letter by keycode", SDL_SCANCODE_Q, SDLK_a, 0, 'A'},
        {"Cyrillic letter by scancode", SDL_SCANCODE_F, 0x0430, 0, 'F'},
        {"AZERTY top-row digit by scancode", SDL_SCANCODE_1, SDLK_AMPERSAND, 0, '1'},
        {"digit 0", SDL_SCANCODE_0, SDLK_0, 0, '0'},
        {"semicolon key", SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 0, VK_OEM_1},
        {"equals key", SDL_SCANCODE_EQUALS, SDLK_EQUALS, 0, VK_OEM_PLUS},
        {"keypad enter", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 0, VK_RETURN},
        {"keypad 7 with Num Lock", SDL_SCANCODE_KP_7, SDLK_KP_7, KMOD_NUM, VK_NUMPAD0 + 7},
        {"keypad 7 without Num Lock", SDL_SCANCODE_KP_7, SDLK_KP_7, 0, VK_HOME},
        {"keypad 0 with Num Lock", SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NUM, VK_NUMPAD0},
        {"F1", SDL_SCANCODE_F1, SDLK_F1, 0, VK_F1},
        {"F15", SDL_SCANCODE_F15, SDLK_F15, 0, VK_F15},
        {"F24", SDL_SCANCODE_F24, SDLK_F24, 0, VK_F24},
        {"print screen", SDL_SCANCODE_PRINTSCREEN, SDLK_PRINTSCREEN, 0, VK_SNAPSHOT},
        {"left Windows key", SDL_SCANCODE_LGUI, SDLK_LGUI, 0, VK_LWIN},
        {"menu key", SDL_SCANCODE_APPLICATION, SDLK_APPLICATION, 0, VK_APPS},
        {"page down", SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, 0, VK_NEXT},
        {"right control", SDL_SCANCODE_RCTRL, SDLK_RCTRL, KMOD_RCTRL, VK_CONTROL},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        rec.log.clear();
        Push(Key(hwnd, true, c.sc, c.sym, c.mod));
        Push(Key(hwnd, false, c.sc, c.sym, c.mod));
        PumpAll(hwnd);
        ASSERT_GE(rec.log.size(), 2u);
        EXPECT_EQ(rec.log[0].message, static_cast<UINT>(WM_KEYDOWN));
        EXPECT_EQ(rec.log[0].wParam, c.vk);
        EXPECT_EQ(rec.log.back().message, static_cast<UINT>(WM_KEYUP));
        EXPECT_EQ(rec.log.back().wParam, c.vk);
    }
}

TEST_F(KeyboardTest, AltMakesSystemKeysAndTheKeyDataBits)
{
    Push(Key(hwnd, true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT));
    Push(Key(hwnd, true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT));
    Push(Key(hwnd, true, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, true));
    Push(Key(hwnd, false, SDL_SCANCODE_LALT, SDLK_LALT, 0));
    Push(Key(hwnd, true, SDL_SCANCODE_RETURN, SDLK_RETURN, 0));
    PumpAll(hwnd);
    ASSERT_EQ(Messages(),
              (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP,
                                 WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(rec.log[0].wParam, static_cast<WPARAM>(VK_MENU));
    const LPARAM enter = rec.log[1].lParam;
    EXPECT_EQ(enter & 0xFFFF, 1) << "repeat count";
    EXPECT_EQ((enter >> 16) & 0xFF, SDL_SCANCODE_RETURN);
    EXPECT_TRUE(enter & (1 << 29));
    EXPECT_FALSE(enter & (1 << 30));
    EXPECT_TRUE(rec.log[3].lParam & (1 << 30)) << "auto-repeat";
    EXPECT_TRUE(rec.log[5].lParam & (1u << 31)) << "key-up";
    EXPECT_FALSE(rec.log[6].lParam & (1 << 29));
}
} // namespace
