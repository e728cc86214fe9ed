#include "Platform/D3D9/GlInfo.h"

#include <SDL.h>
#include <epoxy/gl.h>

namespace d3d9 {

GlInfo QueryGlInfo()
{
    GlInfo info;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &info.maxTextureSize);
    info.s3tc = epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc");
    info.anisotropic = epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
                       epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic");
    if (info.anisotropic)
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &info.maxAnisotropy);
    info.clipControl = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");
    if (const GLubyte* text = glGetString(GL_VERSION))
        info.version = reinterpret_cast<const char*>(text);
    if (const GLubyte* text = glGetString(GL_RENDERER))
        info.renderer = reinterpret_cast<const char*>(text);
    return info;
}

void SetContextAttributes()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
}

} // namespace d3d9
