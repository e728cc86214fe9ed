#pragma once

// The options dialog: volumes, window or full screen, developer keys.
#include "Framework/Widget/ButtonListener.h"
#include "Framework/Widget/SliderListener.h"
#include "Game/Hud/VessikDialog.h"

#include <vector>

class VessikButton;
class VessikSlider;
class VessikSwitchButton;

class OptionsDialog : public VessikDialog, public widget::ButtonListener, public widget::SliderListener
{
public:
    static constexpr const char* kDialogName = "Options";
    static constexpr const wchar_t* kLayout = L"nq/options";
    // A step button moves a volume by this much.
    static constexpr float kVolumeStep = 0.25f;

    OptionsDialog();
    // Deletes its controls: a widget's destructor leaves its children alone.
    ~OptionsDialog() override;

    HVResultEnum Load() override;
    HVResultEnum OnButtonClick(widget::Button* button) override;
    HVResultEnum OnSliderChanged(widget::Slider* slider, float value) override;

    // The switches follow the window's mode.
    void SelectModeSwitch();

    VessikButton* mMenuButton = nullptr;
    VessikButton* mOkButton = nullptr;
    VessikButton* mDeveloperButton = nullptr;
    VessikSlider* mSoundSlider = nullptr;
    VessikSlider* mMusicSlider = nullptr;
    VessikButton* mMusicDecButton = nullptr;
    VessikButton* mMusicIncButton = nullptr;
    VessikButton* mSoundDecButton = nullptr;
    VessikButton* mSoundIncButton = nullptr;
    VessikSwitchButton* mWindowSwitch = nullptr;
    VessikSwitchButton* mFullscreenSwitch = nullptr;
};
