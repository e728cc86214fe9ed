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
    // Whether the emitter plays; false without one.
    bool IsPlaying() const;

    float mSpeed = 1.0f;
    float mTime = 0.0f;
    render::ParticleEmitter* mEmitter = nullptr;
    // Set by an owner that keeps pointing at the effect: the effect lists
    // then keep it even after it stopped, until the owner lets go.
    bool mHeld = false;
};
