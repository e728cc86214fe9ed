#include "Game/Units/NQEffect.h"

#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"

namespace
{
constexpr int kStatePlaying = 1;
constexpr int kStatePlayToEnd = 2;
} // namespace

NQEffect::NQEffect(const std::string& name) : mEmitter(render::ParticleSystem::Instance()->CreateEmitter(name)) {}

NQEffect::~NQEffect()
{
    if (!mEmitter)
        return;
    if (mEmitter->mState == kStatePlaying)
        mEmitter->SetState(kStatePlayToEnd);
    delete mEmitter;
    mEmitter = nullptr;
}

void NQEffect::Update(float dt)
{
    if (!mEmitter)
        return;
    mTime += mSpeed * dt;
    mEmitter->Update(mSpeed * dt);
}

bool NQEffect::IsPlaying() const { return mEmitter && mEmitter->mState == kStatePlaying; }
