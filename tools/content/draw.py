"""Drawing helpers shared by the picture recipes. Pictures are drawn at a
multiple of their size and reduced with Lanczos for clean edges."""
import math

from PIL import Image, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
SPRITE_SS = 4   # sprites and interface pieces
SCREEN_SS = 2   # full-screen pictures
BIG_PICTURE = 120000  # pixels; larger interface pieces are drawn at SCREEN_SS

# The palette of the whole game: bramble wood, moss, parchment, berry.
WOOD_DARK = (62, 38, 24)
WOOD = (120, 76, 42)
WOOD_LIGHT = (168, 118, 70)
PARCHMENT = (236, 218, 178)
PARCHMENT_DARK = (204, 178, 128)
# The field of panels: dark, because the program draws its texts in white.
LEATHER = (66, 46, 34)
LEATHER_LIGHT = (92, 66, 46)
MOSS = (86, 122, 52)
MOSS_DARK = (46, 74, 32)
LEAF = (128, 170, 70)
BERRY = (150, 36, 70)
GOLD = (232, 188, 64)
SKY = (120, 160, 196)
STONE = (128, 124, 116)
INK = (40, 28, 20)
WHITE = (255, 255, 255)


def font(size, bold=False, serif=False):
    name = "DejaVu%s%s.ttf" % ("Serif" if serif else "Sans", "-Bold" if bold else "")
    return ImageFont.truetype(FONT_DIR + name, size)


class Canvas:
    """An RGBA picture drawn at ss times its size."""

    def __init__(self, w, h, ss=SPRITE_SS, fill=(0, 0, 0, 0)):
        self.w, self.h, self.ss = w, h, ss
        self.im = Image.new("RGBA", (w * ss, h * ss), fill)
        self.d = ImageDraw.Draw(self.im)

    def s(self, v):
        return v * self.ss

    def _draw(self, colors):
        """The drawing to use: Pillow replaces pixels with a fill, so a
        translucent colour is drawn on an overlay that is then blended."""
        if all(c is None or len(c) < 4 or c[3] == 255 for c in colors):
            return self.d, None
        overlay = Image.new("RGBA", self.im.size, (0, 0, 0, 0))
        return ImageDraw.Draw(overlay), overlay

    def _done(self, overlay):
        if overlay is not None:
            self.im.alpha_composite(overlay)

    def box(self, x0, y0, x1, y1):
        return [x0 * self.ss, y0 * self.ss, x1 * self.ss - 1, y1 * self.ss - 1]

    def rounded(self, x0, y0, x1, y1, r, fill, outline=None, width=0):
        d, overlay = self._draw((fill, outline))
        d.rounded_rectangle(self.box(x0, y0, x1, y1), radius=r * self.ss, fill=fill,
                            outline=outline, width=int(width * self.ss))
        self._done(overlay)

    def ellipse(self, x0, y0, x1, y1, fill, outline=None, width=0):
        d, overlay = self._draw((fill, outline))
        d.ellipse(self.box(x0, y0, x1, y1), fill=fill, outline=outline, width=int(width * self.ss))
        self._done(overlay)

    def arc(self, x0, y0, x1, y1, start, end, fill, width=1):
        """Part of an ellipse's outline, angles in degrees clockwise from 3 o'clock."""
        d, overlay = self._draw((fill,))
        d.arc(self.box(x0, y0, x1, y1), start, end, fill=fill, width=max(1, int(width * self.ss)))
        self._done(overlay)

    def polygon(self, pts, fill, outline=None):
        d, overlay = self._draw((fill, outline))
        d.polygon([(x * self.ss, y * self.ss) for x, y in pts], fill=fill, outline=outline)
        self._done(overlay)

    def line(self, pts, fill, width=1):
        d, overlay = self._draw((fill,))
        d.line([(x * self.ss, y * self.ss) for x, y in pts], fill=fill, width=max(1, int(width * self.ss)),
               joint="curve")
        self._done(overlay)

    def text(self, x, y, text, size, fill, bold=True, serif=True, anchor="mm"):
        self.d.text((x * self.ss, y * self.ss), text, font=font(int(size * self.ss), bold, serif),
                    fill=fill, anchor=anchor)

    def paste(self, other, x, y):
        """Pastes another Canvas (same ss) with alpha."""
        self.im.alpha_composite(other.im, (int(x * self.ss), int(y * self.ss)))

    def gradient(self, x0, y0, x1, y1, top, bottom, radius=0):
        """A vertical gradient in a (rounded) box."""
        w, h = int((x1 - x0) * self.ss), int((y1 - y0) * self.ss)
        if w <= 0 or h <= 0:
            return
        grad = Image.new("RGBA", (1, h))
        for j in range(h):
            t = j / max(1, h - 1)
            grad.putpixel((0, j), tuple(int(top[k] + (bottom[k] - top[k]) * t) for k in range(3)) + (
                int(top[3] + (bottom[3] - top[3]) * t) if len(top) > 3 else 255,))
        grad = grad.resize((w, h))
        mask = Image.new("L", (w, h), 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=radius * self.ss, fill=255)
        layer = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        layer.paste(grad, (0, 0), mask)
        self.im.alpha_composite(layer, (int(x0 * self.ss), int(y0 * self.ss)))

    def result(self):
        if self.ss == 1:
            return self.im
        return self.im.resize((self.w, self.h), Image.LANCZOS)


def shade(color, f):
    return tuple(max(0, min(255, int(c * f))) for c in color[:3]) + tuple(color[3:])


def alpha(color, a):
    return tuple(color[:3]) + (a,)


def shadowed(im, offset=(3, 4), blur=4, strength=110):
    """The picture over a soft drop shadow, same size (the shadow is clipped)."""
    a = im.getchannel("A").filter(ImageFilter.GaussianBlur(blur))
    a = a.point(lambda v: v * strength // 255)
    shadow = Image.new("RGBA", im.size, (20, 12, 6, 0))
    shadow.putalpha(a)
    out = Image.new("RGBA", im.size, (0, 0, 0, 0))
    out.alpha_composite(shadow, offset)
    out.alpha_composite(im)
    return out


def panel(w, h, ss=None, radius=18, border=10, fill=LEATHER, frame=WOOD):
    """A wooden frame around a dark leather field (texts on it are white)."""
    if ss is None:
        # large panels are smooth enough at the screen scale
        ss = SCREEN_SS if w * h > BIG_PICTURE else SPRITE_SS
    c = Canvas(w, h, ss)
    c.rounded(0, 0, w, h, radius, fill=shade(frame, 0.6) + (255,))
    c.gradient(2, 2, w - 2, h - 2, shade(frame, 1.25) + (255,), shade(frame, 0.85) + (255,), radius - 2)
    inner = max(4, radius - border // 2)
    c.gradient(border, border, w - border, h - border, shade(fill, 1.25) + (255,), shade(fill, 0.85) + (255,), inner)
    c.rounded(border, border, w - border, h - border, inner, fill=None,
              outline=shade(frame, 0.55) + (255,), width=2)
    # corner studs
    for cx, cy in ((border / 2, border / 2), (w - border / 2, border / 2),
                   (border / 2, h - border / 2), (w - border / 2, h - border / 2)):
        r = max(2, border * 0.3)
        c.ellipse(cx - r, cy - r, cx + r, cy + r, fill=GOLD + (255,), outline=shade(GOLD, 0.5) + (255,), width=1)
    return c.result()


def button(w, h, color, ss=SPRITE_SS, pressed=False, lit=False):
    """A rounded, raised button face."""
    c = Canvas(w, h, ss)
    r = min(w, h) / 2.6
    base = shade(color, 1.25 if lit else 1.0)
    c.rounded(0, 0, w, h, r, fill=shade(base, 0.45) + (255,))
    top, bottom = (shade(base, 0.8), shade(base, 1.15)) if pressed else (shade(base, 1.3), shade(base, 0.8))
    c.gradient(2, 2, w - 2, h - 3, top + (255,), bottom + (255,), r - 2)
    c.gradient(5, 4, w - 5, h * 0.45, (255, 255, 255, 90), (255, 255, 255, 0), r - 4)
    if lit:
        c.rounded(1, 1, w - 1, h - 1, r, fill=None, outline=GOLD + (255,), width=2)
    return c.result()


def round_button(d, color, ss=SPRITE_SS, lit=False, pressed=False):
    c = Canvas(d, d, ss)
    base = shade(color, 1.25 if lit else 1.0)
    c.ellipse(0, 0, d, d, fill=shade(base, 0.45) + (255,))
    top, bottom = (shade(base, 0.8), shade(base, 1.15)) if pressed else (shade(base, 1.35), shade(base, 0.8))
    c.gradient(2, 2, d - 2, d - 2, top + (255,), bottom + (255,), d / 2)
    c.gradient(d * 0.2, d * 0.1, d * 0.8, d * 0.45, (255, 255, 255, 100), (255, 255, 255, 0), d / 4)
    if lit:
        c.ellipse(1, 1, d - 1, d - 1, fill=None, outline=GOLD + (255,), width=2)
    return c.result()


def star_points(cx, cy, r_out, r_in, n=5, rot=-90):
    pts = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(rot + i * 180 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def star(d, fill=GOLD, ss=SPRITE_SS, empty=False):
    c = Canvas(d, d, ss)
    pts = star_points(d / 2, d / 2 + d * 0.04, d * 0.48, d * 0.2)
    if empty:
        c.polygon(pts, fill=(70, 56, 44, 200))
    else:
        c.polygon(pts, fill=shade(fill, 0.55) + (255,))
        c.polygon(star_points(d / 2, d / 2, d * 0.4, d * 0.17), fill=fill + (255,))
    return c.result()


def gem(d, color=(70, 200, 230), ss=SPRITE_SS):
    c = Canvas(d, d, ss)
    pts = [(d * 0.5, d * 0.05), (d * 0.92, d * 0.38), (d * 0.5, d * 0.95), (d * 0.08, d * 0.38)]
    c.polygon(pts, fill=shade(color, 0.55) + (255,))
    c.polygon([(d * 0.5, d * 0.12), (d * 0.82, d * 0.38), (d * 0.5, d * 0.84), (d * 0.18, d * 0.38)],
              fill=color + (255,))
    c.polygon([(d * 0.5, d * 0.12), (d * 0.82, d * 0.38), (d * 0.5, d * 0.38)], fill=shade(color, 1.35) + (255,))
    return c.result()


def coin(d, ss=SPRITE_SS):
    c = Canvas(d, d, ss)
    c.ellipse(0, 0, d, d, fill=shade(GOLD, 0.55) + (255,))
    c.ellipse(d * 0.08, d * 0.08, d * 0.92, d * 0.92, fill=GOLD + (255,))
    c.ellipse(d * 0.25, d * 0.25, d * 0.75, d * 0.75, fill=shade(GOLD, 0.8) + (255,))
    return c.result()


def text_picture(text, size, color=PARCHMENT, ss=SPRITE_SS, serif=True, outline=INK, pad=6):
    f = font(size * ss, True, serif)
    l, t, r, b = f.getbbox(text)
    w, h = (r - l) // ss + 2 * pad, (b - t) // ss + 2 * pad
    c = Canvas(w, h, ss)
    c.d.text((w * ss / 2, h * ss / 2), text, font=f, fill=color + (255,), anchor="mm",
             stroke_width=max(1, size * ss // 14), stroke_fill=outline + (255,))
    return c.result()
