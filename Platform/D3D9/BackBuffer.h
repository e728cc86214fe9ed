#pragma once

// The device's back buffer: an offscreen framebuffer (colour and D24S8)
// that Present flips and stretches onto the window.
#include "Platform/D3D9/DeviceChild.h"
#include "Platform/D3D9/GlSurface.h"

namespace d3d9 {

class BackBuffer final : public GlSurface, public DeviceChild
{
public:
    explicit BackBuffer(GlDevice* device);
    ~BackBuffer() override;

    ULONG AddRef() override { return AddRefExternal(); }
    ULONG Release() override { return ReleaseExternal(); }

    GlDevice* OwnerDevice() const override { return Device(); }
    GLuint Framebuffer() override { return framebuffer_; }
    UINT Width() const override { return width_; }
    UINT Height() const override { return height_; }
    bool HasAlpha() const override { return false; }
    void Grab() override { DeviceChild::Grab(); }
    void Drop() override { DeviceChild::Drop(); }

    bool Build(UINT width, UINT height);
    GLuint DepthStencil() const { return depthStencil_; }

private:
    void Free();

    GLuint framebuffer_ = 0;
    GLuint color_ = 0;
    GLuint depthStencil_ = 0;
    UINT width_ = 0;
    UINT height_ = 0;
};

} // namespace d3d9
