#include "Game/Units/NQTowerSpecial.h"

namespace
{
// About 34.6 units.
constexpr float kPickSquared = 1200.0f;
}

void NQTowerSpecial::Update(float dt) { mProgress += dt; }

void NQTowerSpecial::Draw(render::Graphics*) {}

void NQTowerSpecial::SetState(int32_t state) { mState = state; }

void SetStateAll(NQSpecialList& list, int32_t state)
{
    for (NQTowerSpecial* special : list)
        special->SetState(state);
}

NQTowerSpecial* FindCollectableAt(const NQSpecialList& list, int32_t x, int32_t y)
{
    for (NQTowerSpecial* special : list)
    {
        if (special->mState != NQTowerSpecial::kLying)
            continue;
        const float dx = special->mX - float(x);
        const float dy = special->mY - float(y);
        if (dx * dx + dy * dy < kPickSquared)
            return special;
    }
    return nullptr;
}

bool HasCollectableAt(const NQSpecialList& list, int32_t x, int32_t y) { return FindCollectableAt(list, x, y); }
