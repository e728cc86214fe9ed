"""Screen layouts and the single pictures (loading screen, income icon)."""
from content import art_layout, draw, framework, gamedata, pictures

MESSAGE_ICON = 96


def render_layout(env, layout, lines, extra):
    image = pictures.LayeredImage(layout["path"])
    rng = env.rng("layout/" + layout["path"])
    for name, recipe, x, y, w, h, params in list(layout["layers"]) + list(extra):
        if recipe == "rect":
            image.rect(name, x, y, w, h)
            continue
        fn = art_layout.RECIPES.get(recipe)
        if fn is None:
            raise framework.BuildError("%s: unknown picture recipe %s" % (layout["path"], recipe))
        if recipe == "icon":
            im = fn(w, h, params, rng, lines=lines)
        else:
            im = fn(w, h, params, rng)
        if im.size != (w, h):
            im = im.resize((w, h))
        image.picture(name, im, x, y, jpeg=recipe in art_layout.JPEG_RECIPES)
    out = image.output()
    out["preview:layouts/%s.png" % layout["path"].replace("/", "_")] = compose(image)
    return out


def compose(image):
    """The layout as the program places its layers: pictures in listing order,
    over-buttons' pictures at their positions, text places with a sample."""
    import io
    from PIL import Image, ImageDraw
    sheet = Image.new("RGBA", (1366, 768), (60, 70, 60, 255))
    d = ImageDraw.Draw(sheet)
    font = draw.font(20, True, True)
    ox = 171
    pics = {}
    for layer in image.layers:
        for ext in (".png", ".jpg"):
            rel = image.path + "/" + layer["name"] + ext
            if rel in image.files:
                pics[layer["name"]] = Image.open(io.BytesIO(image.files[rel])).convert("RGBA")
    for layer in image.layers:
        name = layer["name"]
        x, y, w, h = layer["x"] + ox, layer["y"], layer["w"], layer["h"]
        parts = name.split("/")
        if name in pics:
            if not (len(parts) == 2 and parts[0] == "button" and "_" in parts[1] and
                    any(l["name"].startswith("button/" + parts[1].rsplit("_", 1)[0] + "_") and l["name"].endswith("/pos")
                        for l in image.layers)):
                sheet.alpha_composite(pics[name], (max(0, x), y))
            continue
        if len(parts) == 3 and parts[0] == "button" and parts[2] == "pos":
            prefix = parts[1].split("_")[0]
            pic = pics.get("button/%s_normal" % prefix)
            if pic:
                sheet.alpha_composite(pic, (x + (w - pic.width) // 2, y + (h - pic.height) // 2))
            d.text((x + w / 2, y + h / 2), parts[1], font=font, fill=(255, 250, 230, 255), anchor="mm")
        elif parts[0] == "text":
            d.rectangle([x, y, x + w, y + h], outline=(255, 80, 200, 160))
            d.text((x + w / 2, y + h / 2), parts[-1], font=font, fill=(255, 250, 230, 255), anchor="mm",
                   stroke_width=2, stroke_fill=(40, 28, 20, 255))
        elif parts[-1] != "label":
            d.rectangle([x, y, x + max(1, w), y + max(1, h)], outline=(255, 80, 200, 255))
    d.rectangle([ox, 0, ox + 1023, 767], outline=(255, 0, 0, 255))
    return pictures.png_bytes(sheet)


def render_singles(env):
    from PIL import Image
    out = {}
    # The loading picture: 1024 x 768, opaque.
    rng = env.rng("loading")
    im = art_layout.scene_map(1024, 768, rng).convert("RGB")
    c = art_layoutCanvas = None
    title = art_layout.r_title(600, 200, {}, rng)
    base = im.convert("RGBA")
    base.alpha_composite(title, (212, 284))
    out["nq/data/loading.jpg"] = pictures.jpeg_bytes(base)
    out["preview:pictures/loading.jpg"] = out["nq/data/loading.jpg"]
    income = draw.coin(28)
    c = draw.Canvas(28, 28)
    c.paste(art_layout.art_ui.draw_canvas(income), 0, 0)
    art_layout.art_ui.glyph(c, "up", 20, 20, 7, (90, 200, 90))
    out["nq/data/context/small_icons/income.png"] = pictures.png_bytes(c.result())
    return out


def generate(ctx):
    data = gamedata.GameData()
    layouts = ctx.load_toml("layouts.toml")["layout"]
    announced = announced_ids(data)
    icons = {}
    for i in announced:
        icons[i] = icon_layer(data, i)
    for layout in layouts:
        extra = []
        if layout["path"] == "nq/data/message":
            extra = [["icons/id%d" % i, "icon", 464, 262, MESSAGE_ICON, MESSAGE_ICON, icons[i]] for i in announced]
        ctx.job("layout/" + layout["path"], render_layout, layout, tuple(data.towers), tuple(extra))
    ctx.job("pictures/singles", render_singles)


def announced_ids(data):
    ids = []
    for _, _, row in data.levels["unlocks"]["rows"]:
        ids += row
    ids += data.levels["unlocks"]["hardcore_announced"]
    return sorted(set(ids))


def icon_layer(data, i):
    """Recipe parameters of an announced id's icon."""
    lines = [l["name"] for l in data.towers]
    for k, line in enumerate(data.towers):
        if any(p["id"] == i for p in line["protos"]):
            return {"kind": "tower", "line": k}
    spells = data.spell_by_id()
    if i in spells:
        return {"kind": {"fire": "flame", "hold": "ring", "poison": "drop", "boost": "up2", "strike": "beam"}[spells[i]["look"]]}
    return {"kind": "skull"}
