#pragma once

#include "Core/Render/Buffer.h"
#include "Platform/D3D9/D3D9.h"

namespace render
{
class RenderDX9;

class VertexBufferImplDX9 : public VertexBufferImpl
{
public:
    explicit VertexBufferImplDX9(RenderDX9* render);
    ~VertexBufferImplDX9() override;
    HVResultEnum Create(const VertexFormat* format, uint32_t count, bool dynamic) override;
    HVResultEnum Lock() override;
    HVResultEnum Unlock() override;
    HVResultEnum OnResetDevice() override;
    HVResultEnum OnLostDevice() override;
    bool IsNotUsable() const override { return !mBuffer || !mLocked; }

    IDirect3DVertexBuffer9* GetBuffer() const { return mBuffer; }

private:
    HVResultEnum CreateDevice();

    RenderDX9* mRenderDX9;
    IDirect3DVertexBuffer9* mBuffer = nullptr;
    uint8_t mDynamic = 0;
    uint32_t mFvf = 0;
};
} // namespace render
