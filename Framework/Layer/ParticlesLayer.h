#pragma once

// Draws a particle emitter at the layer's place; never takes a hit itself.
#include "Framework/Layer/Layer.h"

namespace render
{
class ParticleEmitter;
}

namespace layer
{
class ParticlesLayer : public Layer
{
public:
    ParticlesLayer() = default;
    ~ParticlesLayer() override;

    // Stores both; an owned emitter is deleted with the layer.
    void SetEmitter(render::ParticleEmitter* emitter, bool owns);
    render::ParticleEmitter* GetEmitter() const { return mEmitter; }

    HVResultEnum Draw(render::Graphics* g) override;

    render::ParticleEmitter* mEmitter = nullptr;
    bool mOwnsEmitter = false;
};
} // namespace layer
