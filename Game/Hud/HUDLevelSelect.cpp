#include "Game/Hud/HUDLevelSelect.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/LogMessage.h"
#include "Core/File/ImageContainer.h"
#include "Core/Sound/SoundTags.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQProgress.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDLevelPlate.h"
#include "Game/Hud/HUDMainMenu.h"
#include "Game/Hud/HUDTabStrip.h"
#include "Game/Hud/LayerFonts.h"
#include "Game/Level/NQMap.h"

#include <string>

namespace
{
constexpr float kTitleWrap = 1024.0f;
constexpr float kBadgeTextWrap = 80.0f;
// The hardcore badge sits up and right of the hardcore buttons.
constexpr float kBadgeDx = 50.0f;
constexpr float kBadgeDy = -20.0f;
constexpr float kBehind = -1.0f;
constexpr const wchar_t* kLocked = L"locked_d";
constexpr const wchar_t* kUnlocked = L"unlocked_d";
constexpr const wchar_t* kUpgrade = L"upgrade";
constexpr const wchar_t* kSkulls = L"skulls";
constexpr const wchar_t* kNewBadge = L"plate/new";
constexpr const wchar_t* kClickSound = L"simple";

layer::Layer* BoardRoot()
{
    Game* game = Game::Get();
    return game && game->GetRootBoard() ? game->GetRootBoard()->GetRootLayer() : nullptr;
}

template <class L>
void DetachAndDelete(L*& child)
{
    DetachLayerFromParent(child);
    delete child;
    child = nullptr;
}
} // namespace

HUDLevelSelect::HUDLevelSelect()
{
    LoadLayout(kLayout);
    k2::SoundTags::Instance()->PlayMusic(HUDMainMenu::kMusic);
    if (Game* game = Game::Get(); game && game->GetRootBoard())
        SetFont(game->GetRootBoard()->GetFont(GameWindow::kFontNormal));
    NQMap* map = Game::GetMap();
    if (map)
        map->mCurrentMenu = kMenuName;
    NQProgress* progress = map ? map->mProgress : nullptr;
    const int mode = map ? map->mMode : 0;
    const int episode = map ? map->mEpisode : 0;
    const bool hardcore = mode == kHardcoreMode;

    const std::wstring key = (hardcore ? L"episodeHardcore" : L"episode") + std::to_wstring(episode);
    mTitle = MakeCentredText(hardcore ? GameWindow::kFontNormal : GameWindow::kFontLarge, LocalStrings::Instance()->Get(key),
                      kTitleWrap);
    if (const base::ImageInfo* slot = FindContainerImage(mLayoutContainer, L"text/episode"))
        mTitle->SetPosition(float(slot->x) + float(slot->w) / 2.0f, float(slot->y) + float(slot->h) / 2.0f, 0.0f);

    // A button the layout lacks is skipped, with one line each.
    auto button = [this](const wchar_t* name) {
        NQButtonFrame* found = FindButton(name);
        if (!found)
            HV_LOG(L"level select layout lacks the button %s\n") % std::wstring(name);
        return found;
    };
    NQButtonFrame* locked = button(kLocked);
    NQButtonFrame* unlocked = button(kUnlocked);
    if (!hardcore)
    {
        const int hardcoreLevels = map ? map->GetHardcoreLevelCount(episode) : 0;
        if (hardcoreLevels > 0)
        {
            const bool starred = map->IsEpisodeFullyStarred(episode);
            for (NQButtonFrame* frame : {locked, unlocked})
            {
                if (!frame)
                    continue;
                frame->mShown = (frame == unlocked) == starred ? 1 : 0;
                frame->mRect[0] = kHardcoreButtonX;
                frame->mRect[1] = kHardcoreButtonY;
            }
            const base::ImageInfo* badge = FindContainerImage(mLayoutContainer, kNewBadge);
            if (!badge)
                HV_LOG(L"level select layout lacks %s\n") % std::wstring(kNewBadge);
            if (badge && progress && progress->GetEpisodeVisited(episode, kHardcoreMode) < hardcoreLevels)
            {
                const float bx = kHardcoreButtonX + kBadgeDx;
                const float by = kHardcoreButtonY + kBadgeDy;
                mBadge = new layer::ImageLayer(LoadContainerImage(mLayoutContainer, kNewBadge), true);
                mBadge->SetPosition(bx, by, kBehind);
                mBadgeText = MakeCentredText(GameWindow::kFontNormal, LocalStrings::Instance()->Get(L"episodeSelectNew"),
                                      kBadgeTextWrap);
                mBadgeText->SetPosition(bx + float(badge->w / 2), by + float(badge->h / 2), 0.0f);
                if (layer::Layer* root = BoardRoot())
                {
                    root->AddChild(mBadge);
                    root->AddChild(mBadgeText);
                }
            }
        }
        else
        {
            for (NQButtonFrame* frame : {locked, unlocked})
            {
                if (frame)
                    frame->mShown = 0;
            }
        }
        SetImageVisible(kSkulls, false);
    }
    else
    {
        for (NQButtonFrame* frame : {locked, unlocked, button(kUpgrade)})
        {
            if (frame)
                frame->mShown = 0;
        }
    }

    SetText(L"gems", std::to_wstring(progress ? progress->GetGems() : 0));

    std::vector<std::wstring> names;
    if (!hardcore)
        names = {L"level_tab_0", L"level_tab_1", L"level_tab_2"};
    mTabs = new HUDTabStrip(mLayoutContainer, names, std::vector<bool>(names.size(), true));
    mTabs->Select(unsigned(mode));

    if (layer::Layer* root = BoardRoot())
        root->AddChild(mTitle);

    RebuildPlates();
    if (progress && map)
        progress->SetEpisodeVisited(episode, mode,
                                    hardcore ? map->GetHardcoreLevelCount(episode) : map->GetLevelCount(episode));
}

HUDLevelSelect::~HUDLevelSelect()
{
    DetachAndDelete(mTitle);
    DetachAndDelete(mBadge);
    DetachAndDelete(mBadgeText);
    delete mTabs;
    mTabs = nullptr;
    base::DeleteAll(mPlates);
    delete mLayoutContainer;
    mLayoutContainer = nullptr;
}

void HUDLevelSelect::RebuildPlates()
{
    base::DeleteAll(mPlates);
    const NQMap* map = Game::GetMap();
    if (!map)
        return;
    const int episode = map->mEpisode;
    // -1 for an episode the setup lacks: no plates.
    const int count =
        map->mMode == kHardcoreMode ? map->GetHardcoreLevelCount(episode) : map->GetLevelCount(episode);
    for (int level = 0; level < count; ++level)
        mPlates.push_back(new HUDLevelPlate(episode, level, mLayoutContainer));
}

int HUDLevelSelect::HitTest(int x, int y)
{
    for (const HUDLevelPlate* plate : mPlates)
    {
        if (plate->Contains(x, y))
            return plate->mLevel;
    }
    return -1;
}

void HUDLevelSelect::OnMouseDown(int x, int y)
{
    const int tab = mTabs->HitTest(x, y);
    NQMap* map = Game::GetMap();
    if (tab < 0 || !map || map->mMode == kHardcoreMode)
        return;
    map->mMode = tab;
    if (map->mProgress)
        map->mProgress->SetMode(tab);
    k2::SoundTags::Instance()->Play(kClickSound);
    RebuildPlates();
}

void HUDLevelSelect::OnMouseMove(int x, int y)
{
    HUDWindow::OnMouseMove(x, y);
    for (HUDLevelPlate* plate : mPlates)
        plate->mHovered = plate->mOpen && plate->Contains(x, y) ? 1 : 0;
    mTabs->OnMouseMove(x, y);
}

void HUDLevelSelect::Update(float dt)
{
    HUDWindow::Update(dt);
    for (HUDLevelPlate* plate : mPlates)
        plate->Update(dt);
    mTabs->Update(dt);
    NQMap* map = Game::GetMap();
    if (!map || map->mMode != kHardcoreMode || !map->mProgress || !map->mHud)
        return;
    // Hardcore is explained once per profile.
    if (map->mProgress->GetEventFlag(kHardcoreExplainedFlag))
        return;
    map->mProgress->SetEventFlag(kHardcoreExplainedFlag);
    LocalStrings* strings = LocalStrings::Instance();
    map->mHud->ShowModalMessage(strings->Get(L"HardcoreTitle"), strings->Get(L"HardcoreDescMessage"),
                                map->mScreenState);
}

void HUDLevelSelect::Draw(render::Graphics* graphics)
{
    if (!graphics)
        return;
    HUDWindow::Draw(graphics);
    for (HUDLevelPlate* plate : mPlates)
        plate->mRoot->Render(graphics);
    mTabs->Draw(graphics);
}
