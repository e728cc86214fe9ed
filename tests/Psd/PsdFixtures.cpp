#include "PsdWriter.h"

namespace psdtest {

namespace {

Layer Picture(int top, int left, int w, int h, const std::string& name, unsigned seed, int compression) {
    Layer l;
    l.top = top;
    l.left = left;
    l.bottom = top + h;
    l.right = left + w;
    l.name = name;
    const size_t n = size_t(w) * size_t(h);
    l.channels.push_back({-1, Ramp(n, seed), compression});
    for (int c = 0; c < 3; ++c) l.channels.push_back({int16_t(c), Ramp(n, seed + unsigned(c) + 1), compression});
    return l;
}

Block U32Block(const char* key, uint32_t v) {
    Writer w;
    w.u32(v);
    return {key, w.data};
}

Bytes EffectsLrfx() {
    Writer w;
    w.u16(0);
    w.u16(2);
    w.key("8BIM");
    w.key("cmnS");
    w.u32(7);
    w.u32(0);
    w.u8(1);
    w.zeros(2);
    w.key("8BIM");
    w.key("oglw");
    size_t at = w.begin32();
    w.u32(2);
    w.u32(5);
    w.u32(1);
    w.u16(0);
    w.u16(0xFF00);
    w.u16(0x8000);
    w.u16(0);
    w.u16(0);
    w.key("8BIM");
    w.key("scrn");
    w.u8(1);
    w.u8(190);
    w.u16(0);
    w.zeros(8);
    w.end32(at);
    return w.data;
}

Bytes EffectsLfx2() {
    Writer w;
    w.u32(0);
    w.u32(16);
    w.unicode("");
    w.desc_key("null");
    w.count32(2);
    DescUnitDouble(w, "Scl ", "#Prc", 100);
    DescBool(w, "masterFXSwitch", true);
    w.desc_key("DrSh");
    w.key("Objc");
    w.unicode("");
    w.desc_key("DrSh");
    w.count32(5);
    DescBool(w, "enab", true);
    DescEnum(w, "Md  ", "BlnM", "Mltp");
    w.desc_key("Clr ");
    w.key("Objc");
    DescColour(w, 10, 20, 30);
    DescUnitDouble(w, "Opct", "#Prc", 75);
    w.desc_key("TrnS");
    w.key("Objc");
    w.unicode("");
    w.desc_key("ShpC");
    w.count32(2);
    w.desc_key("Nm  ");
    w.key("TEXT");
    w.unicode("Cone");
    w.desc_key("Crv ");
    w.key("VlLs");
    w.count32(3);
    for (double h : {0.0, 128.0, 255.0}) {
        w.key("Objc");
        w.unicode("");
        w.desc_key("CrPt");
        w.count32(3);
        w.desc_key("Hrzn");
        w.key("doub");
        w.f64(h);
        w.desc_key("Vrtc");
        w.key("doub");
        w.f64(255 - h);
        DescBool(w, "Cnty", h == 128.0);
    }
    return w.data;
}

Bytes Levels() {
    Writer w;
    w.u16(2);
    for (int i = 0; i < 29; ++i) {
        w.u16(0);
        w.u16(255);
        w.u16(0);
        w.u16(255);
        w.u16(100);
    }
    return w.data;
}

Bytes Curves() {
    Writer w;
    w.u8(0);
    w.u16(1);
    w.u32(0x3);
    for (int k = 0; k < 2; ++k) {
        w.count16(2);
        w.u16(0);
        w.u16(0);
        w.u16(255);
        w.u16(255);
    }
    return w.data;
}

Bytes PatternBlock() {
    Writer w;
    for (int k = 0; k < 2; ++k) {
        Writer body;
        body.u32(1);
        body.u32(3);
        body.count16(3);
        body.count16(3);
        body.unicode("p");
        body.u8(2);
        body.raw(Bytes{'i', 'd'});
        body.u32(3);
        size_t list = body.begin32();
        for (uint32_t v : {0u, 0u, 3u, 3u}) body.u32(v);
        body.count32(3);
        for (int c = 0; c < 3; ++c) {
            Bytes enc = EncodeChannel(Ramp(9, unsigned(c + k)), k, 3, 3, 8);
            body.u32(1);
            body.count32(uint32_t(23 + enc.size() - 2));
            body.u32(8);
            body.zeros(18);
            body.u8(unsigned(k));
            body.raw(enc.data() + 2, enc.size() - 2);
        }
        body.end32(list);
        w.count32(uint32_t(body.data.size()));
        w.append(body);
        while (w.data.size() % 4) w.u8(0);
    }
    return w.data;
}

}  // namespace

Document FullFeaturedDocument() {
    Document d;
    d.width = 12;
    d.height = 10;
    d.channels = 5;
    Writer res;
    res.u32(72 << 16);
    res.u16(1);
    res.u16(1);
    res.u32(72 << 16);
    res.u16(1);
    res.u16(1);
    d.resources.push_back({1005, res.data});
    d.resources.push_back({1006, Bytes{5, 'a', 'l', 'p', 'h', 'a'}});
    Writer uni;
    uni.unicode("alpha");
    d.resources.push_back({1045, uni.data});
    d.resources.push_back({1008, Bytes{4, 'f', 'u', 'l', 'l'}});
    Bytes jpeg = MakeJpeg(8, 6, 3, false, false, 5);
    d.resources.push_back({1036, ThumbnailResource(jpeg, 8, 6, uint32_t(jpeg.size()))});
    Writer ver;
    ver.u32(1);
    ver.u8(1);
    ver.unicode("w");
    ver.unicode("r");
    ver.u32(1);
    d.resources.push_back({1057, ver.data});

    Layer bottom = Picture(0, 0, 12, 10, "bottom", 1, 0);
    Layer end = Picture(0, 0, 0, 0, "</Layer group>", 2, 0);
    end.channels.clear();
    end.blocks.push_back(U32Block("lsct", 3));
    Layer masked = Picture(1, 1, 5, 4, "masked", 3, 1);
    {
        Writer m;
        for (uint32_t v : {1u, 1u, 3u, 4u}) m.u32(v);
        m.u8(0);
        m.u8(0);
        m.zeros(2);
        masked.mask = m.data;
        Channel mask(-2, Ramp(6, 9), 1);
        mask.rows = 2;
        mask.row_samples = 3;
        masked.channels.push_back(mask);
    }
    masked.blocks.push_back({"lrFX", EffectsLrfx()});
    Writer luni;
    luni.unicode("masked");
    masked.blocks.push_back({"luni", luni.data});
    Layer zipped = Picture(2, 3, 4, 3, "zipped", 4, 2);
    zipped.blocks.push_back({"lfx2", EffectsLfx2()});
    zipped.blocks.push_back(U32Block("lyid", 9));
    Layer predicted = Picture(0, 6, 6, 5, "predicted", 5, 3);
    {
        Writer m;
        for (uint32_t v : {0u, 6u, 2u, 8u}) m.u32(v);
        m.u8(255);
        m.u8(0);
        m.u8(0);
        m.u8(0);
        for (uint32_t v : {0u, 6u, 3u, 9u}) m.u32(v);
        predicted.mask = m.data;
        Channel real(-3, Ramp(9, 11), 0);
        predicted.channels.push_back(real);
    }
    predicted.blending_default = false;
    {
        Writer b;
        for (int i = 0; i < 20; ++i) b.u16(unsigned(i));
        predicted.blending = b.data;
    }
    Layer adjust = Picture(0, 0, 0, 0, "levels", 6, 0);
    adjust.channels.clear();
    adjust.blocks.push_back({"levl", Levels()});
    adjust.blocks.push_back({"curv", Curves()});
    adjust.blocks.push_back({"nvrt", {}});
    Layer folder = Picture(0, 0, 0, 0, "group", 7, 0);
    folder.channels.clear();
    Writer div;
    div.u32(1);
    div.key("8BIM");
    div.key("pass");
    folder.blocks.push_back({"lsct", div.data});
    d.layers = {bottom, end, masked, zipped, predicted, adjust, folder};

    Writer gm;
    gm.u16(0);
    gm.zeros(8);
    gm.u16(50);
    gm.u8(0);
    gm.u8(0);
    d.global_mask = gm.data;
    d.global_blocks.push_back({"Patt", PatternBlock()});
    d.merged_compression = 1;
    for (unsigned c = 0; c < 5; ++c) d.merged.push_back(Ramp(120, 20 + c));
    return d;
}

std::vector<Bytes> SeedDocuments() {
    std::vector<Bytes> seeds;
    seeds.push_back(FullFeaturedDocument().Bytes_());
    for (int compression = 0; compression < 4; ++compression) {
        Document d;
        d.width = 6;
        d.height = 4;
        d.layers = {Picture(0, 0, 6, 4, "a", 1, compression), Picture(1, 1, 3, 2, "b", 2, compression)};
        d.merged_compression = compression;
        seeds.push_back(d.Bytes_());
    }
    struct Mode {
        uint16_t mode, depth, channels;
    } modes[] = {{0, 1, 1}, {1, 8, 2}, {1, 16, 1}, {2, 8, 1}, {4, 8, 5}, {7, 8, 4}, {9, 16, 3}, {8, 8, 1}};
    for (const Mode& m : modes) {
        Document d;
        d.width = 9;
        d.height = 3;
        d.mode = m.mode;
        d.depth = m.depth;
        d.channels = m.channels;
        if (m.mode == 2) d.colour_data = Ramp(768, 1);
        d.write_layers = false;
        d.merged_compression = 1;
        seeds.push_back(d.Bytes_());
    }
    return seeds;
}

}  // namespace psdtest
