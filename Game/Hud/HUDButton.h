#pragma once

#include "Core/Render/BMFont.h"
#include "Core/Resource/ResourceHandle.h"

#include <cstdint>
#include <string>

namespace render
{
class Graphics;
}

// A button drawn by its window; the window asks it and acts on the answer.
class HUDButton
{
public:
    // Hover scale bounds shared by the button families.
    static constexpr float kRestScale = 1.0f;
    static constexpr float kMaxScale = 1.1f;

    // Takes the root board's first font when there is one.
    HUDButton();
    HUDButton(const HUDButton&) = delete;
    HUDButton& operator=(const HUDButton&) = delete;

    // Slots in this order.
    virtual void Draw(render::Graphics* graphics);
    virtual void Update(float dt);
    virtual ~HUDButton();
    virtual bool AcceptsClick(int x, int y);
    virtual bool Contains(int x, int y);
    virtual void OnMouseDown(int x, int y);
    virtual void OnMouseUp(int x, int y);
    virtual void OnMouseMove(int x, int y);

    resource::ResourceHandle<render::BMFont> mFont;
    uint8_t mVisible = 0;
    float mTimer = 0.0f;
    float mOffsetX = 0.0f;
    int mHovered = 0;
    float mScale = kRestScale;
    int mPressed = 0;
    int mIndex = 0;
    std::wstring mName;
    float mCenterX = 0.0f;
    float mCenterY = 0.0f;
    std::wstring mLabel;
    float mLabelRect[4] = {0.0f, 0.0f, 0.0f, 0.0f};

protected:
    // The hover animation: grows while hovered, shrinks otherwise, within the bounds.
    void AnimateHover(float dt, float growPerSecond, float shrinkPerSecond);
};
