#include "Platform/Win32/Input.h"
#include "Platform/Win32/WindowState.h"

#include <algorithm>

using namespace win32;

namespace
{
void SetDown(BYTE* keys, UINT vk, bool down)
{
    keys[vk] = static_cast<BYTE>((keys[vk] & 0x01) | (down ? 0x80 : 0));
}

void SetToggle(BYTE* keys, UINT vk, bool on)
{
    keys[vk] = static_cast<BYTE>((keys[vk] & 0x80) | (on ? 0x01 : 0));
}

void SyncGeneric(BYTE* keys, UINT generic, UINT left, UINT right)
{
    SetDown(keys, generic, ((keys[left] | keys[right]) & 0x80) != 0);
}
} // namespace

namespace win32
{
// The state array follows the messages as they are taken, so it matches the
// message being dispatched rather than the device.
void OnMessageTaken(const QueuedMessage& entry)
{
    State& s = GetState();
    BYTE* keys = s.keys;
    const MSG& m = entry.msg;
    switch (m.message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    {
        const bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
        if (entry.sidedKey)
        {
            SetDown(keys, entry.sidedKey, down);
            SyncGeneric(keys, VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
            SyncGeneric(keys, VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
            SyncGeneric(keys, VK_MENU, VK_LMENU, VK_RMENU);
        }
        else
            SetDown(keys, static_cast<UINT>(m.wParam), down);
        SetToggle(keys, VK_CAPITAL, (entry.mod & KMOD_CAPS) != 0);
        SetToggle(keys, VK_NUMLOCK, (entry.mod & KMOD_NUM) != 0);
        if (down)
        {
            s.lastKeyDown = m;
            s.lastKeyText = entry.text;
            s.hasLastKeyDown = true;
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        SetDown(keys, VK_LBUTTON, m.message != WM_LBUTTONUP);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
        SetDown(keys, VK_RBUTTON, m.message != WM_RBUTTONUP);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
        SetDown(keys, VK_MBUTTON, m.message != WM_MBUTTONUP);
        break;
    default:
        break;
    }
    if (m.message != WM_CHAR && m.message != WM_SYSCHAR && m.message != WM_KEYDOWN && m.message != WM_SYSKEYDOWN)
        s.hasLastKeyDown = false;
}

void SetKeyboardStateFails(bool fails)
{
    GetState().keyboardStateFails = fails;
}
} // namespace win32

BOOL GetKeyboardState(PBYTE keyState)
{
    State& s = GetState();
    if (!keyState || s.keyboardStateFails)
        return FALSE;
    std::copy(std::begin(s.keys), std::end(s.keys), keyState);
    return TRUE;
}

int ToUnicode(UINT, UINT, const BYTE*, LPWSTR buffer, int size, UINT)
{
    State& s = GetState();
    if (!s.hasLastKeyDown)
        return 0;
    const std::u32string& text = s.lastKeyText;
    for (int i = 0; buffer && i < size && i < static_cast<int>(text.size()); ++i)
        buffer[i] = static_cast<WCHAR>(text[i]);
    return static_cast<int>(text.size());
}
