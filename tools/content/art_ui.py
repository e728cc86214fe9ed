"""The preloaded interface sprites ("nq/data/ui_parts"), spell animations,
projectiles and the single pictures."""
import math

from PIL import Image

from content import art_towers, draw

ANIM_FRAMES = 6
RADIUS_SIZE = 336   # the range circle: 336 px across
# Ring icons by frame number -> (line look, prototype index in its line).
TOWER_ICONS = {1: ("dart", 0), 2: ("dart", 4), 3: ("dart", 3), 4: ("cannon", 3), 5: ("cannon", 0),
               6: ("cannon", 4), 7: ("support", 4), 8: ("support", 0), 9: ("artillery", 0),
               10: ("artillery", 4), 11: ("artillery", 3), 12: ("support", 3)}
BADGES = {"acid_01": ((130, 200, 60), "drop"), "beam_01": ((170, 120, 240), "beam"),
          "aoe_01": ((230, 150, 60), "ring"), "burn_01": ((240, 100, 40), "flame"),
          "dazed_01": ((240, 230, 120), "star"), "hammer_01": ((160, 160, 170), "hammer"),
          "money_01": (draw.GOLD, "coin"), "portal_01": ((140, 90, 220), "ring"),
          "wing_01": ((200, 220, 240), "wing"), "might_01": ((230, 90, 70), "up"),
          "might_02": ((240, 60, 60), "up2"), "showInvisible_01": ((120, 220, 240), "eye")}


def glyph(c, kind, cx, cy, r, color):
    col = color + (255,)
    dark = draw.shade(color, 0.4) + (255,)
    if kind == "drop":
        c.polygon([(cx, cy - r), (cx + r * 0.7, cy + r * 0.2), (cx, cy + r), (cx - r * 0.7, cy + r * 0.2)], col)
    elif kind == "beam":
        c.line([(cx - r, cy + r), (cx + r, cy - r)], col, r * 0.4)
    elif kind == "ring":
        c.ellipse(cx - r, cy - r, cx + r, cy + r, None, col, r * 0.3)
    elif kind == "flame":
        c.polygon([(cx, cy - r), (cx + r * 0.7, cy + r * 0.5), (cx, cy + r), (cx - r * 0.7, cy + r * 0.5)], col)
        c.polygon([(cx, cy - r * 0.2), (cx + r * 0.35, cy + r * 0.6), (cx - r * 0.35, cy + r * 0.6)], (255, 230, 120, 255))
    elif kind == "star":
        c.polygon(draw.star_points(cx, cy, r, r * 0.45), col)
    elif kind == "hammer":
        c.line([(cx - r * 0.6, cy + r), (cx + r * 0.3, cy - r * 0.2)], draw.WOOD + (255,), r * 0.3)
        c.rounded(cx - r * 0.1, cy - r, cx + r, cy - r * 0.1, 2, col)
    elif kind == "coin":
        c.ellipse(cx - r, cy - r, cx + r, cy + r, dark)
        c.ellipse(cx - r * 0.8, cy - r * 0.8, cx + r * 0.8, cy + r * 0.8, col)
    elif kind == "wing":
        c.polygon([(cx - r, cy), (cx + r, cy - r), (cx + r * 0.6, cy + r * 0.3)], col)
    elif kind in ("up", "up2"):
        for k in range(1 if kind == "up" else 2):
            y = cy - r * 0.3 + k * r * 0.7
            c.polygon([(cx - r, y + r * 0.5), (cx, y - r * 0.5), (cx + r, y + r * 0.5)], col)
    elif kind == "eye":
        c.ellipse(cx - r, cy - r * 0.6, cx + r, cy + r * 0.6, col)
        c.ellipse(cx - r * 0.35, cy - r * 0.35, cx + r * 0.35, cy + r * 0.35, (20, 30, 40, 255))
    elif kind == "down":
        c.polygon([(cx - r, cy - r * 0.5), (cx, cy + r * 0.5), (cx + r, cy - r * 0.5)], col)
    elif kind == "skull":
        c.ellipse(cx - r, cy - r, cx + r, cy + r * 0.6, col)
        c.rounded(cx - r * 0.5, cy + r * 0.2, cx + r * 0.5, cy + r, 2, col)
        for s in (-1, 1):
            c.ellipse(cx + s * r * 0.45 - r * 0.25, cy - r * 0.25, cx + s * r * 0.45 + r * 0.25, cy + r * 0.2, (30, 20, 20, 255))
    elif kind == "lock":
        c.rounded(cx - r * 0.8, cy - r * 0.1, cx + r * 0.8, cy + r, 3, col)
        c.ellipse(cx - r * 0.55, cy - r, cx + r * 0.55, cy + r * 0.3, None, col, r * 0.25)
    elif kind == "arrow_left":
        c.polygon([(cx - r, cy), (cx + r * 0.5, cy - r), (cx + r * 0.5, cy + r)], col)
    elif kind == "arrow_right":
        c.polygon([(cx + r, cy), (cx - r * 0.5, cy - r), (cx - r * 0.5, cy + r)], col)
    elif kind == "plus":
        c.rounded(cx - r, cy - r * 0.25, cx + r, cy + r * 0.25, 2, col)
        c.rounded(cx - r * 0.25, cy - r, cx + r * 0.25, cy + r, 2, col)
    elif kind == "minus":
        c.rounded(cx - r, cy - r * 0.25, cx + r, cy + r * 0.25, 2, col)
    elif kind == "heart":
        c.ellipse(cx - r, cy - r * 0.8, cx, cy + r * 0.1, col)
        c.ellipse(cx, cy - r * 0.8, cx + r, cy + r * 0.1, col)
        c.polygon([(cx - r * 0.95, cy - r * 0.2), (cx + r * 0.95, cy - r * 0.2), (cx, cy + r)], col)
    elif kind == "chest":
        # in the glyph's colour, so that it shows on a wooden button
        c.rounded(cx - r, cy - r * 0.55, cx + r, cy + r * 0.75, r * 0.2, col)
        c.line([(cx - r, cy - r * 0.05), (cx + r, cy - r * 0.05)], dark, r * 0.14)
        c.rounded(cx - r * 0.18, cy - r * 0.25, cx + r * 0.18, cy + r * 0.25, 1, dark)
    elif kind == "pause":
        for s in (-1, 1):
            c.rounded(cx + s * r * 0.45 - r * 0.22, cy - r * 0.7, cx + s * r * 0.45 + r * 0.22, cy + r * 0.7, 2, col)
    elif kind == "play":
        c.polygon([(cx - r * 0.5, cy - r * 0.8), (cx + r * 0.8, cy), (cx - r * 0.5, cy + r * 0.8)], col)
    elif kind == "fast":
        for s in (-0.55, 0.35):
            c.polygon([(cx + s * r - r * 0.4, cy - r * 0.7), (cx + s * r + r * 0.5, cy), (cx + s * r - r * 0.4, cy + r * 0.7)], col)
    elif kind == "gear":
        c.ellipse(cx - r, cy - r, cx + r, cy + r, None, col, r * 0.35)
        for k in range(8):
            a = math.radians(k * 45)
            c.line([(cx + math.cos(a) * r * 0.8, cy + math.sin(a) * r * 0.8), (cx + math.cos(a) * r * 1.15, cy + math.sin(a) * r * 1.15)], col, r * 0.3)
    elif kind == "check":
        c.line([(cx - r, cy), (cx - r * 0.2, cy + r * 0.7), (cx + r, cy - r * 0.8)], col, r * 0.35)
    elif kind == "back":
        c.line([(cx + r * 0.8, cy + r * 0.6), (cx + r * 0.8, cy - r * 0.1), (cx - r * 0.5, cy - r * 0.1)], col, r * 0.3)
        c.polygon([(cx - r, cy - r * 0.1), (cx - r * 0.3, cy - r * 0.7), (cx - r * 0.3, cy + r * 0.5)], col)
    elif kind == "cross":
        for s in (-1, 1):
            c.line([(cx - r * 0.7, cy - s * r * 0.7), (cx + r * 0.7, cy + s * r * 0.7)], col, r * 0.32)
    elif kind == "retry":
        # a circle's arrow: round from the top, its head back at the top
        c.arc(cx - r * 0.8, cy - r * 0.8, cx + r * 0.8, cy + r * 0.8, -60, 240, col, r * 0.3)
        tip = (cx + r * 0.4, cy - r * 0.69)
        c.polygon([(tip[0] + r * 0.55, tip[1] - r * 0.05), (tip[0] - r * 0.15, tip[1] - r * 0.55),
                   (tip[0] - r * 0.05, tip[1] + r * 0.45)], col)
    elif kind == "grid":
        # the level select's plates, three by two
        for i in range(3):
            for j in range(2):
                x, y = cx - r + i * r * 0.75, cy - r * 0.7 + j * r * 0.8
                c.rounded(x, y, x + r * 0.5, y + r * 0.55, r * 0.1, col)
    elif kind == "speaker":
        c.polygon([(cx - r, cy - r * 0.35), (cx - r * 0.45, cy - r * 0.35), (cx + r * 0.1, cy - r * 0.85),
                   (cx + r * 0.1, cy + r * 0.85), (cx - r * 0.45, cy + r * 0.35), (cx - r, cy + r * 0.35)], col)
        for k in (0.45, 0.8):
            c.arc(cx + r * 0.1 - r * k, cy - r * k, cx + r * 0.1 + r * k, cy + r * k, -45, 45, col, r * 0.14)
    elif kind == "note":
        for x, y in ((cx - r * 0.55, cy + r * 0.6), (cx + r * 0.55, cy + r * 0.4)):
            c.ellipse(x - r * 0.32, y - r * 0.24, x + r * 0.32, y + r * 0.24, col)
        c.line([(cx - r * 0.27, cy + r * 0.6), (cx - r * 0.27, cy - r * 0.6)], col, r * 0.14)
        c.line([(cx + r * 0.83, cy + r * 0.4), (cx + r * 0.83, cy - r * 0.8)], col, r * 0.14)
        c.polygon([(cx - r * 0.34, cy - r * 0.6), (cx + r * 0.9, cy - r * 0.8), (cx + r * 0.9, cy - r * 0.5),
                   (cx - r * 0.34, cy - r * 0.3)], col)
    else:
        c.ellipse(cx - r, cy - r, cx + r, cy + r, col)


def badge(size, color, kind, ring=True):
    c = draw.Canvas(size, size)
    if ring:
        c.ellipse(0, 0, size, size, draw.shade(draw.WOOD_DARK, 1.0) + (255,))
        c.ellipse(1.5, 1.5, size - 1.5, size - 1.5, draw.shade(color, 0.45) + (255,))
    glyph(c, kind, size / 2, size / 2, size * 0.3, tuple(color))
    return c.result()


def soft_circle(size, color, alpha=255, inner=0.0):
    c = draw.Canvas(size, size)
    steps = 12
    for k in range(steps):
        f = 1 - k / steps
        c.ellipse(size / 2 * (1 - f), size / 2 * (1 - f), size - size / 2 * (1 - f), size - size / 2 * (1 - f),
                  tuple(color) + (int(alpha * (k + 1) / steps * 0.3),))
    return c.result()


def radius_circle():
    s = RADIUS_SIZE
    c = draw.Canvas(s, s, 2)
    c.ellipse(2, 2, s - 2, s - 2, (255, 255, 255, 40), (255, 255, 255, 220), 3)
    return c.result()


def spot(kind):
    w, h = 76, 56
    c = draw.Canvas(w, h)
    c.ellipse(2, 6, w - 2, h - 2, (40, 28, 18, 150))
    c.ellipse(4, 4, w - 4, h - 6, draw.shade(draw.WOOD, 0.6) + (255,))
    c.ellipse(8, 7, w - 8, h - 10, draw.WOOD_LIGHT + (255,))
    for k in range(5):
        c.line([(12 + k * 13, 12), (12 + k * 13, h - 14)], draw.shade(draw.WOOD, 0.8) + (200,), 1)
    if kind == "g":
        c.paste(draw_canvas(draw.gem(26)), (w - 26) / 2, (h - 30) / 2)
    elif kind == "p":
        c.paste(draw_canvas(draw.coin(24)), (w - 24) / 2, (h - 28) / 2)
    return c.result()


def draw_canvas(im, ss=draw.SPRITE_SS):
    """A finished picture as a Canvas at the drawing scale (for pasting)."""
    c = draw.Canvas(im.width, im.height, ss)
    c.im = im.resize((im.width * ss, im.height * ss), Image.LANCZOS)
    c.d = draw.ImageDraw.Draw(c.im)
    return c


def ring_icon(line, level):
    w, h = line["canvas"]
    proto = line["protos"][level]
    if line["rotating"]:
        im = art_towers.turret_frame(w, h, proto["tint"], min(level, 3), 20, 0)
    else:
        im = art_towers.building_frame(line["look"], w, h, proto["tint"], min(level, 3), "idle", 0)
    size = 64
    c = draw.Canvas(size, size)
    c.ellipse(1, 1, size - 1, size - 1, draw.shade(draw.PARCHMENT, 0.9) + (255,), draw.WOOD_DARK + (255,), 2)
    thumb = im.resize((int(w * 52 / max(w, h)), int(h * 52 / max(w, h))), Image.LANCZOS)
    c.paste(draw_canvas(thumb), (size - thumb.width) / 2, (size - thumb.height) / 2 + 2)
    return c.result()


def anim_frames(kind, n=ANIM_FRAMES, size=64):
    """Short looping or one-shot animations played from their root group."""
    out = []
    for i in range(n):
        t = i / n
        c = draw.Canvas(size, size)
        m = size / 2
        if kind == "enemy_spot":
            r = size * (0.36 + 0.06 * math.sin(t * 2 * math.pi))
            c.ellipse(m - r, m - r * 0.45, m + r, m + r * 0.45, None, (255, 220, 90, 230), 2.5)
        elif kind == "crystall":
            bob = 4 * math.sin(t * 2 * math.pi)
            g = draw.gem(28)
            c.paste(draw_canvas(g), m - 14, m - 18 + bob)
            c.ellipse(m - 12, size - 12, m + 12, size - 6, (0, 0, 0, 60))
        elif kind == "disabletower":
            for k in range(3):
                a = t * 2 * math.pi + k * 2.1
                x, y = m + math.cos(a) * 18, m - 10 + math.sin(a) * 7
                c.line([(x - 5, y - 5), (x + 5, y + 5)], (90, 160, 80, 255), 3)
                c.line([(x - 5, y + 5), (x + 5, y - 5)], (90, 160, 80, 255), 3)
        elif kind == "tower_debuff":
            for k in range(4):
                a = t * 2 * math.pi + k * 1.57
                x, y = m + math.cos(a) * 20, m - 6 + math.sin(a) * 8
                c.ellipse(x - 4, y - 4, x + 4, y + 4, (150, 80, 200, 220))
        elif kind == "mob_dot":
            for k in range(3):
                y = m + 10 - ((t + k / 3) % 1) * 26
                x = m - 10 + k * 10
                c.ellipse(x - 4, y - 4, x + 4, y + 4, (140, 210, 60, int(230 * (1 - (t + k / 3) % 1))))
        elif kind == "mob_heal":
            y = m + 8 - t * 18
            glyph(c, "plus", m, y, 9, (110, 230, 120))
        elif kind == "spell_cast":
            r = 6 + 24 * t
            c.ellipse(m - r, m - r * 0.6, m + r, m + r * 0.6, None, (255, 240, 160, int(255 * (1 - t))), 3)
        out.append(c.result())
    return out


def add_ui_parts(image, lines):
    """The groups of "nq/data/ui_parts", each becoming a preloaded set "nq/<group>"."""
    P = image.picture
    P("ui/brush", soft_circle(96, (255, 255, 255), 200))
    P("ui/power_buff", badge(36, (230, 90, 70), "up"))
    bar = draw.Canvas(60, 8)
    bar.rounded(0, 0, 60, 8, 3, (30, 20, 10, 230))
    bar.rounded(1, 1, 59, 7, 3, (90, 220, 90, 255))
    P("ui/bar", bar.result())
    P("ui/radius", radius_circle())
    for k in (1, 2, 3):
        c = draw.Canvas(24, 24)
        for j in range(k):
            c.polygon([(4, 18 - j * 6), (12, 10 - j * 6), (20, 18 - j * 6)], draw.GOLD + (255,))
        P("ui/l%d" % k, c.result())
    for k in (2, 3):
        c = draw.Canvas(28, 20)
        for j in range(k - 1):
            c.polygon(draw.star_points(8 + j * 12, 10, 8, 3.5), draw.GOLD + (255,))
        P("ui/lvl%d" % k, c.result())
    P("ui/sell", badge(56, draw.BERRY, "coin"))
    P("ui/buy", badge(56, draw.MOSS, "plus"))
    P("ui/context_money", draw.coin(20))
    P("ui/context_gem", draw.gem(20))
    P("ui/wave_hint", badge(56, (170, 50, 50), "skull"))
    P("ui/money", draw.coin(28))
    P("ui/immune", badge(28, (120, 120, 140), "ring"))
    P("ui/radius_boost", badge(28, (90, 170, 230), "up"))
    P("ui/radius_unboost", badge(28, (90, 170, 230), "down"))
    P("ui/power_boost", badge(28, (230, 90, 70), "up"))
    P("ui/power_unboost", badge(28, (230, 90, 70), "down"))
    by_look = {l["name"]: l for l in lines}
    for k in range(1, 13):
        name, level = TOWER_ICONS[k]
        P("ui/tower_%02d" % k, ring_icon(by_look[name], level))
    for name, (color, kind) in BADGES.items():
        P("ui/" + name, badge(24, color, kind))
    for kind in ("s", "g", "p"):
        P("spots/" + kind, spot(kind))
    for group in ("enemy_spot", "crystall", "disabletower", "tower_debuff", "mob_dot", "mob_heal", "spell_cast"):
        for i, im in enumerate(anim_frames(group)):
            P("%s/%02d" % (group, i), im)
        image.rect(group + "/s_point/0", 32, 32)
    P("shadows/money_shadow", shadow(32, 14))
    P("shadows/wywern_shadow", shadow(72, 28))
    P("shadows/dragon_shadow", shadow(96, 36))


def shadow(w, h):
    c = draw.Canvas(w, h)
    for k in range(6):
        f = k / 6
        c.ellipse(w * f / 2, h * f / 2, w - w * f / 2, h - h * f / 2, (0, 0, 0, 22))
    return c.result()


def spell_frames(color, look, n=8, size=128):
    out = []
    color = tuple(color)
    for i in range(n):
        t = i / n
        c = draw.Canvas(size, size)
        m = size / 2
        a = int(255 * (1 - t * 0.7))
        if look == "fire":
            # tongues of flame rising from a ring of embers
            for k in range(9):
                ang = k * 2 * math.pi / 9 + t
                r = 14 + 34 * min(1, t * 1.6)
                x, y = m + math.cos(ang) * r, m + 16 + math.sin(ang) * r * 0.45
                hgt = 26 * (1 - t * 0.6) * (0.7 + 0.3 * math.sin(k * 1.7 + t * 9))
                flame(c, x, y, 9, hgt, a)
            c.ellipse(m - 40 * t - 8, m + 10, m + 40 * t + 8, m + 24, (255, 120, 40, a // 3))
        elif look == "hold":
            # thorny vines curling out of the ground
            for k in range(6):
                ang = k * math.pi / 3 + 0.3
                grow = min(1, t * 2.2)
                pts = []
                for j in range(8):
                    u = j / 7 * grow
                    rr = 6 + 46 * u
                    pts.append((m + math.cos(ang + u * 1.2) * rr, m + 10 + math.sin(ang + u * 1.2) * rr * 0.5))
                c.line(pts, draw.shade(color, 0.6) + (a,), 5)
                c.line(pts, color + (a,), 3)
                for (x0, y0), (x1, y1) in zip(pts[1::2], pts[2::2]):
                    c.polygon([(x1, y1), (x1 + 4, y1 - 7), (x1 + 6, y1 + 1)], (200, 230, 150, a))
        elif look == "poison":
            for k in range(6):
                x = m - 40 + k * 16
                y = m + 20 - ((t + k * 0.17) % 1) * 50
                c.ellipse(x - 8, y - 8, x + 8, y + 8, color + (a // 2,))
        elif look == "boost":
            r = 12 + 46 * t
            c.ellipse(m - r, m - r * 0.5, m + r, m + r * 0.5, None, color + (a,), 4)
        else:
            c.line([(m + 10, 0), (m - 8, m * 0.7), (m + 6, m * 0.8), (m - 4, m * 1.3)], color + (a,), 5)
            r = 14 + 30 * t
            c.ellipse(m - r, m + 20 - r * 0.4, m + r, m + 20 + r * 0.4, None, (255, 255, 255, a), 3)
        out.append(c.result())
    return out


def flame(c, x, y, w, h, a):
    """A tongue of flame standing on (x, y)."""
    c.polygon([(x - w, y), (x - w * 0.6, y - h * 0.5), (x, y - h), (x + w * 0.6, y - h * 0.5), (x + w, y)],
              (230, 90, 30, a))
    c.polygon([(x - w * 0.5, y), (x, y - h * 0.6), (x + w * 0.5, y)], (255, 214, 110, a))


def spell_button(color, look, off):
    size = 80
    c = draw.Canvas(size, size)
    base = tuple(color) if not off else (110, 110, 110)
    c.ellipse(0, 0, size, size, draw.WOOD_DARK + (255,))
    c.ellipse(4, 4, size - 4, size - 4, draw.shade(base, 0.5) + (255,))
    c.gradient(8, 8, size - 8, size - 8, draw.shade(base, 1.3) + (255,), draw.shade(base, 0.8) + (255,), size / 2)
    kind = {"fire": "flame", "hold": "ring", "poison": "drop", "boost": "up2", "strike": "beam"}[look]
    glyph(c, kind, size / 2, size / 2, size * 0.25, (255, 250, 230) if not off else (200, 200, 200))
    return c.result()


# Every projectile flies in a pale halo with a dark rim, so that it reads on
# light snow, dark grass and brown roads alike, whatever its own colour.
PROJECTILE_HALO = (255, 250, 235, 210)
PROJECTILE_RIM = (30, 22, 14, 255)


def projectile(look, color):
    size = 24
    c = draw.Canvas(size, size)
    m = size / 2
    color = tuple(color)
    c.ellipse(1, 1, size - 1, size - 1, PROJECTILE_HALO)
    c.ellipse(3.5, 3.5, size - 3.5, size - 3.5, PROJECTILE_RIM)
    # The body fills the rim's inside (radius 6.5).
    if look == "dart":
        c.ellipse(m - 6.5, m - 6.5, m + 6.5, m + 6.5, color + (255,))
        c.ellipse(m - 4, m - 4.5, m + 1, m - 0.5, draw.shade(color, 1.5) + (255,))
    elif look == "fireball":
        c.ellipse(m - 6.5, m - 6.5, m + 6.5, m + 6.5, color + (255,))
        c.ellipse(m - 4, m - 4, m + 4, m + 4, (255, 220, 120, 255))
    elif look == "orb":
        c.ellipse(m - 6.5, m - 6.5, m + 6.5, m + 6.5, color + (255,))
        c.ellipse(m - 3.5, m - 3.5, m + 3.5, m + 3.5, (255, 255, 255, 230))
    else:
        c.ellipse(m - 6.5, m - 6.5, m + 6.5, m + 6.5, color + (255,))
        c.ellipse(m - 4, m - 4.5, m, m - 0.5, draw.shade(color, 1.6) + (255,))
    return c.result()


def shell_frames(n=8, size=40):
    out = []
    for i in range(n):
        c = draw.Canvas(size, size)
        m = size / 2
        ang = i / n * 2 * math.pi
        c.ellipse(m - 12, m - 12, m + 12, m + 12, (70, 40, 30, 255))
        c.ellipse(m - 10, m - 10, m + 10, m + 10, (200, 80, 40, 255))
        c.line([(m, m), (m + math.cos(ang) * 14, m + math.sin(ang) * 14)], (255, 220, 120, 255), 3)
        out.append(c.result())
    return out
