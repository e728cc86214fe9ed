// Entry points, lifecycle, header, colour mode data and image resources.

#include <unistd.h>

#include <gtest/gtest.h>

#include "PsdTestSupport.h"

using namespace psdtest;

namespace {

psdr_image* const kSentinel = reinterpret_cast<psdr_image*>(uintptr_t(0x5EB7));

std::string TempFile(const Bytes& bytes) {
    char path[] = "/tmp/psd_test_XXXXXX";
    int fd = mkstemp(path);
    if (fd >= 0) {
        if (!bytes.empty() && write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size())) path[0] = 0;
        close(fd);
    }
    return path;
}

Document Flat(uint16_t channels) {
    Document d;
    d.width = 3;
    d.height = 2;
    d.channels = channels;
    d.write_layers = false;
    for (int c = 0; c < channels; ++c) d.merged.push_back(Ramp(6, unsigned(c) + 1));
    return d;
}

}  // namespace

TEST(PsdLoad, EntryPointArguments) {
    psdr_image* out = kSentinel;
    EXPECT_EQ(psdr_load(&out, nullptr), PSDR_INVALID_FILE);
    EXPECT_EQ(out, kSentinel);
    EXPECT_EQ(psdr_load(&out, "/nonexistent/dir/x.psd"), PSDR_INVALID_FILE);
    EXPECT_EQ(out, kSentinel);
    EXPECT_EQ(psdr_load(nullptr, "x.psd"), PSDR_INVALID_IMAGE);
    EXPECT_EQ(psdr_load_file(nullptr, &out, 0, 1 << 20), PSDR_INVALID_FILE);
    EXPECT_EQ(out, kSentinel);
    EXPECT_EQ(psdr_free(nullptr), PSDR_INVALID_IMAGE);

    std::string empty = TempFile({});
    EXPECT_EQ(psdr_load(&out, empty.c_str()), PSDR_READ_ERROR);
    EXPECT_EQ(out, nullptr);
    unlink(empty.c_str());
}

TEST(PsdLoad, LoadsAFileByPath) {
    Layer l = RgbLayer(1, 2, 3, 2, "pic", 4);
    std::string path = TempFile(RgbDocument(8, 8, {RgbLayer(0, 0, 1, 1, "bottom", 9), l}).Bytes_());
    psdr_image* out = nullptr;
    ASSERT_EQ(psdr_load(&out, path.c_str()), PSDR_OK);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->file, nullptr) << "the file is closed after the load";
    ASSERT_EQ(out->layer_count, 2);
    EXPECT_EQ(PixelsOf(out->layers[1]), RgbPixels(l));
    EXPECT_EQ(psdr_free(out), PSDR_OK);
    unlink(path.c_str());
}

// Any failure after the record exists nulls the caller's pointer and leaks nothing.
TEST(PsdLoad, FailuresNullTheOutPointer) {
    Document bad_record = RgbDocument(4, 4, {RgbLayer(0, 0, 2, 2, "a", 1), RgbLayer(0, 0, 2, 2, "b", 2)});
    bad_record.layers[1].signature = "XXXX";
    Document big = RgbDocument(64, 64, {RgbLayer(0, 0, 64, 64, "a", 1)});
    struct Case {
        const char* what;
        Bytes bytes;
        size_t budget;
        psdr_status want;
    } cases[] = {
        {"fourth section fails", bad_record.Bytes_(), size_t(1) << 20, PSDR_BAD_RECORD_SIGNATURE},
        {"over the memory budget", big.Bytes_(), 4096, PSDR_NO_MEMORY},
        {"short header", Bytes{'8', 'B', 'P', 'S', 0, 1}, size_t(1) << 20, PSDR_READ_ERROR},
    };
    for (const Case& c : cases) {
        psdr_image* out = kSentinel;
        EXPECT_EQ(Load(c.bytes, &out, 0, c.budget), c.want) << c.what;
        EXPECT_EQ(out, nullptr) << c.what;
    }
}

TEST(PsdLoad, HeaderChecks) {
    struct Case {
        const char* what;
        void (*change)(Document&);
        psdr_status want;
    } cases[] = {
        {"signature", [](Document& d) { d.signature = "8BPX"; }, PSDR_BAD_SIGNATURE},
        {"version 2", [](Document& d) { d.version = 2; }, PSDR_BAD_VERSION},
        {"depth 32", [](Document& d) { d.depth = 32; }, PSDR_BAD_DEPTH},
        {"mode 5", [](Document& d) { d.mode = 5; }, PSDR_BAD_COLOUR_MODE},
        {"mode 10", [](Document& d) { d.mode = 10; }, PSDR_BAD_COLOUR_MODE},
        {"Lab at depth 8", [](Document& d) { d.mode = 9; }, PSDR_OK},
        {"width 30001", [](Document& d) { d.width = 30001; }, PSDR_READ_ERROR},
        {"height 0xFFFFFFFF", [](Document& d) { d.height = 0xFFFFFFFF; }, PSDR_READ_ERROR},
        {"no channels", [](Document& d) { d.channels = 0; }, PSDR_READ_ERROR},
        {"57 channels", [](Document& d) { d.channels = 57; }, PSDR_READ_ERROR},
        {"56 channels", [](Document& d) { d.channels = 56; }, PSDR_OK},
    };
    for (const Case& c : cases) {
        Document d;
        d.width = d.height = 2;
        d.write_layers = false;
        d.write_merged = false;
        c.change(d);
        Image img;
        EXPECT_EQ(Load(d.Bytes_(), &img.p), c.want) << c.what;
    }
}

TEST(PsdLoad, HeaderOnlyTag) {
    Document d = RgbDocument(7, 5, {RgbLayer(0, 0, 2, 2, "a", 1)});
    d.depth = 16;
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p, 1), PSDR_OK);
    EXPECT_EQ(img->width, 7);
    EXPECT_EQ(img->height, 5);
    EXPECT_EQ(img->channel_count, 3);
    EXPECT_EQ(img->depth, 16);
    EXPECT_EQ(img->colour_mode, 3);
    EXPECT_EQ(img->layer_count, 0);
    EXPECT_EQ(img->consumed, 26);
}

TEST(PsdLoad, FlatDocumentGetsOneLayer) {
    // Tag 0 copies the merged image; tag 2 hands it to the layer.
    for (int tag : {0, 2}) {
        Image img;
        ASSERT_EQ(Load(Flat(3).Bytes_(), &img.p, tag), PSDR_OK);
        ASSERT_EQ(img->layer_count, 1);
        const psdr_layer& l = img->layers[0];
        EXPECT_EQ(l.right, 3);
        EXPECT_EQ(l.bottom, 2);
        EXPECT_EQ(l.opacity, 255);
        EXPECT_EQ(l.visible, 1);
        ASSERT_EQ(l.channel_count, 3);
        EXPECT_EQ(l.channels[0].id, 0);
        EXPECT_EQ(l.blend_source_white[2], -1);
        ASSERT_NE(l.pixels, nullptr);
        Bytes r = Ramp(6, 1), g = Ramp(6, 2), b = Ramp(6, 3);
        for (size_t i = 0; i < 6; ++i)
            EXPECT_EQ(l.pixels[i], 0xFF000000u | r[i] << 16 | g[i] << 8 | b[i]);
        if (tag == 0) {
            ASSERT_NE(img->merged_image, nullptr);
            EXPECT_NE(img->merged_image, l.pixels);
            EXPECT_EQ(std::memcmp(img->merged_image, l.pixels, 24), 0);
        } else {
            EXPECT_EQ(img->merged_image, nullptr);
        }
    }
    Image four;
    ASSERT_EQ(Load(Flat(4).Bytes_(), &four.p), PSDR_OK);
    ASSERT_EQ(four->layers[0].channel_count, 4);
    EXPECT_EQ(four->layers[0].channels[0].id, -1);
    EXPECT_EQ(four->layers[0].channels[3].id, 2);
    Bytes a = Ramp(6, 1), r = Ramp(6, 2);
    EXPECT_EQ(four->layers[0].pixels[4] >> 16, uint32_t(a[4]) << 8 | r[4]) << "alpha from plane 0";
}

TEST(PsdLoad, TagTwoWithLayersSkipsTheMergedImage) {
    Document d = RgbDocument(4, 4, {RgbLayer(0, 0, 2, 2, "a", 1)});
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p, 2), PSDR_OK);
    EXPECT_EQ(img->merged_image, nullptr);
    EXPECT_EQ(img->layer_count, 1);
}

TEST(PsdLoad, ColourModeData) {
    struct Case {
        size_t length;
        int entries;
    } cases[] = {{0, 0}, {768, 256}, {770, 256}, {5, 1}};
    for (const Case& c : cases) {
        Document d;
        d.width = d.height = 1;
        d.mode = 2;
        d.channels = 1;
        d.write_layers = false;
        d.colour_data = Ramp(c.length, 3);
        Bytes caption = {2, 'o', 'k'};
        d.resources.push_back({1008, caption});
        Image img;
        ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK) << c.length;
        EXPECT_EQ(img->colour_table_size, c.entries);
        EXPECT_STREQ(img->caption, "ok") << "the next section is still found after " << c.length;
        if (c.entries > 1) {
            size_t n = c.length / 3;
            EXPECT_EQ(img->colour_table[1], 0xFF000000u | d.colour_data[1] << 16 |
                                                d.colour_data[n + 1] << 8 | d.colour_data[2 * n + 1]);
        }
    }
    Document d;
    d.width = d.height = 1;
    Bytes bytes = d.Bytes_();
    bytes[29] = 0x40;  // colour data length past the end of the file
    Image img;
    EXPECT_EQ(Load(bytes, &img.p), PSDR_READ_ERROR);
}

TEST(PsdLoad, ResourcesAreDecoded) {
    Document d;
    d.width = d.height = 2;
    d.channels = 5;
    d.write_layers = false;
    Writer res;
    res.u32(72 << 16);
    res.u16(1);
    res.u16(2);
    res.u32(144 << 16);
    res.u16(1);
    res.u16(3);
    d.resources.push_back({1005, res.data});
    d.resources.push_back({1006, Bytes{7, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 4, 'w', 'x', 'y', 'z'}});
    d.resources.push_back({1034, Bytes{0x12, 0x01}});
    d.resources.push_back({1042, Bytes{0x34, 0x00}});
    d.resources.push_back({1037, Bytes{0, 0, 0, 45}});
    d.resources.push_back({1053, Bytes{0, 0, 0, 9, 0, 0, 0, 10}});
    d.resources.push_back({1026, Bytes{0, 1, 0, 2, 0, 3}});
    d.resources.push_back({1024, Bytes{0, 7}});
    d.resources.back().name = "odd";
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    EXPECT_FLOAT_EQ(img->h_resolution, 72.0f);
    EXPECT_FLOAT_EQ(img->v_resolution, 144.0f);
    EXPECT_EQ(img->height_unit, 3);
    EXPECT_EQ(img->alpha_channel_count, 2);
    EXPECT_EQ(img->colour_channel_count, 3);
    EXPECT_STREQ(img->alpha_channels[0].name, "abcdefg");
    EXPECT_STREQ(img->alpha_channels[1].name, "wxyz");
    EXPECT_EQ(img->alpha_channels[1].id, 10);
    EXPECT_EQ(img->rights_flag, 0x01);
    EXPECT_EQ(img->effects_visible, 0x00);
    EXPECT_EQ(img->global_angle, 45);
    EXPECT_EQ(img->global_altitude, 30);
    EXPECT_EQ(img->layer_group_count, 3);
    EXPECT_EQ(img->target_layer, 7);
    EXPECT_EQ(img->indexed_colour_count, 0);
    EXPECT_NE(img->alpha_channels[0].plane, nullptr);
}

// The alpha resources may name more channels than the document has.
TEST(PsdLoad, AlphaResourcesAreBounded) {
    Document d;
    d.width = d.height = 1;
    d.write_layers = false;
    d.resources.push_back({1006, Bytes{1, 'a', 1, 'b', 1, 'c', 1, 'd'}});
    Writer uni;
    for (int i = 0; i < 5; ++i) uni.unicode("xy");
    uni.u32(0x7FFFFFFF);  // a count past the data
    d.resources.push_back({1045, uni.data});
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->alpha_channel_count, 3);
    EXPECT_EQ(img->colour_channel_count, 0);
    EXPECT_EQ(img->alpha_channels[2].unicode_name_length, 2);
}

TEST(PsdLoad, ResourceSectionErrors) {
    Document d;
    d.width = d.height = 1;
    d.write_layers = false;
    for (int i = 0; i < 3; ++i) d.resources.push_back({1037, Bytes{0, 0, 0, 1}});
    d.resources.push_back({1037, Bytes{0, 0, 0, 1}});
    d.resources.back().signature = "MIB8";
    Image img;
    EXPECT_EQ(Load(d.Bytes_(), &img.p), PSDR_BAD_RESOURCE_SIGNATURE);

    Document big;
    big.width = big.height = 1;
    big.write_layers = false;
    big.resources.push_back({1037, Bytes{0, 0, 0, 1}});
    Writer w = big.Build();
    // The block's size field sits after the 26-byte header, 4 colour bytes,
    // 4 section bytes, signature, id and the padded empty name.
    const size_t size_at = 26 + 4 + 4 + 4 + 2 + 2;
    for (int k = 0; k < 4; ++k) w.data[size_at + size_t(k)] = 0xFF;
    Image img2;
    EXPECT_EQ(Load(w.data, &img2.p), PSDR_READ_ERROR) << "a block longer than its section";
}

TEST(PsdLoad, TagsFilterResources) {
    Document d;
    d.width = d.height = 2;
    d.write_layers = false;
    Bytes jpeg = MakeJpeg(4, 3, 3, false, false, 1);
    d.resources.push_back({1008, Bytes{1, 'c'}});
    d.resources.push_back({1036, ThumbnailResource(jpeg, 4, 3, uint32_t(jpeg.size()))});
    Image four;
    ASSERT_EQ(Load(d.Bytes_(), &four.p, 4), PSDR_OK);
    EXPECT_STREQ(four->caption, "");
    EXPECT_EQ(four->thumbnail_present, 1);
    EXPECT_NE(four->thumbnail_pixels, nullptr);
    EXPECT_EQ(four->merged_image, nullptr);
    Image two;
    ASSERT_EQ(Load(d.Bytes_(), &two.p, 2), PSDR_OK);
    EXPECT_STREQ(two->caption, "c");
    EXPECT_EQ(two->thumbnail_present, 0);
    Image three;
    ASSERT_EQ(Load(d.Bytes_(), &three.p, 3), PSDR_OK);
    EXPECT_STREQ(three->caption, "");
    EXPECT_NE(three->merged_image, nullptr);
    EXPECT_EQ(three->layer_count, 0);
}

// Replacing a resource must release the one it replaces (leak check).
TEST(PsdLoad, RepeatedResourcesReplaceTheFirst) {
    Document d;
    d.width = d.height = 1;
    d.write_layers = false;
    Bytes small = MakeJpeg(2, 2, 3, false, false, 1);
    Bytes large = MakeJpeg(5, 4, 3, false, false, 2);
    d.resources.push_back({1033, ThumbnailResource(small, 2, 2, uint32_t(small.size()))});
    d.resources.push_back({1036, ThumbnailResource(large, 5, 4, uint32_t(large.size()))});
    Writer v1, v2;
    for (Writer* v : {&v1, &v2}) {
        v->u32(1);
        v->u8(1);
        v->unicode("writer");
        v->unicode("reader");
        v->u32(1);
    }
    d.resources.push_back({1057, v1.data});
    d.resources.push_back({1057, v2.data});
    d.resources.push_back({1026, Bytes{0, 1}});
    d.resources.push_back({1026, Bytes{0, 2, 0, 3}});
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->thumbnail_width, 5);
    EXPECT_EQ(img->writer_name_length, 6);
    EXPECT_EQ(img->layer_group_count, 2);
}
