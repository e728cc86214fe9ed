"""Screen layouts and the single pictures (loading screen, income icon)."""
from content import art_layout, draw, framework, gamedata, labels, levelgeom, pictures

MESSAGE_ICON = 96
# The shop centres its caption on the corner of "text/caption", this much
# above it; the window's own copy, centred in the place, lies under the header.
CORNER_CAPTIONS = (("nq/shop", "caption"),)
CAPTION_LIFT = 10


# Preview samples: the text a slot shows (by string key), to judge sizes. The
# HUD, the level result and the unlock message show their widest labels.
SAMPLES = {
    "nq/data/mm": {"caption": "convertCristallToMoneyDialogTitle", "message": "progress_confirm_text"},
    "nq/data/ingame": {"caption": "ingame_caption"},
    # the greeting is made of two texts around the player's name
    "nq/main_menu": {"greet": ("greet_1", "'Warden", "greet_2")},
    "nq/data/profiles": {"caption": "profiles_caption", "select": "profiles_select", "header": "profile_edit_caption",
                         "profile1": "default_player", "profile2": "empty_profile"},
    "nq/episode_select": {"caption": "episodes_caption", "levelName": "episode1", "stars": "27"},
    "nq/level_select": {"episode": "episode0", "gems": "42"},
    "nq/shop": {"caption": "shop", "gems": "42"},
    "nq/gem_shop": {"caption": "gemShopTitle", "caption_gems": "gemShopTitle2", "b_01_text": "@gemShopBuyFor $0.99"},
    "nq/data/message": {"message": "unlock_3001"},
    # The result leaves the gold bonus empty.
    "nq/ui_levelresult": {"goldBonus": ""},
}


def sample(layout_path, slot, strings):
    key = SAMPLES.get(layout_path, {}).get(slot, slot)
    if isinstance(key, tuple):
        return "".join(k[1:] if k.startswith("'") else strings.get(k, k) for k in key)
    if key.startswith("@"):
        word, _, rest = key[1:].partition(" ")
        text = strings.get(word, word)
        # a format takes the sample as its argument, another text is followed by it
        return text.replace("%s", rest) if "%s" in text else text + " " + rest
    return strings.get(key, key)


def render_layout(env, layout, lines, extra, strings=None, shown=None):
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
    out["preview:layouts/%s.png" % layout["path"].replace("/", "_")] = compose(image, strings or {}, shown or {})
    return out


def compose(image, strings=None, shown=None):
    """The layout as the program places its layers: pictures in listing order,
    over-buttons' pictures at their positions, text places with a sample."""
    import io
    from PIL import Image, ImageDraw
    sheet = Image.new("RGBA", (1366, 768), (60, 70, 60, 255))
    d = ImageDraw.Draw(sheet)
    strings = strings or {}
    font = draw.font(32, False, False)
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
            d.text((x + w / 2, y + h / 2), strings.get(parts[1], parts[1]), font=font, fill=(255, 250, 230, 255),
                   anchor="mm")
        elif parts[0] == "text" or (image.path == "nq/data/tutorial" and parts[-1] == "text"):
            d.rectangle([x, y, x + w, y + h], outline=(255, 80, 200, 160))
            big = parts[-1] in labels.LARGE_SLOTS
            text = (shown or {}).get(parts[-1]) or sample(image.path, parts[-1], strings)
            # the tutorial's hints use the 32 px sans font, windows 42 px serif and 80 px for captions
            tf = draw.font(32, False, False) if image.path == "nq/data/tutorial" else draw.font(80 if big else 42, True, True)
            if image.path == "nq/data/tutorial":
                text = strings.get("tut_" + parts[0][4:], text)
            centre, width = (x + w / 2, y + h / 2), w
            if (image.path, parts[-1]) in CORNER_CAPTIONS:
                # drawn on its own layer, centred on the place's corner
                centre, width = (x, y - CAPTION_LIFT), labels.SHOP_CAPTION_WRAP
            d.multiline_text(centre, wrap(text, tf, width),
                             font=tf, fill=(255, 255, 255, 255), anchor="mm", align="center")
        elif parts[-1] != "label":
            d.rectangle([x, y, x + max(1, w), y + max(1, h)], outline=(255, 80, 200, 255))
    d.rectangle([ox, 0, ox + 1023, 767], outline=(255, 0, 0, 255))
    return pictures.png_bytes(sheet)


def wrap(text, font, width):
    """Greedy word wrap at the slot's width, as the program's text box does,
    after the line breaks written in the text."""
    lines = []
    for given in labels.lines_of(text):
        line = ""
        for word in given.split(" "):
            trial = (line + " " + word).strip()
            if line and font.getlength(trial) > width:
                lines.append(line)
                line = word
            else:
                line = trial
        lines.append(line)
    return "\n".join(lines)


def render_singles(env):
    from PIL import Image
    out = {}
    # The loading picture: 1024 x 768, opaque.
    rng = env.rng("loading")
    im = art_layout.scene_map(1024, 768, rng).convert("RGB")
    title = art_layout.r_title(600, 200, {}, rng)
    base = im.convert("RGBA")
    banner = draw.Canvas(680, 240, draw.SCREEN_SS)
    banner.rounded(0, 0, 680, 240, 30, draw.shade(draw.WOOD, 0.6) + (255,))
    banner.gradient(6, 6, 674, 234, draw.LEATHER_LIGHT + (255,), draw.LEATHER + (255,), 26)
    base.alpha_composite(draw.shadowed(banner.result(), (0, 6), 6, 120), (172, 264))
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
    shown = widest_labels(data)
    for layout in layouts:
        layout = with_map_previews(layout, data)
        extra = []
        if layout["path"] == "nq/data/message":
            extra = [["icons/id%d" % i, "icon", 464, 262, MESSAGE_ICON, MESSAGE_ICON, icons[i]] for i in announced]
        ctx.job("layout/" + layout["path"], render_layout, layout, tuple(data.towers), tuple(extra), data.strings,
                shown.get(layout["path"], {}))
    ctx.job("pictures/singles", render_singles)


def with_map_previews(layout, data):
    """An episode's page shows the roads of the map its first level is played on."""
    first_maps = {ep["index"]: ep["level"][0]["map"] for ep in data.levels["episode"]}
    layers = []
    for layer in layout["layers"]:
        name, recipe, x, y, w, h, params = layer
        if recipe == "chapter" and params["episode"] in first_maps:
            graph = levelgeom.RoadGraph(data.maps[first_maps[params["episode"]]])
            roads = tuple(tuple((round(px), round(py)) for px, py in graph.curve(link)) for link in graph.links)
            params = dict(params, roads=roads)
        layers.append([name, recipe, x, y, w, h, params])
    return dict(layout, layers=layers)


def widest_labels(data):
    """{layout: {slot: text}}: the longest of each label's texts."""
    episodes = data.levels["episode"]
    texts = labels.label_texts(data.strings, [ep["index"] for ep in episodes],
                               max(max(len(ep["level"]), len(ep["hardcore"])) for ep in episodes),
                               max(len(l["waves"]) for ep in episodes for l in ep["level"] + ep["hardcore"]))
    shown = {}
    for (path, slot), candidates in sorted(texts.items()):
        if candidates:
            shown.setdefault(path, {})[slot] = max(candidates, key=len)
    return shown


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
