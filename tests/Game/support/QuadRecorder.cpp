#include "QuadRecorder.h"

#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Vertices.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <functional>

namespace gametest
{
namespace
{
constexpr float kHalfPixel = 0.5f;
constexpr int32_t kTriangleList = 3;
constexpr uint32_t kVerticesPerQuad = 4;
constexpr uint32_t kIndicesPerQuad = 6;

class ExactScalar : public render::ShaderScalarVariableImpl
{
public:
    ExactScalar(QuadRecorder* recorder, std::string name) : mRecorder(recorder), mName(std::move(name)) {}
    HVResultEnum SetMatrix(const math::Matrix4*) override { return HV_OK; }
    HVResultEnum SetVector(const math::Point4& v) override
    {
        mRecorder->OnVector(mName, v);
        return HV_OK;
    }
    HVResultEnum SetVector(const math::Vector3& v) override { return SetVector(math::Point4(v.x, v.y, v.z, 1)); }
    HVResultEnum SetVector(const render::Point2& v) override { return SetVector(math::Point4(v.x, v.y, 0, 1)); }
    HVResultEnum SetFloat(float f) override { return SetVector(math::Point4(f, 0, 0, 0)); }

private:
    QuadRecorder* mRecorder;
    std::string mName;
};

class ExactSampler : public render::ShaderTextureVariableImpl
{
public:
    ExactSampler(QuadRecorder* recorder, render::ShaderImpl* shader) : mRecorder(recorder), mShader(shader) {}
    HVResultEnum SetTexture(render::Texture* texture) override
    {
        mRecorder->OnTexture(mShader, texture);
        return HV_OK;
    }

private:
    QuadRecorder* mRecorder;
    render::ShaderImpl* mShader;
};

class ExactShaderImpl : public rendertest::FakeShaderImpl
{
public:
    ExactShaderImpl(QuadRecorder* recorder, std::string name)
        : FakeShaderImpl(recorder, std::move(name)), mQuads(recorder)
    {
    }
    render::ShaderScalarVariableImpl* CreateScalarVariable(const std::string& name, int) override
    {
        return new ExactScalar(mQuads, name);
    }
    render::ShaderTextureVariableImpl* CreateTextureVariable(const std::string&) override
    {
        return new ExactSampler(mQuads, this);
    }

private:
    QuadRecorder* mQuads;
};

float Distance(float x0, float y0, float x1, float y1) { return std::hypot(x1 - x0, y1 - y0); }
} // namespace

float RecordedQuad::Width() const { return Distance(x[0], y[0], x[1], y[1]); }
float RecordedQuad::Height() const { return Distance(x[1], y[1], x[2], y[2]); }

const render::Texture* TextureOf(const render::Image* image) { return image ? image->GetTexture() : nullptr; }

HVResultEnum QuadRecorder::CreateShaderImpl(const std::string& vs, const std::string&, render::ShaderImpl** out)
{
    *out = new ExactShaderImpl(this, vs);
    return HV_OK;
}

HVResultEnum QuadRecorder::DoSetVertexFormat(int32_t id)
{
    mFormat = id;
    return RecordingRender::DoSetVertexFormat(id);
}

HVResultEnum QuadRecorder::DoSetVertexBuffer(render::VertexBufferImpl* buffer)
{
    mVertexBuffer = buffer;
    return RecordingRender::DoSetVertexBuffer(buffer);
}

HVResultEnum QuadRecorder::DoSetIndexBuffer(render::IndexBufferImpl* buffer)
{
    mIndexBuffer = buffer;
    return RecordingRender::DoSetIndexBuffer(buffer);
}

HVResultEnum QuadRecorder::DoSetShader(render::ShaderImpl* shader)
{
    mShader = shader;
    return RecordingRender::DoSetShader(shader);
}

HVResultEnum QuadRecorder::DoSetBlendMode(int32_t mode)
{
    mBlend = mode;
    return RecordingRender::DoSetBlendMode(mode);
}

void QuadRecorder::OnVector(const std::string& name, const math::Point4& value) { mChangedVariables[name] = value; }

void QuadRecorder::OnTexture(render::ShaderImpl* shader, render::Texture* texture) { mTextures[shader] = texture; }

HVResultEnum QuadRecorder::DoDrawIndexedPrimitive(int32_t type, uint32_t size, uint32_t start, uint32_t count,
                                                  uint32_t min, uint32_t vcount)
{
    const HVResultEnum result = RecordingRender::DoDrawIndexedPrimitive(type, size, start, count, min, vcount);
    auto* vertices = dynamic_cast<rendertest::MemoryVertexBuffer*>(mVertexBuffer);
    auto* indices = dynamic_cast<rendertest::MemoryIndexBuffer*>(mIndexBuffer);
    if (type != kTriangleList || mFormat != render::SVertex2D::Format.mId || !vertices || !indices)
    {
        ++mOtherDraws;
        mChangedVariables.clear();
        return result;
    }
    const auto* v = reinterpret_cast<const render::SVertex2D*>(vertices->mMemory.data());
    const size_t vertexCount = vertices->mMemory.size() / sizeof(render::SVertex2D);
    const auto* index = reinterpret_cast<const uint16_t*>(indices->mMemory.data());
    const size_t indexCount = indices->mMemory.size() / sizeof(uint16_t);
    // Two triangles per quad over four vertices in a row.
    for (uint32_t quad = 0; quad * 2 < count; ++quad)
    {
        const size_t firstIndex = start + size_t(quad) * kIndicesPerQuad;
        if (firstIndex + kIndicesPerQuad > indexCount)
            break;
        uint16_t base = index[firstIndex];
        for (uint32_t i = 1; i < kIndicesPerQuad; ++i)
            base = std::min(base, index[firstIndex + i]);
        if (size_t(base) + kVerticesPerQuad > vertexCount)
            break;
        RecordedQuad q;
        const auto texture = mTextures.find(mShader);
        q.texture = texture == mTextures.end() ? nullptr : texture->second;
        for (uint32_t c = 0; c < kVerticesPerQuad; ++c)
        {
            const render::SVertex2D& corner = v[base + c];
            q.x[c] = corner.x + kHalfPixel;
            q.y[c] = corner.y + kHalfPixel;
            q.u[c] = corner.u;
            q.v[c] = corner.v;
        }
        q.argb = v[base].diffuse;
        q.color[0] = float((q.argb >> 16) & 0xFF) / 255.0f;
        q.color[1] = float((q.argb >> 8) & 0xFF) / 255.0f;
        q.color[2] = float(q.argb & 0xFF) / 255.0f;
        q.color[3] = float((q.argb >> 24) & 0xFF) / 255.0f;
        q.blend = mBlend;
        if (auto* shader = dynamic_cast<rendertest::FakeShaderImpl*>(mShader))
            q.shader = shader->mName;
        // The variables belong to the first quad of the draw they preceded.
        q.variables = std::move(mChangedVariables);
        mChangedVariables.clear();
        mQuads.push_back(std::move(q));
    }
    return result;
}

HVResultEnum QuadRecorder::Begin()
{
    mQuads.clear();
    mCalls.clear();
    return BeginFrame();
}

std::vector<RecordedQuad> QuadRecorder::End()
{
    EndFrame();
    mQuads.clear();
    mCalls.clear();
    ExecuteCommands();
    return mQuads;
}

std::vector<RecordedQuad> QuadRecorder::Record(const std::function<void(render::Graphics*)>& draw)
{
    Begin();
    {
        render::Graphics graphics(this);
        draw(&graphics);
    }
    return End();
}
} // namespace gametest
