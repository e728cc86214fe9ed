// The options dialog in a started game: opened through the application's
// frame manager, driven by routed mouse events, and checked in the saved
// "profiles.xml".
#include "FrontEndFixture.h"
#include "GameFixture.h"
#include "LevelFixture.h"
#include "SkinnedLayouts.h"

#include "Core/Input/Point.h"
#include "Core/Sound/SoundSystem.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Game.h"
#include "Game/Hud/OptionsDialog.h"
#include "Game/Hud/VessikButton.h"
#include "Game/Hud/VessikSlider.h"
#include "Game/Hud/VessikSwitchButton.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace gametest
{
namespace
{
constexpr int kGlideFrames = 60; // one second at the fixture's frame time: longer than any glide

// The value attribute of a profile child element; -1 when missing.
float SavedFloat(const std::string& text, const char* element)
{
    tinyxml2::XMLDocument doc;
    if (doc.Parse(text.c_str()) != tinyxml2::XML_SUCCESS)
        return -1.0f;
    const tinyxml2::XMLElement* root = doc.RootElement();
    for (const tinyxml2::XMLElement* profile = root ? root->FirstChildElement() : nullptr; profile;
         profile = profile->NextSiblingElement())
        if (const tinyxml2::XMLElement* found = profile->FirstChildElement(element))
            return found->FloatAttribute("v", -1.0f);
    return -1.0f;
}

class OptionsEndToEndTest : public GameAppTest
{
protected:
    widget::FrameManager* Frames() const { return run->game->mFrameManager; }
    void Move(float x, float y) { Frames()->OnMouseMove({x, y}); }
    void Click(float x, float y)
    {
        Frames()->OnMouseMove({x, y});
        Frames()->OnMouseDown({x, y}, 1);
        Frames()->OnMouseUp({x, y}, 1);
        ASSERT_EQ(run->Frame(), HV_OK);
    }
    void ClickControl(gui::GameControl* control)
    {
        Click(control->mPosition.x, control->mPosition.y);
    }
    // A press on the bar `offset` units from the thumb, held until the glide ends.
    void PressBar(VessikSlider* slider, float offset)
    {
        const float x = slider->gui::GameControl::mPosition.x + slider->mThumbHolder->mPosition.x + offset;
        const float y = slider->gui::GameControl::mPosition.y;
        Frames()->OnMouseMove({x, y});
        Frames()->OnMouseDown({x, y}, 1);
        for (int i = 0; i < kGlideFrames; ++i)
            ASSERT_EQ(run->Frame(), HV_OK);
        Frames()->OnMouseUp({x, y}, 1);
        ASSERT_EQ(run->Frame(), HV_OK);
    }
};

TEST_F(OptionsEndToEndTest, SlidersAStepAndBothModesEndInTheSavedProfile)
{
    WriteGameContent(*run->data, {.particles = false});
    WriteFrontEndContent(*run->data);
    run->data->WriteLayeredImage("nq/options", OptionsLayers());
    run->WriteProfiles(ProfilesXml(0, 0, "<fs v=\"false\"/>"));
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_NE(Frames(), nullptr);
    ASSERT_TRUE(run->game->IsWindowed());
    ASSERT_EQ(run->Frame(), HV_OK);

    auto* dialog = new OptionsDialog;
    dialog->Load();
    Frames()->PushDialog(dialog, true);
    ASSERT_EQ(run->Frame(), HV_OK);
    ASSERT_FALSE(dialog->mLoadFailed);
    ASSERT_EQ(Frames()->GetStack().back().mFrame, dialog);

    // A fresh profile plays at full volume: both thumbs at the right end.
    PressBar(dialog->mMusicSlider, -100.0f);
    const float music = dialog->mMusicSlider->GetValue();
    EXPECT_LT(music, 0.6f);
    EXPECT_GT(music, 0.3f);
    PressBar(dialog->mSoundSlider, -50.0f);
    const float beforeStep = dialog->mSoundSlider->GetValue();
    EXPECT_LT(beforeStep, 1.0f);
    ClickControl(dialog->mSoundDecButton);
    const float sound = beforeStep - 0.25f;
    EXPECT_NEAR(SoundSystem::Instance()->GetSoundVolume(), sound, 1e-4f);
    EXPECT_NEAR(SoundSystem::Instance()->GetMusicVolume(), music, 1e-4f);

    ClickControl(dialog->mFullscreenSwitch);
    EXPECT_FALSE(run->game->IsWindowed());
    EXPECT_TRUE(dialog->mFullscreenSwitch->IsSelected());
    EXPECT_NE(run->ProfilesText().find("<fs v=\"true\"/>"), std::string::npos) << run->ProfilesText();
    ClickControl(dialog->mWindowSwitch);
    EXPECT_TRUE(run->game->IsWindowed());
    EXPECT_TRUE(dialog->mWindowSwitch->IsSelected());

    ClickControl(dialog->mOkButton);
    ASSERT_EQ(run->Frame(), HV_OK);
    for (const auto& entry : Frames()->GetStack())
        EXPECT_EQ(dynamic_cast<OptionsDialog*>(entry.mFrame), nullptr);

    const std::string text = run->ProfilesText();
    EXPECT_NEAR(SavedFloat(text, "music"), music, 1e-4f) << text;
    EXPECT_NEAR(SavedFloat(text, "sound"), sound, 1e-4f) << text;
    EXPECT_NE(text.find("<fs v=\"false\"/>"), std::string::npos) << text;
    EXPECT_EQ(text.find("<fs"), text.rfind("<fs")) << text;
}
} // namespace
} // namespace gametest
