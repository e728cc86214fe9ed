#include "Core/Video/TheoraVideo.h"

#include "../File/FileTestSupport.h"
#include "FakeTarget.h"
#include "tools/make_video/VideoWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ogg/ogg.h>
#include <png.h>

#include <cmath>
#include <filesystem>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace
{
using hvtest::Blue;
using hvtest::FakeTarget;
using hvtest::Green;
using hvtest::Red;
using video::TheoraVideo;
using videowriter::OggFile;
using videowriter::Options;

constexpr uint32_t kSize = 64;

struct CountingListener : video::TheoraVideoListener
{
    void OnVideoFinished(TheoraVideo* video) override
    {
        ++finished;
        last = video;
    }
    int finished = 0;
    TheoraVideo* last = nullptr;
};

// Every test has the 8-frame 64 x 64 pattern video at 25 fps as "v.ogv".
class TheoraVideoTest : public hvtest::DataRootTest
{
protected:
    void SetUp() override
    {
        DataRootTest::SetUp();
        Write("v.ogv");
    }

    OggFile Write(const std::string& name, const Options& options = Options())
    {
        OggFile file;
        std::string error;
        EXPECT_TRUE(videowriter::WriteVideo(options, &file, &error)) << error;
        dir.Write(name, file.bytes);
        return file;
    }

    // The frame index shown by the index band.
    static uint32_t ShownIndex(const FakeTarget& target) { return videowriter::IndexFromLuma(Green(target.At(8, 8))); }

    // Plays to the end in frame-long steps; every step returns 0 or 1.
    static void PlayToEnd(TheoraVideo& video, CountingListener& listener, FakeTarget* target)
    {
        for (int i = 0; i < 400 && listener.finished == 0; ++i)
        {
            const int result = video.Update(0.04f, target);
            ASSERT_TRUE(result == 0 || result == 1) << result;
        }
        EXPECT_EQ(listener.finished, 1);
    }

    CountingListener listener;
    TheoraVideo video{&listener};
    FakeTarget target{kSize, kSize, true};
};

TEST_F(TheoraVideoTest, DecodesDueFramesAndConvertsOnlyTheLast)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    EXPECT_EQ(video.GetWidth(), kSize);
    EXPECT_EQ(video.GetHeight(), kSize);

    EXPECT_EQ(video.Update(0.1f, &target), 0); // due 2: frames 0 and 1
    EXPECT_EQ(target.locks, 1);
    EXPECT_EQ(target.unlocks, 1);
    EXPECT_EQ(ShownIndex(target), 1u);

    EXPECT_EQ(video.Update(0.04f, &target), 0);
    EXPECT_EQ(target.locks, 2);
    EXPECT_EQ(ShownIndex(target), 2u);

    EXPECT_EQ(video.Update(0.01f, &target), 0); // not due yet
    EXPECT_EQ(target.locks, 2);
    EXPECT_TRUE(target.GuardIntact());
    EXPECT_EQ(listener.finished, 0);
}

TEST_F(TheoraVideoTest, LongUpdateConvertsOnlyTheLastDueFrame)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    EXPECT_EQ(video.Update(0.25f, &target), 0); // due 6
    EXPECT_EQ(target.locks, 1);
    EXPECT_EQ(ShownIndex(target), 5u);
}

TEST_F(TheoraVideoTest, PictureIsUprightWithItsColours)
{
    for (const videowriter::Chroma chroma : {videowriter::Chroma::k420, videowriter::Chroma::k444})
    {
        Options options;
        options.chroma = chroma;
        Write("v.ogv", options);
        TheoraVideo video(&listener);
        ASSERT_EQ(video.Open(L"v.ogv"), 0);
        FakeTarget target(kSize, kSize, true);
        ASSERT_EQ(video.Update(0.04f, &target), 0);
        const int index = static_cast<int>(videowriter::IndexLuma(0));
        EXPECT_NEAR(Green(target.At(8, 8)), index, 3);
        // Red on the left, blue on the right: (254, 0, 0) and (0, 1, 251).
        const uint32_t left = target.At(8, 24), right = target.At(kSize - 8, 24);
        EXPECT_NEAR(Red(left), 254, 3);
        EXPECT_NEAR(Green(left), 0, 3);
        EXPECT_NEAR(Blue(left), 0, 3);
        EXPECT_NEAR(Red(right), 0, 3);
        EXPECT_NEAR(Green(right), 1, 3);
        EXPECT_NEAR(Blue(right), 251, 3);
        EXPECT_NEAR(Green(target.At(8, kSize / 2 + 4)), videowriter::kMiddleLuma, 3);
        EXPECT_NEAR(Green(target.At(8, kSize - 8)), videowriter::kDarkLuma, 3);
        EXPECT_EQ(target.At(8, 8) >> 24, 0xFFu);
    }
}

TEST_F(TheoraVideoTest, UnlockableTargetGetsWholePicturesThroughUpload)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    FakeTarget small(32, 32, false);
    ASSERT_EQ(video.Update(0.04f, &small), 0);
    EXPECT_EQ(small.uploads, 1);
    EXPECT_EQ(small.locks, 0);
    EXPECT_EQ(ShownIndex(small), 0u);
    EXPECT_TRUE(small.GuardIntact());
    // A bigger picture next: the buffer grows (Upload reads all of it).
    FakeTarget big(kSize * 2, kSize * 2, false);
    ASSERT_EQ(video.Update(0.04f, &big), 0);
    EXPECT_EQ(big.uploads, 1);
    EXPECT_EQ(ShownIndex(big), 1u);
    EXPECT_NEAR(Green(big.At(8, kSize - 8)), videowriter::kDarkLuma, 3);
    EXPECT_TRUE(big.GuardIntact());
}

TEST_F(TheoraVideoTest, SmallerLockedTargetIsNotOverrun)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    FakeTarget target(16, 24, true);
    ASSERT_EQ(video.Update(0.04f, &target), 0);
    EXPECT_TRUE(target.GuardIntact());
    EXPECT_NEAR(Red(target.At(8, 20)), 254, 3);
}

TEST_F(TheoraVideoTest, TargetFailuresAreReturned)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    FakeTarget locked(kSize, kSize, true);
    locked.lockResult = HV_FAIL;
    EXPECT_EQ(video.Update(0.04f, &locked), 1);
    FakeTarget uploaded(kSize, kSize, false);
    uploaded.uploadResult = HV_FAIL;
    EXPECT_EQ(video.Update(0.04f, &uploaded), 1);
}

TEST_F(TheoraVideoTest, UpdateBeforeOpenDoesNothing)
{
    EXPECT_EQ(video.Update(10.0f, &target), 0);
    EXPECT_EQ(target.locks, 0);
    EXPECT_EQ(listener.finished, 0);
    EXPECT_EQ(video.GetWidth(), 0u);
}

TEST_F(TheoraVideoTest, ListenerIsToldOnceAtTheEnd)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    EXPECT_EQ(video.Update(0.3f, &target), 0); // frames 0..6
    EXPECT_EQ(ShownIndex(target), 6u);
    EXPECT_EQ(video.Update(0.04f, &target), 0); // frame 7, the last
    EXPECT_EQ(ShownIndex(target), 7u);
    EXPECT_EQ(listener.finished, 0);
    EXPECT_EQ(video.Update(0.04f, &target), 0);
    EXPECT_EQ(listener.finished, 1);
    EXPECT_EQ(listener.last, &video);
    const int locks = target.locks;
    EXPECT_EQ(video.Update(1.0f, &target), 0);
    EXPECT_EQ(listener.finished, 1);
    EXPECT_EQ(target.locks, locks);
}

TEST_F(TheoraVideoTest, ListenerMayDeleteThePlayer)
{
    struct Deleter : video::TheoraVideoListener
    {
        void OnVideoFinished(TheoraVideo* video) override
        {
            EXPECT_EQ(video, owned);
            delete owned;
            owned = nullptr;
        }
        TheoraVideo* owned = nullptr;
    } deleter;
    Write("v.ogv");
    deleter.owned = new TheoraVideo(&deleter);
    ASSERT_EQ(deleter.owned->Open(L"v.ogv"), 0);
    EXPECT_EQ(deleter.owned->Update(100.0f, &target), 0);
    EXPECT_EQ(deleter.owned, nullptr);
}

TEST_F(TheoraVideoTest, PlaysToTheEndWithoutListener)
{
    Write("v.ogv");
    TheoraVideo video(nullptr);
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    FakeTarget target(kSize, kSize, true);
    EXPECT_EQ(video.Update(100.0f, &target), 0);
    EXPECT_EQ(video.Update(100.0f, &target), 0);
}

TEST_F(TheoraVideoTest, CloseIsIdempotent)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    FakeTarget target(kSize, kSize, false);
    ASSERT_EQ(video.Update(0.04f, &target), 0);
    video.Close();
    video.Close();
    EXPECT_EQ(video.Update(1.0f, &target), 0);
    EXPECT_EQ(target.uploads, 1);
    EXPECT_EQ(listener.finished, 0);
    // The destructor closes once more.
}

TEST_F(TheoraVideoTest, SecondOpenRestartsTheTiming)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    ASSERT_EQ(video.Update(0.2f, &target), 0);
    EXPECT_EQ(ShownIndex(target), 4u);
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    ASSERT_EQ(video.Update(0.04f, &target), 0);
    EXPECT_EQ(ShownIndex(target), 0u);
    // And again after the end.
    ASSERT_EQ(video.Update(100.0f, &target), 0);
    EXPECT_EQ(listener.finished, 1);
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    ASSERT_EQ(video.Update(0.1f, &target), 0);
    EXPECT_EQ(ShownIndex(target), 1u);
}

TEST_F(TheoraVideoTest, FailedOpenWhilePlayingEndsAtTheNextUpdate)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    ASSERT_EQ(video.Update(0.04f, &target), 0);
    EXPECT_EQ(video.Open(L"missing.ogv"), 1);
    EXPECT_EQ(listener.finished, 0);
    EXPECT_EQ(video.Update(0.04f, &target), 0);
    EXPECT_EQ(listener.finished, 1);
    EXPECT_EQ(video.Update(0.04f, &target), 0);
    EXPECT_EQ(listener.finished, 1);
}

TEST_F(TheoraVideoTest, BadFrameTimesAreHarmless)
{
    ASSERT_EQ(video.Open(L"v.ogv"), 0);
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), -1.0f};
    for (const float seconds : bad)
        EXPECT_EQ(video.Update(seconds, &target), 0);
    EXPECT_EQ(target.locks, 0);
    // The clock was not poisoned: back from -1 s to 0, then one frame.
    EXPECT_EQ(video.Update(1.0f, &target), 0);
    EXPECT_EQ(target.locks, 0);
    EXPECT_EQ(video.Update(0.04f, &target), 0);
    EXPECT_EQ(target.locks, 1);
    // Beyond 32 bits of frames: the count is clamped and the video just ends.
    EXPECT_EQ(video.Update(1e30f, &target), 0);
    EXPECT_EQ(listener.finished, 1);
}

std::string RandomBytes(size_t count, uint32_t seed)
{
    std::string bytes(count, '\0');
    for (char& b : bytes)
    {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<char>(seed >> 24);
    }
    return bytes;
}

OggFile MakeVideo(const Options& options = Options())
{
    OggFile file;
    std::string error;
    EXPECT_TRUE(videowriter::WriteVideo(options, &file, &error)) << error;
    return file;
}

TEST_F(TheoraVideoTest, OpenFailures)
{
    const OggFile good = MakeVideo();
    ASSERT_GE(good.pageEnds.size(), 3u);
    ASSERT_GT(good.dataStart, good.pageEnds[0]);
    Options zeroNumerator, zeroDenominator;
    zeroNumerator.zeroFpsNumerator = true;
    zeroDenominator.zeroFpsDenominator = true;
    struct Case
    {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"random", RandomBytes(20000, 7)},
        {"not theora", videowriter::WriteNonTheora().bytes},
        {"first page only", good.bytes.substr(0, good.pageEnds[0])},
        {"second page only", good.bytes.substr(0, good.pageEnds[1])},
        {"headers cut short", good.bytes.substr(0, good.dataStart - 1)},
        {"zero numerator", MakeVideo(zeroNumerator).bytes},
        {"zero denominator", MakeVideo(zeroDenominator).bytes},
    };
    for (const Case& c : cases)
    {
        // The second page may still hold all three headers: then it opens.
        const bool headersComplete = std::string(c.name) == "second page only" && good.pageEnds[1] == good.dataStart;
        dir.Write("bad.ogv", c.bytes);
        CountingListener told;
        TheoraVideo video(&told);
        EXPECT_EQ(video.Open(L"bad.ogv"), headersComplete ? 0 : 1) << c.name;
        FakeTarget target(kSize, kSize, true);
        EXPECT_EQ(video.Update(1.0f, &target), 0) << c.name;
        EXPECT_EQ(target.locks, 0) << c.name;
        EXPECT_EQ(told.finished, headersComplete ? 1 : 0) << c.name;
    }
    EXPECT_EQ(video.Open(L"missing.ogv"), 1);
    EXPECT_EQ(video.Update(1.0f, nullptr), 0);
    EXPECT_EQ(listener.finished, 0);
}

TEST_F(TheoraVideoTest, SecondLogicalStreamIsSkipped)
{
    Options options;
    options.secondStream = true;
    Write("two.ogv", options);
    TheoraVideo video(&listener);
    ASSERT_EQ(video.Open(L"two.ogv"), 0);
    FakeTarget target(kSize, kSize, true);
    ASSERT_EQ(video.Update(0.3f, &target), 0);
    EXPECT_EQ(ShownIndex(target), 6u);
    PlayToEnd(video, listener, &target);
}

// Pages after the headers with bytes flipped (checksums mended so the damage
// reaches the decoder), and files cut anywhere in the data.
TEST_F(TheoraVideoTest, DamagedDataNeverCrashesAndStillEnds)
{
    Options options;
    options.frames = 12;
    const OggFile good = MakeVideo(options);
    const size_t dataBytes = good.bytes.size() - good.dataStart;
    ASSERT_GT(dataBytes, 100u);
    std::vector<std::string> damaged;
    for (int i = 1; i <= 10; ++i)
        damaged.push_back(good.bytes.substr(0, good.dataStart + dataBytes * size_t(i) / 11 + size_t(i)));
    size_t pageStart = 0;
    int flipped = 0;
    for (size_t p = 0; p < good.pageEnds.size() && flipped < 10; pageStart = good.pageEnds[p++])
    {
        if (pageStart < good.dataStart)
            continue;
        std::string bytes = good.bytes;
        unsigned char* page = reinterpret_cast<unsigned char*>(&bytes[pageStart]);
        const size_t headerLength = 27 + size_t(page[26]);
        const size_t bodyLength = good.pageEnds[p] - pageStart - headerLength;
        if (bodyLength == 0)
            continue;
        for (size_t k = 0; k < 4; ++k)
            page[headerLength + (k * 7919 + size_t(flipped) * 31) % bodyLength] ^= 0x5A;
        ogg_page view{page, long(headerLength), page + headerLength, long(bodyLength)};
        ogg_page_checksum_set(&view);
        damaged.push_back(bytes);
        ++flipped;
    }
    for (size_t i = 0; i < damaged.size(); ++i)
    {
        dir.Write("damaged.ogv", damaged[i]);
        CountingListener told;
        TheoraVideo video(&told);
        ASSERT_EQ(video.Open(L"damaged.ogv"), 0) << i;
        FakeTarget target(kSize, kSize, i % 2 == 0);
        PlayToEnd(video, told, &target);
        EXPECT_TRUE(target.GuardIntact()) << i;
    }
}

void WritePng(const std::string& path, uint32_t width, uint32_t height, const uint8_t rgb[3])
{
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = rgb[i % 3];
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGB;
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr)) << image.message;
}

TEST_F(TheoraVideoTest, VideoFromPngFramesKeepsFlatColours)
{
    const uint8_t colours[][3] = {{200, 60, 40}, {30, 140, 220}, {90, 200, 90}};
    std::filesystem::create_directories(dir.Folder() / "frames");
    for (int k = 0; k < 3; ++k)
        WritePng(dir.File("frames/f" + std::to_string(k) + ".png"), 48, 32, colours[k]);
    Options options;
    options.pngFolder = dir.File("frames");
    Write("png.ogv", options);
    TheoraVideo video(&listener);
    ASSERT_EQ(video.Open(L"png.ogv"), 0);
    EXPECT_EQ(video.GetWidth(), 48u);
    EXPECT_EQ(video.GetHeight(), 32u);
    FakeTarget target(48, 32, true);
    for (int k = 0; k < 3; ++k)
    {
        ASSERT_EQ(video.Update(0.04f, &target), 0);
        const uint32_t pixel = target.At(20, 12);
        EXPECT_NEAR(Red(pixel), colours[k][0], 3) << k;
        EXPECT_NEAR(Green(pixel), colours[k][1], 3) << k;
        EXPECT_NEAR(Blue(pixel), colours[k][2], 3) << k;
    }
    PlayToEnd(video, listener, &target);
}
} // namespace
