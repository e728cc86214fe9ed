// The road mask on the Direct3D 9 stand-in, read back pixel for pixel: the
// brush stamped along a straight link, and stamped again by the next level
// frame after the device was reset.
#include "DX9/RenderFixture.h"
#include "DataRootFixture.h"
#include "FakeGameServices.h"

#include "Core/Base/SingletoneRegistry.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/DX9/TextureDX9.h"
#include "Core/Render/RenderTarget.h"
#include "Framework/GameApplication.h"
#include "Game/NQLink.h"
#include "Game/NQMap.h"
#include "Game/NQPoint.h"
#include "Game/NQResources.h"
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
        map->mPoints = new std::vector<NQPoint*>;
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
        map->mRoadMark = brush.get();
        map->ResetViewport();
        ASSERT_NE(map->mRoadMask, nullptr);
    }

    std::vector<uint32_t> Mask()
    {
        auto* texture = static_cast<render::TextureDX9*>(map->mRoadMask->GetTexture());
        std::vector<uint32_t> pixels;
        UINT w = 0, h = 0;
        EXPECT_TRUE(texture && d3d9test::ReadPixels(texture->GetTexture(), pixels, w, h));
        EXPECT_EQ(w, UINT(kWidth));
        EXPECT_EQ(h, UINT(kHeight));
        return pixels;
    }

    // Stamps at 100, 125, 150 and 175, nothing between them nor at the end.
    void ExpectStamps(const std::vector<uint32_t>& mask)
    {
        ASSERT_EQ(mask.size(), size_t(kWidth) * size_t(kHeight));
        auto alpha = [&](float x) { return At(mask, int(x), int(kRoadY), kWidth) >> 24; };
        for (int i = 0; i < 4; ++i)
        {
            const float x = kRoadStart + kSpacing * float(i);
            EXPECT_EQ(alpha(x), 0xFFu) << x;
            EXPECT_EQ(alpha(x + kSpacing / 2.0f), 0u) << x + kSpacing / 2.0f;
        }
        EXPECT_EQ(alpha(kRoadEnd), 0u);
        EXPECT_EQ(alpha(kRoadEnd - 1.0f), 0u);
        EXPECT_EQ(At(mask, int(kRoadStart), int(kRoadY) + kBrush, kWidth) >> 24, 0u);
    }

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
} // namespace
