// Pictures decoded on the pool's threads come back exactly as the decoder
// writes them on the caller's thread, failures included, and a pool that
// goes with work left joins its threads.
#include "PictureFixtures.h"
#include "RecordingRender.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/LookupMiss.h"
#include "Core/Base/MemoryStream.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/Image.h"
#include "Core/Render/ImageData.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/PictureDecodePool.h"
#include "Core/Resource/ResourceTexture.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
using fixtures::Bytes;

constexpr unsigned kThreads = 3;

// What a decoder writes into texture memory of the given pitch.
struct Written
{
    int32_t width = 0, height = 0, type = 0, levels = 0, decodedSize = 0;
    HVResultEnum result = HV_FAIL;
    std::vector<unsigned char> rows;
    std::vector<uint8_t> mask;
    bool operator==(const Written&) const = default;
};

Written Write(render::ImageData& picture, uint32_t pitch, uint32_t rows)
{
    Written w;
    w.width = picture.GetWidth();
    w.height = picture.GetHeight();
    w.type = picture.GetType();
    w.levels = picture.GetLevelCount();
    w.decodedSize = picture.GetDecodedSize();
    w.rows.assign(size_t(pitch) * rows, 0xAB);
    render::HitMask mask;
    mask.Resize(uint32_t(w.width * w.height));
    w.result = picture.Decode(pitch, w.rows.data(), &mask);
    w.mask = mask.GetBytes();
    return w;
}

struct Picture
{
    std::string what;
    Bytes bytes;
    std::wstring extension;
    base::ImageInfo info;
    uint32_t pitch = 0, rows = 0; // the texture memory written into; wider than the picture
};

base::ImageInfo RawLayer(float w, float h)
{
    base::ImageInfo info;
    info.documentLayer = true;
    info.w = w;
    info.h = h;
    return info;
}

std::vector<uint32_t> Gradient(int w, int h, uint32_t seed)
{
    std::vector<uint32_t> argb(size_t(w) * size_t(h));
    for (size_t i = 0; i < argb.size(); ++i)
        argb[i] = (uint32_t(i * 37 + seed) & 0xFFu) << 24 | uint32_t(i * 2654435761u + seed) >> 8;
    return argb;
}

// Every decoder, and pictures each refuses.
std::vector<Picture> Pictures()
{
    const uint32_t palette[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    Bytes png = fixtures::MakePng(5, 3, Gradient(5, 3, 1));
    Bytes cut(png.begin(), png.begin() + 30);
    std::vector<Picture> pictures = {
        {"png", png, L".png", {}, 5 * 4 + 8, 3},
        {"jpeg", fixtures::MakeJpeg(8, 8, Gradient(8, 8, 2)), L".jpg", {}, 8 * 4, 8},
        {"bmp", fixtures::MakeBmp(3, 2, Gradient(3, 2, 3)), L".bmp", {}, 3 * 4, 2},
        {"tga", fixtures::MakeTga(3, 2, Gradient(3, 2, 4)), L".tga", {}, 3 * 4 + 4, 2},
        {"gif", fixtures::MakeGif(4, 4, palette, std::vector<uint8_t>{0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0}),
         L".gif", {}, 4 * 4, 4},
        {"dds", fixtures::MakeDds({2, 2}, fixtures::Argb32(Gradient(2, 2, 5))), L".dds", {}, 2 * 4, 2},
        {"document layer", fixtures::Argb32(Gradient(2, 3, 6)), L"", RawLayer(2, 3), 2 * 4, 3},
        {"cut png", cut, L".png", {}, 5 * 4, 3},
        {"png named jpeg", png, L".jpg", {}, 5 * 4, 3},
        {"unknown extension", png, L".xyz", {}, 5 * 4, 3},
        {"empty", {}, L".png", {}, 4, 1},
    };
    // Enough large pictures that the threads decode side by side.
    for (uint32_t i = 0; i < 12; ++i)
        pictures.push_back({"large png " + std::to_string(i), fixtures::MakePng(64, 48, Gradient(64, 48, i)), L".png",
                            {}, 64 * 4, 48});
    return pictures;
}

// The serial way: the decoder reads the bytes and writes the texture memory on this thread.
std::optional<Written> DecodeHere(const Picture& p)
{
    base::MemoryStream stream(p.bytes.data(), p.bytes.size());
    std::unique_ptr<render::ImageData> picture(
        render::ImageLoader::Instance()->CreateImageData(&stream, p.extension.c_str(), &p.info));
    if (!picture)
        return std::nullopt;
    return Write(*picture, p.pitch, p.rows);
}

std::wstring Key(const Picture& p) { return std::wstring(p.what.begin(), p.what.end()); }

TEST(PictureDecodePool, PicturesComeBackAsTheDecoderWritesThemHere)
{
    const std::vector<Picture> pictures = Pictures();
    for (unsigned threads : {0u, 1u, kThreads})
    {
        render::PictureDecodePool pool(threads);
        for (const Picture& p : pictures)
            pool.Submit(Key(p), p.bytes, p.extension, p.info);
        // Taken in reverse: some are still queued, some decoding, some done.
        for (auto p = pictures.rbegin(); p != pictures.rend(); ++p)
        {
            const std::string what = p->what + " on " + std::to_string(threads) + " threads";
            auto taken = pool.Take(Key(*p));
            ASSERT_TRUE(taken.has_value()) << what;
            const std::optional<Written> here = DecodeHere(*p);
            ASSERT_EQ(*taken != nullptr, here.has_value()) << what << ": refused alike";
            if (!here)
                continue;
            EXPECT_EQ(Write(**taken, p->pitch, p->rows), *here) << what;
            EXPECT_EQ(here->result, HV_OK) << what;
        }
    }
}

TEST(PictureDecodePool, EachKeyIsTakenOnceAndTheFirstSubmissionHolds)
{
    render::PictureDecodePool pool(kThreads);
    const Bytes white = fixtures::MakePng(1, 1, {0xFFFFFFFFu});
    const Bytes black = fixtures::MakePng(1, 1, {0xFF000000u});
    EXPECT_FALSE(pool.Take(L"never queued").has_value());
    pool.Submit(L"dot", white, L".png", {});
    pool.Submit(L"dot", black, L".png", {});
    EXPECT_TRUE(pool.Contains(L"dot"));
    auto taken = pool.Take(L"dot");
    ASSERT_TRUE(taken.has_value() && *taken);
    EXPECT_EQ(Write(**taken, 4, 1).rows, (std::vector<unsigned char>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(pool.Contains(L"dot"));
    EXPECT_FALSE(pool.Take(L"dot").has_value()) << "a key is handed out once";
}

TEST(PictureDecodePool, APoolGoingWithWorkLeftJoinsItsThreads)
{
    const Bytes large = fixtures::MakePng(256, 256, Gradient(256, 256, 7));
    for (int round = 0; round < 5; ++round)
    {
        render::PictureDecodePool pool(kThreads);
        for (int i = 0; i < 40; ++i)
            pool.Submit(L"picture " + std::to_wstring(i), large, L".png", {});
        if (round % 2)
        {
            ASSERT_TRUE(pool.Take(L"picture 39").value());
        }
        // Leaving the scope: queued pictures are dropped, running ones end, the threads join.
    }
    // The decoder still works on this thread afterwards.
    EXPECT_TRUE(DecodeHere({"after", large, L".png", {}, 256 * 4, 256}).has_value());
}

// Keeps what the decoder wrote, for comparing textures.
class KeptTexture : public rendertest::FakeTexture
{
public:
    explicit KeptTexture(render::Render* render) : FakeTexture(render) {}
    HVResultEnum CreateFromImage(render::ImageData* image) override
    {
        written = Write(*image, uint32_t(image->GetWidth()) * 4, uint32_t(image->GetHeight()));
        return written.result;
    }
    Written written;
};

class KeepingRender : public rendertest::RecordingRender
{
public:
    HVResultEnum CreateTexture(render::Texture** out) override
    {
        *out = new KeptTexture(this);
        return HV_OK;
    }
};

std::string Str(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::vector<std::wstring>& Misses()
{
    static std::vector<std::wstring> misses;
    return misses;
}

void RecordMiss(base::LookupMissKind kind, const std::wstring& name)
{
    Misses().push_back(std::wstring(base::LookupMissKindName(kind)) + L" " + name);
}

TEST(PictureDecodePool, TexturesLoadedFromQueuedPicturesMatchTheirSerialLoad)
{
    hvtest::TempFolder folder;
    hvtest::CurrentDirectory cwd(folder.Folder());
    const Bytes png = fixtures::MakePng(3, 2, Gradient(3, 2, 8));
    folder.Write("logo.png", Str(png));
    folder.Write("sheet/layers.xml", "<Layers>"
                                     "<Layer name=\"walk/a\" x=\"0\" y=\"0\" width=\"2\" height=\"2\" atlas=\"atlas.png\""
                                     " tu1=\"0\" tv1=\"0\" tu2=\"0.5\" tv2=\"1\"/>"
                                     "<Layer name=\"walk/b\" x=\"0\" y=\"0\" width=\"2\" height=\"2\" atlas=\"atlas.png\""
                                     " tu1=\"0.5\" tv1=\"0\" tu2=\"1\" tv2=\"1\"/>"
                                     "<Layer name=\"cut\" x=\"0\" y=\"0\" width=\"3\" height=\"2\"/>"
                                     "<Layer name=\"good\" x=\"1\" y=\"2\" width=\"3\" height=\"2\"/>"
                                     "</Layers>");
    folder.Write("sheet/atlas.png", Str(fixtures::MakePng(4, 2, Gradient(4, 2, 9))));
    folder.Write("sheet/cut.png", Str(Bytes(png.begin(), png.begin() + 25)));
    folder.Write("sheet/good.png", Str(png));
    std::unique_ptr<file::ImageContainer> sheet(file::FileManager::Instance()->OpenImageContainer(L"sheet"));
    ASSERT_TRUE(sheet);

    struct Load
    {
        const wchar_t* name;
        bool layer;
    };
    const Load loads[] = {{L"logo.png", false}, {L"walk/a", true}, {L"walk/b", true},
                          {L"cut", true},       {L"good", true},   {L"missing", true}};
    // Loaded twice: as the pool hands them over, then decoded here.
    std::vector<std::pair<HVResultEnum, Written>> results[2];
    std::vector<std::wstring> misses[2];
    base::SetLookupMissObserver(&RecordMiss);
    for (int pass = 0; pass < 2; ++pass)
    {
        KeepingRender render;
        render::PictureDecodePool pool(kThreads);
        if (pass == 0)
        {
            for (const Load& load : loads)
                resource::ResourceTexture::QueuePicture(load.name, load.layer ? sheet.get() : nullptr, pool);
            EXPECT_TRUE(Misses().empty()) << "queueing reports nothing; the load does";
            Misses().clear();
            EXPECT_TRUE(pool.Contains(L"sheet/atlas.png")) << "the atlas of its parts";
            EXPECT_TRUE(pool.Contains(sheet->GetRootPath() + L"good"));
            render.SetDecodePool(&pool);
        }
        std::vector<render::Image*> images;
        for (const Load& load : loads)
        {
            render::Image* image = nullptr;
            const HVResultEnum result = render.LoadTexture(load.name, load.layer ? sheet.get() : nullptr, &image, nullptr);
            Written written;
            if (image)
            {
                images.push_back(image);
                if (auto* texture = static_cast<KeptTexture*>(image->GetTexture()))
                    written = texture->written;
            }
            results[pass].push_back({result, written});
        }
        if (pass == 0)
        {
            for (const Load& load : loads)
                EXPECT_FALSE(pool.Contains(load.layer ? sheet->GetRootPath() + load.name : load.name));
            EXPECT_FALSE(pool.Contains(L"sheet/atlas.png")) << "taken by the parts' load";
        }
        for (render::Image* image : images)
        {
            image->Release();
            delete image;
        }
        misses[pass] = Misses();
        Misses().clear();
    }
    base::SetLookupMissObserver(nullptr);
    EXPECT_EQ(misses[0], misses[1]);
    EXPECT_FALSE(misses[1].empty());
    ASSERT_EQ(results[0].size(), std::size(loads));
    for (size_t i = 0; i < std::size(loads); ++i)
    {
        EXPECT_EQ(results[0][i].first, results[1][i].first) << i;
        EXPECT_EQ(results[0][i].second, results[1][i].second) << i;
    }
    EXPECT_EQ(results[1][0].first, HV_OK);
    EXPECT_EQ(results[1][3].first, HV_FAIL) << "the cut layer";
}
} // namespace
