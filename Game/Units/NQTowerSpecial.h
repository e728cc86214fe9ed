#pragma once

// A small collectable of the battlefield that flies out, lies on the ground
// and is collected; lists of specials own them.
#include <cstdint>
#include <vector>

namespace render
{
class Graphics;
}

class NQTowerSpecial
{
public:
    enum State : int32_t
    {
        kFlyingOut = 0,
        kLying = 1,
        kCollected = 2,
    };

    NQTowerSpecial() = default;
    NQTowerSpecial(const NQTowerSpecial&) = delete;
    NQTowerSpecial& operator=(const NQTowerSpecial&) = delete;
    virtual ~NQTowerSpecial() = default;

    virtual void Update(float dt);
    // The base draws nothing.
    virtual void Draw(render::Graphics* graphics);
    virtual void Unused() {}
    virtual void SetState(int32_t state);

    // The flight's position 0 to 1; afterwards the age on the ground.
    float mProgress = 0.0f;
    int32_t mState = kFlyingOut;
    bool mAlive = true;
    // Where it was last drawn.
    float mX = 0.0f;
    float mY = 0.0f;
};

using NQSpecialList = std::vector<NQTowerSpecial*>;

void SetStateAll(NQSpecialList& list, int32_t state);
// The first lying special whose current position is closer than sqrt(1200)
// to the point; null when none.
NQTowerSpecial* FindCollectableAt(const NQSpecialList& list, int32_t x, int32_t y);
// Whether there is one.
bool HasCollectableAt(const NQSpecialList& list, int32_t x, int32_t y);
