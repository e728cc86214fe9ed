#include "RenderFixture.h"

#include "Core/Render/DX9/VertexBufferImplDX9.h"
#include "Platform/D3D9/TestSupport.h"

#include <chrono>

namespace rendertest
{
namespace
{
using RecoveryTest = RenderDX9Test;

constexpr uint32_t kBlack = 0xFF000000;
const std::vector<uint32_t> kTexels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};

class Recovery : public RenderDX9Test
{
protected:
    // A correct frame: a black clear and the 2x2 picture at (10, 10).
    void ExpectCorrectFrame()
    {
        d3d9test::ResetCounters(Device());
        ASSERT_EQ(Frame([&] {
                      ClearTo(kBlack);
                      ASSERT_EQ(DrawQuad(*render, state, render->GetTexturedMultShaderObject(), texture,
                                         {10, 10, 12, 12}),
                                HV_OK);
                  }),
                  HV_OK);
        const auto pixels = BackBuffer();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(At(pixels, 10 + i % 2, 10 + i / 2) | 0xFF000000, kTexels[size_t(i)]) << i;
        EXPECT_EQ(At(pixels, 20, 20) | 0xFF000000, kBlack);
        EXPECT_EQ(d3d9test::Counters(Device()).presents, 1u);
        EXPECT_EQ(d3d9test::Counters(Device()).drawCalls, 1u);
    }
    void Begin(bool windowed = true)
    {
        ASSERT_EQ(Start(windowed), HV_OK);
        texture = MakeTexture(2, 2, kTexels);
        ExpectCorrectFrame();
    }
    double Seconds(const std::function<void()>& run)
    {
        const auto start = std::chrono::steady_clock::now();
        run();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    render::TextureDX9* texture = nullptr;
};

TEST_F(Recovery, AFrameAbandonedAfterBeginIsFollowedByACorrectFrame)
{
    Begin();
    ASSERT_TRUE(render->CheckDeviceReady());
    ASSERT_EQ(render->BeginFrame(), HV_OK);
    ClearTo(0xFFFFFFFF);
    ASSERT_EQ(DrawQuad(*render, state, render->GetTexturedMultShaderObject(), texture, {0, 0, 32, 32}), HV_OK);
    // The frame gives up here.
    ASSERT_TRUE(render->CheckDeviceReady());
    ASSERT_EQ(render->BeginFrame(), HV_OK);
    uint32_t first = 0;
    std::memcpy(&first, render->GetCommandBuffer().GetData(), 4);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(render->GetCommandBuffer().GetPosition(), 4u);
    ASSERT_EQ(render->EndFrame(), HV_OK);
    ASSERT_EQ(render->Present(), HV_OK);
    ASSERT_EQ(render->ExecuteCommands(), HV_OK);
    ExpectCorrectFrame();
}

TEST_F(Recovery, AFailedPresentIsNotReplayedAgain)
{
    Begin();
    d3d9test::FailNextCalls("Present", 1, E_FAIL);
    EXPECT_EQ(Frame([&] { ClearTo(kBlack); }), HV_FAIL);
    EXPECT_EQ(CountLog(L"mDevice->Present failed\n"), 1);
    ExpectCorrectFrame();
}

TEST_F(Recovery, AFailedDrawEndsTheSceneSoTheNextBeginSucceeds)
{
    Begin();
    d3d9test::FailNextCalls("DrawIndexedPrimitive", 1, E_FAIL);
    EXPECT_EQ(Frame([&] {
                  ClearTo(kBlack);
                  ASSERT_EQ(DrawQuad(*render, state, render->GetTexturedMultShaderObject(), texture,
                                     {10, 10, 12, 12}),
                            HV_OK);
              }),
              HV_FAIL);
    ExpectCorrectFrame();
}

TEST_F(Recovery, InactiveFullScreenReleasesOnceSleepsAndResetsWhenActiveAgain)
{
    Begin(false);
    render::TextureDX9* target = MakeTarget(4, 8);
    render::TextureDX9* dynamic = new render::TextureDX9(render.get());
    textures.push_back(dynamic);
    ASSERT_EQ(dynamic->CreateDynamic(8, 4), HV_OK);
    d3d9test::LoseDevice(Device());
    window->mActive = false;
    const double seconds = Seconds([&] {
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(render->CheckDeviceReady());
    });
    EXPECT_EQ(CountLog(L"RenderDX9::LostDevice()\n"), 1);
    EXPECT_GE(seconds, 0.19);
    EXPECT_LT(seconds, 0.6);
    EXPECT_EQ(target->GetTexture(), nullptr);
    EXPECT_EQ(dynamic->GetTexture(), nullptr);

    d3d9test::RegainFocus(Device());
    window->mActive = true;
    EXPECT_FALSE(render->CheckDeviceReady());
    EXPECT_EQ(CountLog(L"RenderDX9::ResetDevice()\n"), 1);
    EXPECT_EQ(CountLog(L"\tD3D_OK\n"), 1);
    EXPECT_EQ(CountLog(L"RenderDX9::InitDeviceState()\n"), 1);
    ASSERT_NE(target->GetTexture(), nullptr);
    ASSERT_NE(dynamic->GetTexture(), nullptr);
    EXPECT_EQ(target->GetWidth(), 4);
    EXPECT_EQ(target->GetHeight(), 8);
    EXPECT_EQ(dynamic->GetWidth(), 8);
    auto* main = render::GetVertexCache<render::SVertex2D>(render.get())->GetMain();
    EXPECT_NE(static_cast<render::VertexBufferImplDX9*>(main->mImpl)->GetBuffer(), nullptr);
    DWORD value = 0;
    EXPECT_EQ(Device()->GetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, &value), D3D_OK);
    EXPECT_EQ(value, 1u);
    ExpectCorrectFrame();
    EXPECT_EQ(CountLog(L"RenderDX9::LostDevice()\n"), 1);
}

TEST_F(Recovery, LostWhileActiveSleepsEachFrameAndRecoversOnceRestored)
{
    Begin(false);
    d3d9test::LoseDevice(Device());
    const double seconds = Seconds([&] {
        EXPECT_FALSE(render->CheckDeviceReady());
        EXPECT_FALSE(render->CheckDeviceReady());
    });
    EXPECT_GE(seconds, 0.19);
    EXPECT_EQ(CountLog(L"RenderDX9::LostDevice()\n"), 1);
    d3d9test::RegainFocus(Device());
    EXPECT_FALSE(render->CheckDeviceReady());
    EXPECT_EQ(CountLog(L"\tD3D_OK\n"), 1);
    ExpectCorrectFrame();
}

TEST_F(Recovery, SwitchAwayAndBackBetweenFramesRecoversInOneFrame)
{
    Begin(false);
    d3d9test::LoseDevice(Device());
    d3d9test::RegainFocus(Device());
    EXPECT_FALSE(render->CheckDeviceReady());
    EXPECT_EQ(CountLog(L"RenderDX9::LostDevice()\n"), 1);
    EXPECT_EQ(CountLog(L"\tD3D_OK\n"), 1);
    ExpectCorrectFrame();
}

TEST_F(Recovery, OnlyASuccessfulResetIsCounted)
{
    Begin(false);
    EXPECT_EQ(render->GetResetCount(), 0u);
    d3d9test::LoseDevice(Device());
    EXPECT_FALSE(render->CheckDeviceReady());
    d3d9test::RegainFocus(Device());
    d3d9test::FailNextCalls("Reset", 1, D3DERR_DEVICELOST);
    EXPECT_FALSE(render->CheckDeviceReady());
    EXPECT_EQ(render->GetResetCount(), 0u);
    EXPECT_FALSE(render->CheckDeviceReady());
    EXPECT_EQ(render->GetResetCount(), 1u);
    ExpectCorrectFrame();
}

TEST_F(Recovery, MinimisedWindowSkipsFramesWithoutReleasingOrSleeping)
{
    Begin(true);
    window->mMinimized = true;
    const double seconds = Seconds([&] {
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(render->CheckDeviceReady());
    });
    EXPECT_LT(seconds, 0.09);
    EXPECT_EQ(CountLog(L"RenderDX9::LostDevice()\n"), 0);
    window->mMinimized = false;
    ExpectCorrectFrame();
}

TEST_F(Recovery, ScreenModeSwitchIsFollowedByACorrectFrame)
{
    Begin(true);
    ASSERT_EQ(render->PrepareSwitchScreenMode(), HV_OK);
    // A second loss before the switch must not release anything twice.
    ASSERT_EQ(render->PrepareSwitchScreenMode(), HV_OK);
    render::RenderInitParam param;
    param.mWidth = kSize;
    param.mHeight = kSize;
    param.mWindowed = 1;
    ASSERT_EQ(render->SwitchScreenMode(param), HV_OK);
    ExpectCorrectFrame();
}

TEST_F(Recovery, ResetFailuresAreLoggedAndRetried)
{
    Begin(false);
    d3d9test::LoseDevice(Device());
    EXPECT_FALSE(render->CheckDeviceReady());
    d3d9test::RegainFocus(Device());
    struct Row
    {
        HRESULT result;
        const wchar_t* line;
    };
    for (const Row& row : {Row{D3DERR_DEVICELOST, L"\tD3DERR_DEVICELOST\n"},
                           Row{D3DERR_DRIVERINTERNALERROR, L"\tD3DERR_DRIVERINTERNALERROR\n"},
                           Row{D3DERR_OUTOFVIDEOMEMORY, L"\tD3DERR_OUTOFVIDEOMEMORY \n"}})
    {
        LogLines().clear();
        d3d9test::FailNextCalls("Reset", 1, row.result);
        EXPECT_FALSE(render->CheckDeviceReady());
        EXPECT_EQ(CountLog(row.line), 1);
        EXPECT_TRUE(render->IsDeviceLost());
    }
    EXPECT_FALSE(render->CheckDeviceReady());
    EXPECT_FALSE(render->IsDeviceLost());
    ExpectCorrectFrame();
}
} // namespace
} // namespace rendertest
