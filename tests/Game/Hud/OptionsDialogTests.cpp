#include "CallLog.h"
#include "FrontEndFixture.h"
#include "RecordingRender.h"
#include "RecordingWindow.h"
#include "SkinnedLayouts.h"

#include "Core/File/Profiles.h"
#include "Core/Sound/SoundSystem.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Framework/Widget/FrameManager.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/OptionsDialog.h"
#include "Game/Hud/TMessageBox.h"
#include "Game/Hud/VessikButton.h"
#include "Game/Hud/VessikSlider.h"
#include "Game/Hud/VessikSwitchButton.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

namespace gametest
{
namespace
{
// The profile store reports each file-system step of a save; a plain save
// of the store gives the number of steps one save takes.
int sSaveSteps = 0;
void CountSaveStep() { ++sSaveSteps; }
int StepsOfOneSave()
{
    sSaveSteps = 0;
    file::Profiles::sAfterSaveStep = CountSaveStep;
    file::Profiles::Instance()->Save();
    file::Profiles::sAfterSaveStep = nullptr;
    return sSaveSteps;
}

class OptionsTest : public FrontEndTest
{
protected:
    void SetUp() override
    {
        rendertest::FakeTexture::sOpaque = true;
        extraStrings = "b1_ok;OK\nb1_cancel;Cancel\nIllegalResolutionMessage;Too big\nprogress_confirm_text;Sure?\n";
        FrontEndTest::SetUp();
        WriteLayout("nq/options", OptionsLayers());
        WriteLayout("nq/data/mm", MessageBoxLayers());
    }
    void TearDown() override
    {
        rendertest::FakeTexture::sOpaque = false;
        frames.CloseAll(true, false);
        frames.Update(0.0f);
        FrontEndTest::TearDown();
    }
    template <class D>
    D* Push(D* dialog)
    {
        dialog->Load();
        frames.PushDialog(dialog, true);
        frames.Update(0.0f);
        return dialog;
    }
    widget::Frame* Top() const
    {
        const auto& stack = frames.GetStack();
        return stack.empty() ? nullptr : stack.back().mFrame;
    }
    void Click(float x, float y)
    {
        frames.OnMouseMove({x, y});
        frames.OnMouseDown({x, y}, 1);
        frames.OnMouseUp({x, y}, 1);
    }
    widget::FrameManager frames;
};

TEST_F(OptionsTest, OpeningAppliesTheStoredVolumesAndPlacesTheThumbsSilently)
{
    Map()->mProgress->SetMusicVolume(0.5f);
    Map()->mProgress->SetSoundVolume(0.25f);
    SoundSystem::Instance()->SetMusicVolume(1.0f);
    auto* dialog = Push(new OptionsDialog);
    EXPECT_FALSE(dialog->mLoadFailed);
    EXPECT_FLOAT_EQ(SoundSystem::Instance()->GetMusicVolume(), 0.5f);
    EXPECT_FLOAT_EQ(SoundSystem::Instance()->GetSoundVolume(), 0.25f);
    EXPECT_FLOAT_EQ(dialog->mMusicSlider->GetValue(), 0.5f);
    EXPECT_FLOAT_EQ(dialog->mSoundSlider->GetValue(), 0.25f);
    EXPECT_FLOAT_EQ(dialog->mMusicSlider->mThumbHolder->mPosition.x, dialog->mMusicSlider->XForValue(0.5f));
    // Windowed before any window exists.
    EXPECT_TRUE(dialog->mWindowSwitch->IsSelected());
    EXPECT_FALSE(dialog->mFullscreenSwitch->IsSelected());
    EXPECT_EQ(Top(), dialog);
}

TEST_F(OptionsTest, StepButtonsMoveByAQuarterWithinTheRange)
{
    struct Step
    {
        float from;
        bool up;
        bool music;
        float to;
    };
    const Step steps[] = {{0.9f, true, true, 1.0f},
                          {0.1f, false, true, 0.0f},
                          {0.5f, true, false, 0.75f},
                          {0.2f, false, false, 0.0f}};
    auto* dialog = Push(new OptionsDialog);
    for (const Step& step : steps)
    {
        SoundSystem* sound = SoundSystem::Instance();
        if (step.music)
            sound->SetMusicVolume(step.from);
        else
            sound->SetSoundVolume(step.from);
        VessikButton* button = step.music ? (step.up ? dialog->mMusicIncButton : dialog->mMusicDecButton)
                                          : (step.up ? dialog->mSoundIncButton : dialog->mSoundDecButton);
        ClearSounds();
        const int oneSave = StepsOfOneSave();
        ASSERT_GT(oneSave, 0);
        sSaveSteps = 0;
        file::Profiles::sAfterSaveStep = CountSaveStep;
        dialog->OnButtonClick(button);
        file::Profiles::sAfterSaveStep = nullptr;
        EXPECT_EQ(Heard(L"simple"), 1);
        EXPECT_EQ(sSaveSteps, oneSave) << step.from;
        const float applied = step.music ? sound->GetMusicVolume() : sound->GetSoundVolume();
        EXPECT_FLOAT_EQ(applied, step.to) << step.from;
        const float stored =
            step.music ? Map()->mProgress->GetMusicVolume() : Map()->mProgress->GetSoundVolume();
        EXPECT_FLOAT_EQ(stored, step.to) << step.from;
    }
}

TEST_F(OptionsTest, ThumbDragsApplyOnlyAtTheRelease)
{
    auto* dialog = Push(new OptionsDialog);
    SoundSystem::Instance()->SetMusicVolume(1.0f);
    VessikSlider* music = dialog->mMusicSlider;
    const float holder = music->mThumbHolder->mPosition.x;
    const float cx = music->gui::GameControl::mPosition.x;
    const float cy = music->gui::GameControl::mPosition.y;
    frames.OnMouseMove({cx + holder + 2.0f, cy});
    frames.OnMouseDown({cx + holder + 2.0f, cy}, 1);
    const int oneSave = StepsOfOneSave();
    ASSERT_GT(oneSave, 0);
    sSaveSteps = 0;
    file::Profiles::sAfterSaveStep = CountSaveStep;
    frames.OnMouseDrag({cx + holder - 60.0f, cy});
    frames.Update(0.0f);
    EXPECT_FLOAT_EQ(SoundSystem::Instance()->GetMusicVolume(), 1.0f);
    EXPECT_EQ(sSaveSteps, 0);
    frames.OnMouseUp({cx + holder - 60.0f, cy}, 1);
    file::Profiles::sAfterSaveStep = nullptr;
    EXPECT_EQ(sSaveSteps, oneSave);
    const float expected = music->ValueAt(holder - 62.0f);
    EXPECT_NEAR(SoundSystem::Instance()->GetMusicVolume(), expected, 1e-5f);
    EXPECT_NEAR(Map()->mProgress->GetMusicVolume(), expected, 1e-5f);
}

TEST_F(OptionsTest, AWindowThatDoesNotFitTheWorkAreaOpensTheWarningInsteadOfSwitching)
{
    auto* dialog = Push(new OptionsDialog);
    Game* game = GetGame();
    game->mMaxLogicalWidth = 1024;
    game->mLogicalHeight = 768;
    app::MonitorInfo small;
    small.mWidth = small.mWorkWidth = 800;
    small.mHeight = small.mWorkHeight = 600;
    small.mPrimary = true;
    game->mMonitors.mMonitors = {small};
    const bool windowed = game->IsWindowed();
    dialog->OnButtonClick(dialog->mWindowSwitch);
    frames.Update(0.0f);
    auto* box = dynamic_cast<TMessageBox*>(Top());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->mMessageKey, L"IllegalResolutionMessage");
    EXPECT_TRUE(box->mAction.empty());
    EXPECT_EQ(game->IsWindowed(), windowed);
}

TEST_F(OptionsTest, TheDeveloperButtonTurnsTheKeysOnForGood)
{
    auto* dialog = Push(new OptionsDialog);
    Map()->mDeveloperKeys = false;
    dialog->OnButtonClick(dialog->mDeveloperButton);
    dialog->OnButtonClick(dialog->mDeveloperButton);
    EXPECT_TRUE(Map()->mDeveloperKeys);
}

TEST_F(OptionsTest, OkHidesAndDeletesTheDialog)
{
    Push(new OptionsDialog);
    Click(630.0f, 665.0f);
    frames.Update(0.0f);
    EXPECT_EQ(Top(), nullptr);
    EXPECT_EQ(Heard(L"simple"), 1);
}

TEST_F(OptionsTest, ADialogWithoutItsOkButtonClosesItselfAndTheGameTakesClicksAgain)
{
    WriteLayout("nq/options", OptionsLayers(false));
    auto* dialog = Push(new OptionsDialog);
    EXPECT_TRUE(dialog->mLoadFailed);
    EXPECT_EQ(Top(), dialog);
    frames.Update(0.0f);
    EXPECT_EQ(Top(), nullptr);
}

TEST_F(OptionsTest, AMessageWithoutActionHasOneOkButtonThatOnlyCloses)
{
    auto* box = Push(new TMessageBox(L"IllegalResolutionMessage", L""));
    ASSERT_NE(box->mFirstButton, nullptr);
    EXPECT_EQ(box->mSecondButton, nullptr);
    EXPECT_FLOAT_EQ(box->mFirstButton->gui::GameControl::mPosition.x, TMessageBox::kSingleButtonX);
    EXPECT_FLOAT_EQ(box->mFirstButton->gui::GameControl::mPosition.y, TMessageBox::kButtonY);
    bool labelled = false;
    for (layer::Layer* created : box->mCreatedLayers)
    {
        auto* text = dynamic_cast<layer::TextLayer*>(created);
        if (text && text->GetText() == L"OK")
            labelled = text->mPosition.x == TMessageBox::kSingleButtonX;
    }
    EXPECT_TRUE(labelled);
    Map()->mScreenState = screen::kIngameMenu;
    Click(516.0f, 535.0f);
    frames.Update(0.0f);
    EXPECT_EQ(Top(), nullptr);
    EXPECT_EQ(Heard(L"simple"), 1);
    EXPECT_EQ(Map()->mScreenState, screen::kIngameMenu);
}

TEST_F(OptionsTest, AConfirmationPlacesCancelRightAndOkLeft)
{
    auto* box = Push(new TMessageBox(L"progress_confirm_text", L"unknown"));
    ASSERT_NE(box->mSecondButton, nullptr);
    EXPECT_FLOAT_EQ(box->mFirstButton->gui::GameControl::mPosition.x, TMessageBox::kCancelButtonX);
    EXPECT_FLOAT_EQ(box->mSecondButton->gui::GameControl::mPosition.x, TMessageBox::kConfirmButtonX);
    // An unknown word only closes the box.
    Click(390.0f, 535.0f);
    frames.Update(0.0f);
    EXPECT_EQ(Top(), nullptr);
    EXPECT_EQ(Heard(L"simple"), 1);
}
TEST_F(OptionsTest, AConfirmedRestartClosesTheBoxAndBothWindowsInTheSameClick)
{
    struct Case
    {
        const wchar_t* action;
        int destroyed;
    };
    const Case cases[] = {{L"restart", 2}, {L"unknown", 0}};
    for (const Case& c : cases)
    {
        HUD* hud = Map()->mHud;
        ASSERT_NE(hud, nullptr);
        RecordingWindow::sDestroyed = 0;
        auto* below = new RecordingWindow("below");
        auto* top = new RecordingWindow("top");
        hud->PushWindow(below);
        hud->PushWindow(top);
        hud->Update(0.0f);
        auto* box = Push(new TMessageBox(L"progress_confirm_text", c.action));
        ASSERT_EQ(Top(), box);
        CallLog().clear();
        Click(float(TMessageBox::kConfirmButtonX), float(TMessageBox::kButtonY));
        // All in the click: the top window goes first, the reset takes the other.
        EXPECT_EQ(RecordingWindow::sDestroyed, c.destroyed) << Narrow(c.action);
        if (c.destroyed == 2)
        {
            const auto gone = CallsStarting("Window.");
            ASSERT_EQ(gone.size(), 2u);
            EXPECT_EQ(gone[0].call, "Window.top.~Window");
            EXPECT_EQ(gone[1].call, "Window.below.~Window");
            EXPECT_FALSE(hud->HasWindows());
        }
        else
        {
            EXPECT_EQ(hud->GetTopWindow(), top);
            while (hud->HasWindows())
                hud->CloseTopWindow();
        }
        frames.Update(0.0f);
        EXPECT_EQ(Top(), nullptr) << Narrow(c.action);
    }
}

// The buttons are the box's children: deleted once whether its owner deletes
// the box directly (never shown) or the frame manager clears and deletes it.
TEST_F(OptionsTest, ALoadedBoxFreesEachButtonOnce)
{
    for (const bool shown : {false, true})
    {
        for (const wchar_t* action : {L"", L"levels"})
        {
            auto* box = new TMessageBox(L"progress_confirm_text", action);
            ASSERT_EQ(box->Load(), HV_OK) << Narrow(action);
            ASSERT_NE(box->mFirstButton, nullptr);
            EXPECT_EQ(box->mSecondButton != nullptr, *action != L'\0');
            if (!shown)
            {
                delete box;
                continue;
            }
            frames.PushDialog(box, false);
            ASSERT_EQ(Top(), box);
            EXPECT_EQ(frames.CloseAll(true, true), HV_OK);
            EXPECT_EQ(Top(), nullptr);
        }
    }
}
} // namespace
} // namespace gametest
