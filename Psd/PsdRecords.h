#pragma once
// Records of the additional layer information: effects, adjustments, fills,
// type tool and the descriptor values they share. Decoded and kept, never applied.

#include <cstdint>

struct psdr_contour {
    uint8_t table[256];
    uint8_t anti_aliased;
};

struct psdr_gradient_stop {
    int32_t location;
    int32_t midpoint;
    uint32_t colour;
    int32_t type;
};

struct psdr_transparency_stop {
    int32_t location;
    int32_t midpoint;
    int16_t opacity;
};

struct psdr_gradient {
    int32_t smoothness;
    int32_t name_length;
    uint8_t* name;
    int16_t colour_stop_count;
    psdr_gradient_stop* colour_stops;
    int16_t transparency_stop_count;
    psdr_transparency_stop* transparency_stops;
};

struct psdr_pattern_ref {
    int32_t name_length;
    uint8_t* name;
    char identifier[256];
};

struct psdr_shadow {
    uint8_t enabled;
    int32_t blend_mode;
    uint32_t colour;
    uint32_t native_colour;
    uint8_t opacity;
    int32_t angle;
    uint8_t use_global_angle;
    int32_t distance;
    int32_t spread;
    int32_t size;
    psdr_contour contour;
    int32_t noise;
    uint8_t layer_knocks_out;  // drop shadow only
};

struct psdr_glow {
    uint8_t enabled;
    int32_t blend_mode;
    uint8_t opacity;
    int32_t noise;
    int32_t fill_type;
    uint32_t colour;
    uint32_t native_colour;
    psdr_gradient gradient;
    int32_t technique;
    int32_t source;  // inner glow only
    int32_t spread;
    int32_t size;
    psdr_contour contour;
    int32_t range;
    int32_t jitter;
};

struct psdr_bevel {
    uint8_t enabled;
    int32_t style;
    int32_t technique;
    int32_t depth;
    int32_t direction;
    int32_t size;
    int32_t soften;
    int32_t angle;
    uint8_t use_global_angle;
    int32_t altitude;
    psdr_contour gloss_contour;
    int32_t highlight_blend_mode;
    uint32_t highlight_colour, highlight_native_colour;
    uint8_t highlight_opacity;
    int32_t shadow_blend_mode;
    uint32_t shadow_colour, shadow_native_colour;
    uint8_t shadow_opacity;
    uint8_t use_shape;
    psdr_contour contour;
    int32_t range;
    uint8_t use_texture;
    psdr_pattern_ref texture_pattern;
    int32_t texture_scale;
    int32_t texture_depth;
    uint8_t invert_texture;
    uint8_t align_with_layer;
    int32_t texture_phase_x, texture_phase_y;
};

struct psdr_satin {
    uint8_t enabled;
    int32_t blend_mode;
    uint32_t colour;
    uint8_t opacity;
    int32_t angle;
    int32_t distance;
    int32_t size;
    psdr_contour contour;
    uint8_t invert;
};

struct psdr_colour_overlay {
    uint8_t enabled;
    int32_t blend_mode;
    uint32_t colour;
    uint8_t opacity;
    uint32_t native_colour;
};

struct psdr_gradient_overlay {
    uint8_t enabled;
    int32_t blend_mode;
    uint8_t opacity;
    psdr_gradient gradient;
    uint8_t reverse;
    int32_t style;
    uint8_t align;
    int32_t angle;
    int32_t scale;
    int32_t offset_x, offset_y;
};

struct psdr_pattern_overlay {
    uint8_t enabled;
    int32_t blend_mode;
    uint8_t opacity;
    int32_t scale;
    uint8_t align;
    psdr_pattern_ref pattern;
    int32_t phase_x, phase_y;
};

struct psdr_stroke {
    uint8_t enabled;
    int32_t size;
    int32_t position;
    int32_t blend_mode;
    uint8_t opacity;
    int32_t fill_type;
    uint32_t colour;
    psdr_gradient gradient;
    uint8_t reverse;
    int32_t gradient_style;
    uint8_t align;
    int32_t angle;
    int32_t gradient_scale;
    int32_t offset_x, offset_y;
    psdr_pattern_ref pattern;
    int32_t pattern_scale;
    uint8_t linked;
    int32_t phase_x, phase_y;
};

// Order of the present flags.
enum {
    PSDR_FX_DROP_SHADOW,
    PSDR_FX_INNER_SHADOW,
    PSDR_FX_OUTER_GLOW,
    PSDR_FX_INNER_GLOW,
    PSDR_FX_SATIN,
    PSDR_FX_COLOUR_OVERLAY,
    PSDR_FX_GRADIENT_OVERLAY,
    PSDR_FX_PATTERN_OVERLAY,
    PSDR_FX_STROKE,
    PSDR_FX_BEVEL,
    PSDR_FX_COUNT
};

struct psdr_effects {
    int16_t count;
    uint8_t visible;
    psdr_shadow drop_shadow;
    psdr_shadow inner_shadow;
    psdr_glow outer_glow;
    psdr_glow inner_glow;
    psdr_bevel bevel;
    psdr_satin satin;
    psdr_colour_overlay colour_overlay;
    psdr_gradient_overlay gradient_overlay;
    psdr_pattern_overlay pattern_overlay;
    psdr_stroke stroke;
    uint8_t present[PSDR_FX_COUNT];
    uint8_t present2[PSDR_FX_COUNT];
};

struct psdr_levels_entry {
    int16_t input_floor, input_ceiling, output_floor, output_ceiling;
    float gamma;
};

struct psdr_levels {
    int16_t version;
    psdr_levels_entry entries[29];
    int16_t extra_version;
    int32_t extra_count;
    psdr_levels_entry* extra;
};

enum { PSDR_CURVE_POINTS = 19 };

struct psdr_curve {
    int16_t channel;
    uint16_t point_count;
    int16_t output[PSDR_CURVE_POINTS];
    int16_t input[PSDR_CURVE_POINTS];
};

struct psdr_curves {
    int16_t version;
    uint32_t channel_bitmap;
    int32_t count;
    psdr_curve* curves;
};

struct psdr_brightness_contrast {
    int16_t brightness, contrast, mean;
    uint8_t lab_only;
};

struct psdr_colour_balance {
    int16_t shadows[3], midtones[3], highlights[3];
    uint8_t preserve_luminosity;
};

struct psdr_hue_saturation {
    int16_t version;
    uint8_t colorize;
    int16_t colorize_hue, colorize_saturation, colorize_lightness;
    int16_t master_hue, master_saturation, master_lightness;
    int16_t ranges[6][4];
    int16_t settings[6][3];
};

struct psdr_selective_colour {
    int16_t version;
    int16_t method;
    int16_t cyan[10], magenta[10], yellow[10], black[10];
};

struct psdr_threshold {
    int16_t level;
};

struct psdr_posterize {
    int16_t levels;
};

struct psdr_channel_mixer {
    int16_t version;
    uint8_t monochrome;
    int16_t rows[5][4];
};

struct psdr_gradient_map {
    int16_t version;
    uint8_t reverse;
    uint8_t dither;
    int32_t name_length;
    uint8_t* name;
    int16_t colour_stop_count;
    psdr_gradient_stop* colour_stops;
    int16_t transparency_stop_count;
    psdr_transparency_stop* transparency_stops;
    int16_t expansion_count;
    int16_t interpolation;
    int16_t length;
    int16_t mode;
    int32_t random_seed;
    int16_t show_transparency;
    int16_t use_vector_colour;
    int32_t roughness;
    uint32_t minimum_colour;
    uint32_t maximum_colour;
};

struct psdr_photo_filter {
    int16_t version;
    int32_t x, y, z;
    int32_t density;
    uint8_t preserve_luminosity;
};

struct psdr_font {
    int16_t mark;
    int32_t font_type;
    char font_name[256];
    char family_name[256];
    char style_name[256];
    int16_t script;
    int32_t design_axis_count;
    int32_t* design_axes;
};

struct psdr_type_style {
    int16_t mark;
    int16_t face_mark;
    int32_t size, tracking, kerning, leading, baseline;
    uint8_t auto_kern;
    uint8_t rotate;
};

struct psdr_type_line {
    int32_t character_count;
    int16_t orientation, alignment, actual_character, style;
};

struct psdr_type_tool {
    double transform[6];
    int16_t font_count;
    psdr_font* fonts;
    int16_t style_count;
    psdr_type_style* styles;
    int16_t type;
    int32_t scaling_factor, character_count, horizontal_placement, vertical_placement,
        select_start, select_end;
    int16_t line_count;
    psdr_type_line* lines;
    uint32_t colour;
    uint8_t anti_alias;
};

struct psdr_solid_fill {
    uint32_t class_id;
    uint32_t colour;
};

struct psdr_gradient_fill {
    uint32_t class_id;
    uint8_t align;
    double angle;
    uint8_t dither;
    psdr_gradient gradient;
    uint8_t reverse;
    int32_t scale;
    int32_t style;
};

struct psdr_pattern_fill {
    uint32_t class_id;
    psdr_pattern_ref pattern;
    int32_t scale;
};
