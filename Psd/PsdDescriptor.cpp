// Action descriptors: skipping of any value, the shared value records
// (colour, gradient, pattern reference, point, contour) and the contour table.

#include <cstring>

#include "Psd/PsdInternal.h"

namespace {

constexpr uint32_t kUntF = psdr_fourcc("UntF");

// Loops over counts taken from the file also end with the block.
bool more(psdr_image* image) { return psdr_bytes_left(image) > 0; }

void mark_corrupt(psdr_image* image) { image->descriptor_corrupt = 1; }

int32_t clamp_count(psdr_image* image, uint32_t count, int64_t cap) {
    int64_t bytes = psdr_bytes_left(image);
    int64_t n = count;
    if (n > cap) n = cap;
    if (n > bytes) n = bytes;
    return int32_t(n);
}

}  // namespace

uint32_t psdr_read_key(psdr_image* image, char key[256]) {
    const int64_t length = psdr_stream_u32(image);
    std::memset(key, 0, 256);
    if (length == 0) {
        uint8_t b[4] = {};
        psdr_stream_read(image, b, 4);
        std::memcpy(key, b, 4);
        return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
    }
    // Longer keys keep their first 255 bytes.
    const int64_t kept = length < 255 ? length : 255;
    psdr_stream_read(image, key, kept);
    psdr_stream_skip(image, length - kept);
    return 0;
}

void psdr_skip_unicode(psdr_image* image) {
    const int64_t count = psdr_stream_u32(image);
    psdr_stream_skip(image, count * 2);
}

void psdr_skip_class(psdr_image* image) {
    char key[256];
    psdr_skip_unicode(image);
    psdr_read_key(image, key);
}

void psdr_skip_enum(psdr_image* image) {
    char key[256];
    psdr_read_key(image, key);
    psdr_read_key(image, key);
}

void psdr_skip_list(psdr_image* image) {
    const uint32_t count = psdr_stream_u32(image);
    for (uint32_t i = 0; i < count && more(image) && !image->descriptor_corrupt; ++i)
        psdr_skip_item(psdr_stream_u32(image), image);
}

void psdr_skip_reference(psdr_image* image) {
    char key[256];
    const uint32_t count = psdr_stream_u32(image);
    for (uint32_t i = 0; i < count && more(image) && !image->descriptor_corrupt; ++i) {
        const uint32_t form = psdr_stream_u32(image);
        switch (form) {
        case psdr_fourcc("Clss"): psdr_skip_class(image); break;
        case psdr_fourcc("Enmr"):
            psdr_skip_class(image);
            psdr_read_key(image, key);
            psdr_read_key(image, key);
            break;
        case psdr_fourcc("Idnt"):
        case psdr_fourcc("indx"): psdr_stream_skip(image, 4); break;
        case psdr_fourcc("name"): psdr_skip_unicode(image); break;
        case psdr_fourcc("prop"):
            psdr_skip_class(image);
            psdr_read_key(image, key);
            break;
        case psdr_fourcc("rele"):
            psdr_skip_class(image);
            psdr_stream_skip(image, 4);
            break;
        default: break;
        }
    }
}

void psdr_skip_descriptor(psdr_image* image) {
    if (++image->descriptor_depth > PSDR_DESCRIPTOR_DEPTH) {
        mark_corrupt(image);
        --image->descriptor_depth;
        return;
    }
    char key[256];
    psdr_skip_class(image);
    const uint32_t count = psdr_stream_u32(image);
    for (uint32_t i = 0; i < count && more(image) && !image->descriptor_corrupt; ++i) {
        psdr_read_key(image, key);
        psdr_skip_item(psdr_stream_u32(image), image);
    }
    --image->descriptor_depth;
}

void psdr_skip_item(uint32_t type, psdr_image* image) {
    switch (type) {
    case psdr_fourcc("bool"): psdr_stream_skip(image, 1); break;
    case psdr_fourcc("doub"): psdr_stream_skip(image, 8); break;
    case psdr_fourcc("long"): psdr_stream_skip(image, 4); break;
    case psdr_fourcc("UntF"): psdr_stream_skip(image, 12); break;
    case psdr_fourcc("TEXT"): psdr_skip_unicode(image); break;
    case psdr_fourcc("alis"): psdr_stream_skip(image, psdr_stream_u32(image)); break;
    case psdr_fourcc("enum"): psdr_skip_enum(image); break;
    case psdr_fourcc("type"):
    case psdr_fourcc("GlbC"): psdr_skip_class(image); break;
    case psdr_fourcc("Objc"):
    case psdr_fourcc("GlbO"): psdr_skip_descriptor(image); break;
    case psdr_fourcc("VlLs"):
        if (++image->descriptor_depth > PSDR_DESCRIPTOR_DEPTH) mark_corrupt(image);
        else psdr_skip_list(image);
        --image->descriptor_depth;
        break;
    case psdr_fourcc("obj "): psdr_skip_reference(image); break;
    // A type we cannot size leaves no way to find the next item.
    default: mark_corrupt(image); break;
    }
}

uint32_t psdr_read_descriptor_colour(psdr_image* image) {
    psdr_skip_unicode(image);
    for (int i = 0; i < 6; ++i) psdr_stream_u32(image);
    const int32_t r = psdr_to_int(psdr_stream_f64(image));
    for (int i = 0; i < 3; ++i) psdr_stream_u32(image);
    const int32_t g = psdr_to_int(psdr_stream_f64(image));
    for (int i = 0; i < 3; ++i) psdr_stream_u32(image);
    const int32_t b = psdr_to_int(psdr_stream_f64(image));
    return psdr_pack_rgb(r, g, b);
}

psdr_blend_mode psdr_read_blend_mode_enum(psdr_image* image) {
    char key[256];
    const uint32_t code = psdr_read_key(image, key);
    if (code != 0) {
        static const char* const kNames[] = {nullptr, "Dslv", "Drkn", "Mltp", "CBrn", nullptr,
                                             "Lghn", "Scrn", "CDdg", nullptr, "Ovrl", "SftL",
                                             "HrdL", nullptr, nullptr, nullptr, nullptr, "Dfrn",
                                             "Xclu", "H   ", "Strt", "Clr ", "Lmns"};
        for (int i = 1; i < int(sizeof kNames / sizeof kNames[0]); ++i)
            if (kNames[i] && psdr_fourcc(kNames[i]) == code) return i;
        return 0;
    }
    static const struct {
        const char* name;
        psdr_blend_mode mode;
    } kLong[] = {{"linearBurn", 5}, {"linearDodge", 9}, {"vividLight", 13},
                 {"linearLight", 14}, {"pinLight", 15}, {"hardMix", 16}};
    for (const auto& entry : kLong)
        if (std::strcmp(key, entry.name) == 0) return entry.mode;
    return 0;
}

int32_t psdr_read_glow_technique(psdr_image* image) {
    if (psdr_stream_u32(image) != 0) return 0;
    const uint32_t code = psdr_stream_u32(image);
    if (code == psdr_fourcc("PrBL")) return 1;
    if (code == psdr_fourcc("Slmt")) return 2;
    return 0;
}

int32_t psdr_read_gradient_style(psdr_image* image) {
    psdr_stream_u32(image);
    switch (psdr_stream_u32(image)) {
    case psdr_fourcc("Rdl "): return 1;
    case psdr_fourcc("Angl"): return 2;
    case psdr_fourcc("Rflc"): return 3;
    case psdr_fourcc("Dmnd"): return 4;
    default: return 0;
    }
}

namespace {

// Location and midpoint of a stop: three fields of the item, then the value.
int32_t read_stop_value(psdr_image* image) {
    for (int i = 0; i < 3; ++i) psdr_stream_u32(image);
    return int32_t(psdr_stream_u32(image));
}

void read_colour_stops(psdr_gradient* gradient, psdr_image* image) {
    psdr_mem_release(gradient->colour_stops);
    gradient->colour_stops = nullptr;
    gradient->colour_stop_count = 0;
    const int32_t count = clamp_count(image, psdr_stream_u32(image), 32767);
    if (count == 0) return;
    gradient->colour_stops = static_cast<psdr_gradient_stop*>(
        psdr_alloc(image, size_t(count) * sizeof(psdr_gradient_stop)));
    if (!gradient->colour_stops) return;
    gradient->colour_stop_count = int16_t(count);
    for (int32_t i = 0; i < count && more(image); ++i) {
        psdr_gradient_stop& stop = gradient->colour_stops[i];
        psdr_stream_u32(image);
        psdr_skip_unicode(image);
        for (int k = 0; k < 6; ++k) psdr_stream_u32(image);
        stop.colour = psdr_read_descriptor_colour(image);
        uint32_t type = 0;
        for (int k = 0; k < 7; ++k) type = psdr_stream_u32(image);
        stop.type = type == psdr_fourcc("FrgC") ? 0 : type == psdr_fourcc("BckC") ? 1 : 2;
        stop.location = read_stop_value(image);
        stop.midpoint = read_stop_value(image);
    }
}

void read_transparency_stops(psdr_gradient* gradient, psdr_image* image) {
    psdr_mem_release(gradient->transparency_stops);
    gradient->transparency_stops = nullptr;
    gradient->transparency_stop_count = 0;
    const int32_t count = clamp_count(image, psdr_stream_u32(image), 32767);
    if (count == 0) return;
    gradient->transparency_stops = static_cast<psdr_transparency_stop*>(
        psdr_alloc(image, size_t(count) * sizeof(psdr_transparency_stop)));
    if (!gradient->transparency_stops) return;
    gradient->transparency_stop_count = int16_t(count);
    for (int32_t i = 0; i < count && more(image); ++i) {
        psdr_transparency_stop& stop = gradient->transparency_stops[i];
        psdr_stream_u32(image);
        psdr_skip_unicode(image);
        for (int k = 0; k < 7; ++k) psdr_stream_u32(image);
        stop.opacity = int16_t(psdr_to_int(psdr_stream_f64(image)));
        stop.location = read_stop_value(image);
        stop.midpoint = read_stop_value(image);
    }
}

}  // namespace

void psdr_read_gradient(psdr_gradient* gradient, psdr_image* image) {
    char key[256];
    psdr_skip_unicode(image);
    psdr_stream_u32(image);
    psdr_stream_u32(image);
    const uint32_t count = psdr_stream_u32(image);
    for (uint32_t i = 0; i < count && more(image) && !image->descriptor_corrupt; ++i) {
        const uint32_t code = psdr_read_key(image, key);
        const uint32_t type = psdr_stream_u32(image);
        switch (code) {
        case psdr_fourcc("Clrs"): read_colour_stops(gradient, image); break;
        case psdr_fourcc("Trns"): read_transparency_stops(gradient, image); break;
        case psdr_fourcc("Intr"): gradient->smoothness = psdr_to_int(psdr_stream_f64(image)); break;
        case psdr_fourcc("Nm  "): psdr_read_unicode(image, &gradient->name_length, &gradient->name); break;
        case psdr_fourcc("GrdF"):
            for (int k = 0; k < 4; ++k) psdr_stream_u32(image);
            break;
        default: psdr_skip_item(type, image); break;
        }
    }
}

void psdr_read_pattern_ref(psdr_pattern_ref* reference, psdr_image* image) {
    char key[256];
    psdr_skip_unicode(image);
    psdr_stream_u32(image);
    psdr_stream_u32(image);
    const uint32_t count = psdr_stream_u32(image);
    for (uint32_t i = 0; i < count && more(image) && !image->descriptor_corrupt; ++i) {
        const uint32_t code = psdr_read_key(image, key);
        const uint32_t type = psdr_stream_u32(image);
        if (code == psdr_fourcc("Idnt")) {
            const uint32_t units = psdr_stream_u32(image);
            std::memset(reference->identifier, 0, sizeof reference->identifier);
            for (uint32_t k = 0; k < units && more(image); ++k) {
                const uint16_t unit = psdr_stream_u16(image);
                if (k < 255) reference->identifier[k] = char(unit & 0xFF);
            }
        } else if (code == psdr_fourcc("Nm  ")) {
            psdr_read_unicode(image, &reference->name_length, &reference->name);
        } else {
            psdr_skip_item(type, image);
        }
    }
}

void psdr_read_point(int32_t* x, int32_t* y, psdr_image* image) {
    psdr_skip_unicode(image);
    psdr_stream_u32(image);
    psdr_stream_u32(image);
    const uint32_t count = psdr_stream_u32(image);
    for (uint32_t i = 0; i < count && more(image) && !image->descriptor_corrupt; ++i) {
        psdr_stream_u32(image);
        const uint32_t key = psdr_stream_u32(image);
        const uint32_t type = psdr_stream_u32(image);
        if (key == psdr_fourcc("Hrzn") || key == psdr_fourcc("Vrtc")) {
            if (type == kUntF) psdr_stream_u32(image);
            const int32_t v = psdr_to_int(psdr_stream_f64(image));
            *(key == psdr_fourcc("Hrzn") ? x : y) = v;
        } else {
            psdr_skip_item(type, image);
        }
    }
}

void psdr_read_contour(uint8_t table[256], psdr_image* image) {
    psdr_skip_unicode(image);
    psdr_stream_u32(image);
    psdr_stream_u32(image);
    if (psdr_stream_u32(image) == 2) {
        for (int k = 0; k < 3; ++k) psdr_stream_u32(image);
        psdr_skip_unicode(image);
    }
    for (int k = 0; k < 3; ++k) psdr_stream_u32(image);
    const uint32_t count = psdr_stream_u32(image);
    // Points past the table's 256 are read and dropped.
    uint8_t h[256], v[256], c[256];
    int stored = 0;
    for (uint32_t i = 0; i < count && more(image) && !image->descriptor_corrupt; ++i) {
        uint8_t ph = 0, pv = 0, pc = 0;
        psdr_stream_u32(image);
        psdr_skip_unicode(image);
        psdr_stream_u32(image);
        psdr_stream_u32(image);
        const uint32_t items = psdr_stream_u32(image);
        for (uint32_t k = 0; k < items && more(image) && !image->descriptor_corrupt; ++k) {
            psdr_stream_u32(image);
            const uint32_t key = psdr_stream_u32(image);
            const uint32_t type = psdr_stream_u32(image);
            if (key == psdr_fourcc("Cnty"))
                pc = uint8_t(1 - psdr_stream_bool(image));
            else if (key == psdr_fourcc("Hrzn"))
                ph = uint8_t(psdr_to_int(psdr_stream_f64(image)) & 0xFF);
            else if (key == psdr_fourcc("Vrtc"))
                pv = uint8_t(psdr_to_int(psdr_stream_f64(image)) & 0xFF);
            else
                psdr_skip_item(type, image);
        }
        if (stored < 256) {
            h[stored] = ph;
            v[stored] = pv;
            c[stored] = pc;
            ++stored;
        }
    }
    psdr_contour_to_table(v, table, stored, h, c);
}

void psdr_transform_points(const double source[4][4], double result[4][4],
                           const double matrix[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += source[i][k] * matrix[k][j];
            result[i][j] = sum;
        }
}

namespace {
int clamp_byte(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return int(v);
}
}  // namespace

void psdr_contour_to_table(const uint8_t* vertical, uint8_t table[256], int count,
                           const uint8_t* horizontal, const uint8_t* corner) {
    // Without points the table keeps what it held (the identity by default).
    if (count <= 0) return;
    for (int j = 0; j < horizontal[0]; ++j) table[j] = vertical[0];
    for (int j = horizontal[count - 1]; j < 256; ++j) table[j] = vertical[count - 1];
    static const double kBasis[4][4] = {
        {-0.5, 1.5, -1.5, 0.5}, {1, -2.5, 2, -0.5}, {-0.5, 0, 0.5, 0}, {0, 1, 0, 0}};
    const double d = 1.0 / 512.0;
    const double kDiff[4][4] = {{0, 0, 0, 1},
                                {d * d * d, d * d, d, 0},
                                {6 * d * d * d, 2 * d * d, 0, 0},
                                {6 * d * d * d, 0, 0, 0}};
    for (int k = 0; k + 1 < count; ++k) {
        const int p0 = (k == 0 || corner[k]) ? k : k - 1;
        const int p3 = (k + 2 == count || corner[k + 1]) ? k + 1 : k + 2;
        const int idx[4] = {p0, k, k + 1, p3};
        double g[4][4] = {};
        for (int r = 0; r < 4; ++r) {
            g[r][0] = horizontal[idx[r]];
            g[r][1] = vertical[idx[r]];
        }
        double bg[4][4], f[4][4];
        psdr_transform_points(kBasis, bg, g);
        psdr_transform_points(kDiff, f, bg);
        double x = f[0][0], y = f[0][1];
        double dx = f[1][0], dy = f[1][1];
        double d2x = f[2][0], d2y = f[2][1];
        const double d3x = f[3][0], d3y = f[3][1];
        int px = clamp_byte(x), py = clamp_byte(y);
        table[px] = uint8_t(py);
        for (int step = 0; step < 512; ++step) {
            x += dx;
            dx += d2x;
            d2x += d3x;
            y += dy;
            dy += d2y;
            d2y += d3y;
            const int nx = clamp_byte(x + 0.5), ny = clamp_byte(y + 0.5);
            if (nx != px || ny != py) table[nx] = uint8_t(ny);
            px = nx;
            py = ny;
        }
    }
    for (int i = 0; i < count; ++i) table[horizontal[i]] = vertical[i];
}

void psdr_contour_identity(psdr_contour* contour) {
    for (int i = 0; i < 256; ++i) contour->table[i] = uint8_t(i);
    contour->anti_aliased = 0;
}

void psdr_free_gradient(psdr_gradient* gradient) {
    psdr_mem_release(gradient->name);
    psdr_mem_release(gradient->colour_stops);
    psdr_mem_release(gradient->transparency_stops);
    gradient->name = nullptr;
    gradient->colour_stops = nullptr;
    gradient->transparency_stops = nullptr;
    gradient->name_length = 0;
    gradient->colour_stop_count = 0;
    gradient->transparency_stop_count = 0;
}

void psdr_free_pattern_ref(psdr_pattern_ref* reference) {
    psdr_mem_release(reference->name);
    reference->name = nullptr;
    reference->name_length = 0;
}
