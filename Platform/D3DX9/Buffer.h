#pragma once

// ID3DXBuffer: a block of bytes the compile call hands out.
#include "Platform/D3D9/LiveObjects.h"
#include "Platform/D3DX9/D3DX9.h"

#include <vector>

namespace d3dx9 {

class Buffer final : public ID3DXBuffer, public d3d9::LiveObject
{
public:
    explicit Buffer(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override;
    void* GetBufferPointer() override { return bytes_.data(); }
    DWORD GetBufferSize() override { return DWORD(bytes_.size()); }

private:
    ULONG refs_ = 1;
    std::vector<uint8_t> bytes_;
};

} // namespace d3dx9
