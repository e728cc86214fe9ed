#include "Core/Render/DrawCustomParam.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/Shader.h"

namespace render
{
DrawCustomParam::DrawCustomParam(Graphics* context, int primitiveType, void* vertices, const VertexFormat* format,
                                 int startVertex, int vertexCount, VertexBufferImpl* vertexBuffer, Shader* shader)
    : GraphicsFriend(context), mPrimitiveType(primitiveType), mVertices(vertices), mFormat(*format),
      mStartVertex(startVertex), mVertexCount(vertexCount), mVertexBuffer(vertexBuffer), mShader(shader)
{
}

DrawCustomParam::DrawCustomParam(Graphics* context, int primitiveType, void* vertices, const VertexFormat* format,
                                 int startVertex, int vertexCount, VertexBufferImpl* vertexBuffer, Shader* shader,
                                 int startIndex, int indexCount, IndexBufferImpl* indexBuffer)
    : DrawCustomParam(context, primitiveType, vertices, format, startVertex, vertexCount, vertexBuffer, shader)
{
    mStartIndex = startIndex;
    mIndexCount = indexCount;
    mIndexBuffer = indexBuffer;
}

namespace
{
int PrimitiveCount(int type, int n)
{
    switch (type)
    {
    case 1:
        return n / 2;
    case 2:
        return n - 1;
    case 3:
        return n / 3;
    case 4:
    case 5:
        return n - 2;
    default:
        return n;
    }
}
} // namespace

int DrawCustomParam::Draw(DrawParam* transform)
{
    // A built-in shader that failed to load leaves nothing to draw with.
    if (!mContext || !mShader || !mVertices)
        return HV_FAIL;
    const unsigned count = unsigned(mVertexCount);
    int result = transform ? transform->TransformVertices(mVertices, &mFormat, count) : HV_OK;
    if (result == HV_OK)
        result = ApplyWorldTransform(mVertices, &mFormat, count);
    if (result == HV_OK)
        result = ApplyHalfPixelOffset(mVertices, &mFormat, count);
    if (result != HV_OK)
        return result;
    SetShader(mShader->GetImpl());
    result = SetProjection(mShader);
    if (result != HV_OK)
        return result;
    if (mPrimitiveCount == 0)
        mPrimitiveCount = PrimitiveCount(mPrimitiveType, mIndexBuffer ? mIndexCount : mVertexCount);
    SetVertexBuffer(mVertexBuffer);
    if (mIndexBuffer)
    {
        SetIndexBuffer(mIndexBuffer);
        result = ApplyState();
        if (result != HV_OK)
            return result;
        return mRender->DrawIndexedPrimitive(mPrimitiveType, uint32_t(mStartIndex), uint32_t(mPrimitiveCount),
                                             uint32_t(mStartVertex), uint32_t(mVertexCount));
    }
    result = ApplyState();
    if (result != HV_OK)
        return result;
    return mRender->DrawPrimitive(mPrimitiveType, uint32_t(mStartVertex), uint32_t(mPrimitiveCount));
}
} // namespace render
