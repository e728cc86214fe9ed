#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
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
    // A hint's text starts this far beside the hint's centre; each later
    // hint's text stands a row higher, clear of the ones before.
    static constexpr float kTextGap = 32.0f;
    static constexpr float kLineSpacing = 25.0f;
    static constexpr float kScreenMiddleX = 512.0f;

    // Where the text of a hint is drawn, in map space: it is centred on y
    // and runs from x towards the middle of the screen.
    struct TextAnchor
    {
        float x = 0.0f;
        float y = 0.0f;
        bool runsRight = true;
    };

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
    // The anchor of hint i's text; i is within mHints.
    TextAnchor TextAnchorOf(size_t i) const;
    // "Incoming!" with no whole second left, else "Next wave in " and the seconds.
    static std::wstring Text(int32_t seconds);

    // Not owned: the sprite set's picture.
    render::Image* mPicture = nullptr;
    float mNextWaveTime = 0.0f;
    std::vector<NQFrameEntry*> mHints;
};
