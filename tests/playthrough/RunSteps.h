#pragma once

// Steps and lookups both runs use.
#include "Driver.h"

#include <filesystem>
#include <string>

class HUDWindow;

namespace playthrough
{
// Turns for a screen's show effects to finish before its screenshot.
constexpr int kShowEffectTurns = 20;
constexpr int kOneSecond = 30;

std::string ReadFile(const std::filesystem::path& path);
// The window on top of the HUD's stack, if a level object runs.
HUDWindow* TopWindow();
// The text a window shows in a slot; empty when it has none.
std::wstring SlotText(const HUDWindow* window, const std::wstring& slot);
// The profile profiles.xml names current; empty when it has none.
std::string ReadCurrentProfile(const std::string& path);
// The centre of a level's plate on the level select.
Target LevelPlate(int level);
// The middle of the screen: a tap there skips a logo or the video.
Target ScreenCentre();

// Waits for the splash screens and checks the display mapping.
void Start(Driver& driver);
} // namespace playthrough
