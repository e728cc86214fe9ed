// The gem shop: packs, hover, title, store texts and the show operation.
#include "ShopFixture.h"

#include "Core/Purchase/Product.h"
#include "Core/Purchase/PurchaseSystem.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDBuyGemScreen.h"
#include "Game/Hud/HUDGemPack.h"
#include "Game/Level/NQLevelEconomy.h"
#include "Game/Level/NQMap.h"
#include "support/FakePurchaseProvider.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gametest
{
namespace
{
int PackCentreX(int i) { return PackX(i) + kPackWidth / 2; }
constexpr int kPackCentreY = kPackY + kPackHeight / 2;

class GemShopTest : public ShopTest
{
protected:
    // The glyph quads drawn from a font page.
    size_t GlyphsOf(const std::vector<RecordedQuad>& quads, int font) const
    {
        return size_t(std::count_if(quads.begin(), quads.end(),
                                    [&](const RecordedQuad& q) { return q.texture == FontPage(font); }));
    }
};

TEST_F(GemShopTest, WithoutAStoreAPackAnswersNothingAndItsMarginFallsThrough)
{
    HUDBuyGemScreen screen;
    ASSERT_EQ(screen.mPacks.size(), 5u);
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(screen.mPacks[i]->mProduct, nullptr);
        EXPECT_EQ(screen.Click(PackCentreX(i), kPackCentreY), L"") << i;
        // The layout's own buttons under the packs are hidden.
        const NQButtonFrame* own = screen.FindButton(L"b_0" + std::to_wstring(i + 1) + L"_in");
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(own->mShown, 0);
    }
    EXPECT_EQ(Heard(L"simple"), 0);
    // 40 inside pack 0's edge lies outside its active area: the layout answers.
    EXPECT_EQ(screen.Click(PackX(0) + 40, kPackY + 40), L"");
    EXPECT_EQ(screen.Click(kBackInX, kBackInY), L"back_in");
    EXPECT_EQ(Heard(L"simple"), 1);
}

TEST_F(GemShopTest, TheActiveAreaIsHalfOpen)
{
    HUDBuyGemScreen screen;
    const HUDGemPack& pack = *screen.mPacks[2];
    const int left = PackX(2) + 50;
    const int right = PackX(2) + kPackWidth - 50;
    const int top = kPackY + 50;
    const int bottom = kPackY + kPackHeight - 50;
    EXPECT_TRUE(pack.Contains(left, top));
    EXPECT_FALSE(pack.Contains(left - 1, top));
    EXPECT_FALSE(pack.Contains(left, top - 1));
    EXPECT_TRUE(pack.Contains(right - 1, bottom - 1));
    EXPECT_FALSE(pack.Contains(right, bottom - 1));
    EXPECT_FALSE(pack.Contains(right - 1, bottom));
}

TEST_F(GemShopTest, HoverShrinksAPackIn02SecondsAndLeavingRestoresIt)
{
    HUDBuyGemScreen screen;
    HUDGemPack& pack = *screen.mPacks[3];
    screen.OnMouseMove(PackCentreX(3), kPackCentreY);
    EXPECT_EQ(pack.mHovered, 1);
    EXPECT_EQ(screen.mPacks[0]->mHovered, 0);
    for (int i = 0; i < 3; ++i)
        screen.Update(0.05f);
    EXPECT_NEAR(pack.mScale, 0.925f, 1e-5f);
    screen.Update(0.05f);
    EXPECT_FLOAT_EQ(pack.mScale, 0.9f);
    screen.Update(0.05f);
    EXPECT_FLOAT_EQ(pack.mScale, 0.9f);
    EXPECT_FLOAT_EQ(screen.mPacks[0]->mScale, 1.0f);

    screen.OnMouseMove(0, 0);
    for (int i = 0; i < 3; ++i)
        screen.Update(0.05f);
    EXPECT_LT(pack.mScale, 1.0f);
    screen.Update(0.05f);
    EXPECT_FLOAT_EQ(pack.mScale, 1.0f);
}

TEST_F(GemShopTest, TheTitleFollowsTheGemsWithinAFrame)
{
    SetGems(12);
    HUDBuyGemScreen screen;
    EXPECT_EQ(TextOf(screen, L"caption"), L"Gem shop");
    EXPECT_EQ(TextOf(screen, L"caption_gems"), L"You have 12 gems");
    Map()->mEconomy->AddGems(335);
    screen.Update(0.016f);
    EXPECT_EQ(TextOf(screen, L"caption_gems"), L"You have 347 gems");
}

TEST_F(GemShopTest, OnlyTheSecondPackDrawsTheBadge)
{
    HUDBuyGemScreen screen;
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(screen.mPacks[i]->mBadgePicture != nullptr, i == HUDGemPack::kBadgeIndex) << i;
        const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { screen.mPacks[i]->Draw(g); });
        // Button and price pictures, the badge, then the text's glyphs.
        const size_t pictures = size_t(std::count_if(quads.begin(), quads.end(), [&](const RecordedQuad& q) {
            return q.texture != FontPage(GameWindow::kFontNormal);
        }));
        EXPECT_EQ(pictures, i == HUDGemPack::kBadgeIndex ? 3u : 2u) << i;
    }
}

TEST_F(GemShopTest, AScaledPackDrawsAboutItsCentre)
{
    HUDBuyGemScreen screen;
    HUDGemPack& pack = *screen.mPacks[0];
    pack.mScale = 0.9f;
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { pack.Draw(g); });
    ASSERT_FALSE(quads.empty());
    const RecordedQuad& button = quads.front();
    EXPECT_NEAR(button.x[0], PackX(0) + 15.0f, 1e-3f);
    EXPECT_NEAR(button.y[0], kPackY + 10.0f, 1e-3f);
    EXPECT_NEAR(button.x[1] - button.x[0], 270.0f, 1e-3f);
    EXPECT_NEAR(button.CentreX(), float(PackCentreX(0)), 1e-3f);
    // The transform is cleared after the pack.
    const std::vector<RecordedQuad> after = Record([&](render::Graphics* g) { screen.DrawImages(g); });
    ASSERT_FALSE(after.empty());
    EXPECT_NEAR(after.front().x[1] - after.front().x[0], 1024.0f, 1e-3f);
}

TEST_F(GemShopTest, StoreProductsGiveTheirIdAndTexts)
{
    auto* provider = new hvtest::FakeProvider;
    purchase::PurchaseSystemTestAccess::SetProvider(provider);
    purchase::Product* product = purchase::PurchaseSystemTestAccess::AddProduct(L"buy_150_cr", 0);
    product->price = L"$2";
    HUDBuyGemScreen screen;
    HUDGemPack& pack = *screen.mPacks[1];
    EXPECT_EQ(pack.mProduct, product);
    EXPECT_EQ(pack.GetPriceText(), L"$2");
    EXPECT_EQ(screen.Click(PackCentreX(1), kPackCentreY), L"buy_150_cr");
    EXPECT_EQ(screen.Click(PackCentreX(0), kPackCentreY), L"");
    EXPECT_EQ(Heard(L"simple"), 0);

    const auto glyphs = [&] {
        return GlyphsOf(Record([&](render::Graphics* g) { pack.Draw(g); }), GameWindow::kFontNormal);
    };
    EXPECT_EQ(glyphs(), std::wstring(L"Buyfor$2").size());
    product->busy = true;
    EXPECT_EQ(glyphs(), std::wstring(L"Wait").size());
    // Without a product the price is empty.
    EXPECT_EQ(GlyphsOf(Record([&](render::Graphics* g) { screen.mPacks[0]->Draw(g); }), GameWindow::kFontNormal),
              std::wstring(L"Buyfor").size());
}

TEST_F(GemShopTest, PackTextsAreDrawnInTheirOwnFontAfterALargeBaseText)
{
    HUDBuyGemScreen screen;
    // The caption slot takes the large font; the packs must not inherit it.
    screen.mTexts.erase(std::remove_if(screen.mTexts.begin(), screen.mTexts.end(),
                                       [](const auto& t) { return t.first == L"caption_gems"; }),
                        screen.mTexts.end());
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { screen.Draw(g); });
    EXPECT_EQ(GlyphsOf(quads, GameWindow::kFontLarge), std::wstring(L"Gemshop").size());
    EXPECT_EQ(GlyphsOf(quads, GameWindow::kFontNormal), 5 * std::wstring(L"Buyfor").size());
}

TEST_F(GemShopTest, ShowGemShopStoresTheTargetAndPushesTheScreen)
{
    HUD* hud = Map()->mHud;
    ASSERT_NE(hud, nullptr);
    hud->ShowGemShop(L"shop1");
    EXPECT_EQ(NQMap::sGemShopReturnTarget, L"shop1");
    EXPECT_EQ(Map()->mScreenState, screen::kGemShop);
    ASSERT_FALSE(hud->mPendingWindows.empty());
    EXPECT_NE(dynamic_cast<HUDBuyGemScreen*>(hud->mPendingWindows.back()), nullptr);
}
} // namespace
} // namespace gametest
