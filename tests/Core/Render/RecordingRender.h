#pragma once

// A renderer whose Do operations append to a log and whose buffers are
// plain memory: the recorder and the replay without a device.
#include "Core/Render/Buffer.h"
#include "Core/Render/Render.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Render/Texture.h"

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace rendertest
{
struct Call
{
    std::string name;
    std::vector<uint64_t> args;
    bool operator==(const Call& other) const { return name == other.name && args == other.args; }
};
// Readable failure messages.
void PrintTo(const Call& call, std::ostream* out);
// The calls of the given names, in order.
std::vector<Call> Only(const std::vector<Call>& calls, std::initializer_list<const char*> names);

class RecordingRender;

class MemoryVertexBuffer : public render::VertexBufferImpl
{
public:
    using VertexBufferImpl::VertexBufferImpl;
    HVResultEnum Create(const render::VertexFormat* format, uint32_t count, bool dynamic) override;
    HVResultEnum Lock() override;
    HVResultEnum Unlock() override;
    HVResultEnum OnResetDevice() override { return HV_OK; }
    HVResultEnum OnLostDevice() override { return HV_OK; }
    std::vector<unsigned char> mMemory;
};

class MemoryIndexBuffer : public render::IndexBufferImpl
{
public:
    using IndexBufferImpl::IndexBufferImpl;
    HVResultEnum Create(uint32_t elementSize, uint32_t count, bool dynamic) override;
    HVResultEnum Lock() override;
    HVResultEnum Unlock() override;
    HVResultEnum OnResetDevice() override { return HV_OK; }
    HVResultEnum OnLostDevice() override { return HV_OK; }
    std::vector<unsigned char> mMemory;
};

class FakeTexture : public render::Texture
{
public:
    using Texture::Texture;
    HVResultEnum CreateFromImage(render::ImageData*) override { return HV_OK; }
    HVResultEnum CreateRenderTarget(int32_t w, int32_t h) override
    {
        mWidth = w;
        mHeight = h;
        return HV_OK;
    }
    HVResultEnum CreateDynamic(int32_t w, int32_t h) override { return CreateRenderTarget(w, h); }
    bool GetMaskBit(int32_t, int32_t) const override { return sOpaque; }
    HVResultEnum OnResetDevice() override { return HV_OK; }
    HVResultEnum OnLostDevice() override { return HV_OK; }
    bool CanLock() const override { return false; }

    // Every texel hits while set: tests that route the pointer through pictures.
    static inline bool sOpaque = false;
    HVResultEnum Lock(uint32_t*, uint32_t*, void**) override { return HV_FAIL; }
    HVResultEnum Unlock() override { return HV_FAIL; }
    HVResultEnum Upload(const void*) override { return HV_FAIL; }
};

class FakeShaderImpl : public render::ShaderImpl
{
public:
    FakeShaderImpl(RecordingRender* render, std::string name);
    HVResultEnum OnResetDevice() override { return HV_OK; }
    HVResultEnum OnLostDevice() override { return HV_OK; }
    HVResultEnum OnActivate() override { return HV_OK; }
    HVResultEnum OnDeactivate() override
    {
        MarkAllDirty();
        return HV_OK;
    }
    render::ShaderScalarVariableImpl* CreateScalarVariable(const std::string& name, int table) override;
    render::ShaderTextureVariableImpl* CreateTextureVariable(const std::string& name) override;
    RecordingRender* mRecorder;
    std::string mName;
};

class RecordingRender : public render::Render
{
public:
    RecordingRender();
    ~RecordingRender() override;
    // Registers the formats and runs the common start-up.
    HVResultEnum Init(uint32_t width = 800, uint32_t height = 600);

    HVResultEnum PrepareSwitchScreenMode() override { return HV_OK; }
    HVResultEnum SwitchScreenMode(const render::RenderInitParam&) override { return HV_OK; }
    HVResultEnum CreateTexture(render::Texture** out) override;
    HVResultEnum CreateShaderImpl(const std::string& vs, const std::string& ps, render::ShaderImpl** out) override;
    HVResultEnum CreateGeomShaderImpl(render::ShaderImpl** out) override;
    HVResultEnum CreateTexturedMultShaderImpl(render::ShaderImpl** out) override;
    HVResultEnum CreateTexturedTintShaderImpl(render::ShaderImpl** out) override;
    HVResultEnum CreateVertexBuffer(const render::VertexFormat* format, uint32_t count, bool dynamic,
                                    render::VertexBufferImpl** out) override;
    HVResultEnum CreateIndexBuffer(uint32_t elementSize, uint32_t count, bool dynamic,
                                   render::IndexBufferImpl** out) override;
    bool IsDeviceReady() override { return mReady; }
    HVResultEnum DoClear(uint32_t flags, const float colour[4], float z, int32_t stencil) override;
    HVResultEnum DoBeginScene() override { return Log("begin", {}); }
    HVResultEnum DoEndScene() override { return Log("end", {}); }
    HVResultEnum DoPresent() override { return Log("present", {}); }
    HVResultEnum DoSetRenderTarget(render::Texture* target) override { return Log("target", {Address(target)}); }
    HVResultEnum DoSetShader(render::ShaderImpl* shader) override { return Log("shader", {Address(shader)}); }
    HVResultEnum DoSetVertexFormat(int32_t id) override { return Log("format", {uint64_t(id)}); }
    HVResultEnum DoSetVertexBuffer(render::VertexBufferImpl* b) override { return Log("vb", {Address(b)}); }
    HVResultEnum DoSetIndexBuffer(render::IndexBufferImpl* b) override { return Log("ib", {Address(b)}); }
    HVResultEnum DoSetBlendMode(int32_t mode) override { return Log("blend", {uint64_t(mode)}); }
    HVResultEnum DoSetSamplerFilter(int32_t filter) override { return Log("filter", {uint64_t(filter)}); }
    HVResultEnum DoEnableScissor(bool enable) override { return Log("scissor", {uint64_t(enable)}); }
    HVResultEnum DoSetScissorRect(const uint32_t r[4]) override { return Log("rect", {r[0], r[1], r[2], r[3]}); }
    HVResultEnum DoSetDepth(bool enable, bool write) override { return Log("depth", {enable, write}); }
    HVResultEnum DoDrawPrimitive(int32_t type, uint32_t start, uint32_t count) override
    {
        return Log("draw", {uint64_t(type), start, count});
    }
    HVResultEnum DoDrawIndexedPrimitive(int32_t type, uint32_t size, uint32_t start, uint32_t count, uint32_t min,
                                        uint32_t vcount) override
    {
        return Log("drawi", {uint64_t(type), size, start, count, min, vcount});
    }

    HVResultEnum Log(const std::string& name, std::vector<uint64_t> args);
    static uint64_t Address(const void* p) { return reinterpret_cast<uintptr_t>(p); }
    // The opcodes of the recorded stream up to the write position, read
    // operand by operand.
    std::vector<uint32_t> RecordedOpcodes();
    std::vector<std::string> CallNames() const;

    bool mReady = true;
    std::vector<Call> mCalls;
    // A Do operation of this name fails this many times.
    std::string mFailName;
    int mFailCount = 0;
    render::Texture* mTarget = nullptr; // a render-target texture for the tests
};
} // namespace rendertest
