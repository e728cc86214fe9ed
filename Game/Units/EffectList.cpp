#include "Game/Units/EffectList.h"

#include "Core/Render/ParticleEmitter.h"
#include "Game/Units/NQEffect.h"

namespace
{
constexpr int kPositionMode = 1;
constexpr int kStatePlaying = 1;

game::testing::EffectObserver& Observer()
{
    static game::testing::EffectObserver observer;
    return observer;
}
} // namespace

NQEffect* PlaceEffect(NQEffectList& list, const std::string& name, float x, float y, int loopMode)
{
    auto* effect = new NQEffect(name);
    if (render::ParticleEmitter* emitter = effect->mEmitter)
    {
        if (loopMode != kKeepLoopMode)
            emitter->SetLoopMode(loopMode);
        const float position[2] = {x, y};
        emitter->SetPosition(position, kPositionMode);
        emitter->SetState(kStatePlaying);
    }
    list.push_back(effect);
    if (Observer())
        Observer()(name, x, y, list);
    return effect;
}

void UpdateEffectList(NQEffectList& list, float dt)
{
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i)
    {
        NQEffect* effect = list[i];
        if (effect->IsPlaying())
            effect->Update(dt);
        else if (!effect->mHeld)
        {
            delete effect;
            continue;
        }
        list[kept++] = effect;
    }
    list.resize(kept);
}

namespace game::testing
{
void SetEffectObserver(EffectObserver observer) { Observer() = std::move(observer); }
} // namespace game::testing
