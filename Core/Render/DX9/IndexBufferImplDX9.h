#pragma once

#include "Core/Render/DX9/BufferImplDX9.h"

namespace render
{
class IndexBufferImplDX9 : public BufferImplDX9<IndexBufferImpl, IDirect3DIndexBuffer9>
{
public:
    using BufferImplDX9::BufferImplDX9;
    HVResultEnum Create(uint32_t elementSize, uint32_t count, bool dynamic) override;

private:
    HVResultEnum CreateDevice() override;
};
} // namespace render
