#pragma once

#include <vector>

class NQFrameEntry;

// The level picture's frames, the build-spot frames among them.
class NQDecorationSet
{
public:
    NQDecorationSet() = default;
    ~NQDecorationSet();
    NQDecorationSet(const NQDecorationSet&) = delete;
    NQDecorationSet& operator=(const NQDecorationSet&) = delete;

    // Every spot frame shown again.
    void ShowSpotFrames();

    // Owned.
    std::vector<NQFrameEntry*> mFrames;
    // Not owned: the spot frames among mFrames.
    std::vector<NQFrameEntry*> mSpotFrames;
};
