// The level drawing: the depth-ordered world, its overlays, the closing
// passes, and the road mask.
#include "Game/Level/NQMap.h"

#include "Core/Math/Transform2D.h"
#include "Core/Math/Transform3D.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/ParticleEmitter.h"
#include "Core/Render/Render.h"
#include "Core/Render/RenderState.h"
#include "Core/Render/RenderTarget.h"
#include "Framework/GameApplication.h"
#include "Game/Data/DecimalText.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/Data/NQSpriteAnimation.h"
#include "Game/Data/NQSpriteSet.h"
#include "Game/Data/NQUnitProto.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/LevelHud.h"
#include "Game/Level/NQContextMenu.h"
#include "Game/Level/NQDecorationSet.h"
#include "Game/Level/NQFloatingIcons.h"
#include "Game/Level/NQWaveEntry.h"
#include "Game/Level/NQWaveHintStrip.h"
#include "Game/Level/NQWaveManager.h"
#include "Game/Level/NQWaveProto.h"
#include "Game/Roads/BezierCurve.h"
#include "Game/Roads/LinkGeometry.h"
#include "Game/Roads/NQLink.h"
#include "Game/Units/DrawCentred.h"
#include "Game/Units/Modifiers/NQModifier.h"
#include "Game/Units/NQBulletManager.h"
#include "Game/Units/NQEffect.h"
#include "Game/Units/NQEnemy.h"
#include "Game/Units/NQParticle.h"
#include "Game/Units/NQTower.h"
#include "Game/Units/NQTowerSpecial.h"
#include "Game/Units/SpriteList.h"
#include "Game/Units/TMobShader.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr int kShaderMultiplying = 1;
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
constexpr int kCircleSegments = 36;
constexpr float kCircleStepDegrees = 10.0f;
constexpr float kCirclePi = 3.14f;

constexpr float kScheduleLineHeight = 20.0f;
constexpr float kScheduleEntryUnits = 45.0f;
constexpr int32_t kSplashHitKind = 101;
constexpr float kAreaAlpha = 0.5f;
constexpr NQScreenState kGemShopState = screen::kGemShop;

render::BMFont* RootBoardFont(int index)
{
    Game* game = Game::Get();
    if (!game || !game->GetRootBoard())
        return nullptr;
    return game->GetRootBoard()->GetFont(index).Get();
}

void DrawEntry(render::Graphics* graphics, NQFrameEntry* entry)
{
    if (entry->mEmitter)
    {
        // The particles already stand where the emitter is.
        graphics->DrawParticles(entry->mEmitter);
        graphics->SetBlendMode(render::kBlendAlpha);
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
        graphics->SetBlendMode(render::kBlendAdditive);
    DrawCentred(graphics, entry->mPicture, entry->mTransform, entry->mMirrored != 0);
    if (entry->mAdditive)
        graphics->SetBlendMode(render::kBlendAlpha);
}

// What the passes of one frame share.
struct DrawFrame
{
    render::Graphics* graphics;
    // The caller's transform, and the map's (scaled by the zoom, moved by the view offset).
    math::Transform3D* screenSpace;
    math::Transform3D* mapSpace;
    // Whether the screen state shows the battlefield.
    bool world;
};

using DrawPass = void (*)(NQMap& map, DrawFrame& frame);

// The units queue their pictures; the bodies in depth order, each kind's
// shadows below it. Equal depths keep their queue order.
void QueueUnits(NQMap& map, DrawFrame& frame)
{
    frame.graphics->SetBlendMode(render::kBlendAlpha);
    for (size_t i = 0; i < map.mTowers.size(); ++i)
        map.mTowers[i]->QueueDraw(frame.graphics);
    if (map.mWaveManager)
        for (size_t i = 0; i < map.mWaveManager->mEnemies.size(); ++i)
            map.mWaveManager->mEnemies[i]->QueueDraw(frame.graphics);
    std::vector<NQFrameEntry*>* queues = map.mDrawQueues;
    std::vector<NQFrameEntry*>& drawList = queues[kDrawList];
    std::stable_sort(drawList.begin(), drawList.end(), NQMap::CompareDepth);
    std::stable_sort(queues[kGroundBodies].begin(), queues[kGroundBodies].end(), NQMap::CompareDepth);
    std::stable_sort(queues[kFlyerBodies].begin(), queues[kFlyerBodies].end(), NQMap::CompareDepth);
    drawList.insert(drawList.end(), queues[kGroundShadows].begin(), queues[kGroundShadows].end());
    drawList.insert(drawList.end(), queues[kGroundBodies].begin(), queues[kGroundBodies].end());
}

// The level picture's frames: the marked ones ('^', '$', "##") above the
// ground, every other one in front of the list, below everything.
void QueueDecorations(NQMap& map, DrawFrame&)
{
    if (!map.mDecorationSet)
        return;
    std::vector<NQFrameEntry*>& drawList = map.mDrawQueues[kDrawList];
    for (NQFrameEntry* frame : map.mDecorationSet->mFrames)
    {
        if (!frame->mShown)
            continue;
        auto* copy = new NQFrameEntry(*frame);
        copy->mTransform.SetIdentity();
        copy->mTransform.Translate(frame->mRect[0] + frame->mRect[2] * 0.5f, frame->mRect[1] + frame->mRect[3] * 0.5f);
        const std::wstring& name = frame->mName;
        const bool above = name == L"##" || (!name.empty() && (name[0] == L'^' || name[0] == L'$'));
        if (above)
            drawList.push_back(copy);
        else
            drawList.insert(drawList.begin(), copy);
    }
}

void QueueFlyers(NQMap& map, DrawFrame&)
{
    std::vector<NQFrameEntry*>* queues = map.mDrawQueues;
    std::vector<NQFrameEntry*>& drawList = queues[kDrawList];
    drawList.insert(drawList.end(), queues[kFlyerShadows].begin(), queues[kFlyerShadows].end());
    drawList.insert(drawList.end(), queues[kFlyerBodies].begin(), queues[kFlyerBodies].end());
}

// Placed by their emitters' depth, but the list is not sorted again.
void QueueDepthEffects(NQMap& map, DrawFrame&)
{
    for (NQEffect* effect : map.mDepthEffects)
    {
        auto* entry = new NQFrameEntry;
        entry->mEmitter = effect->mEmitter;
        if (effect->mEmitter)
            entry->mDepth = effect->mEmitter->GetPosition()[1];
        map.mDrawQueues[kDrawList].push_back(entry);
    }
}

// While a spell is armed the roads glow, pulsing, below everything.
void QueueRoadGlow(NQMap& map, DrawFrame&)
{
    if (!map.mRoadMask || !map.mArmedSpell)
        return;
    auto* glow = new NQFrameEntry;
    glow->mPicture = map.mRoadMask;
    glow->mTransform.Translate(kMaskCentreX, kMaskCentreY - map.mViewportY);
    glow->mAdditive = 1;
    const float alpha = (std::sin(map.mGameTime * kMaskPulseRate) + 1.0f) * 0.5f * kMaskPulseDepth + kMaskBaseAlpha;
    glow->mColor[0] = kMaskColour[0];
    glow->mColor[1] = kMaskColour[1];
    glow->mColor[2] = kMaskColour[2];
    glow->mColor[3] = alpha;
    std::vector<NQFrameEntry*>& drawList = map.mDrawQueues[kDrawList];
    drawList.insert(drawList.begin(), glow);
}

void QueueWaveMarkers(NQMap& map, DrawFrame&)
{
    if (!map.mWaveHints)
        return;
    for (NQFrameEntry* marker : map.mWaveHints->mHints)
    {
        auto* copy = new NQFrameEntry(*marker);
        copy->mTransform.SetIdentity();
        copy->mTransform.Translate(marker->mRect[0] + marker->mRect[2] * 0.5f,
                                   marker->mRect[1] + marker->mRect[3] * 0.5f);
        map.mDrawQueues[kDrawList].push_back(copy);
    }
}

void DrawWorldList(NQMap& map, DrawFrame& frame)
{
    frame.graphics->mWorldTransform = frame.mapSpace;
    for (NQFrameEntry* entry : map.mDrawQueues[kDrawList])
        DrawEntry(frame.graphics, entry);
}

// Health bars, then the pictures on top of the towers.
void DrawUnitOverlays(NQMap& map, DrawFrame& frame)
{
    render::Graphics* graphics = frame.graphics;
    graphics->SetShaderMode(kShaderMultiplying);
    graphics->mWorldTransform = frame.screenSpace;
    if (map.mWaveManager)
        for (size_t i = 0; i < map.mWaveManager->mEnemies.size(); ++i)
            map.mWaveManager->mEnemies[i]->DrawOverlay(graphics);
    graphics->SetColor(kWhite);
    for (size_t i = 0; i < map.mTowers.size(); ++i)
        map.mTowers[i]->DrawOverlay(graphics);
}

// The marker stands on the selected enemy's root point.
void DrawSelectionMarker(NQMap& map, DrawFrame& frame)
{
    if (!map.mSelectedEnemy || !map.mEnemySpotMarker)
        return;
    float rootY = 0.0f;
    const NQUnitProto* proto = map.mSelectedEnemy->GetProto();
    if (proto && proto->spriteSet && !proto->spriteSet->GetFrames("").empty())
        rootY = proto->spriteSet->GetFrames("").front()->mRect[1];
    frame.graphics->mWorldTransform = frame.mapSpace;
    map.mEnemySpotMarker->Draw(frame.graphics, map.mSelectedEnemy->mX, map.mSelectedEnemy->mY - rootY, 0.0f);
    frame.graphics->mWorldTransform = frame.screenSpace;
}

void DrawWaveCountdowns(NQMap& map, DrawFrame& frame)
{
    map.DrawWaveHintTexts(frame.graphics);
}

void DrawDebugAreas(NQMap& map, DrawFrame& frame)
{
    if (map.mDebugFlags[2])
        map.DrawDeveloperAreas(frame.graphics);
}

// The per-frame copies go; the queues are empty between frames.
void EmptyDrawQueues(NQMap& map, DrawFrame& frame)
{
    for (NQFrameEntry* entry : map.mDrawQueues[kDrawList])
        delete entry;
    for (std::vector<NQFrameEntry*>& queue : map.mDrawQueues)
        queue.clear();
    frame.graphics->SetColor(kWhite);
}

void DrawBullets(NQMap& map, DrawFrame& frame)
{
    frame.graphics->mWorldTransform = frame.mapSpace;
    if (map.mBullets)
        map.mBullets->Draw(frame.graphics);
}

void DrawPopupsAndSprites(NQMap& map, DrawFrame& frame)
{
    frame.graphics->mWorldTransform = frame.mapSpace;
    if (map.mFloatingIcons)
        map.mFloatingIcons->Draw(frame.graphics);
    if (map.mSprites)
        DrawSprites(*map.mSprites, frame.graphics);
    if (map.mHints)
        DrawSprites(*map.mHints, frame.graphics);
}

void DrawDrops(NQMap& map, DrawFrame& frame)
{
    frame.graphics->mWorldTransform = frame.screenSpace;
    if (map.mDrops)
        for (NQTowerSpecial* drop : *map.mDrops)
            drop->Draw(frame.graphics);
}

void DrawLevelParticles(NQMap& map, DrawFrame& frame)
{
    for (NQParticle* particle : map.mParticles)
        particle->Draw(frame.graphics);
}

void DrawHudScreens(NQMap& map, DrawFrame& frame)
{
    frame.graphics->SetBlendMode(render::kBlendAlpha);
    if (map.mHud)
    {
        map.mHud->Draw(frame.graphics);
        map.mHud->DrawWindows(frame.graphics, LevelHud::kScreenLayer);
    }
    // The layers put back everything but the blend mode.
    frame.graphics->SetBlendMode(render::kBlendAlpha);
}

// A ring that has finished closing is deleted here.
void DrawContextRing(NQMap& map, DrawFrame& frame)
{
    if (!map.mContextMenu)
        return;
    if (!map.mContextMenu->mActive)
    {
        delete map.mContextMenu;
        map.mContextMenu = nullptr;
        return;
    }
    frame.graphics->mWorldTransform = frame.mapSpace;
    map.DrawContextMenu(frame.graphics);
}

// The loose emitters, then the effects above the world (none over the gem shop).
void DrawFrontEffects(NQMap& map, DrawFrame& frame)
{
    render::Graphics* graphics = frame.graphics;
    graphics->mWorldTransform = frame.mapSpace;
    for (render::ParticleEmitter* emitter : map.mLooseEmitters)
        graphics->DrawParticles(emitter);
    if (map.mScreenState != kGemShopState)
        for (NQEffect* effect : map.mEffects)
            if (effect->mEmitter)
                graphics->DrawParticles(effect->mEmitter);
}

void DrawSpellEmitters(NQMap& map, DrawFrame& frame)
{
    render::Graphics* graphics = frame.graphics;
    graphics->mWorldTransform = frame.screenSpace;
    if (map.mArmedSpell && map.mSpellEmitter)
        graphics->DrawParticles(map.mSpellEmitter);
    if (frame.world && map.mButtonEmitter)
        graphics->DrawParticles(map.mButtonEmitter);
}

void DrawHudModals(NQMap& map, DrawFrame& frame)
{
    if (map.mHud)
        map.mHud->DrawWindows(frame.graphics, LevelHud::kModalLayer);
}

void DrawDebugSchedule(NQMap& map, DrawFrame& frame)
{
    if (!map.mDebugFlags[0])
        return;
    frame.graphics->SetBlendMode(render::kBlendAlpha);
    map.DrawWaveSchedule(frame.graphics);
}

// The battlefield, in a state that shows it: one depth-ordered list of
// world pictures, then what stands above it.
constexpr DrawPass kWorldPasses[] = {
    QueueUnits,
    QueueDecorations,
    QueueFlyers,
    QueueDepthEffects,
    QueueRoadGlow,
    QueueWaveMarkers,
    DrawWorldList,
    DrawUnitOverlays,
    DrawSelectionMarker,
    DrawWaveCountdowns,
    DrawDebugAreas,
    EmptyDrawQueues,
    DrawBullets,
};

// Every state: popups, the front end, the ring and the effects above all.
constexpr DrawPass kClosingPasses[] = {
    DrawPopupsAndSprites,
    DrawDrops,
    DrawLevelParticles,
    DrawHudScreens,
    DrawContextRing,
    DrawFrontEffects,
    DrawSpellEmitters,
    DrawHudModals,
    DrawDebugSchedule,
};
} // namespace

bool NQMap::CompareDepth(const NQFrameEntry* a, const NQFrameEntry* b)
{
    return a->mDepth < b->mDepth;
}

void NQMap::Draw(render::Graphics* graphics)
{
    if (!mResourcesLoaded || !graphics)
        return; // no level to show
    math::Transform3D mapSpace;
    mapSpace.Scale(mZoom, mZoom, 1.0f);
    mapSpace.Translate(mViewOffsetX, mViewOffsetY, 0.0f);
    DrawFrame frame{graphics, graphics->mWorldTransform, &mapSpace, screen::ShowsBattlefield(mScreenState)};

    render::Render* render = graphics->GetRender();
    if (mRoadMask && render && render->GetResetCount() != mRoadMaskResetCount)
        RestampRoadMask(render);

    if (frame.world)
        for (DrawPass pass : kWorldPasses)
            pass(*this, frame);
    for (DrawPass pass : kClosingPasses)
        pass(*this, frame);
    graphics->mWorldTransform = frame.screenSpace;
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
    const std::wstring text = NQWaveHintStrip::Text(seconds);
    for (size_t i = 0; i < mWaveHints->mHints.size(); ++i)
    {
        const NQWaveHintStrip::TextAnchor anchor = mWaveHints->TextAnchorOf(i);
        auto record = graphics->DrawText(text);
        record->SetAlign(anchor.runsRight ? kAlignLeft : kAlignRight, kAlignCentre);
        const float at[2] = {anchor.x * mZoom + mViewOffsetX, anchor.y * mZoom + mViewOffsetY};
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

void NQMap::DrawRangeCircle(render::Graphics* graphics, render::Image* circle, float x, float y, float scale)
{
    if (!circle)
        return; // no circle picture in the set
    math::Transform2D at;
    at.Scale(scale, scale);
    at.Translate(x, y);
    DrawCentred(graphics, circle, at, false);
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
