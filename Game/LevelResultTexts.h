#pragma once

// The texts a won and a lost level put alike into the result window.
#include <cstdint>
#include <string>

class HUDWindow;

// The difficulty's name for the mode; hardcore shows the empty key's text.
std::wstring GetModeName(int32_t mode);
// "gameName", then the score lines at 0, then the gems taken in the level.
void SetLevelResultTexts(HUDWindow& window, int32_t mode, int32_t gemsGained);
