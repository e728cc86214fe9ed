#pragma once

#include <string>

namespace base
{
// The description of one picture or layer of a layered image.
class ImageInfo
{
public:
    ImageInfo() = default;
    // The rectangle is stored multiplied by the scale.
    ImageInfo(const std::wstring& name, int x, int y, int w, int h, int opacity, int index, bool hasImage,
              bool documentLayer, float scale);
    ImageInfo(const ImageInfo&) = default;
    ImageInfo& operator=(const ImageInfo&) = default;
    virtual ~ImageInfo() = default;

    std::wstring name; // '/'-separated group path included
    int opacity = 255;
    int index = 0;
    bool hasImage = true;
    bool documentLayer = false;
    bool fromAtlas = false;
    std::wstring atlasName;
    float u = 0.0f;
    float v = 0.0f;
    float du = 1.0f;
    float dv = 1.0f;
    float scale = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
};
}
