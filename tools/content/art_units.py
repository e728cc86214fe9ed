"""Enemy sprites: walk, death and special frames drawn from a few body plans."""
import math

from content import draw

WALK_FRAMES = 6
DEATH_FRAMES = 4
SPECIAL_FRAMES = 4
FOOT_MARGIN = 8


def canvas_size(look):
    s = look["size"] + 28
    return s + (s % 2), s + (s % 2)


def foot_point(look):
    w, h = canvas_size(look)
    return w // 2, h - FOOT_MARGIN


def outline(c, fn, color, *args, grow=1.6):
    """Draws a shape twice: a dark rim, then the colour."""
    fn(*args, grow, draw.shade(color, 0.4) + (255,))
    fn(*args, 0, color + (255,))


def frame(look, kind, index):
    """One frame, the art facing right."""
    w, h = canvas_size(look)
    c = draw.Canvas(w, h)
    fx, fy = foot_point(look)
    size = look["size"]
    body = tuple(look["body"])
    shape = look["shape"]
    t = index / {"walk": WALK_FRAMES, "death": DEATH_FRAMES, "special": SPECIAL_FRAMES}[kind]
    swing = math.sin(t * 2 * math.pi)
    bob = abs(math.cos(t * 2 * math.pi)) * size * 0.04 if kind == "walk" else 0
    fade = 1.0
    squash = 1.0
    tilt = 0.0
    if kind == "death":
        fade = 1.0 - 0.22 * index
        squash = 1.0 - 0.18 * index
        tilt = 0.35 * index
    alpha = int(255 * max(0.2, fade))

    def col(rgb, f=1.0):
        return draw.shade(rgb, f) + (alpha,)

    # ground shadow
    c.ellipse(fx - size * 0.42, fy - size * 0.09, fx + size * 0.42, fy + size * 0.07, fill=(0, 0, 0, int(60 * fade)))
    flying = shape == "flyer"
    base_y = fy - (size * 0.55 if flying else 0) - bob
    cx = fx
    if shape in ("biped", "caster", "brute", "imp"):
        leg = size * (0.3 if shape != "brute" else 0.26)
        for side, phase in ((-1, swing), (1, -swing)):
            lx = cx + side * size * 0.12 + phase * size * 0.12 * (kind == "walk")
            c.line([(cx + side * size * 0.1, base_y - leg), (lx, fy - 2)], col(body, 0.45), size * 0.11)
        torso_h = size * (0.5 if shape != "brute" else 0.62) * squash
        tw = size * (0.36 if shape != "brute" else 0.5)
        top = fy - leg - torso_h
        if shape == "caster":
            # a robe to the ground
            c.polygon([(cx - tw * 0.9, fy - 2), (cx + tw * 0.9, fy - 2), (cx + tw * 0.5, top), (cx - tw * 0.5, top)],
                      col(body, 0.45))
            c.polygon([(cx - tw * 0.8, fy - 4), (cx + tw * 0.8, fy - 4), (cx + tw * 0.45, top + 2), (cx - tw * 0.45, top + 2)],
                      col(body))
        else:
            c.ellipse(cx - tw - 1.5, top - 1.5, cx + tw + 1.5, fy - leg * 0.6 + 1.5, col(body, 0.4))
            c.ellipse(cx - tw, top, cx + tw, fy - leg * 0.6, col(body))
        # arms
        arm = size * 0.28
        for side, phase in ((-1, -swing), (1, swing)):
            ax = cx + side * tw * 0.9
            raise_ = -arm * 0.9 if kind == "special" else 0
            c.line([(ax, top + torso_h * 0.25), (ax + side * arm * 0.4 + phase * arm * 0.3, top + torso_h * 0.25 + arm * 0.8 + raise_)],
                   col(body, 0.7), size * 0.09)
        head_r = size * (0.2 if shape != "brute" else 0.17)
        hx, hy = cx + size * 0.06, top - head_r * 0.6
        c.ellipse(hx - head_r - 1.5, hy - head_r - 1.5, hx + head_r + 1.5, hy + head_r + 1.5, col(body, 0.4))
        c.ellipse(hx - head_r, hy - head_r, hx + head_r, hy + head_r, col(body, 1.15))
        if shape == "caster":
            c.polygon([(hx - head_r * 1.3, hy - head_r * 0.3), (hx + head_r * 1.3, hy - head_r * 0.3), (hx + head_r * 0.2, hy - head_r * 2.6)],
                      col(body, 0.6))
        if shape == "imp":
            for side in (-1, 1):
                c.polygon([(hx + side * head_r * 0.5, hy - head_r * 0.6), (hx + side * head_r * 1.2, hy - head_r * 1.8),
                           (hx + side * head_r * 0.1, hy - head_r * 0.9)], col((240, 220, 180)))
        eye(c, hx + head_r * 0.35, hy - head_r * 0.1, head_r * 0.28, alpha, kind)
    elif shape in ("quad", "bug"):
        bw, bh = size * 0.46, size * 0.24 * squash
        by = fy - size * 0.22
        for k, phase in enumerate((swing, -swing, -swing, swing)):
            lx = cx - bw * 0.6 + k * bw * 0.4
            c.line([(lx, by), (lx + phase * size * 0.08 * (kind == "walk"), fy - 2)], col(body, 0.45), size * 0.08)
        c.ellipse(cx - bw - 1.5, by - bh - 1.5 - bob, cx + bw + 1.5, by + bh + 1.5 - bob, col(body, 0.4))
        c.ellipse(cx - bw, by - bh - bob, cx + bw, by + bh - bob, col(body))
        if shape == "bug":
            c.line([(cx, by - bh - bob), (cx, by + bh - bob)], col(body, 0.5), 1.2)
            c.ellipse(cx - bw * 0.7, by - bh * 0.8 - bob, cx - bw * 0.1, by - bh * 0.2 - bob, col(body, 1.3))
        hr = size * 0.16
        hx, hy = cx + bw * 0.95, by - bh * 0.6 - bob
        c.ellipse(hx - hr - 1.5, hy - hr - 1.5, hx + hr + 1.5, hy + hr + 1.5, col(body, 0.4))
        c.ellipse(hx - hr, hy - hr, hx + hr, hy + hr, col(body, 1.15))
        if shape == "quad":
            c.polygon([(hx + hr * 0.6, hy + hr * 0.2), (hx + hr * 1.6, hy - hr * 0.1), (hx + hr * 0.8, hy + hr * 0.6)],
                      col((240, 230, 200)))
        eye(c, hx + hr * 0.35, hy - hr * 0.2, hr * 0.3, alpha, kind)
    elif shape == "flyer":
        bw, bh = size * 0.3, size * 0.2 * squash
        by = base_y
        flap = math.sin(t * 2 * math.pi) if kind != "death" else -0.6
        for side in (-1, 1):
            tip_y = by - size * 0.35 * flap
            c.polygon([(cx - bw * 0.2, by - bh * 0.3), (cx + side * 0 - size * 0.5, tip_y - size * 0.1),
                       (cx - size * 0.42, tip_y + size * 0.12), (cx + bw * 0.3, by + bh * 0.2)] if side < 0 else
                      [(cx + bw * 0.2, by - bh * 0.3), (cx + size * 0.2, tip_y - size * 0.25),
                       (cx + size * 0.28, tip_y - size * 0.02), (cx - bw * 0.1, by + bh * 0.3)],
                      col(body, 0.75 if side < 0 else 0.9))
        c.ellipse(cx - bw - 1.5, by - bh - 1.5, cx + bw + 1.5, by + bh + 1.5, col(body, 0.4))
        c.ellipse(cx - bw, by - bh, cx + bw, by + bh, col(body))
        c.polygon([(cx - bw * 0.8, by), (cx - bw * 1.9, by + bh * 0.4), (cx - bw * 0.9, by + bh * 0.6)], col(body, 0.7))
        hr = size * 0.14
        hx, hy = cx + bw * 1.05, by - bh * 0.5
        c.ellipse(hx - hr - 1.5, hy - hr - 1.5, hx + hr + 1.5, hy + hr + 1.5, col(body, 0.4))
        c.ellipse(hx - hr, hy - hr, hx + hr, hy + hr, col(body, 1.15))
        eye(c, hx + hr * 0.35, hy - hr * 0.2, hr * 0.32, alpha, kind)
    else:  # wisp
        r = size * 0.3 * squash
        by = fy - size * 0.45 - bob * 2
        for k in range(4):
            rr = r * (1.3 - k * 0.2)
            c.ellipse(cx - rr, by - rr, cx + rr, by + rr, draw.shade(body, 0.7 + k * 0.15) + (int(alpha * (0.35 + k * 0.2)),))
        c.polygon([(cx - r * 0.7, by + r * 0.4), (cx + r * 0.7, by + r * 0.4), (cx - swing * r * 0.5, fy - 4)], col(body, 0.9))
        eye(c, cx + r * 0.3, by - r * 0.15, r * 0.22, alpha, kind)
    if kind == "special":
        glow = int(160 * (1 - abs(t - 0.5) * 2) + 60)
        r = size * (0.25 + 0.2 * t)
        c.ellipse(cx - r, fy - size * 0.9 - r * 0.5, cx + r, fy - size * 0.9 + r * 0.5, None, (255, 240, 150, glow), 2)
    im = c.result()
    if tilt:
        im = im.rotate(-math.degrees(tilt) * 0.5, center=(fx, fy), resample=3)
    return im


def eye(c, x, y, r, alpha, kind):
    if kind == "death":
        c.line([(x - r, y - r), (x + r, y + r)], (30, 20, 10, alpha), max(0.8, r * 0.4))
        c.line([(x - r, y + r), (x + r, y - r)], (30, 20, 10, alpha), max(0.8, r * 0.4))
        return
    c.ellipse(x - r, y - r, x + r, y + r, (255, 250, 230, alpha))
    c.ellipse(x - r * 0.2, y - r * 0.5, x + r * 0.7, y + r * 0.5, (30, 20, 10, alpha))


def add_unit(image, unit):
    """The unit's group in a preloaded image: walk, death, special and the
    root marker at the foot point."""
    look = unit["look"]
    g = unit["group"]
    fx, fy = foot_point(look)
    image.rect(g + "/foot", fx, fy)
    for i in range(WALK_FRAMES):
        image.atlas_frame("%s/walk/%02d" % (g, i), frame(look, "walk", i))
    for i in range(DEATH_FRAMES):
        image.atlas_frame("%s/death/%02d" % (g, i), frame(look, "death", i))
    if unit.get("special"):
        for i in range(SPECIAL_FRAMES):
            image.atlas_frame("%s/special/%02d" % (g, i), frame(look, "special", i))
