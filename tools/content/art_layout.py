"""Picture recipes of the screen layouts: recipe(w, h, params, rng) -> picture."""
import math

from PIL import Image, ImageDraw, ImageFilter

from content import art_towers, art_ui, draw, labels

SCREEN_W, SCREEN_H = 1024, 768
# Points where the main menu's effects play: the scene puts a light under each.
MENU_LIGHTS = ((335, 28), (509, 100), (366, 640))
MENU_FOG = (401, 263)


def col(p, key, default):
    return tuple(p.get(key, default))


def r_panel(w, h, p, rng):
    frame = col(p, "frame", draw.WOOD)
    if p.get("fill") == "none":
        c = draw.Canvas(w, h)
        c.rounded(0, 0, w, h, 18, None, draw.shade(frame, 0.6) + (255,), 10)
        c.rounded(3, 3, w - 3, h - 3, 16, None, frame + (255,), 5)
        return c.result()
    im = draw.shadowed(draw.panel(w, h, frame=frame), (0, 4), 4, 90)
    if p.get("icons"):
        c = art_ui.draw_canvas(im)
        for kind, cx, cy, size in p["icons"]:
            art_ui.glyph(c, kind, cx, cy, size / 2, draw.PARCHMENT)
        im = c.result()
    return im


def r_stud(w, h, p, rng):
    """A panel's corner stud, lit or not."""
    c = draw.Canvas(w, h)
    r = min(w, h) * 0.3
    color = draw.shade(draw.GOLD, 1.2) if p.get("lit") else draw.GOLD
    c.ellipse(w / 2 - r, h / 2 - r, w / 2 + r, h / 2 + r, color + (255,), draw.shade(draw.GOLD, 0.5) + (255,), 1)
    return c.result()


def r_hudbar(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.rounded(0, -20, w, h, 20, draw.shade(draw.WOOD, 0.55) + (255,))
    c.gradient(3, 0, w - 3, h - 3, draw.WOOD_LIGHT + (255,), draw.WOOD + (255,), 18)
    for x in HUD_DIVIDERS:
        c.line([(x, 8), (x, h - 8)], draw.shade(draw.WOOD, 0.6) + (255,), 2)
    im = c.result()
    for x, pic in zip(HUD_ICONS, (draw.gem(28), heart(28), draw.coin(28))):
        im.alpha_composite(pic, (x, (h - pic.height) // 2))
    return im


# The HUD bar: counter icons and dividers (picture x), matching the text places of "nq/ui".
# The wave counter ("Wave 12/12") needs the whole last field: it has no icon.
HUD_ICONS = (10, 156, 342)
HUD_DIVIDERS = (148, 334, 508)


def r_spellbar(w, h, p, rng):
    """The spell panel with a socket under every spell slot."""
    im = r_panel(w, h, p, rng)
    c = art_ui.draw_canvas(im)
    for x, y, size in p["sockets"]:
        c.ellipse(x - 1, y - 1, x + size + 1, y + size + 1, draw.shade(draw.WOOD, 0.45) + (255,))
        c.ellipse(x + 3, y + 3, x + size - 3, y + size - 3, (60, 44, 30, 255))
    return c.result()


def heart(d):
    c = draw.Canvas(d, d)
    art_ui.glyph(c, "heart", d / 2, d / 2, d * 0.45, (210, 50, 60))
    return c.result()


def r_rows(w, h, p, rng):
    """Parchment strips under the rows of a list."""
    c = draw.Canvas(w, h, draw.SCREEN_SS)
    for k in range(p["count"]):
        y = k * p["pitch"] + 4
        c.rounded(0, y, w, y + p["height"], 10, draw.shade(draw.WOOD, 0.7) + (255,))
        c.gradient(2, y + 2, w - 2, y + p["height"] - 2, draw.LEATHER_LIGHT + (255,), draw.LEATHER + (255,), 8)
    return c.result()


def r_plaque(w, h, p, rng):
    """A dark plate under a text that lies on a light background."""
    c = draw.Canvas(w, h, draw.SCREEN_SS)
    c.rounded(0, 0, w, h, min(h / 2, 18), draw.shade(draw.WOOD, 0.8) + (255,))
    c.gradient(3, 3, w - 3, h - 3, draw.LEATHER_LIGHT + (255,), draw.LEATHER + (255,), min(h / 2, 18) - 3)
    im = c.result()
    # A counter's plaque says what it counts: a gem or a star at its left end.
    icon = {"gem": draw.gem, "star": draw.star}.get(p.get("icon"))
    if icon:
        size = int(h * 0.56)
        im.alpha_composite(icon(size), (int(h * 0.24), (h - size) // 2))
    return draw.shadowed(im, (0, 3), 3, 90)


def r_input(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.rounded(0, 0, w, h, 10, draw.shade(draw.WOOD, 0.9) + (255,))
    c.gradient(3, 3, w - 3, h - 3, (30, 22, 16, 255), (52, 38, 28, 255), 8)
    return c.result()


def r_button(w, h, p, rng):
    color = col(p, "color", draw.WOOD)
    state = p.get("state", "normal")
    im = draw.button(w, h, color, pressed=state == "pressed", lit=state == "over")
    g = p.get("glyph")
    if g:
        c = art_ui.draw_canvas(im)
        if g == "gem":
            c.paste(art_ui.draw_canvas(draw.gem(int(h * 0.6))), w / 2 - h * 0.3, h * 0.2)
        else:
            art_ui.glyph(c, g, w / 2, h / 2, h * 0.28, (255, 246, 220))
        im = c.result()
    return im


def r_round(w, h, p, rng):
    color = col(p, "color", draw.WOOD)
    im = draw.round_button(w, color, lit=p.get("lit", False))
    g = p.get("glyph", "none")
    if g != "none":
        c = art_ui.draw_canvas(im)
        art_ui.glyph(c, g, w / 2, h / 2, w * 0.26, (255, 246, 220))
        im = c.result()
    return im


def r_glyph(w, h, p, rng):
    c = draw.Canvas(w, h)
    if p.get("back"):
        c.ellipse(0, 0, w, h, (40, 28, 18, 200))
    art_ui.glyph(c, p["kind"], w / 2, h / 2, min(w, h) * 0.38, col(p, "color", draw.GOLD))
    return c.result()


def r_shadow(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.rounded(6, 10, w - 6, h - 2, min(w, h) / 2.6, (20, 12, 6, p.get("alpha", 120)))
    return c.result().filter(ImageFilter.GaussianBlur(3))


def r_title(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.text(w / 2 + 3, h * 0.36 + 4, "BRAMBLECOAT", h * 0.3, (30, 20, 10, 160))
    c.text(w / 2, h * 0.36, "BRAMBLECOAT", h * 0.3, draw.PARCHMENT + (255,))
    c.text(w / 2 + 3, h * 0.74 + 4, "WARS", h * 0.3, (30, 20, 10, 160))
    c.text(w / 2, h * 0.74, "WARS", h * 0.3, draw.GOLD + (255,))
    for k in range(9):
        x = w * 0.08 + k * w * 0.105
        c.line([(x, h * 0.57), (x + w * 0.05, h * 0.53)], draw.MOSS + (255,), 3)
    return c.result()


def r_flag(w, h, p, rng):
    c = draw.Canvas(w, h)
    cols = [tuple(x) for x in p["colors"]]
    c.rounded(0, 0, w, h, 5, draw.WOOD_DARK + (255,))
    for k, cc in enumerate(cols):
        c.d.rectangle(c.box(2, 2 + k * (h - 4) / 3, w - 2, 2 + (k + 1) * (h - 4) / 3), fill=cc + (255,))
    return c.result()


def r_strip(w, h, p, rng):
    c = draw.Canvas(w, h, 2)
    c.gradient(0, 0, w, h, draw.shade(draw.WOOD, 0.8) + (230,), draw.WOOD_DARK + (250,))
    c.line([(0, 1), (w, 1)], draw.GOLD + (255,), 2)
    return c.result()


# Margin of the map view on an episode's page.
CHAPTER_MAP_MARGIN = 22


def r_chapter(w, h, p, rng):
    """An episode's page: a framed picture of its land, with the roads of its
    first map (`roads`, in map space) in a framed view below the hills."""
    e = p["episode"]
    ground = [(104, 146, 64), (92, 104, 62), (214, 224, 236)][e]
    sky = [(150, 190, 220), (150, 150, 130), (170, 190, 220)][e]
    c = draw.Canvas(w, h)
    c.rounded(0, 0, w, h, 16, draw.shade(draw.WOOD, 0.5) + (255,))
    c.gradient(8, 8, w - 8, h * 0.55, sky + (255,), draw.shade(sky, 1.2) + (255,), 10)
    c.gradient(8, h * 0.5, w - 8, h - 8, ground + (255,), draw.shade(ground, 0.75) + (255,), 10)
    for k in range(3):
        x0 = 8 + k * (w - 16) / 3
        c.polygon([(x0, h * 0.55), (x0 + (w - 16) / 6, h * (0.2 + 0.08 * k)), (x0 + (w - 16) / 3, h * 0.55)],
                  draw.shade(ground, 0.6 + 0.1 * k) + (255,))
    road = (176, 140, 96, 255)
    if p.get("roads"):
        # the play area (1024 x 768) scaled into the lower part of the page
        vw = w - 2 * CHAPTER_MAP_MARGIN
        vh = round(vw * 768 / 1024)
        vx, vy = CHAPTER_MAP_MARGIN, h - CHAPTER_MAP_MARGIN - vh
        c.rounded(vx - 4, vy - 4, vx + vw + 4, vy + vh + 4, 6, draw.shade(draw.WOOD, 0.7) + (255,))
        view = draw.Canvas(vw, vh, fill=draw.shade(ground, 0.9) + (255,))
        scale = vw / 1024
        for colour, width in ((draw.shade(road[:3], 0.6) + (255,), 9), (road, 6)):
            for line in p["roads"]:
                view.line([(x * scale, y * scale) for x, y in line], colour, width)
        c.paste(view, vx, vy)
    else:
        c.line([(w * 0.2, h - 20), (w * 0.45, h * 0.75), (w * 0.6, h * 0.85), (w * 0.8, h * 0.62)], road, 10)
    for k in range(e + 1):
        c.paste(art_ui.draw_canvas(draw.star(30)), w / 2 - 15 * (e + 1) + k * 30, 20)
    c.rounded(4, 4, w - 4, h - 4, 14, None, draw.GOLD + (255,), 2)
    return c.result()


def r_ribbon(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.polygon([(0, 0), (w, 0), (w - h * 0.4, h / 2), (w, h), (0, h)], draw.shade(draw.BERRY, 0.6) + (255,))
    c.polygon([(2, 2), (w - 4, 2), (w - h * 0.4 - 2, h / 2), (w - 4, h - 2), (2, h - 2)], draw.BERRY + (255,))
    c.paste(art_ui.draw_canvas(draw.star(int(h * 0.7))), h * 0.15, h * 0.15)
    return c.result()


def r_skulls(w, h, p, rng):
    c = draw.Canvas(w, h)
    for k in range(3):
        art_ui.glyph(c, "skull", h / 2 + k * (w - h) / 2, h / 2, h * 0.4, (220, 210, 190))
    return c.result()


def r_hardcore(w, h, p, rng):
    locked = p.get("locked", False)
    c = draw.Canvas(w, h)
    c.ellipse(0, 0, w, h, draw.WOOD_DARK + (255,))
    c.ellipse(5, 5, w - 5, h - 5, ((90, 80, 80) if locked else (130, 30, 40)) + (255,))
    art_ui.glyph(c, "lock" if locked else "skull", w / 2, h / 2, w * 0.3, (236, 226, 200))
    return c.result()


def r_levelplate(w, h, p, rng):
    kind = p["kind"]
    # The next level's number is drawn bright green by the program: its plate
    # is dark leather in a moss rim, so that the number glows on it.
    color = {"super": draw.GOLD, "complete": draw.MOSS, "incomplete": draw.LEATHER_LIGHT, "locked": (110, 104, 96),
             "new": draw.BERRY}[kind]
    rim = draw.MOSS if kind == "incomplete" else draw.shade(color, 0.45)
    light = 1.1 if kind == "super" else 1.3
    c = draw.Canvas(w, h)
    c.rounded(0, 0, w, h, 20, rim + (255,))
    c.gradient(4, 4, w - 4, h - 4, draw.shade(color, light) + (255,), draw.shade(color, 0.9 if kind == "super" else 1.0) + (255,), 17)
    if kind == "locked":
        art_ui.glyph(c, "lock", w / 2, h / 2, w * 0.26, (70, 64, 58))
    if kind == "super":
        # the program hides the number of a three-star plate: a star on a dark seal stands for it
        c.ellipse(w / 2 - 30, h / 2 - 34, w / 2 + 30, h / 2 + 26, draw.shade(draw.WOOD, 0.8) + (255,))
        c.paste(art_ui.draw_canvas(draw.star(48)), w / 2 - 24, h / 2 - 28)
    return c.result()


def r_seal(w, h, p, rng):
    """A round berry seal for the "new" mark; its text is drawn over it."""
    c = draw.Canvas(w, h)
    c.ellipse(0, 0, w, h, draw.shade(draw.BERRY, 0.5) + (255,))
    c.ellipse(3, 3, w - 3, h - 3, draw.shade(draw.BERRY, 1.25) + (255,))
    c.ellipse(6, 6, w - 6, h - 6, draw.BERRY + (255,))
    return c.result()


def r_starsplate(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.rounded(0, 0, w, h, h / 2, (40, 28, 18, 200))
    return c.result()


def r_star(w, h, p, rng):
    return draw.star(w, empty=p.get("empty", False))


def r_tab(w, h, p, rng):
    lit = p.get("lit", False)
    c = draw.Canvas(w, h)
    base = draw.WOOD_LIGHT if lit else draw.LEATHER_LIGHT
    c.rounded(0, 0, w, h + 20, 16, draw.shade(draw.WOOD, 0.6) + (255,))
    c.gradient(3, 3, w - 3, h, draw.shade(base, 1.1) + (255,), base + (255,), 14)
    return c.result()


def r_header(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.rounded(0, 0, w, h, 22, draw.shade(draw.WOOD, 0.55) + (255,))
    c.gradient(4, 4, w - 4, h - 4, draw.WOOD_LIGHT + (255,), draw.WOOD + (255,), 18)
    for k in range(12):
        x = 20 + k * (w - 40) / 11
        c.ellipse(x - 5, 6, x + 5, 16, draw.MOSS + (255,))
    im = c.result()
    # A gem beside the gem count says what it counts.
    if "gem" in p:
        x, y, size = p["gem"]
        im.alpha_composite(draw.gem(size), (x, y))
    return draw.shadowed(im, (0, 4), 3, 90)


def r_scrollbar(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.rounded(w * 0.3, 0, w * 0.7, h, w * 0.2, draw.shade(draw.WOOD, 0.5) + (255,))
    c.rounded(w * 0.36, 4, w * 0.64, h - 4, w * 0.14, draw.WOOD_DARK + (255,))
    return c.result()


def r_plate(w, h, p, rng):
    return draw.panel(w, h, radius=14, border=labels.PLATE_FRAME)


def r_gem(w, h, p, rng):
    return draw.gem(w)


def r_icon(w, h, p, rng, lines=None):
    c = draw.Canvas(w, h)
    c.ellipse(0, 0, w, h, draw.WOOD_DARK + (255,))
    c.ellipse(3, 3, w - 3, h - 3, draw.PARCHMENT + (255,))
    kind = p["kind"]
    if kind == "tower":
        line = lines[p["line"]]
        lw, lh = line["canvas"]
        proto = line["protos"][0]
        if line["rotating"]:
            im = art_towers.turret_frame(lw, lh, proto["tint"], 0, 20, 0)
        else:
            im = art_towers.building_frame(line["look"], lw, lh, proto["tint"], 0, "idle", 0)
        s = (w - 12) / max(lw, lh)
        thumb = im.resize((int(lw * s), int(lh * s)), Image.LANCZOS)
        c.paste(art_ui.draw_canvas(thumb), (w - thumb.width) / 2, (h - thumb.height) / 2)
    elif kind == "coin":
        c.paste(art_ui.draw_canvas(draw.coin(int(w * 0.6))), w * 0.2, h * 0.2)
    else:
        art_ui.glyph(c, kind, w / 2, h / 2, w * 0.3, {"flame": (230, 100, 40), "ring": (90, 150, 60),
                                                     "drop": (130, 200, 60), "up2": (230, 170, 60),
                                                     "beam": (120, 150, 230), "heart": (210, 50, 60),
                                                     "fast": (120, 76, 42)}.get(kind, draw.WOOD))
    return c.result()


def r_price(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.rounded(0, 0, w, h, h / 2, draw.shade(draw.MOSS, 0.5) + (255,))
    c.gradient(3, 3, w - 3, h - 3, draw.LEAF + (255,), draw.MOSS + (255,), h / 2 - 3)
    price = {1: "$0.99", 2: "$1.99", 3: "$4.99", 4: "$9.99", 5: "$19.99"}[p["amount"]]
    c.text(w / 2, h / 2, price, h * 0.42, (255, 255, 240, 255), serif=False)
    return c.result()


def r_banner(w, h, p, rng):
    color = col(p, "color", draw.MOSS)
    c = draw.Canvas(w, h)
    c.polygon([(0, h * 0.2), (w * 0.12, h * 0.2), (w * 0.12, h * 0.9), (w * 0.05, h * 0.7), (0, h * 0.9)], draw.shade(color, 0.6) + (255,))
    c.polygon([(w, h * 0.2), (w * 0.88, h * 0.2), (w * 0.88, h * 0.9), (w * 0.95, h * 0.7), (w, h * 0.9)], draw.shade(color, 0.6) + (255,))
    c.rounded(w * 0.08, 0, w * 0.92, h * 0.8, 10, draw.shade(color, 0.5) + (255,))
    c.gradient(w * 0.08 + 3, 3, w * 0.92 - 3, h * 0.8 - 3, draw.shade(color, 1.3) + (255,), color + (255,), 8)
    for k in range(3):
        c.paste(art_ui.draw_canvas(draw.star(int(h * 0.4))), w / 2 - h * 0.6 + k * h * 0.4, h * 0.18)
    return c.result()


def r_badge(w, h, p, rng):
    return art_ui.badge(w, col(p, "color", draw.GOLD), "skull")


def r_sliderback(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.rounded(0, 0, w, h, h / 2, draw.shade(draw.WOOD, 0.5) + (255,))
    c.gradient(3, 3, w - 3, h - 3, draw.WOOD_DARK + (255,), draw.WOOD + (255,), h / 2 - 3)
    return c.result()


def r_sliderbar(w, h, p, rng):
    c = draw.Canvas(w, h)
    c.rounded(0, 0, w, h, h / 2, draw.shade(draw.LEAF, 0.5) + (255,))
    c.gradient(2, 2, w - 2, h - 2, draw.shade(draw.LEAF, 1.3) + (255,), draw.LEAF + (255,), h / 2 - 2)
    return c.result()


def r_side(w, h, p, rng):
    """The strips beside the 4:3 play area on wide screens: a bramble hedge."""
    c = draw.Canvas(w, h, 2)
    c.gradient(0, 0, w, h, (40, 60, 30, 255), (24, 36, 20, 255))
    for _ in range(90):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        r = rng.uniform(10, 26)
        c.ellipse(x - r, y - r, x + r, y + r, draw.shade(draw.MOSS, rng.uniform(0.5, 1.1)) + (255,))
    for _ in range(24):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        c.ellipse(x - 4, y - 4, x + 4, y + 4, draw.BERRY + (255,))
    inner = w - 1 if p["side"] == "l" else 0
    c.line([(inner, 0), (inner, h)], draw.WOOD_DARK + (255,), 3)
    return c.result()


def r_scene(w, h, p, rng):
    if p["scene"] == "menu":
        return scene_menu(w, h, rng)
    return scene_map(w, h, rng)


def scene_menu(w, h, rng):
    """Dusk over a bramble hollow: a cottage with lit windows, a lantern post
    and mist over a pond, where the menu's effects play."""
    c = draw.Canvas(w, h, 2)
    c.gradient(0, 0, w, h * 0.6, (40, 46, 90, 255), (210, 130, 100, 255))
    c.gradient(0, h * 0.55, w, h, (56, 82, 44, 255), (30, 46, 28, 255))
    for k in range(40):
        x, y = rng.uniform(0, w), rng.uniform(0, h * 0.3)
        c.ellipse(x - 1, y - 1, x + 1, y + 1, (255, 250, 220, 200))
    # hills
    for k, (y, f) in enumerate(((0.5, 0.45), (0.56, 0.6))):
        pts = [(0, h)] + [(x, h * y - 40 * math.sin(x / w * 5 + k)) for x in range(0, w + 32, 32)] + [(w, h)]
        c.polygon(pts, draw.shade(draw.MOSS_DARK, f + 0.4) + (255,))
    # pond with mist (the fog effect plays over it)
    fx, fy = MENU_FOG
    c.ellipse(fx - 150, fy - 24, fx + 130, fy + 56, (60, 90, 110, 255))
    c.ellipse(fx - 120, fy - 10, fx + 50, fy + 24, (120, 150, 170, 255))
    # cottage and its tower with a lit window (a light under a menu point)
    lx, ly = MENU_LIGHTS[1]
    c.rounded(lx + 40, ly + 150, lx + 260, ly + 330, 8, (110, 84, 62, 255))
    c.polygon([(lx + 20, ly + 160), (lx + 280, ly + 160), (lx + 150, ly + 70)], (120, 60, 56, 255))
    for dx in (80, 180):
        c.rounded(lx + dx, ly + 200, lx + dx + 34, ly + 240, 4, (255, 210, 120, 255))
    c.rounded(lx - 36, ly - 30, lx + 36, ly + 250, 6, (96, 72, 56, 255))
    c.polygon([(lx - 54, ly - 20), (lx + 54, ly - 20), (lx, ly - 90)], (110, 50, 50, 255))
    c.rounded(lx - 12, ly - 16, lx + 12, ly + 16, 5, (255, 210, 120, 255))
    # a lantern hanging from a branch at the top
    x, y = MENU_LIGHTS[0]
    c.line([(0, 10), (x + 40, 0), (x - 10, 14)], (50, 36, 26, 255), 10)
    c.line([(x, 0), (x, y - 10)], (40, 30, 20, 255), 2)
    c.rounded(x - 10, y - 12, x + 10, y + 14, 4, (255, 220, 130, 255), (60, 40, 24, 255), 2)
    # lantern post by the path
    x, y = MENU_LIGHTS[2]
    c.line([(0, h), (x - 60, h * 0.8), (x + 40, h * 0.72), (w * 0.6, h * 0.62)], (150, 120, 84, 255), 40)
    c.rounded(x - 4, y - 4, x + 4, y + 110, 2, (50, 36, 26, 255))
    c.rounded(x - 12, y - 14, x + 12, y + 14, 4, (255, 220, 130, 255), (60, 40, 24, 255), 2)
    # bramble hedges at the sides
    for _ in range(80):
        side = rng.random()
        x = rng.uniform(0, 180) if side < 0.5 else rng.uniform(w - 120, w)
        y = rng.uniform(h * 0.45, h)
        r = rng.uniform(18, 40)
        c.ellipse(x - r, y - r, x + r, y + r, draw.shade(draw.MOSS_DARK, rng.uniform(0.6, 1.2)) + (255,))
    return c.result()


def scene_map(w, h, rng):
    """Parchment with a drawn land, the background of the campaign screens:
    hills, woods, a dotted road across and a compass rose."""
    c = draw.Canvas(w, h, 2)
    c.gradient(0, 0, w, h, (238, 222, 184, 255), (214, 190, 140, 255))
    for _ in range(40):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        r = rng.uniform(40, 110)
        c.ellipse(x - r, y - r, x + r, y + r, (200, 176, 126, 28))
    ink = (120, 92, 64)
    for _ in range(26):
        x, y = rng.uniform(40, w - 80), rng.uniform(60, h - 60)
        for k in range(3):
            c.polygon([(x + k * 14, y), (x + 7 + k * 14, y - 14), (x + 14 + k * 14, y)], ink + (110,))
    for _ in range(18):
        x, y = rng.uniform(40, w - 40), rng.uniform(60, h - 60)
        for k in range(4):
            ox, oy = rng.uniform(-14, 14), rng.uniform(-8, 8)
            c.ellipse(x + ox - 7, y + oy - 7, x + ox + 7, y + oy + 7, (96, 120, 70, 120))
    # a road wandering from the left edge to the right one, drawn as dots
    y = rng.uniform(h * 0.3, h * 0.7)
    pts = []
    for k in range(9):
        x = 40 + k * (w - 80) / 8
        y = min(h - 80, max(80, y + rng.uniform(-60, 60)))
        pts.append((x, y))
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        n = int(math.hypot(x1 - x0, y1 - y0) / 14)
        for i in range(n):
            t = i / n
            x, yy = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            c.ellipse(x - 2.5, yy - 2.5, x + 2.5, yy + 2.5, (150, 60, 50, 200))
    # compass rose
    cx, cy, r = w - 90, h - 90, 46
    c.ellipse(cx - r, cy - r, cx + r, cy + r, None, ink + (160,), 2)
    for k in range(4):
        a = math.radians(k * 90)
        tip = (cx + math.cos(a) * r * 1.15, cy + math.sin(a) * r * 1.15)
        side1 = (cx + math.cos(a + 1.3) * r * 0.22, cy + math.sin(a + 1.3) * r * 0.22)
        side2 = (cx + math.cos(a - 1.3) * r * 0.22, cy + math.sin(a - 1.3) * r * 0.22)
        c.polygon([tip, side1, (cx, cy), side2], (draw.BERRY if k == 3 else ink) + (200,))
    c.rounded(10, 10, w - 10, h - 10, 20, None, draw.WOOD + (255,), 6)
    return c.result()


RECIPES = {name[2:]: fn for name, fn in globals().items() if name.startswith("r_")}
JPEG_RECIPES = ("scene",)
