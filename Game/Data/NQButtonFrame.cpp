#include "Game/Data/NQButtonFrame.h"

#include "Core/Render/Graphics.h"
#include "Game/NQGameServices.h"

namespace
{
constexpr int kAnchorCentre = 2;
}

void NQButtonFrame::HitTest(int x, int y)
{
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    const bool inside = px > mRect[0] && px < mRect[0] + mRect[2] && py > mRect[1] && py < mRect[1] + mRect[3];
    mHovered = inside ? 1 : 0;
}

void NQButtonFrame::Update(float dt)
{
    if (mHovered)
    {
        mHoverScale += dt * kGrowPerSecond;
        if (mHoverScale > kMaxHoverScale)
            mHoverScale = kMaxHoverScale;
        return;
    }
    mHoverScale -= dt * kShrinkPerSecond;
    if (mHoverScale < 1.0f)
        mHoverScale = 1.0f;
}

void NQButtonFrame::Draw(render::Graphics* graphics, float windowScale)
{
    if (!graphics)
        return;
    graphics->SetColor(mColor);
    // A picture that failed to load leaves the button working but unseen.
    if (!mPicture)
        return;
    const NQGameServices::ViewRect view = NQGameServices::Get()->GetViewRect();
    const float halfX = view.width / 2.0f;
    const float halfY = view.height / 2.0f;
    const float centreX = mRect[0] + mRect[2] / 2.0f;
    const float centreY = mRect[1] + mRect[3] / 2.0f;
    // Scaled about the view's half size, so that buttons keep their places
    // relative to a window scaled the same way.
    const float size = mHoverScale * windowScale;
    math::Transform2D transform;
    transform.Scale(size, size);
    transform.Translate(halfX + (centreX - halfX) * windowScale, halfY + (centreY - halfY) * windowScale);
    auto record = graphics->DrawImage(*mPicture).Transform(transform);
    record->SetAnchor(kAnchorCentre, kAnchorCentre);
}
