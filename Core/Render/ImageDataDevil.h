#pragma once

// BMP, GIF, JPEG, PNG and TGA pictures through DevIL, which keeps global
// state: initialised in Load, shut down after Decode (or by the destructor
// when Decode never ran).
#include "Core/Render/ImageData.h"

#include <string>

namespace render
{
class ImageDataDevil : public ImageData
{
public:
    ~ImageDataDevil() override;

    HVResultEnum Load(base::Stream* stream, const wchar_t* extension) override;
    HVResultEnum Decode(uint32_t pitch, void* destination, HitMask* mask) override;

private:
    void Shutdown();

    base::Stream* mStream = nullptr;
    std::wstring mExtension;
    bool mLowerLeft = false;
    unsigned mImageName = 0;
    bool mInitialised = false;
    const unsigned char* mPixels = nullptr;
};
} // namespace render
