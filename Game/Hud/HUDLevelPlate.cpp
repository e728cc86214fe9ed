#include "Game/Hud/HUDLevelPlate.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/ParticleSystem.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/ParticlesLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQLevelRecord.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/LayerFonts.h"
#include "Game/Level/NQMap.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>

namespace
{
constexpr float kNumberWrap = 170.0f;
constexpr float kBadgeTextWrap = 80.0f;
// The number sits a little above and left of the plate's middle.
constexpr float kNumberInset = 3.0f;
constexpr float kStarSpacing = 32.0f;
// The stars' background overlaps the plate's bottom edge by this much.
constexpr float kStarsDrop = 16.0f;
constexpr float kBadgeX = 50.0f;
constexpr float kBadgeY = -20.0f;
constexpr float kBehind = -1.0f;
constexpr int kEmitterPlaying = 1;
constexpr const char* kNextLevelEffect = "active_lvl";
constexpr const wchar_t* kStarsBackground = L"stars_plate/plate";
constexpr const wchar_t* kStar = L"stars_plate/star";
constexpr const wchar_t* kNewBadge = L"plate/new";

// Missing plate pictures are reported once per run, not once per plate.
void LogMissingOnce(const std::wstring& name)
{
    static std::set<std::wstring> logged;
    if (logged.insert(name).second)
        HV_LOG(L"level select layout lacks %s\n") % name;
}

const base::ImageInfo* FindOrLog(file::ImageContainer* layout, const std::wstring& name)
{
    const base::ImageInfo* info = FindContainerImage(layout, name);
    if (!info)
        LogMissingOnce(name);
    return info;
}

const wchar_t* StatePictureName(bool complete, int stars, bool open)
{
    if (complete)
        return stars == HUDLevelPlate::kMaxStars ? L"plate/super" : L"plate/complete";
    return open ? L"plate/incomplete" : L"plate/locked";
}

void SetTint(layer::Layer* target, float r, float g, float b)
{
    target->mColor = math::Point4{r, g, b, 1.0f};
    target->mTint = true;
    target->mTintAmount = 1.0f;
}

template <class L>
void DeleteLayer(L*& child)
{
    DetachLayerFromParent(child);
    delete child;
    child = nullptr;
}
} // namespace

HUDLevelPlate::HUDLevelPlate(int episode, int level, file::ImageContainer* layout) : mEpisode(episode), mLevel(level)
{
    NQMap* map = Game::GetMap();
    NQProgress* progress = map ? map->mProgress : nullptr;
    const int mode = map ? map->mMode : 0;
    if (progress)
    {
        mOpen = progress->IsLevelOpen(episode, level, mode);
        const std::unique_ptr<NQLevelRecord> record(progress->GetLevelRecord(episode, level, mode));
        // The profile file can be edited by hand: a star count beyond the three slots is capped.
        if (record)
            mStars = std::clamp(record->stars, 0, kMaxStars);
    }
    mComplete = mStars > 0;

    mStateName = StatePictureName(mComplete, mStars, mOpen);
    const base::ImageInfo* state = FindOrLog(layout, mStateName);
    // A missing state picture leaves a plate of size 0 that draws its number only.
    mStatePicture = LoadContainerImage(layout, mStateName);
    const int w = state ? state->w : 0;
    const int h = state ? state->h : 0;

    mRoot = new layer::Layer;
    mPlate = new layer::ImageLayer(mStatePicture, false);

    const base::ImageInfo* background = FindOrLog(layout, kStarsBackground);
    if (mComplete)
    {
        mStarsBackground = LoadContainerImage(layout, kStarsBackground);
        // The stars layer owns its background; without one the stars still show.
        mStarsLayer = new layer::ImageLayer(mStarsBackground, true);
        const base::ImageInfo* star = FindOrLog(layout, kStar);
        for (int i = 0; i < mStars; ++i)
        {
            mStarLayers[i] = new layer::ImageLayer(star ? LoadContainerImage(layout, kStar) : nullptr, true);
            mStarLayers[i]->SetPosition(kStarSpacing * float(i), 0.0f, kBehind);
            mStarsLayer->AddChild(mStarLayers[i]);
        }
    }

    mNumber = MakeCentredText(GameWindow::kFontLarge, std::to_wstring(level + 1), kNumberWrap);
    SetTint(mNumber, 1.0f, 1.0f, 1.0f);
    mNumber->SetPosition(float(w) * 0.5f - kNumberInset, float(h) * 0.5f - kNumberInset, 0.0f);

    mRect[0] = (level % kColumns) * kSpacing + kFirstX;
    mRect[1] = (level / kColumns) * kSpacing + kFirstY;
    mRect[2] = w;
    mRect[3] = h;
    mPlate->SetPosition(-float(w) / 2.0f, -float(h) / 2.0f, 0.0f);

    if (progress && progress->GetNextLevel(episode, mode) == level && !mComplete)
    {
        mEmitter = render::ParticleSystem::Instance()->CreateEmitter(kNextLevelEffect);
        if (mEmitter)
        {
            mEmitter->SetState(kEmitterPlaying);
            mParticles = new layer::ParticlesLayer;
            mParticles->SetEmitter(mEmitter, false);
            mParticles->SetPosition(float(w) / 2.0f, float(h) / 2.0f, 0.0f);
        }
        SetTint(mNumber, 0.0f, 1.0f, 0.0f);
    }

    if (mStarsLayer)
    {
        const int bw = background ? background->w : 0;
        const int bh = background ? background->h : 0;
        mStarsLayer->SetPosition(float(w - bw) / 2.0f, float(h - bh) + kStarsDrop, 0.0f);
    }

    if (mOpen && progress && progress->GetEpisodeVisited(episode, mode) < level + 1)
    {
        if (const base::ImageInfo* badge = FindOrLog(layout, kNewBadge))
        {
            mBadge = new layer::ImageLayer(LoadContainerImage(layout, kNewBadge), true);
            mBadge->SetPosition(kBadgeX, kBadgeY, kBehind);
            mBadgeText = MakeCentredText(GameWindow::kFontNormal, LocalStrings::Instance()->Get(L"episodeSelectNew"),
                                  kBadgeTextWrap);
            mBadgeText->SetPosition(float(badge->w / 2), float(badge->h / 2), 0.0f);
            mBadge->AddChild(mBadgeText);
        }
    }

    mNumber->mVisible = mOpen && mStars != kMaxStars;

    // The badge above everything, the number below the effect.
    mPlate->AddChild(mNumber);
    if (mParticles)
        mPlate->AddChild(mParticles);
    if (mStarsLayer)
        mPlate->AddChild(mStarsLayer);
    if (mBadge)
        mPlate->AddChild(mBadge);
    mRoot->AddChild(mPlate);
    mRoot->SetPosition(float(mRect[0]) + float(w) * 0.5f, float(mRect[1]) + float(h) * 0.5f, 0.0f);
}

HUDLevelPlate::~HUDLevelPlate()
{
    for (layer::ImageLayer*& star : mStarLayers)
        DeleteLayer(star);
    DeleteLayer(mBadgeText);
    DeleteLayer(mBadge);
    DeleteLayer(mStarsLayer);
    mStarsBackground = nullptr;
    DeleteLayer(mParticles);
    DeleteLayer(mNumber);
    DeleteLayer(mPlate);
    DeleteLayer(mRoot);
    delete mStatePicture;
    mStatePicture = nullptr;
    delete mEmitter;
    mEmitter = nullptr;
}

bool HUDLevelPlate::Contains(int x, int y) const
{
    return x > mRect[0] && x < mRect[0] + mRect[2] && y > mRect[1] && y < mRect[1] + mRect[3];
}

void HUDLevelPlate::Update(float dt)
{
    if (mHovered)
        mScale = std::min(mScale + kGrowPerSecond * dt, kMaxScale);
    else
        mScale = std::max(mScale - kShrinkPerSecond * dt, kRestScale);
    mRoot->SetScale(mScale, mScale, 1.0f);
    if (mEmitter)
        mEmitter->Update(dt);
}
