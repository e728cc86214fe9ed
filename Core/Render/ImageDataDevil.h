#pragma once

// BMP, GIF, JPEG, PNG and TGA pictures through DevIL. DevIL keeps global
// state, so Load holds one process-wide lock while it uses the library and
// keeps its own copy of the pixels: pictures may be decoded on several
// threads at once.
#include "Core/Render/ImageData.h"

#include <vector>

namespace render
{
class ImageDataDevil : public ImageData
{
public:
    HVResultEnum Load(base::Stream* stream, const wchar_t* extension) override;
    HVResultEnum Decode(uint32_t pitch, void* destination, HitMask* mask) override;

private:
    bool mLowerLeft = false;
    std::vector<unsigned char> mPixels;
};
} // namespace render
