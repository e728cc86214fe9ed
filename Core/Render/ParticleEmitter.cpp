#include "Core/Render/ParticleEmitter.h"

#include "Core/Math/BoundingBox.h"
#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/ColorARGB.h"
#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleSystem.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/Vertices.h"
#include "Platform/Magic/Magic.h"

namespace render
{
ParticleEmitter::ParticleEmitter(int emitter)
    : mEmitter(emitter)
{
}

ParticleEmitter::ParticleEmitter(const ParticleEmitter& prototype)
    : GraphicsFriend(prototype)
    , mEmitter(Magic_DuplicateEmitter(prototype.mEmitter))
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

int ParticleEmitter::Draw(Graphics* context, DrawParam* transform, ParticleDrawOutput& out)
{
    Attach(context);
    out.count = 0;
    if (out.localBox)
        *out.localBox = math::BoundingBox();
    if (out.transformedBox)
        *out.transformedBox = math::BoundingBox();
    ShaderTextured* shader = context ? context->mTexturedShader : nullptr;
    if (!shader)
        return HV_FAIL;
    SetShader(shader->GetImpl());
    SetProjection(shader);
    const int blendMode = context->GetState().mBlendMode;
    int result = HV_OK;
    // Other states store a value the emitter neither updates nor draws in.
    if ((mState == 1 || mState == 2) && Magic_InInterval(mEmitter))
        result = DrawLists(transform, out);
    // Restored on failure too: a failed list must not leave its blending
    // to the draws that follow.
    context->SetBlendMode(blendMode);
    return result;
}

int ParticleEmitter::DrawLists(DrawParam* transform, ParticleDrawOutput& out)
{
    const std::vector<Image*>& atlases = ParticleSystem::Instance()->mAtlases;
    auto* shader = mContext->mTexturedShader;
    auto* vertexCache = GetVertexCache<SVertex2D>(mRender);
    auto* indexCache = mRender->GetIndexCache16();
    if (!vertexCache || !indexCache)
        return HV_FAIL;
    const float* contextColour = mContext->mColor;
    MagicListRecord list{};
    for (Magic_CreateFirstRenderedParticlesList(mEmitter, &list); list.count > 0;
         Magic_CreateNextRenderedParticlesList(&list))
    {
        // A list whose picture is missing cannot be drawn; the others still can.
        if (list.texture < 0 || size_t(list.texture) >= atlases.size() || !atlases[size_t(list.texture)])
            continue;
        mContext->SetBlendMode(list.intense ? kBlendAdditive : kBlendAlpha);
        shader->SetTexture(atlases[size_t(list.texture)]);

        const uint32_t n = uint32_t(list.count);
        SVertex2D* v = nullptr;
        BufferRange<VertexBuffer<SVertex2D>> vertexRange;
        int result = vertexCache->Reserve(4 * n, &v, vertexRange);
        if (result != HV_OK)
            return result;
        unsigned short* index = nullptr;
        BufferRange<IndexBuffer<unsigned short>> indexRange;
        if ((result = indexCache->Reserve(6 * n, &index, indexRange)) != HV_OK)
            return result;

        // Only the particles the library hands out are drawn, should it
        // end the list early.
        uint32_t drawn = 0;
        MagicVertexRecord particle;
        while (drawn < n && Magic_GetNextParticleVertexes(&particle))
        {
            std::array<float, 4> colour = ColorFromARGB(particle.color);
            for (int c = 0; c < 4; ++c)
                colour[size_t(c)] *= contextColour[c];
            const uint32_t diffuse = ColorToARGB(colour.data());
            SVertex2D* quad = v + 4 * drawn;
            for (int k = 0; k < 4; ++k)
            {
                const auto& corner = particle.corner[k];
                quad[k] = {corner.x, corner.y, 0, 1, diffuse, 0xFFFFFFFFu, corner.u, corner.v};
                if (out.localBox)
                    out.localBox->Extend(math::Vector3(corner.x, corner.y, 0));
            }
            const unsigned short f = static_cast<unsigned short>(vertexRange.mFirst + 4 * drawn);
            const unsigned short order[6] = {0, 1, 2, 0, 2, 3};
            for (int i = 0; i < 6; ++i)
                index[6 * drawn + uint32_t(i)] = static_cast<unsigned short>(f + order[i]);
            ++drawn;
        }
        if (drawn == 0)
            continue;

        const unsigned vertexCount = 4 * drawn;
        if (transform && (result = transform->TransformVertices(v, &SVertex2D::Format, vertexCount)) != HV_OK)
            return result;
        if (out.transformedBox)
            for (unsigned i = 0; i < vertexCount; ++i)
                out.transformedBox->Extend(math::Vector3(v[i].x, v[i].y, v[i].z));
        if ((result = ApplyWorldTransform(v, &SVertex2D::Format, vertexCount)) != HV_OK ||
            (result = ApplyHalfPixelOffset(v, &SVertex2D::Format, vertexCount)) != HV_OK)
            return result;

        SetVertexBuffer(vertexRange.mBuffer->mImpl);
        SetIndexBuffer(indexRange.mBuffer->mImpl);
        if ((result = ApplyState()) != HV_OK ||
            (result = mRender->DrawIndexedPrimitive(kPrimitiveTriangles, indexRange.mFirst, 2 * drawn, vertexRange.mFirst,
                                                    vertexCount)) != HV_OK)
            return result;
        out.count += int(drawn);
    }
    return HV_OK;
}
} // namespace render
