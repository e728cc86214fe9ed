// Colour conversions of the document's colour modes and colour records to ARGB.

#include <cmath>

#include "Psd/PsdInternal.h"

namespace {
// Out-of-range inputs must not spill into the neighbouring channels.
int clamp_channel(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return int(v);
}
}  // namespace

uint32_t psdr_pack_argb(int a, int r, int g, int b) {
    return uint32_t(a & 0xFF) << 24 | uint32_t(r & 0xFF) << 16 | uint32_t(g & 0xFF) << 8 |
           uint32_t(b & 0xFF);
}

uint32_t psdr_pack_rgb(int r, int g, int b) { return psdr_pack_argb(0xFF, r, g, b); }

uint32_t psdr_cmyk_alpha_to_argb(int alpha, int c, int m, int y, int k) {
    auto channel = [k](int ink) { return (65535 - ((255 - k) * ink + 256 * k)) >> 8; };
    return psdr_pack_argb(alpha, channel(c), channel(m), channel(y));
}

uint32_t psdr_cmyk_to_argb(int c, int m, int y, int k) {
    return psdr_cmyk_alpha_to_argb(255, c, m, y, k);
}

uint32_t psdr_cmyk_fraction_to_argb(double c, double m, double y, double k) {
    auto channel = [k](double ink) { return clamp_channel((1.0 - (k + (1.0 - k) * ink)) * 255.0); };
    return psdr_pack_rgb(channel(c), channel(m), channel(y));
}

uint32_t psdr_xyz_to_argb(int alpha, double x, double y, double z) {
    x /= 100.0;
    y /= 100.0;
    z /= 100.0;
    double rgb[3] = {3.2406 * x - 1.5372 * y - 0.4986 * z, -0.9689 * x + 1.8758 * y + 0.0415 * z,
                     0.0557 * x - 0.2040 * y + 1.0570 * z};
    int out[3];
    for (int i = 0; i < 3; ++i) {
        double v = rgb[i];
        if (v > 0.0031308)
            v = 1.055 * std::pow(v, 0.4166666666666667) - 0.055;
        else
            v = 12.92 * v;
        out[i] = clamp_channel(v * 256.0);
    }
    return psdr_pack_argb(alpha, out[0], out[1], out[2]);
}

uint32_t psdr_lab_to_argb(int alpha, int l, int a, int b) {
    double fy = (l + 16) / 116.0;
    double fx = fy + a / 500.0;
    double fz = fy - b / 200.0;
    auto t = [](double f) {
        double cube = f * f * f;
        return cube > 0.008856 ? cube : (f - 16.0 / 116.0) / 7.787;
    };
    return psdr_xyz_to_argb(alpha, t(fx) * 95.047, t(fy) * 100.0, t(fz) * 108.883);
}

uint32_t psdr_lab_to_argb_opaque(int l, int a, int b) { return psdr_lab_to_argb(255, l, a, b); }

int psdr_hue_to_channel(int hue, double m1, double m2) {
    int h = hue % 360;
    if (h < 0) h += 360;
    double v;
    if (h < 60)
        v = m1 + (m2 - m1) * h / 60.0;
    else if (h < 180)
        v = m2;
    else if (h < 240)
        v = m1 + (m2 - m1) * (240 - h) / 60.0;
    else
        v = m1;
    return clamp_channel(v * 255.0);
}

uint32_t psdr_hls_to_argb(int alpha, int hue, double saturation, double lightness) {
    if (saturation == 0.0) {
        int v = clamp_channel(lightness * 255.0);
        return psdr_pack_argb(alpha, v, v, v);
    }
    double m2 = lightness <= 0.5 ? lightness * (1.0 + saturation)
                                 : lightness + saturation - lightness * saturation;
    double m1 = 2.0 * lightness - m2;
    return psdr_pack_argb(alpha, psdr_hue_to_channel(hue + 120, m1, m2),
                          psdr_hue_to_channel(hue, m1, m2), psdr_hue_to_channel(hue - 120, m1, m2));
}

psdr_status psdr_colour_to_argb(uint32_t* out, int space, uint16_t w1, uint16_t w2, uint16_t w3,
                                uint16_t w4) {
    switch (space) {
    case 0:
        *out = psdr_pack_rgb(w1 & 0xFF, w2 & 0xFF, w3 & 0xFF);
        return PSDR_OK;
    case 1:
        *out = psdr_hls_to_argb(255, w1, w2 / 100.0, w3 / 100.0);
        return PSDR_OK;
    case 2:
        *out = psdr_cmyk_fraction_to_argb(w1 / 100.0, w2 / 100.0, w3 / 100.0, w4 / 100.0);
        return PSDR_OK;
    case 7:
        *out = psdr_lab_to_argb(255, w1, w2, w3);
        return PSDR_OK;
    default:
        *out = 0x00FFFFFF;
        return PSDR_BAD_COLOUR_SPACE;
    }
}
