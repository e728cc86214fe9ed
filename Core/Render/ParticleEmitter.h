#pragma once

#include "Core/Base/Result.h"

#include <array>

namespace render
{
// One playing instance of a particle effect.
class ParticleEmitter
{
public:
    // A prototype around a loaded library emitter: no context, state 0.
    explicit ParticleEmitter(int emitter);
    // A new instance of the prototype's effect with its own library emitter.
    ParticleEmitter(const ParticleEmitter& prototype);
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;
    ~ParticleEmitter();

    void SetPosition(const float xy[2], int mode);
    std::array<float, 2> GetPosition() const;
    void SetDirection(float degrees);
    // 1 and 2 loop; any other value plays once.
    void SetLoopMode(int mode);
    void SetState(int state);
    void Update(double seconds);

    int GetEmitter() const { return mEmitter; }

private:
    int mEmitter;

public:
    // 0 stopped, 1 playing, 2 playing to the end; the game reads it after every update.
    int mState = 0;
};
} // namespace render
