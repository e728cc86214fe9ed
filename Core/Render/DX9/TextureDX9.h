#pragma once

#include "Core/Render/HitMask.h"
#include "Core/Render/Texture.h"
#include "Platform/D3D9/D3D9.h"

namespace render
{
class RenderDX9;

class TextureDX9 : public Texture
{
public:
    explicit TextureDX9(RenderDX9* render);
    ~TextureDX9() override;

    HVResultEnum CreateFromImage(ImageData* image) override;
    HVResultEnum CreateRenderTarget(int32_t width, int32_t height) override;
    HVResultEnum CreateDynamic(int32_t width, int32_t height) override;
    bool GetMaskBit(int32_t x, int32_t y) const override;
    HVResultEnum OnResetDevice() override;
    HVResultEnum OnLostDevice() override;
    bool CanLock() const override { return true; }
    HVResultEnum Lock(uint32_t* sizeInPixels, uint32_t* pitch, void** address) override;
    HVResultEnum Unlock() override;
    HVResultEnum Upload(const void*) override { return HV_FAIL; }

    IDirect3DTexture9* GetTexture() const { return mTexture; }
    // The level-0 surface, fetched on first use and kept.
    IDirect3DSurface9* GetSurface();
    const HitMask& GetHitMask() const { return mHitMask; }

private:
    // Render-target and dynamic textures live in the default pool.
    HVResultEnum CreateDefaultPool();
    void ReleaseDevice();

    IDirect3DTexture9* mTexture = nullptr;
    IDirect3DSurface9* mSurface = nullptr;
    RenderDX9* mRenderDX9;
    HitMask mHitMask;
    uint8_t mRenderTarget = 0;
    uint8_t mDynamic = 0;
};
} // namespace render
