#pragma once

#include "Core/Render/GraphicsFriend.h"

#include <array>

namespace math
{
struct BoundingBox;
}

namespace render
{
class DrawParam;

// What a particle draw reports: the particles drawn and, when asked for,
// the bounds of their vertices before and after the record's transform.
struct ParticleDrawOutput
{
    int count = 0;
    math::BoundingBox* localBox = nullptr;
    math::BoundingBox* transformedBox = nullptr;
};

// One playing instance of a particle effect.
class ParticleEmitter : public GraphicsFriend
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
    // One indexed triangle list per rendered list of the library. The
    // context's blend mode is the same afterwards, whatever happened.
    int Draw(Graphics* context, DrawParam* transform, ParticleDrawOutput& out);

    int GetEmitter() const { return mEmitter; }

private:
    int DrawLists(DrawParam* transform, ParticleDrawOutput& out);

    int mEmitter;

public:
    // 0 stopped, 1 playing, 2 playing to the end; the game reads it after every update.
    int mState = 0;
};
} // namespace render
