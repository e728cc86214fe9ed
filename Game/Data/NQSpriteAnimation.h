#pragma once

// Plays one group of a cached sprite set at a frame rate; the set's anchor
// point lands on the drawing position.
#include <string>

namespace render
{
class Graphics;
}

class NQFrameEntry;
class NQSpriteSet;

class NQSpriteAnimation
{
public:
    static constexpr float kDefaultRate = 30.0f;
    static constexpr float kDefaultAnchorX = 50.0f;
    static constexpr float kDefaultAnchorY = 30.0f;

    // animationName: the group played; empty plays the root group.
    NQSpriteAnimation(const std::wstring& setName, const std::wstring& animationName);

    // Wraps to 0 once the group has been played through.
    void Advance(float dt);
    // The frame shown now, its transform placing it at (x, y) turned by angle
    // degrees; null when the group has no frame.
    NQFrameEntry* GetCurrentFrame(float x, float y, float angle);
    void Draw(render::Graphics* graphics, float x, float y, float angle);
    // The root group's frame count, whatever group is played.
    int GetFrameCount() const;
    // The frames of the played group.
    int GetGroupFrameCount() const;

    NQSpriteSet* mSet = nullptr;
    std::wstring mAnimationName;
    float mTime = 0.0f;
    float mAnchorX = kDefaultAnchorX;
    float mAnchorY = kDefaultAnchorY;
    std::wstring mSetName;
    float mRate = kDefaultRate;
};
