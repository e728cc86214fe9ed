#pragma once

// The raw host-order A8R8G8B8 pixels of a layered-image layer.
#include "Core/Base/ImageInfo.h"
#include "Core/Render/ImageData.h"

namespace render
{
class ImageDataRaw : public ImageData
{
public:
    explicit ImageDataRaw(const base::ImageInfo& info) : mInfo(info) {}

    HVResultEnum Load(base::Stream* stream, const wchar_t* extension) override;
    HVResultEnum Decode(uint32_t pitch, void* destination, HitMask* mask) override;

    // Truncation toward zero, with NaN and negatives giving 0 and large values the int maximum.
    static int SizeFromFloat(float value);

private:
    base::ImageInfo mInfo;
    base::Stream* mStream = nullptr;
};
} // namespace render
