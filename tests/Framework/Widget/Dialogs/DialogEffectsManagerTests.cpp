#include "DialogFixture.h"

#include "Core/Resource/ResourceManager.h"
#include "Framework/Animation/AnimData.h"
#include "Framework/Widget/DialogAnimEffects.h"
#include "Framework/Widget/DialogAnimEffectsData.h"

namespace
{
using dialogtest::DialogTest;

struct TableCase
{
    const char* what;
    std::string data;
    std::string dialogs;
    HVResultEnum expected;
    std::vector<std::string> dataNames;
    std::vector<std::pair<std::string, std::string>> dialogNames;
};

class DialogEffectsLoad : public DialogTest, public ::testing::WithParamInterface<TableCase>
{
};

TEST_P(DialogEffectsLoad, StoresWhatCameBeforeTheFirstFailure)
{
    const TableCase& c = GetParam();
    EXPECT_EQ(LoadTable(Table(c.data, c.dialogs)), c.expected) << c.what;
    std::vector<std::string> data;
    for (const auto& [name, object] : Effects()->GetData())
        data.push_back(name);
    EXPECT_EQ(data, c.dataNames) << c.what;
    std::vector<std::pair<std::string, std::string>> dialogs(Effects()->GetDialogs().begin(),
                                                             Effects()->GetDialogs().end());
    EXPECT_EQ(dialogs, c.dialogNames) << c.what;
}

const std::string kOther = "<Anim name='other' show_anim_data='anim/hide.anim' hide_anim_data='anim/show.anim'/>";

INSTANTIATE_TEST_SUITE_P(
    Table, DialogEffectsLoad,
    ::testing::Values(
        TableCase{"valid", DialogTest::Pop() + kOther, "<Options effects='pop'/><Shop effects='other'/>", HV_OK,
                  {"other", "pop"}, {{"Options", "pop"}, {"Shop", "other"}}},
        TableCase{"unknown type", "<Fade name='f'/>" + DialogTest::Pop(), "<Options effects='pop'/>", HV_FAIL, {},
                  {}},
        TableCase{"missing name", "<Anim show_anim_data='a' hide_anim_data='b'/>", "", HV_FAIL, {}, {}},
        TableCase{"missing hide animation", "<Anim name='pop' show_anim_data='a'/>", "", HV_FAIL, {}, {}},
        TableCase{"duplicate data name",
                  DialogTest::Pop() + "<Anim name='pop' show_anim_data='x' hide_anim_data='y'/>", "", HV_FAIL,
                  {"pop"}, {}},
        TableCase{"missing effects", DialogTest::Pop(), "<Options effects='pop'/><Shop/>", HV_FAIL, {"pop"},
                  {{"Options", "pop"}}},
        TableCase{"duplicate dialog", DialogTest::Pop(), "<Options effects='pop'/><Options effects='x'/>", HV_FAIL,
                  {"pop"}, {{"Options", "pop"}}},
        TableCase{"preload of a missing animation",
                  "<Anim name='bad' show_anim_data='anim/none.anim' hide_anim_data='anim/hide.anim' preload=''/>",
                  "", HV_FAIL, {}, {}}));

TEST_F(DialogTest, DuplicateDataKeepsTheFirst)
{
    EXPECT_EQ(LoadTable(Table(Pop() + "<Anim name='pop' show_anim_data='x' hide_anim_data='y'/>", "")), HV_FAIL);
    auto* data = dynamic_cast<widget::DialogAnimEffectsData*>(Effects()->GetData().at("pop"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->mShowAnimName, L"anim/show.anim");
}

TEST_F(DialogTest, PreloadWithAnyValueLoadsBothAnimationsAndClearReleasesThem)
{
    auto& anims = resource::ResourceManager::Instance()->GetMap<animation::AnimData>();
    ASSERT_EQ(LoadTable(Table(Pop(" preload='0'"), "<Options effects='pop'/>")), HV_OK);
    auto* data = dynamic_cast<widget::DialogAnimEffectsData*>(Effects()->GetData().at("pop"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->mPreload, 1);
    ASSERT_TRUE(data->mShowAnim);
    EXPECT_TRUE(data->mShowAnim->IsLoaded());
    EXPECT_TRUE(data->mHideAnim->IsLoaded());
    EXPECT_EQ(anims.size(), 2u);

    Effects()->Clear();
    EXPECT_TRUE(Effects()->GetData().empty());
    EXPECT_TRUE(Effects()->GetDialogs().empty());
    EXPECT_TRUE(anims.empty());
}

TEST_F(DialogTest, WithoutPreloadNothingIsFetched)
{
    ASSERT_EQ(LoadTable(Table(Pop(), "")), HV_OK);
    EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<animation::AnimData>().empty());
}

TEST_F(DialogTest, EffectsNeedExactlyOneRecordInEachAnimation)
{
    ASSERT_EQ(LoadTable(Table("<Anim name='none' show_anim_data='anim/empty.anim' hide_anim_data='anim/hide.anim'/>"
                              "<Anim name='two' show_anim_data='anim/show.anim' hide_anim_data='anim/double.anim'/>"
                              "<Anim name='gone' show_anim_data='anim/show.anim' hide_anim_data='anim/gone.anim'/>" +
                                  Pop(),
                              "<A effects='none'/><B effects='two'/><C effects='gone'/><D effects='pop'/>"
                              "<E effects='unloaded'/>")),
              HV_OK);
    for (auto [name, expected] : {std::pair{"A", HV_FAIL}, {"B", HV_FAIL}, {"C", HV_FAIL}, {"D", HV_OK},
                                  {"E", HV_FAIL}, {"Unlisted", HV_OK}})
    {
        dialogtest::CountingDialog dialog(journal, name);
        widget::DialogEffects* effects = nullptr;
        EXPECT_EQ(Effects()->GetEffects(&dialog, &effects), expected) << name;
        if (expected != HV_OK)
        {
            EXPECT_EQ(effects, nullptr) << name;
        }
        delete effects;
    }
    // Nothing keeps an animation once the effects are gone.
    EXPECT_TRUE(resource::ResourceManager::Instance()->GetMap<animation::AnimData>().empty());
}

TEST_F(DialogTest, AnimEffectsRefuseANewDialog)
{
    widget::DialogAnimEffects effects;
    dialogtest::CountingDialog dialog(journal, "x");
    EXPECT_EQ(effects.SetDialog(&dialog), HV_FAIL);
    EXPECT_EQ(effects.mDialog, nullptr);
}
} // namespace
