// "data/game.xml" read by the framework's start-up: its dialog table reaches
// the dialog-effects manager, and a table that fails to load fails the start.
#include "Core/Base/SingletoneRegistry.h"
#include "Framework/GameApplication.h"
#include "Framework/Widget/DialogEffectsManager.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class StartApplication : public framework::GameApplication
{
public:
    StartApplication(const hvtest::TempFolder& data, const hvtest::TempFolder& user)
    {
        mLogicalWidth = 1024;
        mLogicalHeight = 768;
        mMaxLogicalWidth = 1366;
        mPublisher = L"Tests";
        mTitle = L"DialogStartup";
        mArguments = {L"--data_path", data.Wide()};
        mUserAppDataFolder = user.Wide();
    }
    HVResultEnum InitGame() override
    {
        ++mGameStarts;
        return HV_OK;
    }
    HVResultEnum UpdateGame(float) override { return HV_OK; }

    int mGameStarts = 0;
};

class DialogStartup : public ::testing::Test
{
protected:
    void TearDown() override { base::testing::TeardownSingletonsNow(); }

    HVResultEnum Start(const char* gameXml)
    {
        if (gameXml)
            data.Write("data/game.xml", gameXml);
        application = new StartApplication(data, user);
        return application->Init();
    }

    hvtest::TempFolder data;
    hvtest::TempFolder user;
    StartApplication* application = nullptr; // deleted by the singleton teardown
};

TEST_F(DialogStartup, TheTableOfGameXmlReachesTheManager)
{
    ASSERT_EQ(Start("<Game><DialogEffects><Data><Anim name='pop' show_anim_data='nq/data/anim/dlg_show.anim' "
                    "hide_anim_data='nq/data/anim/dlg_hide.anim'/></Data><Dialogs><Options effects='pop'/>"
                    "</Dialogs></DialogEffects></Game>"),
              HV_OK);
    EXPECT_EQ(application->mGameStarts, 1);
    const auto& dialogs = widget::DialogEffectsManager::Instance()->GetDialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs.at("Options"), "pop");
}

TEST_F(DialogStartup, AFailingTableFailsTheStart)
{
    EXPECT_EQ(Start("<Game><DialogEffects><Data><Fade name='f'/></Data></DialogEffects></Game>"), HV_FAIL);
    EXPECT_EQ(application->mGameStarts, 0);
}

TEST_F(DialogStartup, NoTableIsNoError)
{
    for (const char* text : {static_cast<const char*>(nullptr), "<Game", "<Other/>", "<Game/>"})
    {
        ASSERT_EQ(Start(text), HV_OK) << (text ? text : "missing");
        EXPECT_EQ(application->mGameStarts, 1);
        EXPECT_TRUE(widget::DialogEffectsManager::Instance()->GetDialogs().empty());
        base::testing::TeardownSingletonsNow();
    }
}
} // namespace
