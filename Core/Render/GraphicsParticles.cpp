#include "Core/Render/Graphics.h"

namespace render
{
DrawUntransformedParam<DrawParticlesParam> Graphics::DrawParticles(ParticleEmitter* emitter)
{
    return DrawUntransformedParam<DrawParticlesParam>(DrawParticlesParam(this, emitter));
}
} // namespace render
