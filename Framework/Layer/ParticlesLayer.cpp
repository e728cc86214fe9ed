#include "Framework/Layer/ParticlesLayer.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Framework/Layer/LayerDrawScope.h"

namespace layer
{
ParticlesLayer::~ParticlesLayer() { SetEmitter(nullptr, false); }

void ParticlesLayer::SetEmitter(render::ParticleEmitter* emitter, bool owns)
{
    // An owned emitter replaced by another would otherwise be lost.
    if (mEmitter && mOwnsEmitter && mEmitter != emitter)
        delete mEmitter;
    mEmitter = emitter;
    mOwnsEmitter = owns;
}

HVResultEnum ParticlesLayer::Draw(render::Graphics* g)
{
    if (!mEmitter || !g)
        return HV_OK;
    LayerDrawScope scope(*g, *this, 1, false);
    g->DrawParticles(mEmitter);
    return HV_OK;
}
} // namespace layer
