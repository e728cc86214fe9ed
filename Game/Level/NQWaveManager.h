#pragma once

#include "Game/Level/EnemyGrid.h"

#include <cstdint>
#include <vector>

namespace tinyxml2
{
class XMLDocument;
class XMLElement;
}
class NQEnemy;
class NQPoint;
class NQWaveEntry;
class NQWaveProto;

// The level's waves: the waves of the level file, the group running and the
// live enemies, on one clock.
class NQWaveManager
{
public:
    NQWaveManager();
    NQWaveManager(const NQWaveManager&) = delete;
    NQWaveManager& operator=(const NQWaveManager&) = delete;
    // The live enemies go before the waves whose entries they point to.
    ~NQWaveManager();

    // The waves of the "waves" element (none for null): every "wave" child
    // from the first on, each starting floor(timeout) later; waves without
    // entries are dropped.
    void LoadWaves(const tinyxml2::XMLElement* waves);
    // No wave runs and no group is done; every wave idle at its start, the
    // entries added during play deleted. The next index and the clock stay.
    void Reset();
    // The manager's clock and every active wave's become t.
    void SetClock(float t);

    // The wave step of a frame: dead enemies settled and removed, the next
    // group started, the running group advanced and ended, the level won.
    void Update(float dt);
    // The waves the player counts (those not linked to another).
    int32_t GetWaveCount() const;
    // The first enemy whose drawn rectangle holds the point, edges included.
    NQEnemy* EnemyAt(float x, float y) const;
    NQEnemy* AddEnemy(NQWaveEntry* entry, NQPoint* spawnPoint);
    // Appends every enemy, whatever its state, whose drawn position lies at
    // most size * 0.5 from the point.
    void GetEnemiesInRadius(float x, float y, float size, std::vector<NQEnemy*>& out) const;
    void UpdateEnemyModifiers(float dt);

    // Built before the towers update and dropped after, while no enemy
    // moves: the towers' range and aura queries then read only the enemies
    // near them and those with a tower aura, in list order.
    void BuildTowerQueries();
    void DropTowerQueries();
    // Null unless built for the list as it is.
    const EnemyGrid* GetGrid() const;
    // The enemies whose prototype blocks or slows towers; null unless built
    // for the list as it is.
    const std::vector<NQEnemy*>* GetTowerAuraEnemies() const;

    // Not owned: the running group among mWaves.
    std::vector<NQWaveProto*> mActiveWaves;
    // Made and destroyed here; nothing uses it.
    tinyxml2::XMLDocument* mDocument = nullptr;
    // Owned, level order.
    std::vector<NQWaveProto*> mWaves;
    // Owned, spawn order.
    std::vector<NQEnemy*> mEnemies;
    int32_t mNextWave = 0;
    int32_t mGroupsDone = 0;
    // The "waves" element's "timeout".
    float mGlobalDelay = 0.0f;
    // Seconds since the running group started.
    float mClock = 0.0f;
    // Seconds between groups on the developer's wave schedule.
    float mWaveGap = 0.0f;

private:
    EnemyGrid mGrid;
    std::vector<NQEnemy*> mTowerAuraEnemies;
};

// The enemy nearest to the point (squared distance below 1e9), the first on
// a tie; null for none.
NQEnemy* FindNearestEnemy(const std::vector<NQEnemy*>& enemies, float x, float y);
// Sorts by rising health.
bool CompareEnemyHealth(const NQEnemy* a, const NQEnemy* b);
