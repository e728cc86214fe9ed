#include "Core/Input/Win32/KeyTables.h"

#include "Platform/Win32/Input.h"

namespace input
{
void BuildEngineToVirtualKey(int (&t)[kEngineKeyCount])
{
    for (int& v : t)
        v = 0;
    t[8] = VK_BACK;
    t[9] = VK_TAB;
    t[12] = VK_CLEAR;
    t[13] = VK_RETURN;
    t[19] = VK_PAUSE;
    t[27] = VK_ESCAPE;
    t[32] = VK_SPACE;
    for (int i = 0; i <= 9; ++i)
        t[48 + i] = 0x30 + i;
    t[58] = VK_OEM_1;
    t[59] = VK_OEM_1;
    for (int i = 0; i < 26; ++i)
        t[97 + i] = 0x41 + i;
    t[127] = VK_DELETE;
    for (int i = 0; i <= 9; ++i)
        t[256 + i] = VK_NUMPAD0 + i;
    t[266] = VK_DECIMAL;
    t[267] = VK_DIVIDE;
    t[268] = VK_MULTIPLY;
    t[269] = VK_SUBTRACT;
    t[270] = VK_ADD;
    t[271] = VK_RETURN;
    t[273] = VK_UP;
    t[274] = VK_DOWN;
    t[275] = VK_RIGHT;
    t[276] = VK_LEFT;
    t[277] = VK_INSERT;
    t[278] = VK_HOME;
    t[279] = VK_END;
    t[280] = VK_PRIOR;
    t[281] = VK_NEXT;
    for (int i = 0; i < 15; ++i)
        t[282 + i] = VK_F1 + i;
    t[300] = VK_NUMLOCK;
    t[301] = VK_CAPITAL;
    t[302] = VK_SCROLL;
    t[303] = VK_RSHIFT;
    t[304] = VK_LSHIFT;
    t[305] = VK_RCONTROL;
    t[306] = VK_LCONTROL;
    t[307] = VK_RMENU;
    t[308] = VK_LMENU;
    t[311] = VK_LWIN;
    t[312] = VK_RWIN;
    t[315] = VK_HELP;
    t[316] = VK_PRINT;
    t[317] = VK_SNAPSHOT;
}

void BuildVirtualKeyToEngine(const int (&engineToVirtual)[kEngineKeyCount], int (&t)[kEngineKeyCount])
{
    for (int& v : t)
        v = 0;
    for (int key = 0; key < kEngineKeyCount; ++key)
    {
        const int vk = engineToVirtual[key];
        if (vk > 0 && vk < kEngineKeyCount)
            t[vk] = key;
    }
}
} // namespace input
