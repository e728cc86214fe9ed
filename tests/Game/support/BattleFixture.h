#pragma once

// The headless battle harness: a level of the battle fixture started on the
// level fixture (recording HUD, tutorial and sound tags, the real particle
// library on the recording back end) and stepped frame by frame with a fixed
// dt and a seeded random sequence. See BattleHarness.md.
#include "BattleData.h"
#include "LevelFixture.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class NQEnemy;
class NQFrameEntry;
class NQLevelEconomy;
class NQModifier;
class NQSpell;
class NQTower;
class NQWaveManager;

namespace render
{
class Graphics;
}

namespace gametest
{
// One effect placed during the battle.
struct PlacedEffect
{
    std::string name;
    float x = 0.0f;
    float y = 0.0f;
    // "anchor" or "front".
    std::string list;
};

class BattleTest : public LevelTest
{
protected:
    static constexpr float kFrameTime = 1.0f / 60.0f;
    static constexpr uint32_t kDefaultSeed = 7;
    static constexpr int kFrameLimit = 60 * 600;

    void SetUp() override;

    // Writes the level file of that mode (3: hardcore), episode and level.
    void WriteLevel(const std::string& xml, int mode = 1, int episode = 0, int level = 0) const;
    // A new level object in the mode, seeded, with the level started.
    NQMap* StartBattle(int mode = 1, int episode = 0, int level = 0, uint32_t seed = kDefaultSeed);
    // Writes the level (normal mode, episode 0, level 0) and starts it.
    NQMap* StartBattleOn(const std::string& xml, int mode = 1, uint32_t seed = kDefaultSeed);

    // One battle step of dt raw seconds: the level's update, then its drawing.
    void Step(float dt);
    // The level's drawing alone: into the quad recorder, or with onDevice a
    // whole frame on the device over the ground colour.
    void DrawFrame();
    // Any drawing, the same way.
    void DrawWith(const std::function<void(render::Graphics*)>& draw);
    // With onDevice: the last frame's back buffer into `pixels`.
    bool ReadFrame();
    // RGB of a pixel of the last read; kOutside beyond it.
    uint32_t Pixel(float x, float y) const;
    // n frames of the harness's frame time.
    void StepFrames(int frames);
    // Steps until the level is won or lost (screen state not 0) or the limit;
    // the frames stepped.
    int StepUntilEnd(int limit = kFrameLimit);
    // Seconds of frames: round(seconds / frame time) frames.
    void StepSeconds(float seconds);

    // An enemy of the unit spawned now at the point (id), through a run-time
    // entry (x -1) of the level's first wave; null when the spawn is refused.
    NQEnemy* SpawnNow(int unitId, float laneY = -65.0f, int upgrade = 1, int pointId = 1);
    // As a spell would: appended to the level's map modifiers.
    NQModifier* PlaceMapModifier(NQModifier* modifier);

    // The player's choices. Buying, selling, in-place upgrades and gems go through
    // the level's press and release; building and branch upgrades call the
    // level directly (the fixture's unlock table offers nothing on a ring).
    // The picture of spot "#index"; null when the level has no such spot.
    NQFrameEntry* SpotFrame(int index) const;
    // The build ring's item: BuildTower, then "tower_built" after a build.
    NQTower* BuildOn(int spot, int protoId);
    // The buy ring's item; false when gold or gems are short.
    bool BuySpot(int spot);
    void Sell(NQTower* tower);
    void UpgradeBranch(NQTower* tower, int level, float price);
    void BuyInPlace(NQTower* tower);
    // "ok" on the gems question: gems for gold, then the pending build or upgrade.
    void AcceptGemsQuestion();
    // An armed spell button's release at a map point; null for an empty slot.
    NQSpell* CastSpell(int slot, float x, float y);
    // A release on a lying gem; false when none lies there.
    bool CollectGemAt(int x, int y);
    // A release at the point opens a ring; when it is of that kind (a tower
    // ring: either kind), a press on the item of that key. The ring is then
    // removed. False when no such item was pressed.
    bool ChooseOnRing(float x, float y, int kind, int key);
    // The first tower whose current prototype has that id.
    NQTower* FindTower(int protoId) const;

    NQLevelEconomy& Economy() const;
    NQWaveManager& Waves() const;
    // A level whose only wave starts far in the future: nothing spawns by itself.
    static std::string QuietLevelXml();
    const std::vector<NQEnemy*>& Enemies() const;
    // The first live enemy of that unit id; null for none.
    NQEnemy* FindEnemy(int unitId) const;
    int CountEnemies(int unitId) const;

    // A hash of gold, lives, kill score, the wave counters; per enemy
    // position, health, state and modifier count; per tower state, angles,
    // target index and reload; per bullet position and alive; per drop state
    // and progress.
    uint64_t Digest() const;
    // Sound tags asked for with that exact name.
    int CountTag(const std::wstring& tag) const;
    int CountEvent(const std::wstring& event) const;

    // Step 18 of the frame: stopped particles deleted, the others updated.
    void UpdateParticles(float sdt);

    static constexpr uint32_t kGroundColour = 0xFF203020u;
    static constexpr uint32_t kOutside = 0xDEADBEEFu;

    float frameTime = kFrameTime;
    int framesStepped = 0;
    std::vector<PlacedEffect> effects;
    // ARGB, top row first.
    std::vector<uint32_t> pixels;
    uint32_t frameWidth = 0;
    uint32_t frameHeight = 0;
};
} // namespace gametest
