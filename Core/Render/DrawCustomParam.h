#pragma once

// The custom draw body: vertices the caller already wrote into a cache,
// drawn with a given shader.
#include "Core/Render/DrawParam.h"
#include "Core/Render/GraphicsFriend.h"
#include "Core/Render/VertexFormat.h"

namespace render
{
class Shader;

class DrawCustomParam : public GraphicsFriend
{
public:
    DrawCustomParam(Graphics* context, int primitiveType, void* vertices, const VertexFormat* format,
                    int startVertex, int vertexCount, VertexBufferImpl* vertexBuffer, Shader* shader);
    DrawCustomParam(Graphics* context, int primitiveType, void* vertices, const VertexFormat* format,
                    int startVertex, int vertexCount, VertexBufferImpl* vertexBuffer, Shader* shader,
                    int startIndex, int indexCount, IndexBufferImpl* indexBuffer);

    int Draw(DrawParam* transform);

    // 0 point list, 1 line list, 2 line strip, 3 triangle list, 4 strip, 5 fan.
    int mPrimitiveType;
    void* mVertices;
    VertexFormat mFormat;
    int mStartVertex;
    int mVertexCount;
    VertexBufferImpl* mVertexBuffer;
    int mStartIndex = 0;
    int mIndexCount = 0;
    IndexBufferImpl* mIndexBuffer = nullptr; // null: not indexed
    Shader* mShader;
    int mPrimitiveCount = 0; // computed by the first draw
};
} // namespace render
