// The pattern video played into a dynamic texture of the renderer, drawn
// on the offscreen stand-in and read back.
#include "Core/Render/DX9/RenderFixture.h"

#include "Core/Render/Image.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Video/TheoraVideo.h"
#include "support/TempFolder.h"
#include "tools/make_video/VideoWriter.h"

#include <memory>
#include <string>

namespace
{
using rendertest::Near;

class VideoPixelTest : public rendertest::RenderDX9Test
{
protected:
    void SetUp() override
    {
        RenderDX9Test::SetUp();
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

int Green(uint32_t argb) { return int((argb >> 8) & 0xFF); }

TEST_F(VideoPixelTest, ConvertedFrameShowsUprightWithItsColours)
{
    constexpr uint32_t kVideo = 64;
    ASSERT_EQ(Start(true, kVideo, kVideo), HV_OK);
    videowriter::OggFile file;
    std::string error;
    ASSERT_TRUE(videowriter::WriteVideo(videowriter::Options(), &file, &error)) << error;
    folder.Write("v.ogv", file.bytes);

    video::TheoraVideo player(nullptr);
    ASSERT_EQ(player.Open(L"v.ogv"), 0);
    ASSERT_EQ(player.GetWidth(), kVideo);
    render::Image* raw = nullptr;
    ASSERT_EQ(render->CreateDynamicTexture(player.GetWidth(), player.GetHeight(), &raw), HV_OK);
    std::unique_ptr<render::Image> frame(raw);

    render::ShaderTextured* mult = render->GetTexturedMultShaderObject();
    const float size = float(kVideo);
    // Two frames due at 25 fps: frame 1 is the one converted; then frame 2.
    for (const auto& [seconds, shown] : {std::pair{0.1f, 1}, std::pair{0.04f, 2}})
    {
        ASSERT_EQ(player.Update(seconds, frame.get()), 0);
        ASSERT_EQ(Frame([&] {
                      ClearTo(0xFF000000);
                      ASSERT_EQ(rendertest::DrawQuad(*render, state, mult, nullptr, {0, 0, size, size}, nullptr,
                                                     frame.get()),
                                HV_OK);
                  }),
                  HV_OK);
        const auto pixels = BackBuffer();
        const auto at = [&](int x, int y) { return At(pixels, x, y, int(kVideo)); };
        EXPECT_EQ(videowriter::IndexFromLuma(Green(at(8, 8))), uint32_t(shown));
        // Red on the left, blue on the right, dark at the bottom: the picture is upright.
        EXPECT_TRUE(Near(at(8, 24), 0xFFFE0000, 3)) << std::hex << at(8, 24);
        EXPECT_TRUE(Near(at(int(kVideo) - 8, 24), 0xFF0001FB, 3)) << std::hex << at(int(kVideo) - 8, 24);
        EXPECT_NEAR(Green(at(8, int(kVideo) - 8)), videowriter::kDarkLuma, 3);
        EXPECT_NEAR(Green(at(8, int(kVideo) / 2 + 4)), videowriter::kMiddleLuma, 3);
    }
    frame->Release();
}
} // namespace
