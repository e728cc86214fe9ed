#include "Core/Render/GraphicsFriend.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/Shader.h"

namespace render
{
void GraphicsFriend::Attach(Graphics* context)
{
    mContext = context;
    mRender = context ? context->mRender : nullptr;
    mState = context ? &context->mState : nullptr;
}

void GraphicsFriend::SetVertexBuffer(VertexBufferImpl* buffer)
{
    mState->mVertexBuffer = buffer;
    mContext->mDirty = 1;
}

void GraphicsFriend::SetIndexBuffer(IndexBufferImpl* buffer)
{
    mState->mIndexBuffer = buffer;
    mContext->mDirty = 1;
}

void GraphicsFriend::SetShader(ShaderImpl* shader)
{
    mState->mShader = shader;
    mContext->mDirty = 1;
}

void GraphicsFriend::SetFilter(int32_t filter)
{
    if (mState->mFilter == filter)
        return;
    mState->mFilter = filter;
    mContext->mDirty = 1;
}

int GraphicsFriend::ApplyState()
{
    const HVResultEnum result = mRender->SetState(mState, mContext->mDirty != 0);
    if (result == HV_OK)
        mContext->mDirty = 0;
    return result;
}

int GraphicsFriend::ApplyWorldTransform(void* vertices, const VertexFormat* format, unsigned count)
{
    return mContext->ApplyWorldTransform(vertices, format, count);
}

int GraphicsFriend::ApplyHalfPixelOffset(void* vertices, const VertexFormat* format, unsigned count)
{
    return mContext->ApplyHalfPixelOffset(vertices, format, count);
}

int GraphicsFriend::SetProjection(Shader* shader)
{
    shader->SetProjection(mContext->GetProjection());
    return HV_OK;
}
} // namespace render
