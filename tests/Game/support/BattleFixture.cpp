#include "BattleFixture.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Math/MathFunctions.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Sound/SoundTags.h"
#include "DeviceGame.h"
#include "Game/Data/FindById.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Data/NQSpellEntry.h"
#include "Game/Data/NQSpellTable.h"
#include "Game/Data/NQUnitDatabase.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Hud/NQTutorial.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQContextMenuItem.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/NQPoint.h"
#include "Game/Units/EffectList.h"
#include "Game/Units/GameMath.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQBullet.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQSpell.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"
#include "Game/Units/SpriteList.h"
#include "QuadRecorder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace gametest
{
namespace
{
namespace fs = std::filesystem;

constexpr float kGoldPerGem = 50.0f;
constexpr uint64_t kFnvOffset = 1469598103934665603ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

template <class T>
void Hash(uint64_t& hash, const T& value)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    for (unsigned char byte : bytes)
    {
        hash ^= byte;
        hash *= kFnvPrime;
    }
}

} // namespace

void BattleTest::SetUp()
{
    LevelTest::SetUp();
    WriteBattleData(*data);
    data->Write("nq/fx/fx2.ptc", BattleEffectsLibrary());
    render::ParticleSystem::Instance()->Load("fx2.ptc", application->mRender);
    if (DeviceGame* device = Device())
    {
        ASSERT_TRUE(device->IsReady());
        ASSERT_TRUE(device->LoadMobShader());
    }
    game::testing::SetEffectObserver([this](const std::string& name, float x, float y, const NQEffectList& list) {
        effects.push_back({name, x, y, map && &list == &map->mEffects ? "anchor" : "front"});
    });
}

void BattleTest::TearDown()
{
    game::testing::SetEffectObserver(nullptr);
    LevelTest::TearDown();
}

void BattleTest::WriteLevel(const std::string& xml, int mode, int episode, int level) const
{
    constexpr int kHardcore = 3;
    data->Write(LevelFilePath(episode, level, mode == kHardcore), xml);
}

NQMap* BattleTest::StartBattle(int mode, int episode, int level, uint32_t seed)
{
    LoadProfiles(ProfilesXml(mode, 0));
    BuildLevel();
    map->mEpisode = episode;
    map->mLevel = level;
    // One seeding call; every later draw continues the sequence.
    math::Random(seed);
    map->StartLevel();
    framesStepped = 0;
    effects.clear();
    return map;
}

NQMap* BattleTest::StartBattleOn(const std::string& xml, int mode, uint32_t seed)
{
    WriteLevel(xml, mode);
    return StartBattle(mode, 0, 0, seed);
}

void BattleTest::Step(float dt)
{
    ++framesStepped;
    map->Update(dt);
    // The drawing places the drops where they are shown.
    DrawFrame();
}

void BattleTest::DrawFrame()
{
    DrawWith([this](render::Graphics* g) { map->Draw(g); });
}

void BattleTest::DrawWith(const std::function<void(render::Graphics*)>& draw)
{
    if (DeviceGame* device = Device())
    {
        EXPECT_EQ(device->DrawFrame(draw, kGroundColour), HV_OK);
        return;
    }
    Recorder()->Record(draw);
}

bool BattleTest::ReadFrame()
{
    pixels.clear();
    DeviceGame* device = Device();
    return device && device->ReadBackBuffer(pixels, frameWidth, frameHeight) && !pixels.empty();
}

uint32_t BattleTest::Pixel(float x, float y) const
{
    const int px = int(std::floor(x));
    const int py = int(std::floor(y));
    if (px < 0 || py < 0 || uint32_t(px) >= frameWidth || uint32_t(py) >= frameHeight)
        return kOutside;
    return pixels[size_t(py) * frameWidth + size_t(px)] & 0xFFFFFFu;
}

void BattleTest::UpdateParticles(float sdt)
{
    for (size_t i = 0; i < map->mParticles.size();)
    {
        NQParticle* particle = map->mParticles[i];
        if (!particle->IsPlaying())
        {
            delete particle;
            map->mParticles.erase(map->mParticles.begin() + std::ptrdiff_t(i));
            continue;
        }
        particle->Update(sdt);
        ++i;
    }
}

NQFrameEntry* BattleTest::SpotFrame(int index) const
{
    const std::wstring name = L"#" + std::to_wstring(index);
    for (NQFrameEntry* frame : map->mDecorationSet->mSpotFrames)
        if (frame->mName == name)
            return frame;
    return nullptr;
}

NQTower* BattleTest::BuildOn(int spot, int protoId)
{
    NQTower* tower = map->BuildTower(map->mUnitDatabase->FindProto(protoId), SpotFrame(spot));
    if (tower)
        NQTutorial::Instance()->OnEvent(L"tower_built");
    return tower;
}

bool BattleTest::BuySpot(int spot)
{
    NQFrameEntry* frame = SpotFrame(spot);
    NQSpot* place = frame ? frame->mSpot : nullptr;
    if (!place || place->mOwned)
        return false;
    const float x = frame->mRect[0] + frame->mRect[2] * 0.5f;
    const float y = frame->mRect[1] + frame->mRect[3] * 0.5f;
    ChooseOnRing(x, y, NQContextMenu::kBuySpotRing, 1);
    return place->mOwned;
}

void BattleTest::Sell(NQTower* tower)
{
    ChooseOnRing(tower->mX, tower->mY, NQContextMenu::kTowerRing, 0);
}

void BattleTest::UpgradeBranch(NQTower* tower, int level, float price) { tower->UpgradeTo(level, price); }

void BattleTest::BuyInPlace(NQTower* tower)
{
    ChooseOnRing(tower->mX, tower->mY, NQContextMenu::kTierRing, 1);
}

bool BattleTest::ChooseOnRing(float x, float y, int kind, int key)
{
    // The ring of an earlier choice goes first, as the level drawing would take it.
    delete map->mContextMenu;
    map->mContextMenu = nullptr;
    map->OnMouseUp(int(x), int(y));
    NQContextMenu* ring = map->mContextMenu;
    bool chosen = false;
    // A tower ring of the other kind (sell-only choices) is left unused.
    const bool towerRing = kind == NQContextMenu::kTowerRing;
    if (ring && (ring->mKind == kind || (towerRing && ring->mKind == NQContextMenu::kTierRing)))
    {
        ring->Update(NQContextMenu::kFadeSeconds * 2.0f);
        // The items stand where the drawing lays them out.
        DrawWith([&](render::Graphics* g) { map->DrawContextMenu(g); });
        for (const NQContextMenuItem* item : ring->mItems)
        {
            if (item->mKey != key)
                continue;
            const float a = item->mAngle * NQContextMenu::kPi / 180.0f;
            const float reach = NQContextMenu::kRadius * ring->GetScale();
            map->OnMouseDown(int(std::lround(ring->mCenterX + std::sin(a) * reach)),
                             int(std::lround(ring->mCenterY + std::cos(a) * reach)));
            chosen = true;
            break;
        }
    }
    delete map->mContextMenu;
    map->mContextMenu = nullptr;
    return chosen;
}

void BattleTest::AcceptGemsQuestion()
{
    const float price = map->mPendingUpgrade.tower ? map->mPendingUpgrade.price : map->mPendingBuild.price;
    const int32_t gems = int32_t(std::ceil(price / kGoldPerGem));
    map->mEconomy->SpendGems(gems);
    map->mEconomy->AddGold(gems * int32_t(kGoldPerGem));
    map->mScreenState = screen::kPlaying;
    if (NQTower* tower = map->mPendingUpgrade.tower)
    {
        const NQMap::PendingUpgrade pending = map->mPendingUpgrade;
        map->mPendingUpgrade = {};
        tower->UpgradeTo(pending.key, pending.price);
        return;
    }
    const NQMap::PendingBuild pending = map->mPendingBuild;
    if (map->BuildTower(pending.proto, pending.spot))
        NQTutorial::Instance()->OnEvent(L"tower_built");
}

NQSpell* BattleTest::CastSpell(int slot, float x, float y)
{
    k2::SoundTags::Instance()->Play(L"spell" + std::to_wstring(slot));
    const NQSpellEntry* entry = map->mSpellTable->FindBySlot(slot);
    if (!entry)
        return nullptr;
    auto* spell = new NQSpell(entry->protoId, x, y);
    map->mBullets->Add(spell);
    spell->Cast();
    return spell;
}

bool BattleTest::CollectGemAt(int x, int y)
{
    NQTowerSpecial* gem = FindCollectableAt(*map->mDrops, x, y);
    if (!gem)
        return false;
    // The release collects it.
    map->OnMouseUp(x, y);
    return gem->mState == NQTowerSpecial::kCollected;
}

NQTower* BattleTest::FindTower(int protoId) const
{
    for (NQTower* tower : map->mTowers)
        if (const NQUnitProto* proto = tower->GetProto(-1); proto && proto->id == protoId)
            return tower;
    return nullptr;
}

void BattleTest::StepFrames(int frames)
{
    for (int i = 0; i < frames; ++i)
        Step(frameTime);
}

int BattleTest::StepUntilEnd(int limit)
{
    int frames = 0;
    while (frames < limit && map->mScreenState == screen::kPlaying)
    {
        Step(frameTime);
        ++frames;
    }
    return frames;
}

void BattleTest::StepSeconds(float seconds) { StepFrames(int(std::lround(seconds / frameTime))); }

NQEnemy* BattleTest::SpawnNow(int unitId, float laneY, int upgrade, int pointId)
{
    NQWaveProto* wave = map->mWaveManager->mWaves.at(0);
    auto* entry = new NQWaveEntry(wave);
    entry->mId = unitId;
    entry->mUpgrade = upgrade;
    entry->mX = -1.0f;
    entry->mY = laneY;
    wave->mEntries.push_back(entry);
    NQEnemy* enemy = map->SpawnEnemy(entry, FindById(*map->mPoints, pointId));
    if (enemy)
        entry->mState = 7;
    return enemy;
}

std::string BattleTest::QuietLevelXml()
{
    return StraightLevelXml(WaveXml("timeout=\"100000\" spawn=\"1\"", EntryXml(units::kTank, 0.0f)));
}

NQModifier* BattleTest::PlaceMapModifier(NQModifier* modifier)
{
    map->mModifiers.push_back(modifier);
    return modifier;
}

NQLevelEconomy& BattleTest::Economy() const { return *map->mEconomy; }

NQWaveManager& BattleTest::Waves() const { return *map->mWaveManager; }

const std::vector<NQEnemy*>& BattleTest::Enemies() const { return map->mWaveManager->mEnemies; }

NQEnemy* BattleTest::FindEnemy(int unitId) const
{
    for (NQEnemy* enemy : Enemies())
        if (enemy->mEntry->mId == unitId)
            return enemy;
    return nullptr;
}

int BattleTest::CountEnemies(int unitId) const
{
    int count = 0;
    for (NQEnemy* enemy : Enemies())
        count += enemy->mEntry->mId == unitId ? 1 : 0;
    return count;
}

uint64_t BattleTest::Digest() const
{
    uint64_t hash = kFnvOffset;
    const NQLevelEconomy& economy = *map->mEconomy;
    Hash(hash, economy.mGold);
    Hash(hash, map->mLives);
    Hash(hash, economy.mKillScore);
    const NQWaveManager& waves = *map->mWaveManager;
    Hash(hash, waves.mNextWave);
    Hash(hash, waves.mGroupsDone);
    Hash(hash, waves.mClock);
    for (const NQEnemy* enemy : waves.mEnemies)
    {
        Hash(hash, enemy->mX);
        Hash(hash, enemy->mY);
        Hash(hash, enemy->mHealth);
        Hash(hash, enemy->mState);
        Hash(hash, enemy->mModifiers.size());
    }
    for (const NQTower* tower : map->mTowers)
    {
        Hash(hash, tower->mState);
        Hash(hash, tower->mTargetAngle);
        Hash(hash, tower->mAngle);
        const auto target = std::find(waves.mEnemies.begin(), waves.mEnemies.end(), tower->mTarget);
        Hash(hash, target == waves.mEnemies.end() ? ptrdiff_t(-1) : target - waves.mEnemies.begin());
        Hash(hash, tower->mReloadTimer);
    }
    for (const NQBullet* bullet : map->mBullets->mBullets)
    {
        Hash(hash, bullet->mX);
        Hash(hash, bullet->mY);
        Hash(hash, bullet->mAlive);
    }
    for (const NQTowerSpecial* drop : *map->mDrops)
    {
        Hash(hash, drop->mState);
        Hash(hash, drop->mProgress);
    }
    return hash;
}

int BattleTest::CountTag(const std::wstring& tag) const
{
    int count = 0;
    for (const auto& played : sounds->tags)
        count += played.first == tag ? 1 : 0;
    return count;
}

int BattleTest::CountEvent(const std::wstring& event) const
{
    int count = 0;
    for (const std::wstring& received : tutorial->events)
        count += received == event ? 1 : 0;
    return count;
}
} // namespace gametest
