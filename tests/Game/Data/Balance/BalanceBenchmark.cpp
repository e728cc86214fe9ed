// The balance tables' costs in the running level: the sheet reading of every
// level start, one upgraded copy, and the per-frame tower bonus.
#include "LevelFixture.h"

#include "Game/Data/NQProgress.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Level/NQMap.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace
{
constexpr int kTowerLines = 15;    // each a base and three children: 60 rows
constexpr int kTowerChildren = 3;
constexpr int kUnitRows = 80;
constexpr int kAmmoRows = 20;
constexpr int kUpgrades = 20;
constexpr int kTargetsPerUpgrade = 5;
constexpr int kTowers = 40;

std::string TowersSheet()
{
    std::string sheet = "id;parent;type;levelid;require;cost;tierUpdates;tierK;tierCost;strength;cooldown;speed;r;fps;"
                        "ammoid;rotating;splash;stars;addons;psd;img;onFire;goldIncome;boostTower\n";
    for (int line = 0; line < kTowerLines; ++line)
    {
        const int base = 10000 * (line + 1);
        for (int level = 0; level <= kTowerChildren; ++level)
        {
            const int id = base + level;
            const std::string parent = level == 0 ? "-1" : std::to_string(base);
            sheet += std::to_string(id) + ";" + parent + ";1;" + std::to_string(level) +
                     ";0;70;2;0,1;40;10;1,2;400;180;12;2001;0;1;0;splash/star1;towers/cannon_" + std::to_string(level) +
                     ";icons/cannon;fire_" + std::to_string(level) + ";0;0\n";
        }
    }
    return sheet;
}

std::string UnitsSheet()
{
    std::string sheet = "id;parent;health;speed;strength;cost;air;dropChance;fps;fillColor;psd;regen;healer;"
                        "invisible;carrier;explodeStr;explodeRadius;debufftower;r;cooldown\n";
    for (int row = 0; row < kUnitRows; ++row)
        sheet += std::to_string(row + 1) + ";-1;30;40;1;5;" + std::to_string(row % 2) +
                 ";10;12;ff80ff80;units/grunt;0;1;0;0;0,5;20;0;60;3\n";
    return sheet;
}

std::string AmmoSheet()
{
    std::string sheet = "id;parent;speed;strength;r;splash;dot;stun;onHit;onAmmo;psd;fps\n";
    for (int row = 0; row < kAmmoRows; ++row)
        sheet += std::to_string(2001 + row) + ";-1;400;10;60;1;0;1;hit_fire;ammo_fire;ammo/ball;12\n";
    return sheet;
}

// Twenty upgrades of five tower targets each, all bought, all unlocked.
std::string UpgradesXml()
{
    std::string xml = "<upgrades>";
    for (int u = 0; u < kUpgrades; ++u)
    {
        xml += "<upgrade id=\"" + std::to_string(u + 1) + "\" section=\"0\" icon=\"x\"><targets>";
        for (int t = 0; t < kTargetsPerUpgrade; ++t)
            xml += "<target id=\"" + std::to_string(10000 * ((u + t) % kTowerLines + 1) + t % 4) + "\"/>";
        xml += "</targets><steps><step cost_r=\"5\"><attributes><param name=\"radius\" value=\"5\"/>"
               "<param name=\"strength\" value=\"5\"/><param name=\"cooldown\" value=\"3\"/>"
               "<param name=\"cost\" value=\"-2\"/></attributes></step></steps></upgrade>";
    }
    return xml + "</upgrades>";
}

std::string BoughtUpgrades()
{
    std::string xml = "<upgrades>";
    for (int u = 0; u < kUpgrades; ++u)
        xml += "<upgrade id=\"" + std::to_string(u + 1) + "\" level=\"0\"/>";
    return xml + "</upgrades>";
}

// The level fixture outside a test run.
class BenchLevel : public gametest::LevelTest
{
public:
    BenchLevel()
    {
        SetUp();
        data->Write("nq/towers_sheet.csv", TowersSheet());
        data->Write("nq/units_sheet.csv", UnitsSheet());
        data->Write("nq/ammo_sheet.csv", AmmoSheet());
        data->Write("nq/setup_sheet.csv", "0;10;5;0;0\n1;10;5;20;0\n2;10;5;45;0\n");
        data->Write("nq/unlocks.csv", "0;0;-1\n");
        data->Write("nq/upgrades.xml", UpgradesXml());
        LoadProfiles(gametest::ProfilesXml(0, 0, BoughtUpgrades()));
        BuildLevel();
    }
    ~BenchLevel() override { TearDown(); }
    void TestBody() override {}

    NQMap* Map() const { return map; }
};

void BM_LoadSheets(benchmark::State& state)
{
    BenchLevel level;
    for (auto _ : state)
        level.Map()->LoadSheets();
    state.counters["protos"] = static_cast<double>(level.Map()->mUnitDatabase->mProtos.size());
}
BENCHMARK(BM_LoadSheets)->Unit(benchmark::kMillisecond);

void BM_ApplyToProto(benchmark::State& state)
{
    BenchLevel level;
    const NQUnitProto* original = level.Map()->mUnitDatabase->FindProto(10000);
    NQUnitProto copy;
    for (auto _ : state)
    {
        copy.CopyFrom(original);
        level.Map()->mUpgradeTable->ApplyToProto(&copy);
        benchmark::DoNotOptimize(&copy);
        benchmark::ClobberMemory();
    }
    state.counters["r"] = copy.r; // above 180 once the upgrades reach it
}
BENCHMARK(BM_ApplyToProto)->Unit(benchmark::kMicrosecond);

void BM_TowerBonusFrame(benchmark::State& state)
{
    BenchLevel level;
    std::vector<const NQUnitProto*> towers;
    for (int i = 0; i < kTowers; ++i)
        towers.push_back(level.Map()->mUnitDatabase->FindProto(10000 * (i % kTowerLines + 1) + i % 4));
    std::vector<NQUnitProto> bonuses(kTowers);
    for (auto _ : state)
    {
        for (int i = 0; i < kTowers; ++i)
        {
            NQUnitProto& bonus = bonuses[static_cast<size_t>(i)];
            bonus.r = bonus.strength = bonus.cooldown = 0.0f;
            level.Map()->mUpgradeTable->ApplyToTower(*towers[static_cast<size_t>(i)], bonus);
        }
        benchmark::DoNotOptimize(bonuses.data());
    }
    state.counters["bonusR"] = bonuses[0].r;
}
BENCHMARK(BM_TowerBonusFrame)->Unit(benchmark::kMicrosecond);
} // namespace
