// Effects, adjustments, fills, descriptors, patterns and the thumbnail.

#include <cstdio>
#include <functional>

#include <jpeglib.h>

#include <gtest/gtest.h>

#include "PsdTestSupport.h"

using namespace psdtest;

namespace {

// Loads a one-layer document whose layer carries `blocks`.
psdr_status LoadBlocks(std::vector<Block> blocks, Image* img) {
    Layer l = RgbLayer(0, 0, 1, 1, "x", 1);
    l.blocks = std::move(blocks);
    return Load(RgbDocument(2, 2, {l}).Bytes_(), &img->p);
}

template <typename T>
const T* Extra(const Image& img, int slot = 0) {
    return static_cast<const T*>(img->layers[0].extra_records[slot]);
}

void ColourRecord(Writer& w, unsigned r, unsigned g, unsigned b) {
    w.u16(0);
    w.u16(r << 8);
    w.u16(g << 8);
    w.u16(b << 8);
    w.u16(0);
}

Writer LrfxShadow(uint32_t version, size_t extra_bytes) {
    Writer e;
    e.u32(version);
    e.u16(7);   // blur
    e.u32(3);   // intensity
    e.u32(90);  // angle
    e.u32(4);   // distance
    e.u16(0);
    ColourRecord(e, 1, 2, 3);
    e.key("8BIM");
    e.key("mul ");
    e.u8(1);
    e.u8(0);
    e.u8(200);
    if (version == 2) ColourRecord(e, 4, 5, 6);
    e.zeros(extra_bytes);
    return e;
}

Bytes Lrfx(uint16_t version, const std::vector<std::pair<std::string, Writer>>& effects) {
    Writer w;
    w.u16(version);
    w.u16(unsigned(effects.size()));
    for (const auto& [key, body] : effects) {
        w.key("8BIM");
        w.key(key.c_str());
        w.u32(uint32_t(body.data.size()));
        w.raw(body.data);
    }
    return w.data;
}

// An effect descriptor item: key, "Objc", class name, class id, items.
void BeginObject(Writer& w, const std::string& key, int items) {
    w.desc_key(key);
    w.key("Objc");
    w.unicode("");
    w.desc_key("null");
    w.u32(uint32_t(items));
}

Bytes Lfx2(const std::function<int(Writer&)>& items) {
    Writer body;
    int count = items(body);
    Writer w;
    w.u32(0);
    w.u32(16);
    w.unicode("");
    w.desc_key("null");
    w.u32(uint32_t(count));
    w.raw(body.data);
    return w.data;
}

void Opacity(Writer& w, double percent) { DescUnitDouble(w, "Opct", "#Prc", percent); }

void Gradient(Writer& w, int stops) {
    w.desc_key("Grad");
    w.key("Objc");
    w.unicode("");
    w.desc_key("Grdn");
    w.u32(3);
    w.desc_key("Nm  ");
    w.key("TEXT");
    w.unicode("grad");
    w.desc_key("Intr");
    w.key("doub");
    w.f64(4096);
    w.desc_key("Clrs");
    w.key("VlLs");
    w.u32(uint32_t(stops));
    for (int i = 0; i < stops; ++i) {
        w.key("Objc");
        w.unicode("");
        w.desc_key("Clrt");
        w.u32(3);
        w.desc_key("Clr ");
        w.key("Objc");
        DescColour(w, 10 * i, 20, 30);
        w.desc_key("Type");
        w.key("enum");
        w.desc_key("Clry");
        w.desc_key("UsrS");
        w.desc_key("Lctn");
        w.key("long");
        w.u32(uint32_t(100 * i));
        w.desc_key("Mdpn");
        w.key("long");
        w.u32(50);
    }
}

Bytes ContourItems(const std::vector<std::pair<double, double>>& points) {
    Writer w;
    w.unicode("");
    w.desc_key("ShpC");
    w.u32(2);
    w.desc_key("Nm  ");
    w.key("TEXT");
    w.unicode("Linear");
    w.desc_key("Crv ");
    w.key("VlLs");
    w.u32(uint32_t(points.size()));
    for (auto [h, v] : points) {
        w.key("Objc");
        w.unicode("");
        w.desc_key("CrPt");
        w.u32(2);
        w.desc_key("Hrzn");
        w.key("doub");
        w.f64(h);
        w.desc_key("Vrtc");
        w.key("doub");
        w.f64(v);
    }
    return w.data;
}

}  // namespace

TEST(PsdEffects, LrfxVersionsAndKeys) {
    Image a;
    EXPECT_EQ(LoadBlocks({{"lrFX", Lrfx(1, {})}}, &a), PSDR_EFFECTS_VERSION);
    Image b;
    EXPECT_EQ(LoadBlocks({{"lrFX", Lrfx(0, {{"zzzz", Writer()}})}}, &b), PSDR_EFFECT_KEY);
    Image c;
    EXPECT_EQ(LoadBlocks({{"lrFX", Lrfx(0, {{"dsdw", LrfxShadow(1, 0)}})}}, &c), PSDR_SHADOW_VERSION);
}

// Each effect ends where its size says, even when it is longer than its fields.
TEST(PsdEffects, LrfxShadowsAndLongerEffects) {
    Writer common;
    common.u32(0);
    common.u8(1);
    common.zeros(2);
    Image img;
    ASSERT_EQ(LoadBlocks({{"lrFX", Lrfx(0, {{"cmnS", common}, {"dsdw", LrfxShadow(0, 4)},
                                            {"isdw", LrfxShadow(2, 0)}})}},
                         &img),
              PSDR_OK);
    ASSERT_EQ(img->layers[0].extra_kinds[0], PSDR_EXTRA_EFFECTS_LRFX);
    const auto* fx = Extra<psdr_effects>(img);
    EXPECT_EQ(fx->count, 3);
    EXPECT_EQ(fx->visible, 1);
    EXPECT_EQ(fx->drop_shadow.size, 7);
    EXPECT_EQ(fx->drop_shadow.blend_mode, 3);
    EXPECT_EQ(fx->drop_shadow.colour, 0xFF010203u);
    EXPECT_EQ(fx->drop_shadow.native_colour, 0xFF000000u) << "version 0 has no native colour";
    EXPECT_EQ(fx->drop_shadow.opacity, 200);
    EXPECT_EQ(fx->inner_shadow.native_colour, 0xFF040506u);
    EXPECT_EQ(fx->present[PSDR_FX_DROP_SHADOW], 1);
    EXPECT_EQ(fx->present2[PSDR_FX_INNER_SHADOW], 1);
    EXPECT_EQ(fx->present[PSDR_FX_BEVEL], 0);
}

TEST(PsdEffects, Lfx2MasterSwitchAndShadow) {
    Bytes block = Lfx2([](Writer& w) {
        DescUnitDouble(w, "Scl ", "#Prc", 100);
        DescBool(w, "masterFXSwitch", false);
        BeginObject(w, "DrSh", 4);
        DescBool(w, "enab", true);
        DescEnum(w, "Md  ", "BlnM", "Scrn");
        Opacity(w, 50.0);
        DescBool(w, "layerConceals", true);
        return 3;
    });
    Image img;
    ASSERT_EQ(LoadBlocks({{"lfx2", block}}, &img), PSDR_OK);
    const auto* fx = Extra<psdr_effects>(img);
    EXPECT_EQ(fx->visible, 0);
    EXPECT_EQ(fx->count, 1);
    EXPECT_EQ(fx->present[PSDR_FX_DROP_SHADOW], 1);
    EXPECT_EQ(fx->drop_shadow.enabled, 1);
    EXPECT_EQ(fx->drop_shadow.blend_mode, 7);
    EXPECT_EQ(fx->drop_shadow.opacity, 128);
    EXPECT_EQ(fx->drop_shadow.layer_knocks_out, 1);
    EXPECT_EQ(fx->drop_shadow.distance, 5) << "defaults stay for absent keys";
}

TEST(PsdEffects, Lfx2ValueConversions) {
    Bytes block = Lfx2([](Writer& w) {
        BeginObject(w, "OrGl", 4);
        Gradient(w, 2);
        Gradient(w, 3);  // a second gradient replaces the first
        Opacity(w, 100.0);
        DescEnum(w, "Md  ", "BlnM", "hardMix");
        BeginObject(w, "IrGl", 2);
        Gradient(w, 1);
        w.desc_key("Clr ");
        w.key("Objc");
        DescColour(w, 300.7, 20.2, -5);
        BeginObject(w, "FrFX", 3);
        DescEnum(w, "PntT", "FrFl", "SClr");
        DescUnitDouble(w, "Scl ", "#Prc", 40);
        DescUnitDouble(w, "Sz  ", "#Pxl", 9.9);
        return 3;
    });
    Image img;
    ASSERT_EQ(LoadBlocks({{"lfx2", block}}, &img), PSDR_OK);
    const auto* fx = Extra<psdr_effects>(img);
    EXPECT_EQ(fx->count, 3);
    EXPECT_EQ(fx->outer_glow.fill_type, 1);
    ASSERT_EQ(fx->outer_glow.gradient.colour_stop_count, 3);
    EXPECT_EQ(fx->outer_glow.gradient.smoothness, 4096);
    EXPECT_EQ(fx->outer_glow.gradient.colour_stops[2].location, 200);
    EXPECT_EQ(fx->outer_glow.gradient.colour_stops[2].colour, 0xFF14141Eu);
    EXPECT_EQ(fx->outer_glow.gradient.colour_stops[1].type, 2);
    EXPECT_EQ(fx->outer_glow.gradient.name_length, 4);
    EXPECT_EQ(fx->outer_glow.opacity, 255);
    EXPECT_EQ(fx->outer_glow.blend_mode, 16);
    EXPECT_EQ(fx->inner_glow.fill_type, 0);
    EXPECT_EQ(fx->inner_glow.colour, 0xFF2C14FBu) << "colour channels keep their low byte";
    EXPECT_EQ(fx->stroke.gradient_scale, 100);
    EXPECT_EQ(fx->stroke.pattern_scale, 100);
    EXPECT_EQ(fx->stroke.size, 9) << "the item after the dropped scale is still read";
}

TEST(PsdDescriptors, Contours) {
    auto table_of = [](const std::vector<std::pair<double, double>>& points) {
        StreamImage s(ContourItems(points));
        uint8_t table[256];
        for (int i = 0; i < 256; ++i) table[i] = uint8_t(i);
        psdr_read_contour(table, s.get());
        return std::vector<uint8_t>(table, table + 256);
    };
    std::vector<uint8_t> identity(256);
    for (int i = 0; i < 256; ++i) identity[size_t(i)] = uint8_t(i);
    EXPECT_EQ(table_of({{0, 0}, {255, 255}}), identity);
    EXPECT_EQ(table_of({}), identity) << "no points keep the identity";
    std::vector<uint8_t> falling = table_of({{0, 255}, {255, 0}});
    EXPECT_EQ(falling[0], 255);
    EXPECT_EQ(falling[255], 0);
    for (int i = 1; i < 256; ++i) ASSERT_LE(falling[size_t(i)], falling[size_t(i - 1)]) << i;
    std::vector<uint8_t> late = table_of({{10, 40}, {255, 255}});
    for (int i = 0; i < 10; ++i) EXPECT_EQ(late[size_t(i)], 40);
    std::vector<std::pair<double, double>> many;
    for (int i = 0; i < 300; ++i) many.push_back({i * 255.0 / 299, i * 255.0 / 299});
    std::vector<uint8_t> t = table_of(many);
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[128], 128);
}

TEST(PsdDescriptors, HostileDescriptorsEndTheBlock) {
    struct Case {
        const char* what;
        Bytes block;
    };
    std::vector<Case> cases;
    {
        // Objects nested 10000 deep inside the effects descriptor.
        Writer w;
        w.u32(0);
        w.u32(16);
        w.unicode("");
        w.desc_key("null");
        w.u32(1);
        for (int i = 0; i < 10000; ++i) {
            w.desc_key("Nest");
            w.key("Objc");
            w.unicode("");
            w.desc_key("null");
            w.u32(1);
        }
        cases.push_back({"nested 10000 deep", w.data});
    }
    {
        Writer w;
        w.u32(0);
        w.u32(16);
        w.unicode("");
        w.desc_key("null");
        w.u32(0xFFFFFFFF);
        w.desc_key("Lst ");
        w.key("VlLs");
        w.u32(0xFFFFFFFF);
        cases.push_back({"item count 0xFFFFFFFF in 20 bytes", w.data});
    }
    {
        Writer w;
        w.u32(0);
        w.u32(16);
        w.unicode("");
        w.desc_key("null");
        w.u32(2);
        w.desc_key(std::string(300, 'k'));
        w.key("bool");
        w.u8(1);
        w.desc_key("what");
        w.key("????");
        w.zeros(16);
        cases.push_back({"a 300-byte key, then an unknown type", w.data});
    }
    for (const Case& c : cases) {
        Layer l = RgbLayer(0, 0, 1, 1, "x", 1);
        l.blocks = {{"lfx2", c.block}, {"lyid", Bytes{0, 0, 0, 8}}};
        Image img;
        ASSERT_EQ(Load(RgbDocument(2, 2, {l}).Bytes_(), &img.p), PSDR_OK) << c.what;
        EXPECT_EQ(img->layers[0].layer_id, 8) << c.what;
    }
}

TEST(PsdDescriptors, PatternReferenceIdentifier) {
    Writer w;
    w.unicode("");
    w.desc_key("Ptrn");
    w.u32(2);
    w.desc_key("Idnt");
    w.key("TEXT");
    w.u32(400);
    for (int i = 0; i < 400; ++i) w.u16(unsigned('a' + i % 26));
    w.desc_key("Nm  ");
    w.key("TEXT");
    w.unicode("pat");
    StreamImage s(w.data);
    psdr_pattern_ref ref{};
    psdr_read_pattern_ref(&ref, s.get());
    EXPECT_EQ(std::strlen(ref.identifier), 255u);
    EXPECT_EQ(ref.name_length, 3);
    psdr_free_pattern_ref(&ref);
}

TEST(PsdDescriptors, SkippingValues) {
    Writer w;
    w.key("UntF");
    w.zeros(12);
    w.u32(3);
    w.zeros(6);
    w.u8(0x77);
    StreamImage s(w.data);
    psdr_skip_item(psdr_stream_u32(s.get()), s.get());
    EXPECT_EQ(s->consumed, 16);
    psdr_skip_item(psdr_fourcc("TEXT"), s.get());
    EXPECT_EQ(s->consumed, 26);
    EXPECT_EQ(psdr_stream_u8(s.get()), 0x77);

    Writer e;
    e.u32(0);
    e.key("hMix");
    e.u32(7);
    e.raw(reinterpret_cast<const uint8_t*>("hardMix"), 7);
    e.u32(5);
    e.raw(reinterpret_cast<const uint8_t*>("glowy"), 5);
    StreamImage t(e.data);
    EXPECT_EQ(psdr_read_blend_mode_enum(t.get()), 0);
    EXPECT_EQ(psdr_read_blend_mode_enum(t.get()), 16);
    EXPECT_EQ(psdr_read_glow_technique(t.get()), 0);
    EXPECT_EQ(t->consumed, 23) << "a string technique is left unread";
}

TEST(PsdAdjustments, LevelsAndCurves) {
    Writer levels;
    levels.u16(2);
    for (int i = 0; i < 29; ++i) {
        for (unsigned v : {1u, 2u, 3u, 4u}) levels.u16(v);
        levels.u16(150);
    }
    Image a;
    ASSERT_EQ(LoadBlocks({{"levl", levels.data}}, &a), PSDR_OK);
    EXPECT_EQ(a->layers[0].type, 6);
    EXPECT_FLOAT_EQ(Extra<psdr_levels>(a)->entries[28].gamma, 1.5f);
    Writer longer = levels;
    longer.u16(0);
    Image b;
    EXPECT_EQ(LoadBlocks({{"levl", longer.data}}, &b), PSDR_LEVELS_LENGTH);
    Writer extra = levels;
    extra.key("Lvls");
    extra.u16(3);
    extra.u16(5);
    Image c;
    ASSERT_EQ(LoadBlocks({{"levl", extra.data}}, &c), PSDR_OK);
    EXPECT_EQ(Extra<psdr_levels>(c)->extra_count, 0);

    Writer curves;
    curves.u8(0);
    curves.u16(1);
    curves.u32(0x0B);
    for (int k = 0; k < 3; ++k) {
        const int points = k == 1 ? 25 : 2;
        curves.u16(unsigned(points));
        for (int p = 0; p < points; ++p) {
            curves.u16(unsigned(p * 10));
            curves.u16(unsigned(p));
        }
    }
    Image d;
    ASSERT_EQ(LoadBlocks({{"curv", curves.data}, {"lyid", Bytes{0, 0, 0, 3}}}, &d), PSDR_OK);
    const auto* cv = Extra<psdr_curves>(d);
    ASSERT_EQ(cv->count, 3);
    EXPECT_EQ(cv->curves[2].channel, 3);
    EXPECT_EQ(cv->curves[1].point_count, 19);
    EXPECT_EQ(cv->curves[1].output[18], 180);
    EXPECT_EQ(d->layers[0].adjustment, 1);
    EXPECT_EQ(d->layers[0].layer_id, 3);
}

TEST(PsdAdjustments, SimpleRecords) {
    Writer phfl;
    phfl.u16(3);
    phfl.u32(0x00012300);
    phfl.u32(0xFFFFFF00);
    phfl.u32(0);
    phfl.u32(25);
    phfl.u8(1);
    phfl.u8(0);
    Writer soco;
    soco.u32(15);
    Image a;
    ASSERT_EQ(LoadBlocks({{"nvrt", {}}, {"phfl", phfl.data}}, &a), PSDR_OK);
    EXPECT_EQ(a->layers[0].extra_kinds[0], PSDR_EXTRA_INVERT);
    EXPECT_EQ(a->layers[0].extra_records[0], nullptr);
    EXPECT_EQ(Extra<psdr_photo_filter>(a, 1)->x, 0x123);
    EXPECT_EQ(Extra<psdr_photo_filter>(a, 1)->y, -1);
    EXPECT_EQ(a->layers[0].type, 17);
    EXPECT_EQ(a->layers[0].adjustment, 1);
    Image b;
    EXPECT_EQ(LoadBlocks({{"SoCo", soco.data}}, &b), PSDR_SOLID_FILL_VERSION);

    Writer level;
    level.u16(2);
    level.zeros(290);
    Writer divider;
    divider.u32(1);
    Image c;
    ASSERT_EQ(LoadBlocks({{"levl", level.data}, {"lsct", divider.data}}, &c), PSDR_OK);
    EXPECT_EQ(c->layers[0].type, 2);
    Image d;
    ASSERT_EQ(LoadBlocks({{"lsct", divider.data}, {"levl", level.data}}, &d), PSDR_OK);
    EXPECT_EQ(d->layers[0].type, 6);
}

TEST(PsdAdjustments, CountsAreBounded) {
    Writer grdm;
    grdm.u16(1);
    grdm.u8(0);
    grdm.u8(0);
    grdm.unicode("g");
    grdm.u16(0x8000);  // negative colour stop count
    grdm.u16(0x7FFF);  // more transparency stops than bytes
    Writer type;
    for (int i = 0; i < 6; ++i) type.f64(1.0);
    type.u16(1);
    type.u16(0);
    type.u32(0);
    type.u8(255);
    type.raw(Bytes(255, 'n'));
    type.zeros(2);
    type.u16(0);
    type.u32(0x7FFFFFFF);  // design axes
    Image img;
    ASSERT_EQ(LoadBlocks({{"grdm", grdm.data}, {"tySh", type.data}, {"lyid", Bytes{0, 0, 0, 4}}}, &img), PSDR_OK);
    EXPECT_EQ(Extra<psdr_gradient_map>(img)->colour_stop_count, 0);
    EXPECT_LE(Extra<psdr_gradient_map>(img)->transparency_stop_count, 1);
    const auto* tt = Extra<psdr_type_tool>(img, 1);
    ASSERT_EQ(tt->font_count, 1);
    EXPECT_EQ(std::strlen(tt->fonts[0].font_name), 255u);
    EXPECT_EQ(tt->fonts[0].design_axis_count, 0);
    EXPECT_EQ(img->layers[0].layer_id, 4);
}

namespace {

struct PatternSpec {
    uint32_t version = 1;
    uint32_t mode = 3;
    int w = 4, h = 4;
    std::vector<std::pair<bool, Bytes>> channels;  // written, raw plane
    int compression = 0;
    Bytes palette;
};

Bytes PatternBytes(const PatternSpec& p) {
    Writer body;
    body.u32(p.version);
    body.u32(p.mode);
    body.u16(unsigned(p.h));
    body.u16(unsigned(p.w));
    body.unicode("pat");
    body.u8(3);
    body.key("id1");
    body.data.pop_back();
    if (p.mode == 2) body.raw(p.palette);
    body.u32(3);
    size_t list = body.begin32();
    for (uint32_t v : {0u, 0u, uint32_t(p.h), uint32_t(p.w)}) body.u32(v);
    body.u32(uint32_t(p.channels.size()));
    for (const auto& [written, plane] : p.channels) {
        body.u32(written ? 1 : 0);
        if (plane.empty()) {
            body.u32(0);
            continue;
        }
        Bytes encoded = EncodeChannel(plane, p.compression, size_t(p.h), size_t(p.w), 8);
        body.u32(uint32_t(23 + encoded.size() - 2));
        body.u32(8);
        body.zeros(18);
        body.u8(unsigned(p.compression));
        body.raw(encoded.data() + 2, encoded.size() - 2);
    }
    body.end32(list);
    Writer w;
    w.u32(uint32_t(body.data.size()));
    w.raw(body.data);
    while (w.data.size() % 4) w.u8(0);
    return w.data;
}

Bytes Patterns(const std::vector<PatternSpec>& specs) {
    Bytes all;
    for (const PatternSpec& s : specs) {
        Bytes b = PatternBytes(s);
        all.insert(all.end(), b.begin(), b.end());
    }
    return all;
}

psdr_status LoadPatterns(const std::vector<PatternSpec>& specs, Image* img) {
    Document d = RgbDocument(2, 2, {RgbLayer(0, 0, 1, 1, "x", 1)});
    d.global_blocks.push_back({"Patt", Patterns(specs)});
    return Load(d.Bytes_(), &img->p);
}

PatternSpec Rgb(unsigned seed, int channels = 3, int compression = 0) {
    PatternSpec p;
    p.compression = compression;
    for (int c = 0; c < channels; ++c) p.channels.push_back({true, Ramp(16, seed + unsigned(c))});
    return p;
}

}  // namespace

TEST(PsdPatterns, RgbPatterns) {
    Image img;
    ASSERT_EQ(LoadPatterns({Rgb(1), Rgb(5, 3, 1)}, &img), PSDR_OK);
    ASSERT_EQ(img->pattern_count, 2);
    EXPECT_EQ(img->pattern_capacity, 4);
    for (int k = 0; k < 2; ++k) {
        const psdr_pattern& p = img->patterns[k];
        PatternSpec spec = Rgb(k == 0 ? 1 : 5);
        EXPECT_EQ(p.width, 4);
        EXPECT_EQ(p.channel_count, 3);
        EXPECT_STREQ(p.identifier, "id1");
        for (size_t i = 0; i < 16; ++i)
            ASSERT_EQ(p.pixels[i], psdr_pack_rgb(spec.channels[0].second[i], spec.channels[1].second[i],
                                                 spec.channels[2].second[i]));
    }
    // Six written channels: the ones past the scratch's four planes are dropped.
    Image six;
    ASSERT_EQ(LoadPatterns({Rgb(2, 6)}, &six), PSDR_OK);
    EXPECT_EQ(six->patterns[0].channel_count, 4);
}

TEST(PsdPatterns, VersionsChannelsAndPalettes) {
    PatternSpec v2 = Rgb(1);
    v2.version = 2;
    Image a;
    ASSERT_EQ(LoadPatterns({v2, Rgb(3)}, &a), PSDR_OK) << "reading goes on after a bad version";
    EXPECT_EQ(a->pattern_count, 1);
    Image b;
    EXPECT_EQ(LoadPatterns({Rgb(3), v2}, &b), PSDR_BAD_PATTERN_VERSION) << "the last pattern's status";

    PatternSpec skipped = Rgb(4);
    skipped.channels.insert(skipped.channels.begin(), {true, Bytes{}});
    skipped.channels.insert(skipped.channels.begin(), {false, Ramp(16, 9)});
    Image c;
    ASSERT_EQ(LoadPatterns({skipped}, &c), PSDR_OK);
    EXPECT_EQ(c->patterns[0].channel_count, 3);
    EXPECT_EQ(c->patterns[0].pixels[0] & 0xFF, Rgb(4).channels[2].second[0]);

    PatternSpec indexed;
    indexed.mode = 2;
    indexed.palette = Ramp(768, 6);
    indexed.channels = {{true, Bytes(16, 7)}};
    Document d = RgbDocument(2, 2, {RgbLayer(0, 0, 1, 1, "x", 1)});
    d.mode = 2;
    d.channels = 1;
    d.colour_data = Bytes(768, 0);
    d.layers[0].channels = {{0, Bytes{0}}};
    d.global_blocks.push_back({"Patt", Patterns({indexed})});
    Image e;
    ASSERT_EQ(Load(d.Bytes_(), &e.p), PSDR_OK);
    EXPECT_EQ(e->patterns[0].pixels[3], psdr_pack_rgb(indexed.palette[21], indexed.palette[22], indexed.palette[23]));
}

// A failing pattern frees what it allocated (leak check); the next one still reads.
TEST(PsdPatterns, FailingPatterns) {
    PatternSpec broken = Rgb(1);
    broken.compression = 9;
    Image a;
    EXPECT_EQ(LoadPatterns({Rgb(2), broken}, &a), PSDR_BAD_COMPRESSION);
    Image b;
    ASSERT_EQ(LoadPatterns({broken, Rgb(2)}, &b), PSDR_OK);
    EXPECT_EQ(b->pattern_count, 1);
    PatternSpec palette = Rgb(3);
    palette.mode = 2;
    palette.palette = Ramp(768, 1);
    palette.compression = 9;
    Image c;
    EXPECT_EQ(LoadPatterns({palette}, &c), PSDR_BAD_COMPRESSION);
}

namespace {

struct Decoded {
    int width = 0, height = 0, components = 0;
    bool adobe = false;
    Bytes pixels;
};

Decoded DirectDecode(const Bytes& jpeg) {
    Decoded out;
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, jpeg.data(), jpeg.size());
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    out.width = int(d.output_width);
    out.height = int(d.output_height);
    out.components = d.output_components;
    out.adobe = d.saw_Adobe_marker;
    out.pixels.resize(size_t(out.width * out.height * out.components));
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = out.pixels.data() + size_t(d.output_scanline) * size_t(out.width * out.components);
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return out;
}

uint32_t Expected(const Decoded& d, size_t i) {
    const uint8_t* p = d.pixels.data() + i * size_t(d.components);
    if (d.components == 1) return 0xFF000000u | uint32_t(p[0]) * 0x010101u;
    if (d.components == 3) return 0xFF000000u | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    int c = p[0], m = p[1], y = p[2], k = p[3];
    if (d.adobe) return psdr_pack_rgb(c * k / 255, m * k / 255, y * k / 255);
    return psdr_pack_rgb((255 - c) * (255 - k) / 255, (255 - m) * (255 - k) / 255, (255 - y) * (255 - k) / 255);
}

psdr_status LoadThumbnail(const Bytes& resource, Image* img) {
    Document d;
    d.width = d.height = 1;
    d.write_layers = false;
    d.resources.push_back({1036, resource});
    d.resources.push_back({1008, Bytes{1, 'z'}});
    return Load(d.Bytes_(), &img->p);
}

}  // namespace

TEST(PsdThumbnail, MatchesADirectDecode) {
    struct Case {
        const char* what;
        int w, h, components;
        bool progressive, adobe;
    } cases[] = {
        {"rgb", 160, 120, 3, false, false}, {"grey", 33, 17, 1, false, false},
        {"progressive", 90, 70, 3, true, false}, {"cmyk with app14", 20, 10, 4, false, true},
        {"cmyk without app14", 20, 10, 4, false, false},
    };
    for (const Case& c : cases) {
        Bytes jpeg = MakeJpeg(c.w, c.h, c.components, c.progressive, c.adobe, 3);
        Decoded want = DirectDecode(jpeg);
        ASSERT_EQ(want.adobe, c.adobe) << c.what;
        // A declared size past the stream's end still succeeds.
        Image img;
        ASSERT_EQ(LoadThumbnail(ThumbnailResource(jpeg, c.w, c.h, uint32_t(jpeg.size() + 3)), &img), PSDR_OK)
            << c.what;
        ASSERT_NE(img->thumbnail_pixels, nullptr) << c.what;
        EXPECT_STREQ(img->caption, "z") << c.what;
        for (size_t i = 0; i < size_t(c.w * c.h); ++i)
            ASSERT_EQ(img->thumbnail_pixels[i], Expected(want, i)) << c.what << " pixel " << i;
    }
}

TEST(PsdThumbnail, BrokenStreams) {
    Bytes jpeg = MakeJpeg(64, 64, 3, false, false, 4);
    Bytes cut(jpeg.begin(), jpeg.begin() + long(jpeg.size() / 2));
    Image a;
    EXPECT_EQ(LoadThumbnail(ThumbnailResource(cut, 64, 64, uint32_t(cut.size())), &a), PSDR_THUMBNAIL_ERROR)
        << "a stream that ends inside its resource";
    Image b;
    EXPECT_EQ(LoadThumbnail(ThumbnailResource(jpeg, 64, 64, uint32_t(jpeg.size() * 4)), &b), PSDR_OK)
        << "the size is cut at the resource's end";

    Bytes huge = jpeg;
    for (size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0xFD;  // height 65000
            huge[i + 6] = 0xE8;
            huge[i + 7] = 0xFD;  // width 65000
            huge[i + 8] = 0xE8;
            break;
        }
    Image c;
    EXPECT_EQ(LoadThumbnail(ThumbnailResource(huge, 64, 64, uint32_t(huge.size())), &c), PSDR_THUMBNAIL_ERROR);
    Bytes noise = Ramp(5000, 8);
    Image d;
    EXPECT_EQ(LoadThumbnail(ThumbnailResource(noise, 64, 64, uint32_t(noise.size())), &d), PSDR_THUMBNAIL_ERROR);
}
