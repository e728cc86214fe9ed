#include "RecordingRender.h"

#include "Core/Render/Vertices.h"

#include <cstring>

namespace rendertest
{
namespace
{
class FakeScalar : public render::ShaderScalarVariableImpl
{
public:
    FakeScalar(RecordingRender* r, std::string name) : mRender(r), mName(std::move(name)) {}
    HVResultEnum SetMatrix(const math::Matrix4* m) override
    {
        return mRender->Log("matrix " + mName, {RecordingRender::Address(m)});
    }
    HVResultEnum SetVector(const math::Point4& v) override
    {
        return mRender->Log("vector " + mName, {uint64_t(v.x), uint64_t(v.y), uint64_t(v.z), uint64_t(v.w)});
    }
    HVResultEnum SetVector(const math::Vector3& v) override { return SetVector(math::Point4(v.x, v.y, v.z, 1)); }
    HVResultEnum SetVector(const render::Point2& v) override { return SetVector(math::Point4(v.x, v.y, 0, 1)); }
    HVResultEnum SetFloat(float f) override { return mRender->Log("float " + mName, {uint64_t(f)}); }

private:
    RecordingRender* mRender;
    std::string mName;
};

class FakeSampler : public render::ShaderTextureVariableImpl
{
public:
    FakeSampler(RecordingRender* r, std::string name) : mRender(r), mName(std::move(name)) {}
    HVResultEnum SetTexture(render::Texture* t) override
    {
        return mRender->Log("texture " + mName, {RecordingRender::Address(t)});
    }

private:
    RecordingRender* mRender;
    std::string mName;
};
} // namespace

void PrintTo(const Call& call, std::ostream* out)
{
    *out << call.name << '(';
    for (size_t i = 0; i < call.args.size(); ++i)
        *out << (i ? ", " : "") << call.args[i];
    *out << ')';
}

std::vector<Call> Only(const std::vector<Call>& calls, std::initializer_list<const char*> names)
{
    std::vector<Call> out;
    for (const Call& c : calls)
        for (const char* n : names)
            if (c.name == n)
                out.push_back(c);
    return out;
}

HVResultEnum MemoryVertexBuffer::Create(const render::VertexFormat* format, uint32_t count, bool)
{
    mElementSize = format->mStride;
    mCount = count;
    mFormatId = format->mId;
    mMemory.assign(size_t(mElementSize) * count, 0);
    return HV_OK;
}

HVResultEnum MemoryVertexBuffer::Lock()
{
    if (mLocked)
        return HV_FAIL;
    MarkLocked(mMemory.data());
    return HV_OK;
}

HVResultEnum MemoryVertexBuffer::Unlock()
{
    if (!mLocked)
        return HV_FAIL;
    ForgetLock();
    return HV_OK;
}

HVResultEnum MemoryIndexBuffer::Create(uint32_t elementSize, uint32_t count, bool)
{
    mElementSize = elementSize;
    mCount = count;
    mMemory.assign(size_t(mElementSize) * count, 0);
    return HV_OK;
}

HVResultEnum MemoryIndexBuffer::Lock()
{
    if (mLocked)
        return HV_FAIL;
    MarkLocked(mMemory.data());
    return HV_OK;
}

HVResultEnum MemoryIndexBuffer::Unlock()
{
    if (!mLocked)
        return HV_FAIL;
    ForgetLock();
    return HV_OK;
}

FakeShaderImpl::FakeShaderImpl(RecordingRender* render, std::string name)
    : ShaderImpl(render), mRecorder(render), mName(std::move(name))
{
}

render::ShaderScalarVariableImpl* FakeShaderImpl::CreateScalarVariable(const std::string& name, int)
{
    return new FakeScalar(mRecorder, name);
}

render::ShaderTextureVariableImpl* FakeShaderImpl::CreateTextureVariable(const std::string& name)
{
    return new FakeSampler(mRecorder, name);
}

RecordingRender::RecordingRender() { mScissorFollowsTarget = 1; }

RecordingRender::~RecordingRender()
{
    delete mTarget;
    ReleaseResources();
}

HVResultEnum RecordingRender::Init(uint32_t width, uint32_t height)
{
    render::RegisterVertexFormats();
    render::RenderInitParam param;
    param.mWidth = width;
    param.mHeight = height;
    return InitRender(nullptr, param);
}

HVResultEnum RecordingRender::CreateTexture(render::Texture** out)
{
    *out = new FakeTexture(this);
    return HV_OK;
}

HVResultEnum RecordingRender::CreateShaderImpl(const std::string& vs, const std::string&, render::ShaderImpl** out)
{
    *out = new FakeShaderImpl(this, vs);
    return HV_OK;
}

HVResultEnum RecordingRender::CreateGeomShaderImpl(render::ShaderImpl** out) { return CreateShaderImpl("geom", "", out); }

HVResultEnum RecordingRender::CreateTexturedMultShaderImpl(render::ShaderImpl** out)
{
    return CreateShaderImpl("mult", "", out);
}

HVResultEnum RecordingRender::CreateTexturedTintShaderImpl(render::ShaderImpl** out)
{
    return CreateShaderImpl("tint", "", out);
}

HVResultEnum RecordingRender::CreateVertexBuffer(const render::VertexFormat* format, uint32_t count, bool dynamic,
                                                 render::VertexBufferImpl** out)
{
    auto* buffer = new MemoryVertexBuffer(this);
    buffer->Create(format, count, dynamic);
    *out = buffer;
    return HV_OK;
}

HVResultEnum RecordingRender::CreateIndexBuffer(uint32_t elementSize, uint32_t count, bool dynamic,
                                                render::IndexBufferImpl** out)
{
    auto* buffer = new MemoryIndexBuffer(this);
    buffer->Create(elementSize, count, dynamic);
    *out = buffer;
    return HV_OK;
}

HVResultEnum RecordingRender::DoClear(uint32_t flags, const float colour[4], float z, int32_t stencil)
{
    return Log("clear", {flags, uint64_t(colour[0] * 255), uint64_t(z), uint64_t(stencil)});
}

HVResultEnum RecordingRender::Log(const std::string& name, std::vector<uint64_t> args)
{
    mCalls.push_back({name, std::move(args)});
    if (mFailCount > 0 && name == mFailName)
    {
        --mFailCount;
        return HV_FAIL;
    }
    return HV_OK;
}

std::vector<std::string> RecordingRender::CallNames() const
{
    std::vector<std::string> names;
    for (const Call& c : mCalls)
        names.push_back(c.name);
    return names;
}

std::vector<uint32_t> RecordingRender::RecordedOpcodes()
{
    std::vector<uint32_t> ops;
    const unsigned char* data = mCommands.GetData();
    const size_t end = mCommands.GetPosition();
    size_t at = 0;
    auto skip = [&](size_t n) { at += n; };
    const size_t p = sizeof(void*);
    while (at + 4 <= end)
    {
        uint32_t op;
        std::memcpy(&op, data + at, 4);
        at += 4;
        ops.push_back(op);
        switch (op)
        {
        case 0: skip(4 + 16 + 4 + 4); break;
        case 4: case 6: case 9: case 10: skip(p); break;
        case 7:
        {
            render::ShaderImpl* shader;
            std::memcpy(&shader, data + at, p);
            skip(p);
            const uint8_t count = data[at++];
            for (uint8_t i = 0; i < count; ++i)
            {
                const uint8_t index = data[at++];
                render::ShaderVariable* v = shader->GetVariables()[index];
                skip(dynamic_cast<render::ShaderScalarVariable<math::Point4, 1>*>(v) ? 16 : p);
            }
            break;
        }
        case 8: case 11: case 19: skip(4); break;
        case 12: case 14: case 15: skip(1); break;
        case 13: skip(16); break;
        case 16: skip(12); break;
        case 17: skip(24); break;
        default: break;
        }
    }
    return ops;
}
} // namespace rendertest
