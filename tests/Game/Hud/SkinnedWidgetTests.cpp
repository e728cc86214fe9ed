#include "FrontEndFixture.h"

#include "Core/Input/Point.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Sound/SoundSystem.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Framework/Widget/FrameManager.h"
#include "Framework/Widget/SliderListener.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/OptionsDialog.h"
#include "Game/Hud/SliderLayer.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Hud/VessikButton.h"
#include "Game/Hud/VessikDialog.h"
#include "Game/Hud/VessikSlider.h"
#include "Game/Hud/VessikSwitchButton.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace gametest
{
namespace
{
constexpr float kFrame = 1.0f / 60.0f;

// The bar is 200 wide and the thumb 20: the control sits at (200, 110), the
// thumb's range is -90 .. 88 in control space.
std::vector<FixtureLayer> SliderLayers(int barWidth = 200)
{
    return {
        {"bar", 100, 100, barWidth, 20, 0xFF00FF00u, 0},
        {"thumb", 100, 95, 20, 30, 0xFFFF0000u, 1},
        {"btn_in", 500, 100, 100, 40, 0xFF0000FFu, 2},
        {"btn_ac", 500, 100, 100, 40, 0xFF00FFFFu, 3},
        {"btn_sh", 500, 100, 100, 40, 0x80000000u, 4},
        {"sw_in", 500, 300, 100, 40, 0xFF0000FFu, 5},
        {"sw_ac", 500, 300, 100, 40, 0xFF00FFFFu, 6},
        {"sw_sel", 500, 300, 100, 40, 0xFFFFFF00u, 7},
        {"sw2_in", 700, 300, 100, 40, 0xFF0000FFu, 8},
        {"sw2_ac", 700, 300, 100, 40, 0xFF00FFFFu, 9},
        {"sw2_sel", 700, 300, 100, 40, 0xFFFFFF00u, 10},
        {"label", 500, 500, 100, 40, 0, 11, false},
    };
}

struct ValueLog : widget::SliderListener
{
    HVResultEnum OnSliderChanged(widget::Slider*, float value) override
    {
        changed.push_back(value);
        return HV_OK;
    }
    HVResultEnum OnSliderChanging(widget::Slider*, float value) override
    {
        changing.push_back(value);
        return HV_OK;
    }
    std::vector<float> changed;
    std::vector<float> changing;
};

class WidgetDialog : public VessikDialog
{
public:
    ~WidgetDialog() override { Clear(true, false, 0); }
    HVResultEnum Load() override
    {
        if (const HVResultEnum result =
                Init(L"ui/slider", this, static_cast<widget::WidgetHitTestListener*>(this), mLayer, true);
            result != HV_OK)
            return result;
        slider = new VessikSlider;
        EXPECT_EQ(slider->Load(mContainer, L"bar", L"thumb"), HV_OK);
        slider->mSliderListener = &log;
        AddChild(slider, nullptr);
        button = new VessikButton;
        EXPECT_EQ(button->Load(mContainer, L"btn_in", L"btn_ac", L"btn_sh"), HV_OK);
        AddChild(button, nullptr);
        first = new VessikSwitchButton;
        EXPECT_EQ(first->Load(mContainer, L"sw_in", L"sw_ac", L"sw_sel", L"btn_sh"), HV_OK);
        AddChild(first, nullptr);
        second = new VessikSwitchButton;
        EXPECT_EQ(second->Load(mContainer, L"sw2_in", L"sw2_ac", L"sw2_sel", L"btn_sh"), HV_OK);
        AddChild(second, nullptr);
        return HV_OK;
    }
    VessikSlider* slider = nullptr;
    VessikButton* button = nullptr;
    VessikSwitchButton* first = nullptr;
    VessikSwitchButton* second = nullptr;
    ValueLog log;
};

class SkinnedWidgetTest : public FrontEndTest
{
protected:
    void Open(int barWidth = 200)
    {
        WriteLayout("ui/slider", SliderLayers(barWidth));
        dialog = new WidgetDialog;
        ASSERT_EQ(dialog->Load(), HV_OK);
        dialog->SetHitRect(0.0f, 0.0f, 1024.0f, 768.0f);
        frames.PushDialog(dialog, false);
        frames.Update(0.0f);
    }
    void SetUp() override
    {
        rendertest::FakeTexture::sOpaque = true;
        FrontEndTest::SetUp();
    }
    void TearDown() override
    {
        rendertest::FakeTexture::sOpaque = false;
        frames.CloseAll(true, true);
        frames.Update(0.0f);
        FrontEndTest::TearDown();
    }
    void Move(float x, float y) { frames.OnMouseMove({x, y}); }
    void Down(float x, float y) { frames.OnMouseDown({x, y}, 1); }
    void Drag(float x, float y) { frames.OnMouseDrag({x, y}); }
    void Up(float x, float y) { frames.OnMouseUp({x, y}, 1); }
    void Run(float seconds)
    {
        for (float t = 0.0f; t < seconds - 1e-5f; t += kFrame)
            frames.Update(kFrame);
    }
    float HolderX() const { return dialog->slider->mThumbHolder->mPosition.x; }

    widget::FrameManager frames;
    WidgetDialog* dialog = nullptr;
};

TEST_F(SkinnedWidgetTest, AButtonLightsUpInAThirdOfASecondAndSqueezesWhenHeld)
{
    Open();
    VessikButton* button = dialog->button;
    Move(550.0f, 120.0f);
    EXPECT_EQ(button->mVisualState, widget::Button::kHover);
    frames.Update(0.3f);
    EXPECT_NEAR(button->mHighlight, 0.9f, 1e-5f);
    EXPECT_NEAR(button->mPictures[VessikButton::kNormalPicture]->mOpacity, 1.0f, 1e-5f);
    frames.Update(0.05f);
    EXPECT_FLOAT_EQ(button->mHighlight, 1.0f);
    EXPECT_FLOAT_EQ(button->mPictures[VessikButton::kNormalPicture]->mOpacity, 0.0f);
    EXPECT_FLOAT_EQ(button->mPictures[VessikButton::kActivePicture]->mOpacity, 1.0f);

    Down(550.0f, 120.0f);
    EXPECT_EQ(button->mVisualState, widget::Button::kPressed);
    frames.Update(0.1f);
    const float halfway = 1.0f - (0.5f - 0.5f * std::cos(0.5f * std::numbers::pi_v<float>)) * 0.05f;
    EXPECT_NEAR(button->gui::GameControl::mScale.x, halfway, 1e-5f);
    frames.Update(0.1f);
    EXPECT_NEAR(button->gui::GameControl::mScale.x, 0.95f, 1e-5f);
    EXPECT_EQ(button->gui::GameControl::mScale.z, 0.0f);
}

TEST_F(SkinnedWidgetTest, OfASwitchPairOnlyTheUnselectedOneReacts)
{
    Open();
    dialog->first->SetSelected(true);
    Move(550.0f, 320.0f);
    Down(550.0f, 320.0f);
    frames.Update(0.01f);
    EXPECT_EQ(dialog->first->mVisualState, widget::Button::kNormal);
    EXPECT_NEAR(dialog->first->mPictures[VessikSwitchButton::kSelectedPicture]->mOpacity, 0.5f, 1e-5f);
    frames.Update(0.01f);
    EXPECT_FLOAT_EQ(dialog->first->mPictures[VessikSwitchButton::kSelectedPicture]->mOpacity, 1.0f);
    Up(550.0f, 320.0f);

    Move(750.0f, 320.0f);
    EXPECT_EQ(dialog->second->mVisualState, widget::Button::kHover);
}

TEST_F(SkinnedWidgetTest, AddTextOnAMissingLayerReturnsOneAndAddsNothing)
{
    Open();
    const size_t before = dialog->mCreatedLayers.size();
    layer::TextLayer* text = nullptr;
    EXPECT_EQ(dialog->AddText(L"nowhere", L"b1_ok", Board()->GetFont(GameWindow::kFontNormal), &text), 1);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(dialog->mCreatedLayers.size(), before);
    EXPECT_EQ(dialog->AddText(L"label", L"b1_ok", Board()->GetFont(GameWindow::kFontNormal), &text), 0);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(dialog->mCreatedLayers.size(), before + 1);
}

TEST_F(SkinnedWidgetTest, TheValueMapsTheThumbRange)
{
    Open();
    VessikSlider* slider = dialog->slider;
    EXPECT_FLOAT_EQ(slider->mThumbMinX, -90.0f);
    EXPECT_FLOAT_EQ(slider->mThumbMaxX, 88.0f);
    // Load ends at the maximum.
    EXPECT_FLOAT_EQ(HolderX(), 88.0f);
    slider->SetValueSilent(0.0f, true);
    EXPECT_FLOAT_EQ(HolderX(), -90.0f);
    EXPECT_FLOAT_EQ(slider->mBar->mSourceWidth, 10.0f);
    EXPECT_FLOAT_EQ(slider->ValueAt(88.0f), 1.0f);
    EXPECT_TRUE(dialog->log.changed.empty() || dialog->log.changed.size() == 0u);
}

TEST_F(SkinnedWidgetTest, APressOnTheBarGlidesWithChangingReportsAndOneChangedAtTheEnd)
{
    Open();
    VessikSlider* slider = dialog->slider;
    slider->SetValueSilent(0.0f, true);
    // Control space x = 10: 100 units right of the thumb at -90.
    Move(210.0f, 110.0f);
    Down(210.0f, 110.0f);
    EXPECT_FLOAT_EQ(slider->mGlideDuration, 0.5f);
    frames.Update(0.25f);
    EXPECT_NEAR(HolderX(), -40.0f, 1e-3f);
    Up(210.0f, 110.0f);
    EXPECT_TRUE(dialog->log.changed.empty());
    frames.Update(0.25f);
    ASSERT_EQ(dialog->log.changed.size(), 1u);
    EXPECT_NEAR(dialog->log.changed[0], 100.0f / 178.0f, 1e-5f);
    EXPECT_FALSE(dialog->log.changing.empty());
    EXPECT_FLOAT_EQ(HolderX(), 10.0f);
}

TEST_F(SkinnedWidgetTest, HoldingPastTheGlideReportsChangingThenChangedAtTheRelease)
{
    Open();
    VessikSlider* slider = dialog->slider;
    slider->SetValueSilent(0.0f, true);
    Move(210.0f, 110.0f);
    Down(210.0f, 110.0f);
    frames.Update(0.6f);
    EXPECT_TRUE(dialog->log.changed.empty());
    EXPECT_NEAR(dialog->log.changing.back(), 100.0f / 178.0f, 1e-5f);
    // Released beyond the range: clamped.
    Drag(500.0f, 110.0f);
    Up(500.0f, 110.0f);
    ASSERT_EQ(dialog->log.changed.size(), 1u);
    EXPECT_FLOAT_EQ(dialog->log.changed[0], 1.0f);
    EXPECT_FLOAT_EQ(HolderX(), 88.0f);
}

TEST_F(SkinnedWidgetTest, AThumbDragKeepsTheGrabOffset)
{
    Open();
    VessikSlider* slider = dialog->slider;
    slider->SetValueSilent(0.5f, true);
    const float start = HolderX();
    // The thumb picture spans holder - 8 .. holder + 12; grab it 5 right of the holder.
    Move(200.0f + start + 5.0f, 110.0f);
    Down(200.0f + start + 5.0f, 110.0f);
    EXPECT_FLOAT_EQ(slider->mGlideDuration, 0.0f);
    Drag(200.0f + start + 5.0f, 110.0f);
    EXPECT_FLOAT_EQ(HolderX(), start);
    Drag(200.0f + start + 25.0f, 110.0f);
    EXPECT_FLOAT_EQ(HolderX(), start + 20.0f);
    EXPECT_TRUE(dialog->log.changed.empty());
    Up(200.0f + start + 25.0f, 110.0f);
    ASSERT_EQ(dialog->log.changed.size(), 1u);
}

TEST_F(SkinnedWidgetTest, ATooNarrowBarMapsEverythingToZero)
{
    Open(20);
    VessikSlider* slider = dialog->slider;
    EXPECT_LE(slider->mThumbMaxX, slider->mThumbMinX);
    for (const float x : {-100.0f, 0.0f, 100.0f})
        EXPECT_EQ(slider->ValueAt(x), 0.0f);
    slider->SetValueSilent(1.0f, true);
    EXPECT_FLOAT_EQ(HolderX(), slider->mThumbMinX);
}

TEST_F(SkinnedWidgetTest, TheSparklePlaysWhileHoveredAndFinishesItsCycleAfter)
{
    Open();
    VessikSlider* slider = dialog->slider;
    // The fixture library has no "blik_1": no sparkle and nothing breaks.
    EXPECT_EQ(slider->mSparkle, nullptr);
    EXPECT_EQ(slider->mSparkleLayer, nullptr);
    Move(210.0f, 110.0f);
    frames.Update(kFrame);
    EXPECT_EQ(slider->mSparkleOn, 0);
}

class SparkleTest : public SkinnedWidgetTest
{
protected:
    void SetUp() override
    {
        SkinnedWidgetTest::SetUp();
        if (HasFatalFailure())
            return;
        // The root board has read the library: add "blik_1" and read it again.
        std::string library = FrontEndEffectsLibrary(true);
        library.insert(library.size() - std::string("</particles>").size(),
                       "<emitter name=\"blik_1\"><type rate=\"20\"/></emitter>");
        data->Write("nq/fx/fx2.ptc", library);
        render::ParticleSystem* particles = render::ParticleSystem::Instance();
        particles->Load("fx2.ptc", GetGame()->mRender);
    }
};

TEST_F(SparkleTest, TheSparklePlaysWhileHoveredCapturedOrGliding)
{
    Open();
    VessikSlider* slider = dialog->slider;
    ASSERT_NE(slider->mSparkle, nullptr);
    ASSERT_NE(slider->mSparkleLayer, nullptr);
    Move(210.0f, 110.0f);
    frames.Update(kFrame);
    EXPECT_EQ(slider->mSparkleOn, 1);
    EXPECT_EQ(slider->mSparkle->mState, 1);
    Move(900.0f, 700.0f);
    frames.Update(kFrame);
    EXPECT_EQ(slider->mSparkleOn, 0);
    EXPECT_EQ(slider->mSparkle->mState, 2);

    // Captured: a thumb held while the pointer is far away.
    Move(200.0f + HolderX() + 2.0f, 110.0f);
    Down(200.0f + HolderX() + 2.0f, 110.0f);
    Drag(900.0f, 700.0f);
    frames.Update(kFrame);
    EXPECT_EQ(slider->mSparkleOn, 1);
    Up(900.0f, 700.0f);
    Move(900.0f, 700.0f);
    frames.Update(kFrame);
    EXPECT_EQ(slider->mSparkleOn, 0);

    // Gliding: released at once, the pointer gone, until the glide ends.
    const float from = 200.0f + HolderX();
    Move(from - 100.0f, 110.0f);
    Down(from - 100.0f, 110.0f);
    Up(from - 100.0f, 110.0f);
    Move(900.0f, 700.0f);
    frames.Update(kFrame);
    EXPECT_EQ(slider->mSparkleOn, 1);
    Run(0.6f);
    EXPECT_EQ(slider->mSparkleOn, 0);
    EXPECT_EQ(slider->mSparkle->mState, 2);
}
} // namespace
} // namespace gametest
