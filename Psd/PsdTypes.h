#pragma once
// Records of a decoded layered-image document. Plain fixed-layout data: the
// decoder fills them, the caller reads them and hands the image back to psdr_free.

#include <cstdint>
#include <cstdio>

#include "Psd/PsdRecords.h"

typedef int32_t psdr_status;

enum : psdr_status {
    PSDR_OK = 0,
    PSDR_INVALID_IMAGE = -1,
    PSDR_INVALID_FILE = -2,
    PSDR_NO_MEMORY = -4,
    PSDR_READ_ERROR = -5,
    PSDR_BAD_COLOUR_SPACE = -15,
    PSDR_BAD_DEPTH = -18,
    PSDR_BAD_COLOUR_MODE = -19,
    PSDR_BAD_COMPRESSION = -20,
    PSDR_NO_BLEND_RANGES = -56,
    PSDR_ZIP_ERROR = -101,
    PSDR_BAD_SIGNATURE = -200,
    PSDR_BAD_VERSION = -201,
    PSDR_BAD_RESOURCE_SIGNATURE = -400,
    PSDR_THUMBNAIL_ERROR = -401,
    PSDR_BAD_RECORD_SIGNATURE = -500,
    PSDR_LEVELS_VERSION = -503,
    PSDR_LEVELS_SIGNATURE = -505,
    PSDR_LEVELS_LENGTH = -506,
    PSDR_LEVELS_EXTRA_VERSION = -507,
    PSDR_CURVES_VERSION = -508,
    PSDR_CURVES_SIGNATURE = -509,
    PSDR_CURVES_EXTRA_VERSION = -510,
    PSDR_HUE_SATURATION_VERSION = -511,
    PSDR_SELECTIVE_COLOUR_VERSION = -512,
    PSDR_CHANNEL_MIXER_VERSION = -513,
    PSDR_PHOTO_FILTER_VERSION = -514,
    PSDR_GRADIENT_MAP_VERSION = -515,
    PSDR_EFFECTS_VERSION = -516,
    PSDR_EFFECT_SIGNATURE = -517,
    PSDR_EFFECT_KEY = -518,
    PSDR_COMMON_STATE_VERSION = -519,
    PSDR_SHADOW_VERSION = -520,
    PSDR_OUTER_GLOW_VERSION = -521,
    PSDR_INNER_GLOW_VERSION = -522,
    PSDR_BEVEL_VERSION = -523,
    PSDR_SOLID_FILL_EFFECT_VERSION = -524,
    PSDR_SOLID_FILL_VERSION = -525,
    PSDR_GRADIENT_FILL_VERSION = -526,
    PSDR_BAD_BLOCK_SIGNATURE = -528,
    PSDR_BAD_DIVIDER_SIGNATURE = -529,
    PSDR_PATTERN_FILL_VERSION = -530,
    PSDR_BAD_PATTERN_VERSION = -531,
};

typedef int32_t psdr_load_tag;
typedef int32_t psdr_layer_type;
typedef int32_t psdr_blend_mode;
typedef int32_t psdr_extra_kind;

enum : psdr_layer_type {
    PSDR_LAYER_PICTURE = 0,
    PSDR_LAYER_FOLDER_END = 1,
    PSDR_LAYER_FOLDER = 2,
};

enum : psdr_extra_kind {
    PSDR_EXTRA_LEVELS = 1,
    PSDR_EXTRA_CURVES = 2,
    PSDR_EXTRA_BRIGHTNESS_CONTRAST = 3,
    PSDR_EXTRA_COLOUR_BALANCE = 4,
    PSDR_EXTRA_HUE_SATURATION = 5,
    PSDR_EXTRA_SELECTIVE_COLOUR = 6,
    PSDR_EXTRA_THRESHOLD = 7,
    PSDR_EXTRA_INVERT = 8,
    PSDR_EXTRA_POSTERIZE = 9,
    PSDR_EXTRA_CHANNEL_MIXER = 10,
    PSDR_EXTRA_GRADIENT_MAP = 11,
    PSDR_EXTRA_PHOTO_FILTER = 12,
    PSDR_EXTRA_TYPE_TOOL = 13,
    PSDR_EXTRA_EFFECTS_LRFX = 15,
    PSDR_EXTRA_EFFECTS_LFX2 = 16,
    PSDR_EXTRA_SOLID_FILL = 17,
    PSDR_EXTRA_GRADIENT_FILL = 18,
    PSDR_EXTRA_PATTERN_FILL = 19,
};

enum { PSDR_MAX_EXTRA = 20 };

struct psdr_alpha_channel {
    char name[256];
    int32_t unicode_name_length;
    uint8_t* unicode_name;
    int32_t id;
    uint8_t* plane;
};

struct psdr_channel {
    int16_t id;
    int32_t length;
    uint8_t restricted;
};

struct psdr_layer {
    psdr_layer_type type;
    int32_t top, left, bottom, right;
    int32_t width, height;
    int16_t channel_count;
    psdr_channel* channels;
    psdr_blend_mode blend_mode;
    uint8_t opacity;
    uint8_t clipping;
    uint8_t transparency_protected, visible, obsolete, pixel_data_irrelevant;
    int32_t mask_top, mask_left, mask_bottom, mask_right, mask_width, mask_height;
    uint8_t mask_default_colour;
    uint8_t mask_position_relative, mask_disabled, mask_invert;
    uint8_t* user_mask;
    uint16_t grey_blend_ranges[4];
    int32_t blend_channel_count;
    int16_t* blend_source_black;
    int16_t* blend_source_white;
    int16_t* blend_dest_black;
    int16_t* blend_dest_white;
    char name[264];
    uint32_t* pixels;
    int32_t extra_count;
    psdr_extra_kind extra_kinds[PSDR_MAX_EXTRA];
    void* extra_records[PSDR_MAX_EXTRA];
    uint8_t adjustment;
    uint8_t fill_opacity;
    int32_t unicode_name_length;
    uint8_t* unicode_name;
    int32_t name_source;
    int32_t layer_id;
    int32_t layer_version;
    uint8_t blend_clipped, blend_interior, knockout;
    uint8_t protect_transparency, protect_composite, protect_position;
    uint32_t sheet_colour;
    int32_t reference_x, reference_y;
    uint8_t transparency_shapes, layer_mask_hides_effects, vector_mask_hides_effects;
    int32_t divider_setting;
    psdr_blend_mode divider_blend_mode;
    psdr_layer* parent;
    // Set when the mask data carries its second rectangle: the user mask then
    // comes from the -3 channel, which is laid out by that rectangle.
    uint8_t mask_second_form;
};

struct psdr_pattern {
    int32_t colour_mode;
    int16_t height, width;
    int32_t name_length;
    uint8_t* name;
    char identifier[256];
    int32_t list_version;
    int16_t top, left, bottom, right;
    int32_t channel_count;
    uint32_t* pixels;
};

enum { PSDR_LIMIT_DEPTH = 32 };

struct psdr_image {
    const char* path;
    FILE* file;
    uint8_t* stream_buffer;
    int32_t buffered;
    int32_t buffer_position;
    int64_t file_length;
    int64_t consumed;
    int32_t section_state;
    psdr_load_tag load_tag;
    int32_t width;
    int32_t height;
    uint16_t channel_count;
    int16_t depth;
    int32_t colour_mode;
    int32_t colour_table_size;
    uint32_t* colour_table;
    char caption[256];
    uint8_t resolution_present;
    float h_resolution;
    int16_t h_resolution_unit, width_unit;
    float v_resolution;
    int16_t v_resolution_unit, height_unit;
    uint8_t display_info_present;
    uint32_t display_colour;
    int16_t display_opacity;
    uint8_t display_kind;
    uint8_t alpha_info_present;
    int16_t alpha_channel_count;
    int16_t colour_channel_count;
    psdr_alpha_channel* alpha_channels;
    int16_t target_layer;
    uint8_t layer_groups_present;
    int32_t layer_group_count;
    int16_t* layer_group_ids;
    uint8_t thumbnail_present;
    int32_t thumbnail_format, thumbnail_width, thumbnail_height, thumbnail_row_bytes,
        thumbnail_total_size, thumbnail_compressed_size;
    int16_t thumbnail_bits_per_pixel, thumbnail_planes;
    uint32_t* thumbnail_pixels;
    uint8_t version_info_present;
    int32_t version;
    uint8_t has_real_merged_data;
    int32_t writer_name_length;
    uint8_t* writer_name;
    int32_t reader_name_length;
    uint8_t* reader_name;
    int32_t file_version;
    uint8_t rights_flag;
    int32_t global_angle;
    int32_t global_altitude;
    uint8_t effects_visible;
    int16_t indexed_colour_count;
    int16_t transparent_index;
    int16_t layer_count;
    psdr_layer* layers;
    uint32_t global_mask_colour;
    int16_t global_mask_opacity;
    uint8_t global_mask_kind;
    int32_t pattern_capacity, pattern_count;
    psdr_pattern* patterns;
    uint32_t* merged_image;
    uint8_t* channel_scratch;
    size_t channel_scratch_capacity;
    uint8_t* compressed_scratch;
    size_t compressed_scratch_capacity;
    size_t plane_size;
    size_t plane_stride;
    // Ends of the structures being read, innermost last: no read passes them.
    int64_t limits[PSDR_LIMIT_DEPTH];
    int32_t limit_depth;
    // Decoded memory this load may still allocate.
    size_t budget;
    // Nesting of the descriptor being walked; a corrupt one reads nothing more
    // until its block is left.
    int32_t descriptor_depth;
    uint8_t descriptor_corrupt;
};

psdr_status psdr_load(psdr_image** out, const char* path);
psdr_status psdr_load_tagged(const char* path, psdr_image** out, psdr_load_tag tag);
psdr_status psdr_free(psdr_image* image);
// Gives back the large blocks kept from earlier loads for the next one (they
// also go back at exit): for a program done loading documents for a while.
void psdr_release_cache();
