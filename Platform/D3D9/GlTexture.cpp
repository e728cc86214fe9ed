#include "Platform/D3D9/GlTexture.h"

#include "Platform/D3D9/FailureInjection.h"
#include "Platform/D3D9/GlDevice.h"

#include <algorithm>

namespace d3d9 {

ULONG TextureSurface::AddRef() { return texture_->AddRef(); }
ULONG TextureSurface::Release() { return texture_->Release(); }
GlDevice* TextureSurface::OwnerDevice() const { return texture_->Device(); }
GLuint TextureSurface::Framebuffer() { return level_ == 0 ? texture_->Framebuffer() : 0; }
UINT TextureSurface::Width() const { return texture_->LevelWidth(level_); }
UINT TextureSurface::Height() const { return texture_->LevelHeight(level_); }
void TextureSurface::Grab() { texture_->Grab(); }
void TextureSurface::Drop() { texture_->Drop(); }

namespace {

UINT FullChain(UINT width, UINT height)
{
    UINT levels = 1;
    while (width > 1 || height > 1)
    {
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
        ++levels;
    }
    return levels;
}

bool KnownFormat(D3DFORMAT format)
{
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_DXT1 || format == D3DFMT_DXT3 ||
           format == D3DFMT_DXT5;
}

} // namespace

GlTexture* GlTexture::Create(GlDevice* device, UINT width, UINT height, UINT levels, DWORD usage,
                             D3DFORMAT format, D3DPOOL pool, HRESULT& result)
{
    result = D3DERR_INVALIDCALL;
    const UINT maxSize = device->MaxTextureSize();
    if (width == 0 || height == 0 || width > maxSize || height > maxSize || !KnownFormat(format))
        return nullptr;
    const bool managed = pool == D3DPOOL_MANAGED && usage == 0;
    const bool target = pool == D3DPOOL_DEFAULT && usage == D3DUSAGE_RENDERTARGET &&
                        format == D3DFMT_A8R8G8B8;
    const bool dynamic = pool == D3DPOOL_DEFAULT && usage == D3DUSAGE_DYNAMIC;
    if (!managed && !target && !dynamic)
        return nullptr;
    if (format != D3DFMT_A8R8G8B8 && !device->HasS3tc())
        return nullptr;
    const UINT chain = FullChain(width, height);
    if (levels == 0 || levels > chain)
        levels = chain;
    if (target)
        levels = 1;
    auto* texture = new GlTexture(device, width, height, levels, usage, format, pool);
    if (!texture->Allocate())
    {
        texture->Release();
        result = D3DERR_OUTOFVIDEOMEMORY;
        return nullptr;
    }
    result = D3D_OK;
    return texture;
}

GlTexture::GlTexture(GlDevice* device, UINT width, UINT height, UINT levels, DWORD usage,
                     D3DFORMAT format, D3DPOOL pool)
    : DeviceChild(device, pool == D3DPOOL_DEFAULT), width_(width), height_(height),
      levels_(levels), usage_(usage), format_(format), pool_(pool), lockCopies_(levels),
      locked_(levels, false), defined_(levels, false)
{
    for (UINT i = 0; i < levels; ++i)
        surfaces_.push_back(std::make_unique<TextureSurface>(this, i));
}

GlTexture::~GlTexture()
{
    Device()->MakeCurrent();
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    if (texture_)
    {
        glDeleteTextures(1, &texture_);
        Device()->ForgetTexture(texture_);
    }
}

GLenum GlTexture::CompressedFormat() const
{
    switch (format_)
    {
    case D3DFMT_DXT1:
        return GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
    case D3DFMT_DXT3:
        return GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
    default:
        return GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
    }
}

UINT GlTexture::LevelWidth(UINT level) const { return std::max(1u, width_ >> level); }
UINT GlTexture::LevelHeight(UINT level) const { return std::max(1u, height_ >> level); }

UINT GlTexture::Pitch(UINT level) const
{
    if (!Compressed())
        return LevelWidth(level) * 4;
    const UINT blocks = (LevelWidth(level) + 3) / 4;
    return blocks * (format_ == D3DFMT_DXT1 ? 8 : 16);
}

UINT GlTexture::Rows(UINT level) const
{
    return Compressed() ? (LevelHeight(level) + 3) / 4 : LevelHeight(level);
}

bool GlTexture::Allocate()
{
    Device()->MakeCurrent();
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    // A one-level texture stays complete under a mip filter only with this.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(levels_ - 1));
    Device()->Rebind2DTexture();
    // A managed texture's pixels follow at once, through a lock.
    if (pool_ != D3DPOOL_MANAGED)
        DefineMissingLevels();
    return glGetError() == GL_NO_ERROR;
}

void GlTexture::DefineLevel(UINT level, const uint8_t* pixels)
{
    const GLsizei w = GLsizei(LevelWidth(level)), h = GLsizei(LevelHeight(level));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (Compressed())
    {
        std::vector<uint8_t> zeros;
        if (!pixels)
        {
            zeros.assign(size_t(Pitch(level)) * Rows(level), 0);
            pixels = zeros.data();
        }
        glCompressedTexImage2D(GL_TEXTURE_2D, GLint(level), CompressedFormat(), w, h, 0,
                               GLsizei(size_t(Pitch(level)) * Rows(level)), pixels);
    }
    else
    {
        glTexImage2D(GL_TEXTURE_2D, GLint(level), GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     pixels);
    }
    defined_[level] = true;
}

void GlTexture::DefineMissingLevels()
{
    if (std::find(defined_.begin(), defined_.end(), false) == defined_.end())
        return;
    Device()->MakeCurrent();
    glBindTexture(GL_TEXTURE_2D, texture_);
    for (UINT level = 0; level < levels_; ++level)
        if (!defined_[level])
            DefineLevel(level, nullptr);
    Device()->Rebind2DTexture();
}

GLuint GlTexture::Framebuffer()
{
    if (!IsRenderTarget())
        return 0;
    if (!framebuffer_)
    {
        Device()->MakeCurrent();
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
        // The device's depth-stencil serves every target no larger than it.
        const BackBuffer* back = Device()->BackBufferSurface();
        if (back && back->Width() >= width_ && back->Height() >= height_)
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                      back->DepthStencil());
    }
    return framebuffer_;
}

bool GlTexture::IsLocked() const
{
    return std::find(locked_.begin(), locked_.end(), true) != locked_.end();
}

HRESULT GlTexture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface)
{
    HV_INJECT("GetSurfaceLevel");
    if (!surface || level >= levels_)
        return D3DERR_INVALIDCALL;
    *surface = surfaces_[level].get();
    AddRef();
    return D3D_OK;
}

HRESULT GlTexture::LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags)
{
    HV_INJECT("LockRect");
    if (!lockedRect || rect || level >= levels_ || locked_[level])
        return D3DERR_INVALIDCALL;
    const bool discard = (flags & D3DLOCK_DISCARD) != 0;
    const bool dynamic = usage_ == D3DUSAGE_DYNAMIC;
    if (pool_ == D3DPOOL_DEFAULT && !dynamic)
        return D3DERR_INVALIDCALL; // render targets cannot be locked
    if (discard != dynamic && (discard || flags != 0))
        return D3DERR_INVALIDCALL; // DISCARD on dynamic textures only
    auto& copy = lockCopies_[level];
    copy.reset(new uint8_t[size_t(Pitch(level)) * Rows(level)]);
    // A level never written holds nothing to keep.
    if (!discard && defined_[level])
    {
        // Keeps what was written before, as a managed texture's lock does.
        Device()->MakeCurrent();
        glBindTexture(GL_TEXTURE_2D, texture_);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (Compressed())
            glGetCompressedTexImage(GL_TEXTURE_2D, GLint(level), copy.get());
        else
            glGetTexImage(GL_TEXTURE_2D, GLint(level), GL_BGRA, GL_UNSIGNED_BYTE, copy.get());
        Device()->Rebind2DTexture();
        Device()->CountReadBack(size_t(Pitch(level)) * Rows(level));
    }
    locked_[level] = true;
    lockedRect->Pitch = INT(Pitch(level));
    lockedRect->pBits = copy.get();
    return D3D_OK;
}

HRESULT GlTexture::UnlockRect(UINT level)
{
    HV_INJECT("UnlockRect");
    if (level >= levels_ || !locked_[level])
        return D3DERR_INVALIDCALL;
    locked_[level] = false;
    auto& copy = lockCopies_[level];
    const size_t bytes = size_t(Pitch(level)) * Rows(level);
    Device()->MakeCurrent();
    glBindTexture(GL_TEXTURE_2D, texture_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLsizei w = GLsizei(LevelWidth(level)), h = GLsizei(LevelHeight(level));
    if (!defined_[level])
        DefineLevel(level, copy.get());
    else if (Compressed())
        glCompressedTexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, w, h, CompressedFormat(),
                                  GLsizei(bytes), copy.get());
    else
        glTexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE,
                        copy.get());
    Device()->Rebind2DTexture();
    Device()->CountUpload(bytes);
    copy.reset();
    return D3D_OK;
}

} // namespace d3d9
