#pragma once

// A sprite playing the root group of a sprite set once (or looping), after an
// optional start delay, fading out over its last 0.2 s; it may follow an enemy.
#include "Game/Units/NQSprite.h"

class NQEnemy;
class NQSpriteAnimation;

class NQAnimatedSprite : public NQSprite
{
public:
    static constexpr float kRate = 20.0f;
    static constexpr float kFadeSeconds = 0.2f;

    explicit NQAnimatedSprite(const std::wstring& setName);
    ~NQAnimatedSprite() override;

    // A null enemy leaves the anchor unchanged.
    void SetAnchor(NQEnemy* enemy);
    // The anchor goes; the sprite stays where the enemy was last drawn.
    void ForgetAnchor();
    float GetDuration() const;

    void Draw(render::Graphics* graphics) override;
    // Hands the level a per-frame copy of the current frame.
    void QueueDraw() override;
    void Update(float dt) override;

    NQSpriteAnimation* mAnimation = nullptr;
    int mLoop = 0;
    float mStartDelay = 0.0f;
    NQEnemy* mAnchor = nullptr;

private:
    // Where the anchor was last drawn, and whether that is known.
    bool PlacePosition(float& x, float& y);
    float mLastAnchorX = 0.0f;
    float mLastAnchorY = 0.0f;
    bool mHasLastAnchor = false;
};
