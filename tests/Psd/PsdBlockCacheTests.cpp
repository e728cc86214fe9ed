// Large blocks kept from one load for the next: what a reused block gives,
// the cache's bounds, and loads that fail or run side by side with it warm.

#include <algorithm>
#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "PsdTestSupport.h"

using namespace psdtest;

#if defined(__SANITIZE_ADDRESS__)
#define PSD_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PSD_TEST_ASAN 1
#endif
#endif

namespace {

constexpr size_t kMiB = size_t(1) << 20;

// Layers (and the merged image) large enough for blocks the cache keeps.
Document LargeDocument(int side, int compression, unsigned seed, int layers = 2) {
    std::vector<Layer> list;
    for (int i = 0; i < layers; ++i)
        list.push_back(RgbLayer(0, 0, side, side, "layer" + std::to_string(i), seed + unsigned(i) * 10, true,
                                compression));
    Document d = RgbDocument(uint32_t(side), uint32_t(side), list);
    const size_t n = size_t(side) * size_t(side);
    d.channels = 4;
    d.merged_compression = compression;
    for (unsigned c = 0; c < 4; ++c) d.merged.push_back(Ramp(n, seed + 50 + c));
    return d;
}

// Everything a load gives: its status, every layer's pixels and the merged image.
struct Decoded {
    psdr_status status = PSDR_OK;
    std::vector<std::vector<uint32_t>> pictures;
    bool operator==(const Decoded&) const = default;
};

Decoded Decode(const Bytes& bytes, size_t budget = size_t(256) << 20) {
    Decoded out;
    Image img;
    out.status = Load(bytes, &img.p, 0, budget);
    if (out.status != PSDR_OK) return out;
    for (int i = 0; i < img->layer_count; ++i) out.pictures.push_back(PixelsOf(img->layers[i]));
    const uint32_t* merged = img->merged_image;
    if (merged) out.pictures.emplace_back(merged, merged + size_t(img->width) * size_t(img->height));
    return out;
}

// A load that finds nothing kept: what the decoder gives without the cache.
Decoded DecodeCold(const Bytes& bytes, size_t budget = size_t(256) << 20) {
    psdr_release_cache();
    return Decode(bytes, budget);
}

struct CacheTest : ::testing::Test {
    void SetUp() override { psdr_release_cache(); }
    void TearDown() override { psdr_release_cache(); }
};

}  // namespace

// A block freed and asked for again comes back; zero-filled when asked so,
// whatever it held.
TEST_F(CacheTest, FreedBlockComesBackForTheNextRequest) {
    const size_t size = 3 * kMiB + 5;
    auto* block = static_cast<uint8_t*>(psdr_mem_alloc_unset(size));
    ASSERT_NE(block, nullptr);
    std::memset(block, 0xAB, size);
    psdr_mem_free(block);
    EXPECT_EQ(psdr_cache_current().blocks, 1);

    auto* again = static_cast<uint8_t*>(psdr_mem_alloc(size));
    ASSERT_EQ(again, block) << "the kept block is reused";
    EXPECT_EQ(psdr_cache_current().blocks, 0);
    size_t nonzero = 0;
    for (size_t i = 0; i < size; ++i) nonzero += again[i] != 0;
    EXPECT_EQ(nonzero, 0u) << "zero-filled allocations stay zero-filled";
    psdr_mem_free(again);
}

// Which kept block a request gets, if any. A block counts what the system
// allocator gives, which may be somewhat more than was asked for.
TEST_F(CacheTest, RequestsGetTheSmallestBlockOfAboutTheirSize) {
    struct Case {
        const char* what;
        std::vector<size_t> freed;  // MiB, in this order
        size_t asked;               // bytes
        int want;                   // index into `freed`, -1: none
    } cases[] = {
        {"the same size", {4}, 4 * kMiB, 0},
        {"a little smaller", {4}, 3 * kMiB, 0},
        {"larger than any", {4, 6}, 10 * kMiB, -1},
        {"less than half a block", {8}, 3 * kMiB, -1},
        {"over half a block", {8}, 5 * kMiB, 0},
        {"the best fit of several", {16, 8, 4, 12}, 7 * kMiB, 1},
        {"small requests never", {2}, kMiB, -1},
    };
    for (const Case& c : cases) {
        psdr_release_cache();
        std::vector<void*> blocks;
        for (size_t mib : c.freed) blocks.push_back(psdr_mem_alloc_unset(mib * kMiB));
        for (void* b : blocks) ASSERT_NE(b, nullptr) << c.what;
        for (void* b : blocks) psdr_mem_free(b);
        void* got = psdr_mem_alloc_unset(c.asked);
        ASSERT_NE(got, nullptr) << c.what;
        if (c.want < 0)
            for (void* b : blocks) EXPECT_NE(got, b) << c.what;
        else
            EXPECT_EQ(got, blocks[size_t(c.want)]) << c.what;
        psdr_mem_free(got);
    }
}

TEST_F(CacheTest, KeepsAFewBlocksAndBoundedBytes) {
    // Small blocks go straight back.
    psdr_mem_free(psdr_mem_alloc_unset(PSDR_HUGE_PAGE - 1));
    psdr_mem_free(psdr_mem_alloc(4096));
    EXPECT_EQ(psdr_cache_current().blocks, 0);

    // More blocks than kept: the oldest go.
    std::vector<void*> blocks;
    for (int i = 0; i < PSDR_CACHE_BLOCKS + 3; ++i) blocks.push_back(psdr_mem_alloc_unset(PSDR_HUGE_PAGE));
    for (void* b : blocks) psdr_mem_free(b);
    EXPECT_EQ(psdr_cache_current().blocks, PSDR_CACHE_BLOCKS);
    EXPECT_GE(psdr_cache_current().bytes, size_t(PSDR_CACHE_BLOCKS) * PSDR_HUGE_PAGE);
    std::vector<void*> taken;
    for (int i = 0; i < PSDR_CACHE_BLOCKS; ++i) taken.push_back(psdr_mem_alloc_unset(PSDR_HUGE_PAGE));
    std::sort(taken.begin(), taken.end());
    std::vector<void*> newest(blocks.begin() + 3, blocks.end());
    std::sort(newest.begin(), newest.end());
    EXPECT_EQ(taken, newest);
    for (void* b : taken) psdr_mem_free(b);

    // More bytes than kept.
    psdr_release_cache();
    const size_t large = PSDR_CACHE_BYTES * 5 / 16;
    void* large_blocks[4];
    for (void*& b : large_blocks) b = psdr_mem_alloc_unset(large);
    for (void* b : large_blocks) psdr_mem_free(b);
    EXPECT_EQ(psdr_cache_current().blocks, 3);
    EXPECT_LE(psdr_cache_current().bytes, PSDR_CACHE_BYTES);

    // A block larger than all of it is not kept.
    psdr_release_cache();
    psdr_mem_free(psdr_mem_alloc_unset(PSDR_CACHE_BYTES + 1));
    EXPECT_EQ(psdr_cache_current().blocks, 0);

    psdr_mem_free(psdr_mem_alloc_unset(PSDR_HUGE_PAGE));
    EXPECT_EQ(psdr_cache_current().blocks, 1);
    psdr_release_cache();
    EXPECT_EQ(psdr_cache_current().blocks, 0);
    EXPECT_EQ(psdr_cache_current().bytes, 0u);
}

// Two owners of one block would corrupt each other's pictures.
TEST_F(CacheTest, ABlockFreedTwiceStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            void* block = psdr_mem_alloc_unset(PSDR_HUGE_PAGE);
            psdr_mem_free(block);
            psdr_mem_free(block);
        },
        "");
}

#if defined(PSD_TEST_ASAN)
// The fuzzer still sees a use of a freed picture, kept or not.
TEST_F(CacheTest, AKeptBlockIsOutOfBoundsForTheSanitizer) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto* block = static_cast<volatile uint8_t*>(psdr_mem_alloc_unset(PSDR_HUGE_PAGE + 100));
    psdr_mem_free(const_cast<uint8_t*>(block));
    ASSERT_EQ(psdr_cache_current().blocks, 1);
    EXPECT_DEATH(block[10] = 1, "use-after-poison");
    // And the slack of a larger block handed out for a smaller request.
    auto* reused = static_cast<volatile uint8_t*>(psdr_mem_alloc_unset(PSDR_HUGE_PAGE + 50));
    ASSERT_EQ(reused, block);
    reused[PSDR_HUGE_PAGE + 49] = 1;
    EXPECT_DEATH(reused[PSDR_HUGE_PAGE + 60] = 1, "use-after-poison");
    psdr_mem_free(const_cast<uint8_t*>(reused));
}
#endif

// Loads one after another give what a load with nothing kept gives: the same
// document again, a larger one after a smaller, the other compression.
TEST_F(CacheTest, LoadsAfterLoadsGiveTheSameBytes) {
    const Bytes small_rle = LargeDocument(760, 1, 1).Bytes_();
    const Bytes large_zip = LargeDocument(1100, 2, 2).Bytes_();
    const Bytes small_zip = LargeDocument(800, 3, 3, 3).Bytes_();
    const Bytes large_rle = LargeDocument(1024, 1, 4).Bytes_();
    const Bytes* order[] = {&small_rle, &small_rle, &large_zip, &small_rle, &small_zip,
                            &large_rle, &large_zip, &large_zip, &small_zip};
    std::vector<Decoded> cold;
    for (const Bytes* doc : order) cold.push_back(DecodeCold(*doc));
    for (const Decoded& d : cold) ASSERT_EQ(d.status, PSDR_OK);

    psdr_release_cache();
    for (size_t i = 0; i < std::size(order); ++i) {
        EXPECT_TRUE(Decode(*order[i]) == cold[i]) << "load " << i;
        EXPECT_GT(psdr_cache_current().blocks, 0) << "load " << i << " left blocks for the next";
    }

    // A held image holds its blocks: the next load takes what is left.
    ASSERT_TRUE(Decode(large_zip) == cold[2]);
    const int before = psdr_cache_current().blocks;
    Image held;
    ASSERT_EQ(Load(large_zip, &held.p), PSDR_OK);
    EXPECT_LT(psdr_cache_current().blocks, before);
    EXPECT_TRUE(Decode(large_zip) == cold[2]);
}

// A failed load gives back every block it took, holds none twice, and the
// loads after it give the same bytes.
TEST_F(CacheTest, FailedLoadsLeaveTheCacheWhole) {
    const Document doc = LargeDocument(900, 2, 7);
    const Bytes good = doc.Bytes_();
    Document bad_code_doc = doc;
    // The second layer's alpha: a compression that does not exist.
    bad_code_doc.layers[1].channels[0] = Channel::Raw(-1, Bytes{0, 9, 1, 2, 3});
    const Bytes bad_code = bad_code_doc.Bytes_();
    const Decoded want = DecodeCold(good);
    ASSERT_EQ(want.status, PSDR_OK);
    struct Case {
        const char* what;
        Bytes bytes;
        size_t budget;
    } cases[] = {
        {"cut in the second layer", Bytes(good.begin(), good.begin() + ptrdiff_t(good.size() * 2 / 5)),
         size_t(256) << 20},
        {"cut in the merged image", Bytes(good.begin(), good.end() - 1000), size_t(256) << 20},
        {"a bad compression code", bad_code, size_t(256) << 20},
        {"over the memory budget", good, 8 * kMiB},
    };
    for (const Case& c : cases) {
        const Decoded failed_cold = DecodeCold(c.bytes, c.budget);
        ASSERT_NE(failed_cold.status, PSDR_OK) << c.what;
        // Warm: twice, so that every block the load asks for is kept.
        ASSERT_TRUE(Decode(good) == want) << c.what;
        ASSERT_TRUE(Decode(good) == want) << c.what;
        const psdr_cache_state warm = psdr_cache_current();
        EXPECT_TRUE(Decode(c.bytes, c.budget) == failed_cold) << c.what;
        const psdr_cache_state after = psdr_cache_current();
        EXPECT_EQ(after.blocks, warm.blocks) << c.what;
        EXPECT_EQ(after.bytes, warm.bytes) << c.what;
        EXPECT_TRUE(Decode(good) == want) << c.what;
    }
}

// The budget counts what a load asks for, not the size of a block it is given.
TEST_F(CacheTest, BudgetsDecideAlikeWithBlocksKept) {
    const Bytes doc = LargeDocument(760, 2, 11).Bytes_();
    const Bytes larger = LargeDocument(1024, 2, 12).Bytes_();
    for (size_t budget : {size_t(2) * kMiB, size_t(5) * kMiB, size_t(9) * kMiB, size_t(14) * kMiB,
                          size_t(256) << 20}) {
        const Decoded cold = DecodeCold(doc, budget);
        ASSERT_EQ(Decode(larger).status, PSDR_OK);
        EXPECT_TRUE(Decode(doc, budget) == cold) << budget;
    }
}

// Loads on two threads at once share the kept blocks.
TEST_F(CacheTest, LoadsOnTwoThreads) {
    const Bytes docs[2] = {LargeDocument(760, 1, 21).Bytes_(), LargeDocument(900, 2, 22).Bytes_()};
    const Decoded want[2] = {DecodeCold(docs[0]), DecodeCold(docs[1])};
    constexpr int kRounds = 4;
    bool same[2][kRounds] = {};
    std::thread threads[2];
    for (int t = 0; t < 2; ++t)
        threads[t] = std::thread([&, t] {
            for (int i = 0; i < kRounds; ++i) same[t][i] = Decode(docs[(t + i) % 2]) == want[(t + i) % 2];
        });
    for (std::thread& t : threads) t.join();
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < kRounds; ++i) EXPECT_TRUE(same[t][i]) << "thread " << t << " load " << i;
    EXPECT_LE(psdr_cache_current().blocks, PSDR_CACHE_BLOCKS);
    EXPECT_LE(psdr_cache_current().bytes, PSDR_CACHE_BYTES);
}
