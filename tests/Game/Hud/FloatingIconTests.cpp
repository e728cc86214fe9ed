#include "FrontEndFixture.h"

#include "Core/Render/Graphics.h"
#include "Game/Data/NQResources.h"
#include "Game/GameWindow.h"
#include "Game/Hud/NQFloatingIcons.h"

#include <gtest/gtest.h>

namespace gametest
{
namespace
{
class FloatingIconTest : public FrontEndTest
{
protected:
    // The level's interface parts: group "ui" becomes the set "nq/ui".
    void PreloadUiParts()
    {
        WriteLayout("nq/data/ui_parts",
                    {{"ui/immune", 0, 0, 20, 20, 0xFFFF0000u}, {"ui/money", 0, 0, 16, 16, 0xFFFFFF00u}});
        NQResources::Instance()->PreloadSpriteSets(L"nq/data/ui_parts");
    }
    std::vector<RecordedQuad> Draw(NQFloatingIcons& icons)
    {
        return Record([&](render::Graphics* g) {
            g->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
            icons.Draw(g);
        });
    }
};

TEST_F(FloatingIconTest, AnIconLivesThreeQuarterFramesOfAQuarterSecond)
{
    NQFloatingIcons icons;
    icons.Spawn(100.0f, 100.0f, 5);
    icons.Update(0.25f);
    EXPECT_EQ(icons.mIcons.size(), 1u);
    icons.Update(0.25f);
    EXPECT_EQ(icons.mIcons.size(), 1u);
    icons.Update(0.25f);
    EXPECT_TRUE(icons.mIcons.empty());
}

TEST_F(FloatingIconTest, ItRisesFifteenUnitsASecondAndFadesOverItsLastQuarterSecond)
{
    NQFloatingIcons icons;
    NQFloatingIcon* icon = icons.Spawn(100.0f, 200.0f, 5);
    icon->text = L"a";
    icons.Update(0.2f);
    EXPECT_FLOAT_EQ(icon->y, 197.0f);
    EXPECT_FLOAT_EQ(icon->x, 100.0f);

    struct Case
    {
        float age;
        float alpha;
    };
    for (const Case& c : {Case{0.5f, 1.0f}, Case{0.6f, 0.6f}, Case{0.7f, 0.2f}})
    {
        icon->age = c.age;
        const std::vector<RecordedQuad> quads = Draw(icons);
        ASSERT_EQ(quads.size(), 1u);
        EXPECT_NEAR(quads[0].Alpha(), c.alpha, 0.01f) << c.age;
    }
    // The colour goes back to white afterwards.
    const std::vector<RecordedQuad> after = Record([&](render::Graphics* g) {
        icons.Draw(g);
        g->DrawText(L"b");
    });
    ASSERT_EQ(after.size(), 2u);
    EXPECT_NEAR(after[1].Alpha(), 1.0f, 0.01f);
}

TEST_F(FloatingIconTest, ManyIconsKeepTheirOrderAndGoIndependently)
{
    NQFloatingIcons icons;
    for (int i = 0; i < 20; ++i)
    {
        NQFloatingIcon* icon = icons.Spawn(float(i), 0.0f, 5);
        icon->text = std::to_wstring(i);
        // Odd ones are near their end.
        if (i % 2)
            icon->age = 0.7f;
    }
    icons.Update(0.1f);
    ASSERT_EQ(icons.mIcons.size(), 10u);
    for (size_t i = 0; i < icons.mIcons.size(); ++i)
        EXPECT_EQ(icons.mIcons[i]->text, std::to_wstring(2 * i));
}

TEST_F(FloatingIconTest, WithoutTheUiSetTheTextStillDraws)
{
    NQFloatingIcons icons;
    NQFloatingIcon* icon = icons.Spawn(100.0f, 100.0f, NQFloatingIcons::kCoin);
    EXPECT_EQ(icon->picture, nullptr);
    icon->text = L"+ 25";
    const std::vector<RecordedQuad> quads = Draw(icons);
    ASSERT_EQ(quads.size(), 3u); // "+", "2", "5"
    EXPECT_EQ(quads[0].texture, FontPage(GameWindow::kFontNormal));
}

TEST_F(FloatingIconTest, PicturesOfTheUiSetDrawCentredWithTheTextBeside)
{
    PreloadUiParts();
    NQFloatingIcons icons;
    EXPECT_NE(icons.mKindPictures[NQFloatingIcons::kImmune], nullptr);
    EXPECT_NE(icons.mKindPictures[NQFloatingIcons::kCoin], nullptr);
    NQFloatingIcon* coin = icons.Spawn(100.0f, 100.0f, NQFloatingIcons::kCoin);
    coin->text = L"1";
    NQFloatingIcon* immune = icons.Spawn(300.0f, 100.0f, NQFloatingIcons::kImmune);
    NQFloatingIcon* bare = icons.Spawn(300.0f, 100.0f, 1);
    EXPECT_EQ(bare->picture, nullptr);
    const std::vector<RecordedQuad> quads = Draw(icons);
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_EQ(quads[0].texture, TextureOf(coin->picture));
    EXPECT_FLOAT_EQ(quads[0].CentreX(), 100.0f);
    EXPECT_FLOAT_EQ(quads[0].CentreY(), 100.0f);
    EXPECT_FLOAT_EQ(quads[0].Width(), 16.0f);
    // The glyph: left-aligned at x + 14, scaled by 0.75.
    EXPECT_EQ(quads[1].texture, FontPage(GameWindow::kFontNormal));
    EXPECT_NEAR(quads[1].x[0], 114.0f, 1.0f);
    EXPECT_NEAR(quads[1].Width(), 6.0f, 0.01f);
    EXPECT_NEAR(quads[1].CentreY(), 100.0f, 3.0f);
    EXPECT_EQ(quads[2].texture, TextureOf(immune->picture));
}
} // namespace
} // namespace gametest
