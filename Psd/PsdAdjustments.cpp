// Adjustment layers, fill layers and the type tool: records kept, never applied.

#include <cstring>

#include "Psd/PsdInternal.h"

namespace {

struct KeyInfo {
    uint32_t key;
    psdr_extra_kind kind;
    psdr_layer_type type;
    bool adjustment;
};

constexpr KeyInfo kKeys[] = {
    {psdr_fourcc("levl"), PSDR_EXTRA_LEVELS, 6, true},
    {psdr_fourcc("curv"), PSDR_EXTRA_CURVES, 7, true},
    {psdr_fourcc("brit"), PSDR_EXTRA_BRIGHTNESS_CONTRAST, 8, true},
    {psdr_fourcc("blnc"), PSDR_EXTRA_COLOUR_BALANCE, 9, true},
    {psdr_fourcc("hue2"), PSDR_EXTRA_HUE_SATURATION, 10, true},
    {psdr_fourcc("selc"), PSDR_EXTRA_SELECTIVE_COLOUR, 11, true},
    {psdr_fourcc("thrs"), PSDR_EXTRA_THRESHOLD, 12, true},
    {psdr_fourcc("nvrt"), PSDR_EXTRA_INVERT, 13, true},
    {psdr_fourcc("post"), PSDR_EXTRA_POSTERIZE, 14, true},
    {psdr_fourcc("mixr"), PSDR_EXTRA_CHANNEL_MIXER, 15, true},
    {psdr_fourcc("grdm"), PSDR_EXTRA_GRADIENT_MAP, 16, true},
    {psdr_fourcc("phfl"), PSDR_EXTRA_PHOTO_FILTER, 17, true},
    {psdr_fourcc("SoCo"), PSDR_EXTRA_SOLID_FILL, 3, false},
    {psdr_fourcc("GdFl"), PSDR_EXTRA_GRADIENT_FILL, 4, false},
    {psdr_fourcc("PtFl"), PSDR_EXTRA_PATTERN_FILL, 19, false},
};

const KeyInfo* info_of(psdr_extra_kind kind) {
    for (const KeyInfo& k : kKeys)
        if (k.kind == kind) return &k;
    return nullptr;
}

// Takes the next extra slot for `kind`, sets the layer's type and allocates the record.
template <typename T>
T* begin_record(psdr_image* image, psdr_layer* layer, psdr_extra_kind kind) {
    const int slot = layer->extra_count;
    psdr_attach_extra(layer, kind, nullptr);
    if (const KeyInfo* info = info_of(kind)) layer->type = info->type;
    T* record = static_cast<T*>(psdr_alloc(image, sizeof(T)));
    if (record && slot < PSDR_MAX_EXTRA) layer->extra_records[slot] = record;
    return record;
}

int16_t s16(psdr_image* image) { return int16_t(psdr_stream_u16(image)); }
int32_t s32(psdr_image* image) { return int32_t(psdr_stream_u32(image)); }

// A count from the file: negative reads as 0, and no more entries than bytes left
// for entries of at least `entry_bytes` each.
int32_t bounded_count(psdr_image* image, int64_t count, int64_t entry_bytes) {
    if (count < 0) return 0;
    const int64_t bound = psdr_bytes_left(image) / entry_bytes;
    return int32_t(count < bound ? count : bound);
}

void read_levels_entry(psdr_image* image, psdr_levels_entry* e) {
    e->input_floor = s16(image);
    e->input_ceiling = s16(image);
    e->output_floor = s16(image);
    e->output_ceiling = s16(image);
    e->gamma = float(s16(image)) / 100.0f;
}

psdr_status read_pascal_field(psdr_image* image, char field[256]) {
    const uint8_t n = psdr_stream_u8(image);
    std::memset(field, 0, 256);
    psdr_stream_read(image, field, n);
    return PSDR_OK;
}

uint32_t model_colour(psdr_image* image, int model) {
    uint16_t w[4];
    for (uint16_t& v : w) v = uint16_t(int16_t(psdr_stream_u16(image)) >> 8);
    uint32_t argb = 0x00FFFFFF;
    if (psdr_colour_to_argb(&argb, model, w[0], w[1], w[2], w[3]) != PSDR_OK) return 0x00FFFFFF;
    return argb;
}

}  // namespace

bool psdr_adjustment_key(uint32_t key, psdr_extra_kind* kind, psdr_layer_type* type,
                         bool* adjustment) {
    for (const KeyInfo& k : kKeys)
        if (k.key == key) {
            *kind = k.kind;
            *type = k.type;
            *adjustment = k.adjustment;
            return true;
        }
    return false;
}

psdr_status psdr_read_levels(psdr_image* image, psdr_layer* layer, int64_t length) {
    const int64_t start = image->consumed;
    auto* r = begin_record<psdr_levels>(image, layer, PSDR_EXTRA_LEVELS);
    if (!r) return PSDR_NO_MEMORY;
    r->version = s16(image);
    if (r->version != 2) return PSDR_LEVELS_VERSION;
    for (psdr_levels_entry& e : r->entries) read_levels_entry(image, &e);
    if (image->consumed - start < length - 4) {
        uint8_t signature[4] = {};
        psdr_stream_read(image, signature, 4);
        if (!psdr_key_is(signature, "Lvls")) return PSDR_LEVELS_SIGNATURE;
        r->extra_version = s16(image);
        if (r->extra_version != 3) return PSDR_LEVELS_EXTRA_VERSION;
        const int total = psdr_stream_u16(image);
        const int32_t extra = bounded_count(image, total > 29 ? total - 29 : 0, 10);
        if (extra > 0) {
            r->extra = static_cast<psdr_levels_entry*>(
                psdr_alloc(image, size_t(extra) * sizeof(psdr_levels_entry)));
            if (!r->extra) return PSDR_NO_MEMORY;
            r->extra_count = extra;
            for (int32_t i = 0; i < extra; ++i) read_levels_entry(image, &r->extra[i]);
        }
    }
    if (image->consumed - start != length) return PSDR_LEVELS_LENGTH;
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_curves(psdr_image* image, psdr_layer* layer, int64_t length) {
    const int64_t start = image->consumed;
    auto* r = begin_record<psdr_curves>(image, layer, PSDR_EXTRA_CURVES);
    if (!r) return PSDR_NO_MEMORY;
    psdr_stream_u8(image);
    r->version = s16(image);
    if (r->version != 1 && r->version != 4) return PSDR_CURVES_VERSION;
    r->channel_bitmap = psdr_stream_u32(image);
    const int count = __builtin_popcount(r->channel_bitmap);
    if (count > 0) {
        r->curves = static_cast<psdr_curve*>(psdr_alloc(image, size_t(count) * sizeof(psdr_curve)));
        if (!r->curves) return PSDR_NO_MEMORY;
        r->count = count;
    }
    for (int bit = 0, j = 0; bit < 32; ++bit) {
        if (!(r->channel_bitmap & (1u << bit))) continue;
        psdr_curve& c = r->curves[j++];
        c.channel = int16_t(bit);
        c.point_count = psdr_stream_u16(image);
        for (int p = 0; p < c.point_count && psdr_bytes_left(image) > 0; ++p) {
            const int16_t out = s16(image), in = s16(image);
            // Points past the record's room are read and dropped.
            if (p < PSDR_CURVE_POINTS) {
                c.output[p] = out;
                c.input[p] = in;
            }
        }
        if (c.point_count > PSDR_CURVE_POINTS) c.point_count = PSDR_CURVE_POINTS;
    }
    if (image->consumed - start < length - 4) {
        uint8_t signature[4] = {};
        psdr_stream_read(image, signature, 4);
        if (!psdr_key_is(signature, "Crv ")) return PSDR_CURVES_SIGNATURE;
        if (s16(image) != 4) return PSDR_CURVES_EXTRA_VERSION;
        // A second part that disagrees with the first leaves the layer unadjusted.
        if (int64_t(psdr_stream_u32(image)) != count) return PSDR_OK;
        for (int j = 0; j < count; ++j) {
            psdr_curve& c = r->curves[j];
            c.channel = s16(image);
            const int points = psdr_stream_u16(image);
            if (points != c.point_count) return PSDR_OK;
            for (int p = 0; p < points; ++p)
                if (s16(image) != c.output[p] || s16(image) != c.input[p]) return PSDR_OK;
        }
    }
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_brightness_contrast(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_brightness_contrast>(image, layer, PSDR_EXTRA_BRIGHTNESS_CONTRAST);
    if (!r) return PSDR_NO_MEMORY;
    r->brightness = s16(image);
    r->contrast = s16(image);
    r->mean = s16(image);
    r->lab_only = psdr_stream_u8(image);
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_colour_balance(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_colour_balance>(image, layer, PSDR_EXTRA_COLOUR_BALANCE);
    if (!r) return PSDR_NO_MEMORY;
    for (int axis = 0; axis < 3; ++axis) {
        r->shadows[axis] = s16(image);
        r->midtones[axis] = s16(image);
        r->highlights[axis] = s16(image);
    }
    r->preserve_luminosity = uint8_t(psdr_stream_u16(image));
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_hue_saturation(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_hue_saturation>(image, layer, PSDR_EXTRA_HUE_SATURATION);
    if (!r) return PSDR_NO_MEMORY;
    r->version = s16(image);
    if (r->version != 2) return PSDR_HUE_SATURATION_VERSION;
    r->colorize = psdr_stream_u8(image);
    psdr_stream_u8(image);
    r->colorize_hue = s16(image);
    r->colorize_saturation = s16(image);
    r->colorize_lightness = s16(image);
    r->master_hue = s16(image);
    r->master_saturation = s16(image);
    r->master_lightness = s16(image);
    for (int i = 0; i < 6; ++i) {
        for (int16_t& v : r->ranges[i]) v = s16(image);
        for (int16_t& v : r->settings[i]) v = s16(image);
    }
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_selective_colour(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_selective_colour>(image, layer, PSDR_EXTRA_SELECTIVE_COLOUR);
    if (!r) return PSDR_NO_MEMORY;
    r->version = s16(image);
    if (r->version != 1) return PSDR_SELECTIVE_COLOUR_VERSION;
    r->method = s16(image);
    for (int i = 0; i < 10; ++i) {
        r->cyan[i] = s16(image);
        r->magenta[i] = s16(image);
        r->yellow[i] = s16(image);
        r->black[i] = s16(image);
    }
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_threshold(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_threshold>(image, layer, PSDR_EXTRA_THRESHOLD);
    if (!r) return PSDR_NO_MEMORY;
    r->level = s16(image);
    psdr_stream_skip(image, 2);
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_invert(psdr_image*, psdr_layer* layer) {
    psdr_attach_extra(layer, PSDR_EXTRA_INVERT, nullptr);
    layer->type = 13;
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_posterize(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_posterize>(image, layer, PSDR_EXTRA_POSTERIZE);
    if (!r) return PSDR_NO_MEMORY;
    r->levels = s16(image);
    psdr_stream_skip(image, 2);
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_channel_mixer(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_channel_mixer>(image, layer, PSDR_EXTRA_CHANNEL_MIXER);
    if (!r) return PSDR_NO_MEMORY;
    r->version = s16(image);
    if (r->version != 1) return PSDR_CHANNEL_MIXER_VERSION;
    r->monochrome = uint8_t(psdr_stream_u16(image));
    for (int setting = 0; setting < 4; ++setting)
        for (int row = 0; row < 5; ++row) r->rows[row][setting] = s16(image);
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_gradient_map(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_gradient_map>(image, layer, PSDR_EXTRA_GRADIENT_MAP);
    if (!r) return PSDR_NO_MEMORY;
    r->version = s16(image);
    if (r->version != 1) return PSDR_GRADIENT_MAP_VERSION;
    r->reverse = psdr_stream_u8(image);
    r->dither = psdr_stream_u8(image);
    if (psdr_status s = psdr_read_unicode(image, &r->name_length, &r->name)) return s;
    int32_t stops = bounded_count(image, s16(image), 20);
    if (stops > 0) {
        r->colour_stops = static_cast<psdr_gradient_stop*>(
            psdr_alloc(image, size_t(stops) * sizeof(psdr_gradient_stop)));
        if (!r->colour_stops) return PSDR_NO_MEMORY;
        r->colour_stop_count = int16_t(stops);
        for (int32_t i = 0; i < stops; ++i) {
            psdr_gradient_stop& s = r->colour_stops[i];
            s.location = s32(image);
            s.midpoint = s32(image);
            s.colour = psdr_stream_colour(image);
            psdr_stream_skip(image, 2);
            s.type = 2;
        }
    }
    stops = bounded_count(image, s16(image), 10);
    if (stops > 0) {
        r->transparency_stops = static_cast<psdr_transparency_stop*>(
            psdr_alloc(image, size_t(stops) * sizeof(psdr_transparency_stop)));
        if (!r->transparency_stops) return PSDR_NO_MEMORY;
        r->transparency_stop_count = int16_t(stops);
        for (int32_t i = 0; i < stops; ++i) {
            psdr_transparency_stop& s = r->transparency_stops[i];
            s.location = s32(image);
            s.midpoint = s32(image);
            s.opacity = s16(image);
        }
    }
    r->expansion_count = s16(image);
    if (r->expansion_count > 0) {
        r->interpolation = s16(image);
        r->length = s16(image);
        if (r->length >= 32) {
            r->mode = s16(image);
            r->random_seed = s32(image);
            r->show_transparency = s16(image);
            r->use_vector_colour = s16(image);
            r->roughness = s32(image);
            const int model = s16(image);
            r->minimum_colour = model_colour(image, model);
            r->maximum_colour = model_colour(image, model);
        }
    }
    psdr_stream_skip(image, 2);
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_photo_filter(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_photo_filter>(image, layer, PSDR_EXTRA_PHOTO_FILTER);
    if (!r) return PSDR_NO_MEMORY;
    r->version = s16(image);
    if (r->version != 3) return PSDR_PHOTO_FILTER_VERSION;
    r->x = s32(image) >> 8;
    r->y = s32(image) >> 8;
    r->z = s32(image) >> 8;
    r->density = s32(image);
    r->preserve_luminosity = psdr_stream_bool(image);
    psdr_stream_skip(image, 1);
    layer->adjustment = 1;
    return PSDR_OK;
}

psdr_status psdr_read_type_tool(psdr_image* image, psdr_layer* layer) {
    const int slot = layer->extra_count;
    psdr_attach_extra(layer, PSDR_EXTRA_TYPE_TOOL, nullptr);
    auto* r = static_cast<psdr_type_tool*>(psdr_alloc(image, sizeof(psdr_type_tool)));
    if (!r) return PSDR_NO_MEMORY;
    layer->extra_records[slot] = r;
    for (double& v : r->transform) v = psdr_stream_f64(image);

    int32_t count = bounded_count(image, s16(image), 15);
    if (count > 0) {
        r->fonts = static_cast<psdr_font*>(psdr_alloc(image, size_t(count) * sizeof(psdr_font)));
        if (!r->fonts) return PSDR_NO_MEMORY;
        r->font_count = int16_t(count);
        for (int32_t i = 0; i < count; ++i) {
            psdr_font& f = r->fonts[i];
            f.mark = s16(image);
            f.font_type = s32(image);
            read_pascal_field(image, f.font_name);
            read_pascal_field(image, f.family_name);
            read_pascal_field(image, f.style_name);
            f.script = s16(image);
            const int32_t axes = bounded_count(image, s32(image), 4);
            if (axes > 0) {
                f.design_axes = static_cast<int32_t*>(psdr_alloc(image, size_t(axes) * 4));
                if (!f.design_axes) return PSDR_NO_MEMORY;
                f.design_axis_count = axes;
                for (int32_t k = 0; k < axes; ++k) f.design_axes[k] = s32(image);
            }
        }
    }
    count = bounded_count(image, s16(image), 27);
    if (count > 0) {
        r->styles = static_cast<psdr_type_style*>(
            psdr_alloc(image, size_t(count) * sizeof(psdr_type_style)));
        if (!r->styles) return PSDR_NO_MEMORY;
        r->style_count = int16_t(count);
        for (int32_t i = 0; i < count; ++i) {
            psdr_type_style& s = r->styles[i];
            s.mark = s16(image);
            s.face_mark = s16(image);
            s.size = s32(image);
            s.tracking = s32(image);
            s.kerning = s32(image);
            s.leading = s32(image);
            s.baseline = s32(image);
            s.auto_kern = psdr_stream_bool(image);
            psdr_stream_u8(image);
            s.rotate = psdr_stream_bool(image);
        }
    }
    r->type = s16(image);
    r->scaling_factor = s32(image);
    r->character_count = s32(image);
    r->horizontal_placement = s32(image);
    r->vertical_placement = s32(image);
    r->select_start = s32(image);
    r->select_end = s32(image);
    count = bounded_count(image, s16(image), 12);
    if (count > 0) {
        r->lines = static_cast<psdr_type_line*>(
            psdr_alloc(image, size_t(count) * sizeof(psdr_type_line)));
        if (!r->lines) return PSDR_NO_MEMORY;
        r->line_count = int16_t(count);
        for (int32_t i = 0; i < count; ++i) {
            psdr_type_line& l = r->lines[i];
            l.character_count = s32(image);
            l.orientation = s16(image);
            l.alignment = s16(image);
            l.actual_character = s16(image);
            l.style = s16(image);
        }
    }
    r->colour = psdr_stream_colour(image);
    r->anti_alias = psdr_stream_bool(image);
    return PSDR_OK;
}

psdr_status psdr_read_solid_fill(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_solid_fill>(image, layer, PSDR_EXTRA_SOLID_FILL);
    if (!r) return PSDR_NO_MEMORY;
    if (psdr_stream_u32(image) != 16) return PSDR_SOLID_FILL_VERSION;
    psdr_skip_unicode(image);
    psdr_stream_u32(image);
    r->class_id = psdr_stream_u32(image);
    for (int i = 0; i < 4; ++i) psdr_stream_u32(image);
    r->colour = psdr_read_descriptor_colour(image);
    return PSDR_OK;
}

namespace {

// Header of a fill descriptor: version, class name, class id (kept when four characters).
psdr_status fill_header(psdr_image* image, uint32_t* class_id, psdr_status bad_version) {
    if (psdr_stream_u32(image) != 16) return bad_version;
    psdr_skip_unicode(image);
    char key[256];
    *class_id = psdr_read_key(image, key);
    return PSDR_OK;
}

template <typename Reader>
void fill_items(psdr_image* image, Reader read) {
    char key[256];
    const uint32_t count = psdr_stream_u32(image);
    for (uint32_t i = 0; i < count && psdr_bytes_left(image) > 0 && !image->descriptor_corrupt;
         ++i) {
        const uint32_t code = psdr_read_key(image, key);
        const uint32_t type = psdr_stream_u32(image);
        if (!read(code, type)) psdr_skip_item(type, image);
    }
}

}  // namespace

psdr_status psdr_read_gradient_fill(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_gradient_fill>(image, layer, PSDR_EXTRA_GRADIENT_FILL);
    if (!r) return PSDR_NO_MEMORY;
    r->scale = 100;
    r->align = 1;
    if (psdr_status s = fill_header(image, &r->class_id, PSDR_GRADIENT_FILL_VERSION)) return s;
    fill_items(image, [&](uint32_t code, uint32_t) {
        switch (code) {
        case psdr_fourcc("Algn"): r->align = psdr_stream_bool(image); return true;
        case psdr_fourcc("Angl"):
            psdr_stream_u32(image);
            r->angle = psdr_stream_f64(image);
            return true;
        case psdr_fourcc("Dthr"): r->dither = psdr_stream_bool(image); return true;
        case psdr_fourcc("Grad"):
            psdr_free_gradient(&r->gradient);
            psdr_read_gradient(&r->gradient, image);
            return true;
        case psdr_fourcc("Rvrs"): r->reverse = psdr_stream_bool(image); return true;
        case psdr_fourcc("Scl "):
            psdr_stream_u32(image);
            r->scale = psdr_to_int(psdr_stream_f64(image));
            return true;
        case psdr_fourcc("Type"):
            r->style = psdr_read_gradient_style(image);
            return true;
        default: return false;
        }
    });
    return PSDR_OK;
}

psdr_status psdr_read_pattern_fill(psdr_image* image, psdr_layer* layer) {
    auto* r = begin_record<psdr_pattern_fill>(image, layer, PSDR_EXTRA_PATTERN_FILL);
    if (!r) return PSDR_NO_MEMORY;
    if (psdr_status s = fill_header(image, &r->class_id, PSDR_PATTERN_FILL_VERSION)) return s;
    fill_items(image, [&](uint32_t code, uint32_t) {
        if (code == psdr_fourcc("Ptrn")) {
            psdr_free_pattern_ref(&r->pattern);
            psdr_read_pattern_ref(&r->pattern, image);
            return true;
        }
        if (code == psdr_fourcc("Scl ")) {
            psdr_stream_u32(image);
            r->scale = psdr_to_int(psdr_stream_f64(image));
            return true;
        }
        return false;
    });
    return PSDR_OK;
}

void psdr_free_levels(psdr_levels* r) {
    if (!r) return;
    psdr_mem_release(r->extra);
    psdr_mem_free(r);
}

void psdr_free_curves(psdr_curves* r) {
    if (!r) return;
    psdr_mem_release(r->curves);
    psdr_mem_free(r);
}

void psdr_free_gradient_map(psdr_gradient_map* r) {
    if (!r) return;
    psdr_mem_release(r->name);
    psdr_mem_release(r->colour_stops);
    psdr_mem_release(r->transparency_stops);
    psdr_mem_free(r);
}

void psdr_free_type_tool(psdr_type_tool* r) {
    if (!r) return;
    if (r->fonts)
        for (int i = 0; i < r->font_count; ++i) psdr_mem_release(r->fonts[i].design_axes);
    psdr_mem_release(r->fonts);
    psdr_mem_release(r->styles);
    psdr_mem_release(r->lines);
    psdr_mem_free(r);
}

void psdr_free_extra(psdr_extra_kind kind, void* record) {
    if (!record) return;
    switch (kind) {
    case PSDR_EXTRA_LEVELS: psdr_free_levels(static_cast<psdr_levels*>(record)); break;
    case PSDR_EXTRA_CURVES: psdr_free_curves(static_cast<psdr_curves*>(record)); break;
    case PSDR_EXTRA_GRADIENT_MAP: psdr_free_gradient_map(static_cast<psdr_gradient_map*>(record)); break;
    case PSDR_EXTRA_TYPE_TOOL: psdr_free_type_tool(static_cast<psdr_type_tool*>(record)); break;
    case PSDR_EXTRA_EFFECTS_LRFX:
    case PSDR_EXTRA_EFFECTS_LFX2: psdr_free_effects(static_cast<psdr_effects*>(record)); break;
    case PSDR_EXTRA_GRADIENT_FILL: {
        auto* r = static_cast<psdr_gradient_fill*>(record);
        psdr_free_gradient(&r->gradient);
        psdr_mem_free(r);
        break;
    }
    case PSDR_EXTRA_PATTERN_FILL: {
        auto* r = static_cast<psdr_pattern_fill*>(record);
        psdr_free_pattern_ref(&r->pattern);
        psdr_mem_free(r);
        break;
    }
    default: psdr_mem_free(record); break;
    }
}
