#pragma once

// Level particles: emitters of the particle library that the level updates
// every frame and deletes once one of them stops playing.
#include "Core/Math/Transform2D.h"

#include <string>
#include <vector>

namespace render
{
class Graphics;
class ParticleEmitter;
}

class NQEnemy;

using NQEmitterList = std::vector<render::ParticleEmitter*>;

// Every emitter of a non-empty list plays to its end.
void StopEmitters(NQEmitterList& emitters);

class NQParticle
{
public:
    NQParticle() = default;
    NQParticle(const NQParticle&) = delete;
    NQParticle& operator=(const NQParticle&) = delete;
    // Deletes the emitters.
    virtual ~NQParticle();

    virtual void Draw(render::Graphics* graphics);
    // Every emitter advances by dt.
    virtual void Update(float dt);
    // At least one emitter, and every one playing.
    bool IsPlaying() const;
    void Stop();

    // Owned, list order.
    NQEmitterList mEmitters;
    math::Transform2D mTransform;
};

// A chain of emitters of one effect from a fixed start to a moving enemy,
// one link per 30 units.
class NQBeamParticle : public NQParticle
{
public:
    static constexpr float kSegmentLength = 30.0f;
    // The beam reaches full length in 0.1 s.
    static constexpr float kIntensityRate = 10.0f;

    NQBeamParticle(float sourceX, float sourceY, NQEnemy* target, const std::string& emitterName);

    void Draw(render::Graphics* graphics) override;
    void Update(float dt) override;

    // The link count for the current target distance.
    int GetWantedLinks() const;
    // The beam's direction in degrees, [0, 360), from +y towards +x.
    float GetAngle() const;

    std::string mEmitterName;
    float mSegmentLength = kSegmentLength;
    float mIntensity = 0.0f;
    float mSourceX = 0.0f;
    float mSourceY = 0.0f;
    // Not owned; null once the enemy went (the beam then keeps its end point).
    NQEnemy* mTarget = nullptr;
    float mTargetX = 0.0f;
    float mTargetY = 0.0f;

private:
    // Reads the target's position when it still has one.
    void FollowTarget();
    // A new looping, playing link; false when the library lacks the effect.
    bool AddLink();
};
