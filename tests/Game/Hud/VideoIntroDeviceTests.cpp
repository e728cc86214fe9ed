// The intro window's frame texture on the Direct3D 9 stand-in: made by the
// first draw, released with the window.
#include "Core/Render/DX9/RenderFixture.h"

#include "Core/Render/Graphics.h"
#include "Game/Hud/NQVideoIntro.h"
#include "Platform/Bass/StandIn.h"
#include "Platform/D3D9/TestSupport.h"
#include "support/TempFolder.h"
#include "tools/make_video/VideoWriter.h"

#include <memory>

namespace
{
class VideoIntroDeviceTest : public rendertest::RenderDX9Test
{
protected:
    void SetUp() override
    {
        RenderDX9Test::SetUp();
        // The soundtrack plays into no audio device.
        bass::UseManualOutput();
        cwd = std::make_unique<hvtest::CurrentDirectory>(folder.Folder());
    }
    void TearDown() override
    {
        cwd.reset();
        RenderDX9Test::TearDown();
    }

    hvtest::TempFolder folder;
    std::unique_ptr<hvtest::CurrentDirectory> cwd;
};

TEST_F(VideoIntroDeviceTest, TheFrameTextureGoesWithTheWindow)
{
    ASSERT_EQ(Start(), HV_OK);
    videowriter::Options options;
    options.width = 64;
    options.height = 48;
    options.frames = 10;
    videowriter::OggFile file;
    std::string error;
    ASSERT_TRUE(videowriter::WriteVideo(options, &file, &error)) << error;
    folder.Write("nq/video/intro.ogv", file.bytes);

    const int before = d3d9test::LiveObjectCount();
    auto* intro = new NQVideoIntro;
    {
        render::Graphics graphics(render.get());
        intro->Draw(&graphics);
    }
    ASSERT_EQ(intro->mStarted, 1);
    EXPECT_GT(d3d9test::LiveObjectCount(), before);
    intro->Update(0.1f);
    delete intro;
    EXPECT_EQ(d3d9test::LiveObjectCount(), before);
}
} // namespace
