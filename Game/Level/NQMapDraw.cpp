// The level drawing: the depth-ordered world, its overlays, the closing
// passes, and the road mask.
#include "Game/Level/NQMap.h"

#include "Core/Math/Transform2D.h"
#include "Core/Math/Transform3D.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderTarget.h"
#include "Framework/GameApplication.h"
#include "Game/Data/CreateUpgradedProto.h"
#include "Game/Data/DecimalText.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQParamSet.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/NQFloatingIcons.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQContextMenuItem.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/LinkGeometry.h"
#include "Game/Roads/NQLink.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQSpot.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"
#include "Game/Units/SpriteList.h"
#include "Game/Units/TMobShader.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr int kBlendAlpha = 1;
constexpr int kBlendAdditive = 2;
constexpr int kShaderMultiplying = 1;
constexpr int kAnchorCentre = 2;
constexpr int kAlignLeft = 0;
constexpr int kAlignCentre = 2;
constexpr int kAlignRight = 1;
constexpr int kClearTarget = 1;
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr float kTransparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};

// The queues of the world pass.
constexpr int kDrawList = 0;
constexpr int kGroundBodies = 1;
constexpr int kGroundShadows = 2;
constexpr int kFlyerBodies = 3;
constexpr int kFlyerShadows = 4;

// The road glow pulses between 0.2 and 0.4.
constexpr float kMaskColour[3] = {0.804f, 0.75f, 0.171f};
constexpr float kMaskPulseRate = 5.0f;
constexpr float kMaskPulseDepth = 0.2f;
constexpr float kMaskBaseAlpha = 0.2f;
constexpr float kMaskCentreX = 512.0f;
constexpr float kMaskCentreY = 384.0f;

constexpr float kRoadStampSpacing = 25.0f;
// The range circle picture is 336 units wide.
constexpr float kRadiusPictureSize = 336.0f;
constexpr int kCircleSegments = 36;
constexpr float kCircleStepDegrees = 10.0f;
constexpr float kCirclePi = 3.14f;

constexpr float kHintLineSpacing = 25.0f;
constexpr float kHintTextGap = 32.0f;
constexpr float kScreenMiddleX = 512.0f;
constexpr float kScheduleLineHeight = 20.0f;
constexpr float kScheduleEntryUnits = 45.0f;
constexpr int32_t kSplashHitKind = 101;
constexpr float kAreaAlpha = 0.5f;
constexpr NQScreenState kGemShopState = screen::kGemShop;

constexpr float kPreviewOutline[4] = {0.71f, 0.63f, 0.31f, 1.0f};
constexpr float kPreviewPulse[3] = {0.0f, 0.36f, 0.125f};
constexpr float kPreviewPulseGrowth = 1.125f;

render::BMFont* RootBoardFont(int index)
{
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return nullptr;
    return game->GetRootBoard()->GetFont(index).Get();
}

void DrawCentred(render::Graphics* graphics, render::Image* picture, const math::Transform2D& transform,
                 bool mirrored)
{
    auto record = graphics->DrawImage(*picture).Transform(transform);
    record->SetAnchor(kAnchorCentre, kAnchorCentre);
    if (mirrored)
        record->SetFlip(true, false);
}

// The circle picture scaled to the diameter, centred on the point.
void DrawRangeCircle(render::Graphics* graphics, render::Image* circle, float x, float y, float scale)
{
    if (!circle)
        return; // no circle picture in the set
    math::Transform2D at;
    at.Scale(scale, scale);
    at.Translate(x, y);
    DrawCentred(graphics, circle, at, false);
}

void DrawEntry(render::Graphics* graphics, NQFrameEntry* entry)
{
    if (entry->mEmitter)
    {
        // The particles already stand where the emitter is.
        graphics->DrawParticles(entry->mEmitter);
        graphics->SetBlendMode(kBlendAlpha);
        return;
    }
    if (!entry->mPicture)
        return; // neither a picture nor an emitter
    graphics->SetColor(entry->mColor);
    if (auto* mob = dynamic_cast<TMobShader*>(entry->mShader))
    {
        graphics->SetShader(mob);
        const math::Point4 colour(entry->mShaderColor[0], entry->mShaderColor[1], entry->mShaderColor[2],
                                  entry->mShaderColor[3]);
        mob->SetColor2(colour);
    }
    else
        graphics->SetShaderMode(kShaderMultiplying);
    if (entry->mAdditive)
        graphics->SetBlendMode(kBlendAdditive);
    DrawCentred(graphics, entry->mPicture, entry->mTransform, entry->mMirrored != 0);
    if (entry->mAdditive)
        graphics->SetBlendMode(kBlendAlpha);
}
} // namespace

bool NQMap::CompareDepth(const NQFrameEntry* a, const NQFrameEntry* b)
{
    return a->mDepth < b->mDepth;
}

void NQMap::Draw(render::Graphics* graphics)
{
    if (!mResourcesLoaded || !graphics)
        return; // no level to show
    math::Transform3D* screenSpace = graphics->mWorldTransform;
    math::Transform3D mapSpace;
    mapSpace.Scale(mZoom, mZoom, 1.0f);
    mapSpace.Translate(mViewOffsetX, mViewOffsetY, 0.0f);

    render::Render* render = graphics->GetRender();
    if (mRoadMask && render && render->GetResetCount() != mRoadMaskResetCount)
        RestampRoadMask(render);

    std::vector<NQFrameEntry*>& drawList = mDrawQueues[kDrawList];
    const bool world = screen::ShowsBattlefield(mScreenState);
    if (world)
    {
        graphics->SetBlendMode(kBlendAlpha);
        for (size_t i = 0; i < mTowers.size(); ++i)
            mTowers[i]->QueueDraw(graphics);
        if (mWaveManager)
            for (size_t i = 0; i < mWaveManager->mEnemies.size(); ++i)
                mWaveManager->mEnemies[i]->QueueDraw(graphics);
        // Equal depths keep their queue order.
        std::stable_sort(drawList.begin(), drawList.end(), CompareDepth);
        std::stable_sort(mDrawQueues[kGroundBodies].begin(), mDrawQueues[kGroundBodies].end(), CompareDepth);
        std::stable_sort(mDrawQueues[kFlyerBodies].begin(), mDrawQueues[kFlyerBodies].end(), CompareDepth);
        drawList.insert(drawList.end(), mDrawQueues[kGroundShadows].begin(), mDrawQueues[kGroundShadows].end());
        drawList.insert(drawList.end(), mDrawQueues[kGroundBodies].begin(), mDrawQueues[kGroundBodies].end());
        if (mDecorationSet)
        {
            for (NQFrameEntry* frame : mDecorationSet->mFrames)
            {
                if (!frame->mShown)
                    continue;
                auto* copy = new NQFrameEntry(*frame);
                copy->mTransform.SetIdentity();
                copy->mTransform.Translate(frame->mRect[0] + frame->mRect[2] * 0.5f,
                                           frame->mRect[1] + frame->mRect[3] * 0.5f);
                const std::wstring& name = frame->mName;
                const bool above = name == L"##" || (!name.empty() && (name[0] == L'^' || name[0] == L'$'));
                if (above)
                    drawList.push_back(copy);
                else
                    drawList.insert(drawList.begin(), copy);
            }
        }
        drawList.insert(drawList.end(), mDrawQueues[kFlyerShadows].begin(), mDrawQueues[kFlyerShadows].end());
        drawList.insert(drawList.end(), mDrawQueues[kFlyerBodies].begin(), mDrawQueues[kFlyerBodies].end());
        for (NQEffect* effect : mDepthEffects)
        {
            auto* entry = new NQFrameEntry;
            entry->mEmitter = effect->mEmitter;
            if (effect->mEmitter)
                entry->mDepth = effect->mEmitter->GetPosition()[1];
            drawList.push_back(entry);
        }
        if (mRoadMask && mArmedSpell)
        {
            auto* glow = new NQFrameEntry;
            glow->mPicture = mRoadMask;
            glow->mTransform.Translate(kMaskCentreX, kMaskCentreY - mViewportY);
            glow->mAdditive = 1;
            const float alpha = (std::sin(mGameTime * kMaskPulseRate) + 1.0f) * 0.5f * kMaskPulseDepth + kMaskBaseAlpha;
            glow->mColor[0] = kMaskColour[0];
            glow->mColor[1] = kMaskColour[1];
            glow->mColor[2] = kMaskColour[2];
            glow->mColor[3] = alpha;
            drawList.insert(drawList.begin(), glow);
        }
        if (mWaveHints)
            for (NQFrameEntry* marker : mWaveHints->mHints)
            {
                auto* copy = new NQFrameEntry(*marker);
                copy->mTransform.SetIdentity();
                copy->mTransform.Translate(marker->mRect[0] + marker->mRect[2] * 0.5f,
                                           marker->mRect[1] + marker->mRect[3] * 0.5f);
                drawList.push_back(copy);
            }

        graphics->mWorldTransform = &mapSpace;
        for (NQFrameEntry* entry : drawList)
            DrawEntry(graphics, entry);

        graphics->SetShaderMode(kShaderMultiplying);
        graphics->mWorldTransform = screenSpace;
        if (mWaveManager)
            for (size_t i = 0; i < mWaveManager->mEnemies.size(); ++i)
                mWaveManager->mEnemies[i]->DrawOverlay(graphics);
        graphics->SetColor(kWhite);
        for (size_t i = 0; i < mTowers.size(); ++i)
            mTowers[i]->DrawOverlay(graphics);

        if (mSelectedEnemy && mEnemySpotMarker)
        {
            float rootY = 0.0f;
            const NQUnitProto* proto = mSelectedEnemy->GetProto();
            if (proto && proto->spriteSet && !proto->spriteSet->GetFrames("").empty())
                rootY = proto->spriteSet->GetFrames("").front()->mRect[1];
            graphics->mWorldTransform = &mapSpace;
            mEnemySpotMarker->Draw(graphics, mSelectedEnemy->mX, mSelectedEnemy->mY - rootY, 0.0f);
            graphics->mWorldTransform = screenSpace;
        }
        DrawWaveHintTexts(graphics);
        if (mDebugFlags[2])
            DrawDeveloperAreas(graphics);

        for (NQFrameEntry* entry : drawList)
            delete entry;
        for (std::vector<NQFrameEntry*>& queue : mDrawQueues)
            queue.clear();
        graphics->SetColor(kWhite);
        graphics->mWorldTransform = &mapSpace;
        if (mBullets)
            mBullets->Draw(graphics);
    }

    // The closing passes.
    graphics->mWorldTransform = &mapSpace;
    if (mFloatingIcons)
        mFloatingIcons->Draw(graphics);
    if (mHints)
        DrawSprites(*mHints, graphics);
    graphics->mWorldTransform = screenSpace;
    if (mDrops)
        for (NQTowerSpecial* drop : *mDrops)
            drop->Draw(graphics);
    for (NQParticle* particle : mParticles)
        particle->Draw(graphics);
    graphics->SetBlendMode(kBlendAlpha);
    if (mHud)
    {
        mHud->Draw(graphics);
        mHud->DrawWindows(graphics, HUDWindow::kScreenLayer);
    }
    // The layers put back everything but the blend mode.
    graphics->SetBlendMode(kBlendAlpha);
    if (mContextMenu)
    {
        if (mContextMenu->mActive)
        {
            graphics->mWorldTransform = &mapSpace;
            DrawContextMenu(graphics);
        }
        else
        {
            delete mContextMenu;
            mContextMenu = nullptr;
        }
    }
    graphics->mWorldTransform = &mapSpace;
    for (render::ParticleEmitter* emitter : mLooseEmitters)
        graphics->DrawParticles(emitter);
    if (mScreenState != kGemShopState)
        for (NQEffect* effect : mEffects)
            if (effect->mEmitter)
                graphics->DrawParticles(effect->mEmitter);
    graphics->mWorldTransform = screenSpace;
    if (mArmedSpell && mSpellEmitter)
        graphics->DrawParticles(mSpellEmitter);
    if (world && mButtonEmitter)
        graphics->DrawParticles(mButtonEmitter);
    if (mHud)
        mHud->DrawWindows(graphics, HUDWindow::kModalLayer);
    if (mDebugFlags[0])
    {
        graphics->SetBlendMode(kBlendAlpha);
        DrawWaveSchedule(graphics);
    }
    graphics->mWorldTransform = screenSpace;
}

void NQMap::DrawWaveHintTexts(render::Graphics* graphics)
{
    if (!mWaveHints || !mWaveManager || mWaveHints->mHints.empty())
        return; // no markers
    render::BMFont* font = RootBoardFont(GameWindow::kFontNormal);
    if (!font)
        return; // no font to write with
    graphics->mFont = font;
    graphics->SetColor(kWhite);
    const int32_t seconds = int32_t(mWaveHints->mNextWaveTime - mWaveManager->mClock);
    LocalStrings* strings = LocalStrings::Instance();
    const std::wstring text =
        seconds == 0 ? strings->Get(L"game_incoming") : strings->Get(L"game_nextwave") + DecimalText(seconds);
    for (size_t i = 0; i < mWaveHints->mHints.size(); ++i)
    {
        const NQFrameEntry* marker = mWaveHints->mHints[i];
        const float cx = marker->mRect[0] + marker->mRect[2] * 0.5f;
        const float cy = marker->mRect[1] + marker->mRect[3] * 0.5f - kHintLineSpacing * float(i);
        const bool leftHalf = marker->mRect[0] < kScreenMiddleX;
        const float x = (leftHalf ? cx + kHintTextGap : cx - kHintTextGap) * mZoom + mViewOffsetX;
        const float y = cy * mZoom + mViewOffsetY;
        auto record = graphics->DrawText(text);
        record->SetAlign(leftHalf ? kAlignLeft : kAlignRight, kAlignCentre);
        const float at[2] = {x, y};
        auto placed = record.Translate(at);
    }
}

void NQMap::DrawDeveloperAreas(render::Graphics* graphics)
{
    for (const NQModifier* modifier : mModifiers)
    {
        const float alpha = modifier->mKind == kSplashHitKind && modifier->mDuration > 0.0f
                                ? 1.0f - modifier->mElapsed / modifier->mDuration
                                : kAreaAlpha;
        graphics->SetColor(1.0f, 0.0f, 0.0f, alpha);
        DrawRangeCircle(graphics, mRadiusPicture, modifier->mAreaX * mZoom + mViewOffsetX,
                        modifier->mAreaY * mZoom + mViewOffsetY, modifier->mAreaSize / kRadiusPictureSize * mZoom);
    }
    graphics->SetColor(kWhite);
    render::BMFont* font = RootBoardFont(GameWindow::kFontMain32_2);
    for (const NQTower* tower : mTowers)
    {
        const float x = tower->mX * mZoom + mViewOffsetX;
        const float y = tower->mY * mZoom + mViewOffsetY;
        // The reach is half the range.
        DrawRangeCircle(graphics, mRadiusPicture, x, y, tower->GetReach() * 2.0f / kRadiusPictureSize * mZoom);
        const NQUnitProto* proto = tower->GetProto(-1);
        if (!font || !proto)
            continue;
        graphics->mFont = font;
        const std::wstring id = DecimalText(proto->id);
        auto record = graphics->DrawText(id);
        record->SetAlign(kAlignLeft, kAlignLeft);
        const float at[2] = {x, y};
        auto placed = record.Translate(at);
    }
}

void NQMap::ResetViewport()
{
    if (mRoadMask)
    {
        mRoadMask->Release();
        delete mRoadMask;
        mRoadMask = nullptr;
    }
    framework::GameApplication* application = framework::GameApplication::Current();
    if (!application || !application->mRender)
        return; // no screen to measure
    const auto rect = application->GetLogicalScreenRect();
    mViewportX = rect.x;
    mViewportY = rect.y;
    mViewportWidth = rect.width;
    mViewportHeight = rect.height;
    render::RenderTarget* target = nullptr;
    if (application->mRender->CreateRenderTarget(uint32_t(mViewportWidth), uint32_t(mViewportHeight), &target,
                                                 true) != HV_OK ||
        !target)
        return; // the glow is left out
    mRoadMask = target;
    RestampRoadMask(application->mRender);
}

void NQMap::RestampRoadMask(render::Render* render)
{
    auto* target = static_cast<render::RenderTarget*>(mRoadMask);
    mRoadMaskResetCount = render->GetResetCount();
    render::Graphics onMask(target);
    onMask.Clear(kClearTarget, kTransparent, 1.0f, 0);
    onMask.SetColor(kWhite);
    math::Transform3D shift;
    shift.Translate(-mViewportX, 0.0f, 0.0f);
    onMask.mWorldTransform = &shift;
    StampRoads(&onMask);
    onMask.mWorldTransform = nullptr;
}

void NQMap::StampRoads(render::Graphics* graphics)
{
    if (mLinks && mRoadMark)
        for (const NQLink* link : *mLinks)
            StampLink(graphics, link);
    graphics->Flush();
}

void NQMap::StampLink(render::Graphics* graphics, const NQLink* link)
{
    if (!link || !mRoadMark)
        return;
    CurvePoint start, anchor, end;
    if (!mPoints || !GetLinkCurve(*mPoints, link, start, anchor, end))
        return; // a link to a missing point has no road
    float t = 0.0f;
    while (t < 1.0f)
    {
        const CurvePoint point = BezierPoint(start, anchor, end, t);
        math::Transform2D at;
        at.Translate(point.x, point.y);
        DrawCentred(graphics, mRoadMark, at, false);
        const float next = AdvanceOnLink(link, t, kRoadStampSpacing, 0.0f);
        if (next <= t)
            break; // a link that does not advance would stamp forever
        t = next;
    }
}

void NQMap::DrawCircleOutline(render::Graphics* graphics, float cx, float cy, float r)
{
    for (int i = 0; i < kCircleSegments; ++i)
    {
        const float a0 = kCircleStepDegrees * float(i) * kCirclePi / 180.0f;
        const float a1 = kCircleStepDegrees * float(i + 1) * kCirclePi / 180.0f;
        const float p0[2] = {cx + std::sin(a0) * r, cy + std::cos(a0) * r};
        const float p1[2] = {cx + std::sin(a1) * r, cy + std::cos(a1) * r};
        graphics->DrawLine(p0, p1);
    }
}

void NQMap::DrawWaveSchedule(render::Graphics* graphics)
{
    if (!mWaveManager)
        return;
    for (size_t i = 0; i < mWaveManager->mWaves.size(); ++i)
    {
        const NQWaveProto* wave = mWaveManager->mWaves[i];
        std::wstring line;
        for (const NQWaveEntry* entry : wave->mEntries)
        {
            const float due = mWaveManager->mWaveGap * float(i) + float(wave->mTimeout) +
                              entry->mX / kScheduleEntryUnits - mWaveManager->mClock + 0.5f;
            line += DecimalText(entry->mState) + L"(" + DecimalText(int32_t(due)) + L"), ";
        }
        auto record = graphics->DrawText(line);
        const float at[2] = {0.0f, kScheduleLineHeight * float(i)};
        auto placed = record.Translate(at);
    }
}

void NQContextMenu::DrawRangePreview(render::Graphics* graphics)
{
    NQMap* map = Game::GetMap();
    if (!map || mState == kClosing)
        return; // nothing while the ring closes
    const float f = mFadeTime - std::floor(mFadeTime);
    float cx = mCenterX;
    float cy = mCenterY;
    float m = 1.0f;
    float range = 0.0f;
    if (mKind == kTowerRing || mKind == kTierRing)
    {
        if (!mTower)
            return;
        m = mTower->GetRadiusMult();
        cx = mTower->mAnchorX;
        cy = mTower->mAnchorY;
        // The keys of a tower ring are level ids, not prototype ids: the
        // hovered item's own copy tells the range.
        const NQUnitProto* choice = mHoveredItem && mHoveredKey > 0 ? mHoveredItem->mProto : nullptr;
        const float current = mTower->GetReach() * 2.0f / m;
        if (!choice)
            range = current; // the sell item and no hover show the tower as it is
        else if (mKind == kTierRing)
            range = current + choice->tierK * choice->r; // one more in-place step
        else
            range = choice->r;
    }
    else
    {
        if (!mHoveredItem || mHoveredKey <= 0)
            return; // no tower item hovered
        NQUnitProto* copy = CreateUpgradedProto(mHoveredKey);
        if (!copy)
            return; // an unknown tower shows no preview
        range = copy->r;
        delete copy;
        if (mSpotFrame)
        {
            cx = mSpotFrame->mRect[0] + mSpotFrame->mRect[2] * 0.5f;
            cy = mSpotFrame->mRect[1] + mSpotFrame->mRect[3] * 0.5f;
            if (mSpotFrame->mSpot && mSpotFrame->mSpot->mParams)
                m = mSpotFrame->mSpot->mParams->GetFloat("radius_mult");
        }
    }
    graphics->SetColor(kWhite);
    DrawRangeCircle(graphics, map->mRadiusPicture, cx, cy, range / kRadiusPictureSize * m);
    const float r = range * 0.5f * m;
    graphics->SetColor(kPreviewOutline);
    NQMap::DrawCircleOutline(graphics, cx, cy, r);
    graphics->SetColor(kPreviewPulse[0], kPreviewPulse[1], kPreviewPulse[2], 1.0f - f);
    NQMap::DrawCircleOutline(graphics, cx, cy, r * kPreviewPulseGrowth * f);
    graphics->SetColor(kWhite);
}
