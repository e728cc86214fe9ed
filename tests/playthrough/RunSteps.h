#pragma once

// Steps and lookups both runs use.
#include "Driver.h"
#include "Framework/Widget/Dialog.h"

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

// The modal dialog on top of the frame manager's stack, if any.
widget::Dialog* TopDialog();
// That dialog when it is of the type and shown.
template <class DialogType>
DialogType* ShownDialog()
{
    auto* dialog = dynamic_cast<DialogType*>(TopDialog());
    return dialog && dialog->mShown ? dialog : nullptr;
}

// Waits for the splash screens and checks the display mapping.
void Start(Driver& driver);
// Taps through the logos and the intro of a run that has seen them before,
// until the main menu shows.
void TapThroughSplashAndIntro(Driver& driver, const std::string& run);
// Clicks a layout's button and waits until the screen it opens is fully shown.
void GoTo(Driver& driver, const std::string& name, const std::string& image, const std::string& layer, int state);
} // namespace playthrough
