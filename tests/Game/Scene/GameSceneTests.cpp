// The game's drawing pieces on the Direct3D 9 stand-in, pixel for pixel, and
// the frame saved as a PNG beside the test program.
#include "DX9/RenderFixture.h"
#include "DataRootFixture.h"
#include "DeviceGame.h"
#include "FakeGameServices.h"
#include "PictureFixtures.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Framework/GameApplication.h"
#include "Game/Data/AttributedText.h"
#include "Game/Data/ContainerImages.h"
#include "Game/Data/NQButtonFrame.h"
#include "Game/Data/NQResources.h"
#include "Game/Units/NQAnimatedSprite.h"

#include <fstream>
#include <memory>
#include <string>

namespace
{
constexpr int kWidth = 320;
constexpr int kHeight = 200;
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kGround = 0xFF202040u;
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kGold = 0xFFFFD700u;
constexpr uint32_t kFrameColours[3] = {0xFF0000FFu, 0xFF00FFFFu, 0xFFFF00FFu};

// The application the pictures load through, drawing with the fixture's
// renderer, which it does not own.
class SceneApplication : public framework::GameApplication
{
public:
    explicit SceneApplication(render::Render* render) { mRender = render; }
    HVResultEnum InitGame() override { return HV_OK; }
    HVResultEnum UpdateGame(float) override { return HV_OK; }
};

class GameSceneTest : public rendertest::RenderDX9Test
{
protected:
    void TearDown() override
    {
        hud.reset();
        price.reset();
        sprite.reset();
        buttons[0].reset();
        buttons[1].reset();
        coin.reset();
        NQResources::Instance()->DeleteSpriteSets();
        if (application)
            application->mRender = nullptr;
        base::testing::TeardownSingletonsNow();
        services.reset();
        data.reset();
        RenderDX9Test::TearDown();
    }

    std::unique_ptr<gametest::DataRoot> data;
    std::unique_ptr<gametest::FakeGameServices> services;
    SceneApplication* application = nullptr;
    std::unique_ptr<file::ImageContainer> hud;
    std::unique_ptr<NQButtonFrame> buttons[2];
    std::unique_ptr<NQAnimatedSprite> sprite;
    std::unique_ptr<AttributedText> price;
    std::unique_ptr<render::Image> coin;
};

TEST_F(GameSceneTest, ButtonsASpriteAndAPriceLookRightAndAreSaved)
{
    ASSERT_EQ(Start(true, kWidth, kHeight), HV_OK);
    data = std::make_unique<gametest::DataRoot>();
    services = std::make_unique<gametest::FakeGameServices>();
    services->view = {0, 0, float(kWidth), float(kHeight)};
    application = new SceneApplication(render.get());

    data->WriteLayeredImage("nq/ui/hud", {{"buttons/play", 20, 20, 60, 30, kRed}, {"buttons/shop", 100, 20, 60, 30, kGreen}});
    std::vector<gametest::FixtureLayer> spark;
    for (int i = 0; i < 10; ++i)
        spark.push_back({"r" + std::to_string(i), 0, 0, 24, 24, i < 3 ? kFrameColours[i] : 0xFF808080u});
    spark.push_back({"s_point/a", 12, 12, 1, 1});
    data->WriteLayeredImage("nq/fx/spark", spark);
    data->WriteFixtureFont("nq/data/fonts/fixture");
    data->Write("ui/context_money.png", gametest::SolidPng(16, 14, kGold));

    hud.reset(file::FileManager::Instance()->OpenImageContainer(L"nq/ui/hud"));
    ASSERT_NE(hud, nullptr);
    const wchar_t* const names[2] = {L"buttons/play", L"buttons/shop"};
    for (int i = 0; i < 2; ++i)
    {
        buttons[i] = std::make_unique<NQButtonFrame>();
        std::unique_ptr<NQFrameEntry> entry(CreateFrameEntryFromContainer(hud.get(), names[i]));
        *static_cast<NQFrameEntry*>(buttons[i].get()) = *entry;
        buttons[i]->mPicture = entry->mPicture;
        buttons[i]->mOwnsPicture = 1;
        entry->mOwnsPicture = 0;
        ASSERT_NE(buttons[i]->mPicture, nullptr);
    }
    // The shop button is hovered: 10 % larger.
    buttons[1]->HitTest(130, 35);
    buttons[1]->Update(1.0f);

    // Ten frames at 20 per second: 0.12 s shows the third, anchored on its centre.
    sprite = std::make_unique<NQAnimatedSprite>(L"nq/fx/spark");
    sprite->mX = 260;
    sprite->mY = 60;
    sprite->Update(0.12f);

    coin.reset(application->LoadImage(L"ui/context_money.png", nullptr));
    ASSERT_NE(coin, nullptr);
    price = std::make_unique<AttributedText>();
    price->mFont = gametest::LoadFixtureFont(L"nq/data/fonts/fixture", render.get());
    ASSERT_TRUE(price->mFont);
    price->AddInlineImage(L'$', coin.get());
    price->SetText(L"$50");

    ASSERT_EQ(Frame([&] {
                  render::Graphics g(render.get());
                  const float ground[4] = {0x20 / 255.0f, 0x20 / 255.0f, 0x40 / 255.0f, 1.0f};
                  EXPECT_EQ(g.Clear(1, ground, 1.0f, 0), HV_OK);
                  for (auto& button : buttons)
                      button->Draw(&g, 1.0f);
                  g.SetColor(1, 1, 1, 1);
                  sprite->Draw(&g);
                  math::Transform2D at;
                  at.Translate(160, 150);
                  price->Draw(&g, at);
              }),
              HV_OK);
    const auto pixels = BackBuffer();
    auto at = [&](int x, int y) { return At(pixels, x, y, kWidth) | kOpaque; };

    // The play button on its rectangle, the hovered shop button beyond its own.
    EXPECT_EQ(at(50, 35), kRed);
    EXPECT_EQ(at(21, 21), kRed);
    EXPECT_EQ(at(18, 35), kGround);
    EXPECT_EQ(at(130, 35), kGreen);
    EXPECT_EQ(at(98, 35), kGreen);
    EXPECT_EQ(at(130, 18), kGreen);
    EXPECT_EQ(at(95, 35), kGround);
    // The sprite: its third frame, its anchor on (260, 60).
    EXPECT_EQ(at(260, 60), kFrameColours[2]);
    EXPECT_EQ(at(249, 49), kFrameColours[2]);
    EXPECT_EQ(at(246, 60), kGround);
    // The price row is centred on (160, 150): the coin first, then "50".
    const float row = price->GetWidth();
    const int coinLeft = int(160 - row / 2);
    EXPECT_EQ(at(coinLeft + 8, 150), kGold);
    EXPECT_EQ(at(coinLeft + 8, 144), kGold);
    EXPECT_EQ(at(coinLeft + 8, 142), kGround);
    EXPECT_EQ(at(coinLeft - 2, 150), kGround);
    // The digits' glyph boxes are white.
    EXPECT_EQ(at(coinLeft + 16 + 4, 150), 0xFFFFFFFFu);
    EXPECT_EQ(at(coinLeft + 16 + 14, 150), 0xFFFFFFFFu);

    std::vector<uint32_t> opaque(pixels);
    for (uint32_t& p : opaque)
        p |= kOpaque;
    const auto png = fixtures::MakePng(kWidth, kHeight, opaque);
    std::ofstream(gametest::ProgramFolder() + "/game_scene.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}
} // namespace
