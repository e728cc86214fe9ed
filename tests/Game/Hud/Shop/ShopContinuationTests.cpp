// The name input asked for by the main menu's "shop" continues to the shop.
#include "MenuScreensFixture.h"
#include "ShopFixture.h"

#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQProgress.h"
#include "Game/Hud/HUD.h"
#include "Game/Hud/HUDMainMenu.h"
#include "Game/Hud/HUDModalInput.h"
#include "Game/Hud/HUDShopWindow.h"
#include "Game/Level/NQMap.h"

#include <gtest/gtest.h>

namespace gametest
{
namespace
{
// The centre of the modal layout's "ok".
constexpr int kOkX = 500, kOkY = 340;

class ShopContinuationTest : public MenuScreensTest
{
protected:
    void SetUp() override
    {
        extraStrings = ShopStrings();
        MenuScreensTest::SetUp();
        WriteLayout("nq/shop", ShopLayers());
    }
};

TEST_F(ShopContinuationTest, ANameTypedAfterShopClosesTheMenuAndOpensTheShopFromAMenu)
{
    SetProfiles({}, "");
    Hud()->ShowMainMenu();
    Step();
    ASSERT_NE(TopAs<HUDMainMenu>(), nullptr);
    NQMap::sShopReturnTarget.clear();
    Tap(kShopX, kShopY);
    ASSERT_EQ(Map()->mScreenState, screen::kNewProfileName);
    EXPECT_EQ(Map()->mCurrentMenu, L"shop");
    ASSERT_NE(TopAs<HUDModalInput>(), nullptr);
    Hud()->OnChar('Z');
    Step();

    Tap(kOkX, kOkY);
    auto* shop = TopAs<HUDShopWindow>();
    ASSERT_NE(shop, nullptr);
    // The input and the main menu are gone; the shop alone is open.
    EXPECT_EQ(Hud()->mWindows.size(), 1u);
    EXPECT_EQ(Map()->mScreenState, screen::kShop);
    EXPECT_EQ(shop->mFromLevel, 0);
    EXPECT_EQ(shop->FindButton(L"return_ac")->mShown, 0);
    EXPECT_EQ(shop->FindButton(L"back_ac")->mShown, 1);
    EXPECT_EQ(NQMap::sShopReturnTarget, L"mmenu");
    EXPECT_FALSE(Map()->mProgress->GetCurrentName().empty());
}
} // namespace
} // namespace gametest
