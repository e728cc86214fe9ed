#include "BattleData.h"

#include "DataRootFixture.h"
#include "PictureFixtures.h"
#include "support/HlslSamples.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace gametest
{
namespace
{
// Columns of the units sheet, in order.
constexpr const char* kUnitColumns =
    "id;parent;type;levelid;health;speed;r;cost;fps;air;straight;carrier;raiseDead;explodeStr;explodeRadius;"
    "haste_buff;invisible;invisibleArea;regen;healer;summon;cooldown;ammoid;onFire;dropChance;strength;fillColor;psd\n";

struct UnitRow
{
    int id;
    int parent = -1;
    int levelid = 0;
    float health = 30.0f;
    float speed = 60.0f;
    float r = 0.0f;
    float cost = 10.0f;
    float fps = kWalkerFps;
    int air = 0;
    int straight = 0;
    int carrier = 0;
    int raiseDead = 0;
    float explodeStr = 0.0f;
    float explodeRadius = 0.0f;
    int haste = 0;
    int invisible = 0;
    int invisibleArea = 0;
    int regen = 0;
    int healer = 0;
    int summon = 0;
    float cooldown = 0.0f;
    int ammoid = 0;
    const char* onFire = "";
    int dropChance = 0;
    float strength = 1.0f;
    // AARRGGBB; empty: white.
    const char* fillColor = "";
    const char* psd = "units/walker";
};

std::string Cell(float value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%g", value);
    // The sheets write decimal commas.
    std::string out = text;
    for (char& c : out)
        if (c == '.')
            c = ',';
    return out;
}

std::string Row(const UnitRow& u)
{
    std::string out;
    const auto add = [&out](const std::string& cell) { out += cell + ";"; };
    add(std::to_string(u.id));
    add(std::to_string(u.parent));
    add("0");
    add(std::to_string(u.levelid));
    add(Cell(u.health));
    add(Cell(u.speed));
    add(Cell(u.r));
    add(Cell(u.cost));
    add(Cell(u.fps));
    add(std::to_string(u.air));
    add(std::to_string(u.straight));
    add(std::to_string(u.carrier));
    add(std::to_string(u.raiseDead));
    add(Cell(u.explodeStr));
    add(Cell(u.explodeRadius));
    add(std::to_string(u.haste));
    add(std::to_string(u.invisible));
    add(std::to_string(u.invisibleArea));
    add(std::to_string(u.regen));
    add(std::to_string(u.healer));
    add(std::to_string(u.summon));
    add(Cell(u.cooldown));
    add(std::to_string(u.ammoid));
    add(u.onFire);
    add(std::to_string(u.dropChance));
    add(Cell(u.strength));
    add(u.fillColor);
    out += u.psd;
    return out + "\n";
}

std::vector<UnitRow> Units()
{
    using namespace units;
    std::vector<UnitRow> rows;
    const auto unit = [&rows](int id) -> UnitRow& {
        rows.push_back(UnitRow{id});
        return rows.back();
    };
    unit(kSummoned).health = 20.0f;
    {
        UnitRow& u = unit(kWyvern);
        u.air = 1;
        u.straight = 1;
        u.speed = 120.0f;
    }
    {
        UnitRow& u = unit(kDragon);
        u.air = 1;
        u.straight = 1;
        u.speed = 120.0f;
    }
    unit(kCargo).health = 10.0f;
    unit(kUndead).health = 15.0f;
    unit(kGrunt);
    unit(kLevelled).health = 40.0f;
    {
        UnitRow& u = unit(61);
        u.parent = kLevelled;
        u.levelid = 1;
        u.health = 50.0f;
    }
    {
        UnitRow& u = unit(62);
        u.parent = kLevelled;
        u.levelid = 2;
        u.health = 60.0f;
    }
    {
        UnitRow& u = unit(kHealer);
        u.healer = 1;
        u.r = 100.0f;
        u.cooldown = 0.5f;
        u.health = 40.0f;
    }
    {
        UnitRow& u = unit(kShaman);
        u.summon = 1;
        u.cooldown = 2.0f;
        u.ammoid = kSummonProto;
        u.health = 40.0f;
    }
    unit(kCarrier).carrier = 1;
    {
        UnitRow& u = unit(kRaiser);
        u.raiseDead = 1;
        u.r = 150.0f;
        u.health = 60.0f;
    }
    {
        UnitRow& u = unit(kHaste);
        u.haste = 1;
        u.r = 100.0f;
        u.cooldown = 0.5f;
    }
    {
        UnitRow& u = unit(kInvisible);
        u.invisible = 1;
        u.cooldown = 3.0f;
    }
    {
        UnitRow& u = unit(kInvisibleArea);
        u.invisibleArea = 1;
        u.r = 100.0f;
        u.cooldown = 0.5f;
    }
    {
        UnitRow& u = unit(kRegen);
        u.regen = 1;
        u.cooldown = 1.0f;
    }
    {
        UnitRow& u = unit(kExplosive);
        u.explodeStr = 5.0f;
        u.explodeRadius = 50.0f;
    }
    unit(kNoFps).fps = 0.0f;
    unit(kNoSpecial).psd = "units/nospecial";
    unit(kNoDeath).psd = "units/nodeath";
    {
        UnitRow& u = unit(kTank);
        u.health = 100000.0f;
    }
    {
        UnitRow& u = unit(kLostShaman);
        u.summon = 1;
        u.cooldown = 2.0f;
        u.ammoid = kLostSummonProto;
    }
    unit(kDropper).dropChance = 100;
    unit(kStrong).strength = 2.5f;
    unit(kWeak).strength = 0.5f;
    {
        UnitRow& u = unit(kLopsided);
        u.fillColor = kLopsidedFill;
        u.psd = "units/lopsided";
    }
    {
        // The portal's numbers: cooldown is its duration, speed its period.
        UnitRow& u = unit(kSummonProto);
        u.cooldown = 3.0f;
        u.speed = 1.0f;
        u.onFire = "portal_fx";
        u.psd = "";
    }
    {
        UnitRow& u = unit(kLostSummonProto);
        u.cooldown = 3.0f;
        u.speed = 1.0f;
        u.onFire = "lost_portal";
        u.psd = "";
    }
    return rows;
}

void Frames(std::vector<FixtureLayer>& layers, const std::string& group, int count, int w, int h)
{
    for (int i = 0; i < count; ++i)
        layers.push_back({group + "/f" + std::to_string(i), 2 * i, i, w, h, 0xFF808080u});
}

// A frame picture whose left columns carry the mark colour, the rest white.
std::string LopsidedPng()
{
    std::vector<uint32_t> pixels(size_t(kLopsidedWidth) * size_t(kLopsidedHeight), 0xFFFFFFFFu);
    for (int y = 0; y < kLopsidedHeight; ++y)
        for (int x = 0; x < kLopsidedMarkWidth; ++x)
            pixels[size_t(y) * size_t(kLopsidedWidth) + size_t(x)] = kLopsidedMark;
    const fixtures::Bytes png = fixtures::MakePng(kLopsidedWidth, kLopsidedHeight, pixels);
    return std::string(png.begin(), png.end());
}

void WriteLopsidedSet(const DataRoot& data)
{
    std::vector<FixtureLayer> layers = {{"origin", int(kRootX), int(kRootY), 2, 2, 0xFFFFFFFFu}};
    for (const char* group : {"walk", "death", "special"})
        for (int i = 0; i < kLopsidedFrames; ++i)
            layers.push_back({std::string(group) + "/f" + std::to_string(i), 0, 0, kLopsidedWidth, kLopsidedHeight});
    data.WriteLayeredImage("nq/units/lopsided", layers);
    for (const FixtureLayer& layer : layers)
        if (layer.name != "origin")
            data.Write("nq/units/lopsided/" + layer.name + ".png", LopsidedPng());
}

std::vector<FixtureLayer> WalkerLayers(bool special, bool death, bool root = true)
{
    std::vector<FixtureLayer> layers;
    if (root)
        layers.push_back({"origin", int(kRootX), int(kRootY), 2, 2, 0xFFFFFFFFu});
    Frames(layers, "walk", 4, 40, 50);
    if (death)
        Frames(layers, "death", 3, 40, 50);
    if (special)
        Frames(layers, "special", 2, 40, 50);
    return layers;
}

std::string Level(const std::string& points, const std::string& links, const std::string& waves, float timeout)
{
    char attribute[32];
    std::snprintf(attribute, sizeof(attribute), "%g", timeout);
    return "<map>\n  <budget>100</budget>\n  <points>\n" + points + "  </points>\n  <links>\n" + links +
           "  </links>\n  <spots/>\n  <waves timeout=\"" + attribute + "\">\n" + waves + "  </waves>\n</map>\n";
}

std::string Point(int id, int x, int y, const char* mark = nullptr)
{
    std::string out = "    <p id=\"" + std::to_string(id) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
                      std::to_string(y) + "\"";
    if (!mark)
        return out + "/>\n";
    return out + "><param name=\"" + mark + "\" value=\"1\"/></p>\n";
}

std::string Link(int sid, int eid, float anchorX, float anchorY)
{
    char line[128];
    std::snprintf(line, sizeof(line), "    <l sid=\"%d\" eid=\"%d\" anchor_x=\"%g\" anchor_y=\"%g\"/>\n", sid, eid,
                  anchorX, anchorY);
    return line;
}

// A sheet from its header and rows of (column, value) pairs; missing cells stay empty.
using SheetRow = std::vector<std::pair<std::string, std::string>>;

std::string Sheet(const std::vector<std::string>& columns, const std::vector<SheetRow>& rows)
{
    std::string out;
    for (size_t i = 0; i < columns.size(); ++i)
        out += (i ? ";" : "") + columns[i];
    out += "\n";
    for (const SheetRow& row : rows)
    {
        for (size_t i = 0; i < columns.size(); ++i)
        {
            if (i)
                out += ";";
            for (const auto& cell : row)
                if (cell.first == columns[i])
                    out += cell.second;
        }
        out += "\n";
    }
    return out;
}

const std::vector<std::string> kTowerColumns = {
    "id",         "parent", "type",          "levelid",     "require",   "cost",        "strength", "cooldown",
    "speed",      "r",      "fps",           "ammoid",      "rotating",  "aimed",       "air",      "teleportEnemy",
    "goldIncome", "health", "boostTower",    "showInvisible", "tierUpdates", "tierK",   "tierCost", "dot",
    "stun",       "hold",   "firesplash",    "splash",      "psd"};

// A tower row: id, parent, levelid, require, cost, then the row's own cells.
SheetRow TowerRow(int id, int parent, int levelid, int require, int cost, SheetRow cells)
{
    SheetRow row = {{"id", std::to_string(id)},         {"parent", std::to_string(parent)},
                    {"type", "1"},                      {"levelid", std::to_string(levelid)},
                    {"require", std::to_string(require)}, {"cost", std::to_string(cost)}};
    row.insert(row.end(), cells.begin(), cells.end());
    return row;
}

std::string TowersSheet()
{
    using namespace towers;
    const SheetRow cannon = {{"strength", "10"}, {"cooldown", "1"},  {"speed", "400"},        {"r", "300"},
                             {"fps", "10"},      {"ammoid", "2001"}, {"splash", "1"},         {"tierUpdates", "2"},
                             {"tierK", "0,5"},   {"tierCost", "40"}, {"psd", "towers/cannon"}};
    const SheetRow arrow = {{"strength", "5"},  {"cooldown", "0,5"}, {"speed", "500"},       {"r", "300"},
                            {"fps", "20"},      {"ammoid", "2002"},  {"rotating", "1"},      {"aimed", "1"},
                            {"psd", "towers/arrow"}};
    const SheetRow magic = {{"strength", "2"}, {"cooldown", "4"},      {"speed", "-1"},      {"r", "200"},
                            {"fps", "10"},     {"ammoid", "2002"},     {"teleportEnemy", "1"}, {"psd", "towers/magic"}};
    const SheetRow bank = {{"strength", "-1"}, {"cooldown", "5"}, {"speed", "0"},          {"r", "200"},
                           {"fps", "10"},      {"goldIncome", "10"}, {"health", "20"},     {"psd", "towers/bank"}};
    const auto with = [](SheetRow row, SheetRow changes) {
        for (const auto& change : changes)
        {
            bool replaced = false;
            for (auto& cell : row)
                if (cell.first == change.first)
                {
                    cell.second = change.second;
                    replaced = true;
                }
            if (!replaced)
                row.push_back(change);
        }
        return row;
    };
    std::vector<SheetRow> rows = {
        TowerRow(kCannon, -1, 0, 0, 100, cannon),
        TowerRow(kCannon + 1, kCannon, 1, 0, 150, with(cannon, {{"strength", "15"}, {"r", "320"}, {"firesplash", "1"}})),
        TowerRow(kCannon + 2, kCannon, 2, 1, 200, with(cannon, {{"strength", "20"}, {"ammoid", "2003"}, {"splash", "0"}})),
        TowerRow(kCannon + 100, kCannon, 100, 0, 120, with(cannon, {{"ammoid", "2004"}, {"dot", "1"}, {"splash", "0"}})),
        TowerRow(kCannon + 200, kCannon, 200, 0, 120, with(cannon, {{"stun", "1"}, {"splash", "0"}})),
        TowerRow(kArrow, -1, 0, 0, 80, arrow),
        TowerRow(kArrow + 1, kArrow, 1, 0, 100, with(arrow, {{"air", "1"}, {"strength", "8"}})),
        TowerRow(kArrow + 2, kArrow, 2, 1, 140, with(arrow, {{"hold", "1"}})),
        TowerRow(kArrow + 100, kArrow, 100, 0, 120, with(arrow, {{"dot", "1"}, {"stun", "1"}})),
        TowerRow(kArrow + 200, kArrow, 200, 0, 120, with(arrow, {{"ammoid", "2004"}})),
        TowerRow(kMagic, -1, 0, 0, 150, magic),
        TowerRow(kMagic + 1, kMagic, 1, 0, 150,
                 with(magic, {{"teleportEnemy", "0"}, {"strength", "-1"}, {"boostTower", "1"}, {"speed", "50"},
                              {"r", "300"}})),
        TowerRow(kMagic + 2, kMagic, 2, 0, 150,
                 with(magic, {{"teleportEnemy", "0"}, {"showInvisible", "1"}, {"speed", "400"}, {"ammoid", "2001"},
                              {"strength", "6"}, {"r", "300"}})),
        TowerRow(kMagic + 100, kMagic, 100, 0, 200, with(magic, {{"strength", "4"}})),
        TowerRow(kMagic + 200, kMagic, 200, 0, 200,
                 with(magic, {{"teleportEnemy", "0"}, {"strength", "-1"}, {"boostTower", "1"}, {"speed", "100"}})),
        TowerRow(kBank, -1, 0, 0, 60, bank),
        TowerRow(kBank + 1, kBank, 1, 0, 60, with(bank, {{"goldIncome", "20"}})),
        TowerRow(kBank + 2, kBank, 2, 1, 60, with(bank, {{"goldIncome", "30"}})),
        TowerRow(kBank + 100, kBank, 100, 0, 60, with(bank, {{"health", "40"}})),
        TowerRow(kBank + 200, kBank, 200, 0, 60, with(bank, {{"cooldown", "2"}})),
    };
    return Sheet(kTowerColumns, rows);
}

std::string AmmoSheet()
{
    const std::vector<std::string> columns = {"id",    "parent", "type", "strength", "speed", "r",
                                              "fps",   "onHit",  "onAmmo", "onFire", "firesplash", "splash",
                                              "hold",  "dot",    "boostTower", "stun", "psd"};
    using namespace towers;
    std::vector<SheetRow> rows = {
        {{"id", "2001"}, {"parent", "-1"}, {"type", "2"}, {"r", "60"}, {"onHit", "hit_fx"}},
        {{"id", "2002"}, {"parent", "-1"}, {"type", "2"}, {"r", "40"}, {"onHit", "hit_fx"}, {"onAmmo", "trail"},
         {"onFire", "fire_fx"}},
        {{"id", "2003"}, {"parent", "-1"}, {"type", "2"}, {"r", "60"}, {"onHit", "hit_fx"}, {"onAmmo", "trail"}},
        {{"id", "2004"}, {"parent", "-1"}, {"type", "2"}, {"r", "50"}},
        {{"id", std::to_string(kFireSpell)}, {"parent", "-1"}, {"type", "3"}, {"strength", "2"}, {"speed", "5"},
         {"r", "100"}, {"fps", "10"}, {"onAmmo", "fire_fx"}, {"firesplash", "1"}, {"psd", "spells/fire"}},
        {{"id", std::to_string(kSplashSpell)}, {"parent", "-1"}, {"type", "3"}, {"strength", "20"}, {"speed", "2"},
         {"r", "120"}, {"splash", "1"}, {"stun", "1"}},
        {{"id", std::to_string(kHoldSpell)}, {"parent", "-1"}, {"type", "3"}, {"speed", "3"}, {"r", "100"},
         {"hold", "1"}},
        {{"id", std::to_string(kBoostSpell)}, {"parent", "-1"}, {"type", "3"}, {"strength", "50"}, {"speed", "5"},
         {"boostTower", "1"}},
        {{"id", std::to_string(kDotSpell)}, {"parent", "-1"}, {"type", "3"}, {"strength", "1"}, {"speed", "4"},
         {"r", "100"}, {"dot", "1"}},
    };
    return Sheet(columns, rows);
}

std::string SpellsSheet()
{
    using namespace towers;
    std::string out = "#;0;;;0;0\n";
    const int spells[] = {kFireSpell, kSplashSpell, kHoldSpell, kBoostSpell, kDotSpell};
    for (int slot = 0; slot < 5; ++slot)
        out += "spell" + std::to_string(slot) + ";" + std::to_string(spells[slot]) + ";ui/spell" +
               std::to_string(slot) + ";ui/spell" + std::to_string(slot) + "_in;" + std::to_string(slot) + ";0\n";
    return out;
}

std::string TowerEffects(bool complete)
{
    const char* const kept[] = {"hit_fx", "fire_fx"};
    const char* const lean[] = {"t_line", "build", "upgrade", "trail", "hammer", "portal_1"};
    std::string out;
    for (const char* name : kept)
        out += std::string("<emitter name=\"") + name + "\" interval2=\"300\"><type rate=\"20\" life=\"200\"/></emitter>";
    if (!complete)
        return out;
    for (const char* name : lean)
        out += std::string("<emitter name=\"") + name + "\" interval2=\"300\"><type rate=\"20\" life=\"200\"/></emitter>";
    return out;
}

void WriteTowerSets(const DataRoot& data)
{
    std::vector<FixtureLayer> cannon;
    Frames(cannon, "idle", 2, 60, 80);
    Frames(cannon, "blast", 2, 60, 80);
    cannon.push_back({"s_point/p0", 30, 10, 1, 1, 0xFFFFFFFFu});
    cannon.push_back({"base_point/b0", 30, 70, 1, 1, 0xFFFFFFFFu});
    data.WriteLayeredImage("nq/towers/cannon", cannon);
    data.WriteLayeredImage("nq/towers/magic", cannon);
    data.WriteLayeredImage("nq/towers/bank", cannon);

    // A rotating tower: 128 root frames and one shot point per sector.
    std::vector<FixtureLayer> arrow;
    for (int i = 0; i < 128; ++i)
        arrow.push_back({"r" + std::to_string(i), 0, 0, 64, 64, 0xFF606060u});
    for (int i = 0; i < 32; ++i)
        arrow.push_back({"s_point/p" + std::to_string(i), 32 + (i % 8), 8 + (i / 8), 1, 1, 0xFFFFFFFFu});
    arrow.push_back({"base_point/b0", 32, 56, 1, 1, 0xFFFFFFFFu});
    data.WriteLayeredImage("nq/towers/arrow", arrow);

    std::vector<FixtureLayer> lobbed;
    Frames(lobbed, "fire", 3, 10, 10);
    data.WriteLayeredImage("nq/tower3_1b", lobbed);
    std::vector<FixtureLayer> root;
    for (int i = 0; i < 4; ++i)
        root.push_back({"f" + std::to_string(i), 0, 0, 12, 12, 0xFF40C0FFu});
    data.WriteLayeredImage("nq/crystall", root);
    data.WriteLayeredImage("nq/disabletower", root);
    data.WriteLayeredImage("nq/tower_debuff", root);
    data.WriteLayeredImage("nq/spells/fire", root);
    data.WriteLayeredImage("spells/fire", root);
    data.WriteLayeredImage("nq/shadows", {{"shadows/money_shadow", 0, 0, 16, 6, 0x80000000u}});
}
} // namespace

std::vector<FixtureLayer> UiPartsLayers()
{
    std::vector<FixtureLayer> parts = {
        {"shadows/wywern_shadow", 0, 0, 30, 10, 0x80000000u},
        {"shadows/dragon_shadow", 0, 0, 40, 12, 0x80000000u},
        {"shadows/money_shadow", 0, 0, 16, 6, 0x80000000u},
    };
    Frames(parts, "mob_dot", 2, 8, 8);
    Frames(parts, "mob_heal", 3, 8, 8);
    return parts;
}

std::vector<FixtureLayer> InterfaceLayers(const std::vector<std::string>& leftOut)
{
    std::vector<std::string> names = {"brush", "power_buff", "lvl2", "lvl3", "sell", "buy", "context_gem",
                                      "context_money", "bar", "radius", "l1", "l2", "l3", "wave_hint",
                                      "immune", "money", "radius_boost", "radius_unboost", "power_boost",
                                      "power_unboost", "acid_01", "beam_01", "aoe_01", "burn_01", "dazed_01",
                                      "hammer_01", "money_01", "portal_01", "wing_01", "might_01", "might_02",
                                      "showInvisible_01"};
    for (int i = 1; i <= 12; ++i)
    {
        char tower[16];
        std::snprintf(tower, sizeof(tower), "tower_%02d", i);
        names.push_back(tower);
    }
    std::vector<FixtureLayer> layers;
    uint32_t shade = 0;
    for (const std::string& name : names)
    {
        if (std::find(leftOut.begin(), leftOut.end(), name) != leftOut.end())
            continue;
        // A colour of its own for each picture.
        const uint32_t argb = 0xFF000000u | ((shade * 0x2F1D3Bu) & 0xFFFFFFu);
        ++shade;
        int size = kInterfacePictureSize;
        if (name == "radius")
            size = kRadiusPictureSize;
        layers.push_back({"ui/" + name, 0, 0, size, size, argb});
    }
    return layers;
}

std::string BattleEffectsLibrary()
{
    return "<particles version=\"1\"><atlas file=\"fx_atlas0.png\"/>"
           "<emitter name=\"active\"><type rate=\"20\"/></emitter>"
           "<emitter name=\"active_btn\"><type rate=\"20\"/></emitter>"
           "<emitter name=\"mg_00\" interval2=\"300\"><type rate=\"20\" life=\"200\"/></emitter>"
           "<emitter name=\"damage_h\" interval2=\"300\"><type rate=\"20\" life=\"200\"/></emitter>"
           "<emitter name=\"portal_fx\" interval2=\"500\"><type rate=\"20\" life=\"200\"/></emitter>"
           "<emitter name=\"blow_bub\" interval2=\"300\"><type rate=\"20\" life=\"200\"/></emitter>"
           + TowerEffects(true) + "</particles>";
}

std::string LeanEffectsLibrary()
{
    return "<particles version=\"1\"><atlas file=\"fx_atlas0.png\"/>"
           "<emitter name=\"active\"><type rate=\"20\"/></emitter>"
           "<emitter name=\"active_btn\"><type rate=\"20\"/></emitter>" +
           TowerEffects(false) + "</particles>";
}

void WriteBattleData(const DataRoot& data)
{
    std::string units = kUnitColumns;
    for (const UnitRow& row : Units())
        units += Row(row);
    data.Write("nq/units_sheet.csv", units);
    data.Write("nq/towers_sheet.csv", TowersSheet());
    data.Write("nq/ammo_sheet.csv", AmmoSheet());
    data.Write("nq/spells_sheet.csv", SpellsSheet());
    data.Write("nq/setup_sheet.csv", "0;10;5;0;0\n1;10;5;20;0\n");
    data.Write("nq/upgrades.xml", "<upgrades/>\n");

    data.WriteLayeredImage("nq/units/walker", WalkerLayers(true, true));
    data.WriteLayeredImage("nq/units/nospecial", WalkerLayers(false, true));
    data.WriteLayeredImage("nq/units/nodeath", WalkerLayers(true, false, false));
    WriteLopsidedSet(data);
    // The enemy shader tints by "color2".
    data.Write("nq/Shaders/MobShader/DX/VS.hlsl", hlsl::kTexturedVs);
    data.Write("nq/Shaders/MobShader/DX/PS.hlsl", hlsl::kEnemyPs);

    data.WriteLayeredImage("nq/data/ui_parts", UiPartsLayers());
    WriteTowerSets(data);
}

std::string EntryXml(int id, float x, float y, int upgrade)
{
    char line[128];
    std::snprintf(line, sizeof(line), "<e id=\"%d\" upgrade=\"%d\" x=\"%g\" y=\"%g\"/>", id, upgrade, x, y);
    return line;
}

std::string WaveXml(const std::string& attributes, const std::string& entries)
{
    return "    <wave " + attributes + ">" + entries + "</wave>\n";
}

std::string StraightLevelXml(const std::string& waves, float timeout)
{
    const std::string points = Point(1, 100, 400, "spawn") + Point(2, 400, 400) + Point(3, 700, 400, "goal");
    const std::string links = Link(1, 2, 250, 400) + Link(2, 3, 550, 400);
    return Level(points, links, waves, timeout);
}

std::string ForkLevelXml(const std::string& waves, float timeout)
{
    const std::string points = Point(1, 100, 200, "spawn") + Point(2, 100, 600, "spawn") + Point(3, 400, 400) +
                               Point(4, 800, 400, "goal");
    const std::string links = Link(1, 3, 250, 300) + Link(2, 3, 250, 500) + Link(3, 4, 600, 400);
    return Level(points, links, waves, timeout);
}

std::string LongRoadLevelXml(const std::string& waves)
{
    constexpr int kPoints = 13;
    std::string points;
    std::string links;
    for (int i = 1; i <= kPoints; ++i)
    {
        const int x = 40 + (i - 1) * 80;
        const int y = i % 2 ? 200 : 600;
        points += Point(i, x, y, i == 1 ? "spawn" : i == kPoints ? "goal" : nullptr);
        if (i > 1)
            links += Link(i - 1, i, float(x - 40), 400.0f);
    }
    return Level(points, links, waves, 0.0f);
}

std::string SpotXml(float x, float y, const std::vector<std::pair<std::string, float>>& params)
{
    char line[160];
    std::snprintf(line, sizeof(line), "    <spot x=\"%g\" y=\"%g\">", x, y);
    std::string out = line;
    for (const auto& param : params)
    {
        std::snprintf(line, sizeof(line), "<param name=\"%s\" value=\"%g\"/>", param.first.c_str(), param.second);
        out += line;
    }
    return out + "</spot>\n";
}

std::string WithSpots(const std::string& levelXml, const std::string& spots)
{
    std::string out = levelXml;
    const std::string empty = "<spots/>";
    const size_t at = out.find(empty);
    if (at != std::string::npos)
        out.replace(at, empty.size(), "<spots>\n" + spots + "  </spots>");
    return out;
}

std::string LevelFilePath(int episode, int level, bool hardcore)
{
    char path[64];
    std::snprintf(path, sizeof(path), "nq/levels_%s/level_%02d_%02d.xml", hardcore ? "hardcore" : "normal",
                  episode + 1, level + 1);
    return path;
}
} // namespace gametest
