"""Level files (normal and hardcore), their path caches and their map pictures."""
import os
import re
import shutil

from content import art_map, gamedata, levelgeom
from content.gamedata import fmt

WAVE_RE = re.compile(r"^t=(\d+)\s+s=(\d+)(?:\s+k=([0-9.]+))?:\s*(.+)$")
ENTRY_RE = re.compile(r"^(\d+)(?:\^(\d+))?x(\d+)(?:@(\d+))?$")
DEFAULT_SPACING = 60
LANES = (-65, -20, -110, -45, -90, 0, -130)   # lane coordinates, within [-130, 0]
WIPE_AWARD = 20
FX_ANCHORS = 3
# Spot bonuses by position in the spot list: a few spots boost the range or the income.
RANGE_BOOST_SPOT, INCOME_BOOST_SPOT = 3, 6
LOCKED_SPOT_GEMS = 5
# The game's sources compiled into make_path_cache: the cached lanes follow them.
PATH_CACHE_SOURCES = ("Game/Roads/BezierCurve.cpp", "Game/Roads/BezierCurve.h",
                      "Game/Roads/PathWalk.cpp", "Game/Roads/PathWalk.h",
                      "Game/Roads/NQLinkLanes.cpp", "Game/Roads/NQLinkLanes.h",
                      "Game/Roads/NQPathSample.h", "Game/Roads/NQLink.h",
                      "Game/Data/LevelAttributes.cpp", "Game/Data/LevelAttributes.h",
                      "Core/Math/MathFunctions.cpp", "Core/Math/MathFunctions.h")


def parse_waves(level_name, waves):
    out = []
    for text in waves:
        m = WAVE_RE.match(text)
        if not m:
            raise ValueError("%s: bad wave %r" % (level_name, text))
        start, spawn, scale, body = int(m.group(1)), int(m.group(2)), float(m.group(3) or 1), m.group(4)
        entries, x = [], 0
        for token in body.split():
            e = ENTRY_RE.match(token)
            if not e:
                raise ValueError("%s: bad wave entry %r" % (level_name, token))
            unit, upgrade, count = int(e.group(1)), int(e.group(2) or 1), int(e.group(3))
            spacing = int(e.group(4) or DEFAULT_SPACING)
            for _ in range(count):
                entries.append((unit, upgrade, x, LANES[len(entries) % len(LANES)]))
                x += spacing
        out.append((start, spawn, scale, entries))
    return out


def level_xml(graph, spots, waves, budget, locked_spot, li):
    out = ['<?xml version="1.0" encoding="UTF-8"?>', "<map>", "  <li>%s</li>" % li,
           "  <budget>%d</budget>" % budget, "  <points>"]
    for i, (x, y) in enumerate(graph.points):
        kind = graph.kinds.get(i)
        if kind:
            out.append('    <point id="%d" x="%d" y="%d"><param name="%s" value="1"/></point>' % (i, x, y, kind))
        else:
            out.append('    <point id="%d" x="%d" y="%d"/>' % (i, x, y))
    out.append("  </points>")
    out.append("  <links>")
    for a, b, (cx, cy) in graph.links:
        out.append('    <link sid="%d" eid="%d" anchor_x="%d" anchor_y="%d"/>' % (a, b, cx, cy))
    out.append("  </links>")
    out.append("  <spots>")
    for i, (x, y) in enumerate(spots):
        params = dict(cost_gold=0, cost_real=0, type=0, radius_mult=1, damage_mult=1, income_mult=1, tower_id=0)
        if i == locked_spot:
            params.update(cost_real=LOCKED_SPOT_GEMS, type=1)
        if i == RANGE_BOOST_SPOT:
            params["radius_mult"] = 1.2
        if i == INCOME_BOOST_SPOT:
            params["income_mult"] = 1.5
        body = "".join('<param name="%s" value="%s"/>' % (k, fmt(v)) for k, v in params.items())
        out.append('    <spot x="%d" y="%d">%s</spot>' % (x, y, body))
    out.append("  </spots>")
    out.append('  <waves timeout="0">')
    for start, spawn_road, scale, entries in waves:
        spawn = graph.spawns[spawn_road]
        out.append('    <wave timeout="%d" spawn="%d" wipeAward="%d" scale="%s">' % (start, spawn, WIPE_AWARD, fmt(scale)))
        for unit, upgrade, x, y in entries:
            out.append('      <unit id="%d" upgrade="%d" x="%d" y="%d"/>' % (unit, upgrade, x, y))
        out.append("    </wave>")
    out.append("  </waves>")
    out.append("</map>")
    return "\n".join(out) + "\n"


def generate(ctx):
    data = gamedata.GameData()
    themes = {ep["index"]: ep for ep in data.levels["episode"]}
    maps_done = {}
    for folder, fname, e, i, lvl, map_name in data.level_files():
        map_def = data.maps[map_name]
        graph = levelgeom.RoadGraph(map_def)
        spots = graph.place_spots(map_def.get("fixed_spots", []))
        image_name = gamedata.map_image_name(e, map_name)
        if image_name not in maps_done:
            trees = art_map.place_trees(graph, spots, ctx.rng("trees/" + image_name))
            fx = trees[:FX_ANCHORS] if themes[e].get("fx") else []
            fx = [(x, y - 60) for x, y in fx]
            ctx.job("map/" + image_name, art_map.render, image_name, themes[e]["theme"], map_def,
                    tuple(spots), tuple(trees), tuple(fx))
            maps_done[image_name] = True
        waves = parse_waves(fname, lvl["waves"])
        locked = lvl.get("locked_spot", -1) if folder == "levels_normal" else -1
        li = "nq/data/levels/%s/bg" % image_name
        xml = level_xml(graph, spots, waves, lvl["budget"], locked, li)
        ctx.write("nq/%s/%s" % (folder, fname), xml)
        cache = "nq/%s/%s.cache" % (folder, fname[:-len(".xml")])
        ctx.job("pathcache/" + cache, path_cache, cache, xml,
                deps=(*ctx.tool_sources("make_path_cache"), *(os.path.join(ctx.repo, s) for s in PATH_CACHE_SOURCES)))


def path_cache(env, rel, xml):
    """The level's lane-path table, computed by the game's own sampling code."""
    folder = env.tmpdir()
    try:
        level = os.path.join(folder, "level.xml")
        out = os.path.join(folder, "level.cache")
        with open(level, "w", encoding="utf-8") as fh:
            fh.write(xml)
        env.run_tool("make_path_cache", [level, out])
        with open(out, "rb") as fh:
            return {rel: fh.read()}
    finally:
        shutil.rmtree(folder, ignore_errors=True)
