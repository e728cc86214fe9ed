// Channel decompression, pixel combiners and the merged image.

#include <gtest/gtest.h>

#include "PsdTestSupport.h"

using namespace psdtest;

TEST(PsdChannels, RunLengthRows) {
    const Bytes ok = {0, 6, 0, 1, 0x02, 0x0A, 0x0B, 0x0C, 0xFE, 0x07, 0x80};
    Bytes out(6, 0xEE);
    ASSERT_EQ(psdr_unpack_rle(ok.data(), ok.size(), 2, out.data(), out.size()), PSDR_OK);
    EXPECT_EQ(out, (Bytes{0x0A, 0x0B, 0x0C, 0x07, 0x07, 0x07}));
    struct Case {
        const char* what;
        Bytes data;
        size_t rows;
        size_t plane;
    } bad[] = {
        {"a literal crossing its row count", {0, 2, 0x02, 1, 2, 3}, 1, 8},
        {"a run crossing its row count", {0, 1, 0xFE, 7}, 1, 8},
        {"output past the plane", {0, 2, 0xF0, 7}, 1, 8},
        {"a count past the payload", {0, 9, 0x00, 1}, 1, 8},
        {"a short row table", {0, 1}, 2, 8},
    };
    for (const Case& c : bad) {
        Bytes plane(c.plane);
        EXPECT_EQ(psdr_unpack_rle(c.data.data(), c.data.size(), c.rows, plane.data(), plane.size()),
                  PSDR_READ_ERROR)
            << c.what;
    }
}

// Every run length, literal and repeated, into a plane with room past the
// data and into one that ends with it; the plane's rest reads zero.
TEST(PsdChannels, RunLengthRunsOfEveryLength) {
    for (size_t n = 1; n <= 128; ++n) {
        Bytes expected;
        Bytes row;
        for (size_t k = 0; k < n; ++k) expected.push_back(uint8_t(k * 7 + n));
        row.push_back(uint8_t(n - 1));
        row.insert(row.end(), expected.begin(), expected.end());
        expected.insert(expected.end(), n, uint8_t(n));
        row.push_back(uint8_t(257 - n));
        row.push_back(uint8_t(n));
        Bytes data = {uint8_t(row.size() >> 8), uint8_t(row.size())};
        data.insert(data.end(), row.begin(), row.end());
        for (size_t slack : {size_t(0), size_t(1), size_t(200)}) {
            Bytes plane(expected.size() + slack, 0xEE);
            ASSERT_EQ(psdr_unpack_rle(data.data(), data.size(), 1, plane.data(), plane.size()), PSDR_OK)
                << n << " " << slack;
            Bytes want = expected;
            want.resize(plane.size(), 0);
            EXPECT_EQ(plane, want) << n << " " << slack;
        }
    }
}

TEST(PsdChannels, ShortDataLeavesZerosOverWhatThePlaneHeld) {
    struct Case {
        const char* what;
        int compression;
        Bytes data;
        Bytes want;
    } cases[] = {
        {"raw", 0, {1, 2, 3}, {1, 2, 3, 0, 0, 0, 0, 0}},
        {"run-length", 1, {0, 3, 0, 0, 0x01, 4, 5}, {4, 5, 0, 0, 0, 0, 0, 0}},
        {"zip", 2, ZipEncode(Bytes{6, 7, 8}), {6, 7, 8, 0, 0, 0, 0, 0}},
        {"zip with prediction", 3, ZipEncode(Bytes{9, 1, 1, 1, 2}), {9, 10, 11, 12, 2, 2, 2, 2}},
    };
    for (const Case& c : cases) {
        Bytes plane(8, 0xEE);
        ASSERT_EQ(psdr_decode_plane(c.data.data(), c.data.size(), c.compression, 2, 4, 8, plane.data(),
                                    plane.size()),
                  PSDR_OK)
            << c.what;
        EXPECT_EQ(plane, c.want) << c.what;
    }
}

TEST(PsdChannels, ZipAndPrediction) {
    Bytes rows8 = ZipEncode(Bytes{0x10, 0x01, 0x01, 0x01});
    Bytes out(4);
    ASSERT_EQ(psdr_inflate_predicted(rows8.data(), rows8.size(), out.data(), 4, 4, 8), PSDR_OK);
    EXPECT_EQ(out, (Bytes{0x10, 0x11, 0x12, 0x13}));
    Bytes rows16 = ZipEncode(Bytes{0x00, 0xFF, 0x00, 0x01});
    ASSERT_EQ(psdr_inflate_predicted(rows16.data(), rows16.size(), out.data(), 4, 2, 16), PSDR_OK);
    EXPECT_EQ(out, (Bytes{0x00, 0xFF, 0x01, 0x00}));

    // A stream that ends normally before the plane is full leaves zeros.
    Bytes short_stream = ZipEncode(Bytes{1, 2, 3});
    Bytes plane(8, 0);
    EXPECT_EQ(psdr_inflate(short_stream.data(), short_stream.size(), plane.data(), 8), PSDR_OK);
    EXPECT_EQ(plane, (Bytes{1, 2, 3, 0, 0, 0, 0, 0}));
    Bytes full = ZipEncode(Ramp(64, 1));
    EXPECT_EQ(psdr_inflate(full.data(), full.size() / 2, plane.data(), 8), PSDR_OK)
        << "the plane filled before the stream was cut";
    Bytes big(64);
    EXPECT_EQ(psdr_inflate(full.data(), full.size() / 2, big.data(), 64), PSDR_ZIP_ERROR);
    Bytes junk = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(psdr_inflate(junk.data(), junk.size(), big.data(), 64), PSDR_ZIP_ERROR);
}

// The zip decoder inflates whole planes at once and hands whatever that
// refuses to a streaming inflate: streams of every shape give the plane and
// the verdict they always did.
TEST(PsdChannels, ZipStreamShapes) {
    const Bytes ramp = Ramp(3000, 5);
    const Bytes stream = ZipEncode(ramp);
    auto with = [&](auto change) {
        Bytes b = stream;
        change(b);
        return b;
    };
    auto head = [&](size_t n) { return Bytes(ramp.begin(), ramp.begin() + std::ptrdiff_t(n)); };
    struct Case {
        const char* what;
        Bytes data;
        size_t plane;
        psdr_status want;
        Bytes pixels; // the plane on success
    } cases[] = {
        {"exactly the plane", stream, ramp.size(), PSDR_OK, ramp},
        {"shorter than the plane", stream, ramp.size() + 100, PSDR_OK, [&] {
             Bytes b = ramp;
             b.resize(ramp.size() + 100, 0);
             return b;
         }()},
        {"longer than the plane", stream, 1000, PSDR_OK, head(1000)},
        {"bytes after the stream", with([](Bytes& b) { b.insert(b.end(), {1, 2, 3, 4}); }), ramp.size(), PSDR_OK,
         ramp},
        {"its checksum lost, the plane full", with([](Bytes& b) { b.resize(b.size() - 4); }), ramp.size(), PSDR_OK,
         ramp},
        {"its checksum lost, the plane not full", with([](Bytes& b) { b.resize(b.size() - 4); }),
         ramp.size() + 1, PSDR_ZIP_ERROR, {}},
        {"a wrong checksum", with([](Bytes& b) { b.back() ^= 1; }), ramp.size(), PSDR_ZIP_ERROR, {}},
        {"a wrong header check", with([](Bytes& b) { b[1] ^= 1; }), ramp.size(), PSDR_ZIP_ERROR, {}},
        {"a preset dictionary", with([](Bytes& b) {
             const int flags = (b[1] & 0xC0) | 0x20;
             b[1] = uint8_t(flags + (31 - (b[0] * 256 + flags) % 31) % 31);
         }),
         ramp.size(), PSDR_ZIP_ERROR, {}},
        {"cut in its middle", Bytes(stream.begin(), stream.begin() + 40), ramp.size(), PSDR_ZIP_ERROR, {}},
    };
    for (const Case& c : cases) {
        Bytes plane(c.plane, 0xEE);
        ASSERT_EQ(psdr_inflate(c.data.data(), c.data.size(), plane.data(), plane.size()), c.want) << c.what;
        if (c.want == PSDR_OK) {
            EXPECT_EQ(plane, c.pixels) << c.what;
        }
    }
}

// A plane of megabytes, as documents have, comes out exactly as it went in.
TEST(PsdChannels, ZipLargePlane) {
    Bytes plane(size_t(3) << 20);
    uint32_t s = 7;
    for (size_t i = 0; i < plane.size(); ++i) {
        s = s * 1103515245u + 12345u;
        plane[i] = (i / 4096) % 3 == 0 ? uint8_t(s >> 16) : uint8_t(i / 8191);
    }
    const Bytes stream = ZipEncode(plane);
    Bytes out(plane.size(), 0xEE);
    ASSERT_EQ(psdr_inflate(stream.data(), stream.size(), out.data(), out.size()), PSDR_OK);
    EXPECT_TRUE(out == plane);
}

namespace {

struct ModeCase {
    const char* what;
    uint16_t mode;
    uint16_t depth;
    std::vector<int16_t> ids;
};

// One pixel's expected value from the planes (first sample of each).
uint32_t Expected(const ModeCase& c, const std::vector<Bytes>& planes, size_t i, const uint32_t* table) {
    auto plane = [&](int16_t id) -> int {
        for (size_t k = 0; k < c.ids.size(); ++k)
            if (c.ids[k] == id) return planes[k][i * (c.depth == 16 ? 2 : 1)];
        return -1;
    };
    const int a = plane(-1);
    const int alpha = a < 0 ? 255 : a;
    switch (c.mode) {
    case 1:
    case 8: return uint32_t(alpha) << 24 | uint32_t(plane(0)) * 0x010101u;
    case 2: return table[plane(0)];
    case 3: return psdr_pack_argb(alpha, plane(0), plane(1), plane(2));
    case 4:
        return psdr_cmyk_alpha_to_argb(alpha, 255 - plane(0), 255 - plane(1), 255 - plane(2), 255 - plane(3));
    case 7: return psdr_cmyk_to_argb(255 - plane(0), 255 - plane(1), 255 - plane(2), a < 0 ? 0 : 255 - a);
    case 9: return psdr_lab_to_argb(alpha, plane(0) * 100 >> 8, plane(1) - 128, plane(2) - 128);
    default: return 0;
    }
}

}  // namespace

// Eight-bit colour goes through whole blocks of pixels and a tail: every
// length packs each pixel alike, with and without alpha.
TEST(PsdChannels, RgbEightBitBlocksAndTails) {
    for (size_t n : {size_t(1), size_t(15), size_t(16), size_t(17), size_t(47), size_t(100)}) {
        const Bytes r = Ramp(n, 1), g = Ramp(n, 2), b = Ramp(n, 3), a = Ramp(n, 4);
        for (bool alpha : {true, false}) {
            psdr_planes planes{};
            planes.c[0] = r.data();
            planes.c[1] = g.data();
            planes.c[2] = b.data();
            planes.alpha = alpha ? a.data() : nullptr;
            planes.count = n;
            planes.width = int(n);
            planes.height = 1;
            planes.depth = 8;
            std::vector<uint32_t> pixels(n + 1, 0xDEADBEEF);
            ASSERT_TRUE(psdr_combine(planes, 3, nullptr, 0, 0, 0, false, pixels.data()));
            for (size_t i = 0; i < n; ++i)
                ASSERT_EQ(pixels[i], uint32_t(alpha ? a[i] : 255) << 24 | uint32_t(r[i]) << 16 |
                                         uint32_t(g[i]) << 8 | b[i])
                    << n << " " << i << " " << alpha;
            EXPECT_EQ(pixels[n], 0xDEADBEEFu) << "nothing past the pixels";
        }
    }
}

TEST(PsdChannels, CombinersForEveryModeAndDepth) {
    const ModeCase cases[] = {
        {"grey 8", 1, 8, {0, -1}},     {"grey 8 opaque", 1, 8, {0}},    {"grey 16", 1, 16, {-1, 0}},
        {"duotone", 8, 8, {0, -1}},    {"indexed", 2, 8, {0}},          {"rgb 8", 3, 8, {-1, 0, 1, 2}},
        {"rgb 8 opaque", 3, 8, {2, 1, 0}}, {"rgb 16", 3, 16, {0, 1, 2, -1}},
        {"cmyk 8", 4, 8, {0, 1, 2, 3, -1}}, {"cmyk 16 opaque", 4, 16, {0, 1, 2, 3}},
        {"multichannel", 7, 8, {0, 1, 2, -1}}, {"multichannel opaque", 7, 8, {0, 1, 2}},
        {"lab 8", 9, 8, {0, 1, 2, -1}}, {"lab 16 opaque", 9, 16, {0, 1, 2}},
    };
    const int w = 3, h = 2;
    for (const ModeCase& c : cases) {
        Document d;
        d.width = d.height = 4;
        d.mode = c.mode;
        d.depth = c.depth;
        d.channels = c.mode == 4 ? 4 : (c.mode == 1 || c.mode == 8 || c.mode == 2) ? 1 : 3;
        uint32_t table[256];
        if (c.mode == 2) {
            d.colour_data = Ramp(768, 4);
            for (int i = 0; i < 256; ++i)
                table[i] = 0xFF000000u | d.colour_data[size_t(i)] << 16 | d.colour_data[size_t(256 + i)] << 8 |
                           d.colour_data[size_t(512 + i)];
            d.resources.push_back({1046, Bytes{1, 0}});
            d.resources.push_back({1047, Bytes{0, 3}});
        }
        Layer l;
        l.right = w;
        l.bottom = h;
        std::vector<Bytes> planes;
        for (size_t k = 0; k < c.ids.size(); ++k) {
            planes.push_back(Ramp(size_t(w * h * (c.depth == 16 ? 2 : 1)), unsigned(k) + c.mode));
            l.channels.push_back({c.ids[k], planes.back(), int(k % 4)});
        }
        Document doc = d;
        doc.layers = {l};
        Image img;
        ASSERT_EQ(Load(doc.Bytes_(), &img.p), PSDR_OK) << c.what;
        const psdr_layer& r = img->layers[0];
        for (size_t i = 0; i < size_t(w * h); ++i) {
            uint32_t want = Expected(c, planes, i, table);
            if (c.mode == 2 && planes[0][i] == 3) want = 0x00FFFFFF;
            ASSERT_EQ(r.pixels[i], want) << c.what << " pixel " << i;
        }
    }
}

TEST(PsdChannels, BitmapAndModesWithoutCombiner) {
    Document d;
    d.width = d.height = 16;
    d.mode = 0;
    d.depth = 1;
    d.channels = 1;
    Layer l;
    l.right = 10;
    l.bottom = 2;
    l.channels.push_back({0, Bytes{0x80, 0x40, 0x01, 0xFF}});
    d.layers = {l};
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    const uint32_t* p = img->layers[0].pixels;
    EXPECT_EQ(p[0], 0xFF000000u);
    EXPECT_EQ(p[1], 0xFFFFFFFFu);
    EXPECT_EQ(p[9], 0xFF000000u);
    EXPECT_EQ(p[10 + 7], 0xFF000000u);
    EXPECT_EQ(p[10 + 8], 0xFF000000u);

    // Indexed at depth 16 has no combiner: transparent black, not stale memory.
    Document none;
    none.width = none.height = 4;
    none.mode = 2;
    none.depth = 16;
    none.channels = 1;
    Layer q;
    q.right = 2;
    q.bottom = 2;
    q.channels.push_back({0, Fill(8, 0x55)});
    none.layers = {RgbLayer(0, 0, 2, 2, "first", 1), q};
    none.layers[0].channels = {{0, Fill(8, 0x66)}};
    Image img2;
    ASSERT_EQ(Load(none.Bytes_(), &img2.p), PSDR_OK);
    EXPECT_EQ(PixelsOf(img2->layers[1]), std::vector<uint32_t>(4, 0u));
}

TEST(PsdChannels, IndexedChecks) {
    Document d;
    d.width = d.height = 4;
    d.mode = 2;
    d.channels = 1;
    d.colour_data = Ramp(30, 2);  // a 10-entry table
    d.resources.push_back({1046, Bytes{0, 200}});
    Layer l;
    l.right = 4;
    l.bottom = 1;
    l.channels.push_back({0, Bytes{0, 9, 10, 150}});
    d.layers = {l};
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->layers[0].pixels[0], 0x00FFFFFFu) << "the transparent index defaults to 0";
    EXPECT_EQ(img->layers[0].pixels[1], img->colour_table[9]);
    EXPECT_EQ(img->layers[0].pixels[2], 0x00FFFFFFu);
    EXPECT_EQ(img->layers[0].pixels[3], 0x00FFFFFFu);

    d.resources.clear();
    Image img2;
    ASSERT_EQ(Load(d.Bytes_(), &img2.p), PSDR_OK);
    EXPECT_EQ(img2->layers[0].pixels[1], 0x00FFFFFFu) << "no 1046: no colour is valid";
}

// A plane a layer lacks, or a channel of 2 bytes or less, reads as zeros; never
// as the previous layer's planes.
TEST(PsdChannels, MissingDataReadsAsZeros) {
    Layer first = RgbLayer(0, 0, 2, 2, "first", 1);
    first.channels = {{-1, Fill(4, 0xFF)}, {0, Fill(4, 0xAA)}, {1, Fill(4, 0xBB)}, {2, Fill(4, 0xCC)}};
    Layer second;
    second.right = 2;
    second.bottom = 2;
    second.channels = {Channel::Raw(-1, Bytes{0, 0}), {0, Bytes{1, 2}}, Channel::Raw(2, Bytes{})};
    Image img;
    ASSERT_EQ(Load(RgbDocument(4, 4, {first, second}).Bytes_(), &img.p), PSDR_OK);
    const psdr_layer& r = img->layers[1];
    EXPECT_EQ(r.pixels[0], 0x00010000u);
    EXPECT_EQ(r.pixels[1], 0x00020000u);
    EXPECT_EQ(r.pixels[3], 0u);
}

TEST(PsdChannels, ChannelFailures) {
    struct Case {
        const char* what;
        Channel channel;
        psdr_status want;
    } cases[] = {
        {"compression 5", Channel::Raw(0, Bytes{0, 5, 1, 2, 3}), PSDR_BAD_COMPRESSION},
        {"run-length past the plane", Channel::Raw(0, Bytes{0, 1, 0, 2, 0xF0, 7}), PSDR_READ_ERROR},
        {"broken zip", Channel::Raw(0, Bytes{0, 2, 9, 9, 9, 9}), PSDR_ZIP_ERROR},
    };
    for (const Case& c : cases) {
        Layer l;
        l.right = 2;
        l.bottom = 1;
        l.channels = {c.channel};
        Image img;
        EXPECT_EQ(Load(RgbDocument(2, 2, {l}).Bytes_(), &img.p), c.want) << c.what;
    }
    // Channel data cut by the end of the file.
    Document d = RgbDocument(8, 8, {RgbLayer(0, 0, 8, 8, "a", 1)});
    Bytes bytes = d.Bytes_();
    bytes.resize(bytes.size() - 8 * 8 * 3 - 2 - 100);
    Image img;
    EXPECT_EQ(Load(bytes, &img.p), PSDR_READ_ERROR);
}

TEST(PsdChannels, CompressionsDecodeAlike) {
    for (int depth : {8, 16}) {
        for (int compression = 0; compression < 4; ++compression) {
            Layer l = RgbLayer(1, 2, 5, 3, "c", unsigned(compression), true, compression);
            if (depth == 16)
                for (Channel& ch : l.channels) ch.plane = Ramp(30, unsigned(ch.id + 10));
            Document d = RgbDocument(8, 8, {l});
            d.depth = uint16_t(depth);
            Image img;
            ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK) << depth << "/" << compression;
            const uint32_t* p = img->layers[0].pixels;
            for (size_t i = 0; i < 15; ++i) {
                const size_t at = depth == 16 ? 2 * i : i;
                uint32_t want = uint32_t(l.channels[0].plane[at]) << 24 | uint32_t(l.channels[1].plane[at]) << 16 |
                                uint32_t(l.channels[2].plane[at]) << 8 | l.channels[3].plane[at];
                ASSERT_EQ(p[i], want) << depth << "/" << compression << " pixel " << i;
            }
        }
    }
}

// Zip at depth 1 fills a plane of rows of (W + 7) / 8 bytes.
TEST(PsdChannels, ZipAtDepthOne) {
    for (int compression : {2, 3}) {
        Document d;
        d.width = d.height = 16;
        d.mode = 0;
        d.depth = 1;
        d.channels = 1;
        Layer l;
        l.right = 12;
        l.bottom = 3;
        Bytes plane = {0xF0, 0x0F, 0x80, 0x00, 0x01, 0x10};
        l.channels.push_back({0, plane, compression});
        d.layers = {l};
        Image img;
        ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK) << compression;
        const uint32_t* p = img->layers[0].pixels;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 12; ++x) {
                bool set = plane[size_t(y * 2 + x / 8)] & (0x80 >> (x % 8));
                ASSERT_EQ(p[y * 12 + x], set ? 0xFF000000u : 0xFFFFFFFFu) << compression << " " << x << "," << y;
            }
    }
}

TEST(PsdMerged, CompressionsAndAlphaPlanes) {
    for (int compression = 0; compression < 4; ++compression) {
        Document d;
        d.width = 5;
        d.height = 3;
        d.depth = 16;
        d.mode = 1;
        d.channels = 2;
        d.write_layers = false;
        d.merged_compression = compression;
        d.merged = {Ramp(30, 1), Ramp(30, 2)};
        d.resources.push_back({1006, Bytes{2, 'a', 'l'}});
        Image img;
        ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK) << compression;
        ASSERT_EQ(img->alpha_channel_count, 1);
        for (size_t i = 0; i < 15; ++i) {
            ASSERT_EQ(img->merged_image[i], 0xFF000000u | d.merged[0][2 * i] * 0x010101u) << compression;
            ASSERT_EQ(img->alpha_channels[0].plane[i], d.merged[1][2 * i]) << compression;
        }
    }
}

TEST(PsdMerged, DepthOneAlphaPlanesExpandBits) {
    Document d;
    d.width = 10;
    d.height = 1;
    d.depth = 1;
    d.mode = 0;
    d.channels = 2;
    d.write_layers = false;
    d.merged = {Bytes{0x00, 0x00}, Bytes{0xA0, 0x40}};
    d.resources.push_back({1053, Bytes{0, 0, 0, 1}});
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    const uint8_t* a = img->alpha_channels[0].plane;
    EXPECT_EQ(Bytes(a, a + 10), (Bytes{255, 0, 255, 0, 0, 0, 0, 0, 0, 255}));
}

TEST(PsdMerged, ShortAndHugeImages) {
    Document d;
    d.width = 4;
    d.height = 4;
    d.write_layers = false;
    d.merged_raw = Bytes{9, 9, 9};
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->merged_image[0], 0xFF090000u);
    EXPECT_EQ(img->merged_image[2], 0xFF090000u);
    EXPECT_EQ(img->merged_image[3], 0xFF000000u) << "missing bytes read as zeros";
    EXPECT_EQ(img->merged_image[15], 0xFF000000u);

    for (int compression : {0, 1, 2}) {
        Document huge;
        huge.width = huge.height = 30000;
        huge.channels = 56;
        huge.write_layers = false;
        huge.merged_compression = compression;
        huge.merged_raw = Bytes(10, 1);
        Image big;
        psdr_status s = Load(huge.Bytes_(), &big.p);
        EXPECT_TRUE(s == PSDR_NO_MEMORY || s == PSDR_READ_ERROR) << compression << ": " << s;
    }
    Document bad;
    bad.width = bad.height = 1;
    bad.write_layers = false;
    bad.merged_compression = 5;
    Image img3;
    EXPECT_EQ(Load(bad.Bytes_(), &img3.p), PSDR_BAD_COMPRESSION);
}

// Merged CMYK and multichannel use the fifth and fourth planes as described.
TEST(PsdMerged, AlphaComesFromPlaneZero) {
    Document d;
    d.width = 2;
    d.height = 1;
    d.mode = 4;
    d.channels = 5;
    d.write_layers = false;
    d.merged = {Bytes{0x80, 0x40}, Bytes{255, 0}, Bytes{255, 0}, Bytes{255, 0}, Bytes{255, 0}};
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->merged_image[0], 0x80FFFFFFu);
    EXPECT_EQ(img->merged_image[1], 0x40000000u);
    EXPECT_EQ(img->layers[0].channels[0].id, -1);
}

namespace {

struct RowCase {
    const char* what;
    std::vector<Channel> channels;
};

Bytes Encoded(int compression, const Bytes& payload) {
    Bytes bytes(2 + payload.size(), 0);
    bytes[1] = uint8_t(compression);
    std::copy(payload.begin(), payload.end(), bytes.begin() + 2);
    return bytes;
}

// What decoding each channel's whole plane and combining gives.
std::vector<uint32_t> ByPlanes(const std::vector<Channel>& channels, size_t w, size_t h) {
    const size_t n = w * h;
    const Bytes* planes[4] = {};
    std::vector<Bytes> decoded;
    decoded.reserve(channels.size());
    for (const Channel& c : channels) {
        Bytes plane(n, 0xEE);
        if (c.encoded.size() >= 3)
            EXPECT_EQ(psdr_decode_plane(c.encoded.data() + 2, c.encoded.size() - 2, c.encoded[1], h, w, 8,
                                        plane.data(), n),
                      PSDR_OK);
        else
            plane.assign(n, 0);
        decoded.push_back(plane);
        if (c.id >= -1 && c.id <= 2) planes[c.id + 1] = &decoded.back();
    }
    std::vector<uint32_t> pixels(n);
    for (size_t i = 0; i < n; ++i) {
        auto at = [&](int k, uint8_t absent) { return planes[k] ? (*planes[k])[i] : absent; };
        pixels[i] = uint32_t(at(0, 255)) << 24 | uint32_t(at(1, 0)) << 16 | uint32_t(at(2, 0)) << 8 | at(3, 0);
    }
    return pixels;
}

}  // namespace

// Layers are combined a row at a time; rows that do not decode to whole
// rows (run-length rows of other lengths, runs across rows, short data)
// give what decoding whole planes gives.
TEST(PsdChannels, RowsGiveWhatPlanesGive) {
    const size_t w = 5, h = 3;
    const Bytes ramp = Ramp(15, 9);
    const Bytes green = Ramp(15, 10), blue = Ramp(15, 11), alpha = Ramp(15, 12);
    auto rgb = [&](Channel red) {
        return std::vector<Channel>{Channel::Raw(-1, Encoded(0, alpha)), red, Channel::Raw(1, Encoded(0, green)),
                                    Channel::Raw(2, Encoded(0, blue))};
    };
    const Bytes rows_4_6_5 = {0, 5, 0, 7, 0, 6, 0x03, 1, 2, 3, 4, 0x05, 5, 6, 7, 8, 9, 10, 0x04, 11, 12, 13, 14, 15};
    const Bytes run_across = {0, 2, 0, 4, 0, 6, 250, 7, 0x02, 1, 2, 3, 0x04, 4, 5, 6, 7, 8};
    const Bytes short_plane = {0, 6, 0, 6, 0, 3, 0x04, 1, 2, 3, 4, 5, 0x04, 6, 7, 8, 9, 10, 0x01, 11, 12};
    const Bytes whole_rows = {0, 6, 0, 2, 0, 6, 0x04, 1, 2, 3, 4, 5, 252, 9, 0x04, 6, 7, 8, 9, 10};
    Bytes zip_short = ZipEncode(Bytes(ramp.begin(), ramp.begin() + 7));
    Bytes zip_whole = ZipEncode(ramp);
    const RowCase cases[] = {
        {"run-length rows of the width", rgb(Channel::Raw(0, Encoded(1, whole_rows)))},
        {"run-length rows of 4, 6 and 5", rgb(Channel::Raw(0, Encoded(1, rows_4_6_5)))},
        {"a run across rows", rgb(Channel::Raw(0, Encoded(1, run_across)))},
        {"run-length data short of the plane", rgb(Channel::Raw(0, Encoded(1, short_plane)))},
        {"raw data short of the plane", rgb(Channel::Raw(0, Encoded(0, Bytes(ramp.begin(), ramp.begin() + 7))))},
        {"zip ending early", rgb(Channel::Raw(0, Encoded(2, zip_short)))},
        {"zip with prediction", rgb(Channel::Raw(0, Encoded(3, zip_whole)))},
        {"an empty alpha", {Channel::Raw(-1, Bytes{0, 0}), Channel::Raw(0, Encoded(0, ramp)),
                            Channel::Raw(1, Encoded(2, ZipEncode(green))), Channel::Raw(2, Encoded(0, blue))}},
        {"no alpha, no blue", {Channel::Raw(0, Encoded(0, ramp)), Channel::Raw(1, Encoded(0, green))}},
        {"the last of two reds", {Channel::Raw(0, Encoded(0, green)), Channel::Raw(0, Encoded(0, ramp)),
                                  Channel::Raw(1, Encoded(0, blue)), Channel::Raw(2, Encoded(0, alpha))}},
    };
    for (const RowCase& c : cases) {
        Layer l;
        l.right = int(w);
        l.bottom = int(h);
        l.channels = c.channels;
        Image img;
        ASSERT_EQ(Load(RgbDocument(8, 8, {l}).Bytes_(), &img.p), PSDR_OK) << c.what;
        const psdr_layer& r = img->layers[0];
        ASSERT_NE(r.pixels, nullptr) << c.what;
        EXPECT_EQ(std::vector<uint32_t>(r.pixels, r.pixels + w * h), ByPlanes(c.channels, w, h)) << c.what;
    }
}

// The first failing channel in file order decides, whichever row shows it first.
TEST(PsdChannels, RowsReportTheFirstFailingChannel) {
    const Bytes late_error = {0, 5, 0, 5, 0, 2, 0x04, 1, 2, 3, 4, 5, 0x04, 1, 2, 3, 4, 5, 0xF0, 7};
    const Bytes broken_zip = {9, 9, 9, 9};
    struct Case {
        const char* what;
        std::vector<Channel> channels;
        psdr_status want;
    } cases[] = {
        {"a late run-length error before an early zip one",
         {Channel::Raw(0, Encoded(1, late_error)), Channel::Raw(1, Encoded(2, broken_zip))}, PSDR_READ_ERROR},
        {"an early zip error before a late run-length one",
         {Channel::Raw(0, Encoded(2, broken_zip)), Channel::Raw(1, Encoded(1, late_error))}, PSDR_ZIP_ERROR},
        {"a bad compression after good rows",
         {Channel::Raw(0, Encoded(0, Ramp(15, 1))), Channel::Raw(1, Encoded(5, Bytes{1, 2, 3}))},
         PSDR_BAD_COMPRESSION},
    };
    for (const Case& c : cases) {
        Layer l;
        l.right = 5;
        l.bottom = 3;
        l.channels = c.channels;
        Image img;
        EXPECT_EQ(Load(RgbDocument(8, 8, {l}).Bytes_(), &img.p), c.want) << c.what;
    }
}
