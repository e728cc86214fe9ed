"""Tower sprites. A rotating line has 128 root frames (4 per direction) and
32 s_point markers; the others have idle and blast frames and one marker."""
import functools
import math

from content import draw

DIRECTIONS = 32
FRAMES_PER_DIRECTION = 4
SECTOR_DEG = 11.25
IDLE_FRAMES = 4
BLAST_FRAMES = 6
FIRE_FRAMES = 6
BARREL_LEN = 30
MUZZLE_EXTRA = 4
RECOIL = (0, 6, 4, 1)


def direction(d):
    """dir(d) in screen axes (y down) for direction d."""
    theta = math.radians((31.5 - d) * SECTOR_DEG)
    return math.sin(theta), math.cos(theta)


def pivot(w, h):
    return w // 2, h - 44


def muzzle(w, h, d, recoil=0):
    px, py = pivot(w, h)
    dx, dy = direction(d)
    reach = BARREL_LEN + MUZZLE_EXTRA - recoil
    return px + dx * reach, py + dy * reach


def level_trim(c, cx, y, level, tint):
    """Gold bands for the upgraded prototypes."""
    for k in range(level):
        c.rounded(cx - 14 + k * 10, y, cx - 6 + k * 10, y + 5, 2, draw.GOLD + (255,), draw.shade(draw.GOLD, 0.5) + (255,), 0.6)


@functools.lru_cache(maxsize=8)
def turret_platform(w, h, tint, level):
    """The part of a turret that does not turn, drawn once per prototype."""
    c = draw.Canvas(w, h)
    px, py = pivot(w, h)
    c.ellipse(px - 40, py + 4, px + 40, py + 38, (0, 0, 0, 60))
    c.rounded(px - 34, py - 4, px + 34, py + 30, 12, draw.shade(draw.STONE, 0.55) + (255,))
    c.gradient(px - 32, py - 2, px + 32, py + 26, draw.shade(draw.STONE, 1.2) + (255,), draw.shade(draw.STONE, 0.8) + (255,), 10)
    level_trim(c, px, py + 18, level, tint)
    return c.im


def turret_frame(w, h, tint, level, d, k):
    tint = tuple(tint)
    c = draw.Canvas(w, h)
    c.im = turret_platform(w, h, tint, level).copy()
    c.d = draw.ImageDraw.Draw(c.im)
    px, py = pivot(w, h)
    dx, dy = direction(d)
    recoil = RECOIL[k]
    end = (px + dx * (BARREL_LEN - recoil), py + dy * (BARREL_LEN - recoil))
    start = (px + dx * 4, py + dy * 4)

    def barrel():
        c.line([start, end], draw.shade(tint, 0.35) + (255,), 13)
        c.line([start, end], tint + (255,), 9)
        c.line([start, (start[0] + (end[0] - start[0]) * 0.9, start[1] + (end[1] - start[1]) * 0.9)],
               draw.shade(tint, 1.4) + (255,), 3)
        mx, my = end
        c.ellipse(mx - 6, my - 6, mx + 6, my + 6, draw.shade(tint, 0.3) + (255,))

    def head():
        c.ellipse(px - 17, py - 17, px + 17, py + 17, draw.shade(draw.WOOD, 0.5) + (255,))
        c.ellipse(px - 15, py - 15, px + 15, py + 15, draw.WOOD_LIGHT + (255,))
        c.ellipse(px - 8, py - 10, px + 4, py - 2, draw.shade(draw.WOOD_LIGHT, 1.3) + (255,))

    if dy < 0:
        barrel()
        head()
    else:
        head()
        barrel()
    if k == 1:
        mx, my = muzzle(w, h, d, recoil)
        for r, a in ((10, 120), (6, 220)):
            c.ellipse(mx - r, my - r, mx + r, my + r, (255, 210, 90, a))
    return c.result()


def building_frame(look, w, h, tint, level, kind, index):
    """Huts, mortars and shrines: a building standing on its foot point."""
    c = draw.Canvas(w, h)
    tint = tuple(tint)
    fx, fy = w // 2, h - 14
    t = index / (BLAST_FRAMES if kind == "blast" else IDLE_FRAMES)
    c.ellipse(fx - 40, fy - 10, fx + 40, fy + 10, (0, 0, 0, 70))
    if look == "hut":
        c.rounded(fx - 30, fy - 50, fx + 30, fy, 6, draw.shade(draw.WOOD, 0.5) + (255,))
        c.gradient(fx - 28, fy - 48, fx + 28, fy - 2, draw.WOOD_LIGHT + (255,), draw.WOOD + (255,), 5)
        for k in range(4):
            c.line([(fx - 28, fy - 40 + k * 10), (fx + 28, fy - 40 + k * 10)], draw.shade(draw.WOOD, 0.7) + (255,), 1)
        c.polygon([(fx - 40, fy - 46), (fx + 40, fy - 46), (fx, fy - 92)], draw.shade(tint, 0.5) + (255,))
        c.polygon([(fx - 34, fy - 49), (fx + 34, fy - 49), (fx, fy - 86)], tint + (255,))
        c.rounded(fx - 7, fy - 34, fx + 7, fy - 16, 3, (40, 26, 16, 255))
        bow = -4 if kind == "blast" and index in (1, 2) else 0
        c.line([(fx + 18, fy - 70 + bow), (fx + 30, fy - 58)], draw.WOOD_DARK + (255,), 2)
        level_trim(c, fx, fy - 10, level, tint)
    elif look == "mortar":
        c.rounded(fx - 36, fy - 34, fx + 36, fy, 10, draw.shade(draw.STONE, 0.5) + (255,))
        c.gradient(fx - 34, fy - 32, fx + 34, fy - 2, draw.shade(draw.STONE, 1.2) + (255,), draw.STONE + (255,), 8)
        lift = 8 if kind == "blast" and index in (1, 2, 3) else 0
        c.polygon([(fx - 16, fy - 30), (fx + 16, fy - 30), (fx + 22, fy - 74 + lift), (fx - 22, fy - 74 + lift)],
                  draw.shade(tint, 0.4) + (255,))
        c.polygon([(fx - 13, fy - 32), (fx + 13, fy - 32), (fx + 18, fy - 71 + lift), (fx - 18, fy - 71 + lift)],
                  tint + (255,))
        c.ellipse(fx - 20, fy - 80 + lift, fx + 20, fy - 66 + lift, (30, 20, 16, 255), draw.shade(tint, 0.4) + (255,), 2)
        level_trim(c, fx, fy - 14, level, tint)
        if kind == "blast" and index in (1, 2):
            for r, a in ((16, 110), (9, 220)):
                c.ellipse(fx - r, fy - 86 - r, fx + r, fy - 86 + r, (255, 180, 70, a))
    else:  # shrine
        c.polygon([(fx - 30, fy), (fx + 30, fy), (fx + 20, fy - 54), (fx - 20, fy - 54)], draw.shade(draw.STONE, 0.5) + (255,))
        c.polygon([(fx - 27, fy - 2), (fx + 27, fy - 2), (fx + 18, fy - 52), (fx - 18, fy - 52)], draw.STONE + (255,))
        for k in range(5):
            c.ellipse(fx - 28 + k * 12, fy - 16 - (k % 2) * 20, fx - 16 + k * 12, fy - 6 - (k % 2) * 20, draw.MOSS + (230,))
        pulse = 0.5 + 0.5 * math.sin(t * 2 * math.pi)
        glow = 140 + int(100 * pulse) if kind == "idle" else 255
        r = 12 + (4 * pulse if kind == "idle" else 8 * math.sin(t * math.pi))
        c.ellipse(fx - r - 6, fy - 78 - r - 6, fx + r + 6, fy - 78 + r + 6, tint + (60,))
        c.polygon([(fx, fy - 78 - r), (fx + r * 0.7, fy - 78), (fx, fy - 78 + r), (fx - r * 0.7, fy - 78)],
                  draw.shade(tint, 1.4) + (glow,))
        level_trim(c, fx, fy - 30, level, tint)
    return c.result()


def fire_frame(w, h, index, mx, my):
    """The lobbed shell in flight (the bullet plays this group of the set):
    a burning ball turning about the set's s_point, where the bullet is."""
    c = draw.Canvas(w, h)
    ang = index / FIRE_FRAMES * 2 * math.pi
    for k in range(3):
        a = ang + k * 2.1
        tx, ty = mx - math.cos(a) * 12, my - math.sin(a) * 12
        c.ellipse(tx - 6 + k, ty - 6 + k, tx + 6 - k, ty + 6 - k, (255, 150, 50, 150 - 40 * k))
    c.ellipse(mx - 10, my - 10, mx + 10, my + 10, (70, 40, 30, 255))
    c.ellipse(mx - 8, my - 8, mx + 8, my + 8, (210, 90, 40, 255))
    c.line([(mx, my), (mx + math.cos(ang) * 9, my + math.sin(ang) * 9)], (255, 220, 120, 255), 3)
    return c.result()


def building_muzzle(look, w, h):
    fx, fy = w // 2, h - 14
    return {"hut": (fx + 30, fy - 58), "mortar": (fx, fy - 78), "shrine": (fx, fy - 78)}[look]


def add_line(image, line):
    """Every prototype of a line in one image, each its own top-level group."""
    w, h = line["canvas"]
    for level, proto in enumerate(line["protos"]):
        g = proto["group"]
        tint = proto["tint"]
        lv = min(level, 3)
        if line["rotating"]:
            for d in range(DIRECTIONS):
                for k in range(FRAMES_PER_DIRECTION):
                    image.atlas_frame("%s/f%03d" % (g, d * FRAMES_PER_DIRECTION + k), turret_frame(w, h, tint, lv, d, k))
            markers = {}
            for d in range(DIRECTIONS):
                mx, my = muzzle(w, h, d)
                markers[(DIRECTIONS - d) % DIRECTIONS] = (round(w - mx), round(my))
            for i in range(DIRECTIONS):
                image.rect("%s/s_point/%02d" % (g, i), *markers[i])
            px, py = pivot(w, h)
            image.rect("%s/base_point/0" % g, px, py)
        else:
            for i in range(IDLE_FRAMES):
                image.atlas_frame("%s/idle/%02d" % (g, i), building_frame(line["look"], w, h, tint, lv, "idle", i))
            for i in range(BLAST_FRAMES):
                image.atlas_frame("%s/blast/%02d" % (g, i), building_frame(line["look"], w, h, tint, lv, "blast", i))
            mx, my = building_muzzle(line["look"], w, h)
            image.rect("%s/s_point/0" % g, mx, my)
            image.rect("%s/base_point/0" % g, w // 2, h - 14)
            if g == "tower3_1b":
                for i in range(FIRE_FRAMES):
                    image.atlas_frame("%s/fire/%02d" % (g, i), fire_frame(w, h, i, mx, my))
