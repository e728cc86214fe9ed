#include "Game/Hud/HUDShopWindow.h"

#include "Core/Base/Delegate.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Sound/SoundTags.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQUpgrade.h"
#include "Game/Data/NQUpgradeTable.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDScrollBar.h"
#include "Game/Hud/HUDTabStrip.h"
#include "Game/Hud/HUDUpgradePlate.h"
#include "Game/Hud/LayerFonts.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

#include <algorithm>
#include <string>

namespace
{
constexpr int kAlignCentre = 2;
constexpr int kTextLayoutOption = 2;
constexpr float kCaptionWidth = 429.0f;
constexpr float kGemsWidth = 200.0f;
// The caption sits this much above its rectangle's corner.
constexpr float kCaptionLift = 10.0f;
constexpr float kButtonScale = 1.0f;
const wchar_t* const kClickSound = L"simple";
// A dialog of the shop's own: the dispatcher knows it by the screen state.
constexpr int32_t kResetDialogId = -1;

using FooterHook = base::MemberDelegate2<HUDShopWindow, render::Graphics*, layer::Layer*, HVResultEnum>;

layer::Layer* RootBoardLayer()
{
    Game* game = Game::Get();
    return game && game->GetRootBoard() ? game->GetRootBoard()->GetRootLayer() : nullptr;
}

layer::TextLayer* MakeText(const std::wstring& text, float width, float x, float y)
{
    auto* layer =
        new layer::TextLayer(LayerFont(GameWindow::kFontLarge), text, width, 0.0f, kTextLayoutOption, true);
    layer->SetAlignment(kAlignCentre, kAlignCentre);
    layer->SetPosition(x, y, 0.0f);
    return layer;
}

void SetButtonShown(HUDWindow& window, const wchar_t* name, bool shown)
{
    if (NQButtonFrame* button = window.FindButton(name))
        button->mShown = shown ? 1 : 0;
}

std::vector<NQUpgrade*> Section(int section)
{
    std::vector<NQUpgrade*> upgrades;
    const NQMap* map = Game::GetMap();
    if (map && map->mUpgradeTable)
        map->mUpgradeTable->GetSection(section, upgrades);
    return upgrades;
}

template <class T>
void Delete(T*& object)
{
    delete object;
    object = nullptr;
}
} // namespace

int CountAvailableUpgrades(int section)
{
    const std::vector<NQUpgrade*> upgrades = Section(section);
    return int(std::count_if(upgrades.begin(), upgrades.end(),
                             [](const NQUpgrade* upgrade) { return upgrade->IsAvailable(true); }));
}

HUDShopWindow::HUDShopWindow(bool fromLevel) : mFromLevel(fromLevel ? 1 : 0)
{
    LoadLayout(kLayout);
    // Back to the menu from a menu; on with the game after a level.
    SetButtonShown(*this, L"back_ac", !fromLevel);
    SetButtonShown(*this, L"return_ac", fromLevel);

    NQMap* map = Game::GetMap();
    if (map)
        map->mScreenState = screen::kShop;
    if (Game* game = Game::Get(); game && game->GetRootBoard())
        SetFont(game->GetRootBoard()->GetFont(GameWindow::kFontLarge));
    SetText(kCaptionSlot, LocalText(L"shop"));

    mCurrentTab = 0;
    mList = new layer::Layer;

    std::vector<std::wstring> names;
    std::vector<bool> enabled;
    for (int i = 0; i < kTabCount; ++i)
    {
        names.push_back(L"shop_tab_" + std::to_wstring(i));
        enabled.push_back(CountAvailableUpgrades(i) > 0);
    }
    mScrollBar = new HUDScrollBar(mLayoutContainer);

    mHeader = new layer::ImageLayer;
    InitImageLayerFromContainer(mHeader, mLayoutContainer, L"back_header", 0.0f, 0.0f);
    mFooter = new layer::ImageLayer;
    InitImageLayerFromContainer(mFooter, mLayoutContainer, L"back_footer", 0.0f, 0.0f);

    const base::ImageInfo* caption = FindContainerImage(mLayoutContainer, L"text/caption");
    mCaption = MakeText(LocalText(L"shop"), kCaptionWidth, caption ? caption->x : 0.0f,
                        caption ? caption->y - kCaptionLift : 0.0f);
    const base::ImageInfo* gems = FindContainerImage(mLayoutContainer, L"text/gems");
    mGems = MakeText(std::wstring(), kGemsWidth, gems ? gems->x + gems->w / 2.0f : 0.0f,
                     gems ? gems->y + gems->h / 2.0f : 0.0f);
    SetGemText();
    // Above every HUD window.
    if (layer::Layer* root = RootBoardLayer())
    {
        root->AddChild(mCaption);
        root->AddChild(mGems);
    }

    mFooterHook.Assign(new FooterHook(this, &HUDShopWindow::DrawFooterButtons));
    mFooter->SetPostDrawHook(mFooterHook);

    mTabStrip = new HUDTabStrip(mLayoutContainer, names, enabled);
    BuildPlates(0);
    SetGemText();
    SetButtonShown(*this, L"gem_shop", false);
}

HUDShopWindow::~HUDShopWindow()
{
    for (HUDUpgradePlate* plate : mPlates)
        delete plate;
    mPlates.clear();
    DetachLayerFromParent(mCaption);
    DetachLayerFromParent(mGems);
    Delete(mCaption);
    Delete(mGems);
    mFooter->SetPostDrawHook(base::DelegateHandle());
    Delete(mFooter);
    Delete(mHeader);
    Delete(mTabStrip);
    Delete(mScrollBar);
    Delete(mList);
}

bool HUDShopWindow::IsBlocked() const
{
    const NQMap* map = Game::GetMap();
    return map && map->mHud && map->mHud->mBlockShop != 0;
}

void HUDShopWindow::SetGemText()
{
    const NQMap* map = Game::GetMap();
    mGems->SetText(std::to_wstring(map && map->mEconomy ? map->mEconomy->mGems : 0));
}

void HUDShopWindow::ShowScrolling(bool shown)
{
    mScrollBar->mRoot->mVisible = shown;
    SetButtonShown(*this, L"down_in", shown);
    SetButtonShown(*this, L"up_in", shown);
}

void HUDShopWindow::BuildPlates(int tab)
{
    while (!mPlates.empty())
    {
        delete mPlates.front();
        mPlates.erase(mPlates.begin());
    }
    mScrollBar->Reset();
    mList->SetPosition(0.0f, 0.0f, 0.0f);

    const base::ImageInfo* origin = FindContainerImage(mLayoutContainer, HUDUpgradePlate::kPlatePicture);
    const float x = origin ? origin->x : 0.0f;
    const float y = origin ? origin->y : 0.0f;
    float offset = 0.0f;
    for (NQUpgrade* upgrade : Section(tab))
    {
        if (!upgrade->IsAvailable(true))
            continue;
        auto* plate = new HUDUpgradePlate(mLayoutContainer, upgrade);
        plate->mPlate->SetPosition(x, y + offset, 0.0f);
        mList->AddChild(plate->mPlate);
        mPlates.push_back(plate);
        offset += kPlateSpacing;
    }
    ShowScrolling(int(mPlates.size()) > kPlatesWithoutScrollBar);
}

void HUDShopWindow::ScrollTo(float position)
{
    mList->SetPosition(0.0f, -float(int(mPlates.size()) - kShownPlates) * kScrollPerPlate * position, 0.0f);
}

std::wstring HUDShopWindow::Click(int x, int y)
{
    // The tutorial keeps the player on the buy buttons.
    if (IsBlocked())
        return std::wstring();
    const std::wstring name = HUDWindow::Click(x, y);
    if (name == L"down_in" || name == L"up_in")
    {
        const float step = name == L"down_in" ? kScrollStep : -kScrollStep;
        const float position = std::clamp(mScrollBar->mPosition + step, 0.0f, 1.0f);
        ScrollTo(position);
        mScrollBar->mPosition = position;
        mScrollBar->SyncSlider();
        return std::wstring();
    }
    if (name == L"gem_shop")
        return mFromLevel ? L"gem_shop1" : L"gem_shop0";
    if (name == L"reset_premium_points")
    {
        NQMap* map = Game::GetMap();
        if (map && map->mHud)
            map->mHud->ShowModalDialog(LocalText(L"reset_upgrades_title"), LocalText(L"reset_upgrades_message"),
                                       kResetDialogId);
        if (map)
            map->mScreenState = screen::kResetUpgrades;
    }
    return name;
}

void HUDShopWindow::OnMouseDown(int x, int y)
{
    if (x >= kScrollColumnLeft && x <= kScrollColumnRight && y >= kScrollColumnTop && y <= kScrollColumnBottom)
        mDragState = kPressedInScrollColumn;
    if (!IsBlocked())
    {
        mScrollBar->OnMouseDown(x, y);
        const int tab = mTabStrip->HitTest(x, y);
        if (tab >= 0)
        {
            mCurrentTab = tab;
            k2::SoundTags::Instance()->Play(kClickSound);
            BuildPlates(tab);
        }
    }
    for (HUDUpgradePlate* plate : mPlates)
        plate->OnMouseDown(x, y);
    for (HUDUpgradePlate* plate : mPlates)
        plate->Refresh();
}

void HUDShopWindow::OnMouseMove(int x, int y)
{
    for (HUDUpgradePlate* plate : mPlates)
        plate->OnMouseMove(x, y);
    for (NQButtonFrame* button : mButtons)
        button->HitTest(x, y);
    if (int(mPlates.size()) > kShownPlates)
    {
        if (mDragState > kNoDrag)
            mDragState = kDragging;
        mScrollBar->OnMouseMove(x, y);
        if (mScrollBar->mGrab == HUDScrollBar::kHeld)
            ScrollTo(mScrollBar->mPosition);
    }
    mTabStrip->OnMouseMove(x, y);
}

void HUDShopWindow::OnMouseUp(int x, int y)
{
    // A release that ends a drag of the list buys nothing.
    if (mDragState != kDragging)
    {
        for (HUDUpgradePlate* plate : mPlates)
            plate->OnMouseUp(x, y);
    }
    mScrollBar->OnMouseUp(x, y);
    mDragState = kNoDrag;
}

void HUDShopWindow::OnMouseWheel(int delta)
{
    if (int(mPlates.size()) <= kPlatesWithoutScrollBar)
        return;
    const float position = std::clamp(mScrollBar->mPosition - float(delta) / kWheelRange, 0.0f, 1.0f);
    mScrollBar->mPosition = position;
    ScrollTo(position);
    mScrollBar->SyncSlider();
}

void HUDShopWindow::Update(float dt)
{
    // The window's own clock does not run here.
    for (NQButtonFrame* button : mButtons)
        button->Update(dt);
    mTabStrip->Update(dt);
    for (HUDUpgradePlate* plate : mPlates)
        plate->Update(dt);
    SetGemText();
}

void HUDShopWindow::Draw(render::Graphics* graphics)
{
    HUDWindow::Draw(graphics);
    if (!graphics)
        return;
    mList->Render(graphics);
    mScrollBar->Draw(graphics);
    mHeader->Render(graphics);
    mFooter->Render(graphics);
    mTabStrip->Draw(graphics);
}

HVResultEnum HUDShopWindow::DrawFooterButtons(render::Graphics* graphics, layer::Layer*)
{
    for (NQButtonFrame* button : mButtons)
    {
        if (button->mShown)
            button->Draw(graphics, kButtonScale);
    }
    return HV_OK;
}

void HUDShopWindow::Refresh()
{
    for (HUDUpgradePlate* plate : mPlates)
        plate->Refresh();
}
