#include "PsdWriter.h"

#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <zlib.h>

#include "Psd/PsdInternal.h"

namespace psdtest {

void Writer::u16(unsigned v) {
    u8(v >> 8);
    u8(v);
}

void Writer::u32(uint32_t v) {
    u16(v >> 16);
    u16(v & 0xFFFF);
}

void Writer::f64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    u32(uint32_t(bits >> 32));
    u32(uint32_t(bits));
}

void Writer::count16(unsigned v) {
    fields.push_back({data.size(), 2});
    u16(v);
}

void Writer::count32(uint32_t v) {
    fields.push_back({data.size(), 4});
    u32(v);
}

size_t Writer::begin32() {
    fields.push_back({data.size(), 4});
    size_t at = data.size();
    u32(0);
    return at;
}

void Writer::end32(size_t at, int align, bool pad_counted) {
    size_t length = data.size() - at - 4;
    size_t padded = (length + size_t(align) - 1) / size_t(align) * size_t(align);
    zeros(padded - length);
    uint32_t v = uint32_t(pad_counted ? padded : length);
    data[at] = uint8_t(v >> 24);
    data[at + 1] = uint8_t(v >> 16);
    data[at + 2] = uint8_t(v >> 8);
    data[at + 3] = uint8_t(v);
}

void Writer::append(const Writer& other) {
    size_t base = data.size();
    raw(other.data);
    for (Field f : other.fields) fields.push_back({f.offset + base, f.size});
}

void Writer::unicode(const std::string& ascii) {
    count32(uint32_t(ascii.size()));
    for (char c : ascii) u16(uint8_t(c));
}

void Writer::desc_key(const std::string& k) {
    if (k.size() == 4) {
        u32(0);
        key(k.c_str());
    } else {
        count32(uint32_t(k.size()));
        raw(reinterpret_cast<const uint8_t*>(k.data()), k.size());
    }
}

Bytes PackBitsRow(const uint8_t* row, size_t n) {
    Bytes out;
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 3) {
            out.push_back(uint8_t(257 - run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        size_t lit = 0;
        while (i + lit < n && lit < 128) {
            if (i + lit + 2 < n && row[i + lit] == row[i + lit + 1] && row[i + lit] == row[i + lit + 2])
                break;
            ++lit;
        }
        out.push_back(uint8_t(lit - 1));
        out.insert(out.end(), row + i, row + i + lit);
        i += lit;
    }
    return out;
}

Bytes RleEncode(const Bytes& plane, size_t rows, size_t row_bytes) {
    Bytes table, body;
    for (size_t r = 0; r < rows; ++r) {
        Bytes packed = PackBitsRow(plane.data() + r * row_bytes, row_bytes);
        table.push_back(uint8_t(packed.size() >> 8));
        table.push_back(uint8_t(packed.size()));
        body.insert(body.end(), packed.begin(), packed.end());
    }
    table.insert(table.end(), body.begin(), body.end());
    return table;
}

Bytes ZipEncode(const Bytes& plane) {
    uLongf size = compressBound(uLong(plane.size()));
    Bytes out(size);
    compress2(out.data(), &size, plane.data(), uLong(plane.size()), 6);
    out.resize(size);
    return out;
}

Bytes ZipPredictEncode(const Bytes& plane, size_t row_samples, int depth) {
    Bytes delta = plane;
    size_t row_bytes = depth == 16 ? row_samples * 2 : row_samples;
    for (size_t row = 0; row + row_bytes <= delta.size(); row += row_bytes) {
        if (depth == 16) {
            for (size_t i = row_bytes; i >= 4; i -= 2) {
                size_t at = row + i - 2;
                unsigned cur = unsigned(plane[at]) << 8 | plane[at + 1];
                unsigned prev = unsigned(plane[at - 2]) << 8 | plane[at - 1];
                unsigned v = (cur - prev) & 0xFFFF;
                delta[at] = uint8_t(v >> 8);
                delta[at + 1] = uint8_t(v);
            }
        } else {
            for (size_t i = row_bytes - 1; i >= 1; --i)
                delta[row + i] = uint8_t(plane[row + i] - plane[row + i - 1]);
        }
    }
    return ZipEncode(delta);
}

Bytes EncodeChannel(const Bytes& plane, int compression, size_t rows, size_t row_samples, int depth) {
    Writer w;
    w.u16(unsigned(compression));
    size_t row_bytes = depth == 16 ? row_samples * 2 : depth == 1 ? (row_samples + 7) / 8 : row_samples;
    switch (compression) {
    case 1: w.raw(RleEncode(plane, rows, row_bytes)); break;
    case 2: w.raw(ZipEncode(plane)); break;
    case 3: w.raw(ZipPredictEncode(plane, depth == 1 ? row_bytes : row_samples, depth == 1 ? 8 : depth)); break;
    default: w.raw(plane); break;
    }
    return w.data;
}

namespace {

Bytes channel_bytes(const Channel& c, const Layer& l, int depth) {
    if (c.use_raw) return c.encoded;
    size_t rows = c.rows ? c.rows : size_t(l.bottom - l.top);
    size_t samples = c.row_samples ? c.row_samples : size_t(l.right - l.left);
    return EncodeChannel(c.plane, c.compression, rows, samples, depth);
}

void write_record(Writer& w, const Layer& l, const std::vector<Bytes>& encoded) {
    w.u32(uint32_t(l.top));
    w.u32(uint32_t(l.left));
    w.u32(uint32_t(l.bottom));
    w.u32(uint32_t(l.right));
    w.count16(unsigned(l.channels.size()));
    for (size_t i = 0; i < l.channels.size(); ++i) {
        w.u16(uint16_t(l.channels[i].id));
        w.count32(uint32_t(encoded[i].size()));
    }
    w.key(l.signature.c_str());
    w.key(l.blend.c_str());
    w.u8(l.opacity);
    w.u8(l.clipping);
    w.u8(l.flags);
    w.u8(0);
    size_t extra = w.begin32();
    w.count32(uint32_t(l.mask.size()));
    w.raw(l.mask);
    if (l.blending_default) {
        w.count32(0);
    } else {
        w.count32(uint32_t(l.blending.size()));
        w.raw(l.blending);
    }
    size_t n = l.name.size();
    w.u8(unsigned(n));
    w.raw(reinterpret_cast<const uint8_t*>(l.name.data()), n);
    size_t filler = ((n + 4) & ~size_t(3)) - 1 - n;
    if (!l.name_filler.empty()) w.raw(l.name_filler);
    else w.zeros(filler);
    for (const Block& b : l.blocks) {
        w.key(b.signature.c_str());
        w.key(b.key.c_str());
        if (b.odd_length_as_is) {
            w.count32(uint32_t(b.data.size()));
            w.raw(b.data);
            if (b.data.size() % 2) w.u8(0);
        } else {
            size_t at = w.begin32();
            w.raw(b.data);
            w.end32(at, 2, false);
        }
    }
    w.raw(l.extra_tail);
    w.end32(extra, 1);
}

Bytes merged_payload(const Document& d, const std::vector<Bytes>& planes) {
    size_t row_bytes = d.depth == 16 ? d.width * 2 : d.depth == 1 ? (d.width + 7) / 8 : d.width;
    Bytes all;
    for (const Bytes& p : planes) all.insert(all.end(), p.begin(), p.end());
    switch (d.merged_compression) {
    case 1: return RleEncode(all, size_t(d.height) * planes.size(), row_bytes);
    case 2: return ZipEncode(all);
    case 3: return ZipPredictEncode(all, d.depth == 1 ? row_bytes : d.width, d.depth == 1 ? 8 : d.depth);
    default: return all;
    }
}

}  // namespace

Writer LayerInfo(const std::vector<Layer>& layers, int depth, int count_override) {
    Writer w;
    size_t at = w.begin32();
    int count = count_override != -1 ? count_override : int(layers.size());
    w.count16(uint16_t(int16_t(count)));
    std::vector<std::vector<Bytes>> encoded;
    for (const Layer& l : layers) {
        std::vector<Bytes> e;
        for (const Channel& c : l.channels) e.push_back(channel_bytes(c, l, depth));
        write_record(w, l, e);
        encoded.push_back(e);
    }
    for (const auto& e : encoded)
        for (const Bytes& b : e) w.raw(b);
    w.end32(at, 2);
    return w;
}

Writer Document::Build() const {
    Writer w;
    w.key(signature.c_str());
    w.u16(version);
    w.zeros(6);
    w.count16(channels);
    w.count32(height);
    w.count32(width);
    w.u16(depth);
    w.u16(mode);
    w.count32(uint32_t(colour_data.size()));
    w.raw(colour_data);

    size_t res = w.begin32();
    for (const Resource& r : resources) {
        w.key(r.signature.c_str());
        w.u16(r.id);
        w.u8(unsigned(r.name.size()));
        w.raw(reinterpret_cast<const uint8_t*>(r.name.data()), r.name.size());
        if (r.name.size() % 2 == 0) w.u8(0);
        w.count32(uint32_t(r.data.size()));
        w.raw(r.data);
        if (r.data.size() % 2) w.u8(0);
    }
    w.end32(res);

    if (!write_layers) {
        w.u32(0);
    } else {
        size_t section = w.begin32();
        if (layer_info_empty) w.u32(0);
        else w.append(LayerInfo(layers, depth, layer_count));
        if (write_global_mask) {
            w.count32(uint32_t(global_mask.size()));
            w.raw(global_mask);
        }
        for (const GlobalBlock& b : global_blocks) {
            w.key("8BIM");
            w.key(b.key.c_str());
            if (b.key == "Lr16") {
                w.raw(b.data);
            } else {
                size_t at = w.begin32();
                w.raw(b.data);
                w.end32(at, 4);
            }
        }
        w.end32(section, 2);
    }

    if (write_merged) {
        w.u16(unsigned(merged_compression));
        if (!merged_raw.empty()) {
            w.raw(merged_raw);
        } else {
            std::vector<Bytes> planes = merged;
            size_t plane = psdr_plane_size(width, height, depth);
            planes.resize(channels);
            for (Bytes& p : planes)
                if (p.empty()) p.assign(plane, 0);
            w.raw(merged_payload(*this, planes));
        }
    }
    return w;
}

psdr_status Load(const Bytes& bytes, psdr_image** out, psdr_load_tag tag, size_t budget) {
    FILE* f = fmemopen(const_cast<uint8_t*>(bytes.data()), bytes.size(), "r");
    return psdr_load_file(f, out, tag, budget);
}

Bytes Fill(size_t n, uint8_t v) { return Bytes(n, v); }

Bytes Ramp(size_t n, unsigned seed) {
    Bytes b(n);
    uint32_t s = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < n; ++i) {
        s = s * 1103515245u + 12345u;
        b[i] = uint8_t((s >> 16) & 0xFF);
    }
    return b;
}

void DescColour(Writer& w, double r, double g, double b) {
    // Class name, class id, item count, then "Rd  ", "Grn ", "Bl  " doubles.
    w.unicode("");
    w.u32(0);
    w.key("RGBC");
    w.u32(3);
    w.u32(0);
    w.key("Rd  ");
    w.key("doub");
    w.f64(r);
    w.u32(0);
    w.key("Grn ");
    w.key("doub");
    w.f64(g);
    w.u32(0);
    w.key("Bl  ");
    w.key("doub");
    w.f64(b);
}

void DescUnitDouble(Writer& w, const std::string& key, const char* unit, double v) {
    w.desc_key(key);
    w.key("UntF");
    w.key(unit);
    w.f64(v);
}

void DescBool(Writer& w, const std::string& key, bool v) {
    w.desc_key(key);
    w.key("bool");
    w.u8(v ? 1 : 0);
}

void DescEnum(Writer& w, const std::string& key, const std::string& type, const std::string& value) {
    w.desc_key(key);
    w.key("enum");
    w.desc_key(type);
    w.desc_key(value);
}

Bytes MakeJpeg(int width, int height, int components, bool progressive, bool adobe_marker,
               unsigned seed) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &mem, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 90, TRUE);
    for (int i = 0; i < c.num_components; ++i) {
        c.comp_info[i].h_samp_factor = 1;
        c.comp_info[i].v_samp_factor = 1;
    }
    if (components == 4) c.write_Adobe_marker = adobe_marker ? TRUE : FALSE;
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    Bytes pixels = Ramp(size_t(width) * size_t(height) * size_t(components), seed);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = pixels.data() + size_t(c.next_scanline) * size_t(width) * size_t(components);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    Bytes out(mem, mem + size);
    jpeg_destroy_compress(&c);
    free(mem);
    return out;
}

Bytes ThumbnailResource(const Bytes& jpeg, int width, int height, uint32_t declared_size) {
    Writer w;
    w.u32(1);
    w.u32(uint32_t(width));
    w.u32(uint32_t(height));
    w.u32(uint32_t(width * 3));
    w.u32(uint32_t(width * height * 3));
    w.u32(declared_size);
    w.u16(24);
    w.u16(1);
    w.raw(jpeg);
    return w.data;
}

}  // namespace psdtest
