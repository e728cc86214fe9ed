"""The balance sheets, setup, spells, unlocks, sounds, upgrades and strings."""
from content import gamedata
from content.gamedata import fmt


def sheet(columns, rows):
    lines = [";".join(columns)]
    for row in rows:
        lines.append(";".join(fmt(row[c]) if c in row else "" for c in columns))
    return "\n".join(lines) + "\n"


def setup_sheet(data):
    lines = []
    for ep in data.levels["episode"]:
        lines.append("%d;%d;%d;%d;0" % (ep["index"], len(ep["level"]), len(ep["hardcore"]), ep["stars"]))
    return "\n".join(lines) + "\n"


def spells_sheet(data):
    lines = ["#;id;picture;picture_off;slot;n"]
    for s in sorted(data.spells, key=lambda s: s["slot"]):
        base = "nq/data/spells/buttons/" + s["name"]
        lines.append("%s;%d;%s;%s;%d;0" % (s["name"], s["id"], base, base + "_off", s["slot"]))
    return "\n".join(lines) + "\n"


def unlocks_sheet(data):
    lines = []
    for e, l, ids in data.levels["unlocks"]["rows"]:
        lines.append("%d;%d;%s" % (e, l, ",".join(str(i) for i in ids)))
    return "\n".join(lines) + "\n"


def sounds_sheet(data):
    lines = ["#tag;file;volume;group;n"]
    for tag, f, volume, group in data.sound_rows():
        lines.append("%s;%s;%s;%d;0" % (tag, f, fmt(volume), group))
    return "\n".join(lines) + "\n"


def upgrade_targets(data, up):
    if "targets" in up:
        return up["targets"]
    line = next(l for l in data.towers if l["name"] == up["line"])
    return [p["id"] for p in line["protos"]]


def upgrades_xml(data):
    out = ['<?xml version="1.0" encoding="UTF-8"?>', "<upgrades>"]
    for up in data.upgrades:
        out.append('  <upgrade id="%d" section="%d" icon="%s">' % (up["id"], up["section"], up["icon"]))
        e, l = up.get("unlock", [0, 0])
        out.append('    <unlock episode="%d" level="%d"/>' % (e, l))
        out.append("    <targets>")
        for t in upgrade_targets(data, up):
            out.append('      <target id="%d"/>' % t)
        out.append("    </targets>")
        out.append("    <steps>")
        for value, price in zip(up["values"], up["prices"]):
            out.append('      <step cost_g="0" cost_r="%d">' % price)
            out.append('        <attributes><param name="%s" value="%s"/></attributes>' % (up["param"], fmt(value)))
            out.append("      </step>")
        out.append("    </steps>")
        out.append("  </upgrade>")
    out.append("</upgrades>")
    return "\n".join(out) + "\n"


def strings_csv(data):
    # The empty key comes first: the result window looks it up for hardcore.
    lines = [";"]
    for key, text in data.strings.items():
        if key == "":
            continue
        lines.append("%s;%s" % (key, text))
    return "\n".join(lines) + "\n"


def generate(ctx):
    data = gamedata.GameData()
    ctx.write("nq/towers_sheet.csv", sheet(gamedata.TOWER_COLUMNS, data.tower_rows()))
    ctx.write("nq/units_sheet.csv", sheet(gamedata.UNIT_COLUMNS, data.unit_rows()))
    ctx.write("nq/ammo_sheet.csv", sheet(gamedata.AMMO_COLUMNS, data.ammo_rows()))
    ctx.write("nq/setup_sheet.csv", setup_sheet(data))
    ctx.write("nq/spells_sheet.csv", spells_sheet(data))
    ctx.write("nq/unlocks.csv", unlocks_sheet(data))
    ctx.write("nq/sounds_sheet.csv", sounds_sheet(data))
    ctx.write("nq/upgrades.xml", upgrades_xml(data))
    ctx.write("nq/strings_en.csv", strings_csv(data))
