#pragma once

// A running particle effect with its own emitter.
#include <string>

namespace render
{
class ParticleEmitter;
}

class NQEffect
{
public:
    // No emitter for an unknown name; every operation then does nothing.
    explicit NQEffect(const std::string& name);
    NQEffect(const NQEffect&) = delete;
    NQEffect& operator=(const NQEffect&) = delete;
    // A playing emitter is let play to its end before it is deleted.
    virtual ~NQEffect();

    void Update(float dt);

    float mSpeed = 1.0f;
    float mTime = 0.0f;
    render::ParticleEmitter* mEmitter = nullptr;
};
