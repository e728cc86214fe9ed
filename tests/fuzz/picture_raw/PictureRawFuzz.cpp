// Arbitrary bytes as a layer: the first 8 bytes are the layer rectangle's
// width and height (floats), the rest its pixels.

#include "Core/Base/ImageInfo.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageDataRaw.h"
#include "Core/Render/ImageLoader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    base::ImageInfo info;
    info.documentLayer = true;
    std::memcpy(&info.w, data, 4);
    std::memcpy(&info.h, data + 4, 4);
    base::MemoryStream stream(data + 8, size - 8);
    std::unique_ptr<render::ImageData> raw(render::ImageLoader::Instance()->CreateImageData(&stream, L"", &info));
    if (!raw || raw->GetWidth() > (1 << 20) || raw->GetHeight() > (1 << 20) ||
        size_t(raw->GetWidth()) * size_t(raw->GetHeight()) > (size_t(1) << 20))
        return 0;
    std::vector<uint32_t> pixels(size_t(raw->GetWidth()) * size_t(raw->GetHeight()));
    render::HitMask mask;
    raw->Decode(raw->GetWidth() * 4, pixels.data(), &mask);
    return 0;
}
