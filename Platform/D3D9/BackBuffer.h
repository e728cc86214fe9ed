#pragma once

// The device's back buffer: the window's own framebuffer when it has the
// back buffer's size (nothing to copy per frame), else an offscreen colour
// buffer that Present flips and stretches onto the window. The D24S8
// renderbuffer is made either way: render targets draw with it.
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
    bool InWindow() const override { return inWindow_; }
    void Grab() override { DeviceChild::Grab(); }
    void Drop() override { DeviceChild::Drop(); }

    bool Build(UINT width, UINT height, bool inWindow);
    // Moves between the window and the offscreen buffer, keeping the
    // depth-stencil the render targets hold; the contents are lost.
    bool PlaceInWindow(bool inWindow);
    GLuint DepthStencil() const { return depthStencil_; }

private:
    void Free();
    void FreeColour();
    bool BuildColour();

    GLuint framebuffer_ = 0;
    GLuint color_ = 0;
    GLuint depthStencil_ = 0;
    UINT width_ = 0;
    UINT height_ = 0;
    bool inWindow_ = false;
};

} // namespace d3d9
