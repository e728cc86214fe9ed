#pragma once

// Base of the timed effects on enemies, towers and the level: a clock, a
// tick every period and an end after the duration.
#include <cstdint>
#include <string>
#include <vector>

class NQEnemy;

class NQModifier
{
public:
    // Ends never.
    static constexpr float kEndless = -1.0f;
    // Ticks at every update.
    static constexpr float kEveryUpdate = -1.0f;

    NQModifier(const std::string& name, float value, float duration, void* source);
    NQModifier(const NQModifier&) = delete;
    NQModifier& operator=(const NQModifier&) = delete;

    // Clock, tick and expiry; owner is the enemy carrying it, or null.
    virtual void Update(NQEnemy* owner, float dt);
    virtual void Tick(NQEnemy* owner, float dt);
    virtual ~NQModifier() = default;
    // A source that is going away is no longer pointed at.
    virtual void ForgetSource(void* object);

    // 1 for an enemy's own ability.
    uint8_t mAbility = 0;
    // 101 marks an area-damage marker.
    int32_t mKind = 0;
    uint8_t mActive = 1;
    std::string mName;
    float mValue = 0.0f;
    float mDuration = kEndless;
    float mElapsed = 0.0f;
    float mAccumulator = 0.0f;
    float mPeriod = kEveryUpdate;
    float mAreaX = 0.0f;
    float mAreaY = 0.0f;
    // A diameter: the area reaches half of it from its centre.
    float mAreaSize = 0.0f;
    // The object that caused it (a tower), not owned; null for none.
    void* mSource = nullptr;

protected:
    void SetArea(float x, float y, float size);
    // The level's enemies in the area, whatever their state, in list order.
    std::vector<NQEnemy*> FindEnemiesInArea() const;
};
