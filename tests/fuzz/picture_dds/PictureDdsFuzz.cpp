// Arbitrary bytes as a DDS file: load, then decode into a buffer of exactly
// the size a texture would lock for level 0, with its hit mask.

#include "Core/Base/MemoryStream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageDataDDS.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    base::MemoryStream stream(data, size);
    render::ImageDataDDS dds;
    if (dds.Load(&stream, L".dds") != HV_OK)
        return 0;
    // Large pictures would only slow the run down.
    if (size_t(dds.GetRowBytes()) * size_t(dds.GetRowCount()) > (size_t(1) << 24))
        return 0;
    std::vector<unsigned char> level(size_t(dds.GetRowBytes()) * size_t(dds.GetRowCount()));
    render::HitMask mask;
    dds.Decode(dds.GetRowBytes(), level.data(), &mask);
    return 0;
}
