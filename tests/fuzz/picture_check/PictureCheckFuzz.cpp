// Arbitrary bytes through the structural check of every picture kind; the
// first byte picks the kind so one corpus covers all five.

#include "Core/Render/PictureCheck.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const auto kind = static_cast<render::PictureKind>(data[0] % 5);
    // An exact-size copy so any read past the end is caught.
    std::vector<unsigned char> bytes(data + 1, data + size);
    render::CheckPictureStructure(kind, bytes.empty() ? nullptr : bytes.data(), bytes.size());
    return 0;
}
