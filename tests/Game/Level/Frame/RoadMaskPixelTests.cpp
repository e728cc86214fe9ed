// The road mask on the Direct3D 9 stand-in, read back pixel for pixel: the
// brush stamped along a straight link, and stamped again by the next level
// frame after the device was reset, by a lost device or by the game's switch
// between window and full screen.
#include "DX9/RenderFixture.h"
#include "DataRootFixture.h"
#include "FakeGameServices.h"
#include "GameFixture.h"
#include "LevelFixture.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderTarget.h"
#include "Framework/GameApplication.h"
#include "Game/Data/NQResources.h"
#include "Game/Game.h"
#include "Game/Level/NQMap.h"
#include "Game/Roads/NQLink.h"
#include "Game/Roads/NQPoint.h"
#include "Platform/D3D9/TestSupport.h"

#include <memory>
#include <vector>

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kBrush = 4;
constexpr float kRoadY = 100.0f;
constexpr float kRoadStart = 100.0f;
constexpr float kRoadEnd = 200.0f;
constexpr float kSpacing = 25.0f;

// The straight link from (100, 100) to (200, 100), appended to the level.
void AddStraightLink(NQMap* map)
{
    if (!map->mPoints)
        map->mPoints = new std::vector<NQPoint*>;
    if (!map->mLinks)
        map->mLinks = new std::vector<NQLink*>;
    const float xs[2] = {kRoadStart, kRoadEnd};
    for (int i = 0; i < 2; ++i)
    {
        auto* point = new NQPoint;
        point->mId = i + 1;
        point->mX = xs[i];
        point->mY = kRoadY;
        map->mPoints->push_back(point);
    }
    auto* link = new NQLink;
    link->mSid = 1;
    link->mEid = 2;
    // The anchor half-way keeps the curve's speed even.
    link->mAnchorX = (kRoadStart + kRoadEnd) / 2.0f;
    link->mAnchorY = kRoadY;
    map->mLinks->push_back(link);
}

// The mask's pixels, ARGB top row first; its width in `width`.
std::vector<uint32_t> MaskPixels(const NQMap* map, UINT& width)
{
    std::vector<uint32_t> pixels;
    UINT height = 0;
    width = 0;
    auto* texture = map->mRoadMask ? static_cast<render::TextureDX9*>(map->mRoadMask->GetTexture()) : nullptr;
    EXPECT_TRUE(texture && d3d9test::ReadPixels(texture->GetTexture(), pixels, width, height));
    return pixels;
}

// Stamps at 100, 125, 150 and 175, nothing between them nor at the end; the
// mask's x 0 is the viewport's left edge.
void ExpectStampsOn(const std::vector<uint32_t>& mask, int width, float viewportX)
{
    ASSERT_GT(width, 0);
    ASSERT_EQ(mask.size() % size_t(width), 0u);
    auto alpha = [&](float x) { return mask[size_t(kRoadY) * size_t(width) + size_t(x - viewportX)] >> 24; };
    for (int i = 0; i < 4; ++i)
    {
        const float x = kRoadStart + kSpacing * float(i);
        EXPECT_EQ(alpha(x), 0xFFu) << x;
        EXPECT_EQ(alpha(x + kSpacing / 2.0f), 0u) << x + kSpacing / 2.0f;
    }
    EXPECT_EQ(alpha(kRoadEnd), 0u);
    EXPECT_EQ(alpha(kRoadEnd - 1.0f), 0u);
    EXPECT_EQ(mask[size_t(kRoadY + kBrush) * size_t(width) + size_t(kRoadStart - viewportX)] >> 24, 0u);
}

class MaskApplication : public framework::GameApplication
{
public:
    explicit MaskApplication(render::Render* render)
    {
        mRender = render;
        mLogicalWidth = kWidth;
        mLogicalHeight = kHeight;
        mMaxLogicalWidth = kWidth;
        mViewportWidth = float(kWidth);
        mViewportHeight = float(kHeight);
    }
    HVResultEnum InitGame() override { return HV_OK; }
    HVResultEnum UpdateGame(float) override { return HV_OK; }
};

class RoadMaskPixelTest : public rendertest::RenderDX9Test
{
protected:
    void TearDown() override
    {
        if (map)
            map->mRoadMark = nullptr;
        delete map;
        map = nullptr;
        brush.reset();
        NQResources::Instance()->DeleteSpriteSets();
        if (application)
            application->mRender = nullptr;
        base::testing::TeardownSingletonsNow();
        services.reset();
        data.reset();
        RenderDX9Test::TearDown();
    }

    // A level object with one straight link from (100, 100) to (200, 100)
    // and a white 4 x 4 brush; its mask stamped as at level load.
    void MakeLevel()
    {
        ASSERT_EQ(Start(true, kWidth, kHeight), HV_OK);
        data = std::make_unique<gametest::DataRoot>();
        services = std::make_unique<gametest::FakeGameServices>();
        services->view = {0, 0, float(kWidth), float(kHeight)};
        application = new MaskApplication(render.get());
        data->Write("brush.png", gametest::SolidPng(kBrush, kBrush, 0xFFFFFFFFu));
        brush.reset(application->LoadImage(L"brush.png", nullptr));
        ASSERT_NE(brush, nullptr);

        map = new NQMap;
        AddStraightLink(map);
        map->mRoadMark = brush.get();
        map->ResetViewport();
        ASSERT_NE(map->mRoadMask, nullptr);
    }

    std::vector<uint32_t> Mask()
    {
        UINT w = 0;
        std::vector<uint32_t> pixels = MaskPixels(map, w);
        EXPECT_EQ(w, UINT(kWidth));
        EXPECT_EQ(pixels.size(), size_t(kWidth) * size_t(kHeight));
        return pixels;
    }

    void ExpectStamps(const std::vector<uint32_t>& mask) { ExpectStampsOn(mask, kWidth, 0.0f); }

    // One level frame: a non-world screen state draws only the closing passes.
    void DrawLevelFrame()
    {
        map->mResourcesLoaded = true;
        map->mScreenState = screen::kRestarting;
        ASSERT_EQ(Frame([&] {
                      render::Graphics g(render.get());
                      map->Draw(&g);
                  }),
                  HV_OK);
        map->mResourcesLoaded = false;
    }

    std::unique_ptr<gametest::DataRoot> data;
    std::unique_ptr<gametest::FakeGameServices> services;
    MaskApplication* application = nullptr;
    std::unique_ptr<render::Image> brush;
    NQMap* map = nullptr;
};

TEST_F(RoadMaskPixelTest, StampsTwentyFiveApartAndNoneAtTheEnd)
{
    MakeLevel();
    ExpectStamps(Mask());
}

TEST_F(RoadMaskPixelTest, StampedAgainAfterADeviceReset)
{
    MakeLevel();
    const uint32_t resets = render->GetResetCount();
    d3d9test::LoseDevice(Device());
    d3d9test::RegainFocus(Device());
    EXPECT_FALSE(render->CheckDeviceReady());
    ASSERT_EQ(render->GetResetCount(), resets + 1);
    // The reset made the target anew, without its stamps.
    const std::vector<uint32_t> lost = Mask();
    ASSERT_FALSE(lost.empty());
    EXPECT_EQ(At(lost, int(kRoadStart), int(kRoadY), kWidth) >> 24, 0u);
    DrawLevelFrame();
    EXPECT_EQ(map->mRoadMaskResetCount, resets + 1);
    ExpectStamps(Mask());
}
// The game's own switch between window and full screen resets the device;
// the next frame of the game draws the level, which stamps the mask again.
using ScreenModeMaskTest = gametest::GameAppTest;

TEST_F(ScreenModeMaskTest, TheRoadMaskIsStampedAgainAfterAScreenModeSwitch)
{
    gametest::WriteGameContent(*run->data);
    run->data->Write("brush.png", gametest::SolidPng(kBrush, kBrush, 0xFFFFFFFFu));
    run->WriteProfiles(gametest::ProfilesXml(0, 0, "<fs v=\"false\"/>"));
    ASSERT_EQ(run->Start(), HV_OK);
    ASSERT_TRUE(run->game->IsWindowed());
    ASSERT_EQ(run->Frame(), HV_OK);
    NQMap* map = run->Map();
    ASSERT_NE(map, nullptr);
    // No level loaded yet: the road is the test's alone.
    ASSERT_TRUE(!map->mPoints || map->mPoints->empty());
    ASSERT_TRUE(!map->mLinks || map->mLinks->empty());
    std::unique_ptr<render::Image> brush(run->game->LoadImage(L"brush.png", nullptr));
    ASSERT_NE(brush, nullptr);
    AddStraightLink(map);
    map->mRoadMark = brush.get();
    map->ResetViewport();
    ASSERT_NE(map->mRoadMask, nullptr);
    UINT width = 0;
    const std::vector<uint32_t> stamped = MaskPixels(map, width);
    ExpectStampsOn(stamped, int(width), map->mViewportX);

    render::Render* render = run->game->mRender;
    const uint32_t resets = render->GetResetCount();
    ASSERT_EQ(run->game->SwitchScreenMode(), HV_OK);
    ASSERT_FALSE(run->game->IsWindowed()) << "the full screen fits the supplied display";
    EXPECT_EQ(render->GetResetCount(), resets + 1);
    // The reset made the target anew, without its stamps.
    const std::vector<uint32_t> lost = MaskPixels(map, width);
    ASSERT_FALSE(lost.empty());
    EXPECT_EQ(lost[size_t(kRoadY) * width + size_t(kRoadStart - map->mViewportX)] >> 24, 0u);

    ASSERT_EQ(run->Frame(), HV_OK);
    EXPECT_EQ(map->mRoadMaskResetCount, resets + 1);
    const std::vector<uint32_t> again = MaskPixels(map, width);
    ExpectStampsOn(again, int(width), map->mViewportX);
    map->mRoadMark = nullptr;
    brush.reset();
}
} // namespace
