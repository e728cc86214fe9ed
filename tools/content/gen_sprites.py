"""Sprite sets: units, towers, the interface parts, spells and projectiles."""
from content import art_towers, art_ui, art_units, gamedata, pictures

UNIT_IMAGES = ("units/t1units", "units/t2units", "units/t3units")


def render_units(env, image_path, units):
    image = pictures.LayeredImage("nq/" + image_path)
    for unit in units:
        art_units.add_unit(image, unit)
    out = image.output()
    out.update(strips(image, "units/" + image_path.split("/")[-1]))
    return out


def render_towers(env, line):
    image = pictures.LayeredImage("nq/" + line["image"])
    art_towers.add_line(image, line)
    out = image.output()
    out.update(strips(image, "towers/" + line["name"]))
    return out


def render_ui_parts(env, lines):
    image = pictures.LayeredImage("nq/data/ui_parts")
    art_ui.add_ui_parts(image, lines)
    out = image.output()
    out.update(strips(image, "ui_parts"))
    return out


def render_spell(env, spell):
    image = pictures.LayeredImage(gamedata.spell_image(spell))
    for i, im in enumerate(art_ui.spell_frames(spell["color"], spell["look"])):
        image.picture("%02d" % i, im)
    image.rect("s_point/0", 64, 64)
    out = image.output()
    # The sheet's set loader opens "nq/" + psd, the cast spell draws psd itself
    # from the data root: the animation stands at both places.
    folder = gamedata.spell_image(spell) + "/"
    for rel in [r for r in out if r.startswith(folder)]:
        out[rel[len("nq/"):]] = out[rel]
    base = "nq/data/spells/buttons/" + spell["name"]
    on, off = art_ui.spell_button(spell["color"], spell["look"], False), art_ui.spell_button(spell["color"], spell["look"], True)
    out[base + ".png"] = pictures.png_bytes(on)
    out[base + "_off.png"] = pictures.png_bytes(off)
    out.update(strips(image, "spells/" + spell["name"]))
    return out


def render_projectiles(env, ammo, spells):
    out = {}
    for a in ammo:
        out["nq/data/ammo/a%d.png" % a["id"]] = pictures.png_bytes(art_ui.projectile(a["look"], a["color"]))
    for s in spells:
        out["nq/data/ammo/a%d.png" % s["id"]] = pictures.png_bytes(art_ui.projectile("orb", s["color"]))
    shell = pictures.LayeredImage("nq/data/ammo/shell")
    for i, im in enumerate(art_ui.shell_frames()):
        shell.picture("%02d" % i, im)
    shell.rect("s_point/0", 20, 20)
    out.update(shell.output())
    return out


def strips(image, name):
    """Preview: each group's frames side by side on a checkered ground."""
    import io
    from PIL import Image, ImageDraw
    groups = {}
    frames = {}
    for layer in image.layers:
        if layer["w"] == 0:
            continue
        g = layer["name"].rsplit("/", 1)[0] if "/" in layer["name"] else "(root)"
        groups.setdefault(g, []).append(layer)
    for rel, data in image.files.items():
        frames[rel] = data
    atlases = {rel: Image.open(io.BytesIO(data)).convert("RGBA") for rel, data in image.files.items()
               if rel.rsplit("/", 1)[-1].startswith("atlas")}
    out = {}
    rows = []
    for g, layers in groups.items():
        pics = []
        for l in layers[:40]:
            if "atlas" in l:
                a = atlases[image.path + "/" + l["atlas"]]
                x0 = round(l["tu1"] * a.width)
                y0 = round((1 - l["tv2"]) * a.height)
                pics.append(a.crop((x0, y0, x0 + l["w"], y0 + l["h"])))
            else:
                data = image.files.get(image.path + "/" + l["name"] + ".png")
                if data:
                    pics.append(Image.open(io.BytesIO(data)).convert("RGBA"))
        if pics:
            rows.append((g, pics))
    if not rows:
        return out
    width = min(2400, max(sum(p.width + 4 for p in pics) for _, pics in rows) + 8)
    height = sum(max(p.height for p in pics) + 18 for _, pics in rows) + 8
    sheet = Image.new("RGBA", (width, height), (70, 86, 60, 255))
    d = ImageDraw.Draw(sheet)
    y = 4
    for g, pics in rows:
        d.text((4, y), g, fill=(255, 255, 255, 255))
        x, y = 4, y + 14
        for p in pics:
            if x + p.width > width:
                break
            sheet.alpha_composite(p, (x, y))
            x += p.width + 4
        y += max(p.height for p in pics) + 4
    out["preview:sprites/%s.png" % name.replace("/", "_")] = pictures.png_bytes(sheet)
    return out


def generate(ctx):
    data = gamedata.GameData()
    for path in UNIT_IMAGES:
        units = tuple(u for u in data.units if u["image"] == path)
        ctx.job("sprites/" + path, render_units, path, units)
    for line in data.towers:
        ctx.job("sprites/" + line["image"], render_towers, line)
    ctx.job("sprites/ui_parts", render_ui_parts, tuple(data.towers))
    for spell in data.spells:
        ctx.job("sprites/spell/" + spell["name"], render_spell, spell)
    ctx.job("sprites/projectiles", render_projectiles, tuple(data.ammo), tuple(data.spells))
