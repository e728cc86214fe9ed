#include "PictureFixtures.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/MemoryStream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageData.h"
#include "Core/Render/ImageDataDDS.h"
#include "Core/Render/ImageDataRaw.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/PictureCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

using fixtures::Bytes;

namespace
{
struct Decoded
{
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    render::HitMask mask;
    bool Bit(int x, int y) const { return mask.Get(uint32_t(x + y * width)); }
};

std::unique_ptr<render::ImageData> Create(base::MemoryStream& stream, const wchar_t* ext,
                                          const base::ImageInfo* info = nullptr)
{
    return std::unique_ptr<render::ImageData>(render::ImageLoader::Instance()->CreateImageData(&stream, ext, info));
}

std::optional<Decoded> Decode(const Bytes& bytes, const wchar_t* ext, const base::ImageInfo* info = nullptr)
{
    base::MemoryStream stream(bytes.data(), bytes.size());
    auto data = Create(stream, ext, info);
    if (!data)
        return std::nullopt;
    Decoded d;
    d.width = data->GetWidth();
    d.height = data->GetHeight();
    if (data->GetType() != render::ImageDataDDS::kTypeA8R8G8B8)
    {
        // Compressed: the pitch is one row of 4x4 blocks.
        const int pitch = (d.width + 3) / 4 * (data->GetType() == render::ImageDataDDS::kTypeDXT1 ? 8 : 16);
        std::vector<unsigned char> blocks(size_t(pitch) * size_t((d.height + 3) / 4));
        if (data->Decode(pitch, blocks.data(), &d.mask) != HV_OK)
            return std::nullopt;
        return d;
    }
    d.pixels.assign(size_t(d.width) * size_t(d.height), 0xDEADBEEFu);
    if (data->Decode(d.width * 4, d.pixels.data(), &d.mask) != HV_OK)
        return std::nullopt;
    return d;
}

Bytes SmallPng() { return fixtures::MakePng(2, 1, {0xFF112233u, 0x80445566u}); }

Bytes SmallDds() { return fixtures::MakeDds({2, 1}, fixtures::Argb32({0xFF000000u, 0xFF000000u})); }

base::ImageInfo RawInfo(float w, float h)
{
    base::ImageInfo info;
    info.documentLayer = true;
    info.w = w;
    info.h = h;
    return info;
}
} // namespace

TEST(ImageLoader, ChoosesDecoderByFirstFourCharactersOrRawFlag)
{
    const base::ImageInfo raw = RawInfo(2, 1);
    struct Case
    {
        const wchar_t* ext;
        Bytes bytes;
        const base::ImageInfo* info;
        bool made;
    } cases[] = {
        {nullptr, SmallPng(), nullptr, false},  {L"", SmallPng(), nullptr, false},
        {L".dds", SmallDds(), nullptr, true},   {L".png", SmallPng(), nullptr, true},
        {L".pngx", SmallPng(), nullptr, true},  {L".jpeg", fixtures::MakeJpeg(2, 1, {0, 0}), nullptr, false},
        {L".PNG", SmallPng(), nullptr, false},  {L"png", SmallPng(), nullptr, false},
        {L"", fixtures::Argb32({1, 2}), &raw, true}, {nullptr, fixtures::Argb32({1, 2}), &raw, false},
        {L".png", SmallDds(), nullptr, false},
    };
    for (auto& c : cases)
    {
        base::MemoryStream stream(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(Create(stream, c.ext, c.info) != nullptr, c.made) << (c.ext ? std::wstring(c.ext).size() : 99);
    }
}

TEST(ImageDecoders, MaskThresholds)
{
    auto dds = Decode(fixtures::MakeDds({2, 1}, fixtures::Argb32({0x0A102030u, 0x0B102030u})), L".dds");
    ASSERT_TRUE(dds);
    EXPECT_FALSE(dds->Bit(0, 0));
    EXPECT_TRUE(dds->Bit(1, 0));
    EXPECT_EQ(dds->pixels[0], 0x0A102030u);

    const base::ImageInfo raw = RawInfo(2, 1);
    auto rawd = Decode(fixtures::Argb32({0x09ABCDEFu, 0x0AABCDEFu}), L"", &raw);
    ASSERT_TRUE(rawd);
    EXPECT_FALSE(rawd->Bit(0, 0));
    EXPECT_TRUE(rawd->Bit(1, 0));
    EXPECT_EQ(rawd->pixels[1], 0x0AABCDEFu);

    auto png = Decode(fixtures::MakePng(2, 1, {0x31102030u, 0x32405060u}), L".png");
    ASSERT_TRUE(png);
    EXPECT_FALSE(png->Bit(0, 0));
    EXPECT_TRUE(png->Bit(1, 0));
    EXPECT_EQ(png->pixels[0], 0x31102030u);
    EXPECT_EQ(png->pixels[1], 0x32405060u);

    auto jpg = Decode(fixtures::MakeJpeg(8, 8, std::vector<uint32_t>(64, 0x00808080u)), L".jpg");
    ASSERT_TRUE(jpg);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_TRUE(jpg->Bit(x, y));
    EXPECT_EQ(jpg->pixels[0] >> 24, 0xFFu);

    const uint32_t palette[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    std::vector<uint8_t> indices(16, 1);
    indices[5] = 0;
    indices[10] = 3;
    auto gif = Decode(fixtures::MakeGif(4, 4, palette, indices), L".gif");
    ASSERT_TRUE(gif);
    EXPECT_FALSE(gif->Bit(1, 1));
    EXPECT_TRUE(gif->Bit(0, 0));
    EXPECT_EQ(gif->pixels[0], 0xFFFF0000u);
    EXPECT_EQ(gif->pixels[10], 0xFF0000FFu);
}

TEST(ImageDecoders, BottomUpFilesDecodeUpright)
{
    // Top row opaque red, bottom row transparent green.
    const std::vector<uint32_t> pixels = {0xFFFF0000u, 0xFFFF0000u, 0x0000FF00u, 0x0000FF00u};
    auto tga = Decode(fixtures::MakeTga(2, 2, pixels), L".tga");
    ASSERT_TRUE(tga);
    EXPECT_EQ(tga->pixels, pixels);
    EXPECT_TRUE(tga->Bit(0, 0));
    EXPECT_FALSE(tga->Bit(0, 1));

    auto bmp = Decode(fixtures::MakeBmp(2, 2, pixels), L".bmp");
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->pixels[0], 0xFFFF0000u);
    EXPECT_EQ(bmp->pixels[2], 0xFF00FF00u);
}

TEST(ImageDecoders, DxtBlockAlpha)
{
    struct Case
    {
        int type;
        Bytes block;
        std::vector<int> alpha; // expected per texel; one value means all 16
    } cases[] = {
        // DXT1 three-colour (c0 <= c1), all indices 3: transparent.
        {render::ImageDataDDS::kTypeDXT1, {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0}},
        // Same indices in four-colour mode (c0 > c1): opaque.
        {render::ImageDataDDS::kTypeDXT1, {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, {255}},
        // DXT3 nibbles alternating 0 and 1: 0 and 17.
        {render::ImageDataDDS::kTypeDXT3, {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0, 0, 0, 0, 0, 0, 0, 0},
         {0, 17, 0, 17, 0, 17, 0, 17, 0, 17, 0, 17, 0, 17, 0, 17}},
        // DXT5 eight-value mode (200 > 0): indices 0, 1, 2, 7 -> 200, 0, 171, 28.
        {render::ImageDataDDS::kTypeDXT5, {200, 0, 0x88, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {200, 0, 171, 28, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200}},
        // DXT5 six-value mode (0 <= 200): indices 7, 2, 6, 1 -> 255, 40, 0, 200.
        {render::ImageDataDDS::kTypeDXT5, {0, 200, 0x97, 0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {255, 40, 0, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (auto& c : cases)
    {
        unsigned char alpha[16];
        render::ImageDataDDS::DecodeBlockAlpha(c.type, c.block.data(), alpha);
        for (int i = 0; i < 16; ++i)
        {
            const int expected = c.alpha.size() == 1 ? c.alpha[0] : c.alpha[size_t(i)];
            EXPECT_EQ(alpha[i], expected) << "type " << c.type << " texel " << i;
        }
    }
}

TEST(ImageDecoders, Dxt5PartialBlocksOfSixBySix)
{
    // 2x2 blocks; every block opaque except texel (1, 1) of each block, which uses index 7 of
    // the six-value palette (255) vs index 6 (0) elsewhere: the opposite pattern shows misplaced blocks.
    Bytes data;
    for (int b = 0; b < 4; ++b)
    {
        // a0 = 0, a1 = 200: index 6 -> 0 for every texel but texel 5 (index 7 -> 255).
        uint64_t bits = 0;
        for (int i = 0; i < 16; ++i)
            bits |= uint64_t(i == 5 ? 7 : 6) << (3 * i);
        data.push_back(0);
        data.push_back(200);
        for (int k = 0; k < 6; ++k)
            data.push_back(uint8_t(bits >> (8 * k)));
        data.insert(data.end(), 8, 0);
    }
    fixtures::DdsHeader h;
    h.width = h.height = 6;
    h.fourCC = "DXT5";
    auto d = Decode(fixtures::MakeDds(h, data), L".dds");
    ASSERT_TRUE(d);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(d->Bit(x, y), x % 4 == 1 && y % 4 == 1) << x << "," << y;
}

TEST(ImageDecoders, DdsRefusals)
{
    fixtures::DdsHeader ok;
    const Bytes pixels = fixtures::Argb32(std::vector<uint32_t>(16, 0xFF000000u));
    Bytes badMagic = fixtures::MakeDds(ok, pixels);
    badMagic[3] = 'X';
    Bytes shortHeader = fixtures::MakeDds(ok, {});
    shortHeader.resize(100);
    fixtures::DdsHeader dxt2 = ok;
    dxt2.fourCC = "DXT2";
    fixtures::DdsHeader rgb24 = ok;
    rgb24.bitCount = 24;
    rgb24.masks[3] = 0;
    fixtures::DdsHeader bgra = ok;
    std::swap(bgra.masks[0], bgra.masks[2]);
    fixtures::DdsHeader dxt1 = ok;
    dxt1.fourCC = "DXT1";
    fixtures::DdsHeader zero = ok;
    zero.width = 0;
    fixtures::DdsHeader huge = ok;
    huge.height = 16385;
    struct Case
    {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"bad magic", badMagic},
        {"short header", shortHeader},
        {"DXT2", fixtures::MakeDds(dxt2, Bytes(16 * 4))},
        {"24-bit", fixtures::MakeDds(rgb24, pixels)},
        {"other masks", fixtures::MakeDds(bgra, pixels)},
        {"short data", fixtures::MakeDds(ok, Bytes(pixels.begin(), pixels.end() - 1))},
        {"short DXT1 data", fixtures::MakeDds(dxt1, Bytes(7))},
        {"zero width", fixtures::MakeDds(zero, pixels)},
        {"16385 high", fixtures::MakeDds(huge, pixels)},
    };
    for (auto& c : cases)
    {
        base::MemoryStream stream(c.bytes.data(), c.bytes.size());
        EXPECT_FALSE(Create(stream, L".dds")) << c.name;
    }
    Bytes good = fixtures::MakeDds(dxt1, Bytes(8));
    base::MemoryStream goodStream(good.data(), good.size());
    EXPECT_TRUE(Create(goodStream, L".dds"));
}

TEST(ImageDecoders, DdsWithMipLevelsWritesLevelZeroOnlyWithinPitch)
{
    // 4x4 DXT1 with 3 levels (8 + 8 + 8 bytes) and trailing junk; pitch is one block row.
    fixtures::DdsHeader h;
    h.fourCC = "DXT1";
    h.mipCount = 3;
    Bytes data = {0xFF, 0xFF, 0, 0, 1, 2, 3, 4};
    data.insert(data.end(), 40, 0xAB);
    Bytes file = fixtures::MakeDds(h, data);
    base::MemoryStream stream(file.data(), file.size());
    auto d = Create(stream, L".dds");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->GetLevelCount(), 1);
    std::vector<unsigned char> dest(8 + 32, 0x5A);
    render::HitMask mask;
    ASSERT_EQ(d->Decode(8, dest.data(), &mask), HV_OK);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 8, dest.begin()));
    for (size_t i = 8; i < dest.size(); ++i)
        ASSERT_EQ(dest[i], 0x5A) << i;
    EXPECT_EQ(mask.GetBitCount(), 16u);

    // A 2x2 A8R8G8B8 picture honours a wider pitch and leaves the gaps alone.
    Bytes rgba = fixtures::MakeDds({2, 2}, fixtures::Argb32({1, 2, 3, 4, 5, 6, 7, 8}));
    base::MemoryStream s2(rgba.data(), rgba.size());
    auto d2 = Create(s2, L".dds");
    ASSERT_TRUE(d2);
    std::vector<uint32_t> out(6, 0x5A5A5A5Au);
    ASSERT_EQ(d2->Decode(12, out.data(), nullptr), HV_OK);
    EXPECT_EQ(out, (std::vector<uint32_t>{1, 2, 0x5A5A5A5Au, 3, 4, 0x5A5A5A5Au}));
    EXPECT_EQ(d2->Decode(4, out.data(), nullptr), HV_FAIL);
}

TEST(ImageDecoders, RawSizeClampsNonsense)
{
    EXPECT_EQ(render::ImageDataRaw::SizeFromFloat(-3.0f), 0);
    EXPECT_EQ(render::ImageDataRaw::SizeFromFloat(std::nanf("")), 0);
    EXPECT_EQ(render::ImageDataRaw::SizeFromFloat(1e20f), 2147483647);
    EXPECT_EQ(render::ImageDataRaw::SizeFromFloat(7.9f), 7);
    // A raw layer shorter than its rectangle fails rather than inventing pixels.
    const base::ImageInfo info = RawInfo(2, 2);
    EXPECT_FALSE(Decode(fixtures::Argb32({1, 2, 3}), L"", &info));
}

TEST(PictureCheck, RefusesCutAndLyingFilesPromptly)
{
    std::vector<uint32_t> pixels(64 * 64);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint32_t(i * 2654435761u);
    const Bytes png = fixtures::MakePng(64, 64, pixels);
    ASSERT_TRUE(render::CheckPictureStructure(render::PictureKind::Png, png.data(), png.size()));
    const auto start = std::chrono::steady_clock::now();
    for (int k = 1; k <= 10; ++k)
    {
        const size_t cut = png.size() * size_t(k) / 11;
        Bytes part(png.begin(), png.begin() + long(cut));
        EXPECT_FALSE(render::CheckPictureStructure(render::PictureKind::Png, part.data(), part.size())) << cut;
        EXPECT_FALSE(Decode(part, L".png")) << cut;
    }
    Bytes last(png.begin(), png.end() - 1);
    EXPECT_FALSE(Decode(last, L".png"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

    Bytes bmp = fixtures::MakeBmp(4, 4, std::vector<uint32_t>(16, 0xFF00FF00u));
    ASSERT_TRUE(Decode(bmp, L".bmp"));
    Bytes lying = bmp;
    lying[10] = 0xF0; // pixel data offset beyond the file
    lying[11] = 0x10;
    EXPECT_FALSE(Decode(lying, L".bmp"));
    Bytes cutBmp(bmp.begin(), bmp.end() - 3);
    EXPECT_FALSE(Decode(cutBmp, L".bmp"));

    const Bytes tga = fixtures::MakeTga(2, 2, {1, 2, 3, 4});
    struct Case
    {
        render::PictureKind kind;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {render::PictureKind::Tga, fixtures::MakeTga(2, 2, {1, 2, 3, 4}), true},
        {render::PictureKind::Tga, Bytes(tga.begin(), tga.end() - 1), false},
        {render::PictureKind::Gif, Bytes{'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0x87, 0, 0}, false},
        {render::PictureKind::Jpg, Bytes{0xFF, 0xD8}, true},
        {render::PictureKind::Jpg, Bytes{0xFF, 0xD9}, false},
        {render::PictureKind::Png, Bytes{}, false},
    };
    for (auto& c : cases)
        EXPECT_EQ(render::CheckPictureStructure(c.kind, c.bytes.data(), c.bytes.size()), c.ok);
}

// The picture library reads a colour table by its stated count for any depth
// a run-length header claims: the count and the depth must agree.
TEST(PictureCheck, BmpRunLengthNeedsItsOwnDepthAndTableSize)
{
    // 2 x 1, 8 bits, run-length: a table of two colours, one run of two, end.
    auto rle8 = [](uint16_t bits, uint32_t compression, uint32_t colours) {
        Bytes b{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0};
        auto put32 = [&b](uint32_t v) {
            for (int i = 0; i < 4; ++i)
                b.push_back(uint8_t(v >> (8 * i)));
        };
        auto put16 = [&b](uint16_t v) {
            b.push_back(uint8_t(v));
            b.push_back(uint8_t(v >> 8));
        };
        put32(40), put32(2), put32(1), put16(1), put16(bits), put32(compression), put32(4), put32(0), put32(0);
        put32(colours), put32(0);
        put32(0x000000FFu), put32(0x0000FF00u);
        b.insert(b.end(), {2, 1, 0, 1});
        return b;
    };
    struct Case
    {
        const char* what;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {"run-length 8 bits", rle8(8, 1, 2), true},
        {"run-length 8 claiming 24 bits", rle8(24, 1, 2), false},
        {"run-length 4 claiming 8 bits", rle8(8, 2, 2), false},
        {"257 colours", rle8(8, 1, 257), false},
        // Found by fuzzing: a 24-bit run-length header asking for a 2 GB table.
        {"24-bit run-length, 1.6 G colours",
         Bytes{0x42, 0x4D, 0x4E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00,
               0x28, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00,
               0x18, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x31, 0x00, 0x00, 0x00,
               0x00, 0x01, 0x47, 0x49, 0x46, 0x38, 0x37, 0x61, 0x00, 0x00, 0x03, 0x00, 0x00, 0x18,
               0x72, 0xFF},
         false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(render::CheckPictureStructure(render::PictureKind::Bmp, c.bytes.data(), c.bytes.size()), c.ok)
            << c.what;
        EXPECT_EQ(Decode(c.bytes, L".bmp").has_value(), c.ok) << c.what;
    }
    auto good = Decode(rle8(8, 1, 2), L".bmp");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->pixels[0], 0xFF00FF00u);
    EXPECT_EQ(good->pixels[1], 0xFF00FF00u);
}

// The picture library reads the colour table of a colour-mapped picture by the
// header's numbers even when the header says there is no table.
TEST(PictureCheck, TgaColourTablesReachableByTheirIndices)
{
    // 2 x 1, top-left origin, 8-bit indices into a table of `entries` 24-bit colours.
    auto mapped = [](uint8_t mapType, uint8_t imageType, uint16_t first, uint16_t entries, uint8_t indexBits) {
        Bytes b{0, mapType, imageType, uint8_t(first), uint8_t(first >> 8), uint8_t(entries), uint8_t(entries >> 8), 24,
                0, 0, 0, 0, 2, 0, 1, 0, indexBits, 0x20};
        for (uint16_t i = 0; i < entries; ++i)
            b.insert(b.end(), {uint8_t(i * 40), 0, uint8_t(255 - i * 40)}); // blue, green, red
        b.insert(b.end(), {1, 0});
        return b;
    };
    struct Case
    {
        const char* what;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {"two colours", mapped(1, 1, 0, 2, 8), true},
        {"mapped without a table", mapped(0, 1, 0, 2, 8), false},
        {"table of no colours", mapped(1, 1, 0, 0, 8), false},
        {"16-bit indices", mapped(1, 1, 0, 2, 16), false},
        {"table past index 255", mapped(1, 1, 255, 2, 8), false},
        // Found by fuzzing: run-length mapped, no table, a 4 GB allocation.
        {"run-length mapped without a table", Bytes{0x00, 0x00, 0x09, 0x04, 0x02, 0x47, 0x90, 0x10, 0x90, 0x90,
               0x90, 0x00, 0x02, 0x00, 0x00, 0x15, 0x0F, 0x0F, 0xC2, 0xE6}, false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(render::CheckPictureStructure(render::PictureKind::Tga, c.bytes.data(), c.bytes.size()), c.ok)
            << c.what;
        EXPECT_EQ(Decode(c.bytes, L".tga").has_value(), c.ok) << c.what;
    }
    auto good = Decode(mapped(1, 1, 0, 2, 8), L".tga");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->pixels[0], 0xFFD70028u) << std::hex << good->pixels[0]; // entry 1
    EXPECT_EQ(good->pixels[1], 0xFFFF0000u) << std::hex << good->pixels[1]; // entry 0
}

// The picture library allocates what the header claims: a side longer than a
// texture's is refused before it sees the bytes.
TEST(PictureCheck, RefusesSidesLongerThanATexture)
{
    using render::PictureKind;
    constexpr int kSide = int(render::kMaxPictureSide);
    auto pngWide = [](uint32_t width) {
        Bytes png = fixtures::MakePng(1, 1, {0xFF102030u});
        for (int i = 0; i < 4; ++i)
            png[16 + i] = uint8_t(width >> (24 - 8 * i));
        return png;
    };
    auto gif = [](uint32_t width, uint32_t height) {
        return Bytes{'G', 'I', 'F', '8', '9', 'a', uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                     uint8_t(height >> 8), 0, 0, 0};
    };
    auto jpgTall = [](uint32_t height) {
        Bytes jpg = fixtures::MakeJpeg(1, 1, {0xFF102030u});
        for (size_t i = 2; i + 9 <= jpg.size(); ++i)
            if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0)
            {
                jpg[i + 5] = uint8_t(height >> 8);
                jpg[i + 6] = uint8_t(height);
                return jpg;
            }
        ADD_FAILURE() << "no frame header";
        return jpg;
    };
    const std::vector<uint32_t> column(kSide + 1, 0xFF00FF00u);
    const std::vector<uint32_t> shortColumn(kSide, 0xFF00FF00u);
    struct Case
    {
        const char* what;
        PictureKind kind;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {"png at the limit", PictureKind::Png, pngWide(kSide), true},
        {"png beyond", PictureKind::Png, pngWide(kSide + 1), false},
        {"png beyond the int range", PictureKind::Png, pngWide(0x80000000u), false},
        {"bmp at the limit", PictureKind::Bmp, fixtures::MakeBmp(1, kSide, shortColumn), true},
        {"bmp beyond", PictureKind::Bmp, fixtures::MakeBmp(1, kSide + 1, column), false},
        {"tga at the limit", PictureKind::Tga, fixtures::MakeTga(1, kSide, shortColumn), true},
        {"tga beyond", PictureKind::Tga, fixtures::MakeTga(1, kSide + 1, column), false},
        {"gif at the limit", PictureKind::Gif, gif(kSide, 1), true},
        {"gif beyond", PictureKind::Gif, gif(1, kSide + 1), false},
        {"jpg at the limit", PictureKind::Jpg, jpgTall(kSide), true},
        {"jpg beyond", PictureKind::Jpg, jpgTall(kSide + 1), false},
        // Found by fuzzing: 33 bytes that asked for a 4 GB picture.
        {"gif 65,280 x 65,535", PictureKind::Gif,
         Bytes{'G', 'I', 'F', '8', '9', 'a', 0x00, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00,
               0x02, 0x00, 0x00, 0x00, 0x04, 0x44, 0xA8, 0x2E, 0x28, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x3B},
         false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(render::CheckPictureStructure(c.kind, c.bytes.data(), c.bytes.size()), c.ok) << c.what;
    EXPECT_FALSE(Decode(cases[std::size(cases) - 1].bytes, L".gif"));
    EXPECT_TRUE(Decode(fixtures::MakeBmp(1, kSide, shortColumn), L".bmp"));
}

// The picture library writes each frame into the screen without clipping it.
TEST(PictureCheck, GifFramesLieInsideTheScreenAndBlocksInsideTheFile)
{
    const uint32_t palette[4] = {0, 0xFF0000, 0x00FF00, 0x0000FF};
    const Bytes good = fixtures::MakeGif(3, 2, palette, {0, 1, 2, 3, 1, 0});
    // Header 13, global table 12, graphic control 8: the frame descriptor.
    constexpr size_t kFrame = 33;
    ASSERT_EQ(good[kFrame], 0x2C);
    auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + long(at));
        return b;
    };
    struct Case
    {
        const char* what;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {"as written", good, true},
        {"cut behind the frame", Bytes(good.begin(), good.end() - 1), true},
        {"frame one column right", with(kFrame + 1, {1, 0}), false},
        {"frame one row down", with(kFrame + 3, {1, 0}), false},
        {"frame wider than the screen", with(kFrame + 5, {4, 0}), false},
        {"frame of no rows", with(kFrame + 7, {0, 0}), false},
        {"local table past the end", with(kFrame + 9, {0x87}), false},
        {"code size 12", with(kFrame + 10, {12}), false},
        {"sub-block past the end", with(kFrame + 11, {0xFF}), false},
        {"unknown block", with(kFrame, {0x2B}), false},
        {"cut inside the frame data", Bytes(good.begin(), good.end() - 4), false},
        // Found by fuzzing: a frame at row 18,177 of a 3 x 2 screen.
        {"frame far outside", Bytes{'G',  'I',  'F',  '8',  '9',  'a',  0x03, 0x00, 0x02, 0x00, 0x81, 0x00, 0x00,
                                    0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x22, 0x00, 0x00, 0x00, 0xFF, 0x21,
                                    0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x01, 0x47, 0x49,
                                    0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x03, 0x00, 0x04, 0x00, 0x00, 0x00, 0x04,
                                    0x44, 0x1A, 0x00, 0x00, 0x03, 0x00, 0x02, 0x00, 0x00, 0x02, 0x04, 0x44, 0xA8,
                                    0x31, 0x28, 0x00, 0x3B, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x44, 0xA8, 0x31, 0x28,
                                    0x00, 0x3B},
         false},
        {"graphic control of 5 bytes", with(kFrame - 6, {5}), false},
        {"graphic control not ended", with(kFrame - 1, {1}), false},
        // Found by fuzzing: a graphic control that runs on as a 20-byte
        // sub-block hides an interlaced frame the library reads out of step.
        {"graphic control run on", Bytes{0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x02, 0x00, 0x81, 0x00, 0x00,
                                    0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x22, 0x00, 0x00, 0x00, 0xFF, 0x21,
                                    0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x14, 0x2C, 0x00, 0x00, 0x01, 0x47, 0x49,
                                    0x46, 0x38, 0x39, 0x61, 0x03, 0x00, 0x03, 0x00, 0x04, 0x00, 0x00, 0x00, 0x04,
                                    0x44, 0x1A, 0x00, 0x00, 0x03, 0x00, 0x02, 0x11, 0x20, 0x00, 0x00, 0x02, 0x04,
                                    0x44, 0xA8, 0x31, 0x28, 0x00, 0xBB, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x44, 0xA8,
                                    0x32, 0x28, 0x00, 0x3B},
         false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(render::CheckPictureStructure(render::PictureKind::Gif, c.bytes.data(), c.bytes.size()), c.ok)
            << c.what;
        if (!c.ok)
        {
            EXPECT_FALSE(Decode(c.bytes, L".gif")) << c.what;
        }
    }
    EXPECT_TRUE(Decode(good, L".gif"));
}

// The picture library's reader loops without end on a JPEG segment that runs
// past the end of the file; a file cut inside its scan data decodes or fails.
TEST(PictureCheck, JpegSegmentsLieInsideTheFile)
{
    std::vector<uint32_t> pixels(16 * 16);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    const Bytes jpg = fixtures::MakeJpeg(16, 16, pixels);
    size_t scan = 0; // the start-of-scan marker
    for (size_t i = 2; i + 1 < jpg.size() && !scan; ++i)
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xDA)
            scan = i;
    ASSERT_NE(scan, 0u);
    const size_t scanData = scan + 2 + (size_t(jpg[scan + 2]) << 8 | jpg[scan + 3]);
    auto cut = [&](size_t n) { return Bytes(jpg.begin(), jpg.begin() + long(n)); };
    struct Case
    {
        const char* what;
        Bytes bytes;
        bool ok;
    } cases[] = {
        {"as written", jpg, true},
        {"cut inside the scan data", cut((scanData + jpg.size()) / 2), true},
        {"cut inside the scan header", cut(scan + 5), false},
        {"cut inside the first segment", cut(8), false},
        {"cut inside a segment length", cut(5), false},
        {"segment length 1", Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x01, 0xFF, 0xD9}, false},
        {"stray bytes, then a whole segment", Bytes{0xFF, 0xD8, 0x01, 0x02, 0xFF, 0xE0, 0x00, 0x02, 0xFF, 0xD9},
         true},
        // Found by fuzzing: both kept the picture library busy for good.
        {"stray byte, then a segment of 65,535", Bytes{0xFF, 0xD8, 0x01, 0xFF, 0xE0, 0xFF, 0xFF, 0xFF, 0xFF, 0x49,
                                                      0x46, 0x00, 0x01, 0x01, 0x00, 0x47, 0x00, 0x01, 0x00, 0xFF,
                                                      0xFF},
         false},
        {"a segment of 32 in 20 bytes", Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x20, 0x10, 0x40, 0x00, 0x00, 0x00,
                                             0x00, 0x01, 0x01, 0x01, 0x47, 0x46, 0x49, 0x38, 0x01},
         false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(render::CheckPictureStructure(render::PictureKind::Jpg, c.bytes.data(), c.bytes.size()), c.ok)
            << c.what;
        const bool decoded = Decode(c.bytes, L".jpg").has_value();
        if (!c.ok)
        {
            EXPECT_FALSE(decoded) << c.what;
        }
    }
    EXPECT_TRUE(Decode(jpg, L".jpg"));
}

TEST(ImageDecoders, DevilStateSurvivesFailuresAndUndecodedPictures)
{
    const Bytes png = fixtures::MakePng(2, 1, {0xFF102030u, 0xFF405060u});
    {
        // Loaded but never decoded (as when texture creation fails): the destructor cleans up.
        base::MemoryStream stream(png.data(), png.size());
        auto undecoded = Create(stream, L".png");
        ASSERT_TRUE(undecoded);
    }
    Bytes broken = png;
    broken[20] ^= 0xFF; // IHDR data damaged: DevIL itself refuses
    EXPECT_FALSE(Decode(broken, L".png"));
    EXPECT_FALSE(Decode(Bytes{'G', 'I', 'F'}, L".gif"));
    for (int i = 0; i < 3; ++i)
    {
        auto d = Decode(png, L".png");
        ASSERT_TRUE(d);
        EXPECT_EQ(d->pixels[1], 0xFF405060u);
    }
}
