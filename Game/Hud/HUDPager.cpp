#include "Game/Hud/HUDPager.h"

#include "Core/Base/Delegate.h"
#include "Core/Render/DrawImageParam.h"
#include "Core/Render/DrawTextParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kAlignCentre = 2;
constexpr int kTextLayoutOption = 2;
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kPageTextWrap = 320.0f;
constexpr float kPageTextScale = 0.8f;
constexpr float kBadgeTextWrap = 270.0f;
// Where the lock and the badge sit from the page's centre, before scaling.
constexpr float kLockX = 150.0f;
constexpr float kLockY = 125.0f;
constexpr float kBadgeShare = 0.4f;
constexpr float kBadgeY = 180.0f;

void DrawCentred(render::Graphics* graphics, const NQFrameEntry* frame, float x, float y, float scale)
{
    // A layer missing from the layout draws nothing in its place.
    if (!frame || !frame->mPicture)
        return;
    math::Transform2D transform;
    transform.Scale(scale, scale);
    transform.Translate(x, y);
    auto record = graphics->DrawImage(*frame->mPicture).Transform(transform);
    record->SetAnchor(kAlignCentre, kAlignCentre);
}

void DrawCentredText(render::Graphics* graphics, const std::wstring& text, float wrap, float x, float y, float scale)
{
    math::Transform2D transform;
    transform.Scale(scale, scale);
    transform.Translate(x, y);
    auto record = graphics->DrawTextBox(text, wrap, 0.0f, kTextLayoutOption, true).Transform(transform);
    record->SetAlign(kAlignCentre, kAlignCentre);
}
} // namespace

HUDPager::~HUDPager()
{
    for (HUDEpisodePage& page : mPages)
    {
        delete page.plate;
        page.plate = nullptr;
    }
}

void HUDPager::NotifyPageChanged()
{
    if (mPageChanged)
        mPageChanged.As<base::Delegate1<int, void>>()->Invoke(mCurrentPage);
}

void HUDPager::NotifyMotionStarted()
{
    if (mMotionStarted)
        mMotionStarted.As<base::Delegate0<void>>()->Invoke();
}

void HUDPager::NotifyMotionEnded()
{
    if (mMotionEnded)
        mMotionEnded.As<base::Delegate0<void>>()->Invoke();
}

void HUDPager::Drag(int x, int y)
{
    if (mState != kDragging)
        return;
    const int n = PageCount();
    mOffset += mLastX - float(x);
    mLastX = float(x);
    mLastY = float(y);
    const float limit = float(std::max(n - 1, 0)) * mPageWidth;
    mOffset = std::clamp(mOffset, -limit, limit);
    // The pages cannot be pulled beyond either end.
    if ((mOffset < 0.0f && mCurrentPage == 0) || (mOffset > 0.0f && mCurrentPage == n - 1))
        mOffset = 0.0f;
}

void HUDPager::Release(int, int)
{
    const int n = PageCount();
    const float threshold = mPageWidth / 4.0f;
    if (mOffset > 0.0f)
        mState = kSettlingBack;
    else if (mOffset < 0.0f)
        mState = kSettlingForward;
    else
    {
        mState = kIdle;
        NotifyMotionEnded();
    }

    const bool flick = mDragTime < kFlickTime && mOffset != 0.0f;
    if (mOffset > threshold || (flick && mOffset > 0.0f))
    {
        if (++mCurrentPage > n - 1)
        {
            // Past the last page: settle back onto it.
            mCurrentPage = n - 1;
            if (!flick || mOffset > threshold)
                return;
            mOffset -= mPageWidth;
            mState = kSettlingForward;
            return;
        }
        NotifyPageChanged();
        mOffset -= mPageWidth;
        mState = kSettlingForward;
        return;
    }
    if (mOffset < -threshold || (flick && mOffset < 0.0f))
    {
        if (--mCurrentPage < 0)
        {
            mCurrentPage = 0;
            if (!flick || mOffset < -threshold)
                return;
            mOffset += mPageWidth;
            mState = kSettlingBack;
            return;
        }
        NotifyPageChanged();
        mOffset += mPageWidth;
        mState = kSettlingBack;
    }
}

void HUDPager::Settle(float dt)
{
    if (mState == kSettlingBack)
    {
        mOffset -= kSettleSpeed * dt;
        if (mOffset < 0.0f)
        {
            mOffset = 0.0f;
            mState = kIdle;
            NotifyMotionEnded();
        }
    }
    else if (mState == kSettlingForward)
    {
        mOffset += kSettleSpeed * dt;
        if (mOffset > 0.0f)
        {
            mOffset = 0.0f;
            mState = kIdle;
            NotifyMotionEnded();
        }
    }
}

float HUDPager::PageScale(float x)
{
    const float distance = std::fabs(kCentreX - x);
    if (distance < kFalloffDistance)
        return 1.0f - kScaleFalloff * distance / kFalloffDistance;
    return 1.0f - kScaleFalloff;
}

float HUDPager::PageCentreX(int page) const
{
    return kCentreX + mPageWidth * float(page - mCurrentPage) - mOffset;
}

void HUDPager::DrawPages(render::Graphics* graphics)
{
    if (!graphics)
        return;
    Game* game = Game::Get();
    GameWindow* board = game ? game->GetRootBoard() : nullptr;
    render::BMFont* font = board ? board->GetFont(GameWindow::kFontLarge).Get() : nullptr;
    const std::wstring badgeText = LocalStrings::Instance()->Get(L"episodeSelectNew");
    for (int i = 0; i < PageCount(); ++i)
    {
        const HUDEpisodePage& page = mPages[size_t(i)];
        const float x = PageCentreX(i);
        const float s = PageScale(x);
        DrawCentred(graphics, page.plate, x, kCentreY, s);
        DrawCentred(graphics, page.lock, x + kLockX * s, kCentreY - kLockY * s, s);
        if (!page.text.empty())
        {
            graphics->SetColor(kWhite);
            if (font)
                graphics->mFont = font;
            DrawCentredText(graphics, page.text, kPageTextWrap, x, kCentreY, kPageTextScale * s);
        }
        if (page.badge)
        {
            graphics->SetColor(kWhite);
            const float bx = x + kBadgeShare * mPageWidth * s;
            const float by = kCentreY - kBadgeY * s;
            DrawCentred(graphics, page.badge, bx, by, s);
            if (font)
                graphics->mFont = font;
            DrawCentredText(graphics, badgeText, kBadgeTextWrap, bx, by, s);
        }
    }
}
