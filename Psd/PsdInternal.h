#pragma once

// Operations shared between the decoder's sections. Not for callers of the decoder.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "Psd/PsdTypes.h"

// Loads from an open file, which the decoder then owns and closes, with a budget of
// decoded memory. The file is null-checked like a path.
psdr_status psdr_load_file(FILE* file, psdr_image** out, psdr_load_tag tag, size_t budget);
constexpr size_t PSDR_DEFAULT_BUDGET = size_t(1) << 30;
// The format's own limit on widths and heights.
constexpr int64_t PSDR_MAX_DIMENSION = 30000;
constexpr int PSDR_MAX_CHANNELS = 56;

psdr_status psdr_read_sections(psdr_image* image);

// Memory and file wrappers.
void* psdr_mem_alloc(size_t size);
// Contents left unset: for buffers whose every byte the caller writes.
void* psdr_mem_alloc_unset(size_t size);
void* psdr_mem_realloc(void* block, size_t size);
void psdr_mem_free(void* block);
void psdr_mem_release(void* block);
FILE* psdr_file_open(const char* path);
int64_t psdr_file_size(FILE* file);
size_t psdr_file_read(void* buffer, size_t count, FILE* file);
int psdr_file_skip(FILE* file, int64_t count);
void psdr_file_close(FILE* file);
// Zero-filled allocation charged to the image's budget; null when over it or out of memory.
void* psdr_alloc(psdr_image* image, size_t size);
// The same, contents unset: for pixels, planes and data the caller writes whole.
void* psdr_alloc_unset(psdr_image* image, size_t size);
// size = a * b (* c) unless it overflows.
bool psdr_mul(size_t a, size_t b, size_t* out);
// Grows a scratch buffer by doubling, at least to `floor`; frees it on failure.
// Its contents are unset.
psdr_status psdr_scratch_reserve(psdr_image* image, uint8_t** buffer, size_t* capacity,
                                 size_t needed, size_t floor);
// Saturating double-to-int conversion; NaN gives 0.
int32_t psdr_to_int(double value);

// Stream.
int64_t psdr_stream_read(psdr_image* image, void* destination, int64_t n);
int64_t psdr_stream_skip(psdr_image* image, int64_t n);
uint8_t psdr_stream_u8(psdr_image* image);
uint16_t psdr_stream_u16(psdr_image* image);
uint32_t psdr_stream_u32(psdr_image* image);
double psdr_stream_f64(psdr_image* image);
uint8_t psdr_stream_bool(psdr_image* image);
psdr_blend_mode psdr_stream_blend_key(psdr_image* image);
uint32_t psdr_stream_colour(psdr_image* image);
void psdr_stream_close(psdr_image* image);
// Bounded reading: enter a structure of `length` bytes starting here (-5 when it
// would pass the end of the structure around it), and leave it at its end.
psdr_status psdr_limit_push(psdr_image* image, int64_t length);
void psdr_limit_pop(psdr_image* image);
// Bytes left in the innermost structure (the rest of the file outside any).
int64_t psdr_limit_remaining(psdr_image* image);
int64_t psdr_file_remaining(psdr_image* image);
// Bytes that can still be read in the innermost structure: loops over counts
// taken from the file stop here, so a cut file cannot keep them spinning.
int64_t psdr_bytes_left(psdr_image* image);
bool psdr_key_is(const uint8_t key[4], const char* text);
constexpr uint32_t psdr_fourcc(const char* text) {
    return uint32_t(uint8_t(text[0])) << 24 | uint32_t(uint8_t(text[1])) << 16 |
           uint32_t(uint8_t(text[2])) << 8 | uint8_t(text[3]);
}
psdr_blend_mode psdr_blend_mode_from_key(uint32_t key);

// Colour conversions.
uint32_t psdr_pack_argb(int a, int r, int g, int b);
uint32_t psdr_pack_rgb(int r, int g, int b);
uint32_t psdr_cmyk_to_argb(int c, int m, int y, int k);
uint32_t psdr_cmyk_alpha_to_argb(int alpha, int c, int m, int y, int k);
uint32_t psdr_cmyk_fraction_to_argb(double c, double m, double y, double k);
uint32_t psdr_lab_to_argb(int alpha, int l, int a, int b);
uint32_t psdr_lab_to_argb_opaque(int l, int a, int b);
uint32_t psdr_xyz_to_argb(int alpha, double x, double y, double z);
uint32_t psdr_hls_to_argb(int alpha, int hue, double saturation, double lightness);
int psdr_hue_to_channel(int hue, double m1, double m2);
psdr_status psdr_colour_to_argb(uint32_t* out, int space, uint16_t w1, uint16_t w2,
                                uint16_t w3, uint16_t w4);

// Header, colour mode data, resources.
psdr_status psdr_read_header(psdr_image* image);
psdr_status psdr_read_colour_mode_data(psdr_image* image);
psdr_status psdr_read_resources(psdr_image* image);
void psdr_free_colour_table(psdr_image* image);
void psdr_free_resources(psdr_image* image);
void psdr_free_alpha_channels(psdr_image* image);

// Layer and mask information.
psdr_status psdr_read_layer_mask_section(psdr_image* image);
psdr_status psdr_read_layer_info(psdr_image* image);
psdr_status psdr_read_global_mask(psdr_image* image);
psdr_status psdr_read_unicode_name(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_sheet_colour(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_section_divider(psdr_image* image, psdr_layer* layer, int64_t length);
psdr_status psdr_read_blend_restrictions(psdr_image* image, psdr_layer* layer, int64_t length);
void psdr_layer_defaults(psdr_layer* layer);
void psdr_free_layer(psdr_layer* layer);
void psdr_free_layers(psdr_image* image);
void psdr_free_scratch(psdr_image* image);
// Reserves the next extra slot; false when all 20 are taken.
bool psdr_attach_extra(psdr_layer* layer, psdr_extra_kind kind, void* record);

// Channels.
psdr_status psdr_read_layer_channels(psdr_image* image, psdr_layer* layer);
psdr_status psdr_unpack_rle(const uint8_t* source, size_t source_length, size_t rows,
                            uint8_t* destination, size_t destination_size);
psdr_status psdr_inflate(const uint8_t* source, size_t source_length, uint8_t* destination,
                         size_t destination_size);
psdr_status psdr_inflate_predicted(const uint8_t* source, size_t source_length,
                                   uint8_t* destination, size_t destination_size,
                                   size_t row_width, int depth);
// Plane size of a w x h channel at the document's depth.
size_t psdr_plane_size(int64_t w, int64_t h, int depth);
// Decodes one channel payload of `compression` into a plane; the decoders
// write the whole plane, zeros past the decoded data.
psdr_status psdr_decode_plane(const uint8_t* source, size_t source_length, int compression,
                              size_t rows, size_t row_width, int depth, uint8_t* plane,
                              size_t plane_size);
// One run-length row of `count` bytes into exactly `width` bytes of `row`;
// false for anything else. The rooms are the bytes readable past `runs` and
// writable past `row`: runs are moved in whole blocks where they allow.
bool psdr_unpack_rle_row(const uint8_t* runs, size_t count, size_t source_room, uint8_t* row,
                         size_t width, size_t row_room);

// A channel's plane (8-bit samples) a row at a time: the bytes the plane
// decoders write there; false where they would not give whole rows or would
// fail, for the caller to decode whole planes instead.
struct psdr_rows {
    int compression;
    const uint8_t* data;
    size_t size;
    size_t rows;
    size_t width;
    size_t row;
    size_t offset; // run-length: where the next row's runs start
};
bool psdr_rows_start(psdr_rows* r, int compression, const uint8_t* data, size_t size, size_t rows,
                     size_t width);
// `room` bytes may be written at `row`, at least its width.
bool psdr_rows_next(psdr_rows* r, uint8_t* row, size_t room);

psdr_status psdr_layer_mask8(psdr_image* image, psdr_layer* layer);
psdr_status psdr_layer_mask16(psdr_image* image, psdr_layer* layer);

// Planes of one picture, for the combiners shared by layers, merged image and patterns.
struct psdr_planes {
    const uint8_t* c[4];  // colour planes in the mode's order; null reads as zeros
    const uint8_t* alpha; // null: opaque
    size_t count;         // pixels
    int width;            // for the depth-1 bitmap rows
    int height;
    int depth;            // 8 or 16 (1 for the bitmap)
};
// Fills `pixels` for the colour mode; false when the mode and depth have no combiner.
bool psdr_combine(const psdr_planes& planes, int colour_mode, const uint32_t* table,
                  int table_size, int indexed_count, int transparent_index, bool indexed_checks,
                  uint32_t* pixels);

// Merged image.
psdr_status psdr_read_image_data(psdr_image* image);
void psdr_free_merged(psdr_image* image);

// Effects.
psdr_status psdr_read_effects_lrfx(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_effects_lfx2(psdr_image* image, psdr_layer* layer);
void psdr_free_effects(psdr_effects* record);
void psdr_drop_shadow_defaults(psdr_shadow* shadow);
void psdr_inner_shadow_defaults(psdr_shadow* shadow);
void psdr_outer_glow_defaults(psdr_glow* glow);
void psdr_inner_glow_defaults(psdr_glow* glow);
void psdr_bevel_defaults(psdr_bevel* bevel);
void psdr_satin_defaults(psdr_satin* satin);
psdr_status psdr_read_drop_shadow_lrfx(psdr_image* image, psdr_shadow* shadow);
psdr_status psdr_read_inner_shadow_lrfx(psdr_image* image, psdr_shadow* shadow);
psdr_status psdr_read_outer_glow_lrfx(psdr_image* image, psdr_glow* glow);
psdr_status psdr_read_inner_glow_lrfx(psdr_image* image, psdr_glow* glow);
psdr_status psdr_read_bevel_lrfx(psdr_image* image, psdr_bevel* bevel);
psdr_status psdr_read_solid_fill_lrfx(psdr_image* image, psdr_colour_overlay* overlay);
psdr_status psdr_read_drop_shadow_lfx2(psdr_image* image, psdr_shadow* shadow);
psdr_status psdr_read_inner_shadow_lfx2(psdr_image* image, psdr_shadow* shadow);
psdr_status psdr_read_outer_glow_lfx2(psdr_image* image, psdr_glow* glow);
psdr_status psdr_read_inner_glow_lfx2(psdr_image* image, psdr_glow* glow);
psdr_status psdr_read_bevel_lfx2(psdr_image* image, psdr_bevel* bevel);
psdr_status psdr_read_satin(psdr_image* image, psdr_satin* satin);
psdr_status psdr_read_colour_overlay_lfx2(psdr_image* image, psdr_colour_overlay* overlay);
psdr_status psdr_read_gradient_overlay(psdr_image* image, psdr_gradient_overlay* overlay);
psdr_status psdr_read_pattern_overlay(psdr_image* image, psdr_pattern_overlay* overlay);
psdr_status psdr_read_stroke(psdr_image* image, psdr_stroke* stroke);

// Adjustments, fills, type tool.
psdr_status psdr_read_levels(psdr_image* image, psdr_layer* layer, int64_t length);
psdr_status psdr_read_curves(psdr_image* image, psdr_layer* layer, int64_t length);
psdr_status psdr_read_brightness_contrast(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_colour_balance(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_hue_saturation(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_selective_colour(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_threshold(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_invert(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_posterize(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_channel_mixer(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_gradient_map(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_photo_filter(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_type_tool(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_solid_fill(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_gradient_fill(psdr_image* image, psdr_layer* layer);
psdr_status psdr_read_pattern_fill(psdr_image* image, psdr_layer* layer);
void psdr_free_levels(psdr_levels* record);
void psdr_free_curves(psdr_curves* record);
void psdr_free_gradient_map(psdr_gradient_map* record);
void psdr_free_type_tool(psdr_type_tool* record);
void psdr_free_extra(psdr_extra_kind kind, void* record);
// Kind and layer type of an adjustment or fill key; false for other keys.
bool psdr_adjustment_key(uint32_t key, psdr_extra_kind* kind, psdr_layer_type* type,
                         bool* adjustment);

// Thumbnail.
psdr_status psdr_read_jpeg_thumbnail(uint32_t** out, int64_t compressed_size, psdr_image* image);
psdr_status psdr_skip_thumbnail(uint32_t** out, int64_t compressed_size, psdr_image* image);

// Descriptors.
enum { PSDR_DESCRIPTOR_DEPTH = 32 };
void psdr_skip_item(uint32_t type, psdr_image* image);
void psdr_skip_descriptor(psdr_image* image);
void psdr_skip_list(psdr_image* image);
void psdr_skip_reference(psdr_image* image);
void psdr_skip_enum(psdr_image* image);
void psdr_skip_class(psdr_image* image);
void psdr_skip_unicode(psdr_image* image);
// Reads a key or class id: a length, then that many bytes, or four characters when 0.
// Keeps at most 255 bytes plus NUL in `key`; returns the four characters (0 for a string).
uint32_t psdr_read_key(psdr_image* image, char key[256]);
uint32_t psdr_read_descriptor_colour(psdr_image* image);
psdr_blend_mode psdr_read_blend_mode_enum(psdr_image* image);
int32_t psdr_read_glow_technique(psdr_image* image);
int32_t psdr_read_gradient_style(psdr_image* image);
void psdr_read_gradient(psdr_gradient* gradient, psdr_image* image);
void psdr_read_pattern_ref(psdr_pattern_ref* reference, psdr_image* image);
void psdr_read_point(int32_t* x, int32_t* y, psdr_image* image);
void psdr_read_contour(uint8_t table[256], psdr_image* image);
void psdr_contour_to_table(const uint8_t* vertical, uint8_t table[256], int count,
                           const uint8_t* horizontal, const uint8_t* corner);
void psdr_transform_points(const double source[4][4], double result[4][4],
                           const double matrix[4][4]);
void psdr_contour_identity(psdr_contour* contour);
void psdr_free_gradient(psdr_gradient* gradient);
void psdr_free_pattern_ref(psdr_pattern_ref* reference);
// Reads a character count and its UTF-16 bytes into a new buffer, replacing the old
// one; the count is bounded by the structure being read.
psdr_status psdr_read_unicode(psdr_image* image, int32_t* length, uint8_t** text);

// Patterns.
psdr_status psdr_read_pattern(psdr_image* image);
void psdr_free_patterns(psdr_image* image);
