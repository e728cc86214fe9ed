// The draw context on the offscreen stand-in: text drawn pixel for pixel,
// and a small scene saved as a PNG beside the test program.
#include "DX9/RenderFixture.h"
#include "FontFixtures.h"
#include "PictureFixtures.h"

#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderTarget.h"
#include "support/TempFolder.h"

#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace rendertest
{
namespace
{
using fixtures::FontGlyph;

constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kRed = 0xFFFF0000;

// A: 4 x 6, advance 5; B: 3 x 6, advance 4; a space of 3. A gap keeps the
// glyphs apart on the page.
const std::vector<FontGlyph> kGlyphs = {
    {'A', 0, 0, 4, 6, 0, 0, 5, 0}, {'B', 5, 0, 3, 6, 0, 0, 4, 0}, {' ', 0, 0, 0, 0, 0, 0, 3, 0}};

std::string Str(const fixtures::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

struct ImageDeleter
{
    void operator()(render::Image* image) const
    {
        image->Release();
        delete image;
    }
};
using ImagePtr = std::unique_ptr<render::Image, ImageDeleter>;

class SceneTest : public RenderDX9Test
{
protected:
    void SetUp() override
    {
        RenderDX9Test::SetUp();
        cwd = std::make_unique<hvtest::CurrentDirectory>(folder.Folder());
        folder.Write("fonts/f.fnt", fixtures::MakeFontXml(kGlyphs, 1, {0}));
        folder.Write("fonts/page0.png", Str(fixtures::MakeGlyphPage(16, 8, kGlyphs, 0)));
    }
    void TearDown() override
    {
        font.reset();
        cwd.reset();
        RenderDX9Test::TearDown();
    }

    void LoadFont()
    {
        font = std::make_unique<render::BMFont>();
        ASSERT_EQ(font->Init(L"fonts/f"), HV_OK);
        font->SetRender(render.get());
        ASSERT_EQ(font->DoLoad(), HV_OK);
    }

    ImagePtr Load(const std::wstring& name, file::ImageContainer* container = nullptr)
    {
        render::Image* image = nullptr;
        EXPECT_EQ(render->LoadTexture(name, container, &image, nullptr), HV_OK);
        return ImagePtr(image);
    }

    static void Clear(render::Graphics& g, uint32_t argb)
    {
        const float colour[4] = {float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f,
                                 float(argb & 0xFF) / 255.0f, 1.0f};
        EXPECT_EQ(g.Clear(1, colour, 1.0f, 0), HV_OK);
    }

    // Pixels inside the box have the colour; the ring around it does not.
    void ExpectBox(const std::vector<uint32_t>& pixels, int width, int x0, int y0, int x1, int y1, uint32_t colour)
    {
        for (int y = y0 - 1; y <= y1; ++y)
            for (int x = x0 - 1; x <= x1; ++x)
            {
                const bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
                EXPECT_EQ((At(pixels, x, y, width) | kBlack) == colour, inside) << x << "," << y;
            }
    }

    hvtest::TempFolder folder;
    std::unique_ptr<hvtest::CurrentDirectory> cwd;
    std::unique_ptr<render::BMFont> font;
};

TEST_F(SceneTest, TextFillsExactlyItsGlyphBoxes)
{
    ASSERT_EQ(Start(), HV_OK);
    LoadFont();
    const std::wstring text = L"AB";
    ASSERT_EQ(Frame([&] {
                  render::Graphics g(render.get());
                  Clear(g, kBlack);
                  g.mFont = font.get();
                  g.SetColor(1, 0, 0, 1);
                  const float at[2] = {10, 20};
                  g.DrawText(text).Translate(at);
              }),
              HV_OK);
    const auto pixels = BackBuffer();
    ExpectBox(pixels, int(kSize), 10, 20, 14, 26, kRed);
    ExpectBox(pixels, int(kSize), 15, 20, 18, 26, kRed);
}

std::string ProgramFolder()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    std::string exe(path, size_t(n));
    return exe.substr(0, exe.find_last_of('/'));
}

TEST_F(SceneTest, SmallSceneLooksRightAndIsSaved)
{
    constexpr int W = 128, H = 96;
    ASSERT_EQ(Start(true, W, H), HV_OK);
    LoadFont();
    const uint32_t r = 0xFFFF0000, gr = 0xFF00FF00, b = 0xFF0000FF, w = 0xFFFFFFFF;
    std::vector<uint32_t> quadrants(16 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            quadrants[size_t(y * 16 + x)] = y < 8 ? (x < 8 ? r : gr) : (x < 8 ? b : w);
    folder.Write("pic.png", Str(fixtures::MakePng(16, 16, quadrants)));
    folder.Write("ui/quads.png", Str(fixtures::MakePng(4, 4, {r, r, gr, gr, r, r, gr, gr, b, b, w, w, b, b, w, w})));
    folder.Write("ui/layers.xml", "<Layers><Layer name=\"corner\" x=\"0\" y=\"0\" width=\"2\" height=\"2\""
                                  " atlas=\"quads.png\" tu1=\"0\" tv1=\"0\" tu2=\"0.5\" tv2=\"0.5\"/></Layers>");
    std::unique_ptr<file::ImageContainer> container(file::FileManager::Instance()->OpenImageContainer(L"ui"));
    ASSERT_TRUE(container);
    ImagePtr picture = Load(L"pic");
    ImagePtr part = Load(L"corner", container.get());
    ASSERT_TRUE(picture && part);
    render::RenderTarget* rawTarget = nullptr;
    ASSERT_EQ(render->CreateRenderTarget(32, 16, &rawTarget, true), HV_OK);
    ImagePtr target(rawTarget);
    const std::wstring text = L"AB A";

    ASSERT_EQ(Frame([&] {
                  {
                      // Drawn into the target inside the frame: recorded into it.
                      render::Graphics tg(rawTarget);
                      EXPECT_FALSE(tg.OwnsFrame());
                      Clear(tg, gr);
                      tg.SetColor(0, 0, 1, 1);
                      tg.FillRect(0, 0, 8, 8);
                  }
                  render::Graphics g(render.get());
                  Clear(g, 0xFF202040);
                  const float picAt[2] = {4, 4};
                  g.DrawImage(*picture).Translate(picAt);
                  const float partRect[4] = {30, 4, 8, 8};
                  g.DrawImageInRect(*part, partRect); // 2 x 2 stretched to 8 x 8
                  const float targetAt[2] = {50, 4};
                  g.DrawImage(*target).Translate(targetAt);
                  g.mFont = font.get();
                  g.SetColor(1, 0, 0, 1);
                  const float line0[2] = {70, 40}, line1[2] = {70, 60};
                  g.DrawLine(line0, line1);
                  // Wrapped into "AB" (9 wide) and "A" (5 wide), centred on the wider.
                  const float textAt[2] = {10, 40};
                  g.DrawTextBox(text, 10, 0, 2, false).Translate(textAt);
              }),
              HV_OK);
    const auto pixels = BackBuffer();

    // The picture: four quadrants, upright.
    EXPECT_EQ(At(pixels, 5, 5, W) | kBlack, r);
    EXPECT_EQ(At(pixels, 18, 5, W) | kBlack, gr);
    EXPECT_EQ(At(pixels, 5, 18, W) | kBlack, b);
    EXPECT_EQ(At(pixels, 18, 18, W) | kBlack, w);
    // The atlas part: the blue bottom-left quadrant of its atlas, stretched
    // (away from its edges, where filtering reaches the neighbouring texels).
    EXPECT_EQ(At(pixels, 33, 7, W) | kBlack, b);
    EXPECT_EQ(At(pixels, 35, 9, W) | kBlack, b);
    // The target: its blue corner on green, row 0 on top.
    EXPECT_EQ(At(pixels, 51, 5, W) | kBlack, b);
    EXPECT_EQ(At(pixels, 60, 5, W) | kBlack, gr);
    EXPECT_EQ(At(pixels, 51, 14, W) | kBlack, gr);
    // The line, on one of the two columns beside x = 69.5.
    EXPECT_TRUE((At(pixels, 69, 50, W) | kBlack) == kRed || (At(pixels, 70, 50, W) | kBlack) == kRed);
    // Two lines of centred text; the second starts ceil((9 - 5) / 2) = 2 in.
    ExpectBox(pixels, W, 10, 40, 14, 46, kRed);
    ExpectBox(pixels, W, 15, 40, 18, 46, kRed);
    ExpectBox(pixels, W, 12, 60, 16, 66, kRed);

    std::vector<uint32_t> opaque(pixels);
    for (uint32_t& p : opaque)
        p |= kBlack;
    const auto png = fixtures::MakePng(W, H, opaque);
    std::ofstream(ProgramFolder() + "/scene.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    container.reset();
}
} // namespace
} // namespace rendertest
