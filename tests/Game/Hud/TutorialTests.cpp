// The tutorial: loading the script, events and conditions, the fixed reset
// groups, the commands, the hints over the level, the skip flow and teardown.
#include "CallLog.h"
#include "FrontEndFixture.h"
#include "LevelFixture.h"

#include "Core/File/Profiles.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQProgress.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDConfirmTutorialCancelDialog.h"
#include "Game/Hud/HUDSpellButton.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Hud/NQTutorialStep.h"
#include "Game/Hud/TutorialButton.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQScreenState.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <functional>
#include <map>

namespace gametest
{
namespace
{
struct StepSpec
{
    int id;
    std::string activate;
    std::string complete;
    std::string folder;
    std::string condition;
    std::string commands;
    std::string texts;
};

StepSpec Step(int id, const std::string& activate, const std::string& complete, const std::string& folder,
              const std::string& condition = "<condition/>", const std::string& commands = std::string(),
              const std::string& texts = std::string())
{
    return {id, activate, complete, folder, condition, commands, texts};
}

std::string StepXml(const StepSpec& s)
{
    return "<step id=\"" + std::to_string(s.id) + "\" activate=\"" + s.activate + "\" complete=\"" + s.complete +
           "\">" + s.condition + "<show folder=\"" + s.folder + "\">" + s.texts + "</show>" + s.commands + "</step>";
}

std::string ScriptXml(const std::vector<StepSpec>& steps)
{
    std::string xml = "<tutorial>";
    for (const StepSpec& step : steps)
        xml += StepXml(step);
    return xml + "</tutorial>";
}

// Three lessons: "a" shows a picture and a text, "b" a picture and a text
// place without text, "c" reacts only in episode 0, level 2.
std::vector<StepSpec> ThreeSteps()
{
    return {
        Step(1, "go_a", "done_a", "a", "<condition/>", "", "<text place=\"a/label\" string=\"hint_a\"/>"),
        Step(2, "done_a", "done_b", "b"),
        Step(3, "go_c", "done_c", "c", "<condition shop=\"-1\" episode=\"0\" level=\"2\"/>"),
    };
}

std::vector<FixtureLayer> HintLayers()
{
    return {
        {"a/pic", 100, 50, 40, 30, 0xFF00FF00u, 0},
        {"a/label", 200, 300, 120, 40, 0, 1, false},
        {"b/pic", 10, 20, 16, 16, 0xFFFF0000u, 2},
        {"b/label", 400, 100, 60, 20, 0, 3, false},
        {"c/pic", 0, 0, 8, 8, 0xFF0000FFu, 4},
    };
}

constexpr int kSkipX = 900;
constexpr int kSkipY = 700;
constexpr int kSkipW = 100;
constexpr int kSkipH = 40;

class TutorialTest : public FrontEndTest
{
protected:
    TutorialTest()
    {
        realTutorial = true;
        extraStrings = "hint_a;Build here\ntutorial_skip_label;Skip\ntutorial_skip_caption;Skip?\n"
                       "tutorial_skip_message;Really skip\nb1_ok;OK\nb1_cancel;Cancel\n";
    }

    void SetUp() override
    {
        FrontEndTest::SetUp();
        hvtest::CaptureLog();
        WriteLayout("nq/data/tutorial", HintLayers());
        WriteLayout("nq/data/tutorial/skip",
                    {{"button/b4_over", kSkipX, kSkipY, kSkipW, kSkipH, 0xFF808080u, 0},
                     {"button/b4_normal", kSkipX, kSkipY, kSkipW, kSkipH, 0xFFA0A0A0u, 1}});
    }

    // The script written, then the tutorial made by its first use.
    NQTutorial* Start(const std::vector<StepSpec>& steps)
    {
        data->Write("nq/tutorial.xml", ScriptXml(steps));
        return NQTutorial::Instance();
    }

    NQProgress* Progress() { return Map()->mProgress; }

    // The step states as saved in "profiles.xml", by id.
    std::map<int, int> SavedStates() const
    {
        std::map<int, int> states;
        tinyxml2::XMLDocument doc;
        if (!profiles->LoadFile(doc))
            return states;
        const tinyxml2::XMLElement* profile = doc.RootElement()->FirstChildElement("Profile");
        const tinyxml2::XMLElement* tutorial = profile ? profile->FirstChildElement("tutorial") : nullptr;
        for (const tinyxml2::XMLElement* step = tutorial ? tutorial->FirstChildElement("step") : nullptr; step;
             step = step->NextSiblingElement("step"))
            states[step->IntAttribute("id")] = step->IntAttribute("state");
        return states;
    }
};

TEST_F(TutorialTest, FirstUseAfterTheGameObjectsLoadsStepsAndTheProfileFlag)
{
    ASSERT_EQ(NQTutorial::Find(), nullptr) << "made before the level could be read";
    NQTutorial* tutorial = Start(ThreeSteps());
    ASSERT_EQ(tutorial->mSteps.size(), 3u);
    EXPECT_EQ(tutorial->mEnabled, Progress()->IsTutorialEnabled() ? 1 : 0);
    EXPECT_EQ(tutorial->mEnabled, 1);
    EXPECT_EQ(tutorial->mVisible, 0);
    const NQTutorialStep& c = *tutorial->mSteps[2];
    EXPECT_EQ(c.mId, 3);
    EXPECT_EQ(c.mShop, -1);
    EXPECT_EQ(c.mLevel, 2);
    EXPECT_EQ(c.mActivate, L"go_c");
    EXPECT_EQ(tutorial->mSteps[0]->mTexts.at(L"a/label"), L"Build here");
    ASSERT_NE(tutorial->mSkipButton, nullptr);
    // The lower picture defines the hit rectangle, centred on the layer's centre.
    EXPECT_EQ(tutorial->mSkipButton->mPosition.x, kSkipX + kSkipW / 2.0f);
    EXPECT_EQ(tutorial->mSkipButton->mHovered, 0);
}

TEST_F(TutorialTest, AProfileWithTheTutorialOffStartsDisabled)
{
    Progress()->SetTutorialEnabled(false);
    EXPECT_EQ(Start(ThreeSteps())->mEnabled, 0);
}

// "b" activates on "done_a", the event that completes "a".
class TutorialOrderTest : public TutorialTest, public testing::WithParamInterface<bool>
{
};

TEST_P(TutorialOrderTest, OneEventCompletesAndActivatesInFileOrder)
{
    const bool bAfterA = GetParam();
    const StepSpec a = Step(1, "go_a", "done_a", "a");
    const StepSpec b = Step(2, "done_a", "done_b", "b");
    NQTutorial* tutorial = Start(bAfterA ? std::vector<StepSpec>{a, b} : std::vector<StepSpec>{b, a});
    tutorial->OnEvent(L"go_a");
    EXPECT_EQ(tutorial->mHintImages.size(), 1u);
    tutorial->OnEvent(L"done_a");
    EXPECT_EQ(SavedStates()[1], NQTutorialStep::kDone);
    EXPECT_EQ(SavedStates()[2], NQTutorialStep::kActive);
    // Before "a", b's fresh hints are cleared by a's completion.
    EXPECT_EQ(!tutorial->mHintImages.empty(), bAfterA);
    EXPECT_EQ(tutorial->mVisible, bAfterA ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(BAfterAOrBefore, TutorialOrderTest, testing::Bool());

TEST_F(TutorialTest, ALevelOnlyStepReactsInItsLevelAloneAndOnce)
{
    NQTutorial* tutorial = Start(ThreeSteps());
    Map()->mEpisode = 0;
    Map()->mLevel = 1;
    tutorial->OnEvent(L"go_c");
    EXPECT_EQ(SavedStates()[3], NQTutorialStep::kIdle);
    Map()->mLevel = 2;
    tutorial->OnEvent(L"go_c");
    EXPECT_EQ(SavedStates()[3], NQTutorialStep::kActive);
    ASSERT_EQ(tutorial->mHintImages.size(), 1u);
    // A second activation is ignored: the hints are not rebuilt.
    layer::ImageLayer* shown = tutorial->mHintImages[0];
    tutorial->OnEvent(L"go_c");
    ASSERT_EQ(tutorial->mHintImages.size(), 1u);
    EXPECT_EQ(tutorial->mHintImages[0], shown);
    // Case and length count.
    tutorial->OnEvent(L"DONE_C");
    tutorial->OnEvent(L"done_c ");
    EXPECT_EQ(SavedStates()[3], NQTutorialStep::kActive);
    tutorial->OnEvent(L"done_c");
    EXPECT_EQ(SavedStates()[3], NQTutorialStep::kDone);
    EXPECT_TRUE(tutorial->mHintImages.empty());
}

TEST_F(TutorialTest, DisabledTutorialChangesNoStateSavedOrCached)
{
    NQTutorial* tutorial = Start(ThreeSteps());
    tutorial->SetEnabled(false);
    const std::string before = profiles->FileText();
    for (const wchar_t* event : {L"go_a", L"done_a", L"go_c", L"done_b"})
        tutorial->OnEvent(event);
    EXPECT_EQ(profiles->FileText(), before);
    for (const NQTutorialStep* step : tutorial->mSteps)
        EXPECT_EQ(step->mState, NQTutorialStep::kIdle);
    EXPECT_TRUE(tutorial->mHintImages.empty());
}

TEST_F(TutorialTest, ResetUnfinishedStepsKeepsTheFixedGroupsTogether)
{
    struct Case
    {
        const char* name;
        std::map<int, int> before;
        std::map<int, int> after;
    };
    const Case cases[] = {
        {"1 not done resets 0 even when done", {{0, 2}, {1, 1}}, {{0, 0}, {1, 0}}},
        {"1 done keeps 0 and 1", {{0, 1}, {1, 2}}, {{0, 1}, {1, 2}}},
        {"2 alone", {{2, 1}}, {{2, 0}}},
        {"4 not done resets 3 and 4", {{3, 2}, {4, 1}}, {{3, 0}, {4, 0}}},
        {"4 done keeps 3", {{3, 1}, {4, 2}}, {{3, 1}, {4, 2}}},
        {"51 not done, 5 not done", {{5, 1}, {51, 1}}, {{5, 0}, {51, 0}}},
        {"51 not done, 5 done", {{5, 2}, {51, 1}}, {{5, 2}, {51, 0}}},
        {"51 done keeps 5", {{5, 1}, {51, 2}}, {{5, 1}, {51, 2}}},
        {"6, 7 and 8 one by one", {{6, 1}, {7, 2}, {8, 1}}, {{6, 0}, {7, 2}, {8, 0}}},
    };
    NQTutorial* tutorial = Start(ThreeSteps());
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        for (int id : {0, 1, 2, 3, 4, 5, 51, 6, 7, 8})
            Progress()->SetTutorialStepState(id, 0);
        for (const auto& [id, state] : c.before)
            Progress()->SetTutorialStepState(id, state);
        Map()->mDropChanceOverride = 3.0f;
        Map()->mTutorialSpotFilter = 4;
        Map()->mHud->mBlockShop = 1;
        Map()->mHud->mBlockUI = 2;
        tutorial->ResetUnfinishedSteps();
        const std::map<int, int> saved = SavedStates();
        for (const auto& [id, state] : c.after)
            EXPECT_EQ(saved.at(id), state) << "step " << id;
        EXPECT_EQ(Map()->mDropChanceOverride, 0.0f);
        EXPECT_EQ(Map()->mTutorialSpotFilter, -1);
        EXPECT_EQ(Map()->mHud->mBlockShop, 0);
        EXPECT_EQ(Map()->mHud->mBlockUI, 0);
    }
}

TEST_F(TutorialTest, CommandsReachTheirTargets)
{
    struct Case
    {
        const char* param;
        int value;
        std::function<void(NQMap&)> check;
    };
    const Case cases[] = {
        {"pause", 1, [](NQMap& m) { EXPECT_EQ(m.mSpeed, 0.0f); }},
        {"pause", 0, [](NQMap& m) { EXPECT_EQ(m.mSpeed, 1.0f); }},
        {"pause", 2, [](NQMap& m) { EXPECT_EQ(m.mSpeed, 0.5f); }},
        {"dropChanceOverride", 1,
         [](NQMap& m) {
             EXPECT_EQ(m.mDropChanceOverride, 1.0f);
             EXPECT_EQ(m.mProgress->GetTutorialParam(L"dropChanceOverride"), 1);
         }},
        {"blockShop", 2, [](NQMap& m) { EXPECT_EQ(m.mHud->mBlockShop, 2); }},
        {"blockUI", 3, [](NQMap& m) { EXPECT_EQ(m.mHud->mBlockUI, 3); }},
        {"spot", 7, [](NQMap& m) { EXPECT_EQ(m.mTutorialSpotFilter, 7); }},
        {"addGems", 5,
         [](NQMap& m) {
             EXPECT_EQ(m.mEconomy->mGems, 15);
             EXPECT_EQ(m.mProgress->GetGems(), 15);
         }},
        {"addMoney", 30, [](NQMap& m) { EXPECT_EQ(m.mEconomy->mGold, 130); }},
        {"completeStep", 5, [](NQMap& m) { EXPECT_EQ(m.mProgress->GetTutorialStepState(5), 2); }},
        {"resetSpell", 1, [](NQMap& m) { EXPECT_EQ(m.mHud->mSpellButtons[0]->mTimer, 0.0f); }},
        {"unknown", 1,
         [](NQMap& m) {
             EXPECT_EQ(m.mSpeed, 0.5f);
             EXPECT_EQ(m.mHud->mBlockUI, 0);
             EXPECT_EQ(m.mTutorialSpotFilter, -1);
             EXPECT_EQ(m.mEconomy->mGems, 10);
         }},
    };
    // One step per case, each activated by its own event.
    std::vector<StepSpec> steps;
    for (size_t i = 0; i < std::size(cases); ++i)
        steps.push_back(Step(100 + int(i), "cmd_" + std::to_string(i), "never", "a", "<condition/>",
                             "<cmds><cmd param=\"" + std::string(cases[i].param) + "\" value=\"" +
                                 std::to_string(cases[i].value) + "\"/></cmds>"));
    NQTutorial* tutorial = Start(steps);
    // The HUD deletes it.
    Map()->mHud->mSpellButtons.push_back(new HUDSpellButton(0));
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const Case& c = cases[i];
        SCOPED_TRACE(c.param + std::string(" ") + std::to_string(c.value));
        Progress()->SetTutorialStepState(5, 0);
        Progress()->SetGems(10);
        Map()->mEconomy->mGems = 10;
        Map()->mEconomy->mGold = 100;
        Map()->mSpeed = 0.5f;
        Map()->mHud->mSpellButtons[0]->mTimer = 3.0f;
        tutorial->ResetUnfinishedSteps();
        tutorial->OnEvent(L"cmd_" + std::to_wstring(i));
        c.check(*Map());
    }
}

class TutorialOverPanelTest : public TutorialTest
{
protected:
    // The recording HUD has the speed buttons as frames.
    TutorialOverPanelTest() { recordingHud = true; }
};

TEST_F(TutorialOverPanelTest, PauseRefreshesTheSpeedButtons)
{
    NQTutorial* tutorial =
        Start({Step(1, "stop", "go", "a", "<condition/>", "<cmds><cmd param=\"pause\" value=\"1\"/></cmds>",
                    ""),
               Step(2, "odd", "never", "a", "<condition/>", "<cmds><cmd param=\"pause\" value=\"2\"/></cmds>")});
    HUD* hud = Map()->mHud;
    for (const wchar_t* name : {L"pause_btn_ac", L"play_btn_ac"})
        ASSERT_NE(hud->FindButton(name), nullptr) << Narrow(name);
    tutorial->OnEvent(L"stop");
    EXPECT_EQ(Map()->mSpeed, 0.0f);
    EXPECT_EQ(hud->FindButton(L"pause_btn_ac")->mShown, 1);
    Map()->mSpeed = 1.0f;
    tutorial->OnEvent(L"odd");
    EXPECT_EQ(Map()->mSpeed, 1.0f);
    EXPECT_EQ(hud->FindButton(L"pause_btn_ac")->mShown, 0) << "value 2 still refreshes the buttons";
}

TEST_F(TutorialTest, ShowStepPutsPicturesAndTextsAboveTheLevel)
{
    NQTutorial* tutorial = Start(ThreeSteps());
    Map()->mZoom = 1.5f;
    Map()->mViewOffsetX = -40.0f;
    Map()->mViewOffsetY = 12.0f;
    tutorial->OnEvent(L"go_a");

    EXPECT_EQ(Map()->mZoom, 1.0f);
    EXPECT_EQ(Map()->mViewOffsetX, 0.0f);
    EXPECT_EQ(Map()->mViewOffsetY, 0.0f);
    ASSERT_EQ(tutorial->mHintImages.size(), 1u);
    EXPECT_EQ(tutorial->mHintImages[0]->mPosition.x, 100.0f);
    EXPECT_EQ(tutorial->mHintImages[0]->mPosition.y, 50.0f);
    EXPECT_EQ(tutorial->mHintImages[0]->GetParent(), tutorial->mPictureRoot);
    ASSERT_EQ(tutorial->mHintTexts.size(), 1u);
    const layer::TextLayer& text = *tutorial->mHintTexts[0];
    EXPECT_EQ(text.GetText(), L"Build here");
    EXPECT_EQ(text.mPosition.x, 260.0f);
    EXPECT_EQ(text.mPosition.y, 320.0f);
    EXPECT_EQ(text.GetHorizontalAlignment(), 2);
    EXPECT_EQ(text.GetVerticalAlignment(), 2);

    const layer::Layer::Children& children = Board()->GetRootLayer()->GetChildren();
    ASSERT_GE(children.size(), 3u);
    EXPECT_EQ(children[children.size() - 3], tutorial->mPictureRoot);
    EXPECT_EQ(children[children.size() - 2], tutorial->mTextRoot);
    EXPECT_EQ(children[children.size() - 1], tutorial->mSkipButton);
    EXPECT_EQ(tutorial->mVisible, 1);

    // The next lesson replaces the hints; its place without a text shows empty.
    tutorial->OnEvent(L"done_a");
    ASSERT_EQ(tutorial->mHintTexts.size(), 1u);
    EXPECT_EQ(tutorial->mHintTexts[0]->GetText(), L"");
    EXPECT_EQ(tutorial->mHintImages[0]->mPosition.x, 10.0f);

    const size_t before = Board()->GetRootLayer()->GetChildren().size();
    tutorial->ClearHints();
    EXPECT_TRUE(tutorial->mHintImages.empty());
    EXPECT_TRUE(tutorial->mHintTexts.empty());
    EXPECT_EQ(Board()->GetRootLayer()->GetChildren().size(), before - 3);
    EXPECT_EQ(tutorial->mPictureRoot->GetChildren().size(), 0u);
    EXPECT_EQ(tutorial->mSkipButton->GetParent(), nullptr);
    EXPECT_EQ(tutorial->mVisible, 0);
}

TEST_F(TutorialTest, HideThenShowRestoresTheSavedVisibility)
{
    NQTutorial* tutorial = Start(ThreeSteps());
    tutorial->OnEvent(L"go_a");
    tutorial->Hide();
    EXPECT_EQ(tutorial->mVisible, 0);
    EXPECT_FALSE(tutorial->mPictureRoot->mVisible);
    EXPECT_FALSE(tutorial->mSkipButton->mVisible);
    tutorial->Show();
    EXPECT_EQ(tutorial->mVisible, 1);
    EXPECT_TRUE(tutorial->mTextRoot->mVisible);
    EXPECT_TRUE(tutorial->mSkipButton->mVisible);

    tutorial->ClearHints();
    tutorial->Hide();
    tutorial->Show();
    EXPECT_EQ(tutorial->mVisible, 0);
}

TEST_F(TutorialTest, TheSkipButtonTakesHoverAndUpdatesOnlyWhileVisibleAndEnabled)
{
    NQTutorial* tutorial = Start(ThreeSteps());
    TutorialButton& skip = *tutorial->mSkipButton;
    const int x = kSkipX + kSkipW / 2;
    const int y = kSkipY + kSkipH / 2;
    tutorial->OnMouseMove(x, y);
    EXPECT_EQ(skip.mHovered, 0) << "hidden";
    tutorial->OnEvent(L"go_a");
    tutorial->OnMouseMove(x, y);
    EXPECT_EQ(skip.mHovered, 1);
    tutorial->Update(0.05f);
    EXPECT_FLOAT_EQ(skip.mButtonScale, 1.05f);
    tutorial->SetEnabled(false);
    tutorial->Update(0.05f);
    EXPECT_FLOAT_EQ(skip.mButtonScale, 1.05f);
    tutorial->OnMouseMove(0, 0);
    EXPECT_EQ(skip.mHovered, 1);
}

TEST_F(TutorialTest, AStepWithoutShowIsLeftOutWithOneLogLine)
{
    std::string xml = ScriptXml(ThreeSteps());
    const std::string show = "<show folder=\"b\"></show>";
    xml.erase(xml.find(show), show.size());
    data->Write("nq/tutorial.xml", xml);
    NQTutorial* tutorial = NQTutorial::Instance();
    ASSERT_EQ(tutorial->mSteps.size(), 2u);
    EXPECT_EQ(tutorial->mSteps[0]->mId, 1);
    EXPECT_EQ(tutorial->mSteps[1]->mId, 3);
    EXPECT_EQ(hvtest::CountLogLinesWith(L"tutorial step 1 "), 1);
}

TEST_F(TutorialTest, IncompleteElementsReadAsEmptyAndAreSkipped)
{
    data->Write("nq/tutorial.xml",
                "<tutorial><step id=\"4\"><condition/><show folder=\"a\"><text string=\"hint_a\"/>"
                "<text place=\"a/label\"/><text place=\"a/label\" string=\"hint_a\"/></show>"
                "<cmds><cmd value=\"3\"/><cmd param=\"blockUI\"/></cmds></step></tutorial>");
    NQTutorial* tutorial = NQTutorial::Instance();
    ASSERT_EQ(tutorial->mSteps.size(), 1u);
    const NQTutorialStep& step = *tutorial->mSteps[0];
    EXPECT_EQ(step.mActivate, L"");
    EXPECT_EQ(step.mTexts.size(), 1u);
    ASSERT_NE(step.mOnActivate, nullptr);
    ASSERT_EQ(step.mOnActivate->size(), 1u);
    EXPECT_EQ(step.mOnComplete, nullptr);
    // The empty text never matches an event.
    tutorial->OnEvent(L"");
    EXPECT_EQ(SavedStates()[4], NQTutorialStep::kIdle);
}

struct ScriptCase
{
    const char* name;
    std::string text;
    size_t steps;
};

class TutorialScriptTest : public TutorialTest, public testing::WithParamInterface<ScriptCase>
{
};

TEST_P(TutorialScriptTest, ScriptsThatDoNotParseGiveNoSteps)
{
    if (!GetParam().text.empty())
        data->Write("nq/tutorial.xml", GetParam().text);
    NQTutorial* tutorial = NQTutorial::Instance();
    EXPECT_EQ(tutorial->mSteps.size(), GetParam().steps);
    tutorial->OnEvent(L"go_a");
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, TutorialScriptTest,
    testing::Values(ScriptCase{"Broken", "<tutorial><step id=\"1\"", 0}, ScriptCase{"Missing", "", 0},
                    ScriptCase{"NoRoot", "<steps/>", 0},
                    ScriptCase{"ByteOrderMark", "\xEF\xBB\xBF" + ScriptXml(ThreeSteps()), 3}),
    [](const testing::TestParamInfo<ScriptCase>& info) { return std::string(info.param.name); });

TEST_F(TutorialTest, ReloadStateTakesTheOtherPlayersFlagAndStates)
{
    NQTutorial* tutorial = Start(ThreeSteps());
    tutorial->OnEvent(L"go_a");
    ASSERT_EQ(tutorial->mSteps[0]->mState, NQTutorialStep::kActive);

    Progress()->SelectProfile(L"Other");
    Progress()->SetTutorialEnabled(false);
    tutorial->ReloadState();
    EXPECT_EQ(tutorial->mEnabled, 0);
    EXPECT_EQ(tutorial->mSteps[0]->mState, NQTutorialStep::kIdle);

    Progress()->SelectProfile(L"Tester");
    EXPECT_EQ(tutorial->mEnabled, 1) << "the profile switch reloads the tutorial";
    EXPECT_EQ(tutorial->mSteps[0]->mState, NQTutorialStep::kActive);
}

TEST_F(TutorialTest, NoHintOutlivesItsLevel)
{
    // Every way out of a level: the hints would lie over the result, the shop and the menus.
    struct Case
    {
        const char* name;
        std::function<void(NQMap&)> leave;
    };
    const Case cases[] = {
        {"lost", [](NQMap& map) { map.Lose(); }},
        {"won", [](NQMap& map) { map.Win(); }},
        {"to the main menu", [](NQMap& map) { map.OnResultCommand(L"mmenu"); }},
        {"to the level select", [](NQMap& map) { map.OnResultCommand(L"levels"); }},
    };
    NQTutorial* tutorial = Start(ThreeSteps());
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Progress()->SetTutorialStepState(1, NQTutorialStep::kIdle);
        Map()->mScreenState = screen::kPlaying;
        tutorial->OnEvent(L"go_a");
        ASSERT_FALSE(tutorial->mHintImages.empty());
        ASSERT_NE(tutorial->mSkipButton->GetParent(), nullptr);

        c.leave(*Map());
        EXPECT_TRUE(tutorial->mHintImages.empty());
        EXPECT_TRUE(tutorial->mHintTexts.empty());
        EXPECT_EQ(tutorial->mPictureRoot->GetParent(), nullptr);
        EXPECT_EQ(tutorial->mSkipButton->GetParent(), nullptr);
        EXPECT_EQ(tutorial->mVisible, 0);
    }
}

TEST_F(TutorialTest, TheLevelsTeardownReleasesEveryPictureTheTutorialHolds)
{
    NQTutorial* tutorial = Start(ThreeSteps());
    tutorial->OnEvent(L"go_a");
    tutorial->ReleaseGraphics();
    EXPECT_EQ(tutorial->mSkipButton, nullptr);
    EXPECT_EQ(tutorial->mHintPictures, nullptr);
    EXPECT_TRUE(tutorial->mHintImages.empty());
    // Still usable: events change states but show nothing.
    tutorial->OnEvent(L"done_a");
    EXPECT_EQ(SavedStates()[2], NQTutorialStep::kActive);
    tutorial->OnMouseMove(kSkipX + 5, kSkipY + 5);
    tutorial->OnMouseUp(kSkipX + 5, kSkipY + 5);
    tutorial->Update(0.1f);
}
} // namespace
} // namespace gametest

namespace gametest
{
namespace
{
// The modal family's layout: refuse on the left, accept on the right.
std::vector<FixtureLayer> ModalLayers()
{
    return {
        {"bg", 200, 250, 600, 300, 0xFF202020u, 0},
        {"input", 300, 330, 400, 40, 0xFF404040u, 1},
        {"text/caption", 300, 260, 400, 40, 0, 2, false},
        {"text/message", 300, 300, 400, 40, 0, 3, false},
        {"button/b1_cancel/pos", 300, 450, 100, 40, 0, 4, false},
        {"button/b1_cancel/label", 300, 450, 100, 40, 0, 5, false},
        {"button/b1_ok/pos", 600, 450, 100, 40, 0, 6, false},
        {"button/b1_ok/label", 600, 450, 100, 40, 0, 7, false},
        {"button/b1_normal", 0, 0, 100, 40, 0xFF00FF00u, 8},
        {"button/b1_over", 0, 0, 100, 40, 0xFFFF0000u, 9},
    };
}

constexpr int kLeftButton = 1;

class TutorialSkipTest : public TutorialTest
{
protected:
    void SetUp() override
    {
        TutorialTest::SetUp();
        WriteLayout("nq/data/mm", ModalLayers());
        // A wave that never ends keeps the level running: a level without
        // waves is won at its first update, and its hints go with it.
        auto* wave = new NQWaveProto;
        wave->mEntries.push_back(new NQWaveEntry(wave));
        Map()->mWaveManager->mWaves.push_back(wave);
        Map()->mWaveManager->mActiveWaves.push_back(wave);
        tutorial = Start(ThreeSteps());
        Map()->mScreenState = screen::kPlaying;
        tutorial->OnEvent(L"go_a");
        ASSERT_EQ(tutorial->mVisible, 1);
    }

    // A press and a release at one point, as the root board gets them.
    void ClickAt(int x, int y)
    {
        const math::Vector3 point(float(x), float(y), 0.0f);
        Board()->OnWidgetMouseMove(point);
        Board()->OnWidgetMouseDown(point, kLeftButton);
        Board()->OnWidgetMouseUp(point, kLeftButton);
        Board()->Update(0.016f);
    }
    void ClickSkip() { ClickAt(kSkipX + kSkipW / 2, kSkipY + kSkipH / 2); }

    HUDWindow* Question() const { return Board()->GetOverlay(GameWindow::kConfirmSlot); }

    NQTutorial* tutorial = nullptr;
};

TEST_F(TutorialSkipTest, TheSkipButtonOpensTheQuestionOnlyStrictlyInside)
{
    ClickAt(kSkipX, kSkipY + kSkipH / 2);
    EXPECT_EQ(Question(), nullptr) << "the edge is outside";
    EXPECT_EQ(tutorial->mVisible, 1);
    const NQScreenState state = Map()->mScreenState;
    ClickSkip();
    EXPECT_EQ(tutorial->mVisible, 0);
    EXPECT_EQ(tutorial->mSkipQuestion, 1);
    EXPECT_NE(dynamic_cast<HUDConfirmTutorialCancelDialog*>(Question()), nullptr);
    EXPECT_EQ(Map()->mScreenState, state);
    // The hints stay on screen while the question is open.
    EXPECT_EQ(tutorial->mHintImages.size(), 1u);
}

TEST_F(TutorialSkipTest, AcceptingSwitchesTheTutorialOffForGood)
{
    ClickSkip();
    ASSERT_NE(Question(), nullptr);
    ClearSounds();
    ClickAt(650, 470);
    EXPECT_EQ(Heard(L"simple"), 0) << "the overlay answers without a click";
    EXPECT_EQ(tutorial->mEnabled, 0);
    EXPECT_EQ(tutorial->mSkipQuestion, 0);
    EXPECT_TRUE(tutorial->mHintImages.empty());
    EXPECT_EQ(tutorial->mPictureRoot->GetParent(), nullptr);
    EXPECT_NE(profiles->FileText().find("avail=\"false\""), std::string::npos);
    EXPECT_EQ(Question(), nullptr) << "closed at the next update";
    tutorial->OnEvent(L"done_a");
    EXPECT_EQ(SavedStates()[1], NQTutorialStep::kActive);
}

TEST_F(TutorialSkipTest, RefusingGivesTheButtonBackWithTheHintsStillShown)
{
    ClickSkip();
    ClickAt(350, 470);
    EXPECT_EQ(tutorial->mVisible, 1);
    EXPECT_EQ(tutorial->mSkipQuestion, 0);
    EXPECT_EQ(tutorial->mEnabled, 1);
    EXPECT_EQ(tutorial->mHintImages.size(), 1u);
    EXPECT_EQ(Question(), nullptr);
    ClickSkip();
    EXPECT_NE(Question(), nullptr) << "the button reacts again";
}
} // namespace
} // namespace gametest
