"""The particle library and its atlases.

fx2.ptc is hand-written (content/src/fx/); this module copies it into the
data root and draws the atlases it names, cell by cell, from the recipes
below. Each cell is white (or grey, for shading) with its shape in alpha:
the particle types give the colour."""

import io
import math
import random
import re
import subprocess
import tomllib
import zlib
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter

FX_FOLDER = "nq/fx"
LIBRARY_NAME = "fx2.ptc"
# Cells are drawn this many times larger, then reduced with Lanczos.
OVERSAMPLE = 4


def _rng(name):
    # crc32, not hash(): Python salts str hashes per process.
    return random.Random(zlib.crc32(name.encode("utf-8")))


def _radial(size, inner, outer, power=1.0):
    """An "L" disc: 255 inside radius `inner`, fading to 0 at `outer` (both
    fractions of half the size)."""
    grad = Image.radial_gradient("L").resize((size, size), Image.BILINEAR)
    # radial_gradient's value is the distance from the centre of its 256 x 256
    # square: 128 at the middle of an edge.
    def ramp(v):
        r = v / 128.0
        if r <= inner:
            return 255
        if r >= outer:
            return 0
        t = (outer - r) / (outer - inner)
        return int(round(255 * t ** power))
    return grad.point(ramp)


def _blank(size):
    return Image.new("L", (size, size), 0)


def _shaded(lum, alpha):
    """A grey picture (its shading) with the shape in alpha."""
    rgba = Image.merge("RGB", [lum] * 3).convert("RGBA")
    rgba.putalpha(alpha)
    return rgba


def glow(size, rng):
    return _radial(size, 0.0, 0.95, power=1.7)


def star(size, rng):
    mask = _blank(size)
    d = ImageDraw.Draw(mask)
    c = size / 2
    for w, length, value in ((size * 0.035, size * 0.47, 255), (size * 0.02, size * 0.3, 255)):
        d.polygon([(c - length, c), (c, c - w), (c + length, c), (c, c + w)], fill=value)
        d.polygon([(c, c - length), (c + w, c), (c, c + length), (c - w, c)], fill=value)
    # Shorter diagonal rays.
    diag = Image.new("L", (size, size), 0)
    dd = ImageDraw.Draw(diag)
    w, length = size * 0.018, size * 0.22
    dd.polygon([(c - length, c), (c, c - w), (c + length, c), (c, c + w)], fill=200)
    dd.polygon([(c, c - length), (c + w, c), (c, c + length), (c - w, c)], fill=200)
    mask = ImageChops.lighter(mask, diag.rotate(45, resample=Image.BICUBIC))
    mask = mask.filter(ImageFilter.GaussianBlur(size * 0.006))
    return ImageChops.lighter(mask, _radial(size, 0.0, 0.35, power=2.0))


def _puffs(size, rng, count, spread, radius, blur):
    mask = _blank(size)
    d = ImageDraw.Draw(mask)
    c = size / 2
    for _ in range(count):
        a = rng.uniform(0, 2 * math.pi)
        r = rng.uniform(0, spread) * size
        x, y = c + r * math.cos(a), c + r * math.sin(a)
        rad = rng.uniform(radius[0], radius[1]) * size
        d.ellipse((x - rad, y - rad, x + rad, y + rad), fill=rng.randint(150, 230))
    mask = mask.filter(ImageFilter.GaussianBlur(size * blur))
    # Keep the edges of the cell clear so neighbours never bleed in.
    return ImageChops.multiply(mask, _radial(size, 0.55, 0.98, power=1.0))


def smoke(size, rng):
    return _puffs(size, rng, 14, 0.16, (0.1, 0.2), 0.05)


def fog(size, rng):
    return _puffs(size, rng, 22, 0.22, (0.1, 0.22), 0.08)


def streak(size, rng):
    mask = _blank(size)
    d = ImageDraw.Draw(mask)
    c = size / 2
    d.ellipse((size * 0.04, c - size * 0.07, size * 0.96, c + size * 0.07), fill=140)
    d.ellipse((size * 0.2, c - size * 0.03, size * 0.9, c + size * 0.03), fill=255)
    return mask.filter(ImageFilter.GaussianBlur(size * 0.02))


def ring(size, rng):
    outer = _radial(size, 0.72, 0.92, power=1.5)
    inner = _radial(size, 0.52, 0.72, power=1.5)
    return ImageChops.subtract(outer, inner)


def _teardrop(size, half_width, half_height, sharpness):
    """Points of a drop pointed at the top and round at the bottom."""
    c = size / 2
    points = []
    for i in range(96):
        t = i / 96 * 2 * math.pi
        x = c + size * half_width * math.sin(t) * math.sin(t / 2) ** sharpness
        y = c - size * half_height * math.cos(t)
        points.append((x, y))
    return points


def flame(size, rng):
    mask = _blank(size)
    ImageDraw.Draw(mask).polygon(_teardrop(size, 0.34, 0.4, 2.5), fill=255)
    core = _blank(size)
    ImageDraw.Draw(core).polygon(_teardrop(size, 0.16, 0.22, 2.5), fill=255)
    mask = ImageChops.lighter(mask.point(lambda v: v * 170 // 255), core.transform(
        (size, size), Image.AFFINE, (1, 0, 0, 0, 1, -size * 0.12)))
    return mask.filter(ImageFilter.GaussianBlur(size * 0.03))


def bubble(size, rng):
    rgba = Image.new("RGBA", (size, size), (255, 255, 255, 0))
    shell = ImageChops.subtract(_radial(size, 0.7, 0.8, power=1.2), _radial(size, 0.55, 0.7, power=1.2))
    body = _radial(size, 0.0, 0.75, power=0.6).point(lambda v: v * 60 // 255)
    alpha = ImageChops.lighter(shell, body)
    spot = _blank(size)
    ImageDraw.Draw(spot).ellipse((size * 0.3, size * 0.26, size * 0.42, size * 0.38), fill=255)
    alpha = ImageChops.lighter(alpha, spot.filter(ImageFilter.GaussianBlur(size * 0.02)))
    rgba.putalpha(alpha)
    return rgba


def leaf(size, rng):
    mask = _blank(size)
    d = ImageDraw.Draw(mask)
    d.ellipse((size * 0.18, size * 0.36, size * 0.82, size * 0.64), fill=255)
    d.polygon([(size * 0.12, size * 0.5), (size * 0.22, size * 0.46), (size * 0.22, size * 0.54)], fill=255)
    mask = mask.rotate(-30, resample=Image.BICUBIC)
    shade = Image.new("L", (size, size), 255)
    ImageDraw.Draw(shade).line((size * 0.2, size * 0.5, size * 0.8, size * 0.5), fill=170, width=max(2, size // 90))
    return _shaded(shade.rotate(-30, resample=Image.BICUBIC, fillcolor=255),
                   mask.filter(ImageFilter.GaussianBlur(size * 0.004)))


def bird(size, rng):
    mask = _blank(size)
    d = ImageDraw.Draw(mask)
    c = size / 2
    w = max(3, int(size * 0.045))
    # Two wing arcs meeting at the body.
    d.arc((c - size * 0.36, c - size * 0.12, c, c + size * 0.2), 200, 340, fill=255, width=w)
    d.arc((c, c - size * 0.12, c + size * 0.36, c + size * 0.2), 200, 340, fill=255, width=w)
    d.ellipse((c - size * 0.03, c - size * 0.06, c + size * 0.03, c + size * 0.02), fill=255)
    return mask.filter(ImageFilter.GaussianBlur(size * 0.005))


def crystal(size, rng):
    mask = _blank(size)
    d = ImageDraw.Draw(mask)
    c = size / 2
    w = max(2, int(size * 0.03))
    for k in range(6):
        a = k * math.pi / 3
        ex, ey = c + size * 0.42 * math.cos(a), c + size * 0.42 * math.sin(a)
        d.line((c, c, ex, ey), fill=255, width=w)
        for f in (0.45, 0.7):
            bx, by = c + size * 0.42 * f * math.cos(a), c + size * 0.42 * f * math.sin(a)
            for side in (-1, 1):
                b = a + side * math.pi / 4
                d.line((bx, by, bx + size * 0.1 * math.cos(b), by + size * 0.1 * math.sin(b)), fill=230, width=w)
    mask = mask.filter(ImageFilter.GaussianBlur(size * 0.006))
    return ImageChops.lighter(mask, _radial(size, 0.0, 0.25, power=2))


def drop(size, rng):
    mask = _blank(size)
    d = ImageDraw.Draw(mask)
    c = size / 2
    d.polygon(_teardrop(size, 0.3, 0.38, 1.6), fill=255)
    alpha = mask.filter(ImageFilter.GaussianBlur(size * 0.01))
    shade = _blank(size)
    ImageDraw.Draw(shade).ellipse((c - size * 0.16, c + size * 0.0, c - size * 0.04, c + size * 0.14), fill=255)
    lum = ImageChops.lighter(Image.new("L", (size, size), 190), shade.filter(ImageFilter.GaussianBlur(size * 0.02)))
    return _shaded(lum, alpha)


def shard(size, rng):
    mask = _blank(size)
    c = size / 2
    corners = []
    n = 7
    for k in range(n):
        a = k * 2 * math.pi / n + rng.uniform(-0.25, 0.25)
        r = size * rng.uniform(0.24, 0.4)
        corners.append((c + r * math.cos(a), c + r * math.sin(a)))
    ImageDraw.Draw(mask).polygon(corners, fill=255)
    lum = Image.new("L", (size, size), 150)
    ImageDraw.Draw(lum).polygon(corners[:4] + [(c, c)], fill=235)
    return _shaded(lum, mask.filter(ImageFilter.GaussianBlur(size * 0.004)))


def rune(size, rng):
    mask = _blank(size)
    d = ImageDraw.Draw(mask)
    c = size / 2
    w = max(2, int(size * 0.022))
    for r in (0.44, 0.36):
        d.ellipse((c - size * r, c - size * r, c + size * r, c + size * r), outline=255, width=w)
    for start in (0, 1):
        pts = [(c + size * 0.36 * math.cos(a), c + size * 0.36 * math.sin(a))
               for a in (start * math.pi / 3 + k * 2 * math.pi / 3 - math.pi / 2 for k in range(3))]
        d.polygon(pts, outline=230, width=w)
    for k in range(12):
        a = k * math.pi / 6
        x, y = c + size * 0.4 * math.cos(a), c + size * 0.4 * math.sin(a)
        d.ellipse((x - w, y - w, x + w, y + w), fill=255)
    return mask.filter(ImageFilter.GaussianBlur(size * 0.004))


def hammer(size, rng):
    lum = Image.new("L", (size, size), 255)
    mask = _blank(size)
    d, dl = ImageDraw.Draw(mask), ImageDraw.Draw(lum)
    c = size / 2
    handle = (c - size * 0.04, c - size * 0.12, c + size * 0.04, c + size * 0.4)
    head = (c - size * 0.3, c - size * 0.34, c + size * 0.3, c - size * 0.1)
    d.rounded_rectangle(handle, radius=size * 0.03, fill=255)
    d.rounded_rectangle(head, radius=size * 0.04, fill=255)
    dl.rounded_rectangle(handle, radius=size * 0.03, fill=170)
    dl.rectangle((head[0], head[3] - size * 0.06, head[2], head[3]), fill=200)
    return _shaded(lum, mask.filter(ImageFilter.GaussianBlur(size * 0.004)))


def dart(size, rng):
    mask = _blank(size)
    d = ImageDraw.Draw(mask)
    c = size / 2
    d.rectangle((size * 0.15, c - size * 0.015, size * 0.75, c + size * 0.015), fill=255)
    d.polygon([(size * 0.88, c), (size * 0.72, c - size * 0.06), (size * 0.72, c + size * 0.06)], fill=255)
    for side in (-1, 1):
        d.polygon([(size * 0.12, c + side * size * 0.07), (size * 0.26, c), (size * 0.18, c)], fill=220)
    return mask.filter(ImageFilter.GaussianBlur(size * 0.003))


RECIPES = {f.__name__: f for f in (glow, star, smoke, streak, ring, flame, bubble, leaf, bird, crystal,
                                   drop, shard, rune, hammer, dart, fog)}


def draw_cell(recipe, size):
    """One cell at its final size: drawn OVERSAMPLE times larger and reduced."""
    big = size * OVERSAMPLE
    shape = RECIPES[recipe](big, _rng(recipe))
    if shape.mode == "L":
        rgba = Image.new("RGBA", (big, big), (255, 255, 255, 0))
        rgba.putalpha(shape)
        shape = rgba
    # Reduce with premultiplied colour, so transparent white does not halo.
    return shape.resize((size, size), Image.LANCZOS)


def draw_atlas(spec):
    size, grid = spec["size"], spec["grid"]
    cell = size // grid
    atlas = Image.new("RGBA", (size, size), (255, 255, 255, 0))
    for i, recipe in enumerate(spec["cells"]):
        atlas.paste(draw_cell(recipe, cell), ((i % grid) * cell, (i // grid) * cell))
    return atlas


def _png(image):
    out = io.BytesIO()
    image.save(out, format="PNG", compress_level=9)
    return out.getvalue()


def atlas_names(ptc_text):
    return re.findall(r'<atlas\s+file="([^"]+)"', ptc_text)


def build_fx(src_root):
    """{path from the data root: bytes}: the library and every atlas it names."""
    src = Path(src_root) / "fx"
    ptc = (src / LIBRARY_NAME).read_bytes()
    with open(src / "atlases.toml", "rb") as f:
        table = tomllib.load(f)["atlas"]
    files = {f"{FX_FOLDER}/{LIBRARY_NAME}": ptc}
    for name in atlas_names(ptc.decode("utf-8")):
        if name not in table:
            raise ValueError(f"{LIBRARY_NAME} names the atlas {name}, which atlases.toml does not draw")
        files[f"{FX_FOLDER}/{name}"] = _png(draw_atlas(table[name]))
    return files


def check_library(ptc_check, path):
    """Runs tools/ptc_check; returns (ok, its output)."""
    result = subprocess.run([str(ptc_check), str(path)], capture_output=True, text=True)
    return result.returncode == 0, result.stdout + result.stderr


def effect_names(ptc_text):
    return re.findall(r'<emitter\s+name="([^"]+)"', ptc_text)


def on_dark(image):
    """The atlas over a dark blue, to look at."""
    bg = Image.new("RGBA", image.size, (30, 40, 60, 255))
    bg.alpha_composite(image)
    return bg.convert("RGB")
