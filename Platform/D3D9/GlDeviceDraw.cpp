// Shaders, constants, vertex input and draws of the device.
#include "Platform/D3D9/FailureInjection.h"
#include "Platform/D3D9/GlBuffer.h"
#include "Platform/D3D9/GlDevice.h"
#include "Platform/D3D9/GlShader.h"
#include "Platform/D3D9/GlTexture.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace d3d9 {

namespace {

enum Stage
{
    kVertexStage = 0,
    kPixelStage = 1,
};

GLenum BlendFactor(DWORD blend)
{
    switch (blend)
    {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    default:
        return GL_ONE;
    }
}

GLenum AddressMode(DWORD address)
{
    return address == D3DTADDRESS_CLAMP ? GL_CLAMP_TO_EDGE : GL_REPEAT;
}

GLenum PrimitiveMode(D3DPRIMITIVETYPE type)
{
    switch (type)
    {
    case D3DPT_POINTLIST:
        return GL_POINTS;
    case D3DPT_LINELIST:
        return GL_LINES;
    case D3DPT_LINESTRIP:
        return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP:
        return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN:
        return GL_TRIANGLE_FAN;
    default:
        return GL_TRIANGLES;
    }
}

// Vertices (or indices) a draw of `count` primitives reads; 0 for a bad type.
UINT ElementCount(D3DPRIMITIVETYPE type, UINT count)
{
    switch (type)
    {
    case D3DPT_POINTLIST:
        return count;
    case D3DPT_LINELIST:
        return 2 * count;
    case D3DPT_LINESTRIP:
        return count + 1;
    case D3DPT_TRIANGLELIST:
        return 3 * count;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        return count + 2;
    default:
        return 0;
    }
}

} // namespace

// ---- shaders ----------------------------------------------------------------------

template <class Shader, class Interface>
HRESULT GlDevice::CreateShader(const DWORD* code, ShaderStage stage, Interface** shader)
{
    ShaderBlob blob;
    if (!shader || !DecodeShaderBlob(code, blob) || blob.stage != stage)
        return D3DERR_INVALIDCALL;
    auto* created = new Shader(this, std::move(blob));
    if (!created->Compile())
    {
        created->Release();
        return D3DERR_INVALIDCALL;
    }
    *shader = created;
    return D3D_OK;
}

HRESULT GlDevice::CreateVertexShader(const DWORD* code, IDirect3DVertexShader9** shader)
{
    HV_INJECT("CreateVertexShader");
    return CreateShader<GlVertexShader>(code, ShaderStage::Vertex, shader);
}

HRESULT GlDevice::CreatePixelShader(const DWORD* code, IDirect3DPixelShader9** shader)
{
    HV_INJECT("CreatePixelShader");
    return CreateShader<GlPixelShader>(code, ShaderStage::Pixel, shader);
}

HRESULT GlDevice::SetVertexShader(IDirect3DVertexShader9* shader)
{
    HV_INJECT("SetVertexShader");
    ++counters_.stateCalls;
    Rebind(vertexShader_, static_cast<GlVertexShader*>(shader));
    return D3D_OK;
}

HRESULT GlDevice::SetPixelShader(IDirect3DPixelShader9* shader)
{
    HV_INJECT("SetPixelShader");
    ++counters_.stateCalls;
    Rebind(pixelShader_, static_cast<GlPixelShader*>(shader));
    return D3D_OK;
}

void GlDevice::ForgetShader(const GlShaderObject* shader)
{
    for (auto it = programs_.begin(); it != programs_.end();)
    {
        const void* vs = it->first.first;
        const void* ps = it->first.second;
        if (vs == shader || ps == shader)
        {
            if (it->second.name)
                glDeleteProgram(it->second.name);
            it = programs_.erase(it);
        }
        else
        {
            ++it;
        }
    }
}

const GlDevice::Program* GlDevice::ProgramForDraw()
{
    const GlShaderObject* vs = vertexShader_;
    const GlShaderObject* ps = pixelShader_;
    const auto key = std::make_pair(static_cast<const void*>(vs), static_cast<const void*>(ps));
    auto found = programs_.find(key);
    if (found != programs_.end())
        return found->second.name ? &found->second : nullptr;

    Program& program = programs_[key];
    GLuint name = glCreateProgram();
    glAttachShader(name, vs->Name());
    glAttachShader(name, ps->Name());
    glLinkProgram(name);
    GLint ok = GL_FALSE;
    glGetProgramiv(name, GL_LINK_STATUS, &ok);
    if (!ok)
    {
        // Written once: the failure stays cached for the pair.
        GLint length = 0;
        glGetProgramiv(name, GL_INFO_LOG_LENGTH, &length);
        std::string log(size_t(length > 0 ? length : 1), '\0');
        glGetProgramInfoLog(name, length, nullptr, log.data());
        std::fprintf(stderr, "GL program link failed: %s\n", log.c_str());
        glDeleteProgram(name);
        return nullptr;
    }
    program.name = name;
    glUseProgram(name);
    const GLuint vsBlock = glGetUniformBlockIndex(name, kVertexConstantsBlock);
    if (vsBlock != GL_INVALID_INDEX)
        glUniformBlockBinding(name, vsBlock, kVertexStage);
    const GLuint psBlock = glGetUniformBlockIndex(name, kPixelConstantsBlock);
    if (psBlock != GL_INVALID_INDEX)
        glUniformBlockBinding(name, psBlock, kPixelStage);
    for (const GlShaderObject* stage : {vs, ps})
        for (uint32_t reg : stage->Blob().samplerRegisters)
        {
            const std::string sampler = kSamplerPrefix + std::to_string(reg);
            const GLint location = glGetUniformLocation(name, sampler.c_str());
            if (location >= 0)
                glUniform1i(location, GLint(reg));
        }
    program.pixelOffset = glGetUniformLocation(name, kPixelOffsetUniform);
    return &program;
}

// ---- constants --------------------------------------------------------------------

HRESULT GlDevice::SetConstants(int stage, UINT start, const float* data, UINT count)
{
    ++counters_.stateCalls;
    if (!data || start > kConstantRegisters || count > kConstantRegisters - start)
        return D3DERR_INVALIDCALL;
    float* registers = &constants_[stage][size_t(start) * 4];
    const size_t bytes = size_t(count) * 4 * sizeof(float);
    // A shader variable set again to its value needs no upload.
    if (std::memcmp(registers, data, bytes) == 0)
        return D3D_OK;
    std::memcpy(registers, data, bytes);
    constantsDirty_[stage].Add(start * 4, (start + count) * 4);
    return D3D_OK;
}

HRESULT GlDevice::GetConstants(int stage, UINT start, float* data, UINT count)
{
    if (!data || start > kConstantRegisters || count > kConstantRegisters - start)
        return D3DERR_INVALIDCALL;
    std::memcpy(data, &constants_[stage][size_t(start) * 4], size_t(count) * 4 * sizeof(float));
    return D3D_OK;
}

HRESULT GlDevice::SetVertexShaderConstantF(UINT start, const float* data, UINT count)
{
    HV_INJECT("SetVertexShaderConstantF");
    return SetConstants(kVertexStage, start, data, count);
}

HRESULT GlDevice::GetVertexShaderConstantF(UINT start, float* data, UINT count)
{
    return GetConstants(kVertexStage, start, data, count);
}

HRESULT GlDevice::SetPixelShaderConstantF(UINT start, const float* data, UINT count)
{
    HV_INJECT("SetPixelShaderConstantF");
    return SetConstants(kPixelStage, start, data, count);
}

HRESULT GlDevice::GetPixelShaderConstantF(UINT start, float* data, UINT count)
{
    return GetConstants(kPixelStage, start, data, count);
}

void GlDevice::UploadConstants()
{
    for (int stage = 0; stage < 2; ++stage)
    {
        DirtyRange& dirty = constantsDirty_[stage];
        if (dirty.Empty())
            continue;
        const GLsizeiptr bytes = GLsizeiptr(dirty.end - dirty.begin) * GLsizeiptr(sizeof(float));
        glBindBuffer(GL_UNIFORM_BUFFER, constantBuffers_[stage]);
        glBufferSubData(GL_UNIFORM_BUFFER, GLintptr(dirty.begin * sizeof(float)), bytes,
                        constants_[stage].data() + dirty.begin);
        counters_.bytesUploaded += uint64_t(bytes);
        dirty.Clear();
    }
}

// ---- input ------------------------------------------------------------------------

HRESULT GlDevice::SetTexture(DWORD sampler, IDirect3DBaseTexture9* texture)
{
    HV_INJECT("SetTexture");
    ++counters_.stateCalls;
    if (sampler >= kSamplerCount)
        return D3DERR_INVALIDCALL;
    auto* glTexture = static_cast<GlTexture*>(texture);
    if (glTexture && glTexture->Device() != this)
        return D3DERR_INVALIDCALL;
    Rebind(textures_[sampler], glTexture);
    return D3D_OK;
}

HRESULT GlDevice::SetFVF(DWORD fvf)
{
    HV_INJECT("SetFVF");
    ++counters_.stateCalls;
    fvf_ = fvf;
    return D3D_OK;
}

HRESULT GlDevice::GetFVF(DWORD* fvf)
{
    if (!fvf)
        return D3DERR_INVALIDCALL;
    *fvf = fvf_;
    return D3D_OK;
}

HRESULT GlDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                                  UINT stride)
{
    HV_INJECT("SetStreamSource");
    ++counters_.stateCalls;
    if (stream != 0)
        return D3DERR_INVALIDCALL;
    Rebind(stream_, static_cast<GlVertexBuffer*>(buffer));
    streamOffset_ = offset;
    streamStride_ = stride;
    return D3D_OK;
}

HRESULT GlDevice::SetIndices(IDirect3DIndexBuffer9* buffer)
{
    HV_INJECT("SetIndices");
    ++counters_.stateCalls;
    Rebind(indices_, static_cast<GlIndexBuffer*>(buffer));
    return D3D_OK;
}

void GlDevice::ApplyVertexInput()
{
    const VertexInput input{stream_->Store().Name(), streamOffset_, streamStride_, fvf_};
    if (input == appliedInput_)
        return;
    appliedInput_ = input;
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, input.buffer);
    const GLsizei stride = GLsizei(streamStride_);
    size_t offset = streamOffset_;
    std::array<bool, kTexCoordLocation0 + 8> fed{};
    auto attribute = [&](int location, GLint size, GLenum type, bool normalised, size_t bytes) {
        glEnableVertexAttribArray(GLuint(location));
        glVertexAttribPointer(GLuint(location), size, type, normalised ? GL_TRUE : GL_FALSE,
                              stride, reinterpret_cast<const void*>(offset));
        fed[size_t(location)] = true;
        offset += bytes;
    };
    switch (fvf_ & D3DFVF_POSITION_MASK)
    {
    case D3DFVF_XYZ:
        attribute(0, 3, GL_FLOAT, false, 12);
        break;
    case D3DFVF_XYZW:
    case D3DFVF_XYZRHW:
        attribute(0, 4, GL_FLOAT, false, 16);
        break;
    default:
        break;
    }
    if (fvf_ & D3DFVF_NORMAL)
        attribute(1, 3, GL_FLOAT, false, 12);
    // D3DCOLOR is B, G, R, A in memory: GL_BGRA puts red in .r.
    if (fvf_ & D3DFVF_DIFFUSE)
        attribute(2, GL_BGRA, GL_UNSIGNED_BYTE, true, 4);
    if (fvf_ & D3DFVF_SPECULAR)
        attribute(3, GL_BGRA, GL_UNSIGNED_BYTE, true, 4);
    const UINT sets = std::min<UINT>((fvf_ & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT, 8);
    for (UINT set = 0; set < sets; ++set)
    {
        static constexpr GLint kSizes[4] = {2, 3, 4, 1};
        const GLint size = kSizes[(fvf_ >> (16 + 2 * set)) & 3];
        attribute(kTexCoordLocation0 + int(set), size, GL_FLOAT, false, size_t(size) * 4);
    }
    // An input the format lacks reads (0, 0, 0, 1).
    for (size_t location = 0; location < fed.size(); ++location)
        if (!fed[location])
        {
            glDisableVertexAttribArray(GLuint(location));
            glVertexAttrib4f(GLuint(location), 0.0f, 0.0f, 0.0f, 1.0f);
        }
}

void GlDevice::ApplySamplers()
{
    bool unitChanged = false;
    for (GLuint unit = 0; unit < kSamplerCount; ++unit)
    {
        GlTexture* texture = textures_[unit];
        if (texture)
            texture->DefineMissingLevels();
        const GLuint name = texture ? texture->Name() : 0;
        if (boundTextures_[unit] != name)
        {
            glActiveTexture(GL_TEXTURE0 + unit);
            glBindTexture(GL_TEXTURE_2D, name);
            boundTextures_[unit] = name;
            unitChanged = true;
        }
        if (!samplerDirty_[unit])
            continue;
        samplerDirty_[unit] = false;
        auto& states = samplerStates_[unit];
        const DWORD minFilter = states[D3DSAMP_MINFILTER];
        const DWORD magFilter = states[D3DSAMP_MAGFILTER];
        const DWORD mipFilter = states[D3DSAMP_MIPFILTER];
        const bool minLinear = minFilter == D3DTEXF_LINEAR || minFilter == D3DTEXF_ANISOTROPIC;
        GLenum min = minLinear ? GL_LINEAR : GL_NEAREST;
        if (mipFilter == D3DTEXF_POINT)
            min = minLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
        else if (mipFilter == D3DTEXF_LINEAR || mipFilter == D3DTEXF_ANISOTROPIC)
            min = minLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
        const bool magLinear = magFilter == D3DTEXF_LINEAR || magFilter == D3DTEXF_ANISOTROPIC;
        glSamplerParameteri(samplers_[unit], GL_TEXTURE_MIN_FILTER, GLint(min));
        glSamplerParameteri(samplers_[unit], GL_TEXTURE_MAG_FILTER,
                            magLinear ? GL_LINEAR : GL_NEAREST);
        glSamplerParameteri(samplers_[unit], GL_TEXTURE_WRAP_S,
                            GLint(AddressMode(states[D3DSAMP_ADDRESSU])));
        glSamplerParameteri(samplers_[unit], GL_TEXTURE_WRAP_T,
                            GLint(AddressMode(states[D3DSAMP_ADDRESSV])));
        if (info_.anisotropic)
        {
            const bool anisotropic =
                minFilter == D3DTEXF_ANISOTROPIC || magFilter == D3DTEXF_ANISOTROPIC;
            float level = anisotropic ? float(std::max<DWORD>(1, states[D3DSAMP_MAXANISOTROPY])) : 1.0f;
            glSamplerParameterf(samplers_[unit], GL_TEXTURE_MAX_ANISOTROPY_EXT,
                                std::min(level, info_.maxAnisotropy));
        }
    }
    // Uploads and read-backs bind on unit 0.
    if (unitChanged)
        glActiveTexture(GL_TEXTURE0);
}

void GlDevice::ApplyRenderState()
{
    glBindFramebuffer(GL_FRAMEBUFFER, target_->Framebuffer());
    ApplyClipOrigin();
    // Targets are stored top row first, so Direct3D's rectangles apply as
    // they are; the window's rectangles are turned over (its clip origin
    // turns the geometry).
    glViewport(GLint(viewport_.X), GlRowOf(LONG(viewport_.Y), LONG(viewport_.Height)),
               GLsizei(viewport_.Width), GLsizei(viewport_.Height));
    glDepthRange(viewport_.MinZ, viewport_.MaxZ);
    if (RenderState(D3DRS_SCISSORTESTENABLE))
    {
        glEnable(GL_SCISSOR_TEST);
        glScissor(scissor_.left, GlRowOf(scissor_.top, scissor_.bottom - scissor_.top),
                  scissor_.right - scissor_.left, scissor_.bottom - scissor_.top);
    }
    else
    {
        glDisable(GL_SCISSOR_TEST);
    }
    if (RenderState(D3DRS_ZENABLE))
    {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(RenderState(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);
    }
    else
    {
        glDisable(GL_DEPTH_TEST);
    }
    // The vertex stage flips y, which turns screen-clockwise into GL's
    // counter-clockwise (the window's upper-left origin keeps it so):
    // Direct3D's CCW culling is GL's back-face culling.
    switch (RenderState(D3DRS_CULLMODE))
    {
    case D3DCULL_CCW:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CCW);
        glCullFace(GL_BACK);
        break;
    case D3DCULL_CW:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CCW);
        glCullFace(GL_FRONT);
        break;
    default:
        glDisable(GL_CULL_FACE);
        break;
    }
    if (RenderState(D3DRS_ALPHABLENDENABLE))
    {
        glEnable(GL_BLEND);
        const GLenum src = BlendFactor(RenderState(D3DRS_SRCBLEND));
        const GLenum dst = BlendFactor(RenderState(D3DRS_DESTBLEND));
        if (RenderState(D3DRS_SEPARATEALPHABLENDENABLE))
            glBlendFuncSeparate(src, dst, BlendFactor(RenderState(D3DRS_SRCBLENDALPHA)),
                                BlendFactor(RenderState(D3DRS_DESTBLENDALPHA)));
        else
            glBlendFunc(src, dst);
    }
    else
    {
        glDisable(GL_BLEND);
    }
}

// ---- draws ------------------------------------------------------------------------

HRESULT GlDevice::CheckDraw(D3DPRIMITIVETYPE type, UINT primitiveCount, UINT& elementCount)
{
    elementCount = ElementCount(type, primitiveCount);
    if (!inScene_ || primitiveCount == 0 || elementCount == 0)
        return D3DERR_INVALIDCALL;
    if (!vertexShader_ || !pixelShader_ || !stream_ || fvf_ == 0 || streamStride_ == 0)
        return D3DERR_INVALIDCALL;
    if (stream_->Store().Locked())
        return D3DERR_INVALIDCALL; // its data are not uploaded yet
    return D3D_OK;
}

HRESULT GlDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount)
{
    HV_INJECT("DrawPrimitive");
    UINT count = 0;
    if (HRESULT hr = CheckDraw(type, primitiveCount, count); FAILED(hr))
        return hr;
    const uint64_t end = streamOffset_ + (uint64_t(startVertex) + count) * streamStride_;
    if (end > stream_->Store().Length())
        return D3DERR_INVALIDCALL;
    if (lost_)
        return D3D_OK;
    MakeCurrent();
    const Program* program = ProgramForDraw();
    if (!program)
        return D3DERR_INVALIDCALL;
    glUseProgram(program->name);
    ApplyRenderState();
    ApplySamplers();
    UploadConstants();
    stream_->Store().Upload(end);
    ApplyVertexInput();
    if (program->pixelOffset >= 0)
        glUniform2f(program->pixelOffset, 1.0f / float(viewport_.Width),
                    1.0f / float(viewport_.Height));
    glDrawArrays(PrimitiveMode(type), GLint(startVertex), GLsizei(count));
    ++counters_.drawCalls;
    counters_.primitives += primitiveCount;
    return D3D_OK;
}

HRESULT GlDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                                       UINT numVertices, UINT startIndex, UINT primitiveCount)
{
    HV_INJECT("DrawIndexedPrimitive");
    UINT count = 0;
    if (HRESULT hr = CheckDraw(type, primitiveCount, count); FAILED(hr))
        return hr;
    if (!indices_ || indices_->Store().Locked() || baseVertex < 0 || numVertices == 0)
        return D3DERR_INVALIDCALL;
    const UINT indexSize = indices_->IndexSize();
    if ((uint64_t(startIndex) + count) * indexSize > indices_->Store().Length())
        return D3DERR_INVALIDCALL;
    const uint64_t vertexEnd =
        streamOffset_ + (uint64_t(baseVertex) + minIndex + numVertices) * streamStride_;
    if (vertexEnd > stream_->Store().Length())
        return D3DERR_INVALIDCALL;
    if (lost_)
        return D3D_OK;
    MakeCurrent();
    const Program* program = ProgramForDraw();
    if (!program)
        return D3DERR_INVALIDCALL;
    glUseProgram(program->name);
    ApplyRenderState();
    ApplySamplers();
    UploadConstants();
    stream_->Store().Upload(vertexEnd);
    indices_->Store().Upload((uint64_t(startIndex) + count) * indexSize);
    ApplyVertexInput();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices_->Store().Name());
    if (program->pixelOffset >= 0)
        glUniform2f(program->pixelOffset, 1.0f / float(viewport_.Width),
                    1.0f / float(viewport_.Height));
    glDrawRangeElementsBaseVertex(PrimitiveMode(type), minIndex, minIndex + numVertices - 1, GLsizei(count),
                                  indexSize == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT,
                                  reinterpret_cast<const void*>(size_t(startIndex) * indexSize), baseVertex);
    ++counters_.drawCalls;
    counters_.primitives += primitiveCount;
    return D3D_OK;
}

} // namespace d3d9
