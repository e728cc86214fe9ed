"""The two start-up logos: an invented studio mark and an invented engine mark."""
import math

from content import draw, pictures

LOGO_W, LOGO_H = 640, 400


def render(env, name):
    c = draw.Canvas(LOGO_W, LOGO_H, draw.SCREEN_SS)
    cx, cy = LOGO_W / 2, LOGO_H / 2 - 40
    if name == "studio":
        # A thorny ring with a berry: "Thornfield Hollow"
        for i in range(24):
            a = math.radians(i * 15)
            x0, y0 = cx + 92 * math.cos(a), cy + 92 * math.sin(a)
            x1, y1 = cx + 112 * math.cos(a + 0.12), cy + 112 * math.sin(a + 0.12)
            c.line([(x0, y0), (x1, y1)], draw.MOSS + (255,), 5)
        c.ellipse(cx - 96, cy - 96, cx + 96, cy + 96, None, draw.MOSS + (255,), 10)
        c.ellipse(cx - 50, cy - 50, cx + 50, cy + 50, draw.BERRY + (255,))
        c.ellipse(cx - 30, cy - 36, cx - 8, cy - 14, (230, 140, 170, 255))
        c.polygon([(cx, cy - 52), (cx + 30, cy - 82), (cx + 8, cy - 48)], draw.LEAF + (255,))
        c.text(cx, LOGO_H - 60, "THORNFIELD HOLLOW", 34, draw.PARCHMENT + (255,))
    else:
        # A gear around a lantern flame: "Emberwheel Engine"
        teeth = 12
        pts = []
        for i in range(teeth * 2):
            r = 110 if i % 2 == 0 else 90
            for k in (-0.09, 0.09):
                a = math.radians(i * 180 / teeth) + k
                pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        c.polygon(pts, draw.STONE + (255,))
        c.ellipse(cx - 70, cy - 70, cx + 70, cy + 70, (40, 36, 34, 255))
        c.polygon([(cx, cy - 52), (cx + 30, cy + 10), (cx, cy + 44), (cx - 30, cy + 10)], (240, 140, 40, 255))
        c.polygon([(cx, cy - 20), (cx + 14, cy + 14), (cx, cy + 32), (cx - 14, cy + 14)], (255, 220, 120, 255))
        c.text(cx, LOGO_H - 60, "EMBERWHEEL ENGINE", 34, (220, 220, 220, 255))
    im = c.result()
    return {"logo/%s.png" % name: pictures.png_bytes(im), "preview:logos/%s.png" % name: pictures.png_bytes(im)}
