#include "Platform/D3D9/BackBuffer.h"

#include "Platform/D3D9/GlDevice.h"

namespace d3d9 {

BackBuffer::BackBuffer(GlDevice* device) : DeviceChild(device, true, 0) {}

BackBuffer::~BackBuffer()
{
    Device()->MakeCurrent();
    Free();
}

void BackBuffer::Free()
{
    FreeColour();
    if (depthStencil_)
        glDeleteRenderbuffers(1, &depthStencil_);
    depthStencil_ = 0;
}

void BackBuffer::FreeColour()
{
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    if (color_)
        glDeleteRenderbuffers(1, &color_);
    framebuffer_ = color_ = 0;
}

bool BackBuffer::Build(UINT width, UINT height, bool inWindow)
{
    Free();
    width_ = width;
    height_ = height;
    glGenRenderbuffers(1, &depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, GLsizei(width), GLsizei(height));
    inWindow_ = !inWindow; // so that the placement below is a change
    return PlaceInWindow(inWindow);
}

bool BackBuffer::PlaceInWindow(bool inWindow)
{
    if (inWindow == inWindow_)
        return true;
    inWindow_ = inWindow;
    FreeColour();
    if (inWindow)
    {
        // Zeros, as a new renderbuffer holds: nothing of an earlier frame
        // or of another program shows through.
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDisable(GL_SCISSOR_TEST);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDepthMask(GL_TRUE);
        glStencilMask(0xFFFFFFFFu);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClearDepth(0.0);
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        return true;
    }
    return BuildColour();
}

bool BackBuffer::BuildColour()
{
    glGenRenderbuffers(1, &color_);
    glBindRenderbuffer(GL_RENDERBUFFER, color_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(width_), GLsizei(height_));
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencil_);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

} // namespace d3d9
