// Layer effects of both kinds: the fixed-layout "lrFX" block and the
// descriptor-based "lfx2" block.

#include <cstring>

#include "Psd/PsdInternal.h"

namespace {

// --- defaults -------------------------------------------------------------

void colour_overlay_defaults(psdr_colour_overlay* o) {
    std::memset(o, 0, sizeof *o);
    o->colour = 0xFFFF0000;
    o->native_colour = 0xFFFF0000;
    o->opacity = 255;
}

void gradient_overlay_defaults(psdr_gradient_overlay* o) {
    psdr_free_gradient(&o->gradient);
    std::memset(o, 0, sizeof *o);
    o->opacity = 255;
    o->align = 1;
    o->angle = 90;
    o->scale = 100;
}

void pattern_overlay_defaults(psdr_pattern_overlay* o) {
    psdr_free_pattern_ref(&o->pattern);
    std::memset(o, 0, sizeof *o);
    o->opacity = 255;
    o->scale = 100;
    o->align = 1;
}

void stroke_defaults(psdr_stroke* s) {
    psdr_free_gradient(&s->gradient);
    psdr_free_pattern_ref(&s->pattern);
    std::memset(s, 0, sizeof *s);
    s->size = 3;
    s->opacity = 255;
    s->colour = 0xFFFF0000;
    s->align = 1;
    s->angle = 90;
    s->gradient_scale = 100;
    s->pattern_scale = 100;
    s->linked = 1;
}

void shadow_defaults(psdr_shadow* s) {
    std::memset(s, 0, sizeof *s);
    s->blend_mode = 3;
    s->colour = 0xFF000000;
    s->native_colour = 0xFF000000;
    s->opacity = 191;
    s->angle = 120;
    s->use_global_angle = 1;
    s->distance = 5;
    s->size = 5;
    psdr_contour_identity(&s->contour);
}

void glow_defaults(psdr_glow* g) {
    psdr_free_gradient(&g->gradient);
    std::memset(g, 0, sizeof *g);
    g->blend_mode = 7;
    g->opacity = 191;
    g->colour = 0xFFFFFFBE;
    g->native_colour = 0xFFFFFFBE;
    g->source = 1;
    g->size = 5;
    psdr_contour_identity(&g->contour);
    g->range = 50;
}

// --- "lfx2" value readers -------------------------------------------------

struct Item {
    uint32_t code;  // four-character key, 0 for a string key
    char name[256];
    uint32_t type;
    bool is(const char* text) const {
        return code == 0 ? std::strcmp(name, text) == 0
                         : std::strlen(text) == 4 && code == psdr_fourcc(text);
    }
};

int32_t unit_value(psdr_image* image) {
    psdr_stream_u32(image);
    return psdr_to_int(psdr_stream_f64(image));
}

uint8_t opacity_value(psdr_image* image) {
    psdr_stream_u32(image);
    // Single precision, so that 50% gives 128 as the format's editors do.
    const float percent = float(psdr_stream_f64(image));
    const int32_t v = psdr_to_int(double(percent * 2.55f + 0.5f));
    return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

psdr_blend_mode blend_value(psdr_image* image) {
    psdr_stream_u32(image);
    psdr_stream_u32(image);
    return psdr_read_blend_mode_enum(image);
}

// An enumeration value: a four-character code, or a string (returned in `text`).
uint32_t enum_value(psdr_image* image, char text[256]) {
    psdr_stream_u32(image);
    psdr_stream_u32(image);
    return psdr_read_key(image, text);
}

int32_t technique_value(psdr_image* image) {
    psdr_stream_u32(image);
    psdr_stream_u32(image);
    return psdr_read_glow_technique(image);
}

int32_t style_value(psdr_image* image) {
    psdr_stream_u32(image);
    psdr_stream_u32(image);
    return psdr_read_gradient_style(image);
}

void read_gradient_value(psdr_gradient* gradient, psdr_image* image) {
    psdr_free_gradient(gradient);
    psdr_read_gradient(gradient, image);
}

void read_pattern_value(psdr_pattern_ref* pattern, psdr_image* image) {
    psdr_free_pattern_ref(pattern);
    psdr_read_pattern_ref(pattern, image);
}

// Walks one effect descriptor, handing each item to `read`, which returns
// false for keys it does not know (those are skipped by type).
template <typename Reader>
void walk_descriptor(psdr_image* image, Reader read) {
    psdr_skip_unicode(image);
    char id[256];
    psdr_read_key(image, id);
    const uint32_t count = psdr_stream_u32(image);
    for (uint32_t i = 0; i < count && psdr_bytes_left(image) > 0 && !image->descriptor_corrupt;
         ++i) {
        Item item{};
        item.code = psdr_read_key(image, item.name);
        item.type = psdr_stream_u32(image);
        if (!read(item)) psdr_skip_item(item.type, image);
    }
}

void read_shadow_lfx2(psdr_image* image, psdr_shadow* s, bool drop) {
    walk_descriptor(image, [&](const Item& it) {
        if (it.is("enab")) s->enabled = psdr_stream_bool(image);
        else if (it.is("Md  ")) s->blend_mode = blend_value(image);
        else if (it.is("Clr ")) s->colour = s->native_colour = psdr_read_descriptor_colour(image);
        else if (it.is("Opct")) s->opacity = opacity_value(image);
        else if (it.is("lagl")) s->angle = unit_value(image);
        else if (it.is("uglg")) s->use_global_angle = psdr_stream_bool(image);
        else if (it.is("Dstn")) s->distance = unit_value(image);
        else if (it.is("Ckmt")) s->spread = unit_value(image);
        else if (it.is("blur")) s->size = unit_value(image);
        else if (it.is("TrnS")) psdr_read_contour(s->contour.table, image);
        else if (it.is("AntA")) s->contour.anti_aliased = psdr_stream_bool(image);
        else if (it.is("Nose")) s->noise = unit_value(image);
        else if (drop && it.is("layerConceals")) s->layer_knocks_out = psdr_stream_bool(image);
        else return false;
        return true;
    });
}

void read_glow_lfx2(psdr_image* image, psdr_glow* g, bool inner) {
    walk_descriptor(image, [&](const Item& it) {
        char text[256];
        if (it.is("enab")) g->enabled = psdr_stream_bool(image);
        else if (it.is("Md  ")) g->blend_mode = blend_value(image);
        else if (it.is("Opct")) g->opacity = opacity_value(image);
        else if (it.is("Nose")) g->noise = unit_value(image);
        else if (it.is("Clr ")) {
            g->fill_type = 0;
            g->colour = g->native_colour = psdr_read_descriptor_colour(image);
        } else if (it.is("Grad")) {
            g->fill_type = 1;
            read_gradient_value(&g->gradient, image);
        } else if (it.is("GlwT")) g->technique = technique_value(image);
        else if (inner && it.is("glwS")) {
            const uint32_t code = enum_value(image, text);
            if (code == psdr_fourcc("SrcC")) g->source = 0;
            else if (code == psdr_fourcc("SrcE")) g->source = 1;
        } else if (it.is("Ckmt")) g->spread = unit_value(image);
        else if (it.is("blur")) g->size = unit_value(image);
        else if (it.is("TrnS")) psdr_read_contour(g->contour.table, image);
        else if (it.is("AntA")) g->contour.anti_aliased = psdr_stream_bool(image);
        else if (it.is("Inpr")) g->range = unit_value(image);
        else if (it.is("ShdN")) g->jitter = unit_value(image);
        else return false;
        return true;
    });
}

}  // namespace

void psdr_drop_shadow_defaults(psdr_shadow* shadow) { shadow_defaults(shadow); }
void psdr_inner_shadow_defaults(psdr_shadow* shadow) { shadow_defaults(shadow); }
void psdr_outer_glow_defaults(psdr_glow* glow) { glow_defaults(glow); }
void psdr_inner_glow_defaults(psdr_glow* glow) { glow_defaults(glow); }

void psdr_bevel_defaults(psdr_bevel* b) {
    psdr_free_pattern_ref(&b->texture_pattern);
    std::memset(b, 0, sizeof *b);
    b->style = 1;
    b->technique = 2;
    b->depth = 100;
    b->size = 5;
    b->angle = 120;
    b->use_global_angle = 1;
    b->altitude = 30;
    psdr_contour_identity(&b->gloss_contour);
    b->highlight_blend_mode = 7;
    b->highlight_colour = b->highlight_native_colour = 0xFFFFFFFF;
    b->highlight_opacity = 191;
    b->shadow_blend_mode = 7;
    b->shadow_colour = b->shadow_native_colour = 0xFF000000;
    b->shadow_opacity = 191;
    psdr_contour_identity(&b->contour);
    b->range = 50;
    b->texture_scale = 100;
    b->texture_depth = 100;
    b->align_with_layer = 1;
}

void psdr_satin_defaults(psdr_satin* s) {
    std::memset(s, 0, sizeof *s);
    s->blend_mode = 3;
    s->colour = 0xFF000000;
    s->opacity = 128;
    s->angle = 19;
    s->distance = 11;
    s->size = 14;
    psdr_contour_identity(&s->contour);
    s->invert = 1;
}

// --- "lrFX" ---------------------------------------------------------------

namespace {

bool signature_ok(psdr_image* image) {
    uint8_t s[4] = {};
    psdr_stream_read(image, s, 4);
    return psdr_key_is(s, "8BIM");
}

}  // namespace

psdr_status psdr_read_drop_shadow_lrfx(psdr_image* image, psdr_shadow* s) {
    const uint32_t version = psdr_stream_u32(image);
    if (version != 0 && version != 2) return PSDR_SHADOW_VERSION;
    s->size = int16_t(psdr_stream_u16(image));
    s->spread = int32_t(psdr_stream_u32(image));
    s->angle = int32_t(psdr_stream_u32(image));
    s->distance = int32_t(psdr_stream_u32(image));
    psdr_stream_skip(image, 2);
    s->colour = psdr_stream_colour(image);
    if (!signature_ok(image)) return PSDR_BAD_RECORD_SIGNATURE;
    s->blend_mode = psdr_stream_blend_key(image);
    s->enabled = psdr_stream_bool(image);
    s->use_global_angle = psdr_stream_bool(image);
    s->opacity = psdr_stream_u8(image);
    if (version == 2) s->native_colour = psdr_stream_colour(image);
    return PSDR_OK;
}

psdr_status psdr_read_inner_shadow_lrfx(psdr_image* image, psdr_shadow* s) {
    return psdr_read_drop_shadow_lrfx(image, s);
}

namespace {
psdr_status read_glow_lrfx(psdr_image* image, psdr_glow* g, bool inner) {
    const uint32_t version = psdr_stream_u32(image);
    if (version != 0 && version != 2) return inner ? PSDR_INNER_GLOW_VERSION : PSDR_OUTER_GLOW_VERSION;
    g->size = int32_t(psdr_stream_u32(image));
    g->spread = int32_t(psdr_stream_u32(image));
    g->colour = psdr_stream_colour(image);
    if (!signature_ok(image)) return PSDR_BAD_RECORD_SIGNATURE;
    g->blend_mode = psdr_stream_blend_key(image);
    g->enabled = psdr_stream_bool(image);
    g->opacity = psdr_stream_u8(image);
    if (version == 2) {
        if (inner && psdr_stream_u8(image) == 1) g->source = 0;
        g->native_colour = psdr_stream_colour(image);
    }
    return PSDR_OK;
}
}  // namespace

psdr_status psdr_read_outer_glow_lrfx(psdr_image* image, psdr_glow* g) {
    return read_glow_lrfx(image, g, false);
}

psdr_status psdr_read_inner_glow_lrfx(psdr_image* image, psdr_glow* g) {
    return read_glow_lrfx(image, g, true);
}

psdr_status psdr_read_bevel_lrfx(psdr_image* image, psdr_bevel* b) {
    const uint32_t version = psdr_stream_u32(image);
    if (version != 0 && version != 2) return PSDR_BEVEL_VERSION;
    b->angle = int32_t(psdr_stream_u32(image));
    b->size = int32_t(psdr_stream_u32(image));
    b->soften = int32_t(psdr_stream_u32(image));
    if (!signature_ok(image)) return PSDR_BAD_RECORD_SIGNATURE;
    b->highlight_blend_mode = psdr_stream_blend_key(image);
    if (!signature_ok(image)) return PSDR_BAD_RECORD_SIGNATURE;
    b->shadow_blend_mode = psdr_stream_blend_key(image);
    b->highlight_colour = psdr_stream_colour(image);
    b->shadow_colour = psdr_stream_colour(image);
    b->style = psdr_stream_u8(image);
    b->highlight_opacity = psdr_stream_u8(image);
    b->shadow_opacity = psdr_stream_u8(image);
    b->enabled = psdr_stream_bool(image);
    b->use_global_angle = psdr_stream_bool(image);
    b->direction = psdr_stream_u8(image);
    if (version == 2) {
        b->highlight_native_colour = psdr_stream_colour(image);
        b->shadow_native_colour = psdr_stream_colour(image);
    }
    return PSDR_OK;
}

psdr_status psdr_read_solid_fill_lrfx(psdr_image* image, psdr_colour_overlay* o) {
    if (psdr_stream_u32(image) != 2) return PSDR_SOLID_FILL_EFFECT_VERSION;
    if (!signature_ok(image)) return PSDR_BAD_RECORD_SIGNATURE;
    o->blend_mode = psdr_stream_blend_key(image);
    o->colour = psdr_stream_colour(image);
    o->opacity = psdr_stream_u8(image);
    o->enabled = psdr_stream_bool(image);
    o->native_colour = psdr_stream_colour(image);
    return PSDR_OK;
}

namespace {

psdr_effects* attach_effects(psdr_image* image, psdr_layer* layer, psdr_extra_kind kind) {
    auto* fx = static_cast<psdr_effects*>(psdr_alloc(image, sizeof(psdr_effects)));
    if (fx) psdr_attach_extra(layer, kind, fx);
    return fx;
}

void mark_present(psdr_effects* fx, int which) {
    fx->present[which] = 1;
    fx->present2[which] = 1;
}

psdr_status read_lrfx_effect(psdr_image* image, psdr_effects* fx, uint32_t key) {
    switch (key) {
    case psdr_fourcc("cmnS"):
        if (psdr_stream_u32(image) != 0) return PSDR_COMMON_STATE_VERSION;
        fx->visible = psdr_stream_bool(image);
        psdr_stream_skip(image, 2);
        return PSDR_OK;
    case psdr_fourcc("dsdw"):
        shadow_defaults(&fx->drop_shadow);
        if (psdr_status s = psdr_read_drop_shadow_lrfx(image, &fx->drop_shadow)) return s;
        mark_present(fx, PSDR_FX_DROP_SHADOW);
        return PSDR_OK;
    case psdr_fourcc("isdw"):
        shadow_defaults(&fx->inner_shadow);
        if (psdr_status s = psdr_read_inner_shadow_lrfx(image, &fx->inner_shadow)) return s;
        mark_present(fx, PSDR_FX_INNER_SHADOW);
        return PSDR_OK;
    case psdr_fourcc("oglw"):
        glow_defaults(&fx->outer_glow);
        if (psdr_status s = psdr_read_outer_glow_lrfx(image, &fx->outer_glow)) return s;
        mark_present(fx, PSDR_FX_OUTER_GLOW);
        return PSDR_OK;
    case psdr_fourcc("iglw"):
        glow_defaults(&fx->inner_glow);
        if (psdr_status s = psdr_read_inner_glow_lrfx(image, &fx->inner_glow)) return s;
        mark_present(fx, PSDR_FX_INNER_GLOW);
        return PSDR_OK;
    case psdr_fourcc("bevl"):
        psdr_bevel_defaults(&fx->bevel);
        if (psdr_status s = psdr_read_bevel_lrfx(image, &fx->bevel)) return s;
        mark_present(fx, PSDR_FX_BEVEL);
        return PSDR_OK;
    case psdr_fourcc("sofi"):
        colour_overlay_defaults(&fx->colour_overlay);
        if (psdr_status s = psdr_read_solid_fill_lrfx(image, &fx->colour_overlay)) return s;
        mark_present(fx, PSDR_FX_COLOUR_OVERLAY);
        return PSDR_OK;
    default: return PSDR_EFFECT_KEY;
    }
}

}  // namespace

psdr_status psdr_read_effects_lrfx(psdr_image* image, psdr_layer* layer) {
    psdr_effects* fx = attach_effects(image, layer, PSDR_EXTRA_EFFECTS_LRFX);
    if (!fx) return PSDR_NO_MEMORY;
    if (psdr_stream_u16(image) != 0) return PSDR_EFFECTS_VERSION;
    fx->count = int16_t(psdr_stream_u16(image));
    for (int i = 0; i < fx->count; ++i) {
        if (!signature_ok(image)) return PSDR_EFFECT_SIGNATURE;
        const uint32_t key = psdr_stream_u32(image);
        // Each effect ends where its size says, however much of it we know.
        const int64_t size = psdr_stream_u32(image);
        if (psdr_status s = psdr_limit_push(image, size)) return s;
        const psdr_status status = read_lrfx_effect(image, fx, key);
        psdr_limit_pop(image);
        if (status != PSDR_OK) return status;
    }
    return PSDR_OK;
}

// --- "lfx2" effect readers ------------------------------------------------

psdr_status psdr_read_drop_shadow_lfx2(psdr_image* image, psdr_shadow* s) {
    shadow_defaults(s);
    read_shadow_lfx2(image, s, true);
    return PSDR_OK;
}

psdr_status psdr_read_inner_shadow_lfx2(psdr_image* image, psdr_shadow* s) {
    shadow_defaults(s);
    read_shadow_lfx2(image, s, false);
    return PSDR_OK;
}

psdr_status psdr_read_outer_glow_lfx2(psdr_image* image, psdr_glow* g) {
    glow_defaults(g);
    read_glow_lfx2(image, g, false);
    return PSDR_OK;
}

psdr_status psdr_read_inner_glow_lfx2(psdr_image* image, psdr_glow* g) {
    glow_defaults(g);
    read_glow_lfx2(image, g, true);
    return PSDR_OK;
}

psdr_status psdr_read_bevel_lfx2(psdr_image* image, psdr_bevel* b) {
    psdr_bevel_defaults(b);
    walk_descriptor(image, [&](const Item& it) {
        char text[256];
        if (it.is("enab")) b->enabled = psdr_stream_bool(image);
        else if (it.is("bvlS")) {
            const uint32_t code = enum_value(image, text);
            if (code == psdr_fourcc("OtrB")) b->style = 0;
            else if (code == psdr_fourcc("InrB")) b->style = 1;
            else if (code == psdr_fourcc("Embs")) b->style = 2;
            else if (code == psdr_fourcc("PlEb")) b->style = 3;
            else if (code == 0 && std::strcmp(text, "strokeEmboss") == 0) b->style = 4;
        } else if (it.is("bvlT")) b->technique = technique_value(image);
        else if (it.is("srgR")) b->depth = unit_value(image);
        else if (it.is("bvlD")) {
            const uint32_t code = enum_value(image, text);
            if (code == psdr_fourcc("In  ")) b->direction = 0;
            else if (code == psdr_fourcc("Out ")) b->direction = 1;
        } else if (it.is("blur")) b->size = unit_value(image);
        else if (it.is("Sftn")) b->soften = unit_value(image);
        else if (it.is("lagl")) b->angle = unit_value(image);
        else if (it.is("uglg")) b->use_global_angle = psdr_stream_bool(image);
        else if (it.is("Lald")) b->altitude = unit_value(image);
        else if (it.is("TrnS")) psdr_read_contour(b->gloss_contour.table, image);
        else if (it.is("antialiasGloss")) b->gloss_contour.anti_aliased = psdr_stream_bool(image);
        else if (it.is("hglM")) b->highlight_blend_mode = blend_value(image);
        else if (it.is("hglC"))
            b->highlight_colour = b->highlight_native_colour = psdr_read_descriptor_colour(image);
        else if (it.is("hglO")) b->highlight_opacity = opacity_value(image);
        else if (it.is("sdwM")) b->shadow_blend_mode = blend_value(image);
        else if (it.is("sdwC"))
            b->shadow_colour = b->shadow_native_colour = psdr_read_descriptor_colour(image);
        else if (it.is("sdwO")) b->shadow_opacity = opacity_value(image);
        else if (it.is("useShape")) b->use_shape = psdr_stream_bool(image);
        else if (it.is("MpgS")) psdr_read_contour(b->contour.table, image);
        else if (it.is("AntA")) b->contour.anti_aliased = psdr_stream_bool(image);
        else if (it.is("Inpr")) b->range = unit_value(image);
        else if (it.is("useTexture")) b->use_texture = psdr_stream_bool(image);
        else if (it.is("Ptrn")) read_pattern_value(&b->texture_pattern, image);
        else if (it.is("Scl ")) b->texture_scale = unit_value(image);
        else if (it.is("textureDepth")) b->texture_depth = unit_value(image);
        else if (it.is("InvT")) b->invert_texture = psdr_stream_bool(image);
        else if (it.is("Algn")) b->align_with_layer = psdr_stream_bool(image);
        else if (it.is("phase")) psdr_read_point(&b->texture_phase_x, &b->texture_phase_y, image);
        else return false;
        return true;
    });
    return PSDR_OK;
}

psdr_status psdr_read_satin(psdr_image* image, psdr_satin* s) {
    psdr_satin_defaults(s);
    walk_descriptor(image, [&](const Item& it) {
        if (it.is("enab")) s->enabled = psdr_stream_bool(image);
        else if (it.is("Md  ")) s->blend_mode = blend_value(image);
        else if (it.is("Clr ")) s->colour = psdr_read_descriptor_colour(image);
        else if (it.is("Opct")) s->opacity = opacity_value(image);
        else if (it.is("lagl")) s->angle = unit_value(image);
        else if (it.is("Dstn")) s->distance = unit_value(image);
        else if (it.is("blur")) s->size = unit_value(image);
        else if (it.is("MpgS")) psdr_read_contour(s->contour.table, image);
        else if (it.is("AntA")) s->contour.anti_aliased = psdr_stream_bool(image);
        else if (it.is("Invr")) s->invert = psdr_stream_bool(image);
        else return false;
        return true;
    });
    return PSDR_OK;
}

psdr_status psdr_read_colour_overlay_lfx2(psdr_image* image, psdr_colour_overlay* o) {
    colour_overlay_defaults(o);
    walk_descriptor(image, [&](const Item& it) {
        if (it.is("enab")) o->enabled = psdr_stream_bool(image);
        else if (it.is("Md  ")) o->blend_mode = blend_value(image);
        else if (it.is("Clr ")) o->colour = o->native_colour = psdr_read_descriptor_colour(image);
        else if (it.is("Opct")) o->opacity = opacity_value(image);
        else return false;
        return true;
    });
    return PSDR_OK;
}

psdr_status psdr_read_gradient_overlay(psdr_image* image, psdr_gradient_overlay* o) {
    gradient_overlay_defaults(o);
    walk_descriptor(image, [&](const Item& it) {
        if (it.is("enab")) o->enabled = psdr_stream_bool(image);
        else if (it.is("Md  ")) o->blend_mode = blend_value(image);
        else if (it.is("Opct")) o->opacity = opacity_value(image);
        else if (it.is("Grad")) read_gradient_value(&o->gradient, image);
        else if (it.is("Rvrs")) o->reverse = psdr_stream_bool(image);
        else if (it.is("Type")) o->style = style_value(image);
        else if (it.is("Algn")) o->align = psdr_stream_bool(image);
        else if (it.is("Angl")) o->angle = unit_value(image);
        else if (it.is("Scl ")) o->scale = unit_value(image);
        else if (it.is("Ofst")) psdr_read_point(&o->offset_x, &o->offset_y, image);
        else return false;
        return true;
    });
    return PSDR_OK;
}

psdr_status psdr_read_pattern_overlay(psdr_image* image, psdr_pattern_overlay* o) {
    pattern_overlay_defaults(o);
    walk_descriptor(image, [&](const Item& it) {
        if (it.is("enab")) o->enabled = psdr_stream_bool(image);
        else if (it.is("Md  ")) o->blend_mode = blend_value(image);
        else if (it.is("Opct")) o->opacity = opacity_value(image);
        else if (it.is("Scl ")) o->scale = unit_value(image);
        else if (it.is("Algn")) o->align = psdr_stream_bool(image);
        else if (it.is("Ptrn")) read_pattern_value(&o->pattern, image);
        else if (it.is("phase")) psdr_read_point(&o->phase_x, &o->phase_y, image);
        else return false;
        return true;
    });
    return PSDR_OK;
}

psdr_status psdr_read_stroke(psdr_image* image, psdr_stroke* s) {
    stroke_defaults(s);
    walk_descriptor(image, [&](const Item& it) {
        char text[256];
        if (it.is("enab")) s->enabled = psdr_stream_bool(image);
        else if (it.is("Sz  ")) s->size = unit_value(image);
        else if (it.is("Styl")) {
            const uint32_t code = enum_value(image, text);
            if (code == psdr_fourcc("OutF")) s->position = 0;
            else if (code == psdr_fourcc("InsF")) s->position = 1;
            else if (code == psdr_fourcc("CtrF")) s->position = 2;
        } else if (it.is("Md  ")) s->blend_mode = blend_value(image);
        else if (it.is("Opct")) s->opacity = opacity_value(image);
        else if (it.is("PntT")) {
            const uint32_t code = enum_value(image, text);
            if (code == psdr_fourcc("SClr")) s->fill_type = 0;
            else if (code == psdr_fourcc("GrFl")) s->fill_type = 1;
            else if (code == psdr_fourcc("Ptrn")) s->fill_type = 2;
        } else if (it.is("Clr ")) s->colour = psdr_read_descriptor_colour(image);
        else if (it.is("Grad")) read_gradient_value(&s->gradient, image);
        else if (it.is("Rvrs")) s->reverse = psdr_stream_bool(image);
        else if (it.is("Type")) s->gradient_style = style_value(image);
        else if (it.is("Algn")) s->align = psdr_stream_bool(image);
        else if (it.is("Angl")) s->angle = unit_value(image);
        else if (it.is("Scl ")) {
            const int32_t v = unit_value(image);
            if (s->fill_type == 1) s->gradient_scale = v;
            else if (s->fill_type == 2) s->pattern_scale = v;
        } else if (it.is("Ofst")) psdr_read_point(&s->offset_x, &s->offset_y, image);
        else if (it.is("Ptrn")) read_pattern_value(&s->pattern, image);
        else if (it.is("Lnkd")) s->linked = psdr_stream_bool(image);
        else if (it.is("phase")) psdr_read_point(&s->phase_x, &s->phase_y, image);
        else return false;
        return true;
    });
    return PSDR_OK;
}

psdr_status psdr_read_effects_lfx2(psdr_image* image, psdr_layer* layer) {
    psdr_effects* fx = attach_effects(image, layer, PSDR_EXTRA_EFFECTS_LFX2);
    if (!fx) return PSDR_NO_MEMORY;
    const uint32_t object_version = psdr_stream_u32(image);
    const uint32_t descriptor_version = psdr_stream_u32(image);
    if (object_version != 0 || descriptor_version != 16) return PSDR_EFFECTS_VERSION;
    psdr_skip_unicode(image);
    char id[256];
    psdr_read_key(image, id);
    const uint32_t count = psdr_stream_u32(image);
    for (uint32_t i = 0; i < count && psdr_bytes_left(image) > 0 && !image->descriptor_corrupt;
         ++i) {
        Item it{};
        it.code = psdr_read_key(image, it.name);
        it.type = psdr_stream_u32(image);
        int which = -1;
        if (it.is("DrSh")) psdr_read_drop_shadow_lfx2(image, &fx->drop_shadow), which = PSDR_FX_DROP_SHADOW;
        else if (it.is("IrSh")) psdr_read_inner_shadow_lfx2(image, &fx->inner_shadow), which = PSDR_FX_INNER_SHADOW;
        else if (it.is("OrGl")) psdr_read_outer_glow_lfx2(image, &fx->outer_glow), which = PSDR_FX_OUTER_GLOW;
        else if (it.is("IrGl")) psdr_read_inner_glow_lfx2(image, &fx->inner_glow), which = PSDR_FX_INNER_GLOW;
        else if (it.is("ebbl")) psdr_read_bevel_lfx2(image, &fx->bevel), which = PSDR_FX_BEVEL;
        else if (it.is("ChFX")) psdr_read_satin(image, &fx->satin), which = PSDR_FX_SATIN;
        else if (it.is("SoFi")) psdr_read_colour_overlay_lfx2(image, &fx->colour_overlay), which = PSDR_FX_COLOUR_OVERLAY;
        else if (it.is("GrFl")) psdr_read_gradient_overlay(image, &fx->gradient_overlay), which = PSDR_FX_GRADIENT_OVERLAY;
        else if (it.is("FrFX")) psdr_read_stroke(image, &fx->stroke), which = PSDR_FX_STROKE;
        else if (it.is("patternFill")) psdr_read_pattern_overlay(image, &fx->pattern_overlay), which = PSDR_FX_PATTERN_OVERLAY;
        else if (it.is("Scl ")) {
            psdr_stream_u32(image);
            psdr_stream_f64(image);
            // The next item is the master switch.
            Item master{};
            master.code = psdr_read_key(image, master.name);
            master.type = psdr_stream_u32(image);
            fx->visible = psdr_stream_bool(image);
            ++i;
        } else {
            psdr_skip_item(it.type, image);
        }
        if (which >= 0) {
            mark_present(fx, which);
            ++fx->count;
        }
    }
    return PSDR_OK;
}

void psdr_free_effects(psdr_effects* fx) {
    if (!fx) return;
    psdr_free_gradient(&fx->outer_glow.gradient);
    psdr_free_gradient(&fx->inner_glow.gradient);
    psdr_free_gradient(&fx->gradient_overlay.gradient);
    psdr_free_gradient(&fx->stroke.gradient);
    psdr_free_pattern_ref(&fx->bevel.texture_pattern);
    psdr_free_pattern_ref(&fx->pattern_overlay.pattern);
    psdr_free_pattern_ref(&fx->stroke.pattern);
    psdr_mem_free(fx);
}
