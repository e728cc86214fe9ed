#include "DialogFixture.h"

#include "Framework/Layer/Layer.h"
#include "Framework/Widget/DialogAnimEffects.h"

namespace
{
using dialogtest::CountingDialog;
using dialogtest::DialogTest;
using Events = std::vector<std::string>;

class DialogLifecycle : public DialogTest
{
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_EQ(LoadTable(Table(Pop() + "<Anim name='lost' show_anim_data='a' hide_anim_data='b'/>",
                                  "<Options effects='pop'/><Broken effects='missing'/>")),
                  HV_OK);
    }
};

// Turn 1 opens the dialog and starts the show (start pose applied), turn 2
// joins the effects task, turns 3 and 4 advance it by 0.5 each.
TEST_F(DialogLifecycle, ShownWhenTheShowTransitionEnds)
{
    CountingDialog* dialog = Open("Options");
    Turn(1);
    ASSERT_NE(dialog->mEffects, nullptr);
    EXPECT_EQ(dialog->mLayer->mPosition.x, 100.0f);
    EXPECT_EQ(dialog->mLayer->mOpacity, 0.0f);
    Turn(2);
    EXPECT_TRUE(journal.events.empty());
    EXPECT_EQ(dialog->mLayer->mPosition.x, 50.0f);
    Turn(1);
    EXPECT_EQ(journal.events, (Events{"shown Options"}));
    EXPECT_EQ(dialog->mLayer->mPosition.x, 0.0f);
    EXPECT_EQ(dialog->mLayer->mOpacity, 1.0f);
}

TEST_F(DialogLifecycle, HideDuringTheShowWaitsForIt)
{
    CountingDialog* dialog = Open("Options");
    Turn(3);
    ASSERT_EQ(dialog->Hide(true), HV_OK);
    Turn(1);
    EXPECT_EQ(journal.events, (Events{"shown Options"}));
    // The hide started right after: its start pose.
    EXPECT_EQ(dialog->mLayer->mPosition.x, 7.0f);
    Turn(1);
    EXPECT_EQ(journal.deleted, 0);
    Turn(1);
    EXPECT_EQ(journal.events, (Events{"shown Options", "deleted Options"}));
    Turn(3);
    EXPECT_EQ(journal.deleted, 1);
    EXPECT_TRUE(manager->GetStack().empty());
}

TEST_F(DialogLifecycle, WithoutEffectsShownAtOnceAndClosedAtTheNextUpdate)
{
    for (const char* name : {"", "Unlisted"})
    {
        journal = {};
        CountingDialog* dialog = Open(name);
        Turn(1);
        EXPECT_EQ(journal.events, (Events{std::string("shown ") + name}));
        EXPECT_EQ(dialog->mEffects, nullptr);
        ASSERT_EQ(dialog->Hide(true), HV_OK);
        EXPECT_EQ(journal.deleted, 0);
        Turn(1);
        EXPECT_EQ(journal.deleted, 1);
    }
}

TEST_F(DialogLifecycle, ListedUnderDataThatWasNotLoadedFailsTheOpening)
{
    Open("Broken");
    EXPECT_EQ(manager->Process(0.5f), HV_FAIL);
    EXPECT_TRUE(journal.events.empty());
}

TEST_F(DialogLifecycle, RepeatedCloseLeavesOneRequest)
{
    CountingDialog* dialog = Open("Unlisted");
    Turn(1);
    EXPECT_EQ(dialog->Hide(true), HV_OK);
    EXPECT_EQ(dialog->Hide(true), HV_OK);
    EXPECT_EQ(dialog->Close(), HV_OK);
    Turn(2);
    EXPECT_EQ(journal.deleted, 1);
}

TEST_F(DialogLifecycle, CloseOutsideAFrameManagerQueuesNothing)
{
    CountingDialog dialog(journal, "Options");
    EXPECT_EQ(dialog.Close(), HV_FAIL);
    EXPECT_EQ(dialog.Hide(false), HV_FAIL);
}

TEST_F(DialogLifecycle, ReopenedDialogClosesAgain)
{
    CountingDialog* dialog = Open("Unlisted");
    Turn(1);
    EXPECT_EQ(dialog->Hide(false), HV_OK);
    Turn(1);
    EXPECT_TRUE(manager->GetStack().empty());
    EXPECT_EQ(manager->PushDialog(dialog, true), HV_OK);
    Turn(1);
    EXPECT_EQ(dialog->Hide(true), HV_OK);
    Turn(1);
    EXPECT_EQ(journal.deleted, 1);
}

TEST_F(DialogLifecycle, SecondHideWhileHidingDoesNotRestartIt)
{
    CountingDialog* dialog = Open("Options");
    Turn(4);
    ASSERT_EQ(dialog->Hide(false), HV_OK);
    Turn(1);
    EXPECT_EQ(dialog->mLayer->mPosition.x, 28.5f);
    // Still hiding: only the delete flag changes.
    ASSERT_EQ(dialog->Hide(true), HV_OK);
    EXPECT_EQ(dialog->mLayer->mPosition.x, 28.5f);
    Turn(1);
    EXPECT_EQ(journal.deleted, 1);
    Turn(2);
    EXPECT_EQ(journal.deleted, 1);
}

TEST_F(DialogLifecycle, DialogDeletedWhileItsEffectsRun)
{
    CountingDialog* dialog = Open("Options");
    Turn(3);
    ASSERT_NE(dialog->mEffects, nullptr);
    ASSERT_EQ(manager->CloseFrame(dialog, true, false), HV_OK);
    EXPECT_EQ(journal.deleted, 1);
    Turn(3);
    EXPECT_EQ(journal.events, (Events{"deleted Options"}));
}

TEST_F(DialogLifecycle, EffectsDeletedBeforeTheirDialog)
{
    CountingDialog* dialog = Open("Options");
    Turn(3);
    ASSERT_NE(dialog->mEffects, nullptr);
    // The frame manager deletes its tasks and leaves open frames alone.
    manager.reset();
    EXPECT_EQ(dialog->mEffects, nullptr);
    delete dialog;
    EXPECT_EQ(journal.deleted, 1);
}
} // namespace
