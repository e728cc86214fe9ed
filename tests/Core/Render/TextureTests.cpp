// Pictures loaded by name through the renderer, drawn on the offscreen
// stand-in and read back.
#include "DX9/RenderFixture.h"
#include "PictureFixtures.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Image.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Shaders/ShaderTextured.h"
#include "Core/Render/Vertices.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/ResourceTexture.h"
#include "Platform/D3D9/TestSupport.h"
#include "support/TempFolder.h"

#include <cstring>
#include <memory>
#include <string>

namespace rendertest
{
namespace
{
using fixtures::Bytes;

constexpr uint32_t kBlack = 0xFF000000;
const std::vector<uint32_t> kFour = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};

std::string Str(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

struct ImageDeleter
{
    void operator()(render::Image* image) const
    {
        image->Release();
        delete image;
    }
};
using ImagePtr = std::unique_ptr<render::Image, ImageDeleter>;

size_t TextureResourceCount() { return resource::ResourceManager::Instance()->GetMap<resource::ResourceTexture>().size(); }

class TextureTest : public RenderDX9Test
{
protected:
    void SetUp() override
    {
        RenderDX9Test::SetUp();
        cwd = std::make_unique<hvtest::CurrentDirectory>(folder.Folder());
    }
    void TearDown() override
    {
        EXPECT_EQ(TextureResourceCount(), 0u) << "a texture resource outlived its images";
        cwd.reset();
        RenderDX9Test::TearDown();
    }

    ImagePtr Load(const std::wstring& name, file::ImageContainer* container = nullptr,
                  base::ImageInfo* info = nullptr)
    {
        render::Image* image = nullptr;
        const HVResultEnum result = render->LoadTexture(name, container, &image, info);
        EXPECT_EQ(result == HV_OK, image != nullptr) << "a result and an image that disagree";
        return ImagePtr(image);
    }

    // Draws each image at its own size at (x, y) in one frame and reads the back buffer.
    std::vector<uint32_t> DrawAt(const std::vector<std::pair<const render::Image*, std::pair<int, int>>>& draws)
    {
        render::ShaderTextured* mult = render->GetTexturedMultShaderObject();
        EXPECT_EQ(Frame([&] {
                      ClearTo(kBlack);
                      for (const auto& [image, at] : draws)
                      {
                          const float x = float(at.first), y = float(at.second);
                          ASSERT_EQ(DrawQuad(*render, state, mult, nullptr,
                                             {x, y, x + float(image->GetWidth()), y + float(image->GetHeight())},
                                             nullptr, image),
                                    HV_OK);
                      }
                  }),
                  HV_OK);
        return BackBuffer();
    }

    hvtest::TempFolder folder;
    std::unique_ptr<hvtest::CurrentDirectory> cwd;
};

TEST_F(TextureTest, FixturePicturesDrawTexelForTexel)
{
    ASSERT_EQ(Start(), HV_OK);
    // DXT1, four-colour mode: red and blue end points, top two rows index 0.
    const Bytes dxt1 = fixtures::MakeDds({4, 4, 0, "DXT1"}, {0x00, 0xF8, 0x1F, 0x00, 0x00, 0x00, 0x55, 0x55});
    const uint32_t r = 0xFFFF0000, b = 0xFF0000FF;
    const std::vector<uint32_t> dxtPixels = {r, r, r, r, r, r, r, r, b, b, b, b, b, b, b, b};
    const std::vector<uint32_t> grey(16, 0xFF808080);
    struct Row
    {
        const char* file;
        Bytes bytes;
        int width, height;
        std::vector<uint32_t> pixels;
        int tolerance;
    };
    const Row rows[] = {
        {"png.png", fixtures::MakePng(2, 2, kFour), 2, 2, kFour, 0},
        {"tga.tga", fixtures::MakeTga(2, 2, kFour), 2, 2, kFour, 0}, // stored bottom-up
        {"bmp.bmp", fixtures::MakeBmp(2, 2, kFour), 2, 2, kFour, 0}, // stored bottom-up
        {"dds.dds", fixtures::MakeDds({2, 2}, fixtures::Argb32(kFour)), 2, 2, kFour, 0},
        {"dxt.dds", dxt1, 4, 4, dxtPixels, 0},
        {"jpg.jpg", fixtures::MakeJpeg(4, 4, grey), 4, 4, grey, 4},
    };
    for (const Row& row : rows)
    {
        folder.Write(row.file, Str(row.bytes));
        ImagePtr image = Load(base::ToWide(row.file, 1));
        ASSERT_TRUE(image) << row.file;
        EXPECT_EQ(image->GetWidth(), row.width);
        EXPECT_EQ(image->GetHeight(), row.height);
        const auto pixels = DrawAt({{image.get(), {3, 5}}});
        for (int y = 0; y < row.height; ++y)
            for (int x = 0; x < row.width; ++x)
                EXPECT_TRUE(Near(At(pixels, 3 + x, 5 + y) | kBlack, row.pixels[size_t(y * row.width + x)],
                                 row.tolerance))
                    << row.file << " " << x << "," << y << ": " << std::hex << At(pixels, 3 + x, 5 + y);
        EXPECT_EQ(At(pixels, 2, 5) | kBlack, kBlack) << row.file;
        EXPECT_EQ(At(pixels, 3 + row.width, 5) | kBlack, kBlack) << row.file;
    }
}

TEST_F(TextureTest, GifTransparentIndexClearsItsMaskBitAndDrawsTheOthers)
{
    ASSERT_EQ(Start(), HV_OK);
    const uint32_t palette[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    const std::vector<uint8_t> indices = {0, 1, 2, 3, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3};
    folder.Write("g.gif", Str(fixtures::MakeGif(4, 4, palette, indices)));
    ImagePtr image = Load(L"g");
    ASSERT_TRUE(image);
    EXPECT_FALSE(image->HitTest(0, 0));
    EXPECT_TRUE(image->HitTest(1, 0));
    const auto pixels = DrawAt({{image.get(), {0, 0}}});
    EXPECT_EQ(At(pixels, 1, 0) | kBlack, 0xFFFF0000u);
    EXPECT_EQ(At(pixels, 0, 2) | kBlack, 0xFF00FF00u);
    EXPECT_EQ(At(pixels, 3, 3) | kBlack, 0xFF0000FFu);
}

TEST_F(TextureTest, ExtensionTableDecidesWhichFileLoadsAndHowItDecodes)
{
    ASSERT_EQ(Start(), HV_OK);
    folder.Write("x.dds", Str(fixtures::MakeDds({1, 1}, fixtures::Argb32({0xFFFF0000}))));
    folder.Write("x.png", Str(fixtures::MakePng(1, 1, {0xFF00FF00})));
    folder.Write("y.png", Str(fixtures::MakePng(1, 1, {0xFF0000FF})));
    // A BMP is found only when named with its extension.
    folder.Write("z.bmp", Str(fixtures::MakeBmp(1, 1, {0xFFFFFFFF})));

    ImagePtr x = Load(L"x");
    ASSERT_TRUE(x);
    ImagePtr y = Load(L"y.png");
    ASSERT_TRUE(y);
    ImagePtr zBmp = Load(L"z.bmp");
    ASSERT_TRUE(zBmp);
    const auto pixels = DrawAt({{x.get(), {0, 0}}, {y.get(), {1, 0}}, {zBmp.get(), {2, 0}}});
    EXPECT_EQ(At(pixels, 0, 0) | kBlack, 0xFFFF0000u) << "the DDS comes before the PNG";
    EXPECT_EQ(At(pixels, 1, 0) | kBlack, 0xFF0000FFu);
    EXPECT_EQ(At(pixels, 2, 0) | kBlack, 0xFFFFFFFFu);

    EXPECT_FALSE(Load(L"z"));
    EXPECT_EQ(resource::ResourceManager::Instance()->GetMap<resource::ResourceTexture>().count(L"z"), 0u)
        << "a failed load leaves the manager";
    folder.Write("z.tga", Str(fixtures::MakeTga(1, 1, {0xFF00FF00})));
    ImagePtr z = Load(L"z");
    ASSERT_TRUE(z) << "a later request tries again";
    EXPECT_EQ(At(DrawAt({{z.get(), {0, 0}}}), 0, 0) | kBlack, 0xFF00FF00u);
}

TEST_F(TextureTest, TwoLoadsShareOneResourceUntilBothAreReleased)
{
    ASSERT_EQ(Start(), HV_OK);
    folder.Write("p.png", Str(fixtures::MakePng(2, 2, kFour)));
    const size_t before = render->GetTextures().size();
    ImagePtr a = Load(L"p");
    ImagePtr b = Load(L"p");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->GetResource(), b->GetResource());
    EXPECT_EQ(a->GetTexture(), b->GetTexture());
    EXPECT_EQ(render->GetTextures().size(), before + 1) << "loaded once";
    EXPECT_EQ(a->GetHandle().UseCount(), 2);
    a.reset();
    EXPECT_EQ(TextureResourceCount(), 1u);
    EXPECT_TRUE(b->GetResource()->IsLoaded());
    b.reset();
    EXPECT_EQ(TextureResourceCount(), 0u);
    EXPECT_EQ(render->GetTextures().size(), before) << "unloaded with the last image";
}

TEST_F(TextureTest, LoadCopiesThePictureDescription)
{
    ASSERT_EQ(Start(), HV_OK);
    folder.Write("p.png", Str(fixtures::MakePng(3, 2, {0, 0, 0, 0, 0, 0})));
    base::ImageInfo info;
    ImagePtr image = Load(L"p", nullptr, &info);
    ASSERT_TRUE(image);
    EXPECT_EQ(info.w, 3.0f);
    EXPECT_EQ(info.h, 2.0f);
    EXPECT_FALSE(info.fromAtlas);
}

// A layered-image folder: a 1024 x 4 atlas whose only hit texels are
// columns 522 and 562, and a 4 x 4 atlas of coloured quadrants.
class AtlasTest : public TextureTest
{
protected:
    void SetUp() override
    {
        TextureTest::SetUp();
        std::vector<uint32_t> wide(1024 * 4, 0x00FFFFFF);
        for (int y = 0; y < 4; ++y)
            wide[size_t(y * 1024 + 522)] = wide[size_t(y * 1024 + 562)] = 0xFFFFFFFF;
        folder.Write("ui/atlas.png", Str(fixtures::MakePng(1024, 4, wide)));
        const uint32_t r = 0xFFFF0000, g = 0xFF00FF00, b = 0xFF0000FF, w = 0xFFFFFFFF;
        folder.Write("ui/quads.png", Str(fixtures::MakePng(4, 4, {r, r, g, g, r, r, g, g, b, b, w, w, b, b, w, w})));
        folder.Write("ui/layers.xml",
                     "<Layers>"
                     "<Layer name=\"part\" x=\"0\" y=\"0\" width=\"256\" height=\"4\" atlas=\"atlas.png\""
                     " tu1=\"0.5\" tv1=\"0\" tu2=\"0.75\" tv2=\"1\"/>"
                     "<Layer name=\"wide\" x=\"0\" y=\"0\" width=\"512\" height=\"8\" atlas=\"atlas.png\""
                     " tu1=\"0.5\" tv1=\"0\" tu2=\"0.75\" tv2=\"1\"/>"
                     "<Layer name=\"corner\" x=\"5\" y=\"6\" width=\"2\" height=\"2\" atlas=\"quads.png\""
                     " tu1=\"0.5\" tv1=\"0\" tu2=\"1\" tv2=\"0.5\"/>"
                     "<Layer name=\"lost\" x=\"0\" y=\"0\" width=\"2\" height=\"2\" atlas=\"missing.png\""
                     " tu1=\"0\" tv1=\"0\" tu2=\"1\" tv2=\"1\"/>"
                     "<Layer name=\"own\" x=\"0\" y=\"0\" width=\"2\" height=\"2\"/>"
                     "</Layers>");
        folder.Write("ui/own.png", Str(fixtures::MakePng(2, 2, kFour)));
        container.reset(file::FileManager::Instance()->OpenImageContainer(L"ui"));
        ASSERT_TRUE(container);
    }
    void TearDown() override
    {
        container.reset();
        TextureTest::TearDown();
    }
    std::unique_ptr<file::ImageContainer> container;
};

TEST_F(AtlasTest, PartHitTestsThroughTheAtlasMask)
{
    ASSERT_EQ(Start(), HV_OK);
    base::ImageInfo info;
    ImagePtr part = Load(L"part", container.get(), &info);
    ASSERT_TRUE(part);
    EXPECT_TRUE(info.fromAtlas);
    EXPECT_EQ(info.w, 256.0f);
    EXPECT_EQ(part->GetWidth(), 256);
    resource::ResourceTexture* atlas = part->GetResource()->GetAtlasParent().Get();
    ASSERT_NE(atlas, nullptr);
    EXPECT_EQ(part->GetTexture(), atlas->GetTexture()) << "a part draws from the atlas texture";
    EXPECT_EQ(part->GetResource()->GetTexture(), nullptr) << "a part decodes no pixels";
    EXPECT_EQ(part->GetHitOffsetX(), 512);

    struct Probe
    {
        int x, y;
        bool hit;
    };
    // 10 -> texel truncate(10 x 1 + 512 + 0.5) = 522.
    for (const Probe& p : {Probe{10, 0, true}, Probe{10, 3, true}, Probe{9, 0, false}, Probe{11, 0, false},
                           Probe{50, 1, true}, Probe{-1, 0, false}, Probe{256, 0, false}, Probe{10, 4, false},
                           Probe{10, -1, false}})
        EXPECT_EQ(part->HitTest(p.x, p.y), p.hit) << p.x << "," << p.y;

    // Twice the region's size: scale 0.5 texels per picture pixel, 100 -> 512 + 50.
    ImagePtr wide = Load(L"wide", container.get());
    ASSERT_TRUE(wide);
    EXPECT_FLOAT_EQ(wide->GetHitScaleX(), 0.5f);
    EXPECT_TRUE(wide->HitTest(100, 0));
    EXPECT_TRUE(wide->HitTest(99, 0)) << "49.5 + 512 rounds up to 562";
    EXPECT_FALSE(wide->HitTest(101, 0));
    EXPECT_FALSE(wide->HitTest(98, 0));
    EXPECT_FALSE(wide->HitTest(512, 0));
    EXPECT_EQ(wide->GetResource()->GetAtlasParent().Get(), atlas) << "parts of one atlas share it";
}

TEST_F(AtlasTest, PartDrawsItsSubRectangleAndHoldsItsAtlas)
{
    ASSERT_EQ(Start(), HV_OK);
    ImagePtr corner = Load(L"corner", container.get());
    ImagePtr own = Load(L"own", container.get());
    ASSERT_TRUE(corner && own);
    EXPECT_EQ(TextureResourceCount(), 3u) << "two layers and the atlas";
    const auto pixels = DrawAt({{corner.get(), {0, 0}}, {own.get(), {4, 0}}});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
        {
            EXPECT_EQ(At(pixels, x, y) | kBlack, 0xFFFFFFFFu) << "bottom-right quadrant at " << x << "," << y;
            EXPECT_EQ(At(pixels, 4 + x, y) | kBlack, kFour[size_t(y * 2 + x)]) << x << "," << y;
        }
    EXPECT_EQ(At(pixels, 2, 0) | kBlack, kBlack);
    corner.reset();
    EXPECT_EQ(TextureResourceCount(), 1u) << "the atlas goes with its last part";
}

TEST_F(AtlasTest, MissingLayerOrAtlasLoadsNothing)
{
    ASSERT_EQ(Start(), HV_OK);
    EXPECT_FALSE(Load(L"nothing", container.get()));
    EXPECT_FALSE(Load(L"lost", container.get()));
    EXPECT_EQ(TextureResourceCount(), 0u);
}

TEST_F(AtlasTest, MapUVMovesCoordinatesIntoTheAtlasRegionOnly)
{
    ASSERT_EQ(Start(), HV_OK);
    ImagePtr corner = Load(L"corner", container.get());
    ImagePtr own = Load(L"own", container.get());
    ASSERT_TRUE(corner && own);
    render::VertexFormat oneComponent;
    oneComponent.mStride = 8;
    oneComponent.mTexCoordSets = {{1, 0}};
    struct Row
    {
        const char* what;
        const render::Image* image;
        int32_t set;
        const render::VertexFormat* format;
        HVResultEnum result;
        float u0, v0, u1, v1; // the coordinates (0, 0) and (1, 1) become
    };
    const Row rows[] = {
        {"atlas part", corner.get(), 0, &render::SVertex2D::Format, HV_OK, 0.5f, 0.5f, 1.0f, 1.0f},
        {"own picture", own.get(), 0, &render::SVertex2D::Format, HV_OK, 0, 0, 1, 1},
        {"own picture, any set", own.get(), 5, &render::SVertex2D::Format, HV_OK, 0, 0, 1, 1},
        {"no such set", corner.get(), 1, &render::SVertex2D::Format, HV_FAIL, 0, 0, 1, 1},
        {"negative set", corner.get(), -1, &render::SVertex2D::Format, HV_FAIL, 0, 0, 1, 1},
        {"format without sets", corner.get(), 0, &render::SVertexGeom::Format, HV_FAIL, 0, 0, 1, 1},
        {"one-component set", corner.get(), 0, &oneComponent, HV_FAIL, 0, 0, 1, 1},
    };
    for (const Row& row : rows)
    {
        render::SVertex2D v[2] = {};
        v[1].u = v[1].v = 1.0f;
        v[1].x = 7.0f;
        EXPECT_EQ(row.image->MapUV(v, 2, row.set, row.format), row.result) << row.what;
        EXPECT_FLOAT_EQ(v[0].u, row.u0) << row.what;
        EXPECT_FLOAT_EQ(v[0].v, row.v0) << row.what;
        EXPECT_FLOAT_EQ(v[1].u, row.u1) << row.what;
        EXPECT_FLOAT_EQ(v[1].v, row.v1) << row.what;
        EXPECT_EQ(v[1].x, 7.0f) << row.what;
    }
}

TEST_F(TextureTest, RenderTargetDrawnIntoAndOntoTheBackBufferIsUpright)
{
    ASSERT_EQ(Start(), HV_OK);
    folder.Write("p.png", Str(fixtures::MakePng(2, 2, kFour)));
    ImagePtr picture = Load(L"p");
    ASSERT_TRUE(picture);
    render::RenderTarget* rawTarget = nullptr;
    ASSERT_EQ(render->CreateRenderTarget(4, 4, &rawTarget, true), HV_OK);
    ImagePtr target(rawTarget);
    EXPECT_EQ(target->GetWidth(), 4);
    math::Matrix4 expected;
    render->MakeOrthoProjection(4, 4, 0, &expected);
    EXPECT_EQ(std::memcmp(&rawTarget->GetProjection(), &expected, sizeof expected), 0);

    // The target's mapping is copied field by field: its order is not the state block's.
    render::RenderState onTarget;
    onTarget.mTarget = rawTarget->GetTexture();
    onTarget.mOffsetX = rawTarget->GetMapOffsetX();
    onTarget.mOffsetY = rawTarget->GetMapOffsetY();
    onTarget.mScaleX = rawTarget->GetMapScaleX();
    onTarget.mScaleY = rawTarget->GetMapScaleY();
    render::ShaderTextured* mult = render->GetTexturedMultShaderObject();
    ASSERT_EQ(Frame([&] {
                  render->SetTarget(&onTarget);
                  const float clear[4] = {0, 0, 0, 1};
                  render->Clear(1, clear, 1.0f, 0);
                  ASSERT_EQ(DrawQuad(*render, onTarget, mult, nullptr, {1, 1, 3, 3}, &rawTarget->GetProjection(),
                                     picture.get()),
                            HV_OK);
                  ClearTo(kBlack);
                  ASSERT_EQ(DrawQuad(*render, state, mult, nullptr, {10, 10, 14, 14}, nullptr, target.get()),
                            HV_OK);
              }),
              HV_OK);
    const auto pixels = BackBuffer();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(At(pixels, 11 + i % 2, 11 + i / 2) | kBlack, kFour[size_t(i)]) << i;
    EXPECT_EQ(At(pixels, 10, 10) | kBlack, kBlack);
    EXPECT_FALSE(target->HitTest(1, 1)) << "a render target has no mask";
}

TEST_F(TextureTest, DynamicTextureShowsWhatWasWrittenThroughTheLock)
{
    ASSERT_EQ(Start(), HV_OK);
    render::Image* raw = nullptr;
    ASSERT_EQ(render->CreateDynamicTexture(3, 2, &raw), HV_OK);
    ImagePtr image(raw);
    EXPECT_EQ(image->GetWidth(), 3);
    EXPECT_EQ(image->GetHeight(), 2);
    ASSERT_TRUE(image->CanLock());
    uint32_t size = 0, pitch = 0;
    void* bits = nullptr;
    ASSERT_EQ(image->Lock(&size, &pitch, &bits), HV_OK);
    EXPECT_GE(pitch, 3u * 4);
    EXPECT_EQ(size, pitch * 2 / 4);
    const uint32_t written[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
    for (int y = 0; y < 2; ++y)
        std::memcpy(static_cast<unsigned char*>(bits) + size_t(y) * pitch, written + y * 3, 12);
    ASSERT_EQ(image->Unlock(), HV_OK);
    EXPECT_EQ(image->Upload(written), HV_FAIL) << "lockable textures take no upload";
    const auto pixels = DrawAt({{image.get(), {2, 2}}});
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(At(pixels, 2 + i % 3, 2 + i / 3) | kBlack, written[i]) << i;

    folder.Write("p.png", Str(fixtures::MakePng(1, 1, {0xFFFFFFFF})));
    ImagePtr picture = Load(L"p");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Lock(&size, &pitch, &bits), HV_FAIL) << "a picture texture cannot be locked";
    EXPECT_EQ(picture->Unlock(), HV_FAIL);
    EXPECT_EQ(picture->Upload(written), HV_FAIL);
}

TEST_F(TextureTest, FailedDeviceTextureLeavesNothingBehind)
{
    ASSERT_EQ(Start(), HV_OK);
    const size_t before = render->GetTextures().size();
    render::RenderTarget* target = nullptr;
    render::Image* dynamic = nullptr;
    d3d9test::FailNextCalls("CreateTexture", 2, E_FAIL);
    EXPECT_EQ(render->CreateRenderTarget(4, 4, &target, false), HV_FAIL);
    EXPECT_EQ(render->CreateDynamicTexture(4, 4, &dynamic), HV_FAIL);
    EXPECT_EQ(target, nullptr);
    EXPECT_EQ(dynamic, nullptr);
    EXPECT_EQ(render->GetTextures().size(), before) << "the texture is deleted on failure";

    folder.Write("p.png", Str(fixtures::MakePng(1, 1, {0xFFFFFFFF})));
    for (const char* call : {"CreateTexture", "LockRect"})
    {
        d3d9test::FailNextCalls(call, 1, E_FAIL);
        EXPECT_FALSE(Load(L"p")) << call;
        EXPECT_EQ(render->GetTextures().size(), before) << call;
        EXPECT_EQ(TextureResourceCount(), 0u) << call;
    }
    EXPECT_TRUE(Load(L"p")) << "the next request loads";
}
} // namespace
} // namespace rendertest
