#pragma once

// The battle fixture's data, written into a temporary data root: the three
// balance sheets, the setup sheet, an empty upgrades file, the units of every
// ability the battles read, their sprite sets, the interface parts (shadows,
// damage and heal marks), a particle library and the fixture levels.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace gametest
{
class DataRoot;
struct FixtureLayer;

// Text of a wave entry (unit, timeline x, layout y) and of a wave (its
// attributes as written, e.g. "timeout=\"5\" spawn=\"1\"").
std::string EntryXml(int id, float x, float y = -65.0f, int upgrade = 1);
std::string WaveXml(const std::string& attributes, const std::string& entries);

// Unit ids of the fixture sheets.
namespace units
{
constexpr int kSummoned = 0; // the shaman's summon
constexpr int kWyvern = 3;   // straight flyer, wyvern shadow
constexpr int kDragon = 10;  // straight flyer, dragon shadow
constexpr int kCargo = 11;
constexpr int kUndead = 39;
constexpr int kGrunt = 50;   // plain walker: health 30, speed 60, cost 10
constexpr int kLevelled = 60; // children with levelid 1 (61) and 2 (62)
constexpr int kHealer = 70;
constexpr int kShaman = 71;   // summons through 90
constexpr int kCarrier = 72;
constexpr int kRaiser = 73;
constexpr int kHaste = 74;
constexpr int kInvisible = 75;
constexpr int kInvisibleArea = 76;
constexpr int kRegen = 77;
constexpr int kExplosive = 78;
constexpr int kNoFps = 79;     // fps 0
constexpr int kNoSpecial = 80; // sprite set without a "special" group
constexpr int kNoDeath = 81;   // sprite set without "death" frames and without a root frame
constexpr int kTank = 82;      // health 100000, for long walks
constexpr int kLostShaman = 83; // summons through 91, whose portal effect the library lacks
constexpr int kDropper = 84;     // dropChance 100
constexpr int kStrong = 85;      // strength 2.5
constexpr int kWeak = 86;        // strength 0.5
constexpr int kLopsided = 87;    // the lopsided set below, tinted by kLopsidedFill
constexpr int kSummonProto = 90;
constexpr int kLostSummonProto = 91;
} // namespace units

// Tower lines (each with children xx001, xx002 by branch and xx100, xx200),
// ammo and spells of the fixture sheets.
namespace towers
{
// Straight splash shot (ammo 2001), two in-place upgrades at 40 (tierK 0.5);
// 10001 firesplash, 10002 lobbed ammo 2003 (require 1), 10100 dot with an
// ammo without "onHit" (2004), 10200 stun. Cost 100, r 300, cooldown 1.
constexpr int kCannon = 10000;
// Rotating homing shot (ammo 2002 with "trail" and "fire_fx"); 20001 "air",
// 20002 hold (require 1), 20100 dot and stun, 20200 homing ammo 2004. Cost 80.
constexpr int kArrow = 20000;
// Teleport beam (speed -1), r 200, cooldown 4; 30001 booster (speed 50,
// r 300, strength -1), 30002 revealer with a straight shot, 30100 beam,
// 30200 booster (speed 100). Cost 150.
constexpr int kMagic = 30000;
// Income 10 every 5 s, strength -1, health 20 (20% kill bonus), r 200;
// 30 / 20 / 30 income on the children. Cost 60.
constexpr int kBank = 40000;
constexpr int kFireSpell = 3001;   // firesplash, strength 2, 5 s, r 100, "fire_fx", sprites "spells/fire"
constexpr int kSplashSpell = 3002; // splash and stun, strength 20, 2 s, r 120
constexpr int kHoldSpell = 3003;   // hold, 3 s, r 100
constexpr int kBoostSpell = 3004;  // towers boost 50%, 5 s
constexpr int kDotSpell = 3005;    // dot area, strength 1, 4 s, r 100
} // namespace towers

// The walker sprite set: frames of "walk" (4), "death" (3) and "special" (2)
// at 10 fps, and a root frame at (kRootX, kRootY).
constexpr float kWalkerFps = 10.0f;
constexpr float kRootX = 10.0f;
constexpr float kRootY = 20.0f;

// The lopsided set "units/lopsided": the walker's root frame; "walk", "death"
// and "special" of 3 frames each, every frame 40 x 50 at (0, 0), white but
// for its 10 leftmost columns in the mark colour.
constexpr int kLopsidedFrames = 3;
constexpr int kLopsidedWidth = 40;
constexpr int kLopsidedHeight = 50;
constexpr int kLopsidedMarkWidth = 10;
constexpr uint32_t kLopsidedMark = 0xFFFF0000u;
constexpr const char* kLopsidedFill = "ff00ffff";

// The particle library: "active", "active_btn", "mg_00", "damage_h",
// "portal_fx" and "blow_bub". It lacks "lost_portal" on purpose.
std::string BattleEffectsLibrary();
// Without "t_line", "build", "upgrade", "trail", "hammer" and "portal_1".
std::string LeanEffectsLibrary();

// The interface parts "nq/data/ui_parts" of the battle data: the shadows and
// the "mob_dot" and "mob_heal" marks.
std::vector<FixtureLayer> UiPartsLayers();
// The level's interface pictures as layers of the "ui" group (the set
// "nq/ui" once written into "nq/data/ui_parts"): every picture the level and
// its ring, badges and floating icons look up, each a solid square of its own
// colour, "radius" as wide as the range circle; the names in `leftOut`
// (without "ui/") are missing.
constexpr int kInterfacePictureSize = 20;
constexpr int kRadiusPictureSize = 336;
std::vector<FixtureLayer> InterfaceLayers(const std::vector<std::string>& leftOut = {});

// Sheets, setup sheet, upgrades, sprite sets and interface parts.
void WriteBattleData(const DataRoot& data);

// Levels. `waves` is the inner text of the "waves" element and `timeout`
// its attribute.
// The straight road: points 1 (100, 400, spawn), 2 (400, 400), 3 (700, 400,
// goal); links 1-2 and 2-3 straight, 300 long each.
std::string StraightLevelXml(const std::string& waves, float timeout = 0.0f);
// The fork: spawn points 1 (100, 200) and 2 (100, 600), junction 3
// (400, 400), goal 4 (800, 400); links 1-3, 2-3 and 3-4.
std::string ForkLevelXml(const std::string& waves, float timeout = 0.0f);
// A long zigzag road of 12 links from spawn 1 to goal 13 for the benchmark.
std::string LongRoadLevelXml(const std::string& waves);

// One "spot" element at (x, y) with its parameters as "name=value" pairs.
std::string SpotXml(float x, float y, const std::vector<std::pair<std::string, float>>& params = {});
// The level text with its empty "spots" element filled.
std::string WithSpots(const std::string& levelXml, const std::string& spots);

// "nq/levels_normal/level_EE_LL.xml" (hardcore: "levels_hardcore").
std::string LevelFilePath(int episode, int level, bool hardcore);
} // namespace gametest
