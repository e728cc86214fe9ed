"""Checks of the game data: sheets, sprite sets, levels, tables, strings."""
import math
import re
import struct
import xml.etree.ElementTree as ET
from collections import deque

from content import art_towers, checker

KNOWN_COLUMNS = set("""id parent type strength cooldown health speed r special psd img haste_buff fire_dmg_only
explodeStr explodeRadius debufftower poisonImmun regen raiseDead invisible invisibleArea blocktower healer
commander summon carrier straight ice stone pierce splash firesplash dot aoe hold stun boostTower
showInvisible air aimed rotating ammoid tierUpdates tierK cost tierCost require levelid level fps timeout
teleportEnemy goldIncome stars dropChance fillColor onFire onAmmo onHit addons""".split())
SHEETS = ("nq/units_sheet.csv", "nq/towers_sheet.csv", "nq/ammo_sheet.csv")
PRELOADED = ("nq/units/t1units", "nq/units/t2units", "nq/units/t3units", "nq/towers/artillery",
             "nq/towers/dart", "nq/towers/cannon", "nq/towers/support", "nq/data/ui_parts")
FIXED_UNITS = (0, 11, 39)
TICKING_ABILITIES = ("haste_buff", "invisibleArea", "invisible", "regen", "healer", "summon")
LOBBED_AMMO = 2003
FIRE_AMMO = (2001, 2002, 2003)
BOOST_SPELL = 3004
SPELL_SLOTS = range(5)
ROTATING_FRAMES = 128
S_POINTS = 32
SECTOR_DEG = 11.25
WALK_MIN, DEATH_MIN = 4, 3
LANE_MIN, LANE_MAX = -130, 0
SPOT_PARAMS = ("cost_gold", "cost_real", "type", "radius_mult", "damage_mult", "income_mult", "tower_id")
TUTORIAL_LEVEL = "nq/levels_normal/level_01_01.xml"
TUTORIAL_SPOT = (896, 563)
TUTORIAL_IDS = set(range(9)) | {51}
TUTORIAL_COMMANDS = {"pause", "dropChanceOverride", "blockShop", "blockUI", "addGems", "addMoney", "spot",
                     "resetSpell", "completeStep"}
TUTORIAL_EVENTS = re.compile(r"^(level_\d+_\d+_start|tower_select|tower_select_3|tower_built|buildspot_bought|"
                             r"unlock_window_close|tower_upgraded|wave_forced|game_play|shop_state_changed|"
                             r"spell_casted|wave_1_spawned_0|wave_1_spawned_2|wave_1_spawned_10|gem_dropped|"
                             r"gem_collected|wave_vanish_\d+)$")
MAX_UPGRADE_STEPS = 6
RADIUS_WIDTH = 336
PROFILE_SLOTS_BEFORE = 2
LEVEL_BG = (-171, 0, 1366, 768)
PLACEHOLDER = re.compile(r"%(%|[-+ #0]*\d*(?:\.\d+)?[a-zA-Z])")


def num(text, default=None):
    try:
        return float(text)
    except (TypeError, ValueError):
        return default


def inum(text, default=None):
    m = re.match(r"^\s*([-+]?\d+)", text or "")
    return int(m.group(1)) if m else default


def signature(text):
    """The conversions a text takes, in order: flags and literal percent signs
    take no argument and do not count."""
    return "".join("%" + m[-1] for m in PLACEHOLDER.findall(text) if m != "%")


class Data:
    """What the checks learn from the sheets, shared between them."""

    def __init__(self):
        self.rows = {}          # id -> (sheet, line, row, top-level parent id or None)
        self.sheets = {}


def text_lines(cc, rel, what):
    """The non-empty lines of a text table with their numbers; reports a
    missing file and CR line ends. None when the file is missing."""
    raw = cc.fs.read(rel)
    cc.mark(rel)
    if raw is None:
        cc.error(rel, 0, "%s is missing" % what)
        return None
    out = []
    for number, line in enumerate(raw.decode("utf-8", "replace").split("\n"), 1):
        if "\r" in line:
            cc.error(rel, number, "carriage return in the line")
        if line.strip():
            out.append((number, line))
    return out


def parse_xml(cc, rel, where):
    text = cc.fs.read(rel)
    cc.mark(rel)
    if text is None:
        cc.error(where[0], where[1], "%s is missing" % rel)
        return None
    try:
        return ET.fromstring(text)
    except ET.ParseError as e:
        cc.error(rel, e.position[0], "does not parse: %s" % e)
        return None


def check(cc):
    data = Data()
    check_sheets(cc, data)
    check_sprites(cc, data)
    levels = check_levels(cc, data)
    announced = check_unlocks(cc, data, levels)
    upgrades = check_upgrades(cc, data)
    check_spells(cc, data)
    check_sounds(cc, data)
    tutorial = check_tutorial(cc, levels)
    check_strings(cc, data, announced, upgrades, tutorial)
    check_music(cc, levels)
    check_profiles(cc)


# --- sheets ---
def check_sheets(cc, data):
    for rel in SHEETS:
        header, rows = cc.sheet(rel, (rel, 0))
        data.sheets[rel] = rows
        for col in header:
            if col not in KNOWN_COLUMNS:
                cc.error(rel, 1, "unknown column %r" % col)
        top = {}
        for line, row in rows:
            rid = inum(row.get("id"))
            parent = inum(row.get("parent"), None)
            if rid is None:
                cc.error(rel, line, "row without id")
                continue
            if parent is None:
                cc.error(rel, line, "row %d lacks parent (-1 on top rows)" % rid)
            elif parent != -1 and parent not in top:
                cc.error(rel, line, "row %d comes before its parent %d" % (rid, parent))
            if rid in data.rows:
                cc.error(rel, line, "id %d also in %s:%d" % (rid, data.rows[rid][0], data.rows[rid][1]))
                continue
            data.rows[rid] = (rel, line, row, None if parent in (None, -1) else parent)
            if parent == -1:
                top[rid] = row
    for e in cc.contract.of("id"):
        if int(e.args[0]) not in data.rows:
            cc.error(*e.where, "id %s is in no sheet" % e.args[0])
    imgs = {}
    effects = cc.facts.get("effects")
    allowed = set(cc.contract.names("effect"))
    for rid, (rel, line, row, parent) in sorted(data.rows.items()):
        where = (rel, line)
        if rel != "nq/ammo_sheet.csv" and num(row.get("fps"), 0) <= 0:
            cc.error(*where, "row %d: fps must be above 0" % rid)
        if rel == "nq/towers_sheet.csv":
            ammo = inum(row.get("ammoid"), 0)
            if ammo not in data.rows or data.rows[ammo][0] != "nq/ammo_sheet.csv":
                cc.error(*where, "row %d: ammoid %d is no ammo row" % (rid, ammo))
        if rel == "nq/ammo_sheet.csv":
            if num(row.get("r"), 0) <= 0:
                cc.error(*where, "row %d: r must be above 0" % rid)
            img = row.get("img", "")
            if not img:
                cc.error(*where, "row %d has no img" % rid)
            elif img in imgs:
                cc.error(*where, "row %d shares img %s with row %d" % (rid, img, imgs[img]))
            else:
                imgs[img] = rid
                cc.ref("nq/" + img, where, checker.PICTURE_EXTS, "picture")
            if 3000 < rid < 4000:
                for col in ("speed", "fps"):
                    if num(row.get(col), 0) <= 0:
                        cc.error(*where, "spell %d: %s must be above 0" % (rid, col))
        elif row.get("img"):
            cc.error(*where, "row %d: unit and tower rows have no img" % rid)
        if rel == "nq/units_sheet.csv":
            # An ability modifier ticks every cooldown: 0 would tick every frame.
            ticking = [c for c in TICKING_ABILITIES if num(row.get(c), 0) != 0]
            if ticking and num(row.get("cooldown"), 0) <= 0:
                cc.error(*where, "unit %d: %s needs a cooldown above 0" % (rid, ticking[0]))
        for col in ("onFire", "onAmmo", "onHit"):
            name = row.get(col, "")
            if not name:
                continue
            if effects is None:
                cc.error(*where, "no particle library facts to check effect %s" % name)
            elif name not in effects:
                cc.error(*where, "row %d: effect %s is not in the particle library" % (rid, name))
    for fixed in FIXED_UNITS:
        if fixed in data.rows and data.rows[fixed][0] != "nq/units_sheet.csv":
            cc.error(data.rows[fixed][0], data.rows[fixed][1], "id %d must be a unit" % fixed)
    for rid, (rel, line, row, parent) in data.rows.items():
        if rel == "nq/units_sheet.csv" and rid >= 100 and parent is None:
            cc.error(rel, line, "unit %d: ids of 100 and more are elite children" % rid)
    del allowed


# --- sprite sets ---
def check_sprites(cc, data):
    groups = {}
    for path in PRELOADED:
        image = cc.image(path, ("nq/" + path, 0))
        if image is None:
            continue
        for layer in image.layers:
            if "/" in layer.name:
                g = layer.name.split("/", 1)[0]
                if g in groups and groups[g][0] != path:
                    cc.error(image.xml, layer.line, "group %s also in %s" % (g, groups[g][0]))
                groups.setdefault(g, (path, image))
        for anim in ("enemy_spot", "spell_cast", "mob_dot", "mob_heal", "disabletower", "tower_debuff", "crystall"):
            if path == "nq/data/ui_parts" and not image.in_group(anim + "/s_point"):
                cc.error(image.xml, 0, "%s lacks its s_point marker" % anim)
    line_canvas = {}
    for rid, (rel, line, row, parent) in sorted(data.rows.items()):
        where = (rel, line)
        psd = row.get("psd", "")
        if rel == "nq/ammo_sheet.csv":
            if psd:
                if psd.startswith("nq/"):
                    cc.error(*where, "row %d: psd is relative to nq/, the set loader prefixes it" % rid)
                    psd = psd[len("nq/"):]
                # A cast spell draws the psd text itself, from the data root.
                paths = ["nq/" + psd] + ([psd] if 3000 < rid < 4000 else [])
                for path in paths:
                    image = cc.image(path, where)
                    if image is None:
                        continue
                    if not [l for l in image.in_group("") if l.is_picture]:
                        cc.error(*where, "image %s has no root frames" % path)
                    if not image.in_group("s_point"):
                        cc.error(*where, "image %s lacks its s_point marker" % path)
            elif rid == LOBBED_AMMO:
                cc.error(*where, "the lobbed shell names its own layered image in psd")
            continue
        if psd not in groups:
            cc.error(*where, "row %d: psd %s names no preloaded group" % (rid, psd))
            continue
        image_path, image = groups[psd]
        if rel == "nq/units_sheet.csv":
            check_unit_set(cc, image, psd, row, where, rid)
        else:
            top = parent if parent is not None else rid
            check_tower_set(cc, image, psd, row, where, line_canvas, top)
    ui = groups.get("ui")
    if ui:
        radius = ui[1].layer("ui/radius")
        if radius is not None and radius.w != RADIUS_WIDTH:
            cc.error(ui[1].xml, radius.line, "ui/radius is %d wide, must be %d" % (radius.w, RADIUS_WIDTH))
    shell = groups.get("tower3_1b")
    if shell and not shell[1].in_group("tower3_1b/s_point"):
        cc.error(shell[1].xml, 0, "tower3_1b lacks its s_point marker")


def frames(image, group):
    return [l for l in image.in_group(group) if l.is_picture]


def check_unit_set(cc, image, g, row, where, rid):
    if len(frames(image, g + "/walk")) < WALK_MIN:
        cc.error(*where, "unit %d: group %s/walk has fewer than %d frames" % (rid, g, WALK_MIN))
    if len(frames(image, g + "/death")) < DEATH_MIN:
        cc.error(*where, "unit %d: group %s/death has fewer than %d frames" % (rid, g, DEATH_MIN))
    casts = any(inum(row.get(c), 0) for c in ("summon", "raiseDead", "healer", "haste_buff", "invisible", "invisibleArea"))
    if (casts or rid == 39) and not frames(image, g + "/special"):
        cc.error(*where, "unit %d casts but %s/special is empty" % (rid, g))
    if len(image.in_group(g)) != 1:
        cc.error(*where, "unit %d: %s needs exactly one root layer (the foot point)" % (rid, g))


def check_tower_set(cc, image, g, row, where, line_canvas, top):
    layers = [l for l in image.in_group(g, recursive=True) if l.is_picture]
    if not layers:
        cc.error(*where, "tower group %s has no frames" % g)
        return
    w = max(l.x + l.w for l in layers)
    h = max(l.y + l.h for l in layers)
    if w % 2:
        cc.error(*where, "tower group %s is %d wide; the width must be even" % (g, w))
    if line_canvas.setdefault(top, (w, h)) != (w, h):
        cc.error(*where, "tower group %s: canvas %dx%d differs from its line's %dx%d" % ((g, w, h) + line_canvas[top]))
    base = image.in_group(g + "/base_point")
    if len(base) != 1:
        cc.error(*where, "tower group %s needs one base_point" % g)
        return
    if base[0].x * 2 != w:
        cc.error(image.xml, base[0].line, "base_point of %s is not at w/2" % g)
    s_points = image.in_group(g + "/s_point")
    if inum(row.get("rotating"), 0):
        root = frames(image, g)
        if len(root) != ROTATING_FRAMES:
            cc.error(*where, "rotating tower %s has %d root frames, needs %d" % (g, len(root), ROTATING_FRAMES))
        if len(s_points) != S_POINTS:
            cc.error(*where, "rotating tower %s has %d s_point markers, needs %d" % (g, len(s_points), S_POINTS))
            return
        bx, by = base[0].x, base[0].y
        for d in range(S_POINTS):
            s = s_points[(S_POINTS - d) % S_POINTS]
            # the bullet's start relative to the base point
            dx = (w / 2 - bx) + (w / 2 - s.x)
            dy = s.y - by
            want = art_towers.direction(d)
            angle = math.degrees(math.atan2(dx, dy)) - math.degrees(math.atan2(*want))
            angle = (angle + 180) % 360 - 180
            if abs(angle) > SECTOR_DEG or (dx == 0 and dy == 0):
                cc.error(image.xml, s.line, "s_point of %s for direction %d points %.1f degrees off" % (g, d, angle))
    else:
        for group in ("idle", "blast"):
            if not frames(image, g + "/" + group):
                cc.error(*where, "tower group %s lacks %s frames" % (g, group))
        if len(s_points) != 1:
            cc.error(*where, "tower group %s needs one s_point" % g)


# --- levels ---
class Level:
    def __init__(self, rel, root):
        self.rel = rel
        self.root = root
        self.spots = []
        self.roads = ()     # the links as coordinates: what makes two maps the same


def check_levels(cc, data):
    levels = {}
    episodes = {}
    for number, line in text_lines(cc, "nq/setup_sheet.csv", "setup sheet") or []:
        cells = line.replace(" ", "").split(";")
        if len(cells) != 5:
            cc.error("nq/setup_sheet.csv", number, "a setup line has five cells")
            continue
        episodes[inum(cells[0], 0)] = (inum(cells[1], 0), inum(cells[2], 0), number)
    if sorted(episodes) != list(range(len(episodes))):
        cc.error("nq/setup_sheet.csv", 0, "episodes are not contiguous from 0")
    for folder in ("levels_normal", "levels_hardcore"):
        present = [n for n in cc.fs.listdir("nq/" + folder) if n.endswith(".xml")]
        expected = set()
        for e, (normal, hard, number) in episodes.items():
            for l in range(normal if folder == "levels_normal" else hard):
                expected.add("level_%02d_%02d.xml" % (e + 1, l + 1))
        for n in sorted(expected - set(present)):
            cc.error("nq/setup_sheet.csv", 0, "level file nq/%s/%s is missing" % (folder, n))
        for n in sorted(set(present) - expected):
            cc.error("nq/%s/%s" % (folder, n), 0, "level file beyond the setup sheet's count")
        for n in sorted(set(present) & expected):
            rel = "nq/%s/%s" % (folder, n)
            level = check_level(cc, data, rel)
            if level:
                e, l = int(n[6:8]) - 1, int(n[9:11]) - 1
                levels[(folder, e, l)] = level
    if ("levels_normal", 0, 0) in levels:
        spots = levels[("levels_normal", 0, 0)].spots
        if not spots or spots[0][:2] != TUTORIAL_SPOT:
            cc.error(TUTORIAL_LEVEL, 0, "spot #0 of the tutorial level must be at %s" % (TUTORIAL_SPOT,))
    check_distinct_roads(cc, levels)
    data.episodes = episodes
    return levels


def check_distinct_roads(cc, levels):
    """Every normal level has a road layout of its own (hardcore levels reuse them)."""
    first = {}
    for key in sorted(k for k in levels if k[0] == "levels_normal"):
        level = levels[key]
        other = first.setdefault(level.roads, level.rel)
        if other != level.rel:
            cc.error(level.rel, 0, "same roads as %s" % other)


def check_path_cache(cc, rel, link_count):
    """The level's path cache beside it, whole in the layout the loader reads."""
    cache = rel[:-len(".xml")] + ".cache"
    data = cc.fs.read(cache)
    if data is None:
        cc.error(rel, 0, "no path cache %s" % cache)
        return
    cc.mark(cache)
    if cc.fs.packed and cc.fs.loose_path_cache(cache) != data:
        cc.error(cache, 0, "no loose copy beside the pack, equal to its entry (the program reads caches from the disk only)")
    at = 0

    def u32():
        nonlocal at
        if at + 4 > len(data):
            raise ValueError("ends early at byte %d" % at)
        at += 4
        return struct.unpack_from("<I", data, at - 4)[0]

    try:
        for _ in range(u32()):
            link = struct.unpack("<i", struct.pack("<I", u32()))[0]
            if not 0 <= link < link_count:
                raise ValueError("link index %d outside the %d links" % (link, link_count))
            numbers = u32()
            at += 8 * numbers
            for _ in range(u32()):
                u32()
                samples = u32()
                at += 20 * samples
            if at > len(data):
                raise ValueError("ends early")
    except ValueError as e:
        cc.error(cache, 0, "damaged path cache: %s" % e)
        return
    if at != len(data):
        cc.error(cache, 0, "damaged path cache: %d bytes after the last entry" % (len(data) - at))


def check_level(cc, data, rel):
    root = parse_xml(cc, rel, (rel, 0))
    if root is None:
        return None
    level = Level(rel, root)
    li = (root.findtext("li") or "").strip()
    tail = li.split("/nq/data/", 1)[1] if "/nq/data/" in li else li[8:]
    image_path = ("nq/data/" + tail).rsplit("/", 1)[0]
    if not li.startswith("nq/data/"):
        cc.error(rel, 0, "li %r does not start with nq/data/" % li)
    image = cc.image(image_path, (rel, 0))
    if image is not None:
        bg = image.layer("bg")
        if bg is None or (bg.x, bg.y, bg.w, bg.h) != LEVEL_BG:
            cc.error(image.xml, bg.line if bg else 0, "bg must lie at %s" % (LEVEL_BG,))
        elif any(_int(l.attrs.get("ind")) > _int(bg.attrs.get("ind")) for l in image.layers):
            cc.error(image.xml, bg.line, "bg must have the highest ind")
    points = {}
    spawns, goals = [], []
    for p in root.find("points") if root.find("points") is not None else []:
        pid = inum(p.get("id"))
        points.setdefault(pid, (num(p.get("x"), 0), num(p.get("y"), 0)))
        for param in p:
            if param.get("value") == "1" and param.get("name") == "spawn":
                spawns.append(pid)
            if param.get("value") == "1" and param.get("name") == "goal":
                goals.append(pid)
    if len(goals) != 1:
        cc.error(rel, 0, "a level has exactly one goal (found %d)" % len(goals))
    if not spawns:
        cc.error(rel, 0, "a level has at least one spawn point")
    graph = {}
    links = list(root.find("links")) if root.find("links") is not None else []
    roads = []
    for link in links:
        a, b = inum(link.get("sid")), inum(link.get("eid"))
        if a not in points or b not in points:
            cc.error(rel, 0, "link %s-%s names a missing point" % (a, b))
            continue
        graph.setdefault(a, set()).add(b)
        graph.setdefault(b, set()).add(a)
        roads.append(tuple(sorted((points[a], points[b]))) + ((num(link.get("anchor_x"), 0), num(link.get("anchor_y"), 0)),))
    level.roads = tuple(sorted(roads))
    check_path_cache(cc, rel, len(links))
    if len(goals) == 1:
        for s in spawns:
            if not reaches(graph, s, goals[0]):
                cc.error(rel, 0, "spawn point %d does not reach the goal" % s)
    for i, spot in enumerate(root.find("spots") if root.find("spots") is not None else []):
        params = {p.get("name"): p.get("value") for p in spot}
        missing = [p for p in SPOT_PARAMS if p not in params]
        if missing:
            cc.error(rel, 0, "spot #%d lacks %s" % (i, ", ".join(missing)))
        tower = inum(params.get("tower_id"), 0)
        if tower and (tower not in data.rows or data.rows[tower][0] != "nq/towers_sheet.csv"):
            cc.error(rel, 0, "spot #%d: tower_id %d is no tower" % (i, tower))
        level.spots.append((inum(spot.get("x"), 0), inum(spot.get("y"), 0), params))
    waves = root.find("waves")
    for k, wave in enumerate(waves if waves is not None else []):
        spawn = inum(wave.get("spawn"), -1)
        if spawn not in points:
            cc.error(rel, 0, "wave %d: spawn %d names no point" % (k, spawn))
        if len(wave) == 0:
            cc.error(rel, 0, "wave %d has no entry" % k)
        for entry in wave:
            uid, up = inum(entry.get("id"), None), inum(entry.get("upgrade"), 0)
            y = num(entry.get("y"), 0)
            if up < 1:
                cc.error(rel, 0, "wave %d: unit %s without upgrade of 1 or more" % (k, uid))
            if uid not in data.rows or data.rows[uid][0] != "nq/units_sheet.csv":
                cc.error(rel, 0, "wave %d: unit %s is no unit" % (k, uid))
            if not LANE_MIN <= y <= LANE_MAX:
                cc.error(rel, 0, "wave %d: lane %g outside [%d, %d]" % (k, y, LANE_MIN, LANE_MAX))
    return level


def _int(t):
    return inum(t, 0)


def reaches(graph, start, goal):
    seen, todo = {start}, deque([start])
    while todo:
        p = todo.popleft()
        if p == goal:
            return True
        for q in graph.get(p, ()):
            if q not in seen:
                seen.add(q)
                todo.append(q)
    return False


# --- tables ---
def check_unlocks(cc, data, levels):
    rel = "nq/unlocks.csv"
    lines = text_lines(cc, rel, "unlock table")
    if lines is None:
        return set()
    rows = set()
    announced = set()
    message = cc.image("nq/data/message", (rel, 0))
    for number, line in lines:
        cells = line.replace(" ", "").split(";")
        e, l = inum(cells[0], 0), inum(cells[1] if len(cells) > 1 else "", 0)
        rows.add((e, l))
        ids = [inum(t) for t in (cells[2] if len(cells) > 2 else "").split(",") if t.strip()]
        check_announced(cc, data, ids, message, (rel, number))
        announced.update(ids)
    hardcore = [int(e.args[0]) for e in cc.contract.of("id") if e.args[0] in ("36", "37", "38")]
    check_announced(cc, data, hardcore, message, (rel, 0))
    announced.update(hardcore)
    for e, (normal, hard, number) in getattr(data, "episodes", {}).items():
        for l in range(max(normal, hard)):
            if (e, l) not in rows:
                cc.error(rel, 0, "no row for episode %d level %d" % (e, l))
    return announced


def check_announced(cc, data, ids, message, where):
    if not ids:
        return
    with_icon = 0
    for i in ids:
        if i not in data.rows:
            cc.error(*where, "unlocked id %d is in no sheet" % i)
        if message is not None and message.layer("icons/id%d" % i) is not None and message.layer("icons/id%d" % i).is_picture:
            with_icon += 1
        else:
            cc.error(*where, "announced id %d has no icon icons/id%d in nq/data/message" % (i, i))
    del with_icon


def check_upgrades(cc, data):
    rel = "nq/upgrades.xml"
    root = parse_xml(cc, rel, (rel, 0))
    out = {}
    if root is None:
        return out
    shop = cc.image("nq/shop", (rel, 0))
    for up in root:
        uid = inum(up.get("id"), 0)
        icon = up.get("icon")
        if icon is None:
            cc.error(rel, 0, "upgrade %d has no icon" % uid)
        elif shop is not None and (shop.layer("icons/" + icon) is None or not shop.layer("icons/" + icon).is_picture):
            cc.error(rel, 0, "upgrade %d: icon icons/%s is not in nq/shop" % (uid, icon))
        targets = [inum(t.get("id"), 0) for t in (up.find("targets") if up.find("targets") is not None else [])]
        if not targets:
            cc.error(rel, 0, "upgrade %d has no targets" % uid)
        if -1 in targets and targets[0] != -1:
            cc.error(rel, 0, "upgrade %d: a global upgrade has -1 first" % uid)
        for t in targets:
            if t != -1 and t not in data.rows:
                cc.error(rel, 0, "upgrade %d: target %d is in no sheet" % (uid, t))
        steps = list(up.find("steps")) if up.find("steps") is not None else []
        if not 1 <= len(steps) <= MAX_UPGRADE_STEPS:
            cc.error(rel, 0, "upgrade %d has %d steps (1 to %d)" % (uid, len(steps), MAX_UPGRADE_STEPS))
        out[uid] = len(steps)
    return out


def check_spells(cc, data):
    rel = "nq/spells_sheet.csv"
    slots = set()
    for number, line in text_lines(cc, rel, "spells sheet") or []:
        if "," in line:
            cc.error(rel, number, "',' in a cell")
        cells = [c.strip() for c in line.split(";")]
        if cells[0] == "#":
            continue
        sid, slot = inum(cells[1] if len(cells) > 1 else ""), inum(cells[4] if len(cells) > 4 else "")
        if sid not in data.rows or data.rows[sid][0] != "nq/ammo_sheet.csv":
            cc.error(rel, number, "spell id %s is no ammo row" % sid)
        if slot not in SPELL_SLOTS:
            cc.error(rel, number, "slot %s outside 0-4" % slot)
        slots.add(slot)
        for pic in cells[2:4]:
            if not pic.startswith("nq/"):
                cc.error(rel, number, "spell picture %s must start with nq/" % pic)
            cc.ref(pic, (rel, number), checker.PICTURE_EXTS, "spell picture")
    hud = cc.image("nq/ui", (rel, 0))
    if hud is not None:
        n = len(hud.in_group("spell"))
        if n < len(SPELL_SLOTS):
            cc.error(hud.xml, 0, "nq/ui has %d spell/ rects, needs at least %d" % (n, len(SPELL_SLOTS)))
        for l in hud.in_group("spell"):
            if l.is_picture:
                cc.error(hud.xml, l.line, "%s must be a rectangle" % l.name)


def check_sounds(cc, data):
    rel = "nq/sounds_sheet.csv"
    lines = text_lines(cc, rel, "sound sheet")
    if lines is None:
        return
    tags = {}
    for number, line in lines:
        cells = line.replace(" ", "").split(";")
        if cells[0].startswith("#"):
            continue
        f = cells[1] if len(cells) > 1 else ""
        if f and cells[0] not in tags:
            tags[cells[0]] = f
            cc.ref("nq/data/sound/" + f, (rel, number), ("", ".ogg", ".wav"), "sound")
    want = set(cc.contract.names("sound"))
    for rid, (srel, line, row, parent) in data.rows.items():
        if srel == "nq/towers_sheet.csv":
            want.add("tower%dshot" % rid)
        elif srel == "nq/ammo_sheet.csv" and row.get("onHit"):
            want.add("ammo%dhit" % rid)
        elif srel == "nq/units_sheet.csv":
            want.update("enemy%d%s" % (rid, k) for k in ("hit", "die", "special"))
    for tag in sorted(want - set(tags)):
        cc.error(rel, 0, "sound tag %s is missing" % tag)


def check_tutorial(cc, levels):
    rel = "nq/tutorial.xml"
    root = parse_xml(cc, rel, (rel, 0))
    strings = []
    if root is None:
        return strings
    hints = cc.image("nq/data/tutorial", (rel, 0))
    ids = set()
    for step in root.findall("step"):
        sid = inum(step.get("id"), 0)
        ids.add(sid)
        for attr in ("activate", "complete"):
            ev = step.get(attr)
            if ev is None:
                cc.error(rel, 0, "step %d lacks %s" % (sid, attr))
            elif not TUTORIAL_EVENTS.match(ev):
                cc.error(rel, 0, "step %d: unknown event %s" % (sid, ev))
        cond, show = step.find("condition"), step.find("show")
        if cond is None or show is None or show.get("folder") is None:
            cc.error(rel, 0, "step %d lacks condition or show folder" % sid)
            continue
        level = levels.get(("levels_normal", inum(cond.get("episode"), 0), inum(cond.get("level"), 0)))
        folder = show.get("folder")
        if hints is not None and not hints.has_group(folder):
            cc.error(rel, 0, "step %d: folder %s is not in nq/data/tutorial" % (sid, folder))
        for text in show.findall("text"):
            if text.get("place") is None or text.get("string") is None:
                cc.error(rel, 0, "step %d: text lacks place or string" % sid)
                continue
            strings.append(text.get("string"))
            if hints is not None and hints.layer(text.get("place")) is None:
                cc.error(rel, 0, "step %d: place %s is not a layer" % (sid, text.get("place")))
        for tag in ("cmds", "onComplete"):
            for cmd in (step.find(tag) if step.find(tag) is not None else []):
                param = cmd.get("param")
                if param not in TUTORIAL_COMMANDS:
                    cc.error(rel, 0, "step %d: unknown command %s" % (sid, param))
                if param == "spot":
                    v = inum(cmd.get("value"), 0)
                    if v != -1 and (level is None or not 0 <= v < len(level.spots)):
                        cc.error(rel, 0, "step %d: spot %d names no spot of its level" % (sid, v))
    for missing in sorted(TUTORIAL_IDS - ids):
        cc.error(rel, 0, "step %d is missing" % missing)
    if hints is not None:
        for l in hints.layers:
            if l.name.split("/")[0] == "skip":
                cc.error(hints.xml, l.line, "a group named like the nested skip folder")
    return strings


# --- strings ---
def check_strings(cc, data, announced, upgrades, tutorial):
    rel = "nq/strings_en.csv"
    lines = text_lines(cc, rel, "strings file")
    if lines is None:
        return
    texts = {}
    for number, line in lines:
        key, _, text = line.partition(";")
        key = key.strip(" \t")
        if ";" in text:
            cc.error(rel, number, "text of %s holds ';'" % key)
        if text != text.strip(" \t"):
            cc.error(rel, number, "text of %s has a blank at an end" % key)
        if key in texts:
            cc.error(rel, number, "key %s appears twice" % key)
        texts[key] = (text, number)
    want = {}
    for e in cc.contract.of("key"):
        name = "" if e.args[0] == '""' else e.args[0]
        sig = e.args[1] if len(e.args) > 1 and e.args[1] != "-" else ""
        want[name] = (sig, e.where)
    derived = []
    for ep in sorted(getattr(data, "episodes", {})):
        derived += ["episode%d" % ep, "episodeHardcore%d" % ep]
    derived += ["unlock_%d" % i for i in sorted(announced)]
    for uid, n in sorted(upgrades.items()):
        derived += ["upgrade_%d_name" % uid, "upgrade_%d_complete" % uid]
        derived += ["upgrade_%d_step%d" % (uid, k) for k in range(n)]
    derived += tutorial
    derived += over_button_labels(cc)
    for k in derived:
        want.setdefault(k, ("", ("nq/strings_en.csv", 0)))
    for key, (sig, where) in sorted(want.items()):
        if key not in texts:
            cc.error(where[0], where[1], "string key %s is missing" % (key or '""'))
        elif signature(texts[key][0]) != sig:
            cc.error(rel, texts[key][1], "key %s has placeholders %r, wants %r" % (key, signature(texts[key][0]), sig))
    glyphs = cc.facts.get("glyphs")
    if glyphs is None:
        cc.error(rel, 0, "no font facts to check the characters against")
        return
    for key, (text, number) in texts.items():
        missing = {}
        for font, chars in sorted(glyphs.items()):
            for ch in text:
                if ord(ch) not in chars:
                    missing.setdefault(ch, []).append(font)
        for ch, fonts in sorted(missing.items()):
            cc.error(rel, number, "%s: character U+%04X is missing from %s" % (key, ord(ch), ", ".join(fonts)))


def check_profiles(cc):
    """The profiles screen fills its slots by sorted name: exactly two sort
    before "profile1" (the caption and one more), or the names shift."""
    image = cc.image("nq/data/profiles", ("nq/data/profiles", 0))
    if image is None:
        return
    before = sorted(l.name for l in image.in_group("text") if l.name.split("/")[-1] < "profile1")
    if len(before) != PROFILE_SLOTS_BEFORE:
        cc.error(image.xml, 0, "%d text slots sort before profile1 (%s), needs exactly %d"
                 % (len(before), ", ".join(before), PROFILE_SLOTS_BEFORE))


def over_button_labels(cc):
    out = []
    for e in cc.contract.of("image"):
        image = cc.image(e.args[0], e.where)
        if image is None:
            continue
        for l in image.layers:
            parts = l.name.split("/")
            if len(parts) == 3 and parts[0] == "button" and parts[2] == "pos":
                out.append(parts[1])
    return sorted(set(out))


def check_music(cc, levels):
    episodes = sorted({e for (_, e, _) in levels})
    for e in episodes:
        cc.ref("nq/data/music/ingame%d.ogg" % (e + 1), ("nq/setup_sheet.csv", 0), what="music")


KNOWN_PATTERNS = {
    ("file", "nq/data/music/ingame{e+1}.ogg"), ("file", "nq/levels_normal/level_{E}_{L}.xml"),
    ("file", "nq/levels_hardcore/level_{E}_{L}.xml"), ("sound", "tower{tower}shot"),
    ("sound", "ammo{ammo with onHit}hit"), ("sound", "enemy{unit}hit"), ("sound", "enemy{unit}die"),
    ("sound", "enemy{unit}special"), ("effect", "{onFire}"), ("effect", "{onAmmo}"), ("effect", "{onHit}"),
    ("image", "nq/{psd}"), ("layer", "nq/shop icons/{upgrade icon} picture"),
    ("layer", "nq/data/message icons/id{announced} picture"), ("layer", "nq/data/tutorial step{id}/..."),
    ("key", "episode{e}"), ("key", "episodeHardcore{e}"), ("key", "unlock_{announced}"),
    ("key", "upgrade_{upgrade}_name"), ("key", "upgrade_{upgrade}_step{k}"), ("key", "upgrade_{upgrade}_complete"),
    ("key", "{tutorial string}"), ("key", "{over-button folder}"),
}


def collect(cc):
    """Every pattern of the contract must be one these checks expand."""
    for e in cc.contract.of("pattern"):
        if (e.args[0], " ".join(e.args[1:])) not in KNOWN_PATTERNS:
            cc.error(*e.where, "no check expands the pattern %s" % " ".join(e.args))
