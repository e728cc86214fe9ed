#pragma once

// Vertex and pixel shaders made from the compile call's blobs: a compiled GL
// shader object each; the device links pairs into programs on first draw.
#include "Platform/D3D9/DeviceChild.h"
#include "Platform/D3D9/D3D9.h"
#include "Platform/D3D9/ShaderBlob.h"

#include <epoxy/gl.h>

namespace d3d9 {

class GlShaderObject : public DeviceChild
{
public:
    GlShaderObject(GlDevice* device, ShaderBlob blob);
    ~GlShaderObject() override;

    // False (with the GL log on standard error) when GL rejects the text.
    bool Compile();
    GLuint Name() const { return shader_; }
    const ShaderBlob& Blob() const { return blob_; }

private:
    ShaderBlob blob_;
    GLuint shader_ = 0;
};

class GlVertexShader final : public IDirect3DVertexShader9, public GlShaderObject
{
public:
    using GlShaderObject::GlShaderObject;
    ULONG AddRef() override { return AddRefExternal(); }
    ULONG Release() override { return ReleaseExternal(); }
};

class GlPixelShader final : public IDirect3DPixelShader9, public GlShaderObject
{
public:
    using GlShaderObject::GlShaderObject;
    ULONG AddRef() override { return AddRefExternal(); }
    ULONG Release() override { return ReleaseExternal(); }
};

} // namespace d3d9
