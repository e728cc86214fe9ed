#include "CallLog.h"
#include "FrontEndFixture.h"

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Framework/Layer/ImageLayer.h"
#include "Framework/Layer/TextLayer.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/NQFrameEntry.h"
#include "Game/GameWindow.h"
#include "Game/Hud/HUDButtonOver.h"
#include "Game/Hud/HUDLayerButton.h"

#include <gtest/gtest.h>

#include <memory>

namespace gametest
{
namespace
{
std::vector<FixtureLayer> OverLayers()
{
    return {
        {"button/b1_ok/pos", 100, 100, 100, 40, 0, 0, false},
        {"button/b1_ok/label", 110, 105, 80, 30, 0, 1, false},
        {"button/plain/pos", 300, 100, 60, 30, 0, 2, false},
        {"button/nopos/label", 0, 0, 10, 10, 0, 3, false},
        {"button/b9_x/pos", 500, 100, 60, 30, 0, 4, false},
        {"button/b1_normal", 0, 0, 100, 40, 0xFF00FF00u, 5},
        {"button/b1_over", 0, 0, 100, 40, 0xFFFF0000u, 6},
        {"button/plain_normal", 0, 0, 60, 30, 0xFF0000FFu, 7},
        {"button/plain_over", 0, 0, 60, 30, 0xFF00FFFFu, 8},
        {"button/b9_over", 0, 0, 60, 30, 0xFFFFFF00u, 9},
    };
}

class HudButtonTest : public FrontEndTest
{
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        WriteLayout("ui/over", OverLayers());
        container.reset(file::FileManager::Instance()->OpenImageContainer(L"ui/over"));
        ASSERT_NE(container, nullptr);
    }
    void TearDown() override
    {
        container.reset();
        FrontEndTest::TearDown();
    }
    std::unique_ptr<file::ImageContainer> container;
};

TEST(HudButtonOverSplit, FolderNamesSplitIntoPrefixAndName)
{
    struct Case
    {
        std::wstring folder, prefix, name;
    };
    const Case cases[] = {
        {L"b1_ok", L"b1", L"ok"},       {L"b2_play", L"b2", L"play"}, {L"plain", L"plain", L""},
        {L"b1__ok", L"b1", L"ok"},      {L" b1 _ ok ", L"b1", L"ok"}, {L"b_01_x", L"b", L"01"},
    };
    for (const Case& c : cases)
    {
        std::wstring prefix;
        std::wstring name;
        HUDButtonOver::SplitFolder(c.folder, prefix, name);
        EXPECT_EQ(prefix, c.prefix) << Narrow(c.folder);
        EXPECT_EQ(name, c.name) << Narrow(c.folder);
    }
}

TEST_F(HudButtonTest, AnOverButtonTakesItsPlaceLabelAndSharedPictures)
{
    HUDButtonOver ok(container.get(), L"b1_ok");
    EXPECT_EQ(ok.mName, L"ok");
    EXPECT_EQ(ok.mVisible, 1);
    EXPECT_EQ(ok.mHasLabel, 1);
    EXPECT_EQ(ok.mLabelRect[0], 110.0f);
    EXPECT_EQ(ok.mNormal->mName, L"b1_normal");
    EXPECT_EQ(ok.mOver->mName, L"b1_over");
    EXPECT_EQ(ok.mNormal->mRect[0], 100.0f);
    EXPECT_EQ(ok.mOver->mRect[2], 100.0f);
    EXPECT_NE(ok.mNormal->mPicture, nullptr);
    EXPECT_EQ(ok.mFont.Get(), Board()->GetFont(GameWindow::kFontMain32_1).Get());

    HUDButtonOver plain(container.get(), L"plain");
    EXPECT_EQ(plain.mName, L"");
    EXPECT_EQ(plain.mHasLabel, 0);
    EXPECT_EQ(plain.mNormal->mName, L"plain_normal");
    EXPECT_EQ(plain.mOver->mName, L"plain_over");
    EXPECT_NE(plain.mOver->mPicture, nullptr);
}

TEST_F(HudButtonTest, ContainsIncludesEdgesFollowsTheOffsetAndNeedsVisibility)
{
    HUDButtonOver ok(container.get(), L"b1_ok");
    struct Case
    {
        int x, y;
        float offset;
        bool inside;
    };
    const Case cases[] = {
        {100, 100, 0, true}, {200, 140, 0, true},  {99, 120, 0, false},  {201, 120, 0, false},
        {150, 141, 0, false}, {220, 120, 120, true}, {320, 140, 120, true}, {150, 120, 120, false},
    };
    for (const Case& c : cases)
    {
        ok.mOffsetX = c.offset;
        EXPECT_EQ(ok.Contains(c.x, c.y), c.inside) << c.x << "," << c.y << " offset " << c.offset;
    }
    ok.mOffsetX = 0.0f;
    ok.mVisible = 0;
    EXPECT_FALSE(ok.Contains(150, 120));
    EXPECT_TRUE(Record([&](render::Graphics* g) { ok.Draw(g); }).empty());
}

TEST_F(HudButtonTest, ThePressedPictureStaysUntilTheRelease)
{
    HUDButtonOver ok(container.get(), L"b1_ok");
    ok.mLabel = L"ok";
    const render::Texture* normal = TextureOf(ok.mNormal->mPicture);
    const render::Texture* over = TextureOf(ok.mOver->mPicture);
    auto pictureDrawn = [&] { return Record([&](render::Graphics* g) { ok.Draw(g); }).front().texture; };

    EXPECT_EQ(pictureDrawn(), normal);
    ok.OnMouseDown(150, 120);
    EXPECT_EQ(ok.mPressed, 1);
    EXPECT_EQ(pictureDrawn(), over);
    ok.OnMouseMove(10, 10);
    EXPECT_EQ(ok.mHovered, 0);
    EXPECT_EQ(pictureDrawn(), over);
    ok.OnMouseUp(10, 10);
    EXPECT_EQ(pictureDrawn(), normal);
    // A press elsewhere does not press it.
    ok.OnMouseDown(10, 10);
    EXPECT_EQ(ok.mPressed, 0);
}

TEST_F(HudButtonTest, OverButtonDrawsCentredThenItsLabelInItsFont)
{
    HUDButtonOver ok(container.get(), L"b1_ok");
    ok.mLabel = L"ok";
    ok.mOffsetX = 10.0f;
    ok.mFont = Board()->GetFont(GameWindow::kFontLarge);
    const std::vector<RecordedQuad> quads = Record([&](render::Graphics* g) { ok.Draw(g); });
    ASSERT_EQ(quads.size(), 3u);
    EXPECT_FLOAT_EQ(quads[0].CentreX(), 160.0f);
    EXPECT_FLOAT_EQ(quads[0].CentreY(), 120.0f);
    EXPECT_EQ(quads[1].texture, FontPage(GameWindow::kFontLarge));
    EXPECT_NEAR((quads[1].CentreX() + quads[2].CentreX()) / 2.0f, 160.0f, 1.5f);
    // Without a label layer the label is not drawn.
    HUDButtonOver plain(container.get(), L"plain");
    plain.mLabel = L"never";
    EXPECT_EQ(Record([&](render::Graphics* g) { plain.Draw(g); }).size(), 1u);
}

TEST_F(HudButtonTest, MissingLayersLeaveAnInvisibleOrPicturelessButton)
{
    HUDButtonOver nopos(container.get(), L"nopos");
    EXPECT_EQ(nopos.mVisible, 0);
    EXPECT_EQ(nopos.mNormal->mRect[2], 0.0f);
    EXPECT_FALSE(nopos.Contains(0, 0));
    EXPECT_TRUE(Record([&](render::Graphics* g) { nopos.Draw(g); }).empty());

    // "b9_normal" is missing: still hit, its normal state draws no picture.
    HUDButtonOver b9(container.get(), L"b9_x");
    EXPECT_EQ(b9.mNormal->mPicture, nullptr);
    EXPECT_NE(b9.mOver->mPicture, nullptr);
    EXPECT_TRUE(b9.Contains(520, 110));
    EXPECT_TRUE(Record([&](render::Graphics* g) { b9.Draw(g); }).empty());
    b9.OnMouseDown(520, 110);
    EXPECT_EQ(Record([&](render::Graphics* g) { b9.Draw(g); }).size(), 1u);
}

TEST_F(HudButtonTest, HoverInAlternateFramesKeepsBothFamiliesWithinBounds)
{
    HUDButtonOver ok(container.get(), L"b1_ok");
    std::unique_ptr<NQFrameEntry> lower(CreateFrameEntryFromContainer(container.get(), L"button/b1_normal"));
    std::unique_ptr<NQFrameEntry> upper(CreateFrameEntryFromContainer(container.get(), L"button/b1_over"));
    HUDLayerButton layer(lower.get(), upper.get(), L"skip");
    layer.SetPosition(150.0f, 120.0f, 0.0f);
    for (int frame = 0; frame < 300; ++frame)
    {
        const bool on = frame % 2 == 0;
        ok.OnMouseMove(on ? 150 : 0, on ? 120 : 0);
        layer.OnMouseMove(on ? 150 : 0, on ? 120 : 0);
        const float dt = frame % 5 ? 0.03f : 0.4f;
        ok.Update(dt);
        layer.Update(dt);
        EXPECT_GE(ok.mScale, 1.0f);
        EXPECT_LE(ok.mScale, 1.1f);
        EXPECT_GE(layer.mButtonScale, 1.0f);
        EXPECT_LE(layer.mButtonScale, 1.1f);
        EXPECT_EQ(layer.mScale.x, layer.mButtonScale);
    }
    // Growing for good: the over button at 0.5 a second, the layer button at 1.
    ok.OnMouseMove(150, 120);
    layer.OnMouseMove(150, 120);
    ok.mScale = 1.0f;
    layer.mButtonScale = 1.0f;
    ok.Update(0.1f);
    layer.Update(0.05f);
    EXPECT_FLOAT_EQ(ok.mScale, 1.05f);
    EXPECT_FLOAT_EQ(layer.mButtonScale, 1.05f);
}

TEST_F(HudButtonTest, ALayerButtonExcludesItsEdgesAndHidesItsHits)
{
    std::unique_ptr<NQFrameEntry> lower(CreateFrameEntryFromContainer(container.get(), L"button/b1_normal"));
    std::unique_ptr<NQFrameEntry> upper(CreateFrameEntryFromContainer(container.get(), L"button/plain_over"));
    HUDLayerButton button(lower.get(), upper.get(), L"skip");
    button.SetPosition(150.0f, 120.0f, 0.0f);
    // The lower picture, 100 x 40, centred: 100 .. 200 by 100 .. 140.
    struct Case
    {
        int x, y;
        bool hit;
    };
    for (const Case& c : {Case{150, 120, true}, Case{101, 101, true}, Case{199, 139, true}, Case{100, 120, false},
                          Case{200, 120, false}, Case{150, 100, false}, Case{150, 140, false}})
        EXPECT_EQ(button.HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
    button.mVisible = false;
    EXPECT_FALSE(button.HitTest(150, 120));

    // Lower picture, upper picture, label, in that order, each centred.
    ASSERT_EQ(button.mLowerLayer->mPosition.x, -50.0f);
    EXPECT_EQ(button.mUpperLayer->mPosition.x, -30.0f);
    EXPECT_NE(button.mLabelLayer, nullptr);
    EXPECT_EQ(button.mLabelLayer->GetText(), L"skip");
    EXPECT_TRUE(button.mLabelLayer->GetFont());
}
} // namespace
} // namespace gametest
