// The buffered reader and the bounds it keeps.

#include <gtest/gtest.h>

#include "PsdTestSupport.h"

using namespace psdtest;

namespace {

uint8_t ByteAt(size_t offset) { return uint8_t(offset * 7 + 3); }

Bytes OffsetBytes(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = ByteAt(i);
    return b;
}

}  // namespace

TEST(PsdStream, ReadsAcrossBufferBoundaries) {
    struct Case {
        const char* what;
        int64_t skip;
        int64_t read;
        int64_t expect_read;
    } cases[] = {
        {"2 bytes straddling the first block", 4095, 2, 2},
        {"an exact block", 0, 4096, 4096},
        {"5000 bytes with 100 buffered", 3996, 5000, 5000},
        {"past the end", 20000, 4, 0},
        {"the last 3 bytes", 9997, 8, 3},
    };
    for (const Case& c : cases) {
        StreamImage s(OffsetBytes(10000));
        if (c.what[0] == '5') {
            uint8_t one[4];
            psdr_stream_read(s.get(), one, 1);
            psdr_stream_skip(s.get(), c.skip - 1);
        } else {
            psdr_stream_skip(s.get(), c.skip);
        }
        const int64_t start = s->consumed;
        Bytes got(size_t(c.read));
        EXPECT_EQ(psdr_stream_read(s.get(), got.data(), c.read), c.expect_read) << c.what;
        for (int64_t i = 0; i < c.expect_read; ++i)
            ASSERT_EQ(got[size_t(i)], ByteAt(size_t(start + i))) << c.what << " at " << i;
        EXPECT_EQ(s->consumed, start + c.expect_read) << c.what;
        EXPECT_LE(s->consumed, 10000) << c.what;
    }
}

TEST(PsdStream, TypedReadsNearTheEndYieldZero) {
    auto be = [](size_t at, int n) {
        uint64_t v = 0;
        for (int i = 0; i < n; ++i) v = v << 8 | ByteAt(at + size_t(i));
        return v;
    };
    for (int left : {1, 3, 7}) {
        const size_t at = size_t(16 - left);
        StreamImage a(OffsetBytes(16)), b(OffsetBytes(16)), c(OffsetBytes(16));
        psdr_stream_skip(a.get(), int64_t(at));
        psdr_stream_skip(b.get(), int64_t(at));
        psdr_stream_skip(c.get(), int64_t(at));
        EXPECT_EQ(psdr_stream_u16(a.get()), left >= 2 ? be(at, 2) : 0u) << left;
        EXPECT_EQ(psdr_stream_u32(b.get()), left >= 4 ? be(at, 4) : 0u) << left;
        EXPECT_EQ(psdr_stream_f64(c.get()), 0.0) << left;
    }
}

TEST(PsdStream, NegativeCountsReadAndSkipNothing) {
    StreamImage s(OffsetBytes(100));
    uint8_t b[4];
    EXPECT_EQ(psdr_stream_read(s.get(), b, -5), 0);
    EXPECT_EQ(psdr_stream_skip(s.get(), -5), 0);
    EXPECT_EQ(psdr_stream_skip(s.get(), INT64_MAX), 100);
    EXPECT_EQ(s->consumed, 100);
}

TEST(PsdStream, BlendKeysAndColourRecords) {
    Writer w;
    w.key("pass");
    w.key("zzzz");
    w.key("hMix");
    w.u16(0);
    for (unsigned v : {0xFF00u, 0x8000u, 0u, 0u}) w.u16(v);
    w.u16(3);
    w.zeros(8);
    StreamImage s(w.data);
    EXPECT_EQ(psdr_stream_blend_key(s.get()), 23);
    EXPECT_EQ(psdr_stream_blend_key(s.get()), 0);
    EXPECT_EQ(psdr_stream_blend_key(s.get()), 16);
    EXPECT_EQ(psdr_stream_colour(s.get()), 0xFFFF8000u);
    EXPECT_EQ(psdr_stream_colour(s.get()), 0x00FFFFFFu);
}

TEST(PsdStream, LimitsStopReadsAndLeaveAtTheDeclaredEnd) {
    StreamImage s(OffsetBytes(64));
    ASSERT_EQ(psdr_limit_push(s.get(), 10), PSDR_OK);
    uint8_t b[32];
    EXPECT_EQ(psdr_stream_read(s.get(), b, 32), 10);
    EXPECT_EQ(psdr_stream_u8(s.get()), 0);
    EXPECT_EQ(psdr_limit_push(s.get(), 1), PSDR_READ_ERROR) << "nothing left inside";
    psdr_limit_pop(s.get());
    ASSERT_EQ(psdr_limit_push(s.get(), 20), PSDR_OK);
    EXPECT_EQ(psdr_limit_push(s.get(), 21), PSDR_READ_ERROR) << "longer than its enclosing structure";
    ASSERT_EQ(psdr_limit_push(s.get(), 5), PSDR_OK);
    psdr_limit_pop(s.get());
    EXPECT_EQ(s->consumed, 15);
    psdr_limit_pop(s.get());
    EXPECT_EQ(s->consumed, 30);
    EXPECT_EQ(psdr_stream_u8(s.get()), ByteAt(30));
}

// A resource shorter than its reader expects must not swallow the next one.
TEST(PsdStream, ShortResourceStillLetsTheNextOneRead) {
    Document d;
    d.width = d.height = 1;
    d.resources.push_back({1005, Bytes{0, 1, 0, 0}});
    Bytes caption = {5, 'h', 'e', 'l', 'l', 'o'};
    d.resources.push_back({1008, caption});
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    EXPECT_STREQ(img->caption, "hello");
    EXPECT_EQ(img->resolution_present, 1);
}

// "lyid" of 8 bytes and "lsct" of 4, then "luni": the name still decodes.
TEST(PsdStream, ShortAndLongBlocksStillLetLuniRead) {
    Layer l = RgbLayer(0, 0, 2, 2, "a", 1);
    Writer id;
    id.u32(77);
    id.u32(0xDEADBEEF);
    Writer divider;
    divider.u32(0);
    Writer uni;
    uni.unicode("Zed");
    l.blocks = {{"lyid", id.data}, {"lsct", divider.data}, {"luni", uni.data}};
    Image img;
    ASSERT_EQ(Load(RgbDocument(4, 4, {l}).Bytes_(), &img.p), PSDR_OK);
    ASSERT_EQ(img->layer_count, 1);
    EXPECT_EQ(img->layers[0].layer_id, 77);
    ASSERT_EQ(img->layers[0].unicode_name_length, 3);
    EXPECT_EQ(std::memcmp(img->layers[0].unicode_name, "\0Z\0e\0d", 6), 0);
}
