// Robustness: a full-featured document, truncated at every offset and with
// every length and count field damaged in turn, must always end with a status.

#include <thread>

#include <gtest/gtest.h>

#include "PsdTestSupport.h"

using namespace psdtest;

namespace {

constexpr size_t kBudget = size_t(64) << 20;

void LoadAndFree(const Bytes& bytes, psdr_load_tag tag = 0) {
    psdr_image* out = nullptr;
    psdr_status s = Load(bytes, &out, tag, kBudget);
    if (s == PSDR_OK) {
        ASSERT_NE(out, nullptr);
        psdr_free(out);
    } else {
        ASSERT_EQ(out, nullptr);
    }
}

}  // namespace

TEST(PsdSweep, FullFeaturedDocumentLoads) {
    Image img;
    ASSERT_EQ(Load(FullFeaturedDocument().Bytes_(), &img.p), PSDR_OK);
    ASSERT_EQ(img->layer_count, 7);
    EXPECT_EQ(img->pattern_count, 2);
    EXPECT_NE(img->thumbnail_pixels, nullptr);
    EXPECT_EQ(img->alpha_channel_count, 1);
    EXPECT_EQ(img->layers[2].parent, &img->layers[6]);
    EXPECT_EQ(img->layers[3].layer_id, 9);
    EXPECT_NE(img->layers[2].user_mask, nullptr);
    EXPECT_NE(img->layers[4].user_mask, nullptr);
    EXPECT_EQ(img->layers[5].type, 13);
    EXPECT_EQ(img->layers[5].extra_count, 3);
    EXPECT_EQ(img->layers[3].extra_kinds[0], PSDR_EXTRA_EFFECTS_LFX2);
}

// Loads share no state: two threads decoding at once get what one thread gets.
TEST(PsdSweep, ConcurrentLoadsDoNotInterfere) {
    const Bytes doc = FullFeaturedDocument().Bytes_();
    Image reference;
    ASSERT_EQ(Load(doc, &reference.p), PSDR_OK);
    const std::vector<uint32_t> want = PixelsOf(reference->layers[3]);
    bool same[2] = {false, false};
    auto work = [&](int slot) {
        bool ok = true;
        for (int i = 0; i < 20 && ok; ++i) {
            psdr_image* img = nullptr;
            ok = Load(doc, &img) == PSDR_OK && PixelsOf(img->layers[3]) == want && img->pattern_count == 2;
            if (img) psdr_free(img);
        }
        same[slot] = ok;
    };
    std::thread a(work, 0), b(work, 1);
    a.join();
    b.join();
    EXPECT_TRUE(same[0]);
    EXPECT_TRUE(same[1]);
}

TEST(PsdSweep, TruncatedAtEveryOffset) {
    const Bytes full = FullFeaturedDocument().Bytes_();
    for (size_t n = 1; n < full.size(); ++n) {
        Bytes cut(full.begin(), full.begin() + long(n));
        LoadAndFree(cut);
        if (::testing::Test::HasFatalFailure()) FAIL() << "cut at " << n;
    }
}

TEST(PsdSweep, EveryLengthAndCountDamaged) {
    const Writer w = FullFeaturedDocument().Build();
    ASSERT_GT(w.fields.size(), 50u);
    for (const Field& f : w.fields) {
        const uint64_t remaining = w.data.size() - f.offset - size_t(f.size);
        const uint64_t values[] = {0, 3, remaining + 1, 0xFFFFFFFF};
        for (uint64_t v : values) {
            Bytes bytes = w.data;
            for (int k = 0; k < f.size; ++k)
                bytes[f.offset + size_t(k)] = uint8_t(v >> (8 * (f.size - 1 - k)));
            for (psdr_load_tag tag : {0, 2}) {
                LoadAndFree(bytes, tag);
                if (::testing::Test::HasFatalFailure())
                    FAIL() << "field at " << f.offset << " set to " << v << ", tag " << tag;
            }
        }
    }
}

// Inputs the fuzz target found or that once broke a reader, as hex; the first
// byte picks the load tag as in the fuzz target.
TEST(PsdSweep, RegressionInputs) {
    const char* const cases[] = {
        // A layer count of -32768.
        "00384250530001000000000000030000000100000001000800030000000000000000000000000a000000068000",
        // A layer whose channel length is far past its layer information.
        "003842505300010000000000000300000001000000010008000300000000000000000000002c00000028000100"
        "0000000000000000010000000100010000ffffffff3842494d6e6f726dff000000000000000c00000000000000"
        "0000000000",
    };
    for (const char* hex : cases) {
        Bytes bytes;
        for (size_t i = 0; hex[i] && hex[i + 1]; i += 2)
            bytes.push_back(uint8_t(std::stoi(std::string(hex + i, 2), nullptr, 16)));
        LoadAndFree(Bytes(bytes.begin() + 1, bytes.end()), bytes[0] % 6);
    }
}
