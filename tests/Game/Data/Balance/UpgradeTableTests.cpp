// The upgrade file's reading and the arithmetic of one step on a prototype
// copy and on a tower's bonus record.
#include "BalanceSamples.h"
#include "Game/Data/NQParamSet.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUpgrade.h"
#include "Game/Data/NQUpgradeStep.h"
#include "Game/Data/NQUpgradeTable.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <tinyxml2.h>
#include <vector>

namespace
{
using Ids = std::vector<int32_t>;

std::unique_ptr<NQUpgradeTable> TableFrom(const std::string& text)
{
    auto table = std::make_unique<NQUpgradeTable>(L"nq/absent_upgrades.xml");
    table->Build(text);
    return table;
}

const char* const kSample = balancetest::kUpgrades;

TEST(UpgradeTable, ReadsTheSample)
{
    const auto table = TableFrom(kSample);
    ASSERT_EQ(table->mUpgrades.size(), 2u);
    const NQUpgrade& range = *table->mUpgrades[0];
    EXPECT_EQ(range.id, 1);
    EXPECT_EQ(range.section, 0);
    EXPECT_EQ(range.icon, L"range");
    EXPECT_EQ(range.unlockEpisode, 0);
    EXPECT_EQ(range.unlockLevel, 2);
    EXPECT_EQ(range.targets, (Ids{10000, 10001, 10002, 10100, 10200}));
    ASSERT_EQ(range.steps.size(), 2u);
    EXPECT_EQ(range.steps[1]->goldPrice, 0);
    EXPECT_EQ(range.steps[1]->gemPrice, 25);
    EXPECT_EQ(range.steps[1]->GetParam("radius"), 20.0f);
    EXPECT_EQ(table->mUpgrades[1]->targets, (Ids{-1}));
}

TEST(UpgradeTable, ReadsTheFileThroughFileSystem)
{
    hvtest::TempFolder folder;
    folder.Write("nq/upgrades.xml", std::string("\xEF\xBB\xBF") + kSample);
    hvtest::CurrentDirectory inside(folder.Folder());
    NQUpgradeTable table(L"nq/upgrades.xml");
    EXPECT_EQ(table.mUpgrades.size(), 2u);
}

struct ParseCase
{
    const char* label;
    const char* text;
    size_t upgrades;
    const char* check; // what the first upgrade must look like, or ""
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.label;
}

class ParseCases : public testing::TestWithParam<ParseCase>
{
};

// id / section / icon / unlock episode,level / targets / steps and their parameter sets
std::string Summary(const NQUpgrade& u)
{
    std::string text = std::to_string(u.id) + "/" + std::to_string(u.section) + "/" +
                       std::string(u.icon.begin(), u.icon.end()) + "/" + std::to_string(u.unlockEpisode) + "," +
                       std::to_string(u.unlockLevel) + "/";
    for (int32_t t : u.targets)
        text += std::to_string(t) + " ";
    text += "/";
    for (const NQUpgradeStep* s : u.steps)
        text += std::to_string(s->gemPrice) + (s->parameters != nullptr ? "p " : "- ");
    return text;
}

TEST_P(ParseCases, GivesDefaultsWithoutCrash)
{
    const auto table = TableFrom(GetParam().text);
    ASSERT_EQ(table->mUpgrades.size(), GetParam().upgrades);
    if (GetParam().upgrades > 0)
    {
        EXPECT_EQ(Summary(*table->mUpgrades[0]), GetParam().check);
    }
}

const ParseCase kParseCases[] = {
    {"everything_missing", "<upgrades><upgrade/></upgrades>", 1, "0/0//0,0//"},
    {"no_icon", R"(<upgrades><upgrade id="3" section="1"><targets><target id="5"/></targets></upgrade></upgrades>)", 1,
     "3/1//0,0/5 /"},
    {"no_attributes", R"(<upgrades><upgrade><steps><step cost_r="4"/></steps></upgrade></upgrades>)", 1,
     "0/0//0,0//4- "},
    {"unlock_without_values", R"(<upgrades><upgrade><unlock/></upgrade></upgrades>)", 1, "0/0//0,0//"},
    {"lists_from_first_named_child_any_tag_after",
     R"(<upgrades><x id="9"/><upgrade id="1"><targets><t id="7"/><target id="8"/><other id="9"/></targets>)"
     R"(<steps><s cost_r="1"/><step cost_r="2"/><other cost_r="3"><attributes/></other></steps></upgrade>)"
     R"(<shop id="2"/></upgrades>)",
     2, "1/0//0,0/8 9 /2- 3p "},
    {"utf8_icon", "<upgrades><upgrade icon=\"f\xC3\xBCr\"/></upgrades>", 1, "0/0/f\xFC" "r/0,0//"},
    {"malformed", "<upgrades><upgrade id=\"1\">", 0, ""},
    {"wrong_root", R"(<shop><upgrade id="1"/></shop>)", 0, ""},
    {"empty", "", 0, ""},
    {"not_xml", "id;parent\n1;-1\n", 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Table, ParseCases, testing::ValuesIn(kParseCases),
                         [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.label); });

TEST(UpgradeTable, GetSectionAppendsInTableOrder)
{
    const auto table = TableFrom(R"(<upgrades><upgrade id="1" section="2"/><upgrade id="2" section="0"/>)"
                                 R"(<upgrade id="3" section="2"/></upgrades>)");
    std::vector<NQUpgrade*> found{nullptr};
    table->GetSection(2, found);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], nullptr); // kept: the list is appended to
    EXPECT_EQ(found[1]->id, 1);
    EXPECT_EQ(found[2]->id, 3);
    found.clear();
    table->GetSection(5, found);
    EXPECT_TRUE(found.empty());
}

TEST(UpgradeTable, GetStepOnlyInsideTheSteps)
{
    const auto table = TableFrom(kSample);
    const NQUpgrade& range = *table->mUpgrades[0];
    EXPECT_EQ(range.GetStep(-1), nullptr);
    EXPECT_EQ(range.GetStep(0), range.steps[0]);
    EXPECT_EQ(range.GetStep(1), range.steps[1]);
    EXPECT_EQ(range.GetStep(2), nullptr);
}

// A step with the given parameters.
std::unique_ptr<NQUpgradeStep> Step(const std::string& params)
{
    tinyxml2::XMLDocument doc;
    doc.Parse(("<step><attributes>" + params + "</attributes></step>").c_str());
    return std::make_unique<NQUpgradeStep>(doc.RootElement());
}

struct ArithmeticCase
{
    const char* label;
    std::vector<std::string> steps; // applied in order
    float r, strength, cost, cooldown, speed;
    int32_t goldIncome;
    // expected
    float er, estrength, ecost, ecooldown, espeed;
    int32_t egoldIncome;
};

void PrintTo(const ArithmeticCase& c, std::ostream* os)
{
    *os << c.label;
}

class ApplyStepCases : public testing::TestWithParam<ArithmeticCase>
{
};

TEST_P(ApplyStepCases, Compounds)
{
    const ArithmeticCase& c = GetParam();
    NQUnitProto copy;
    copy.r = c.r;
    copy.strength = c.strength;
    copy.cost = c.cost;
    copy.cooldown = c.cooldown;
    copy.speed = c.speed;
    copy.goldIncome = c.goldIncome;
    for (const std::string& params : c.steps)
        NQUpgradeTable::ApplyStepToProto(*Step(params), copy);
    EXPECT_EQ(copy.r, c.er);
    EXPECT_EQ(copy.strength, c.estrength);
    EXPECT_EQ(copy.cost, c.ecost);
    EXPECT_EQ(copy.cooldown, c.ecooldown);
    EXPECT_EQ(copy.speed, c.espeed);
    EXPECT_EQ(copy.goldIncome, c.egoldIncome);
}

std::string Param(const char* name, const char* value)
{
    return std::string("<param name=\"") + name + "\" value=\"" + value + "\"/>";
}

const ArithmeticCase kArithmetic[] = {
    {"cost_minus_ten_twice", {Param("cost", "-10"), Param("cost", "-10")}, 0, 0, 100, 0, 0, 0, 0, 0, 81, 0, 0, 0},
    {"cost_floor_of_negative", {Param("cost", "-10")}, 0, 0, 95, 0, 0, 0, 0, 0, 85, 0, 0, 0},
    {"strength_ceil", {Param("strength", "10")}, 0, 15, 0, 0, 0, 0, 0, 17, 0, 0, 0, 0},
    {"gold_income_truncated", {Param("goldIncome", "33")}, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 6},
    {"gold_income_truncated_toward_zero", {Param("goldIncome", "-33")}, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 4},
    {"gold_income_saturates", {Param("goldIncome", "1e30")}, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 2147483647},
    {"speed_floors", {Param("speed", "15")}, 0, 0, 0, 0, 30, 0, 0, 0, 0, 0, 34, 0},
    {"radius_exact", {Param("radius", "20")}, 180, 0, 0, 0, 0, 0, 216, 0, 0, 0, 0, 0},
    {"radius_compounds", {Param("radius", "10"), Param("radius", "10")}, 100, 0, 0, 0, 0, 0, 121, 0, 0, 0, 0, 0},
    {"cooldown_exact", {Param("cooldown", "25")}, 0, 0, 0, 2, 0, 0, 0, 0, 0, 1.5f, 0, 0},
    {"missing_parameter_changes_nothing", {Param("maxHP", "3")}, 180, 15, 70, 1.2f, 40, 5, 180, 15, 70, 1.2f, 40, 5},
    {"step_without_attributes", {""}, 180, 15, 70, 1.2f, 40, 5, 180, 15, 70, 1.2f, 40, 5},
};

INSTANTIATE_TEST_SUITE_P(Table, ApplyStepCases, testing::ValuesIn(kArithmetic),
                         [](const testing::TestParamInfo<ArithmeticCase>& info) {
                             return std::string(info.param.label);
                         });

TEST(UpgradeStep, WithoutAttributesChildHasNoSet)
{
    tinyxml2::XMLDocument doc;
    doc.Parse(R"(<step cost_g="3" cost_r="x"/>)");
    NQUpgradeStep step(doc.RootElement());
    EXPECT_EQ(step.parameters, nullptr);
    EXPECT_EQ(step.goldPrice, 3);
    EXPECT_EQ(step.gemPrice, 0);
    EXPECT_EQ(step.GetParam("radius"), 0.0f);
}

TEST(TowerBonus, StepsAddFromThePrototypeWithoutCompounding)
{
    NQUnitProto current;
    current.r = 100;
    current.strength = 15;
    current.cooldown = 2;
    const auto first = Step(Param("radius", "10") + Param("strength", "10") + Param("cooldown", "25"));
    const auto second = Step(Param("radius", "20") + Param("strength", "10"));
    NQUnitProto bonus;
    NQUpgradeTable::AddStepToBonus(*first, current, bonus);
    NQUpgradeTable::AddStepToBonus(*second, current, bonus);
    EXPECT_EQ(bonus.r, 30.0f);        // 10 + 20, not compounded
    EXPECT_EQ(bonus.strength, 4.0f);  // ceil(1.5) twice
    EXPECT_EQ(bonus.cooldown, 0.5f);
    EXPECT_EQ(current.r, 100.0f);     // the prototype stays
}
} // namespace
