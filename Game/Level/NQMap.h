#pragma once

#include "Core/Base/Result.h"
#include "Game/Data/NQEpisodeSetup.h"
#include "Game/Level/NQScreenState.h"
#include "Game/Roads/CurvePoint.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace render
{
class Graphics;
class Image;
class ParticleEmitter;
class Render;
}

namespace tinyxml2
{
class XMLElement;
}

struct NQPathSample;
struct TPurchaseResult;

class HUD;
class HUDSpellButton;
class NQBulletManager;
class NQContextMenu;
class NQDecorationSet;
class NQEffect;
class NQEnemy;
class NQFloatingIcons;
class NQFrameEntry;
class NQFxAnchor;
class NQLevelEconomy;
class NQLink;
class NQLinkLanes;
class NQMapServices;
class NQModifier;
class NQParticle;
class NQPoint;
class NQWaveProto;
class NQProgress;
class NQSpellTable;
class NQSpot;
class NQSprite;
class NQSpriteAnimation;
class NQTower;
class NQTowerSpecial;
class NQUnitDatabase;
class NQUnitProto;
class NQUnlockTable;
class NQUpgradeTable;
class NQWaveEntry;
class NQWaveHintStrip;
class NQWaveManager;

// The running game: one object for the whole run, owned by the root board.
// It keeps the tables that outlive a level and the contents of the level in
// play, which every level start refills in place. One class over several
// source files, one per subject.
class NQMap
{
public:
    // The draw queues of the level drawing, in drawing order.
    static constexpr int kDrawQueueCount = 5;
    static constexpr int kDebugFlagCount = 3;

    // The tower and choice waiting in the upgrade question.
    struct PendingUpgrade
    {
        NQTower* tower = nullptr;
        int32_t key = 0;
        float price = 0.0f;
    };
    // The spot and prototype waiting in the gems-for-gold question.
    struct PendingBuild
    {
        NQUnitProto* proto = nullptr;
        NQFrameEntry* spot = nullptr;
        float price = 0.0f;
    };

    NQMap();
    ~NQMap();
    NQMap(const NQMap&) = delete;
    NQMap& operator=(const NQMap&) = delete;

    // Construction (NQMap.cpp).
    void LoadUnitSprites();

    // Level start (NQMapLevelStart.cpp).
    void StartLevel();
    void ResetLevel();
    // The unlock message of what is new to the player here, or the level's name.
    void ShowLevelIntro();
    // After the unlock message: the level's name, and the tutorial hears of it.
    void EndLevelIntro();
    // The level file of the current mode, episode and level.
    std::wstring MakeLevelPath() const;
    // Whether that file can be played; a refusal is logged once, with why.
    // Asked before a level is chosen, so a refused one changes nothing.
    bool CanOpenLevel() const;
    // The message over the level select that the chosen level cannot be opened.
    void ShowLevelRefused();
    static std::wstring GetMusicPath(int32_t episode);

    // Speed buttons and the in-game menu (NQMapSpeedButtons.cpp).
    void UpdateSpeedButtons();
    void OpenIngameMenu();
    void PauseIfPlaying();

    // Balance sheets and the episode setup (NQMapSheets.cpp).
    void LoadSheets();
    int32_t GetEpisodeCount() const;
    // -1 for an episode the setup sheet lacks (the next two as well).
    int32_t GetLevelCount(int32_t episode) const;
    int32_t GetHardcoreLevelCount(int32_t episode) const;
    int32_t GetStarsToOpenEpisode(int32_t episode) const;
    // Normal and hardcore levels of episodes 0, 1, 2 ... up to the first gap.
    int32_t GetTotalLevelCount() const;
    // The episode has levels and the stars over all episodes reach its mark.
    bool IsEpisodeOpen(int32_t episode) const;
    bool IsEpisodeFullyStarred(int32_t episode) const;
    // Level file (NQMapLevelFile.cpp).
    void LoadLevelXml(const std::wstring& path);
    // The reading steps on the file's text: budget, roads, spots, waves and
    // the path of the level picture. False when the text does not parse; the
    // roads are then empty and the budget 0.
    bool ReadLevelText(const std::string& text, std::string& picturePath);
    // Every "spot" child from the first on (whatever the later ones are called).
    void LoadSpots(const tinyxml2::XMLElement* spots);
    // The decoration frames and fx anchors of the layered picture beside the path.
    void LoadDecorations(const std::string& picturePath);
    void LoadFxAnchors(file::ImageContainer* container);
    // The first link joining the two points, in either direction; null when none.
    NQLink* FindLink(const NQPoint* a, const NQPoint* b) const;

    // Routes (NQMapRoutes.cpp).
    void BuildRoutes();
    // The points joined to the point by a link, each once, in link order.
    std::vector<NQPoint*> GetNeighbours(const NQPoint* point) const;
    // The straight distance between two linked points; -1 when no link joins them.
    float GetLinkWeight(const NQPoint* a, const NQPoint* b) const;
    // Point ids from start to goal over the shortest path; empty when none.
    std::vector<int32_t> FindRoute(const NQPoint* start, const NQPoint* goal);
    // FindRoute once per start point of the wave; later enemies reuse it.
    // Without a wave every call searches.
    std::vector<int32_t> FindWaveRoute(NQWaveProto* wave, const NQPoint* start, const NQPoint* goal);
    // The first point marked "goal", respectively "spawn", with exactly 1.
    NQPoint* FindGoalPoint() const;
    NQPoint* FindSpawnPoint() const;
    // Out = the lane path of the link for the offset (the samples are shared);
    // a lane not stored yet is sampled and stored. False (out untouched) only
    // for a link to a missing point.
    bool FindLanePath(NQLink* link, int32_t offset, std::vector<NQPathSample*>& out);
    // Stores the samples (owned from now on) under the link and offset.
    void StoreLanePath(NQLink* link, int32_t offset, const std::vector<NQPathSample*>& samples);

    // Path cache (NQMapPathCache.cpp).
    std::wstring GetPathCacheName() const;
    // 1 when the cache file does not open or is damaged (the table is left
    // as it was); 0 when its entries were appended.
    HVResultEnum LoadPathCache(std::vector<NQLinkLanes*>& table);

    // Road geometry (NQMapRoadGeometry.cpp).
    // Ten chords of the link's curve; 0 for no link.
    float GetLinkLength(const NQLink* link) const;
    // The parameter reached walking the distance from t along the curve moved
    // sideways by the offset; 1 past the end, t for no distance.
    float AdvanceOnLink(const NQLink* link, float t, float distance, float offset) const;
    // The position at progress u (0 first sample, 1 last; clamped to the path).
    static CurvePoint GetPathPoint(const std::vector<NQPathSample*>& path, float u);

    // Towers (NQMapTowers.cpp). BuildTower gives null when gold is short;
    // the gems question is then open when gems can pay.
    NQTower* BuildTower(NQUnitProto* proto, NQFrameEntry* spotFrame);
    void SellTower(NQTower* tower);
    // The gold selling the tower gives back: the sell factor of what its
    // prototype and that one's parent cost.
    int32_t GetSellRefund(const NQTower* tower) const;
    // A loose effect started at the point; a library without it shows nothing.
    void StartLooseEmitter(const char* name, float x, float y);
    // Opens the gems-for-gold question when the player's gems cover the
    // missing price; the caller records what waits for the answer.
    bool OfferGemsForGold(float price);
    // The first shown spot picture within 40 of the point; null when none.
    NQFrameEntry* FindSpotEntryAt(float x, float y) const;
    NQTower* FindTowerAt(float x, float y) const;
    // The enemies' tower auras; a hammer-marked tower is out of their reach.
    bool IsTowerBlocked(const NQTower* tower) const;
    bool IsTowerDebuffed(const NQTower* tower) const;
    // Drops (NQMapDrops.cpp): every special updated, the ended ones deleted.
    void UpdateDrops(std::vector<NQTowerSpecial*>& list, float dt);
    // Drawing (NQMapDraw.cpp): the view rectangle and the road mask.
    void ResetViewport();
    // Interface sprites (NQMapUiSprites.cpp).
    void LoadUiSprites();
    // Frame update (NQMapUpdate.cpp) and drawing (NQMapDraw.cpp).
    void Update(float dt);
    void Draw(render::Graphics* graphics);
    // The level picture's effect anchors on game time, and one anchor's firing.
    void UpdateTimedEffects(float dt);
    void FireTimedEffect(NQFxAnchor* anchor);
    // The road mask: every link stamped with the brush, 25 units apart.
    void StampRoads(render::Graphics* graphics);
    void StampLink(render::Graphics* graphics, const NQLink* link);
    // 36 segments around (cx, cy).
    static void DrawCircleOutline(render::Graphics* graphics, float cx, float cy, float r);
    // Developer view of the waves still to come.
    void DrawWaveSchedule(render::Graphics* graphics);
    void DrawWaveHintTexts(render::Graphics* graphics);
    void DrawDeveloperAreas(render::Graphics* graphics);
    // Clears the mask and stamps the roads again (after a device reset too).
    void RestampRoadMask(render::Render* render);
    // The world list's order: smaller depth first.
    static bool CompareDepth(const NQFrameEntry* a, const NQFrameEntry* b);
    // Level end (NQMapWin.cpp) and defeat (NQMapResults.cpp).
    void Win();
    void Lose();
    // Economy (NQMapEconomy.cpp): the enemy-health offset of the mode, and
    // the refund of every bought upgrade in gems.
    float GetDifficultyFactor() const;
    void ResetUpgrades();
    // Enemies (NQMapEnemies.cpp). SpawnEnemy gives null, and the entry is
    // given up (state 2), for an unknown point or unit, no goal or no route.
    NQEnemy* SpawnEnemy(NQWaveEntry* entry, NQPoint* point);
    // A dying carrier's cargo, spread along its link from where it fell.
    void SpawnCargo(NQEnemy* carrier, int32_t count);
    void OnEnemyReachedGoal(NQEnemy* enemy);
    // Every reference the level holds to an enemy about to be deleted goes.
    void ForgetEnemy(NQEnemy* enemy);
    // Input (NQMapInput.cpp; the release dispatcher in NQMapRelease.cpp).
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    void OnMouseMove(int x, int y);
    void OnMouseWheel(int delta);
    // Context ring (NQMapContextMenu.cpp): what a release on the map point
    // did to the ring.
    enum class RingOpening
    {
        kNothing,       // neither a spot nor a tower there
        kSpotHandled,   // a spot: ring opened, closed, removed or filtered out
        kRingLeft,      // a tower: the ring closed or removed
        kTowerRingOpened,
    };
    RingOpening OpenContextMenuAt(int x, int y);
    // Moves the new ring's centre so that all it draws stays on the screen's
    // play area, clear of the panels at the top and bottom.
    void KeepRingOnScreen();
    void DrawContextMenu(render::Graphics* graphics);
    // The in-game menu's confirmations (NQMapResults.cpp).
    void OnResultCommand(const std::wstring& action);
    // Where the shop's and the gem shop's back buttons lead; process-wide.
    static inline std::wstring sShopReturnTarget;
    static inline std::wstring sGemShopReturnTarget;
    // Store results (NQMapStore.cpp).
    void OnPurchaseResult(const TPurchaseResult& result);

    // --- fields ---
    float mGameTime = 0.0f;
    render::Image* mRoadMask = nullptr;
    // The renderer's device-reset count when the mask was last stamped.
    uint32_t mRoadMaskResetCount = 0;
    // The brush "ui/brush" stamped along the roads (borrowed).
    render::Image* mRoadMark = nullptr;
    std::vector<NQLinkLanes*>* mLanePaths = nullptr;
    float mViewportX = 0.0f;
    float mViewportY = 0.0f;
    float mViewportWidth = 0.0f;
    float mViewportHeight = 0.0f;
    std::map<int32_t, NQEpisodeSetup> mEpisodeSetup;
    std::wstring mLanguage = L"en";
    float mZoom = 1.0f;
    float mViewOffsetX = 0.0f;
    float mViewOffsetY = 0.0f;
    // Also the running flag: the frame update and the drawing wait for it.
    bool mResourcesLoaded = false;
    std::wstring mNameInput;
    int32_t mPendingDialog = 0;
    // 1 after a lost level, 2 after a won one, -1 once taken.
    int32_t mPendingResult = 0;
    int32_t mTutorialSpotFilter = -1;
    bool mDeveloperKeys = false;
    int32_t mMode = 0;
    float mDropChanceOverride = 0.0f;
    float mFrameTime = 0.0f;
    float mSpeed = 1.0f;
    std::wstring mCurrentMenu;
    // The profile name being typed in the name input.
    std::wstring mEditedName;
    NQUpgradeTable* mUpgradeTable = nullptr;
    HUDSpellButton* mArmedSpell = nullptr;
    NQScreenState mScreenState = screen::kNone;
    int32_t mLevel = 0;
    int32_t mEpisode = 0;
    NQUnlockTable* mUnlockTable = nullptr;
    NQProgress* mProgress = nullptr;
    // 0 wave schedule, 1 unused, 2 enemy bounds and health.
    uint8_t mDebugFlags[kDebugFlagCount] = {0, 0, 0};
    float mKillRewardFactor = 0.0f;
    float mStartGoldFactor = 0.0f;
    int32_t mLivesBonus = 0;
    float mSellFactor = 0.0f;
    int32_t mBudget = 0;
    int32_t mDefaultGems = 0;
    std::vector<NQTowerSpecial*>* mDrops = nullptr;
    // The level's sprites (tutorial hints, tower marks), updated and drawn each frame.
    std::vector<NQSprite*>* mHints = nullptr;
    // Per-frame copies, owned, deleted by the drawing after use.
    std::vector<NQFrameEntry*> mDrawQueues[kDrawQueueCount];
    std::vector<NQFxAnchor*>* mFxAnchors = nullptr;
    std::wstring mLevelPath;
    render::ParticleEmitter* mSpellEmitter = nullptr;
    render::ParticleEmitter* mButtonEmitter = nullptr;
    render::Image* mPowerBuffPicture = nullptr;
    render::Image* mBarPicture = nullptr;
    render::Image* mRadiusPicture = nullptr;
    render::Image* mLevelPictures[3] = {nullptr, nullptr, nullptr};
    std::map<int32_t, render::Image*> mTowerIcons;
    render::Image* mSellPicture = nullptr;
    render::Image* mBuyPicture = nullptr;
    render::Image* mContextGemPicture = nullptr;
    std::map<std::string, render::Image*> mAbilityIcons;
    render::Image* mLevel2Mark = nullptr;
    render::Image* mLevel3Mark = nullptr;
    NQSpriteAnimation* mEnemySpotMarker = nullptr;
    NQEnemy* mSelectedEnemy = nullptr;
    NQContextMenu* mContextMenu = nullptr;
    HUD* mHud = nullptr;
    std::vector<NQSpot*>* mSpots = nullptr;
    std::vector<NQPoint*>* mPoints = nullptr;
    std::vector<NQLink*>* mLinks = nullptr;
    NQBulletManager* mBullets = nullptr;
    NQWaveManager* mWaveManager = nullptr;
    NQWaveHintStrip* mWaveHints = nullptr;
    std::vector<NQTower*> mTowers;
    std::vector<NQModifier*> mModifiers;
    std::vector<NQEffect*> mDepthEffects;
    std::vector<NQEffect*> mEffects;
    std::vector<render::ParticleEmitter*> mLooseEmitters;
    std::vector<NQParticle*> mParticles;
    NQSpellTable* mSpellTable = nullptr;
    NQFloatingIcons* mFloatingIcons = nullptr;
    NQLevelEconomy* mEconomy = nullptr;
    NQUnitDatabase* mUnitDatabase = nullptr;
    NQDecorationSet* mDecorationSet = nullptr;
    float mLives = 0.0f;
    float mMaxLives = 0.0f;
    PendingUpgrade mPendingUpgrade;
    PendingBuild mPendingBuild;
    // 2 while a level start is pending; nothing sets it yet.
    int32_t mLoadState = 0;
    uint8_t mEndFlag = 0;
    // The running-game services this level answers; installed while it lives.
    NQMapServices* mServices = nullptr;

private:
    // Level file: step 1 (the previous level emptied), the roads (with the
    // lane paths keyed by their links), the spot frames with their badges,
    // and a spot's free tower.
    void ClearLevel(const std::wstring& path);
    void ClearRoads();
    void BuildSpotFrames();
    void AddSpotBadges(NQSpot* spot, NQFrameEntry* frame);
    void BuildStartTower(NQSpot* spot, NQFrameEntry* frame);
    // Routes: the table's lookup without sampling, and the sampling.
    bool FindStoredLanePath(const NQLink* link, int32_t offset, std::vector<NQPathSample*>& out) const;
    bool SampleLanePath(NQLink* link, int32_t offset, std::vector<NQPathSample*>& out);
    // The road point at s moved sideways by the offset.
    CurvePoint GetWalkingPoint(const NQLink* link, float s, float offset) const;
};

namespace game::testing
{
// Makes the level's HUD through `factory` instead of `new HUD`; empty restores it.
void SetHudFactory(std::function<HUD*()> factory);
} // namespace game::testing
