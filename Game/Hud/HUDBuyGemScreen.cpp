#include "Game/Hud/HUDBuyGemScreen.h"

#include "Core/Base/DeleteAll.h"
#include "Core/Base/Format.h"
#include "Core/Math/MathFunctions.h"
#include "Game/Data/LocalStrings.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Game.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDGemPack.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"

HUDBuyGemScreen::HUDBuyGemScreen()
{
    LoadLayout(kLayout);
    for (int i = 0; i < kGemPackCount; ++i)
    {
        mPacks.push_back(new HUDGemPack(mLayoutContainer, i));
        // The pack takes the place of the layout's own button.
        base::Format name(L"b_%02d_in");
        name % int32_t(i + 1);
        if (NQButtonFrame* button = FindButton(name.GetText()))
            button->mShown = 0;
    }
    if (Game* game = Game::Get(); game && game->GetRootBoard())
        SetFont(game->GetRootBoard()->GetFont(GameWindow::kFontNormal));
    SetText(kCaptionSlot, LocalStrings::Instance()->Get(L"gemShopTitle"));
    Refresh();
}

HUDBuyGemScreen::~HUDBuyGemScreen()
{
    base::DeleteAll(mPacks);
}

void HUDBuyGemScreen::Refresh()
{
    const NQMap* map = Game::GetMap();
    const int32_t gems = map && map->mEconomy ? map->mEconomy->mGems : 0;
    base::Format title(LocalStrings::Instance()->Get(L"gemShopTitle2"));
    title % gems;
    SetText(L"caption_gems", title.GetText());
}

void HUDBuyGemScreen::Update(float dt)
{
    HUDWindow::Update(dt);
    Refresh();
    for (HUDGemPack* pack : mPacks)
    {
        const float target = pack->mHovered ? HUDGemPack::kHoverScale : HUDGemPack::kRestScale;
        math::Approach(pack->mScale, dt * HUDGemPack::kScaleRate, target);
    }
}

void HUDBuyGemScreen::OnMouseMove(int x, int y)
{
    HUDWindow::OnMouseMove(x, y);
    for (HUDGemPack* pack : mPacks)
        pack->mHovered = pack->Contains(x, y) ? 1 : 0;
}

std::wstring HUDBuyGemScreen::Click(int x, int y)
{
    for (const HUDGemPack* pack : mPacks)
    {
        if (pack->Contains(x, y))
            return pack->GetProductId();
    }
    return HUDWindow::Click(x, y);
}

void HUDBuyGemScreen::Draw(render::Graphics* graphics)
{
    HUDWindow::Draw(graphics);
    for (HUDGemPack* pack : mPacks)
        pack->Draw(graphics);
}
