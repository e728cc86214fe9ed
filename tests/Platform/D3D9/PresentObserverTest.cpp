#include "DeviceFixture.h"

#include "Platform/D3D9/TestSupport.h"

namespace d3d9fixture {
namespace {

constexpr uint32_t kFrameColor = 0xFF336699;

class PresentObserver : public DeviceTest
{
protected:
    void TearDown() override
    {
        d3d9test::SetPresentObserver({});
        DeviceTest::TearDown();
    }

    // Clears the back buffer to `color` and presents it.
    HRESULT PresentFrame(uint32_t color)
    {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, color, 1.0f, 0);
        return device_->Present(nullptr, nullptr, nullptr, nullptr);
    }
    void CheckReadsTheFrameBeforeTheSwap(bool windowed);
};

// The frame is still in the back buffer when the observer reads it, and the
// back-buffer reference it took is gone by the next Reset.
void PresentObserver::CheckReadsTheFrameBeforeTheSwap(bool windowed)
{
    CreateDevice(windowed);
    std::vector<uint32_t> seen;
    int calls = 0;
    d3d9test::SetPresentObserver([&](IDirect3DDevice9* device) {
        ++calls;
        IDirect3DSurface9* back = nullptr;
        ASSERT_EQ(device->GetRenderTarget(0, &back), D3D_OK);
        UINT width = 0, height = 0;
        EXPECT_TRUE(d3d9test::ReadPixels(back, seen, width, height));
        back->Release();
        EXPECT_EQ(width, kSize);
        EXPECT_EQ(height, kSize);
    });
    ASSERT_EQ(PresentFrame(kFrameColor), D3D_OK);
    EXPECT_EQ(calls, 1);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), kFrameColor);
    EXPECT_EQ(seen.back(), kFrameColor);

    D3DPRESENT_PARAMETERS params = Params(windowed, kSize, kSize);
    EXPECT_EQ(device_->Reset(&params), D3D_OK);
}

TEST_F(PresentObserver, ReadsTheWindowedFrameBeforeTheSwap) { CheckReadsTheFrameBeforeTheSwap(true); }
TEST_F(PresentObserver, ReadsTheFullScreenFrameBeforeTheSwap) { CheckReadsTheFrameBeforeTheSwap(false); }

TEST_F(PresentObserver, SeesNoPresentOfALostDevice)
{
    CreateDevice(true);
    int calls = 0;
    d3d9test::SetPresentObserver([&](IDirect3DDevice9*) { ++calls; });
    d3d9test::LoseDevice(device_);
    EXPECT_EQ(PresentFrame(kFrameColor), D3DERR_DEVICELOST);
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace d3d9fixture
