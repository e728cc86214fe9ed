// Arbitrary bytes through the engine's picture loading as the picture
// library reads them, structural check included; the first byte picks the
// kind (as in picture_check) so one corpus covers all five. A picture that
// loads is decoded into a buffer of exactly the locked size, with its hit mask.
#include "Core/Base/MemoryStream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageData.h"
#include "Core/Render/ImageLoader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace
{
// In the order of render::PictureKind.
const wchar_t* const kExtensions[] = {L".bmp", L".gif", L".jpg", L".png", L".tga"};
constexpr size_t kKinds = 5;
// Large pictures would only slow the run down.
constexpr size_t kMaxDecodedBytes = size_t(1) << 24;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    base::MemoryStream stream(data + 1, size - 1);
    std::unique_ptr<render::ImageData> picture(
        render::ImageLoader::Instance()->CreateImageData(&stream, kExtensions[data[0] % kKinds], nullptr));
    if (!picture)
        return 0;
    const size_t pitch = size_t(picture->GetWidth()) * 4;
    if (pitch * size_t(picture->GetHeight()) > kMaxDecodedBytes)
        return 0;
    std::vector<unsigned char> pixels(pitch * size_t(picture->GetHeight()));
    render::HitMask mask;
    picture->Decode(uint32_t(pitch), pixels.data(), &mask);
    return 0;
}
