"""The intro video: frames drawn with Pillow, in parallel, then encoded by
tools/make_video. A title card, a slow flight over a map where towers rise
along the road, and the game's name."""

import math
import multiprocessing
import os
import random
import tomllib
import zlib
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

VIDEO_PATH = "nq/video/intro.ogv"
SERIF_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
# The map is drawn at this multiple of its size and reduced, for clean edges.
MAP_OVERSAMPLE = 2
TOWER_OVERSAMPLE = 4

INK = (248, 226, 170)
CARD = (28, 22, 18)


SOURCE = "src/video/intro.toml"
# Frames kept in the preview.
PREVIEW_FRAMES = (20, 70, 120, 185)


def load_sources(content_dir):
    with open(Path(content_dir) / SOURCE, "rb") as f:
        return tomllib.load(f)


def _rng(name):
    return random.Random(zlib.crc32(name.encode("utf-8")))


def _smooth(t):
    t = min(max(t, 0.0), 1.0)
    return t * t * (3 - 2 * t)


def _ramp(frame, span):
    start, end = span
    return _smooth((frame - start) / max(end - start, 1))


# --- the map -------------------------------------------------------------

def road_points(w, h):
    """The road: from the top left edge, across the river, to the keep."""
    return [(-40, 380), (300, 450), (560, 640), (800, 560), (1000, 640), (1120, 820),
            (1260, 850), (1400, 1060), (1600, 1100), (1780, 1260), (1900, 1300)]


def river_points(w, h):
    return [(1300, -40), (1230, 200), (1120, 420), (1120, 640), (1180, 900), (1060, 1150),
            (980, 1400), (1000, 1600)]


def _spline(points, steps=16):
    """Catmull-Rom through the points: a smooth polyline."""
    out = []
    pts = [points[0]] + points + [points[-1]]
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        for s in range(steps):
            t = s / steps
            t2, t3 = t * t, t * t * t
            out.append(tuple(0.5 * ((2 * p1[k]) + (-p0[k] + p2[k]) * t + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t2
                                    + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3) for k in range(2)))
    out.append(points[-1])
    return out


def _thick_line(draw, points, width, fill, scale):
    pts = [(x * scale, y * scale) for x, y in points]
    draw.line(pts, fill=fill, width=int(width * scale), joint="curve")
    r = width * scale / 2
    for x, y in (pts[0], pts[-1]):
        draw.ellipse((x - r, y - r, x + r, y + r), fill=fill)


def _near(points, x, y, distance):
    return any((px - x) ** 2 + (py - y) ** 2 < distance * distance for px, py in points)


def draw_map(spec):
    w, h = spec["map_w"], spec["map_h"]
    s = MAP_OVERSAMPLE
    rng = _rng("intro-map")
    img = Image.new("RGB", (w * s, h * s), (96, 140, 70))
    d = ImageDraw.Draw(img)
    # Meadow: broad patches of lighter and darker grass.
    for _ in range(260):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        r = rng.uniform(40, 160)
        tone = rng.choice([(104, 150, 74), (88, 130, 64), (112, 156, 80), (92, 138, 60)])
        d.ellipse(((x - r) * s, (y - r * 0.7) * s, (x + r) * s, (y + r * 0.7) * s), fill=tone)
    img = img.filter(ImageFilter.GaussianBlur(30 * s))
    d = ImageDraw.Draw(img)
    for _ in range(5000):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        tone = rng.choice([(80, 122, 56), (122, 166, 86), (70, 110, 50)])
        d.line(((x * s, y * s), ((x + rng.uniform(-2, 2)) * s, (y - rng.uniform(4, 9)) * s)), fill=tone, width=s)

    road = _spline(road_points(w, h))
    river = _spline(river_points(w, h))
    _thick_line(d, river, 96, (70, 112, 70), s)
    _thick_line(d, river, 80, (66, 120, 168), s)
    _thick_line(d, river, 44, (84, 146, 192), s)
    _thick_line(d, road, 74, (120, 96, 60), s)
    _thick_line(d, road, 62, (196, 166, 112), s)
    _thick_line(d, road, 30, (210, 182, 128), s)
    # A stone bridge where the road crosses the river, laid along the road.
    _, bi = min((((rx - px) ** 2 + (ry - py) ** 2), i) for i, (rx, ry) in enumerate(road)
                for px, py in river[::2])
    (ax, ay), (cx2, cy2) = road[max(bi - 2, 0)], road[min(bi + 2, len(road) - 1)]
    length = math.hypot(cx2 - ax, cy2 - ay) or 1.0
    ux, uy = (cx2 - ax) / length, (cy2 - ay) / length
    bx, by = road[bi]
    half_len, half_w = 78, 40
    corners = [(bx + sx * half_len * ux - sy * half_w * uy, by + sx * half_len * uy + sy * half_w * ux)
               for sx, sy in ((-1, -1), (1, -1), (1, 1), (-1, 1))]
    d.polygon([(x * s, y * s) for x, y in corners], fill=(150, 140, 128), outline=(96, 88, 80), width=4 * s)
    for k in range(-3, 4):
        px, py = bx + k * 20 * ux, by + k * 20 * uy
        d.line(((px - half_w * 0.9 * -uy) * s, (py - half_w * 0.9 * ux) * s,
                (px + half_w * 0.9 * -uy) * s, (py + half_w * 0.9 * ux) * s), fill=(132, 122, 112), width=2 * s)
    # Woods: trees everywhere except on the road and the river.
    trees = []
    for _ in range(900):
        x, y = rng.uniform(-20, w + 20), rng.uniform(-20, h + 20)
        if _near(road[::2], x, y, 90) or _near(river[::2], x, y, 80) or abs(x - 1780) + abs(y - 1240) < 260:
            continue
        trees.append((y, x, rng.uniform(18, 34), rng.choice([(40, 86, 44), (48, 98, 48), (56, 104, 46)])))
    for y, x, r, tone in sorted(trees):
        d.ellipse(((x - r) * s, (y - r * 0.5 + r * 0.9) * s, (x + r) * s, (y + r * 0.5 + r * 0.9) * s), fill=(58, 90, 44))
        d.ellipse(((x - r) * s, (y - r) * s, (x + r) * s, (y + r) * s), fill=tone)
        hl = tuple(min(255, c + 30) for c in tone)
        d.ellipse(((x - r * 0.6) * s, (y - r * 0.8) * s, (x + r * 0.1) * s, (y - r * 0.1) * s), fill=hl)

    # The keep at the road's end.
    kx, ky = 1790, 1230
    d.rectangle(((kx - 90) * s, (ky - 60) * s, (kx + 90) * s, (ky + 70) * s), fill=(160, 150, 140), outline=(90, 84, 78), width=5 * s)
    for tx in (kx - 90, kx + 90):
        d.ellipse(((tx - 34) * s, (ky - 94) * s, (tx + 34) * s, (ky - 26) * s), fill=(176, 164, 150), outline=(90, 84, 78), width=5 * s)
        d.polygon([((tx - 38) * s, (ky - 60) * s), (tx * s, (ky - 130) * s), ((tx + 38) * s, (ky - 60) * s)], fill=(150, 60, 50))
    d.rectangle(((kx - 24) * s, (ky + 10) * s, (kx + 24) * s, (ky + 70) * s), fill=(80, 56, 40))
    return img.resize((w, h), Image.LANCZOS)


# --- towers --------------------------------------------------------------

TOWER_COLOURS = {
    "dart": (60, 130, 70),
    "cannon": (70, 80, 150),
    "artillery": (150, 70, 50),
    "support": (150, 110, 190),
}


def draw_tower(kind, size=72):
    """A tower seen from above and a little from the side, at TOWER_OVERSAMPLE."""
    s = TOWER_OVERSAMPLE
    w, h = size, int(size * 1.4)
    img = Image.new("RGBA", (w * s, h * s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    flag = TOWER_COLOURS[kind]
    # Shadow, stone base, wooden body, roof.
    d.ellipse((w * 0.08 * s, h * 0.8 * s, w * 0.92 * s, h * 0.98 * s), fill=(0, 0, 0, 80))
    d.rounded_rectangle((w * 0.18 * s, h * 0.42 * s, w * 0.82 * s, h * 0.9 * s), radius=6 * s,
                        fill=(168, 158, 144, 255), outline=(92, 84, 76, 255), width=2 * s)
    for row in range(3):
        y = h * (0.52 + row * 0.12) * s
        d.line((w * 0.2 * s, y, w * 0.8 * s, y), fill=(128, 120, 110, 255), width=s)
    d.polygon([(w * 0.1 * s, h * 0.46 * s), (w * 0.5 * s, h * 0.12 * s), (w * 0.9 * s, h * 0.46 * s)],
              fill=tuple(int(c * 0.8) for c in flag) + (255,), outline=(60, 40, 30, 255))
    d.line((w * 0.5 * s, h * 0.14 * s, w * 0.5 * s, h * 0.0 * s + 2 * s), fill=(70, 50, 40, 255), width=2 * s)
    d.polygon([(w * 0.5 * s, 2 * s), (w * 0.74 * s, h * 0.05 * s), (w * 0.5 * s, h * 0.1 * s)], fill=flag + (255,))
    d.rectangle((w * 0.42 * s, h * 0.7 * s, w * 0.58 * s, h * 0.9 * s), fill=(70, 50, 34, 255))
    return img.resize((w, h), Image.LANCZOS)


# --- frames --------------------------------------------------------------

_state = {}


def _init(spec):
    _state["spec"] = spec
    _state["map"] = draw_map(spec)
    _state["towers"] = {k: draw_tower(k) for k in TOWER_COLOURS}
    _state["title_font"] = ImageFont.truetype(SERIF_BOLD, 44)
    _state["name_font"] = ImageFont.truetype(SERIF_BOLD, 84)
    _state["tag_font"] = ImageFont.truetype(SERIF_BOLD, 36)


def _vignette(w, h):
    v = Image.radial_gradient("L").resize((w, h), Image.BILINEAR)
    return v.point(lambda p: min(255, max(0, int((p - 70) * 1.6))))


def _camera(spec, frame):
    first, last = spec["title_out"][0], spec["frames"] - 1
    t = _smooth((frame - first) / (last - first))
    a, b = spec["camera_from"], spec["camera_to"]
    return (a["x"] + (b["x"] - a["x"]) * t, a["y"] + (b["y"] - a["y"]) * t, a["zoom"] + (b["zoom"] - a["zoom"]) * t)


def _flight(spec, frame):
    w, h = spec["width"], spec["height"]
    cx, cy, zoom = _camera(spec, frame)
    vw, vh = w / zoom, h / zoom
    box = (cx - vw / 2, cy - vh / 2, cx + vw / 2, cy + vh / 2)
    view = _state["map"].transform((w, h), Image.EXTENT, box, resample=Image.BICUBIC)
    view = view.convert("RGBA")
    for t in sorted(spec["towers"], key=lambda t: t["y"]):
        age = frame - t["frame"]
        if age < 0:
            continue
        # Rise with a small overshoot, then settle.
        grow = min(age / 8.0, 1.0)
        scale = zoom * (grow * (1 + 0.25 * math.sin(grow * math.pi)))
        if scale <= 0.01:
            continue
        sprite = _state["towers"][t["kind"]]
        sw, sh = max(1, int(sprite.width * scale)), max(1, int(sprite.height * scale))
        scaled = sprite.resize((sw, sh), Image.BICUBIC)
        px = (t["x"] - box[0]) * zoom - sw / 2
        py = (t["y"] - box[1]) * zoom - sh * 0.9
        view.alpha_composite(scaled, (int(px), int(py)))
        if age < 10:
            # A brief glow where the tower rises.
            glow = Image.new("RGBA", view.size, (0, 0, 0, 0))
            r = (20 + age * 5) * zoom
            gx, gy = (t["x"] - box[0]) * zoom, (t["y"] - box[1]) * zoom - 20 * zoom
            ImageDraw.Draw(glow).ellipse((gx - r, gy - r, gx + r, gy + r), fill=(255, 240, 190, int(150 * (1 - age / 10))))
            view.alpha_composite(glow.filter(ImageFilter.GaussianBlur(8)))
    return view.convert("RGB")


def _centred_text(img, text, font, cy, alpha, fill=INK):
    if alpha <= 0:
        return
    layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    x = img.width / 2
    d.text((x + 3, cy + 4), text, font=font, fill=(0, 0, 0, int(160 * alpha)), anchor="mm")
    d.text((x, cy), text, font=font, fill=fill + (int(255 * alpha),), anchor="mm")
    base = img.convert("RGBA")
    base.alpha_composite(layer)
    img.paste(base.convert("RGB"))


def render_frame(frame):
    spec = _state["spec"]
    w, h = spec["width"], spec["height"]
    card = Image.new("RGB", (w, h), CARD)
    _centred_text(card, spec["title"], _state["title_font"], h / 2,
                  _ramp(frame, spec["title_in"]) * (1 - _ramp(frame, spec["title_out"])))
    show_map = _ramp(frame, spec["title_out"])
    if show_map <= 0:
        img = card
    else:
        img = Image.blend(card, _flight(spec, frame), show_map)
    name = _ramp(frame, spec["name_in"])
    if name > 0:
        shade = Image.new("RGB", (w, h), (0, 0, 0))
        img = Image.blend(img, shade, 0.35 * name)
        _centred_text(img, spec["name"], _state["name_font"], h / 2 - 20, name)
        _centred_text(img, spec["tagline"], _state["tag_font"], h / 2 + 60, name, fill=(236, 236, 220))
    # Darker corners frame every shot.
    img = Image.composite(Image.new("RGB", (w, h), (0, 0, 0)), img, _vignette(w, h).point(lambda p: p * 120 // 255))
    return img


def _write_frame(args):
    frame, folder = args
    render_frame(frame).save(os.path.join(folder, f"frame_{frame:04d}.png"), compress_level=1)
    return frame


def render_frames(spec, folder, workers=None):
    """Every frame as "frame_NNNN.png" in `folder`, rendered across the cores."""
    jobs = [(f, str(folder)) for f in range(spec["frames"])]
    workers = workers or os.cpu_count() or 1
    ctx = multiprocessing.get_context("fork")
    with ctx.Pool(workers, initializer=_init, initargs=(spec,)) as pool:
        for _ in pool.imap_unordered(_write_frame, jobs, chunksize=4):
            pass


def check_spec(spec):
    for side in ("width", "height"):
        if spec[side] % 16:
            raise ValueError("the intro's %s must be a multiple of 16" % side)
    if spec["fps"] <= 0 or spec["frames"] <= 0:
        raise ValueError("the intro needs a frame rate and frames")


def video_job(env, spec):
    """Renders the frames across the cores and encodes them with make_video.
    The core count stays out of the arguments: it must not change the cache key."""
    check_spec(spec)
    tmp = env.tmpdir()
    frames = os.path.join(tmp, "frames")
    os.makedirs(frames)
    render_frames(spec, frames)
    out = os.path.join(tmp, "intro.ogv")
    env.run_tool("make_video", [out, "--png", frames, "--fps", "%d/1" % spec["fps"], "--format", "420",
                                "--quality", str(spec["quality"])])
    files = {VIDEO_PATH: Path(out).read_bytes()}
    for f in PREVIEW_FRAMES:
        if f < spec["frames"]:
            files["preview:intro/frame_%04d.png" % f] = (Path(frames) / ("frame_%04d.png" % f)).read_bytes()
    return files
