"""The game's data as read from the TOML sources of content/, with the
derived tables (prototype rows, sound tags) every generator shares."""
import os
import tomllib

from content import paths

TOWER_COLUMNS = ("id", "parent", "type", "strength", "cooldown", "speed", "r", "psd", "ammoid", "rotating",
                 "tierUpdates", "tierK", "tierCost", "cost", "require", "levelid", "level", "fps",
                 "teleportEnemy", "goldIncome", "health", "boostTower", "showInvisible", "air", "stars", "onFire",
                 "addons")
UNIT_COLUMNS = ("id", "parent", "type", "levelid", "strength", "health", "speed", "r", "cooldown", "cost", "fps", "psd",
                "air", "straight", "carrier", "raiseDead", "explodeStr", "explodeRadius", "ice", "stone",
                "poisonImmun", "fire_dmg_only", "haste_buff", "invisible", "invisibleArea", "regen", "healer",
                "summon", "blocktower", "debufftower", "dropChance", "fillColor", "special")
AMMO_COLUMNS = ("id", "parent", "type", "strength", "speed", "r", "cooldown", "timeout", "fps", "img", "psd",
                "splash", "firesplash", "dot", "hold", "stun", "pierce", "aimed", "boostTower",
                "teleportEnemy", "onAmmo", "onHit")

# Sound files of nq/data/sound/ (rendered by the audio generator).
SOUND_FIXED = {
    "simple": "click.wav", "context_in": "ring_in.ogg", "context_out": "ring_out.ogg",
    "buildTower": "build.ogg", "sellTower": "sell.ogg", "upgradeTower": "upgrade.ogg",
    "buySpot": "buy_spot.ogg", "winSound": "win.ogg", "loseSound": "lose.ogg",
    "teleportEnemy": "teleport.ogg",
}
SPELL_SOUNDS = {"fire": "spell_fire.ogg", "hold": "spell_hold.ogg", "poison": "spell_poison.ogg",
                "boost": "spell_boost.ogg", "strike": "spell_strike.ogg"}
TOWER_SHOT_SOUNDS = {"dart": "shot_dart.ogg", "cannon": "shot_cannon.ogg", "artillery": "shot_artillery.ogg",
                     "support": "shot_support.ogg"}
# By the row's hit effect.
AMMO_HIT_SOUNDS = {"hit_dart": "hit_small.ogg", "hit_poison": "hit_small.ogg", "hit_beam": "hit_small.ogg",
                   "hit_cannon": "hit_big.ogg", "hit_shell": "hit_big.ogg", "hit_fire": "hit_fire.ogg",
                   "hit_ice": "hit_ice.ogg"}
BIG_UNIT_SIZE = 70


def load(name):
    with open(os.path.join(paths.SOURCE_DIR, name), "rb") as fh:
        return tomllib.load(fh)


def source_files():
    return [os.path.join(paths.SOURCE_DIR, n) for n in
            ("towers.toml", "units.toml", "ammo.toml", "levels.toml", "maps.toml", "strings.toml",
             "upgrades.toml", "layouts.toml")]


def fmt(v):
    """A number in the "C" locale, without a needless fraction."""
    if isinstance(v, bool):
        return "1" if v else "0"
    if isinstance(v, float):
        if v == int(v):
            return str(int(v))
        return repr(round(v, 6))
    return str(v)


class GameData:
    def __init__(self):
        self.towers = load("towers.toml")["line"]
        self.units = load("units.toml")["unit"]
        ammo = load("ammo.toml")
        self.ammo = ammo["ammo"]
        self.spells = ammo["spell"]
        self.levels = load("levels.toml")
        self.maps = load("maps.toml")["map"]
        self.strings = load("strings.toml")["strings"]
        self.upgrades = load("upgrades.toml")["upgrade"]

    # --- prototype rows ---
    def tower_rows(self):
        rows = []
        for line in self.towers:
            base = line["protos"][0]["id"]
            for i, p in enumerate(line["protos"]):
                row = dict(line["defaults"])
                row.update({k: v for k, v in p.items() if k not in ("group", "tint")})
                row["psd"] = p["group"]
                row["rotating"] = 1 if line["rotating"] else 0
                levelid = {0: 0, 1: 1, 2: 2}.get(i, 3)
                row["levelid"] = levelid
                row["require"] = max(0, levelid - 1) if i else 0
                row["parent"] = -1 if i == 0 else base
                row["type"] = 1 if i == 0 else 0
                row["level"] = levelid
                rows.append(row)
        return rows

    def unit_rows(self):
        rows = []
        for u in self.units:
            row = {k: v for k, v in u.items() if k not in ("name", "image", "group", "look", "children")}
            row["psd"] = u["group"]
            row["parent"] = -1
            row["type"] = 0
            row["levelid"] = 1
            rows.append(row)
            for child in u.get("children", []):
                c = dict(row)
                c.update(child)
                c["parent"] = u["id"]
                c["id"] = u["id"] + 100 * child["levelid"]
                rows.append(c)
        return rows

    def ammo_rows(self):
        rows = []
        for a in self.ammo:
            row = {k: v for k, v in a.items() if k not in ("look", "color")}
            row["img"] = "data/ammo/a%d" % a["id"]
            row["parent"] = -1
            row["type"] = 2
            rows.append(row)
        for s in self.spells:
            row = {k: v for k, v in s.items() if k not in ("look", "color", "slot", "name")}
            row["img"] = "data/ammo/a%d" % s["id"]
            row["psd"] = spell_psd(s)
            row["parent"] = -1
            row["type"] = 3
            rows.append(row)
        return rows

    def spell_by_id(self):
        return {s["id"]: s for s in self.spells}

    # --- sounds ---
    def sound_rows(self):
        """(tag, file, volume, group) in sheet order."""
        rows = [(tag, f, 0.8, 0) for tag, f in SOUND_FIXED.items()]
        for s in sorted(self.spells, key=lambda s: s["slot"]):
            rows.append(("spell%d" % s["slot"], SPELL_SOUNDS[s["look"]], 0.9, 0))
        for line in self.towers:
            for p in line["protos"]:
                rows.append(("tower%dshot" % p["id"], TOWER_SHOT_SOUNDS[line["name"]], 0.6, 1))
        for a in self.ammo + self.spells:
            if a.get("onHit"):
                rows.append(("ammo%dhit" % a["id"], AMMO_HIT_SOUNDS[a["onHit"]], 0.6, 1))
        looks = {u["id"]: u for u in self.units}
        for row in self.unit_rows():
            base = looks.get(row["id"]) or looks[row["parent"]]
            if base.get("air"):
                die = "enemy_die_flyer.ogg"
            elif base["look"]["size"] >= BIG_UNIT_SIZE:
                die = "enemy_die_big.ogg"
            else:
                die = "enemy_die.ogg"
            rows.append(("enemy%dhit" % row["id"], "enemy_hit.wav", 0.5, 2))
            rows.append(("enemy%ddie" % row["id"], die, 0.7, 2))
            rows.append(("enemy%dspecial" % row["id"], "enemy_special.ogg", 0.7, 2))
        return rows

    # --- levels ---
    def level_files(self):
        """(folder, file name, episode index, level index, level dict, map name)."""
        out = []
        for ep in self.levels["episode"]:
            e = ep["index"]
            for i, lvl in enumerate(ep["level"]):
                out.append(("levels_normal", "level_%02d_%02d.xml" % (e + 1, i + 1), e, i, lvl, lvl["map"]))
            for i, lvl in enumerate(ep["hardcore"]):
                src = ep["level"][lvl["map"] - 1]
                out.append(("levels_hardcore", "level_%02d_%02d.xml" % (e + 1, i + 1), e, i, lvl, src["map"]))
        return out


def spell_image(spell):
    return "nq/data/spells/" + spell["name"]


def spell_psd(spell):
    """The sheet's "psd" is relative to "nq/" (the set loader prefixes it);
    the spell's own drawing names that text from the data root, where a
    second copy of the animation stands (see gen_sprites.render_spell)."""
    return spell_image(spell)[len("nq/"):]


def map_image_name(episode, map_name):
    return "ep%d_%s" % (episode + 1, map_name)
