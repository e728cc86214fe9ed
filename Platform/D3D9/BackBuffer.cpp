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
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    if (color_)
        glDeleteRenderbuffers(1, &color_);
    if (depthStencil_)
        glDeleteRenderbuffers(1, &depthStencil_);
    framebuffer_ = color_ = depthStencil_ = 0;
}

bool BackBuffer::Build(UINT width, UINT height)
{
    Free();
    width_ = width;
    height_ = height;
    glGenRenderbuffers(1, &color_);
    glBindRenderbuffer(GL_RENDERBUFFER, color_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(width), GLsizei(height));
    glGenRenderbuffers(1, &depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, GLsizei(width), GLsizei(height));
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthStencil_);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

} // namespace d3d9
