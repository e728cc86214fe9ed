// Named parameter sets: every child is a parameter, values come back as the
// parsed float and as that float written in the general style.
#include "Game/Data/NQParamSet.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tinyxml2.h>

namespace
{
struct ParamCase
{
    const char* label;
    const char* xml;  // the holder element
    const char* name; // looked up through both getters
    float value;
    const char* text;
};

void PrintTo(const ParamCase& c, std::ostream* os)
{
    *os << c.label;
}

class ParamSetCases : public testing::TestWithParam<ParamCase>
{
};

TEST_P(ParamSetCases, ReadsValueAndItsText)
{
    const ParamCase& c = GetParam();
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(c.xml), tinyxml2::XML_SUCCESS);
    NQParamSet set(doc.RootElement());
    EXPECT_EQ(set.GetFloat(c.name), c.value);
    EXPECT_EQ(set.GetString(c.name), c.text);
}

const ParamCase kCases[] = {
    {"no_children", "<p/>", "spawn", 0.0f, ""},
    {"later_duplicate_wins", R"(<p><param name="a" value="1"/><param name="a" value="7"/></p>)", "a", 7.0f, "7"},
    {"case_matters_lower", R"(<p><param name="Spawn" value="1"/></p>)", "spawn", 0.0f, ""},
    {"case_matters_upper", R"(<p><param name="Spawn" value="1"/></p>)", "Spawn", 1.0f, "1"},
    {"any_tag_counts", R"(<p><point name="goal" value="1"/></p>)", "goal", 1.0f, "1"},
    {"trailing_zero", R"(<p><param name="a" value="2.50"/></p>)", "a", 2.5f, "2.5"},
    {"trailing_garbage", R"(<p><param name="a" value="2.50abc"/></p>)", "a", 2.5f, "2.5"},
    {"written_back_not_copied", R"(<p><param name="a" value="1.0"/></p>)", "a", 1.0f, "1"},
    {"large_in_exponent_form", R"(<p><param name="a" value="1000000"/></p>)", "a", 1000000.0f, "1e+006"},
    {"not_a_number", R"(<p><param name="a" value="abc"/></p>)", "a", 0.0f, "0"},
    {"no_value", R"(<p><param name="a"/></p>)", "a", 0.0f, "0"},
    {"nan_does_not_parse", R"(<p><param name="a" value="nan"/></p>)", "a", 0.0f, "0"},
    {"infinity_does_not_parse", R"(<p><param name="a" value="-inf"/></p>)", "a", 0.0f, "0"},
};

TEST(ParamSet, ChildWithoutNameIsSkipped)
{
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(R"(<p><param value="3"/><param name="b" value="4"/></p>)"), tinyxml2::XML_SUCCESS);
    NQParamSet set(doc.RootElement());
    ASSERT_EQ(set.GetFloats().size(), 1u);
    EXPECT_EQ(set.GetFloats().begin()->first, "b");
    EXPECT_EQ(set.GetTexts().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Table, ParamSetCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ParamCase>& info) { return std::string(info.param.label); });

TEST(ParamSet, LookupInsertsOnlyIntoTheMapItReads)
{
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(R"(<p><param name="a" value="3"/></p>)"), tinyxml2::XML_SUCCESS);
    NQParamSet set(doc.RootElement());
    EXPECT_EQ(set.GetFloat("x"), 0.0f);
    EXPECT_EQ(set.GetFloats().count("x"), 1u);
    EXPECT_EQ(set.GetTexts().count("x"), 0u);
    EXPECT_EQ(set.GetString("y"), "");
    EXPECT_EQ(set.GetTexts().count("y"), 1u);
    EXPECT_EQ(set.GetFloats().count("y"), 0u);
    EXPECT_EQ(set.GetFloat("a"), 3.0f);
}

TEST(ParamSet, NullElementGivesAnEmptySet)
{
    NQParamSet set(nullptr);
    EXPECT_EQ(set.GetFloat("spawn"), 0.0f);
}
} // namespace
