#include "Core/Render/ParticleEmitter.h"

#include "Platform/Magic/Magic.h"

namespace render
{
ParticleEmitter::ParticleEmitter(int emitter)
    : mEmitter(emitter)
{
}

ParticleEmitter::ParticleEmitter(const ParticleEmitter& prototype)
    : mEmitter(Magic_DuplicateEmitter(prototype.mEmitter))
{
}

ParticleEmitter::~ParticleEmitter() { Magic_UnloadEmitter(mEmitter); }

void ParticleEmitter::SetPosition(const float xy[2], int mode)
{
    Magic_SetEmitterPositionMode(mEmitter, mode);
    const float position[2] = {xy[0], xy[1]};
    Magic_SetEmitterPosition(mEmitter, position);
}

std::array<float, 2> ParticleEmitter::GetPosition() const
{
    std::array<float, 2> xy = {0, 0};
    Magic_GetEmitterPosition(mEmitter, xy.data());
    return xy;
}

void ParticleEmitter::SetDirection(float degrees) { Magic_SetEmitterDirection(mEmitter, &degrees); }

void ParticleEmitter::SetLoopMode(int mode) { Magic_SetLoopMode(mEmitter, mode == 1 || mode == 2 ? mode : 0); }

void ParticleEmitter::SetState(int state)
{
    if (state == mState)
        return;
    switch (state)
    {
    case 0:
        // Playing to the end stops by itself; anything else is cut off.
        if (mState != 2)
            Magic_Stop(mEmitter);
        break;
    case 1:
        if (Magic_IsInterrupt(mEmitter))
            Magic_SetInterrupt(mEmitter, false);
        if (mState == 0 || !Magic_InInterval(mEmitter))
            Magic_EmitterToInterval1(mEmitter, 1.0f, nullptr);
        break;
    case 2:
        if (mState == 0 || !Magic_InInterval(mEmitter))
            Magic_EmitterToInterval1(mEmitter, 1.0f, nullptr);
        Magic_SetInterrupt(mEmitter, true);
        break;
    default:
        break;
    }
    mState = state;
}

void ParticleEmitter::Update(double seconds)
{
    if (mState != 1 && mState != 2)
        return;
    const double ms = Magic_IsInterpolationMode(mEmitter) ? seconds * 1000.0 : Magic_GetUpdateTime(mEmitter);
    if (Magic_Update(mEmitter, ms))
        return;
    if (mState != 2)
        Magic_Stop(mEmitter);
    mState = 0;
}
} // namespace render
