#pragma once

// What the device needs of a render-target surface: the back buffer or a
// render-target texture's level 0, stored top row first; or the back buffer
// drawn straight into the window, whose framebuffer stores rows bottom first.
#include "Platform/D3D9/D3D9.h"

#include <epoxy/gl.h>

namespace d3d9 {

class GlDevice;

class GlSurface : public IDirect3DSurface9
{
public:
    virtual GlDevice* OwnerDevice() const = 0;
    // 0 when the surface cannot be drawn into, unless it is the window's.
    virtual GLuint Framebuffer() = 0;
    // The window's own framebuffer (0), bottom row first.
    virtual bool InWindow() const { return false; }
    bool Drawable() { return InWindow() || Framebuffer() != 0; }
    virtual UINT Width() const = 0;
    virtual UINT Height() const = 0;
    virtual bool HasAlpha() const = 0;
    // The device's binding while the surface is the current target.
    virtual void Grab() = 0;
    virtual void Drop() = 0;
};

} // namespace d3d9
