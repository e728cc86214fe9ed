"""Level maps: the background with the roads painted along the links, tree
tops drawn above the units, and effect anchors."""
import math

from PIL import Image, ImageDraw, ImageFilter

from content import draw, framework, levelgeom, pictures

BG_X, BG_W, BG_H = -171, 1366, 768
SS = draw.SCREEN_SS
TREE_TOP = 120        # tree-top picture size
TREE_CLEAR_ROAD = 80
TREE_CLEAR_SPOT = 84
MAX_TREES = 10

THEMES = {
    "meadow": dict(ground=(104, 146, 64), ground2=(134, 168, 74), road=(178, 146, 100), edge=(120, 96, 60),
                   leaf=(58, 112, 46), leaf2=(92, 150, 60), trunk=(92, 62, 38), flower=[(236, 226, 120), (230, 140, 170), (250, 250, 240)],
                   pool=None),
    "swamp": dict(ground=(92, 104, 62), ground2=(116, 120, 70), road=(140, 116, 84), edge=(84, 70, 48),
                  leaf=(70, 92, 48), leaf2=(108, 122, 60), trunk=(70, 56, 40), flower=[(200, 180, 90), (150, 170, 110)],
                  pool=(62, 92, 88)),
    "frost": dict(ground=(214, 224, 236), ground2=(240, 244, 250), road=(168, 160, 150), edge=(120, 116, 112),
                  leaf=(40, 76, 64), leaf2=(226, 236, 244), trunk=(76, 60, 48), flower=[(180, 200, 230), (255, 255, 255)],
                  pool=(150, 186, 214)),
}


def smooth_noise(rng, w, h, cells_x, cells_y):
    small = Image.new("L", (cells_x, cells_y))
    small.putdata([rng.randrange(256) for _ in range(cells_x * cells_y)])
    return small.resize((w, h), Image.BICUBIC)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def to_px(x, y):
    """Map coordinates to background pixels (at the drawing scale)."""
    return ((x - BG_X) * SS, y * SS)


def render(env, name, theme_name, map_def, spots, trees, fx_points):
    rng = env.rng("map/" + name)
    theme = THEMES[theme_name]
    graph = levelgeom.RoadGraph(map_def)
    W, H = BG_W * SS, BG_H * SS

    # Ground: two colours blended by smooth noise.
    noise = smooth_noise(rng, W, H, 28, 16)
    ground = Image.composite(Image.new("RGB", (W, H), theme["ground2"]), Image.new("RGB", (W, H), theme["ground"]),
                             noise)
    d = ImageDraw.Draw(ground)
    # Pools (swamp, frost) away from the roads.
    samples = graph.samples(12.0)
    if theme["pool"]:
        for _ in range(40):
            x, y = rng.uniform(-150, 1170), rng.uniform(40, 740)
            if graph.distance_to_road(x, y, samples) < 110 or any(math.hypot(x - sx, y - sy) < 90 for sx, sy in spots):
                continue
            rx, ry = rng.uniform(30, 70), rng.uniform(16, 34)
            px, py = to_px(x, y)
            d.ellipse([px - rx * SS - 6, py - ry * SS - 6, px + rx * SS + 6, py + ry * SS + 6], fill=mix(theme["pool"], (40, 40, 30), 0.4))
            d.ellipse([px - rx * SS, py - ry * SS, px + rx * SS, py + ry * SS], fill=theme["pool"])
            d.ellipse([px - rx * SS * 0.5, py - ry * SS * 0.6, px + rx * SS * 0.1, py - ry * SS * 0.2],
                      fill=mix(theme["pool"], (255, 255, 255), 0.35))
    # Grass tufts and flowers.
    for _ in range(2600):
        x, y = rng.uniform(0, W), rng.uniform(0, H)
        c = mix(theme["ground"], (20, 30, 10), rng.uniform(0.1, 0.35)) if rng.random() < 0.7 else rng.choice(theme["flower"])
        r = rng.uniform(1.5, 3.5) * SS / 2
        d.ellipse([x - r, y - r, x + r, y + r], fill=c)

    # Roads: a darker verge under the dirt, both softened.
    def road_mask(half):
        m = Image.new("L", (W, H), 0)
        md = ImageDraw.Draw(m)
        for link in graph.links:
            pts = [to_px(x, y) for x, y in graph.curve(link, 64)]
            md.line(pts, fill=255, width=int(2 * half * SS), joint="curve")
            for x, y in (pts[0], pts[-1]):
                md.ellipse([x - half * SS, y - half * SS, x + half * SS, y + half * SS], fill=255)
        return m.filter(ImageFilter.GaussianBlur(3 * SS))

    edge = road_mask(levelgeom.ROAD_HALF + 6)
    ground = Image.composite(Image.new("RGB", (W, H), theme["edge"]), ground, edge)
    dirt_noise = smooth_noise(rng, W, H, 90, 50)
    dirt = Image.composite(Image.new("RGB", (W, H), mix(theme["road"], (255, 255, 255), 0.12)),
                           Image.new("RGB", (W, H), mix(theme["road"], (0, 0, 0), 0.1)), dirt_noise)
    ground = Image.composite(dirt, ground, road_mask(levelgeom.ROAD_HALF))
    d = ImageDraw.Draw(ground)
    # Pebbles and wheel ruts on the road.
    for link in graph.links:
        for x, y in graph.curve(link, 40):
            for _ in range(3):
                ox, oy = rng.uniform(-24, 24), rng.uniform(-24, 24)
                px, py = to_px(x + ox, y + oy)
                r = rng.uniform(1, 2.6) * SS
                d.ellipse([px - r, py - r, px + r, py + r], fill=mix(theme["edge"], theme["road"], 0.4))

    # Soil patches under the build spots (the spot pictures are drawn by the program).
    for sx, sy in spots:
        px, py = to_px(sx, sy)
        r = 40 * SS
        d.ellipse([px - r, py - r * 0.75, px + r, py + r * 0.75], fill=mix(theme["ground"], (40, 30, 20), 0.35))

    # Forest along the sides and trunks and shadows of the trees.
    for x, y in trees:
        px, py = to_px(x, y)
        d.ellipse([px - 46 * SS, py + 30 * SS, px + 46 * SS, py + 52 * SS], fill=mix(theme["ground"], (0, 0, 0), 0.35))
        d.rectangle([px - 7 * SS, py, px + 7 * SS, py + 44 * SS], fill=theme["trunk"])
    for _ in range(60):
        side = rng.choice((-1, 1))
        x = rng.uniform(-165, -10) if side < 0 else rng.uniform(1034, 1190)
        y = rng.uniform(-20, 780)
        blob(d, to_px(x, y), rng.uniform(30, 52) * SS, theme, rng)

    bg = ground.resize((BG_W, BG_H), Image.LANCZOS)
    image = pictures.LayeredImage("nq/data/levels/" + name, descending=True)
    image.picture("bg", bg, BG_X, 0, jpeg=True)
    for k, (x, y) in enumerate(trees):
        top = tree_top(theme, env.rng("tree/%s/%d" % (name, k)))
        image.picture("^tree_%02d" % k, top, x - TREE_TOP // 2, y - TREE_TOP + 20)
    for k, (x, y) in enumerate(fx_points):
        image.rect("fx/%d" % k, x, y)
    out = image.output()
    out["preview:maps/%s.jpg" % name] = preview(bg, image, graph, spots)
    return out


def blob(d, centre, r, theme, rng):
    cx, cy = centre
    for k in range(5):
        ox, oy = rng.uniform(-r * 0.5, r * 0.5), rng.uniform(-r * 0.5, r * 0.3)
        rr = r * rng.uniform(0.5, 0.8)
        c = mix(theme["leaf"], theme["leaf2"], k / 5)
        d.ellipse([cx + ox - rr, cy + oy - rr, cx + ox + rr, cy + oy + rr], fill=c)


def tree_top(theme, rng):
    c = draw.Canvas(TREE_TOP, TREE_TOP, draw.SPRITE_SS)
    m = TREE_TOP / 2
    for k in range(7):
        ox, oy = rng.uniform(-22, 22), rng.uniform(-20, 14)
        rr = rng.uniform(24, 34)
        col = mix(theme["leaf"], theme["leaf2"], k / 7)
        c.ellipse(m + ox - rr, m + oy - rr, m + ox + rr, m + oy + rr, fill=col + (255,))
    for _ in range(14):
        ox, oy = rng.uniform(-34, 34), rng.uniform(-34, 20)
        c.ellipse(m + ox - 4, m + oy - 4, m + ox + 4, m + oy + 4, fill=mix(theme["leaf2"], (255, 255, 255), 0.3) + (200,))
    return draw.shadowed(c.result(), (3, 5), 3, 90)


def preview(bg, image, graph, spots):
    """The map with its tree tops, links and spots marked, as the program places them."""
    sheet = bg.convert("RGBA")
    for layer in image.layers:
        if layer["name"].startswith("^"):
            data = image.files[image.path + "/" + layer["name"] + ".png"]
            import io
            top = Image.open(io.BytesIO(data)).convert("RGBA")
            sheet.alpha_composite(top, (layer["x"] - BG_X, layer["y"]))
    d = ImageDraw.Draw(sheet)
    for link in graph.links:
        d.line([(x - BG_X, y) for x, y in graph.curve(link)], fill=(255, 255, 255, 160), width=1)
    for i, (x, y) in enumerate(spots):
        d.ellipse([x - BG_X - 30, y - 22, x - BG_X + 30, y + 22], outline=(255, 230, 120, 255), width=2)
        d.text((x - BG_X - 4, y - 6), str(i), fill=(255, 255, 255, 255))
    d.rectangle([-BG_X, 0, -BG_X + 1023, 767], outline=(255, 0, 0, 255))
    return pictures.jpeg_bytes(sheet)


def place_trees(graph, spots, rng):
    samples = graph.samples(12.0)
    trees = []
    for _ in range(400):
        if len(trees) >= MAX_TREES:
            break
        x, y = rng.uniform(30, 994), rng.uniform(110, 740)
        if graph.distance_to_road(x, y, samples) < TREE_CLEAR_ROAD:
            continue
        if any(math.hypot(x - sx, y - sy) < TREE_CLEAR_SPOT for sx, sy in spots):
            continue
        # the top hangs over what lies above the trunk
        if any(abs(x - sx) < 100 and y - 150 < sy < y for sx, sy in spots):
            continue
        if any(math.hypot(x - tx, y - ty) < 110 for tx, ty in trees):
            continue
        trees.append((round(x), round(y)))
    return trees
