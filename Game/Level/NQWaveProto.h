#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}
class NQWaveEntry;

// One wave of the level file: its entries, where they spawn and when its
// group starts them.
class NQWaveProto
{
public:
    // Idle, not linked, scale 1, no entries.
    NQWaveProto() = default;
    NQWaveProto(const NQWaveProto&) = delete;
    NQWaveProto& operator=(const NQWaveProto&) = delete;
    virtual ~NQWaveProto();

    // Time += dt; a running wave spawns what is due.
    virtual void Update(float dt);
    // Every entry killed or gone (true without entries).
    virtual bool IsFinished();
    // Told when an enemy of the wave is forgotten; does nothing.
    virtual void OnEnemyEvent(int32_t protoId, float value, int32_t extra);

    // Every waiting entry whose moment has come is spawned.
    void SpawnDue();

    // The attributes and every child element as an entry.
    void loadFromXML(const tinyxml2::XMLElement* wave);

    // Seconds since the wave was started.
    float mTime = 0.0f;
    // 0 idle, 1 running.
    int32_t mState = 0;
    // The point its enemies start from; -1 the level's first spawn point.
    int32_t mSpawn = 0;
    // Start of its entries in seconds from the start of its group.
    int32_t mTimeout = 0;
    int32_t mWipeAward = 0;
    // The index in the wave list of the wave it starts with; -1 its own group.
    int32_t mLinked = -1;
    float mScale = 1.0f;
    int32_t mSpawnedCount = 0;
    // Owned, file order, then entries added during play.
    std::vector<NQWaveEntry*> mEntries;
    // The route to the goal by start point id, searched for the wave's first
    // enemy there and walked by all the others (the roads do not change).
    std::map<int32_t, std::vector<int32_t>> mRoutes;
};
