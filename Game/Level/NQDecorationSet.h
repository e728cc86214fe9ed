#pragma once

#include <vector>

class NQFrameEntry;

// The level picture's frames, the build-spot frames among them.
class NQDecorationSet
{
public:
    // The closed spot pictures "spots/s", "spots/g" and "spots/p".
    static constexpr int kSpotPictureCount = 3;

    NQDecorationSet() = default;
    ~NQDecorationSet();
    NQDecorationSet(const NQDecorationSet&) = delete;
    NQDecorationSet& operator=(const NQDecorationSet&) = delete;

    // Every spot frame shown again.
    void ShowSpotFrames();

    // Not owned: the spot frames among mFrames.
    std::vector<NQFrameEntry*> mSpotFrames;
    // Owned draw list: decoration frames, spot frames and badges, by layer value.
    std::vector<NQFrameEntry*> mFrames;
    // Frames of the sprite set "nq/spots", not owned; null when missing.
    NQFrameEntry* mSpotPictures[kSpotPictureCount] = {nullptr, nullptr, nullptr};
};
