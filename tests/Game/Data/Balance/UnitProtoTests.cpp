// Prototypes from sheet rows: typed reads with their defaults, the special
// columns, copies, and the database's search order.
#include "Game/Data/ConvertSheetToXml.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"

#include "support/LookupMissRecorder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <tinyxml2.h>
#include <vector>

namespace
{
// One prototype from a single-row XML element.
struct ProtoCase
{
    const char* label;
    const char* row;
    std::function<void(const NQUnitProto&)> check;
};

void PrintTo(const ProtoCase& c, std::ostream* os)
{
    *os << c.label;
}

class ProtoCases : public testing::TestWithParam<ProtoCase>
{
};

TEST_P(ProtoCases, Reads)
{
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(GetParam().row), tinyxml2::XML_SUCCESS);
    NQUnitProto proto(doc.RootElement(), true);
    GetParam().check(proto);
}

const ProtoCase kCases[] = {
    {"int_takes_leading_integer", R"(<unit id="12.5" ammoid="x"/>)",
     [](const NQUnitProto& p) {
         EXPECT_EQ(p.id, 12);
         EXPECT_EQ(p.ammoid, 0);
     }},
    {"float_takes_leading_number", R"(<unit strength="3.5x" r="" cost="abc"/>)",
     [](const NQUnitProto& p) {
         EXPECT_EQ(p.strength, 3.5f);
         EXPECT_EQ(p.r, 0.0f);
         EXPECT_EQ(p.cost, 0.0f);
     }},
    {"non_finite_float_is_default", R"(<unit speed="nan" health="inf" r="-infinity"/>)",
     [](const NQUnitProto& p) {
         EXPECT_EQ(p.speed, 0.0f);
         EXPECT_EQ(p.health, 0.0f);
         EXPECT_EQ(p.r, 0.0f);
     }},
    {"air_one_flies", R"(<unit air="1"/>)", [](const NQUnitProto& p) { EXPECT_TRUE(p.air); }},
    {"air_true_walks", R"(<unit air="true"/>)", [](const NQUnitProto& p) { EXPECT_FALSE(p.air); }},
    {"air_two_walks", R"(<unit air="2"/>)", [](const NQUnitProto& p) { EXPECT_FALSE(p.air); }},
    {"debufftower_fraction_is_set", R"(<unit debufftower="0.5"/>)",
     [](const NQUnitProto& p) { EXPECT_TRUE(p.debufftower); }},
    {"debufftower_zero_is_clear", R"(<unit debufftower="0"/>)",
     [](const NQUnitProto& p) { EXPECT_FALSE(p.debufftower); }},
    {"bools", R"(<unit splash="1" rotating="true" stun="0" regen="yes" dot="5"/>)",
     [](const NQUnitProto& p) {
         EXPECT_TRUE(p.splash);
         EXPECT_TRUE(p.rotating);
         EXPECT_FALSE(p.stun);
         EXPECT_FALSE(p.regen); // not a bool: the default stays
         EXPECT_TRUE(p.dot);
     }},
    {"fill_color_eight_digits", R"(<unit fillColor="80ff0000"/>)",
     [](const NQUnitProto& p) { EXPECT_EQ(p.fillColor, 0x80FF0000u); }},
    {"fill_color_absent", R"(<unit/>)", [](const NQUnitProto& p) { EXPECT_EQ(p.fillColor, 0xFFFFFFFFu); }},
    {"fill_color_empty", R"(<unit fillColor=""/>)",
     [](const NQUnitProto& p) { EXPECT_EQ(p.fillColor, 0xFFFFFFFFu); }},
    {"fill_color_six_digits", R"(<unit fillColor="ff00ff"/>)",
     [](const NQUnitProto& p) { EXPECT_EQ(p.fillColor, 0x00FF00FFu); }},
    {"fill_color_last_eight_survive", R"(<unit fillColor="12345678ab"/>)",
     [](const NQUnitProto& p) { EXPECT_EQ(p.fillColor, 0x345678ABu); }},
    {"fill_color_other_characters_add_nothing", R"(<unit fillColor="FgA"/>)",
     [](const NQUnitProto& p) { EXPECT_EQ(p.fillColor, 0xF0Au); }},
    {"addons_split_and_trimmed", R"(<unit addons="a/ /b"/>)",
     [](const NQUnitProto& p) {
         EXPECT_EQ(p.addons, "a/ /b");
         EXPECT_EQ(p.addonNames, (std::vector<std::string>{"a", "b"}));
     }},
    {"texts", R"(<unit special="x" psd="" onHit="hit_fire"/>)",
     [](const NQUnitProto& p) {
         EXPECT_EQ(p.special, "x");
         EXPECT_EQ(p.psd, "");
         EXPECT_EQ(p.onHit, "hit_fire");
         EXPECT_EQ(p.onFire, "");
     }},
    {"defaults", R"(<unit/>)",
     [](const NQUnitProto& p) {
         EXPECT_EQ(p.parent, 0);
         EXPECT_EQ(p.id, 0);
         EXPECT_EQ(p.cooldown, 0.0f);
         EXPECT_FALSE(p.carrier);
         EXPECT_TRUE(p.addonNames.empty());
         EXPECT_TRUE(p.children.empty());
         EXPECT_EQ(p.spriteSet, nullptr); // neither "psd" nor "img"
     }},
    {"children_any_name_in_order_one_level", R"(<unit id="1"><unit id="2"><unit id="4"/></unit><row id="3"/></unit>)",
     [](const NQUnitProto& p) {
         ASSERT_EQ(p.children.size(), 2u);
         EXPECT_EQ(p.children[0]->id, 2);
         EXPECT_EQ(p.children[1]->id, 3);
         EXPECT_TRUE(p.children[0]->children.empty());
     }},
};

INSTANTIATE_TEST_SUITE_P(Table, ProtoCases, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ProtoCase>& info) { return std::string(info.param.label); });

TEST(UnitProto, ConvertedRowReadsLikeTheSheetSays)
{
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* section = doc.NewElement("towers");
    doc.InsertEndChild(section);
    BuildSheetXml("id;parent;strength;cooldown;addons\n7;-1;3,5;1,25;splash/star1\n", section, &doc);
    NQUnitProto proto(section->FirstChildElement(), true);
    EXPECT_EQ(proto.id, 7);
    EXPECT_EQ(proto.parent, -1);
    EXPECT_EQ(proto.strength, 3.5f);
    EXPECT_EQ(proto.cooldown, 1.25f);
    EXPECT_EQ(proto.addonNames, (std::vector<std::string>{"splash", "star1"}));
}

TEST(UnitProto, CopyTakesValuesAndAddonNamesNotChildrenNorRawAddons)
{
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.Parse(R"(<unit id="5" r="180" cost="70" air="1" fillColor="80ff0000" onFire="f" addons="a/b")"
                        R"( psd="grunt"><unit id="6"/></unit>)"),
              tinyxml2::XML_SUCCESS);
    hvtest::TempFolder folder;
    hvtest::CurrentDirectory inside(folder.Folder());
    NQUnitProto original(doc.RootElement(), true);
    ASSERT_NE(original.spriteSet, nullptr);
    NQUnitProto copy;
    EXPECT_EQ(copy.fillColor, 0u); // the empty prototype
    copy.CopyFrom(&original);
    EXPECT_EQ(copy.id, 5);
    EXPECT_EQ(copy.r, 180.0f);
    EXPECT_EQ(copy.cost, 70.0f);
    EXPECT_TRUE(copy.air);
    EXPECT_EQ(copy.fillColor, 0x80FF0000u);
    EXPECT_EQ(copy.onFire, "f");
    EXPECT_EQ(copy.addonNames, original.addonNames);
    EXPECT_EQ(copy.addons, "");
    EXPECT_TRUE(copy.children.empty());
    EXPECT_EQ(copy.spriteSet, original.spriteSet);
}

// The three sections of one data element, each built from sheet text.
class Database : public testing::Test
{
protected:
    void Build(const std::string& towers, const std::string& units, const std::string& ammo)
    {
        tinyxml2::XMLElement* data = doc.NewElement("data");
        doc.InsertEndChild(data);
        const std::pair<const char*, const std::string*> sections[] = {
            {"towers", &towers}, {"units", &units}, {"ammo", &ammo}};
        for (const auto& [name, text] : sections)
        {
            tinyxml2::XMLElement* section = doc.NewElement(name);
            BuildSheetXml(*text, section, &doc);
            data->InsertEndChild(section);
        }
    }
    tinyxml2::XMLElement* Data() { return doc.RootElement(); }
    // A data element of another document holding only a towers section.
    static tinyxml2::XMLElement* TowersOnly(tinyxml2::XMLDocument& other, const std::string& towers)
    {
        tinyxml2::XMLElement* data = other.NewElement("data");
        other.InsertEndChild(data);
        tinyxml2::XMLElement* section = other.NewElement("towers");
        data->InsertEndChild(section);
        BuildSheetXml(towers, section, &other);
        return data;
    }

    tinyxml2::XMLDocument doc;
};

TEST_F(Database, OrderIsUnitsTowersAmmo)
{
    Build("id;parent\n10000;-1\n", "id;parent\n50;-1\n", "id;parent\n2001;-1\n");
    NQUnitDatabase database(Data());
    ASSERT_EQ(database.mProtos.size(), 3u);
    EXPECT_EQ(database.mProtos[0]->id, 50);
    EXPECT_EQ(database.mProtos[1]->id, 10000);
    EXPECT_EQ(database.mProtos[2]->id, 2001);
    EXPECT_EQ(database.FindProto(2001), database.mProtos[2]);
    EXPECT_EQ(database.FindProto(4), nullptr);
}

TEST_F(Database, ChildFoundAndShadowsLaterTopLevelOfSameId)
{
    Build("id;parent;cost\n7;-1;1\n10000;-1;2\n10001;10000;3\n", "id;parent;cost\n10001;-1;4\n", "");
    NQUnitDatabase database(Data());
    // units first: the unit 10001 comes before the tower line holding its namesake.
    EXPECT_EQ(database.FindProto(10001)->cost, 4.0f);

    tinyxml2::XMLDocument other;
    NQUnitDatabase shadowed(TowersOnly(other, "id;parent;cost\n10000;-1;2\n10001;10000;3\n10001;-1;5\n"));
    const NQUnitProto* found = shadowed.FindProto(10001);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->cost, 3.0f); // the child, before the later top-level row
    EXPECT_EQ(found, shadowed.mProtos[0]->children[0]);
}

TEST_F(Database, DuplicateIdGivesTheFirst)
{
    Build("id;parent;cost\n9;-1;1\n9;-1;2\n", "", "");
    NQUnitDatabase database(Data());
    EXPECT_EQ(database.FindProto(9)->cost, 1.0f);
}

TEST_F(Database, LoadAppendsWithoutEmptying)
{
    Build("id;parent\n1;-1\n", "", "");
    NQUnitDatabase database(Data());
    database.Load(Data());
    EXPECT_EQ(database.mProtos.size(), 2u);
}

TEST_F(Database, MissingSectionsGiveNothing)
{
    tinyxml2::XMLElement* data = doc.NewElement("data");
    doc.InsertEndChild(data);
    NQUnitDatabase database(data);
    EXPECT_TRUE(database.mProtos.empty());
    EXPECT_EQ(database.FindProto(0), nullptr);
}
} // namespace

namespace
{
TEST_F(Database, APrototypeNotFoundIsReportedAsALookupMiss)
{
    Build("id;parent\n10000;-1\n10001;10000\n", "id;parent\n50;-1\n", "");
    NQUnitDatabase database(Data());
    const hvtest::LookupMissRecorder recorder;
    EXPECT_NE(database.FindProto(10001), nullptr);
    EXPECT_EQ(database.FindProto(10002), nullptr);
    EXPECT_EQ(recorder.Misses(), (hvtest::LookupMisses{{base::LookupMissKind::Proto, L"10002"}}));
}
} // namespace

namespace
{
// The index answers as the walk in order does, also after the list changed.
TEST_F(Database, LookupsFollowClearLoadAndAppend)
{
    Build("id;parent;cost\n10000;-1;1\n10001;10000;2\n", "id;parent;cost\n10001;-1;3\n", "");
    NQUnitDatabase database(Data());
    const uint64_t loaded = database.GetStamp();
    EXPECT_EQ(database.FindProto(10001)->cost, 3.0f);

    database.Clear();
    EXPECT_TRUE(database.mProtos.empty());
    EXPECT_EQ(database.FindProto(10000), nullptr);
    const uint64_t cleared = database.GetStamp();
    EXPECT_NE(cleared, loaded);

    tinyxml2::XMLDocument other;
    database.Load(TowersOnly(other, "id;parent;cost\n10000;-1;4\n10001;10000;5\n"));
    EXPECT_EQ(database.FindProto(10001), database.mProtos[0]->children[0]);
    EXPECT_EQ(database.FindProto(10001)->cost, 5.0f);
    const uint64_t reloaded = database.GetStamp();
    EXPECT_NE(reloaded, cleared);

    // A prototype appended by hand is found by the next lookup, after the
    // earlier ones of its id.
    auto* added = new NQUnitProto;
    added->id = 77;
    database.mProtos.push_back(added);
    EXPECT_EQ(database.FindProto(77), added);
    EXPECT_NE(database.GetStamp(), reloaded);
    auto* shadowed = new NQUnitProto;
    shadowed->id = 77;
    database.mProtos.push_back(shadowed);
    EXPECT_EQ(database.FindProto(77), added);
}

TEST_F(Database, TwoDatabasesNeverShareAStamp)
{
    Build("id;parent\n1;-1\n", "", "");
    NQUnitDatabase first(Data());
    NQUnitDatabase second(Data());
    EXPECT_NE(first.GetStamp(), second.GetStamp());
    // Lookups alone leave the stamp as it is.
    const uint64_t stamp = first.GetStamp();
    first.FindProto(1);
    first.FindProto(2);
    EXPECT_EQ(first.GetStamp(), stamp);
}
} // namespace
