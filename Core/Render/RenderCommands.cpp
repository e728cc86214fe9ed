#include "Core/Render/Buffer.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Render/VertexFormat.h"

#include <algorithm>
#include <cstring>

namespace render
{
namespace
{
// Vertices per primitive; 0 for strips, fans and anything unknown: never merged.
uint32_t VerticesPerPrimitive(int32_t type)
{
    switch (type)
    {
    case kPrimitiveTriangles: return 3;
    case kPrimitiveLines: return 2;
    case kPrimitivePoints: return 1;
    default: return 0;
    }
}

int32_t FormatIdOf(const VertexBufferImpl* buffer);
} // namespace

void Render::ResetPendingDraw()
{
    mPendingIndexed = 0;
    mPendingType = kPrimitiveNone;
    mPendingStart = 0;
    mPendingCount = 0;
    mPendingMinIndex = 0;
    mPendingVertexCount = 0;
}

bool Render::IsDrawDirty() const
{
    return mStateDirty || (mPending.mShader && mPending.mShader->IsVariablesDirty());
}

HVResultEnum Render::DrawPrimitive(int32_t type, uint32_t start, uint32_t count)
{
    const uint32_t k = VerticesPerPrimitive(type);
    const bool dirty = IsDrawDirty();
    if (!mPendingIndexed && mPendingType == type && mPendingCount != 0 && k != 0 &&
        mPendingStart + mPendingCount * k == start && !dirty)
    {
        mPendingCount += count;
        return HV_OK;
    }
    HVResultEnum result = FlushPendingDraw();
    if (result != HV_OK)
        return result;
    if (dirty && (result = FlushState()) != HV_OK)
        return result;
    mPendingIndexed = 0;
    mPendingType = type;
    mPendingStart = start;
    mPendingCount = count;
    mPendingMinIndex = 0;
    mPendingVertexCount = 0;
    return HV_OK;
}

HVResultEnum Render::DrawIndexedPrimitive(int32_t type, uint32_t start, uint32_t count, uint32_t minIndex,
                                          uint32_t vertexCount)
{
    const uint32_t k = VerticesPerPrimitive(type);
    const bool dirty = IsDrawDirty();
    if (mPendingIndexed && mPendingType == type && mPendingCount != 0 && k != 0 &&
        mPendingStart + mPendingCount * k == start && !dirty)
    {
        mPendingCount += count;
        const uint32_t newMin = std::min(mPendingMinIndex, minIndex);
        const uint32_t newEnd = std::max(mPendingMinIndex + mPendingVertexCount, minIndex + vertexCount);
        mPendingMinIndex = newMin;
        mPendingVertexCount = newEnd - newMin;
        return HV_OK;
    }
    HVResultEnum result = FlushPendingDraw();
    if (result != HV_OK)
        return result;
    if (dirty && (result = FlushState()) != HV_OK)
        return result;
    mPendingIndexed = 1;
    mPendingType = type;
    mPendingStart = start;
    mPendingCount = count;
    mPendingMinIndex = minIndex;
    mPendingVertexCount = vertexCount;
    return HV_OK;
}

HVResultEnum Render::FlushPendingDraw()
{
    if (mPendingCount == 0)
        return HV_OK;
    const uint32_t position = mCommands.GetPosition();
    bool ok;
    if (!mPendingIndexed)
        ok = mCommands.Put(uint32_t(kOpDraw)) && mCommands.Put(mPendingType) && mCommands.Put(mPendingStart) &&
             mCommands.Put(mPendingCount);
    else
    {
        const uint32_t indexSize = mApplied.mIndexBuffer ? mApplied.mIndexBuffer->GetElementSize() : 0;
        ok = mCommands.Put(uint32_t(kOpDrawIndexed)) && mCommands.Put(mPendingType) && mCommands.Put(indexSize) &&
             mCommands.Put(mPendingStart) && mCommands.Put(mPendingCount) && mCommands.Put(mPendingMinIndex) &&
             mCommands.Put(mPendingVertexCount);
    }
    if (!ok)
    {
        // A half-written command must not replay.
        mCommands.Seek(int32_t(position), 0);
        return HV_FAIL;
    }
    ResetPendingDraw();
    return HV_OK;
}

HVResultEnum Render::RecordTarget(Texture* target)
{
    const bool ok = target ? mCommands.Put(uint32_t(kOpSetTarget)) && mCommands.PutPointer(target)
                           : mCommands.Put(uint32_t(kOpBackBuffer));
    if (!ok)
        return HV_FAIL;
    mLastTarget = target;
    mLastTargetUnknown = false;
    return HV_OK;
}

HVResultEnum Render::FlushState()
{
    RenderState& a = mApplied;
    const RenderState& p = mPending;
    if (mStateDirty)
    {
        if ((mLastTargetUnknown || mLastTarget != p.mTarget) && RecordTarget(p.mTarget) != HV_OK)
            return HV_FAIL;
        const bool targetChanged = a.mTarget != p.mTarget;
        a.mTarget = p.mTarget;
        a.mScaleX = p.mScaleX;
        a.mScaleY = p.mScaleY;
        a.mOffsetX = p.mOffsetX;
        a.mOffsetY = p.mOffsetY;
        mLastTarget = a.mTarget;

        if (a.mShader != p.mShader)
        {
            if (!mCommands.Put(uint32_t(kOpSetShader)) || !mCommands.PutPointer(p.mShader))
                return HV_FAIL;
            if (a.mShader)
                a.mShader->OnDeactivate();
            if (p.mShader)
                p.mShader->OnActivate();
            a.mShader = p.mShader;
        }
        if (a.mVertexBuffer != p.mVertexBuffer)
        {
            const int32_t format = FormatIdOf(p.mVertexBuffer);
            if (!a.mVertexBuffer || FormatIdOf(a.mVertexBuffer) != format)
                if (!mCommands.Put(uint32_t(kOpVertexFormat)) || !mCommands.Put(format))
                    return HV_FAIL;
            if (!mCommands.Put(uint32_t(kOpVertexBuffer)) || !mCommands.PutPointer(p.mVertexBuffer))
                return HV_FAIL;
            a.mVertexBuffer = p.mVertexBuffer;
        }
        if (a.mIndexBuffer != p.mIndexBuffer)
        {
            if (!mCommands.Put(uint32_t(kOpIndexBuffer)) || !mCommands.PutPointer(p.mIndexBuffer))
                return HV_FAIL;
            a.mIndexBuffer = p.mIndexBuffer;
        }
        if (a.mBlendMode != p.mBlendMode)
        {
            if (!mCommands.Put(uint32_t(kOpBlendMode)) || !mCommands.Put(p.mBlendMode))
                return HV_FAIL;
            a.mBlendMode = p.mBlendMode;
        }
        if (a.mFilter != p.mFilter)
        {
            if (!mCommands.Put(uint32_t(kOpSamplerFilter)) || !mCommands.Put(p.mFilter))
                return HV_FAIL;
            a.mFilter = p.mFilter;
        }
        const bool follow = targetChanged && mScissorFollowsTarget;
        if (a.mScissorEnabled != p.mScissorEnabled || follow)
        {
            if (!mCommands.Put(uint32_t(kOpScissorEnable)) || !mCommands.Put(p.mScissorEnabled))
                return HV_FAIL;
            a.mScissorEnabled = p.mScissorEnabled;
        }
        if ((p.mScissorEnabled && std::memcmp(a.mScissorRect, p.mScissorRect, sizeof a.mScissorRect) != 0) || follow)
        {
            uint32_t rect[4];
            VirtualToViewportRect(p.mScissorRect, rect);
            if (!mCommands.Put(uint32_t(kOpScissorRect)) || !mCommands.Put(rect))
                return HV_FAIL;
            std::memcpy(a.mScissorRect, p.mScissorRect, sizeof a.mScissorRect);
        }
        if (a.mDepthEnable != p.mDepthEnable)
        {
            if (!mCommands.Put(uint32_t(kOpDepthEnable)) || !mCommands.Put(p.mDepthEnable))
                return HV_FAIL;
            a.mDepthEnable = p.mDepthEnable;
        }
        if (p.mDepthEnable && a.mDepthWrite != p.mDepthWrite)
        {
            if (!mCommands.Put(uint32_t(kOpDepthWrite)) || !mCommands.Put(p.mDepthWrite))
                return HV_FAIL;
            a.mDepthWrite = p.mDepthWrite;
        }
        mStateDirty = 0;
    }
    if (p.mShader && p.mShader->IsVariablesDirty())
    {
        if (!mCommands.Put(uint32_t(kOpShaderVariables)) || !mCommands.PutPointer(p.mShader))
            return HV_FAIL;
        return p.mShader->WriteVariables(mCommands);
    }
    return HV_OK;
}

HVResultEnum Render::Clear(uint32_t flags, const float colour[4], float z, int32_t stencil)
{
    const HVResultEnum result = FlushPendingDraw();
    if (result != HV_OK)
        return result;
    if (mLastTargetUnknown || mLastTarget != mPending.mTarget)
    {
        if (RecordTarget(mPending.mTarget) != HV_OK)
            return HV_FAIL;
        mStateDirty = 1;
    }
    float c[4];
    std::memcpy(c, colour, sizeof c);
    const bool ok = mCommands.Put(uint32_t(kOpClear)) && mCommands.Put(flags) && mCommands.Put(c) &&
                    mCommands.Put(z) && mCommands.Put(stencil);
    return ok ? HV_OK : HV_FAIL;
}

HVResultEnum Render::ReplayCommands(bool& sceneOpen)
{
    CommandBuffer& s = mCommands;
    for (;;)
    {
        uint32_t op = 0;
        if (!s.Get(op))
            return HV_FAIL;
        HVResultEnum result = HV_OK;
        switch (op)
        {
        case kOpClear:
        {
            uint32_t flags;
            float colour[4];
            float z;
            int32_t stencil;
            if (!s.Get(flags) || !s.Get(colour) || !s.Get(z) || !s.Get(stencil))
                return HV_FAIL;
            result = DoClear(flags, colour, z, stencil);
            break;
        }
        case kOpBeginScene:
            result = DoBeginScene();
            sceneOpen = result == HV_OK;
            break;
        case kOpEndScene:
            sceneOpen = false;
            result = DoEndScene();
            break;
        case kOpPresent: result = DoPresent(); break;
        case kOpSetTarget:
        {
            Texture* target;
            if (!s.GetPointer(target))
                return HV_FAIL;
            result = DoSetRenderTarget(target);
            break;
        }
        case kOpBackBuffer: result = DoSetRenderTarget(nullptr); break;
        case kOpSetShader:
        {
            ShaderImpl* shader;
            if (!s.GetPointer(shader))
                return HV_FAIL;
            result = DoSetShader(shader);
            break;
        }
        case kOpShaderVariables:
        {
            ShaderImpl* shader;
            if (!s.GetPointer(shader))
                return HV_FAIL;
            result = shader->ReadVariables(s);
            break;
        }
        case kOpVertexFormat:
        {
            int32_t id;
            if (!s.Get(id))
                return HV_FAIL;
            result = DoSetVertexFormat(id);
            break;
        }
        case kOpVertexBuffer:
        {
            VertexBufferImpl* buffer;
            if (!s.GetPointer(buffer))
                return HV_FAIL;
            result = DoSetVertexBuffer(buffer);
            break;
        }
        case kOpIndexBuffer:
        {
            IndexBufferImpl* buffer;
            if (!s.GetPointer(buffer))
                return HV_FAIL;
            result = DoSetIndexBuffer(buffer);
            break;
        }
        case kOpBlendMode:
        {
            int32_t mode;
            if (!s.Get(mode))
                return HV_FAIL;
            result = DoSetBlendMode(mode);
            break;
        }
        case kOpSamplerFilter:
        {
            int32_t filter;
            if (!s.Get(filter))
                return HV_FAIL;
            result = DoSetSamplerFilter(filter);
            break;
        }
        case kOpScissorEnable:
        {
            uint8_t flag;
            if (!s.Get(flag))
                return HV_FAIL;
            result = DoEnableScissor(flag != 0);
            break;
        }
        case kOpScissorRect:
        {
            uint32_t rect[4];
            if (!s.Get(rect))
                return HV_FAIL;
            result = DoSetScissorRect(rect);
            break;
        }
        case kOpDepthEnable:
        {
            uint8_t flag;
            if (!s.Get(flag))
                return HV_FAIL;
            mReplayDepthEnable = flag != 0;
            result = DoSetDepth(mReplayDepthEnable, mReplayDepthWrite);
            break;
        }
        case kOpDepthWrite:
        {
            uint8_t flag;
            if (!s.Get(flag))
                return HV_FAIL;
            mReplayDepthWrite = flag != 0;
            result = DoSetDepth(true, mReplayDepthWrite);
            break;
        }
        case kOpDraw:
        {
            int32_t type;
            uint32_t start, count;
            if (!s.Get(type) || !s.Get(start) || !s.Get(count))
                return HV_FAIL;
            result = DoDrawPrimitive(type, start, count);
            break;
        }
        case kOpDrawIndexed:
        {
            int32_t type;
            uint32_t size, start, count, minIndex, vertexCount;
            if (!s.Get(type) || !s.Get(size) || !s.Get(start) || !s.Get(count) || !s.Get(minIndex) ||
                !s.Get(vertexCount))
                return HV_FAIL;
            result = DoDrawIndexedPrimitive(type, size, start, count, minIndex, vertexCount);
            break;
        }
        case kOpEnd: return HV_OK;
        default: break; // unknown opcodes carry nothing
        }
        if (result != HV_OK)
            return result;
    }
}

HVResultEnum Render::ExecuteCommands()
{
    if (!mCommands.Put(uint32_t(kOpEnd)))
        return HV_FAIL;
    mAwaitingReplay = false;
    if (mCommands.Seek(0, 0) != 0)
        return HV_FAIL;
    bool sceneOpen = false;
    const HVResultEnum result = ReplayCommands(sceneOpen);
    mCommands.Seek(0, 0);
    if (result != HV_OK)
    {
        // The rest of this frame must never replay, and a scene left open
        // would make every later BeginScene fail.
        if (sceneOpen)
            DoEndScene();
        ForceFullResend();
    }
    return result;
}

namespace
{
int32_t FormatIdOf(const VertexBufferImpl* buffer) { return buffer ? buffer->GetFormatId() : -1; }
} // namespace
} // namespace render
