#pragma once

// A texture in one of the three kinds the engine makes: managed pictures
// (A8R8G8B8 or DXT), dynamic textures rewritten with DISCARD, and render
// targets. Locks hand out a CPU copy of a level; unlocking uploads it.
#include "Platform/D3D9/DeviceChild.h"
#include "Platform/D3D9/GlSurface.h"

#include <memory>
#include <vector>

namespace d3d9 {

class GlTexture;

class TextureSurface final : public GlSurface
{
public:
    TextureSurface(GlTexture* texture, UINT level) : texture_(texture), level_(level) {}

    ULONG AddRef() override;
    ULONG Release() override;
    GlDevice* OwnerDevice() const override;
    GLuint Framebuffer() override;
    UINT Width() const override;
    UINT Height() const override;
    bool HasAlpha() const override { return true; }
    void Grab() override;
    void Drop() override;

    GlTexture* Texture() const { return texture_; }

private:
    GlTexture* texture_;
    UINT level_;
};

class GlTexture final : public IDirect3DTexture9, public DeviceChild
{
public:
    // Checks the combination and makes the GL texture; null when refused.
    static GlTexture* Create(GlDevice* device, UINT width, UINT height, UINT levels, DWORD usage,
                             D3DFORMAT format, D3DPOOL pool, HRESULT& result);
    ~GlTexture() override;

    ULONG AddRef() override { return AddRefExternal(); }
    ULONG Release() override { return ReleaseExternal(); }
    DWORD GetLevelCount() override { return levels_; }
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;

    GLuint Name() const { return texture_; }
    // Before sampling: levels never written get their (zero) storage.
    void DefineMissingLevels();
    GLuint Framebuffer();
    bool IsRenderTarget() const { return (usage_ & D3DUSAGE_RENDERTARGET) != 0; }
    bool IsLocked() const;
    UINT LevelWidth(UINT level) const;
    UINT LevelHeight(UINT level) const;
    D3DFORMAT Format() const { return format_; }

private:
    GlTexture(GlDevice* device, UINT width, UINT height, UINT levels, DWORD usage,
              D3DFORMAT format, D3DPOOL pool);
    bool Allocate();
    // Gives a level GL storage: the pixels given, or zeros for null.
    void DefineLevel(UINT level, const uint8_t* pixels);
    UINT Pitch(UINT level) const;
    UINT Rows(UINT level) const;
    bool Compressed() const { return format_ != D3DFMT_A8R8G8B8; }
    GLenum CompressedFormat() const;

    UINT width_, height_, levels_;
    DWORD usage_;
    D3DFORMAT format_;
    D3DPOOL pool_;
    GLuint texture_ = 0;
    GLuint framebuffer_ = 0;
    // Uninitialised while locked: a lock either reads the level back or
    // hands out memory the caller fills.
    std::vector<std::unique_ptr<uint8_t[]>> lockCopies_;
    std::vector<bool> locked_;
    // The level has GL storage. A managed texture gets it at its first unlock,
    // with the pixels written, so a new picture is neither zeroed nor read back.
    std::vector<bool> defined_;
    std::vector<std::unique_ptr<TextureSurface>> surfaces_;
};

} // namespace d3d9
