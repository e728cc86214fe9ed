"""data/game.xml (dialog transitions) and the start-up logos."""
from content import checker

ANIM_DIR = "nq/data/anim"
ANIMS = ("dlg_show.anim", "dlg_hide.anim")
LOGOS = ("studio", "engine")

GAME_XML = """<?xml version="1.0" encoding="UTF-8"?>
<Game>
  <DialogEffects>
    <Data>
      <Anim name="pop" show_anim_data="nq/data/anim/dlg_show.anim" hide_anim_data="nq/data/anim/dlg_hide.anim"/>
    </Data>
    <Dialogs>
      <Options effects="pop"/>
    </Dialogs>
  </DialogEffects>
</Game>
"""


def generate(ctx):
    ctx.write("data/game.xml", GAME_XML)
    for anim in ANIMS:
        # make_anim writes these two in its own build step
        ctx.adopt(ANIM_DIR + "/" + anim)
    ctx.write("logo/logo.ini", "1;" + ",".join(LOGOS) + "\n")
    from content import art_logo
    for name in LOGOS:
        ctx.job("logo/" + name, art_logo.render, name)


def check(cc):
    import xml.etree.ElementTree as ET
    text = cc.read_text("data/game.xml")
    cc.mark("data/game.xml")
    if text is None:
        cc.error("data/game.xml", 0, "data/game.xml is missing")
    else:
        try:
            root = ET.fromstring(text)
        except ET.ParseError as e:
            cc.error("data/game.xml", e.position[0], "does not parse: %s" % e)
            root = None
        if root is not None:
            for anim in root.iter("Anim"):
                for attr in ("show_anim_data", "hide_anim_data"):
                    value = anim.get(attr)
                    if value is None:
                        cc.error("data/game.xml", 0, "Anim lacks %s" % attr)
                    else:
                        cc.ref(value, ("data/game.xml", 0), what="animation")
    ini = cc.read_text("logo/logo.ini")
    cc.mark("logo/logo.ini")
    if ini is None:
        cc.error("logo/logo.ini", 0, "logo/logo.ini is missing")
        return
    for number, line in enumerate(ini.split("\n"), 1):
        if not line.strip():
            continue
        fields = line.split(";")
        for item in (fields[1] if len(fields) > 1 else "").split(","):
            found = cc.ref("logo/" + item.rstrip("\r"), ("logo/logo.ini", number), checker.PICTURE_EXTS, "logo")
            if found:
                size = cc.picture_size(found)
                if size and (size[0] > 1024 or size[1] > 768):
                    cc.error("logo/logo.ini", number, "logo %s is larger than 1024x768" % found)
