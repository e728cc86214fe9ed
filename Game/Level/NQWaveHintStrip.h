#pragma once

#include <vector>

namespace render
{
class Image;
}

class NQFrameEntry;
class NQPoint;

// The early-call hints of the next wave group: one frame per spawn point,
// kept inside the play area.
class NQWaveHintStrip
{
public:
    // The play area the hints stay inside.
    static constexpr int kAreaWidth = 1024;
    static constexpr int kAreaHeight = 768;
    static constexpr int kTop = 100;
    static constexpr int kBottom = 668;

    // Looks up "ui/wave_hint" of the sprite set "nq/ui".
    NQWaveHintStrip();
    ~NQWaveHintStrip();
    NQWaveHintStrip(const NQWaveHintStrip&) = delete;
    NQWaveHintStrip& operator=(const NQWaveHintStrip&) = delete;

    // A hint at the point, clamped into the play area; 0 x 0 without a picture.
    void AddHint(const NQPoint& point);
    void Clear();
    // Whether the point lies strictly inside a hint.
    bool HitTest(int x, int y) const;

    // Not owned: the sprite set's picture.
    render::Image* mPicture = nullptr;
    float mNextWaveTime = 0.0f;
    std::vector<NQFrameEntry*> mHints;
};
