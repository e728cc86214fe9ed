#pragma once

// A screenshot or a content picture: packed ARGB, top row first.
#include <cstdint>
#include <string>
#include <vector>

namespace playthrough
{
struct Picture
{
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> argb;

    bool Empty() const { return argb.empty(); }
    uint32_t At(uint32_t x, uint32_t y) const { return argb[size_t(y) * width + x]; }
};

struct MeanColor
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

bool SavePng(const Picture& picture, const std::string& path);
// Any PNG, expanded to 8-bit ARGB; false when it cannot be read.
bool LoadPng(const std::string& path, Picture& out);

// "FAIL_<step>.png" in `folder`, the step's name made file-safe; its path,
// empty when it could not be written.
std::string SaveFailureShot(const std::string& folder, const std::string& step, const Picture& picture);
// Letters and digits kept, everything else '_'.
std::string FileSafe(const std::string& name);

// A baseline or progressive JPEG, opaque.
bool LoadJpeg(const std::string& path, Picture& out);
// A content picture: "<base>.png", else "<base>.jpg".
bool LoadContentPicture(const std::string& base, Picture& out);

// The standard deviation of the grey level over the whole picture.
float GreyDeviation(const Picture& picture);
// Whether any pixel differs (sizes differing count as different).
bool Differs(const Picture& a, const Picture& b);
// Mean of the square [x, x + size) x [y, y + size), clipped to the picture.
MeanColor MeanOf(const Picture& picture, int x, int y, int size);
} // namespace playthrough
