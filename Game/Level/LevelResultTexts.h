#pragma once

// The texts a won and a lost level put alike into the result window.
#include <cstdint>
#include <string>

class HUDWindow;

// The difficulty's name for the mode; hardcore shows the empty key's text.
std::wstring GetModeName(int32_t mode);
// What a won and a lost level's window show alike above the scores: the
// windows' font and the "levelName" line, the campaign's name (its trial's
// in hardcore) with the episode and level numbers.
void SetLevelResultHeading(HUDWindow& window, int32_t episode, int32_t level, int32_t mode);
// "gameName", then the score lines at 0, then the gems taken in the level.
void SetLevelResultTexts(HUDWindow& window, int32_t mode, int32_t gemsGained);
