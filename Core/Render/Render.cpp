#include "Core/Render/Render.h"

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/VertexFormat.h"

#include <algorithm>

namespace render
{
namespace
{
// Six indices per quad: the main buffer holds 1,706 quads. Its overflow
// buffers are as large, so that thousands of quads of one texture make a
// handful of draws instead of one per 170 quads.
constexpr uint32_t kIndexCache16Capacity = 10240;
constexpr uint32_t kIndexCache16Overflow = kIndexCache16Capacity;
constexpr uint32_t kIndexCache32Capacity = 61440;
constexpr uint32_t kIndexCache32Overflow = 10240;
} // namespace

Render::Render() = default;

Render::~Render()
{
    for (BufferDoubleCacheBase* cache : mVertexCaches)
        delete cache;
}

HVResultEnum Render::InitRender(app::Window*, const RenderInitParam& param)
{
    ShaderImpl* impl = nullptr;
    HVResultEnum result = CreateGeomShaderImpl(&impl);
    if (result != HV_OK)
        return result;
    mGeomShader = new Shader(this, impl);
    mGeomShader->BindVariables();

    result = CreateTexturedMultShaderImpl(&impl);
    if (result != HV_OK)
        return result;
    mTexturedMultShader = new ShaderTextured(this, impl);
    mTexturedMultShader->BindVariables();

    result = CreateTexturedTintShaderImpl(&impl);
    if (result != HV_OK)
        return result;
    mTexturedTintShader = new ShaderTextured(this, impl);
    mTexturedTintShader->BindVariables();

    const std::vector<VertexFormat>& formats = VertexFormats();
    mVertexCaches.assign(formats.size(), nullptr);
    for (size_t i = 0; i < formats.size(); ++i)
    {
        if (formats[i].mCacheCapacity == 0 && formats[i].mOverflowCapacity == 0)
            continue;
        result = CacheCreators()[i]->Create(this, formats[i].mCacheCapacity, formats[i].mOverflowCapacity,
                                            &mVertexCaches[i]);
        if (result != HV_OK)
            return result;
    }

    result = CreateIndexCache16(kIndexCache16Capacity, kIndexCache16Overflow);
    if (result != HV_OK)
        return result;
    if (mIndices32)
    {
        result = CreateIndexCache32(kIndexCache32Capacity, kIndexCache32Overflow);
        if (result != HV_OK)
            return result;
    }

    if (param.mDeriveProjection)
        MakeOrthoProjection(float(param.mWidth), float(param.mHeight), 0.0f, &mProjection);
    else
        mProjection = param.mProjection;
    mScaleX = param.mScaleX;
    mScaleY = param.mScaleY;
    mOffsetX = param.mOffsetX;
    mOffsetY = param.mOffsetY;
    InitStates();
    return HV_OK;
}

HVResultEnum Render::MakeOrthoProjection(float width, float height, float, math::Matrix4* out)
{
    out->SetIdentity();
    out->m[0] = 2.0f / width;
    out->m[5] = -2.0f / height;
    out->m[10] = 1.0f;
    out->m[12] = -1.0f;
    out->m[13] = 1.0f;
    out->m[14] = 0.0f;
    return HV_OK;
}

HVResultEnum Render::OnResetState() { return HV_OK; }

HVResultEnum Render::VirtualToViewportRect(const float rect[4], uint32_t out[4])
{
    const RenderState& p = mPending;
    float x = rect[0] * p.mScaleX + p.mOffsetX;
    float y = rect[1] * p.mScaleY + p.mOffsetY;
    float w = rect[2] * p.mScaleX;
    float h = rect[3] * p.mScaleY;
    // A rectangle reaching left of or above the target loses that part:
    // negative values have no unsigned form.
    if (!(x >= 0.0f))
    {
        w += x;
        x = 0.0f;
    }
    if (!(y >= 0.0f))
    {
        h += y;
        y = 0.0f;
    }
    const float values[4] = {x, y, std::max(w, 0.0f), std::max(h, 0.0f)};
    for (int i = 0; i < 4; ++i)
        out[i] = values[i] < 4294967040.0f ? static_cast<uint32_t>(values[i]) : 0xFFFFFF00u;
    return HV_OK;
}

bool Render::CheckDeviceReady()
{
    if (IsDeviceReady())
        return true;
    ForgetFrame();
    return false;
}

void Render::ForgetFrame()
{
    for (BufferDoubleCacheBase* cache : mVertexCaches)
        if (cache && cache->IsOpen())
            cache->Unlock();
    if (mIndexCache16 && mIndexCache16->IsOpen())
        mIndexCache16->Unlock();
    if (mIndexCache32 && mIndexCache32->IsOpen())
        mIndexCache32->Unlock();
    const bool recorded = mCommands.GetPosition() != 0;
    mCommands.Seek(0, 0);
    mInFrame = 0;
    mAwaitingReplay = false;
    ResetPendingDraw();
    // Dropped commands never reached the device: what the recorder believes
    // was applied no longer holds.
    if (recorded)
        ForceFullResend();
}

void Render::ForceFullResend()
{
    InitStates();
    // Values no block can hold, so that the next flush records every state.
    mApplied.mBlendMode = -1;
    mApplied.mFilter = -1;
    mApplied.mScissorEnabled = 2;
    mApplied.mDepthEnable = 2;
    mApplied.mDepthWrite = 2;
    mStateDirty = 1;
    mLastTargetUnknown = true;
    for (ShaderImpl* impl : mShaderImpls)
        impl->MarkAllDirty();
}

HVResultEnum Render::BeginFrame()
{
    bool broken = mInFrame || mAwaitingReplay;
    for (BufferDoubleCacheBase* cache : mVertexCaches)
        broken = broken || (cache && cache->IsOpen());
    broken = broken || (mIndexCache16 && mIndexCache16->IsOpen()) || (mIndexCache32 && mIndexCache32->IsOpen());
    // A frame abandoned half-way would keep every later frame from opening.
    if (broken)
    {
        ForgetFrame();
        ForceFullResend();
    }

    mInFrame = 1;
    if (!mCommands.Put(uint32_t(kOpBeginScene)))
        return HV_FAIL;
    for (BufferDoubleCacheBase* cache : mVertexCaches)
        if (cache)
        {
            const HVResultEnum result = cache->Lock();
            if (result != HV_OK)
                return result;
        }
    if (mIndexCache16)
    {
        const HVResultEnum result = mIndexCache16->Lock();
        if (result != HV_OK)
            return result;
    }
    if (mIndexCache32)
        return mIndexCache32->Lock();
    return HV_OK;
}

HVResultEnum Render::EndFrame()
{
    mInFrame = 0;
    mAwaitingReplay = true;
    for (BufferDoubleCacheBase* cache : mVertexCaches)
        if (cache)
        {
            const HVResultEnum result = cache->Unlock();
            if (result != HV_OK)
                return result;
        }
    if (mIndexCache16)
    {
        const HVResultEnum result = mIndexCache16->Unlock();
        if (result != HV_OK)
            return result;
    }
    if (mIndexCache32)
    {
        const HVResultEnum result = mIndexCache32->Unlock();
        if (result != HV_OK)
            return result;
    }
    const HVResultEnum result = FlushPendingDraw();
    if (result != HV_OK)
        return result;
    return mCommands.Put(uint32_t(kOpEndScene)) ? HV_OK : HV_FAIL;
}

HVResultEnum Render::Present() { return mCommands.Put(uint32_t(kOpPresent)) ? HV_OK : HV_FAIL; }

HVResultEnum Render::SetState(const RenderState* block, bool force)
{
    if (block == mLastStateBlock && !force)
        return HV_OK;
    mLastStateBlock = block;
    RenderState& p = mPending;
    const RenderState& b = *block;
    if (b.mTarget != p.mTarget)
    {
        p.mTarget = b.mTarget;
        p.mScaleX = b.mScaleX;
        p.mScaleY = b.mScaleY;
        p.mOffsetX = b.mOffsetX;
        p.mOffsetY = b.mOffsetY;
        mStateDirty = 1;
    }
    auto take = [this](auto& dst, const auto& src) {
        if (dst != src)
        {
            dst = src;
            mStateDirty = 1;
        }
    };
    take(p.mShader, b.mShader);
    take(p.mVertexBuffer, b.mVertexBuffer);
    take(p.mIndexBuffer, b.mIndexBuffer);
    take(p.mBlendMode, b.mBlendMode);
    take(p.mFilter, b.mFilter);
    take(p.mScissorEnabled, b.mScissorEnabled);
    if (p.mScissorEnabled)
        for (int i = 0; i < 4; ++i)
            take(p.mScissorRect[i], b.mScissorRect[i]);
    take(p.mDepthEnable, b.mDepthEnable);
    if (p.mDepthEnable)
        take(p.mDepthWrite, b.mDepthWrite);
    return HV_OK;
}

HVResultEnum Render::SetTarget(const RenderState* block)
{
    if (block->mTarget != mPending.mTarget)
    {
        mPending.mTarget = block->mTarget;
        mPending.mScaleX = block->mScaleX;
        mPending.mScaleY = block->mScaleY;
        mPending.mOffsetX = block->mOffsetX;
        mPending.mOffsetY = block->mOffsetY;
        mStateDirty = 1;
    }
    return HV_OK;
}

HVResultEnum Render::GetGeomShader(resource::ResourceHandle<Shader>& out)
{
    out = resource::ResourceHandle<Shader>(mGeomShader, nullptr);
    return HV_OK;
}

HVResultEnum Render::GetTexturedMultShader(resource::ResourceHandle<ShaderTextured>& out)
{
    out = resource::ResourceHandle<ShaderTextured>(mTexturedMultShader, nullptr);
    return HV_OK;
}

HVResultEnum Render::GetTexturedTintShader(resource::ResourceHandle<ShaderTextured>& out)
{
    out = resource::ResourceHandle<ShaderTextured>(mTexturedTintShader, nullptr);
    return HV_OK;
}

void Render::InitStates()
{
    mApplied = RenderState();
    mApplied.mScaleX = mScaleX;
    mApplied.mScaleY = mScaleY;
    mApplied.mOffsetX = mOffsetX;
    mApplied.mOffsetY = mOffsetY;
    mPending = mApplied;
    mLastStateBlock = nullptr;
    // After a reset the device draws into the back buffer again.
    mLastTarget = nullptr;
    mLastTargetUnknown = false;
}

void Render::ReleaseResources()
{
    for (BufferDoubleCacheBase*& cache : mVertexCaches)
    {
        delete cache;
        cache = nullptr;
    }
    mVertexCaches.clear();
    delete mIndexCache16;
    mIndexCache16 = nullptr;
    delete mIndexCache32;
    mIndexCache32 = nullptr;
    // Start-up may have stopped before every shader existed.
    Shader* shaders[3] = {mGeomShader, mTexturedMultShader, mTexturedTintShader};
    for (Shader* shader : shaders)
        if (shader)
        {
            shader->UnLoad();
            delete shader;
        }
    mGeomShader = nullptr;
    mTexturedMultShader = nullptr;
    mTexturedTintShader = nullptr;
}

HVResultEnum Render::CreateIndexCache16(uint32_t capacity, uint32_t overflowCapacity)
{
    return IndexCache16::Create(this, capacity, overflowCapacity, &mIndexCache16);
}

HVResultEnum Render::CreateIndexCache32(uint32_t capacity, uint32_t overflowCapacity)
{
    return IndexCache32::Create(this, capacity, overflowCapacity, &mIndexCache32);
}

BufferDoubleCacheBase* Render::GetVertexCache(int32_t formatId) const
{
    if (formatId < 0 || size_t(formatId) >= mVertexCaches.size())
        return nullptr;
    return mVertexCaches[size_t(formatId)];
}
} // namespace render
