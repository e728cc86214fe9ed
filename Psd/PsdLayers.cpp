// Layer and mask information: layer records, their channel data, the global
// layer mask and the global blocks ("Lr16", patterns).

#include <cstdlib>
#include <cstring>

#include "Psd/PsdInternal.h"

namespace {

psdr_status read_mask_data(psdr_image* image, psdr_layer* layer) {
    int64_t length = psdr_stream_u32(image);
    if (psdr_status s = psdr_limit_push(image, length)) return s;
    if (length >= 18) {
        int64_t top = int32_t(psdr_stream_u32(image)), left = int32_t(psdr_stream_u32(image));
        int64_t bottom = int32_t(psdr_stream_u32(image)), right = int32_t(psdr_stream_u32(image));
        layer->mask_default_colour = psdr_stream_u8(image);
        uint8_t flags = psdr_stream_u8(image);
        if (length >= 36) {
            flags = psdr_stream_u8(image);
            layer->mask_default_colour = psdr_stream_u8(image);
            top = int32_t(psdr_stream_u32(image));
            left = int32_t(psdr_stream_u32(image));
            bottom = int32_t(psdr_stream_u32(image));
            right = int32_t(psdr_stream_u32(image));
            layer->mask_second_form = 1;
        }
        layer->mask_position_relative = flags & 1;
        layer->mask_disabled = (flags >> 1) & 1;
        layer->mask_invert = (flags >> 2) & 1;
        layer->mask_top = int32_t(top);
        layer->mask_left = int32_t(left);
        layer->mask_bottom = int32_t(bottom);
        layer->mask_right = int32_t(right);
        int64_t mw = right - left, mh = bottom - top;
        if (mw < 0 || mh < 0) mw = mh = 0;
        if (mw > PSDR_MAX_DIMENSION || mh > PSDR_MAX_DIMENSION) {
            psdr_limit_pop(image);
            return PSDR_READ_ERROR;
        }
        layer->mask_width = int32_t(mw);
        layer->mask_height = int32_t(mh);
    }
    psdr_limit_pop(image);
    return PSDR_OK;
}

psdr_status read_blending_ranges(psdr_image* image, psdr_layer* layer) {
    int64_t length = psdr_stream_u32(image);
    if (psdr_status s = psdr_limit_push(image, length)) return s;
    psdr_status status = PSDR_OK;
    if (length > 0 && length < 16) {
        status = PSDR_NO_BLEND_RANGES;
    } else if (length >= 16) {
        for (uint16_t& v : layer->grey_blend_ranges) v = psdr_stream_u16(image);
        const int64_t count = (length - 8) / 8;
        const size_t bytes = size_t(count) * sizeof(int16_t);
        layer->blend_source_black = static_cast<int16_t*>(psdr_alloc(image, bytes));
        layer->blend_source_white = static_cast<int16_t*>(psdr_alloc(image, bytes));
        layer->blend_dest_black = static_cast<int16_t*>(psdr_alloc(image, bytes));
        layer->blend_dest_white = static_cast<int16_t*>(psdr_alloc(image, bytes));
        if (!layer->blend_source_black || !layer->blend_source_white || !layer->blend_dest_black ||
            !layer->blend_dest_white) {
            status = PSDR_NO_MEMORY;
        } else {
            layer->blend_channel_count = int32_t(count);
            for (int64_t i = 0; i < count; ++i) {
                layer->blend_source_black[i] = int16_t(psdr_stream_u16(image));
                layer->blend_source_white[i] = int16_t(psdr_stream_u16(image));
                layer->blend_dest_black[i] = int16_t(psdr_stream_u16(image));
                layer->blend_dest_white[i] = int16_t(psdr_stream_u16(image));
            }
        }
    }
    psdr_limit_pop(image);
    return status;
}

psdr_status read_block(psdr_image* image, psdr_layer* layer, uint32_t key, int64_t length) {
    psdr_extra_kind kind;
    psdr_layer_type type;
    bool adjustment;
    const bool adjusts = psdr_adjustment_key(key, &kind, &type, &adjustment);
    const bool stores = adjusts || key == psdr_fourcc("lrFX") || key == psdr_fourcc("lfx2") ||
                        key == psdr_fourcc("tySh");
    if (stores && layer->extra_count >= PSDR_MAX_EXTRA) {
        // No slot left: the block stays unread, but the layer is still what it says.
        if (adjusts) {
            layer->type = type;
            if (adjustment) layer->adjustment = 1;
        }
        return PSDR_OK;
    }
    switch (key) {
    case psdr_fourcc("luni"): return psdr_read_unicode_name(image, layer);
    case psdr_fourcc("lclr"): return psdr_read_sheet_colour(image, layer);
    case psdr_fourcc("lsct"): return psdr_read_section_divider(image, layer, length);
    case psdr_fourcc("brst"): return psdr_read_blend_restrictions(image, layer, length);
    case psdr_fourcc("lnsr"): layer->name_source = int32_t(psdr_stream_u32(image)); return PSDR_OK;
    case psdr_fourcc("lyid"): layer->layer_id = int32_t(psdr_stream_u32(image)); return PSDR_OK;
    case psdr_fourcc("lyvr"): layer->layer_version = int32_t(psdr_stream_u32(image)); return PSDR_OK;
    case psdr_fourcc("lspf"): {
        uint32_t v = psdr_stream_u32(image);
        layer->protect_transparency = v & 1;
        layer->protect_composite = (v >> 1) & 1;
        layer->protect_position = (v >> 2) & 1;
        return PSDR_OK;
    }
    case psdr_fourcc("clbl"): layer->blend_clipped = psdr_stream_bool(image); return PSDR_OK;
    case psdr_fourcc("infx"): layer->blend_interior = psdr_stream_bool(image); return PSDR_OK;
    case psdr_fourcc("knko"): layer->knockout = psdr_stream_bool(image); return PSDR_OK;
    case psdr_fourcc("tsly"): layer->transparency_shapes = psdr_stream_bool(image); return PSDR_OK;
    case psdr_fourcc("lmgm"): layer->layer_mask_hides_effects = psdr_stream_bool(image); return PSDR_OK;
    case psdr_fourcc("vmgm"): layer->vector_mask_hides_effects = psdr_stream_bool(image); return PSDR_OK;
    case psdr_fourcc("iOpa"): layer->fill_opacity = psdr_stream_u8(image); return PSDR_OK;
    case psdr_fourcc("fxrp"):
        layer->reference_x = psdr_to_int(psdr_stream_f64(image));
        layer->reference_y = psdr_to_int(psdr_stream_f64(image));
        return PSDR_OK;
    case psdr_fourcc("lrFX"): return psdr_read_effects_lrfx(image, layer);
    case psdr_fourcc("lfx2"): return psdr_read_effects_lfx2(image, layer);
    case psdr_fourcc("tySh"): return psdr_read_type_tool(image, layer);
    case psdr_fourcc("levl"): return psdr_read_levels(image, layer, length);
    case psdr_fourcc("curv"): return psdr_read_curves(image, layer, length);
    case psdr_fourcc("brit"): return psdr_read_brightness_contrast(image, layer);
    case psdr_fourcc("blnc"): return psdr_read_colour_balance(image, layer);
    case psdr_fourcc("hue2"): return psdr_read_hue_saturation(image, layer);
    case psdr_fourcc("selc"): return psdr_read_selective_colour(image, layer);
    case psdr_fourcc("thrs"): return psdr_read_threshold(image, layer);
    case psdr_fourcc("nvrt"): return psdr_read_invert(image, layer);
    case psdr_fourcc("post"): return psdr_read_posterize(image, layer);
    case psdr_fourcc("mixr"): return psdr_read_channel_mixer(image, layer);
    case psdr_fourcc("grdm"): return psdr_read_gradient_map(image, layer);
    case psdr_fourcc("phfl"): return psdr_read_photo_filter(image, layer);
    case psdr_fourcc("SoCo"): return psdr_read_solid_fill(image, layer);
    case psdr_fourcc("GdFl"): return psdr_read_gradient_fill(image, layer);
    case psdr_fourcc("PtFl"): return psdr_read_pattern_fill(image, layer);
    default: return PSDR_OK;
    }
}

psdr_status read_additional_blocks(psdr_image* image, psdr_layer* layer) {
    // Fewer than 12 bytes cannot hold a block: trailing padding, not an error.
    while (psdr_bytes_left(image) >= 12) {
        uint8_t signature[4] = {}, key[4] = {};
        psdr_stream_read(image, signature, 4);
        if (!psdr_key_is(signature, "8BIM")) return PSDR_BAD_BLOCK_SIGNATURE;
        psdr_stream_read(image, key, 4);
        int64_t length = psdr_stream_u32(image);
        length += length & 1;
        if (psdr_status s = psdr_limit_push(image, length)) return s;
        image->descriptor_depth = 0;
        image->descriptor_corrupt = 0;
        psdr_status status = read_block(image, layer, uint32_t(key[0]) << 24 | uint32_t(key[1]) << 16 |
                                                          uint32_t(key[2]) << 8 | key[3],
                                        length);
        psdr_limit_pop(image);
        if (status != PSDR_OK) return status;
    }
    return PSDR_OK;
}

psdr_status read_record(psdr_image* image, psdr_layer* layer) {
    psdr_layer_defaults(layer);
    layer->top = int32_t(psdr_stream_u32(image));
    layer->left = int32_t(psdr_stream_u32(image));
    layer->bottom = int32_t(psdr_stream_u32(image));
    layer->right = int32_t(psdr_stream_u32(image));
    const int64_t w = int64_t(layer->right) - layer->left;
    const int64_t h = int64_t(layer->bottom) - layer->top;
    if (w >= 0 && h >= 0) {
        if (w > PSDR_MAX_DIMENSION || h > PSDR_MAX_DIMENSION) return PSDR_READ_ERROR;
        layer->width = int32_t(w);
        layer->height = int32_t(h);
    }
    const int count = int16_t(psdr_stream_u16(image));
    if (count < 0 || count > PSDR_MAX_CHANNELS) return PSDR_READ_ERROR;
    if (count > 0) {
        layer->channels =
            static_cast<psdr_channel*>(psdr_alloc(image, size_t(count) * sizeof(psdr_channel)));
        if (!layer->channels) return PSDR_NO_MEMORY;
        layer->channel_count = int16_t(count);
        for (int i = 0; i < count; ++i) {
            layer->channels[i].id = int16_t(psdr_stream_u16(image));
            uint32_t length = psdr_stream_u32(image);
            if (length > INT32_MAX) return PSDR_READ_ERROR;
            layer->channels[i].length = int32_t(length);
        }
    }
    uint8_t signature[4] = {};
    psdr_stream_read(image, signature, 4);
    if (!psdr_key_is(signature, "8BIM")) return PSDR_BAD_RECORD_SIGNATURE;
    layer->blend_mode = psdr_stream_blend_key(image);
    layer->opacity = psdr_stream_u8(image);
    layer->clipping = psdr_stream_u8(image) != 0;
    const uint8_t flags = psdr_stream_u8(image);
    layer->transparency_protected = flags & 1;
    layer->visible = (flags & 2) ? 0 : 1;
    layer->obsolete = (flags >> 2) & 1;
    layer->pixel_data_irrelevant = (flags & 8) && (flags & 16) ? 1 : 0;
    psdr_stream_u8(image);

    const int64_t extra = psdr_stream_u32(image);
    if (psdr_status s = psdr_limit_push(image, extra)) return s;
    psdr_status status = read_mask_data(image, layer);
    if (status == PSDR_OK) status = read_blending_ranges(image, layer);
    if (status == PSDR_OK) {
        const int n = psdr_stream_u8(image);
        const int stored = ((n + 4) & ~3) - 1;
        // The name ends after its own bytes; the filler is not part of it.
        psdr_stream_read(image, layer->name, n);
        psdr_stream_skip(image, stored - n);
        status = read_additional_blocks(image, layer);
    }
    psdr_limit_pop(image);
    return status;
}

void link_folders(psdr_image* image) {
    psdr_layer* folder = nullptr;
    for (int i = image->layer_count - 1; i >= 0; --i) {
        psdr_layer& layer = image->layers[i];
        if (layer.type == PSDR_LAYER_FOLDER)
            folder = &layer;
        else if (layer.type == PSDR_LAYER_FOLDER_END)
            folder = nullptr;
        else if (layer.type == PSDR_LAYER_PICTURE)
            layer.parent = folder;
    }
}

void free_layer_array(psdr_image* image) {
    if (image->layers) {
        for (int i = 0; i < image->layer_count; ++i) psdr_free_layer(&image->layers[i]);
        psdr_mem_free(image->layers);
    }
    image->layers = nullptr;
    image->layer_count = 0;
}

}  // namespace

void psdr_layer_defaults(psdr_layer* layer) {
    layer->type = PSDR_LAYER_PICTURE;
    layer->blend_mode = 0;
    layer->opacity = 255;
    layer->fill_opacity = 255;
    layer->blend_clipped = 1;
    layer->transparency_shapes = 1;
    layer->divider_blend_mode = 23;
    layer->mask_default_colour = 255;
    layer->mask_disabled = 1;
}

bool psdr_attach_extra(psdr_layer* layer, psdr_extra_kind kind, void* record) {
    if (layer->extra_count >= PSDR_MAX_EXTRA) return false;
    layer->extra_kinds[layer->extra_count] = kind;
    layer->extra_records[layer->extra_count] = record;
    ++layer->extra_count;
    return true;
}

psdr_status psdr_read_unicode_name(psdr_image* image, psdr_layer* layer) {
    return psdr_read_unicode(image, &layer->unicode_name_length, &layer->unicode_name);
}

psdr_status psdr_read_sheet_colour(psdr_image* image, psdr_layer* layer) {
    uint8_t r = psdr_stream_u8(image), g = psdr_stream_u8(image), b = psdr_stream_u8(image);
    psdr_stream_u8(image);
    layer->sheet_colour = psdr_pack_rgb(r, g, b);
    psdr_stream_skip(image, 4);
    return PSDR_OK;
}

psdr_status psdr_read_section_divider(psdr_image* image, psdr_layer* layer, int64_t length) {
    const uint32_t setting = psdr_stream_u32(image);
    layer->divider_setting = int32_t(setting);
    if (setting == 1 || setting == 2) layer->type = PSDR_LAYER_FOLDER;
    if (setting == 3) layer->type = PSDR_LAYER_FOLDER_END;
    if (length == 12) {
        uint8_t signature[4] = {};
        psdr_stream_read(image, signature, 4);
        if (!psdr_key_is(signature, "8BIM")) return PSDR_BAD_DIVIDER_SIGNATURE;
        layer->divider_blend_mode = psdr_stream_blend_key(image);
    }
    return PSDR_OK;
}

psdr_status psdr_read_blend_restrictions(psdr_image* image, psdr_layer* layer, int64_t length) {
    for (int64_t i = 0; i < length / 4; ++i) {
        const int32_t id = int32_t(psdr_stream_u32(image));
        for (int c = 0; c < layer->channel_count; ++c)
            if (layer->channels[c].id == id) {
                layer->channels[c].restricted = 1;
                break;
            }
    }
    return PSDR_OK;
}

psdr_status psdr_read_layer_info(psdr_image* image) {
    int64_t length = psdr_stream_u32(image);
    length += length & 1;
    if (length == 0) return PSDR_OK;
    if (psdr_status s = psdr_limit_push(image, length)) return s;
    const int16_t signed_count = int16_t(psdr_stream_u16(image));
    if (signed_count == INT16_MIN) {
        psdr_limit_pop(image);
        return PSDR_READ_ERROR;
    }
    const int count = std::abs(int(signed_count));
    psdr_status status = PSDR_OK;
    if (count > 0) {
        image->layers = static_cast<psdr_layer*>(psdr_alloc(image, size_t(count) * sizeof(psdr_layer)));
        if (!image->layers) status = PSDR_NO_MEMORY;
        else image->layer_count = int16_t(count);
    }
    for (int i = 0; status == PSDR_OK && i < image->layer_count; ++i) {
        status = read_record(image, &image->layers[i]);
        if (status != PSDR_OK && status != PSDR_BAD_BLOCK_SIGNATURE) psdr_free_layer(&image->layers[i]);
    }
    for (int i = 0; status == PSDR_OK && i < image->layer_count; ++i) {
        status = psdr_read_layer_channels(image, &image->layers[i]);
        if (status != PSDR_OK) psdr_free_layer(&image->layers[i]);
    }
    psdr_limit_pop(image);
    if (status == PSDR_OK) link_folders(image);
    return status;
}

psdr_status psdr_read_global_mask(psdr_image* image) {
    const int64_t length = psdr_stream_u32(image);
    if (length == 0) return PSDR_OK;
    if (psdr_status s = psdr_limit_push(image, length)) return s;
    image->global_mask_colour = psdr_stream_colour(image);
    image->global_mask_opacity = int16_t(psdr_stream_u16(image));
    image->global_mask_kind = psdr_stream_u8(image);
    psdr_limit_pop(image);
    return PSDR_OK;
}

psdr_status psdr_read_layer_mask_section(psdr_image* image) {
    const int64_t length = psdr_stream_u32(image);
    if (length == 0 || length > INT32_MAX) return PSDR_OK;
    if (psdr_status s = psdr_limit_push(image, length)) return s;
    if (image->load_tag >= 3) {
        psdr_limit_pop(image);
        return PSDR_OK;
    }
    // The scratch stays for the image data, which reuses its mapped pages;
    // the load frees it at its end.
    psdr_status status = psdr_read_layer_info(image);
    if (status == PSDR_OK) status = psdr_read_global_mask(image);
    if (status != PSDR_OK) {
        psdr_limit_pop(image);
        return status;
    }
    psdr_status last = PSDR_OK;
    while (psdr_bytes_left(image) > 12) {
        uint8_t signature[4] = {}, key[4] = {};
        psdr_stream_read(image, signature, 4);
        if (!psdr_key_is(signature, "8BIM")) break;
        psdr_stream_read(image, key, 4);
        if (psdr_key_is(key, "Lr16")) {
            // Its records replace the ones read so far.
            free_layer_array(image);
            last = psdr_read_layer_info(image);
            continue;
        }
        const int64_t block = psdr_stream_u32(image);
        if (psdr_limit_push(image, block) != PSDR_OK) {
            last = PSDR_READ_ERROR;
            break;
        }
        if ((psdr_key_is(key, "Patt") || psdr_key_is(key, "Pat2")) && block >= 4)
            while (psdr_bytes_left(image) >= 4) last = psdr_read_pattern(image);
        psdr_limit_pop(image);
    }
    psdr_limit_pop(image);
    return last;
}

void psdr_free_layer(psdr_layer* layer) {
    for (int i = 0; i < layer->extra_count && i < PSDR_MAX_EXTRA; ++i)
        psdr_free_extra(layer->extra_kinds[i], layer->extra_records[i]);
    psdr_mem_release(layer->channels);
    psdr_mem_release(layer->unicode_name);
    psdr_mem_release(layer->pixels);
    psdr_mem_release(layer->user_mask);
    psdr_mem_release(layer->blend_source_black);
    psdr_mem_release(layer->blend_source_white);
    psdr_mem_release(layer->blend_dest_black);
    psdr_mem_release(layer->blend_dest_white);
    // A released layer is in its zero state, so releasing it again does nothing.
    std::memset(layer, 0, sizeof *layer);
}

void psdr_free_scratch(psdr_image* image) {
    psdr_mem_release(image->channel_scratch);
    image->channel_scratch = nullptr;
    image->channel_scratch_capacity = 0;
    psdr_mem_release(image->compressed_scratch);
    image->compressed_scratch = nullptr;
    image->compressed_scratch_capacity = 0;
}

void psdr_free_layers(psdr_image* image) {
    free_layer_array(image);
    psdr_mem_release(image->compressed_scratch);
    image->compressed_scratch = nullptr;
    image->compressed_scratch_capacity = 0;
    psdr_free_patterns(image);
}
