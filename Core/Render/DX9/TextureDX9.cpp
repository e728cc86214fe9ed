#include "Core/Render/DX9/TextureDX9.h"

#include "Core/Render/DX9/RenderDX9.h"
#include "Core/Render/ImageData.h"

namespace render
{
TextureDX9::TextureDX9(RenderDX9* render) : Texture(render), mRenderDX9(render) {}

TextureDX9::~TextureDX9()
{
    ReleaseDevice();
    mHitMask.Resize(0);
}

void TextureDX9::ReleaseDevice()
{
    if (mSurface)
        mSurface->Release();
    mSurface = nullptr;
    if (mTexture)
        mTexture->Release();
    mTexture = nullptr;
}

HVResultEnum TextureDX9::CreateFromImage(ImageData* image)
{
    mWidth = image->GetWidth();
    mHeight = image->GetHeight();
    mRenderTarget = 0;
    mDynamic = 0;
    D3DFORMAT format;
    switch (image->GetType())
    {
    case 1: format = D3DFMT_DXT1; break;
    case 2: format = D3DFMT_DXT3; break;
    case 3: format = D3DFMT_DXT5; break;
    default: format = D3DFMT_A8R8G8B8; break;
    }
    ReleaseDevice();
    // One level: only level 0 is ever written, and sampling unwritten
    // levels under the mip filter would read undefined texels.
    if (FAILED(mRenderDX9->mDevice->CreateTexture(UINT(mWidth), UINT(mHeight), 1, 0, format, D3DPOOL_MANAGED,
                                                  &mTexture, nullptr)))
    {
        mTexture = nullptr;
        return HV_FAIL;
    }
    D3DLOCKED_RECT locked{};
    if (FAILED(mTexture->LockRect(0, &locked, nullptr, 0)))
        return HV_FAIL;
    mHitMask.Resize(uint32_t(mWidth) * uint32_t(mHeight));
    const HVResultEnum result = image->Decode(uint32_t(locked.Pitch), locked.pBits, &mHitMask);
    if (FAILED(mTexture->UnlockRect(0)))
        return HV_FAIL;
    return result;
}

HVResultEnum TextureDX9::CreateDefaultPool()
{
    const DWORD usage = mRenderTarget ? D3DUSAGE_RENDERTARGET : D3DUSAGE_DYNAMIC;
    if (FAILED(mRenderDX9->mDevice->CreateTexture(UINT(mWidth), UINT(mHeight), 1, usage, D3DFMT_A8R8G8B8,
                                                  D3DPOOL_DEFAULT, &mTexture, nullptr)))
    {
        mTexture = nullptr;
        return HV_FAIL;
    }
    return HV_OK;
}

HVResultEnum TextureDX9::CreateRenderTarget(int32_t width, int32_t height)
{
    ReleaseDevice();
    mWidth = width;
    mHeight = height;
    mRenderTarget = 1;
    return CreateDefaultPool();
}

HVResultEnum TextureDX9::CreateDynamic(int32_t width, int32_t height)
{
    ReleaseDevice();
    mWidth = width;
    mHeight = height;
    mDynamic = 1;
    return CreateDefaultPool();
}

bool TextureDX9::GetMaskBit(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight || mHitMask.GetBitCount() == 0)
        return false;
    return mHitMask.Get(uint32_t(x) + uint32_t(y) * uint32_t(mWidth));
}

HVResultEnum TextureDX9::OnLostDevice()
{
    if (mRenderTarget || mDynamic)
        ReleaseDevice();
    return HV_OK;
}

HVResultEnum TextureDX9::OnResetDevice()
{
    if (!(mRenderTarget || mDynamic) || mTexture)
        return HV_OK;
    return CreateDefaultPool();
}

IDirect3DSurface9* TextureDX9::GetSurface()
{
    if (!mSurface && mTexture && FAILED(mTexture->GetSurfaceLevel(0, &mSurface)))
        mSurface = nullptr;
    return mSurface;
}

HVResultEnum TextureDX9::Lock(uint32_t* sizeInPixels, uint32_t* pitch, void** address)
{
    if (!mDynamic || !mTexture)
        return HV_FAIL;
    D3DLOCKED_RECT locked{};
    if (FAILED(mTexture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD)))
        return HV_FAIL;
    *pitch = uint32_t(locked.Pitch);
    *sizeInPixels = uint32_t(locked.Pitch) * uint32_t(mHeight) / 4;
    *address = locked.pBits;
    return HV_OK;
}

HVResultEnum TextureDX9::Unlock()
{
    if (!mDynamic || !mTexture)
        return HV_FAIL;
    return FAILED(mTexture->UnlockRect(0)) ? HV_FAIL : HV_OK;
}
} // namespace render
