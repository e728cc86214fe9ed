// Layer records: bounds, flags, masks, blending ranges, names, blocks, folders.

#include <gtest/gtest.h>

#include "PsdTestSupport.h"

using namespace psdtest;

namespace {

Block Lyid(uint32_t id) {
    Writer w;
    w.u32(id);
    return {"lyid", w.data};
}

Block Divider(uint32_t setting) {
    Writer w;
    w.u32(setting);
    return {"lsct", w.data};
}

Bytes MaskBytes(int length, int32_t top, int32_t left, int32_t bottom, int32_t right,
                int32_t top2 = 0, int32_t left2 = 0, int32_t bottom2 = 0, int32_t right2 = 0) {
    Writer w;
    if (length >= 18) {
        for (int32_t v : {top, left, bottom, right}) w.u32(uint32_t(v));
        w.u8(0);     // default colour
        w.u8(0x04);  // invert
        if (length >= 36) {
            w.u8(0x01);
            w.u8(0xFF);
            for (int32_t v : {top2, left2, bottom2, right2}) w.u32(uint32_t(v));
        }
    }
    while (int(w.data.size()) < length) w.u8(0xAB);
    return w.data;
}

}  // namespace

TEST(PsdLayers, LayerCounts) {
    struct Case {
        int count;
        psdr_status status;
        int layers;
    } cases[] = {{-3, PSDR_OK, 3}, {3, PSDR_OK, 3}, {-32768, PSDR_READ_ERROR, 0}};
    for (const Case& c : cases) {
        Document d = RgbDocument(4, 4, {RgbLayer(0, 0, 1, 1, "a", 1), RgbLayer(0, 0, 2, 2, "b", 2),
                                        RgbLayer(1, 1, 3, 3, "c", 3)});
        d.layer_count = c.count;
        Image img;
        EXPECT_EQ(Load(d.Bytes_(), &img.p), c.status) << c.count;
        if (c.status == PSDR_OK) {
            ASSERT_EQ(img->layer_count, c.layers);
            EXPECT_EQ(PixelsOf(img->layers[2]), RgbPixels(d.layers[2]));
        }
    }
    Document none = RgbDocument(2, 2, {});
    none.layer_count = 0;
    Image img;
    ASSERT_EQ(Load(none.Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->layer_count, 1) << "no records: the merged image becomes the one layer";
    Document empty = RgbDocument(2, 2, {});
    empty.layer_info_empty = true;
    Image img2;
    ASSERT_EQ(Load(empty.Bytes_(), &img2.p), PSDR_OK);
    EXPECT_EQ(img2->layer_count, 1);
}

TEST(PsdLayers, RecordFields) {
    Layer l = RgbLayer(-2, 3, 4, 5, "hello", 7);
    l.blend = "scrn";
    l.opacity = 128;
    l.clipping = 5;
    l.flags = 0x02 | 0x01;
    Layer irrelevant = RgbLayer(0, 0, 1, 1, "x", 1);
    irrelevant.flags = 0x18;
    Layer not_irrelevant = RgbLayer(0, 0, 1, 1, "y", 1);
    not_irrelevant.flags = 0x10;
    Image img;
    ASSERT_EQ(Load(RgbDocument(10, 10, {l, irrelevant, not_irrelevant}).Bytes_(), &img.p), PSDR_OK);
    const psdr_layer& r = img->layers[0];
    EXPECT_EQ(r.top, -2);
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.width, 4);
    EXPECT_EQ(r.height, 5);
    EXPECT_EQ(r.blend_mode, 7);
    EXPECT_EQ(r.opacity, 128);
    EXPECT_EQ(r.clipping, 1);
    EXPECT_EQ(r.visible, 0);
    EXPECT_EQ(r.transparency_protected, 1);
    EXPECT_STREQ(r.name, "hello");
    EXPECT_EQ(r.fill_opacity, 255);
    EXPECT_EQ(r.divider_blend_mode, 23);
    EXPECT_EQ(r.mask_disabled, 1);
    EXPECT_EQ(PixelsOf(r), RgbPixels(l));
    EXPECT_EQ(img->layers[1].pixel_data_irrelevant, 1);
    EXPECT_EQ(img->layers[2].pixel_data_irrelevant, 0);
    EXPECT_EQ(img->layers[2].visible, 1);
}

// The name occupies its padded length; what follows is still found, and the
// filler never becomes part of the name.
TEST(PsdLayers, PaddedNames) {
    for (const char* name : {"", "a", "abc", "abcde", "abcdefgh"}) {
        Layer l = RgbLayer(0, 0, 1, 1, name, 1);
        l.blocks.push_back(Lyid(42));
        Image img;
        ASSERT_EQ(Load(RgbDocument(2, 2, {l}).Bytes_(), &img.p), PSDR_OK) << name;
        EXPECT_STREQ(img->layers[0].name, name);
        EXPECT_EQ(img->layers[0].layer_id, 42) << name;
    }
    Layer l = RgbLayer(0, 0, 1, 1, "ok", 1);
    l.name_filler = Bytes{'X'};
    Image img;
    ASSERT_EQ(Load(RgbDocument(2, 2, {l}).Bytes_(), &img.p), PSDR_OK);
    EXPECT_STREQ(img->layers[0].name, "ok");
}

TEST(PsdLayers, MaskDataLengths) {
    struct Case {
        int length;
        bool mask;
        int32_t width;
    } cases[] = {{0, false, 0}, {4, false, 0}, {20, true, 4}, {28, true, 4}, {36, true, 2}};
    for (const Case& c : cases) {
        Layer l = RgbLayer(0, 0, 4, 2, "m", 1);
        l.mask = MaskBytes(c.length, 0, 0, 2, 4, 1, 1, 3, 3);
        l.blocks.push_back(Lyid(9));
        Image img;
        ASSERT_EQ(Load(RgbDocument(4, 4, {l}).Bytes_(), &img.p), PSDR_OK) << c.length;
        const psdr_layer& r = img->layers[0];
        EXPECT_EQ(r.mask_width, c.width) << c.length;
        EXPECT_STREQ(r.name, "m") << c.length;
        EXPECT_EQ(r.layer_id, 9) << c.length;
        EXPECT_EQ(r.mask_disabled, c.mask ? 0 : 1) << c.length;
        if (c.length == 20) {
            EXPECT_EQ(r.mask_invert, 1);
        }
        if (c.length == 36) {
            EXPECT_EQ(r.mask_position_relative, 1);
        }
    }
}

// A user mask comes from -2, or from -3 when the mask data has its second form.
TEST(PsdLayers, UserMaskChannels) {
    Layer l = RgbLayer(0, 0, 4, 2, "m", 1);
    l.mask = MaskBytes(20, 0, 0, 2, 4);
    Bytes mask = Ramp(8, 5);
    l.channels.push_back({-2, mask, 1});
    l.channels.back().rows = 2;
    l.channels.back().row_samples = 4;
    Image img;
    ASSERT_EQ(Load(RgbDocument(4, 4, {l}).Bytes_(), &img.p), PSDR_OK);
    ASSERT_NE(img->layers[0].user_mask, nullptr);
    EXPECT_EQ(Bytes(img->layers[0].user_mask, img->layers[0].user_mask + 8), mask);
    EXPECT_EQ(PixelsOf(img->layers[0]), RgbPixels(l));

    Layer both = RgbLayer(0, 0, 4, 2, "b", 2);
    both.mask = MaskBytes(36, 0, 0, 5, 7, 0, 0, 3, 3);
    Channel vector_mask(-2, Ramp(35, 9), 1);
    vector_mask.rows = 5;
    vector_mask.row_samples = 7;
    Bytes real = Ramp(9, 10);
    Channel real_mask(-3, real, 1);
    real_mask.rows = 3;
    real_mask.row_samples = 3;
    both.channels.push_back(vector_mask);
    both.channels.push_back(real_mask);
    Image img2;
    ASSERT_EQ(Load(RgbDocument(8, 8, {both}).Bytes_(), &img2.p), PSDR_OK);
    const psdr_layer& r = img2->layers[0];
    EXPECT_EQ(r.mask_width, 3);
    ASSERT_NE(r.user_mask, nullptr);
    EXPECT_EQ(Bytes(r.user_mask, r.user_mask + 9), real);
    EXPECT_EQ(PixelsOf(r), RgbPixels(both));
}

TEST(PsdLayers, BlendingRanges) {
    struct Case {
        int length;
        psdr_status status;
        int channels;
    } cases[] = {{0, PSDR_OK, 0}, {8, PSDR_NO_BLEND_RANGES, 0}, {15, PSDR_NO_BLEND_RANGES, 0},
                 {16, PSDR_OK, 1}, {20, PSDR_OK, 1}, {40, PSDR_OK, 4}};
    for (const Case& c : cases) {
        Layer l = RgbLayer(0, 0, 2, 2, "named", 1);
        l.blending_default = c.length == 0;
        Writer w;
        for (int i = 0; i < c.length / 2; ++i) w.u16(unsigned(0x100 + i));
        if (c.length % 2) w.u8(0);
        l.blending = w.data;
        l.blocks.push_back(Lyid(5));
        Image img;
        ASSERT_EQ(Load(RgbDocument(4, 4, {l}).Bytes_(), &img.p), c.status) << c.length;
        if (c.status != PSDR_OK) continue;
        const psdr_layer& r = img->layers[0];
        EXPECT_EQ(r.blend_channel_count, c.channels) << c.length;
        EXPECT_STREQ(r.name, "named") << c.length;
        EXPECT_EQ(r.layer_id, 5) << c.length;
        if (c.channels > 0) {
            EXPECT_EQ(r.grey_blend_ranges[3], 0x103);
            EXPECT_EQ(r.blend_source_black[0], 0x104);
            EXPECT_EQ(r.blend_dest_white[c.channels - 1], 0x104 + 4 * c.channels - 1);
        }
    }
}

TEST(PsdLayers, AdditionalBlocks) {
    Layer l = RgbLayer(0, 0, 2, 2, "a", 1);
    Writer fx;
    fx.f64(12.9);
    fx.f64(-1e300);
    l.blocks = {{"zzzz", Bytes(7, 1)}, Lyid(3), {"fxrp", fx.data}, {"iOpa", Bytes{77}},
                {"lspf", Bytes{0, 0, 0, 5}}, {"clbl", Bytes{0}}, {"lclr", Bytes{1, 2, 3, 4, 0, 0, 0, 0}}};
    l.blocks[0].odd_length_as_is = true;
    l.extra_tail = Bytes{0, 0};
    Layer next = RgbLayer(0, 0, 3, 1, "b", 2);
    Image img;
    ASSERT_EQ(Load(RgbDocument(4, 4, {l, next}).Bytes_(), &img.p), PSDR_OK);
    const psdr_layer& r = img->layers[0];
    EXPECT_EQ(r.layer_id, 3);
    EXPECT_EQ(r.reference_x, 12);
    EXPECT_EQ(r.reference_y, INT32_MIN);
    EXPECT_EQ(r.fill_opacity, 77);
    EXPECT_EQ(r.protect_transparency, 1);
    EXPECT_EQ(r.protect_position, 1);
    EXPECT_EQ(r.blend_clipped, 0);
    EXPECT_EQ(r.sheet_colour, 0xFF010203u);
    EXPECT_EQ(PixelsOf(img->layers[1]), RgbPixels(next));

    Layer bad = RgbLayer(0, 0, 1, 1, "c", 1);
    bad.blocks.push_back(Lyid(1));
    bad.blocks.back().signature = "8BXX";
    Image img2;
    EXPECT_EQ(Load(RgbDocument(2, 2, {bad}).Bytes_(), &img2.p), PSDR_BAD_BLOCK_SIGNATURE);
}

TEST(PsdLayers, SectionDividersAndFolders) {
    Layer end = RgbLayer(0, 0, 1, 1, "</end>", 1);
    end.blocks.push_back(Divider(3));
    Layer a = RgbLayer(0, 0, 1, 1, "A", 2), b = RgbLayer(0, 0, 1, 1, "B", 3);
    Layer f = RgbLayer(0, 0, 1, 1, "F", 4);
    Writer div;
    div.u32(1);
    div.key("8BIM");
    div.key("norm");
    f.blocks.push_back({"lsct", div.data});
    Layer zero = RgbLayer(0, 0, 1, 1, "Z", 5);
    zero.blocks.push_back(Divider(0));
    Image img;
    ASSERT_EQ(Load(RgbDocument(2, 2, {zero, end, a, b, f}).Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->layers[0].type, 0);
    EXPECT_EQ(img->layers[1].type, 1);
    EXPECT_EQ(img->layers[4].type, 2);
    EXPECT_EQ(img->layers[4].divider_blend_mode, 0);
    EXPECT_EQ(img->layers[2].parent, &img->layers[4]);
    EXPECT_EQ(img->layers[3].parent, &img->layers[4]);
    EXPECT_EQ(img->layers[0].parent, nullptr);
    EXPECT_EQ(img->layers[1].parent, nullptr);
    EXPECT_EQ(img->layers[4].parent, nullptr);

    Layer broken = RgbLayer(0, 0, 1, 1, "x", 1);
    Writer bad;
    bad.u32(2);
    bad.key("XXXX");
    bad.key("norm");
    broken.blocks.push_back({"lsct", bad.data});
    Image img2;
    EXPECT_EQ(Load(RgbDocument(2, 2, {broken}).Bytes_(), &img2.p), PSDR_BAD_DIVIDER_SIGNATURE);
}

// Bounds with right < left make an empty layer; the next one still decodes.
TEST(PsdLayers, InvertedAndHugeBounds) {
    Layer inverted;
    inverted.top = 0;
    inverted.left = 10;
    inverted.bottom = 4;
    inverted.right = 2;
    inverted.name = "inv";
    inverted.channels.push_back({0, Ramp(6, 1)});
    Layer next = RgbLayer(1, 1, 2, 2, "next", 3);
    Image img;
    ASSERT_EQ(Load(RgbDocument(4, 4, {inverted, next}).Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->layers[0].width, 0);
    EXPECT_EQ(img->layers[0].right, 2);
    EXPECT_EQ(img->layers[0].pixels, nullptr);
    EXPECT_EQ(PixelsOf(img->layers[1]), RgbPixels(next));

    Layer huge;
    huge.right = 30001;
    huge.bottom = 1;
    Image img2;
    EXPECT_EQ(Load(RgbDocument(4, 4, {huge}).Bytes_(), &img2.p), PSDR_READ_ERROR);
    Layer wide;
    wide.left = INT32_MIN;
    wide.right = INT32_MAX;
    wide.bottom = 1;
    Image img3;
    EXPECT_EQ(Load(RgbDocument(4, 4, {wide}).Bytes_(), &img3.p), PSDR_READ_ERROR);
    Layer many = RgbLayer(0, 0, 1, 1, "m", 1);
    for (int i = 0; i < 54; ++i) many.channels.push_back({3, Bytes{1}});
    Image img4;
    EXPECT_EQ(Load(RgbDocument(4, 4, {many}).Bytes_(), &img4.p), PSDR_READ_ERROR) << "58 channels";
}

// More than 20 stored records: the rest are skipped, the layer is still an adjustment.
TEST(PsdLayers, ExtraSlotsAreBounded) {
    Layer l = RgbLayer(0, 0, 1, 1, "inv", 1);
    for (int i = 0; i < 21; ++i) l.blocks.push_back({"nvrt", {}});
    Writer post;
    post.u16(4);
    post.u16(0);
    l.blocks.push_back({"post", post.data});
    Image img;
    ASSERT_EQ(Load(RgbDocument(2, 2, {l}).Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->layers[0].extra_count, 20);
    EXPECT_EQ(img->layers[0].type, 14);
    EXPECT_EQ(img->layers[0].adjustment, 1);
}

// "Lr16" brings its own records; the earlier ones are released (leak check).
TEST(PsdLayers, Lr16ReplacesTheLayers) {
    Document d = RgbDocument(4, 4, {RgbLayer(0, 0, 2, 2, "old", 1), RgbLayer(0, 0, 1, 1, "old2", 2)});
    Layer fresh = RgbLayer(0, 0, 3, 1, "new", 3);
    d.global_blocks.push_back({"Lr16", LayerInfo({fresh}, 8).data});
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    ASSERT_EQ(img->layer_count, 1);
    EXPECT_STREQ(img->layers[0].name, "new");
    EXPECT_EQ(PixelsOf(img->layers[0]), RgbPixels(fresh));
}

TEST(PsdLayers, GlobalMask) {
    Document d = RgbDocument(2, 2, {RgbLayer(0, 0, 1, 1, "a", 1)});
    Writer m;
    m.u16(0);
    for (unsigned v : {0x1200u, 0x3400u, 0x5600u, 0u}) m.u16(v);
    m.u16(50);
    m.u8(1);
    m.zeros(3);
    d.global_mask = m.data;
    Image img;
    ASSERT_EQ(Load(d.Bytes_(), &img.p), PSDR_OK);
    EXPECT_EQ(img->global_mask_colour, 0xFF123456u);
    EXPECT_EQ(img->global_mask_opacity, 50);
    EXPECT_EQ(img->global_mask_kind, 1);
}
