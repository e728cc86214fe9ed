#include "FrontEndFixture.h"
#include "RecordingWindow.h"

#include "Core/File/Profiles.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/HUDConfirmProfileDeletionDialog.h"
#include "Game/Hud/HUDModalDialog.h"
#include "Game/Hud/HUDModalInput.h"
#include "Game/Hud/HUDModalMessage.h"
#include "Game/Hud/HUDUnlockMessage.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

namespace gametest
{
namespace
{
// Cancel's place centred at (642, 535), ok's at (390, 535).
constexpr int kCancelX = 642;
constexpr int kOkX = 390;
constexpr int kButtonY = 535;

std::vector<FixtureLayer> ModalLayers(bool withInput = true, bool withCancel = true)
{
    std::vector<FixtureLayer> layers = {
        {"back", 0, 0, 1024, 768, 0xFF101010u, 0},
        {"button/b1_normal", 0, 0, 100, 40, 0xFF00FF00u, 2},
        {"button/b1_over", 0, 0, 100, 40, 0xFFFF0000u, 3},
        {"button/b1_ok/pos", kOkX - 50, kButtonY - 20, 100, 40, 0, 6, false},
        {"button/b1_ok/label", kOkX - 50, kButtonY - 20, 100, 40, 0x00000000u, 7},
        {"text/caption", 300, 200, 400, 40, 0, 8, false},
        {"text/message", 300, 300, 400, 80, 0, 9, false},
    };
    if (withInput)
        layers.push_back({"input", 300, 360, 400, 60, 0xFF202020u, 1});
    if (withCancel)
    {
        layers.push_back({"button/b1_cancel/pos", kCancelX - 50, kButtonY - 20, 100, 40, 0, 4, false});
        layers.push_back({"button/b1_cancel/label", kCancelX - 50, kButtonY - 20, 100, 40, 0, 5, false});
    }
    return layers;
}

class ModalTest : public FrontEndTest
{
protected:
    void SetUp() override
    {
        extraStrings = "b1_ok;OK\nb1_cancel;Cancel\nprofile_delete_caption;Delete?\nprofile_delete_message;Sure?\n"
                       "default_player;Player\nprofile_edit_caption;Name\nunlock_caption;New\nunlock_button;Go\n"
                       "unlock_5;Five\nunlock_12;Twelve\n";
        FrontEndTest::SetUp();
        WriteLayout("nq/data/mm", ModalLayers());
    }

    HUD* Hud() const { return Map()->mHud; }
    // Pushes and adopts a window.
    template <class W>
    W* Open(W* window)
    {
        Hud()->PushWindow(window);
        Hud()->Update(0.0f);
        return window;
    }
};

class AcceptRecorder : public HUDModalDialog
{
public:
    AcceptRecorder() : HUDModalDialog(L"c", L"m") {}
    void OnAccept() override { ++accepts; }
    void OnRefuse() override { ++refuses; }
    int accepts = 0;
    int refuses = 0;
};

TEST_F(ModalTest, AMessageSetsItsReturnStateWhenClosedAndMinusOneLeavesTheState)
{
    Map()->mScreenState = screen::kModalMessage;
    Hud()->ShowModalMessage(L"c", L"m", screen::kLevelSelect);
    EXPECT_EQ(Map()->mPendingDialog, screen::kLevelSelect);
    Hud()->Update(0.0f);
    Hud()->CloseTopWindow();
    EXPECT_EQ(Map()->mScreenState, screen::kLevelSelect);

    Hud()->ShowModalMessage(L"c", L"m", -1);
    Hud()->Update(0.0f);
    Hud()->CloseTopWindow();
    EXPECT_EQ(Map()->mScreenState, screen::kModalMessage);
}

TEST_F(ModalTest, AOneButtonMessageHidesCancelAndShiftsOkBy120)
{
    auto* message = Open(new HUDModalMessage(L"Caption", L"Text", -1));
    ASSERT_EQ(message->mOverButtons.size(), 2u);
    EXPECT_EQ(message->mOverButtons[0]->mName, L"cancel");
    EXPECT_EQ(message->mOverButtons[1]->mName, L"ok");
    EXPECT_EQ(message->Click(kCancelX, kButtonY), L"");
    EXPECT_EQ(message->Click(kOkX, kButtonY), L"");
    EXPECT_EQ(Heard(L"simple"), 0);
    EXPECT_EQ(message->Click(kOkX + 120, kButtonY), L"ok");
    EXPECT_EQ(Heard(L"simple"), 1);
    // "input" belongs to the name input only.
    for (const NQFrameEntry* frame : message->mImages)
    {
        if (frame->mName == L"input")
        {
            EXPECT_EQ(frame->mShown, 0);
        }
    }
}

TEST_F(ModalTest, ADialogAnswersByTheReleasePointOnly)
{
    AcceptRecorder dialog;
    dialog.OnMouseDown(kCancelX, kButtonY);
    dialog.OnMouseUp(kOkX, kButtonY);
    EXPECT_EQ(dialog.accepts, 1);
    EXPECT_EQ(dialog.refuses, 0);

    dialog.OnMouseDown(kOkX, kButtonY);
    dialog.OnMouseUp(10, 10);
    EXPECT_EQ(dialog.accepts, 1);
    EXPECT_EQ(dialog.refuses, 0);
    // The pressed button keeps its over picture.
    EXPECT_EQ(dialog.mOverButtons[1]->mPressed, 1);

    dialog.OnMouseUp(kCancelX, kButtonY);
    EXPECT_EQ(dialog.refuses, 1);
}

TEST_F(ModalTest, ALayoutWithOneButtonFolderKeepsItVisibleAndReadsNothingPast)
{
    WriteLayout("nq/data/mm", ModalLayers(true, false));
    AcceptRecorder dialog;
    ASSERT_EQ(dialog.mOverButtons.size(), 1u);
    EXPECT_EQ(dialog.mOverButtons[0]->mVisible, 1);
    EXPECT_EQ(dialog.mOverButtons[0]->mOffsetX, 0.0f);
    dialog.OnMouseUp(kOkX, kButtonY);
    EXPECT_EQ(dialog.refuses, 1);
    HUDModalMessage message(L"c", L"m", -1);
    EXPECT_EQ(message.Click(kOkX, kButtonY), L"ok");
}

TEST_F(ModalTest, DeletingTheGameObjectsWithAMessageOpenIsClean)
{
    Hud()->ShowModalMessage(L"c", L"m", screen::kLevelSelect);
    Hud()->Update(0.0f);
    // TearDown deletes the root board, the level and the HUD with the message.
}

class ProfileDeletionTest : public ModalTest
{
protected:
    void SetUp() override
    {
        ModalTest::SetUp();
        profiles->WriteFile("<Profiles currentProfile=\"Bob\"><Profile name=\"Player\"/><Profile name=\"Anna\"/>"
                            "<Profile name=\"Bob\"/></Profiles>");
        file::Profiles::Instance()->Load();
        Map()->mProgress->ReloadProfileNames();
        Map()->mProgress->SelectProfile(L"Bob");
    }
};

TEST_F(ProfileDeletionTest, AcceptDeletesTheCurrentProfileAndRefreshesTheTopWindow)
{
    auto* below = Open(new RecordingWindow("below"));
    Map()->mScreenState = screen::kProfiles;
    Hud()->ConfirmProfileDeletion();
    HUDWindow* overlay = Board()->GetOverlay(GameWindow::kConfirmSlot);
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(Map()->mScreenState, screen::kProfiles);
    overlay->OnMouseUp(kOkX, kButtonY);
    EXPECT_EQ(overlay->mAlive, 0);
    EXPECT_EQ(below->Count("Refresh"), 1);
    const std::vector<std::wstring> names = file::Profiles::Instance()->GetProfileNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), L"Bob"), 0);
    EXPECT_EQ(Map()->mProgress->GetCurrentName(), L"Anna");
    EXPECT_EQ(Heard(L"simple"), 0);
}

TEST_F(ProfileDeletionTest, RefuseChangesNothing)
{
    auto* below = Open(new RecordingWindow("below"));
    Hud()->ConfirmProfileDeletion();
    HUDWindow* overlay = Board()->GetOverlay(GameWindow::kConfirmSlot);
    ASSERT_NE(overlay, nullptr);
    overlay->OnMouseUp(kCancelX, kButtonY);
    EXPECT_EQ(overlay->mAlive, 0);
    EXPECT_EQ(below->Count("Refresh"), 0);
    EXPECT_EQ(Map()->mProgress->GetCurrentName(), L"Bob");
    EXPECT_EQ(Heard(L"simple"), 0);
}

// Name input.
class NameInputTest : public ModalTest
{
protected:
    void SetUp() override
    {
        ModalTest::SetUp();
        profiles->WriteFile("<Profiles currentProfile=\"Anna\"><Profile name=\"Player\"/><Profile name=\"Anna\"/>"
                            "<Profile name=\"Bob\"/></Profiles>");
        file::Profiles::Instance()->Load();
        Map()->mProgress->ReloadProfileNames();
        Map()->mProgress->SelectProfile(L"Anna");
    }
    HUDModalInput* OpenInput(NQScreenState state)
    {
        Map()->mScreenState = state;
        Hud()->ShowModalInput();
        Hud()->Update(0.0f);
        return dynamic_cast<HUDModalInput*>(Hud()->GetTopWindow());
    }
    bool OkVisible(const HUDModalInput* input) const { return input->mOverButtons[1]->mVisible != 0; }
};

TEST_F(NameInputTest, TheInitialNameFollowsTheState)
{
    HUDModalInput* input = OpenInput(screen::kNewProfileName);
    ASSERT_NE(input, nullptr);
    // Every profile of the file counts, the first included.
    EXPECT_EQ(input->mName, L"Player3");
    EXPECT_EQ(Map()->mEditedName, L"Player3");
    EXPECT_TRUE(OkVisible(input));
    Hud()->CloseTopWindow();

    input = OpenInput(screen::kRenameProfileName);
    EXPECT_EQ(input->mName, L"Anna");
    EXPECT_FALSE(OkVisible(input));
    // Compared exactly: case counts.
    input->OnKeyDown(HUDModalInput::kBackspaceKey);
    input->OnKeyDown(HUDModalInput::kBackspaceKey);
    input->OnKeyDown(HUDModalInput::kBackspaceKey);
    input->OnKeyDown(HUDModalInput::kBackspaceKey);
    EXPECT_FALSE(OkVisible(input));
    for (const wchar_t ch : std::wstring(L"anna"))
        input->OnChar(ch);
    EXPECT_EQ(input->mName, L"anna");
    EXPECT_TRUE(OkVisible(input));
}

TEST_F(NameInputTest, OnlyDigitsLatinAndBasicCyrillicLettersTheFontHasAreTaken)
{
    HUDModalInput* input = OpenInput(screen::kRenameProfileName);
    ASSERT_NE(input, nullptr);
    struct Case
    {
        int ch;
        bool taken;
    };
    const Case cases[] = {{'0', true},    {'z', true},     {'Q', true},     {0x0410, true},  {0x044F, true},
                          {' ', false},   {'.', false},    {0x0401, false}, {0x0451, false}, {0x1F600, false}};
    for (const Case& c : cases)
    {
        input->mName.clear();
        input->OnChar(c.ch);
        EXPECT_EQ(input->mName.size(), c.taken ? 1u : 0u) << c.ch;
        EXPECT_EQ(Map()->mEditedName, input->mName) << c.ch;
        // Re-evaluated whether or not the character was taken.
        EXPECT_EQ(OkVisible(input), c.taken) << c.ch;
    }

    input->mName = std::wstring(16, L'a');
    input->OnChar('b');
    EXPECT_EQ(input->mName.size(), 16u);

    // Backspace arrives as key-down 8, then character 8.
    input->mName = L"ab";
    input->OnKeyDown(8);
    input->OnChar(8);
    EXPECT_EQ(input->mName, L"a");
    input->mName.clear();
    input->mOverButtons[1]->mVisible = 1;
    input->OnKeyDown(8);
    EXPECT_FALSE(OkVisible(input));
}

TEST_F(NameInputTest, OkWhileCreatingSavesSelectsClosesAndRefreshesTheWindowBelow)
{
    auto* below = Open(new RecordingWindow("below"));
    HUDModalInput* input = OpenInput(screen::kNewProfileName);
    ASSERT_NE(input, nullptr);
    Map()->mCurrentMenu.clear();
    input->mName = L"Zed";
    input->NameChanged();
    // The window deletes itself inside its Click.
    EXPECT_EQ(input->Click(kOkX, kButtonY), L"ok");
    EXPECT_EQ(Hud()->GetTopWindow(), below);
    EXPECT_EQ(Map()->mScreenState, screen::kProfiles);
    EXPECT_TRUE(Map()->mEditedName.empty());
    EXPECT_EQ(below->Count("Refresh"), 1);
    EXPECT_EQ(Map()->mProgress->GetCurrentName(), L"Zed");
    file::Profiles::Instance()->Load();
    EXPECT_EQ(file::Profiles::Instance()->GetCurrentProfileName(), L"Zed");
}

TEST_F(NameInputTest, OkReleasedThroughTheLevelRunsOnlyTheHudStep)
{
    auto* below = Open(new RecordingWindow("below"));
    HUDModalInput* input = OpenInput(screen::kNewProfileName);
    ASSERT_NE(input, nullptr);
    input->mName = L"Zed";
    input->NameChanged();
    Map()->OnMouseUp(kOkX, kButtonY);
    EXPECT_EQ(Hud()->GetTopWindow(), below);
    EXPECT_EQ(Map()->mScreenState, screen::kProfiles);
    EXPECT_EQ(below->Count("Refresh"), 1);
}

TEST_F(NameInputTest, CancelWhileRenamingReturnsToProfiles)
{
    Open(new RecordingWindow("below"));
    HUDModalInput* input = OpenInput(screen::kRenameProfileName);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->Click(kCancelX, kButtonY), L"cancel");
    EXPECT_EQ(Map()->mScreenState, screen::kProfiles);
    EXPECT_TRUE(Map()->mEditedName.empty());
    EXPECT_EQ(Map()->mProgress->GetCurrentName(), L"Anna");
}

class NameInputWithoutQTest : public NameInputTest
{
protected:
    void SetUp() override
    {
        missingGlyphs = "q";
        NameInputTest::SetUp();
    }
};

TEST_F(NameInputWithoutQTest, ALatinLetterTheFontCannotDrawIsRefused)
{
    HUDModalInput* input = OpenInput(screen::kRenameProfileName);
    ASSERT_NE(input, nullptr);
    input->mName.clear();
    input->OnChar('q');
    EXPECT_TRUE(input->mName.empty());
    EXPECT_FALSE(OkVisible(input));
    // Its capital is in the font.
    input->OnChar('Q');
    EXPECT_EQ(input->mName, L"Q");
    EXPECT_TRUE(OkVisible(input));
}

TEST_F(NameInputTest, AMissingInputPictureDrawsAtTheFallbackPlace)
{
    WriteLayout("nq/data/mm", ModalLayers(false));
    HUDModalInput* input = OpenInput(screen::kRenameProfileName);
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->mInputFrame, nullptr);
    const auto quads = Record([&](render::Graphics* g) { input->Draw(g); });
    EXPECT_FALSE(quads.empty());
}

// Unlock message.
class UnlockMessageTest : public ModalTest
{
protected:
    void SetUp() override
    {
        ModalTest::SetUp();
        WriteLayout("nq/data/message", {
                                           {"back", 0, 0, 600, 400, 0xFF101010u, 0},
                                           {"icons/id5", 100, 100, 64, 64, 0xFF00FF00u, 1},
                                           {"icons/id12", 100, 100, 64, 64, 0xFFFF0000u, 2},
                                           {"button/ok", 250, 300, 100, 40, 0xFF0000FFu, 3},
                                           {"text/caption", 0, 0, 600, 40, 0, 4, false},
                                           {"text/message", 0, 200, 600, 40, 0, 5, false},
                                           {"text/button", 250, 300, 100, 40, 0, 6, false},
                                       });
    }
    static int ShownIcons(const HUDUnlockMessage& message)
    {
        int shown = 0;
        for (const NQFrameEntry* icon : message.mIcons)
            shown += icon->mShown;
        return shown;
    }
    static constexpr int kOkXInside = 300;
    static constexpr int kOkYInside = 320;
};

TEST_F(UnlockMessageTest, EachOkStepsToTheNextIdAndTheLastAnswersOk)
{
    HUDUnlockMessage message({5, 7, 12});
    ASSERT_EQ(message.mIds, (std::vector<int32_t>{5, 12}));
    EXPECT_EQ(ShownIcons(message), 1);
    EXPECT_EQ(message.mIcons[0]->mShown, 1);
    EXPECT_EQ(message.HitTest(kOkXInside, kOkYInside), -1);

    EXPECT_EQ(message.Click(10, 10), L"");
    EXPECT_EQ(Heard(L"simple"), 0);
    EXPECT_EQ(message.mCurrent, 0);

    EXPECT_EQ(message.Click(kOkXInside, kOkYInside), L"");
    EXPECT_EQ(message.mIcons[1]->mShown, 1);
    EXPECT_EQ(ShownIcons(message), 1);
    EXPECT_EQ(message.Click(kOkXInside, kOkYInside), L"ok");
}

TEST_F(UnlockMessageTest, AnIdListedTwiceNeedsTwoOks)
{
    HUDUnlockMessage message({5, 5});
    ASSERT_EQ(message.mIds.size(), 2u);
    EXPECT_EQ(message.Click(kOkXInside, kOkYInside), L"");
    EXPECT_EQ(message.Click(kOkXInside, kOkYInside), L"ok");
}

TEST_F(UnlockMessageTest, NoIconAtAllAnswersOkAtTheFirstOk)
{
    HUDUnlockMessage message({99});
    EXPECT_TRUE(message.mIds.empty());
    EXPECT_EQ(ShownIcons(message), 0);
    EXPECT_EQ(message.Click(kOkXInside, kOkYInside), L"ok");
}

TEST_F(UnlockMessageTest, ShowUnlockMessagePausesAndPushes)
{
    Hud()->ShowUnlockMessage({12});
    Hud()->Update(0.0f);
    EXPECT_EQ(Map()->mScreenState, screen::kUnlockMessage);
    EXPECT_EQ(Map()->mSpeed, 0.0f);
    EXPECT_NE(dynamic_cast<HUDUnlockMessage*>(Hud()->GetTopWindow()), nullptr);
}
} // namespace
} // namespace gametest
