#include "Game/Hud/HUDEpisodeSelectIOS.h"

#include "Core/Base/Delegate.h"
#include "Core/Base/Format.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/Hud/HUDPager.h"
#include "Game/Level/NQMap.h"

#include <algorithm>
#include <string>

namespace
{
constexpr int kHardcoreMode = 3;
constexpr int kNormalMode = 1;
constexpr int kStarsPerLevel = 9;
// A level count of the setup sheet that announces the episode.
constexpr int kComingSoon = -1;
constexpr const wchar_t* kPlay = L"play";
constexpr const wchar_t* kArrowLeft = L"arrow_left";
constexpr const wchar_t* kArrowRight = L"arrow_right";

NQProgress* Progress()
{
    NQMap* map = Game::GetMap();
    return map ? map->mProgress : nullptr;
}

std::wstring EpisodeTitle(int page)
{
    const NQMap* map = Game::GetMap();
    const wchar_t* prefix = map && map->mMode == kHardcoreMode ? L"episodeHardcore" : L"episode";
    return LocalStrings::Instance()->Get(prefix + std::to_wstring(page));
}
} // namespace

HUDEpisodeSelectIOS::HUDEpisodeSelectIOS()
{
    LoadLayout(kLayout);
    mPager = new HUDPager;
    if (NQProgress* progress = Progress())
        mPager->mCurrentPage = progress->GetLastEpisode();
    mLockFrame = CreateFrameEntryFromContainer(mLayoutContainer, L"plates/lock");
    mNewFrame = CreateFrameEntryFromContainer(mLayoutContainer, L"plates/new");

    const NQMap* map = Game::GetMap();
    const int episodes = map ? map->GetEpisodeCount() : 0;
    for (int n = 1; n <= episodes; ++n)
        AddPage(n);

    mPager->mPageChanged.Assign(
        new base::MemberDelegate1<HUDEpisodeSelectIOS, int, void>(this, &HUDEpisodeSelectIOS::OnPageChanged));
    mPager->mMotionStarted.Assign(
        new base::MemberDelegate0<HUDEpisodeSelectIOS, void>(this, &HUDEpisodeSelectIOS::OnMotionStarted));
    mPager->mMotionEnded.Assign(
        new base::MemberDelegate0<HUDEpisodeSelectIOS, void>(this, &HUDEpisodeSelectIOS::OnMotionEnded));

    SetText(L"levelName", EpisodeTitle(mPager->mCurrentPage));
    SetText(L"caption", LocalStrings::Instance()->Get(L"episodes_caption"));
    NQProgress* progress = Progress();
    const int stars = progress ? progress->GetStars(-1) : 0;
    const int total = map ? map->GetTotalLevelCount() : 0;
    SetText(L"stars", std::to_wstring(stars) + L"/" + std::to_wstring(kStarsPerLevel * total));
    mPlayFade = kPlayShown;
    mDragArmed = false;
}

HUDEpisodeSelectIOS::~HUDEpisodeSelectIOS()
{
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
    delete mPager;
    mPager = nullptr;
    delete mLockFrame;
    mLockFrame = nullptr;
    delete mNewFrame;
    mNewFrame = nullptr;
}

void HUDEpisodeSelectIOS::AddPage(int number)
{
    const int episode = number - 1;
    HUDEpisodePage page;
    // A missing picture gives an empty frame: the page then draws its texts only.
    page.plate = CreateFrameEntryFromContainer(mLayoutContainer, L"plates/chapter_0" + std::to_wstring(number));
    const NQMap* map = Game::GetMap();
    NQProgress* progress = Progress();
    if (map && map->IsEpisodeOpen(episode))
    {
        const bool unseen = progress && (progress->GetEpisodeVisited(episode, kNormalMode) < map->GetLevelCount(episode) ||
                                         progress->GetEpisodeVisited(episode, kHardcoreMode) <
                                             map->GetHardcoreLevelCount(episode));
        if (unseen)
            page.badge = mNewFrame;
    }
    else
    {
        page.lock = mLockFrame;
        const int levels = map ? map->GetLevelCount(episode) : 0;
        if (levels > 0)
        {
            base::Format format(LocalStrings::Instance()->Get(L"unlockEpisodeText"));
            format % int32_t(map->GetStarsToOpenEpisode(episode));
            page.text = format.GetText();
        }
        else if (levels == kComingSoon)
            page.text = LocalStrings::Instance()->Get(L"comingSoon");
    }
    mPager->mPages.push_back(page);
}

void HUDEpisodeSelectIOS::OnPageChanged(int page)
{
    SetText(L"levelName", EpisodeTitle(page));
}

void HUDEpisodeSelectIOS::OnMotionStarted()
{
    if (mPlayFade != kPlayHidden)
        mPlayFade = kPlayFadingOut;
}

void HUDEpisodeSelectIOS::OnMotionEnded()
{
    mPlayFade = kPlayFadingIn;
}

int HUDEpisodeSelectIOS::HitTest(int x, int y)
{
    const std::wstring name = HUDWindow::Click(x, y);
    const bool idle = mPager->mState == HUDPager::kIdle;
    const bool onPlate = x >= kPlateLeft && x <= kPlateRight && y >= kPlateTop && y <= kPlateBottom;
    // "play" opens the page even while the pages settle; the plate only at rest.
    if (name == kPlay || (onPlate && idle))
    {
        const NQMap* map = Game::GetMap();
        return map && map->IsEpisodeOpen(mPager->mCurrentPage) ? mPager->mCurrentPage : -1;
    }
    if (!idle)
        return -1;
    if (name == kArrowLeft)
    {
        mPager->NotifyMotionStarted();
        --mPager->mCurrentPage;
        mPager->mOffset = mPager->mPageWidth;
        mPager->mState = HUDPager::kSettlingBack;
        mPager->NotifyPageChanged();
    }
    else if (name == kArrowRight)
    {
        mPager->NotifyMotionStarted();
        ++mPager->mCurrentPage;
        mPager->mOffset = -mPager->mPageWidth;
        mPager->mState = HUDPager::kSettlingForward;
        mPager->NotifyPageChanged();
    }
    return -1;
}

void HUDEpisodeSelectIOS::OnMouseDown(int x, int y)
{
    mDragArmed = HUDWindow::Click(x, y).empty();
}

void HUDEpisodeSelectIOS::OnMouseMove(int x, int y)
{
    HUDWindow::OnMouseMove(x, y);
    if (!mDragArmed)
        return;
    if (mPager->mState != HUDPager::kIdle)
    {
        mPager->Drag(x, y);
        return;
    }
    if (y < kDragTop || y > kDragBottom)
        return;
    mPager->mState = HUDPager::kDragging;
    mPager->mDragTime = 0.0f;
    mPager->mLastX = float(x);
    mPager->mLastY = float(y);
    mPager->NotifyMotionStarted();
}

void HUDEpisodeSelectIOS::OnMouseUp(int x, int y)
{
    if (mDragArmed)
        mPager->Release(x, y);
    mDragArmed = false;
}

void HUDEpisodeSelectIOS::Update(float dt)
{
    HUDWindow::Update(dt);
    mPager->mDragTime += dt;
    mPager->Settle(dt);

    const int pages = mPager->PageCount();
    if (NQButtonFrame* left = FindButton(kArrowLeft))
        left->mShown = mPager->mCurrentPage > 0 ? 1 : 0;
    if (NQButtonFrame* right = FindButton(kArrowRight))
        right->mShown = mPager->mCurrentPage < pages - 1 ? 1 : 0;

    NQButtonFrame* play = FindButton(kPlay);
    if (!play)
        return;
    float& alpha = play->mColor[3];
    switch (mPlayFade)
    {
    case kPlayShown:
        alpha = 1.0f;
        break;
    case kPlayFadingOut:
        alpha -= kFadePerSecond * dt;
        if (alpha < 0.0f)
        {
            alpha = 0.0f;
            mPlayFade = kPlayHidden;
        }
        break;
    case kPlayFadingIn:
        alpha += kFadePerSecond * dt;
        if (alpha > 1.0f)
        {
            alpha = 1.0f;
            mPlayFade = kPlayShown;
        }
        break;
    default:
        break;
    }
    play->mColor[0] = play->mColor[1] = play->mColor[2] = 1.0f;
    play->mShown = alpha != 0.0f ? 1 : 0;
}

void HUDEpisodeSelectIOS::Draw(render::Graphics* graphics)
{
    if (!graphics)
        return;
    DrawImages(graphics);
    graphics->SetScissorRect(kClipRect);
    mPager->DrawPages(graphics);
    graphics->ResetScissor();
    DrawButtons(graphics);
    DrawTexts(graphics);
}
