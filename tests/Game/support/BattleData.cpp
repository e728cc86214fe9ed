#include "BattleData.h"

#include "DataRootFixture.h"

#include <cstdio>
#include <vector>

namespace gametest
{
namespace
{
// Columns of the units sheet, in order.
constexpr const char* kUnitColumns =
    "id;parent;type;levelid;health;speed;r;cost;fps;air;straight;carrier;raiseDead;explodeStr;explodeRadius;"
    "haste_buff;invisible;invisibleArea;regen;healer;summon;cooldown;ammoid;onFire;dropChance;strength;psd\n";

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
} // namespace

std::string BattleEffectsLibrary()
{
    return "<particles version=\"1\"><atlas file=\"fx_atlas0.png\"/>"
           "<emitter name=\"active\"><type rate=\"20\"/></emitter>"
           "<emitter name=\"active_btn\"><type rate=\"20\"/></emitter>"
           "<emitter name=\"mg_00\" interval2=\"300\"><type rate=\"20\" life=\"200\"/></emitter>"
           "<emitter name=\"damage_h\" interval2=\"300\"><type rate=\"20\" life=\"200\"/></emitter>"
           "<emitter name=\"portal_fx\" interval2=\"500\"><type rate=\"20\" life=\"200\"/></emitter>"
           "<emitter name=\"blow_bub\" interval2=\"300\"><type rate=\"20\" life=\"200\"/></emitter>"
           "</particles>";
}

void WriteBattleData(const DataRoot& data)
{
    std::string units = kUnitColumns;
    for (const UnitRow& row : Units())
        units += Row(row);
    data.Write("nq/units_sheet.csv", units);
    data.Write("nq/towers_sheet.csv", "id;parent;type;cost\n");
    data.Write("nq/ammo_sheet.csv", "id;parent;speed;strength;r\n");
    data.Write("nq/setup_sheet.csv", "0;10;5;0;0\n1;10;5;20;0\n");
    data.Write("nq/upgrades.xml", "<upgrades/>\n");

    data.WriteLayeredImage("nq/units/walker", WalkerLayers(true, true));
    data.WriteLayeredImage("nq/units/nospecial", WalkerLayers(false, true));
    data.WriteLayeredImage("nq/units/nodeath", WalkerLayers(true, false, false));

    std::vector<FixtureLayer> parts = {
        {"shadows/wywern_shadow", 0, 0, 30, 10, 0x80000000u},
        {"shadows/dragon_shadow", 0, 0, 40, 12, 0x80000000u},
    };
    Frames(parts, "mob_dot", 2, 8, 8);
    Frames(parts, "mob_heal", 3, 8, 8);
    data.WriteLayeredImage("nq/data/ui_parts", parts);
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

std::string LevelFilePath(int episode, int level, bool hardcore)
{
    char path[64];
    std::snprintf(path, sizeof(path), "nq/levels_%s/level_%02d_%02d.xml", hardcore ? "hardcore" : "normal",
                  episode + 1, level + 1);
    return path;
}
} // namespace gametest
