"""The tutorial script and its hint pictures."""
import math

from content import art_layout, draw, gamedata, gen_levels, levelgeom, pictures

POINTER = 72        # pointer picture size
POINTER_GAP = 6     # between the arrow's tip and its target
BUBBLE_GAP = 8      # between a bubble moved off its target and the target
SCREEN = (0, 0, 1024, 768)   # the logical screen every window shape shows


def resolve(value, facts):
    return facts[value[1:]] if isinstance(value, str) and value.startswith("@") else value


def level_facts(data):
    """Values the script takes from the levels: the locked spot of level 1-2
    and the wave markers at the starts of its roads."""
    ep = data.levels["episode"][0]
    lvl = ep["level"][1]
    m = data.maps[lvl["map"]]
    marker_text = gen_levels.marker_text_extent(data)
    spots = gen_levels.map_spots(m, marker_text)
    index = lvl["locked_spot"]
    first_upgrade = data.towers[0]["protos"][1]["cost"]
    graph = levelgeom.RoadGraph(m)
    # Each road's wave marker, its picture and its text as one rectangle.
    markers = []
    for s in graph.spawns:
        rects = levelgeom.wave_marker_rects(graph.points[s], *marker_text)
        markers.append(tuple(f(r[i] for r in rects) for i, f in enumerate((min, min, max, max))))
    return {"locked_spot": index, "locked_gems": gen_levels.LOCKED_SPOT_GEMS,
            "locked_spot_xy": spots[index], "upgrade_price": first_upgrade, "markers": markers}


def target_box(step, facts):
    """The rectangle (x0, y0, x1, y1) of what the step points at: its
    "target_box" (x, y, w, h), the locked spot's frame or a road's wave marker."""
    box = step["target_box"]
    if box == "@locked_spot":
        return levelgeom.spot_frame(facts["locked_spot_xy"])
    if box == "@marker":
        return facts["markers"][step["marker_road"]]
    x, y, w, h = box
    return (x, y, x + w, y + h)


def place_bubble(bubble, target, screen=SCREEN, gap=BUBBLE_GAP):
    """The bubble (x, y, w, h) as written unless it covers the target; else
    beside the target on the other side, or, where that leaves the screen,
    on the nearest side that keeps it on the screen and off the target."""
    x, y, w, h = bubble
    if not levelgeom.overlaps((x, y, x + w, y + h), target):
        return bubble
    tx0, ty0, tx1, ty1 = target
    sides = {"above": (x, ty0 - gap - h), "below": (x, ty1 + gap),
             "left": (tx0 - gap - w, y), "right": (tx1 + gap, y)}
    opposite = {"above": "below", "below": "above", "left": "right", "right": "left"}

    def moved(side):
        return abs(sides[side][0] - x) + abs(sides[side][1] - y)

    near = min(sides, key=moved)
    for side in [opposite[near]] + sorted(sides, key=moved):
        px, py = sides[side]
        px = min(max(px, screen[0]), screen[2] - w)
        py = min(max(py, screen[1]), screen[3] - h)
        if not levelgeom.overlaps((px, py, px + w, py + h), target):
            return (px, py, w, h)
    raise ValueError("no place beside %s for a bubble of %d x %d" % (target, w, h))


def tutorial_xml(steps, facts):
    out = ['<?xml version="1.0" encoding="UTF-8"?>', "<tutorial>"]
    for s in steps:
        out.append('  <step id="%d" activate="%s" complete="%s">' % (s["id"], s["activate"], s["complete"]))
        out.append('    <condition shop="-1" episode="%d" level="%d"/>' % tuple(s["level"]))
        out.append('    <show folder="step%d"><text place="step%d/text" string="tut_%d"/></show>' % (s["id"], s["id"], s["id"]))
        for tag, key in (("cmds", "cmds"), ("onComplete", "onComplete")):
            if key in s:
                cmds = "".join('<cmd param="%s" value="%d"/>' % (p, resolve(v, facts)) for p, v in s[key])
                out.append("    <%s>%s</%s>" % (tag, cmds, tag))
        out.append("  </step>")
    out.append("</tutorial>")
    return "\n".join(out) + "\n"


def pointer(angle):
    """An arrow pointing along angle (radians, screen axes), tip at the edge."""
    c = draw.Canvas(POINTER, POINTER)
    m = POINTER / 2
    dx, dy = math.cos(angle), math.sin(angle)
    nx, ny = -dy, dx
    tip = (m + dx * (m - 2), m + dy * (m - 2))
    tail = (m - dx * (m - 8), m - dy * (m - 8))
    head = (m + dx * (m - 26), m + dy * (m - 26))
    for width, color in ((16, draw.INK), (10, draw.GOLD)):
        c.line([tail, head], color + (255,), width)
    for grow, color in ((4, draw.INK), (0, draw.GOLD)):
        c.polygon([(tip[0] + dx * grow, tip[1] + dy * grow),
                   (head[0] + nx * (16 + grow) - dx * grow, head[1] + ny * (16 + grow) - dy * grow),
                   (head[0] - nx * (16 + grow) - dx * grow, head[1] - ny * (16 + grow) - dy * grow)], color + (255,))
    return c.result()


def render_hints(env, steps, facts, strings):
    image = pictures.LayeredImage("nq/data/tutorial")
    for s in steps:
        tx, ty = resolve(s["target"], facts) if not isinstance(s["target"], str) else facts["locked_spot_xy"]
        bx, by, bw, bh = place_bubble(s["bubble"], target_box(s, facts))
        # the pointer sits beside the target, on the bubble's side, and aims at it
        cx, cy = bx + bw / 2, by + bh / 2
        angle = math.atan2(ty - cy, tx - cx)
        px = tx - math.cos(angle) * (POINTER / 2 + POINTER_GAP) - POINTER / 2
        py = ty - math.sin(angle) * (POINTER / 2 + POINTER_GAP) - POINTER / 2
        px = min(max(px, 0), 1024 - POINTER)
        py = min(max(py, 0), 768 - POINTER)
        folder = "step%d" % s["id"]
        image.picture(folder + "/bubble", draw.panel(bw, bh, radius=14, border=6), bx, by)
        image.picture(folder + "/pointer", pointer(angle), px, py)
        image.rect(folder + "/text", bx + 12, by + 8, bw - 24, bh - 16)
    out = image.output()
    from content import gen_layouts
    out["preview:layouts/nq_data_tutorial.png"] = gen_layouts.compose(image, strings)
    return out


def generate(ctx):
    data = gamedata.GameData()
    steps = ctx.load_toml("tutorial.toml")["step"]
    facts = level_facts(data)
    ctx.write("nq/tutorial.xml", tutorial_xml(steps, facts))
    ctx.job("tutorial/hints", render_hints, tuple(steps), facts, data.strings)
