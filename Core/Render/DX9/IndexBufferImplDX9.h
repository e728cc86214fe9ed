#pragma once

#include "Core/Render/Buffer.h"
#include "Platform/D3D9/D3D9.h"

namespace render
{
class RenderDX9;

class IndexBufferImplDX9 : public IndexBufferImpl
{
public:
    explicit IndexBufferImplDX9(RenderDX9* render);
    ~IndexBufferImplDX9() override;
    HVResultEnum Create(uint32_t elementSize, uint32_t count, bool dynamic) override;
    HVResultEnum Lock() override;
    HVResultEnum Unlock() override;
    HVResultEnum OnResetDevice() override;
    HVResultEnum OnLostDevice() override;
    bool IsNotUsable() const override { return !mBuffer || !mLocked; }

    IDirect3DIndexBuffer9* GetBuffer() const { return mBuffer; }

private:
    HVResultEnum CreateDevice();

    RenderDX9* mRenderDX9;
    IDirect3DIndexBuffer9* mBuffer = nullptr;
    uint8_t mDynamic = 0;
};
} // namespace render
