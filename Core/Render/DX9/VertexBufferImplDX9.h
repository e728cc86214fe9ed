#pragma once

#include "Core/Render/DX9/BufferImplDX9.h"

namespace render
{
class VertexBufferImplDX9 : public BufferImplDX9<VertexBufferImpl, IDirect3DVertexBuffer9>
{
public:
    using BufferImplDX9::BufferImplDX9;
    HVResultEnum Create(const VertexFormat* format, uint32_t count, bool dynamic) override;

private:
    HVResultEnum CreateDevice() override;

    uint32_t mFvf = 0;
};
} // namespace render
