#pragma once

// Base of the level's short-lived sprites; a list deletes a sprite once it is
// no longer visible.
#include <cstdint>
#include <string>

namespace render
{
class Graphics;
}

class NQSprite
{
public:
    NQSprite() = default;
    NQSprite(const NQSprite&) = delete;
    NQSprite& operator=(const NQSprite&) = delete;
    virtual ~NQSprite() = default;

    virtual bool IsVisible() { return mVisible != 0; }
    virtual void Draw(render::Graphics*) {}
    virtual void QueueDraw() {}
    virtual void Update(float) {}

    int mId = -1;
    std::wstring mName;
    float mX = 0.0f;
    float mY = 0.0f;
    uint8_t mVisible = 1;
    int mKind = 0;
    float mTime = 0.0f;
};
