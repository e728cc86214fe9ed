"""The six bitmap fonts (nq/data/fonts/) and the DejaVu licence beside them."""
import xml.etree.ElementTree as ET

from content import fonts, framework

# Attributes the program requires on each element of a ".fnt".
REQUIRED = {
    "info": ("face", "size", "bold", "italic", "charset", "unicode", "stretchH", "smooth", "aa", "padding",
             "spacing", "outline"),
    "common": ("lineHeight", "base", "scaleW", "scaleH", "pages", "packed", "alphaChnl", "redChnl",
               "greenChnl", "blueChnl"),
    "page": ("id", "file"),
    "char": ("id", "x", "y", "width", "height", "xoffset", "yoffset", "xadvance", "page", "chnl"),
    "kerning": ("first", "second", "amount"),
}
# Glyphs in alpha, the colour channels set to one.
CHANNELS = {"packed": 0, "alphaChnl": 0, "redChnl": 4, "greenChnl": 4, "blueChnl": 4}


def generate(ctx):
    table = fonts.load_sources(ctx.src)
    codes = tuple(fonts.glyph_codes(table))
    for spec in table["font"]:
        ttf = str(fonts.DEJAVU_DIR / spec["source"])
        if not (fonts.DEJAVU_DIR / spec["source"]).is_file():
            raise framework.BuildError("%s: %s is missing (package fonts-dejavu-core)" % (fonts.SOURCE, ttf))
        ctx.job("font/" + spec["name"], fonts.font_job, dict(spec), codes, table["spacing"], table["max_page"],
                deps=(ttf,))
    ctx.write(fonts.FONT_FOLDER + "/" + fonts.LICENCE_NAME, fonts.licence_text())


def font_names(cc):
    prefix = fonts.FONT_FOLDER + "/"
    return sorted(p[len(prefix):-4] for p in cc.contract.names("file") if p.startswith(prefix) and p.endswith(".fnt"))


def collect(cc):
    glyphs = {}
    for name in font_names(cc):
        data = cc.fs.read("%s/%s.fnt" % (fonts.FONT_FOLDER, name))
        try:
            root = ET.fromstring(data) if data else None
        except ET.ParseError:
            root = None
        chars = root.find("chars") if root is not None else None
        glyphs[name] = {int(c.get("id", "-1")) & 0xFFFF for c in chars} if chars is not None else set()
    cc.facts["glyphs"] = glyphs


def _number(text):
    try:
        return float(text)
    except (TypeError, ValueError):
        return None


def check_font(cc, name):
    rel = "%s/%s.fnt" % (fonts.FONT_FOLDER, name)
    data = cc.fs.read(rel)
    if data is None:
        return  # the contract reports the missing file
    try:
        root = ET.fromstring(data)
    except ET.ParseError as e:
        cc.error(rel, e.position[0], "does not parse: %s" % e)
        return
    info, common = root.find("info"), root.find("common")
    for element in ("info", "common", "pages", "chars"):
        if root.find(element) is None:
            cc.error(rel, 0, "<%s> is missing" % element)
    if info is None or common is None or root.find("pages") is None or root.find("chars") is None:
        return
    for tag, attrs in REQUIRED.items():
        for element in root.iter(tag):
            for attr in attrs:
                if element.get(attr) is None:
                    cc.error(rel, 0, "<%s> lacks %s" % (tag, attr))
    size = _number(info.get("size"))
    if size is None or size <= 0:
        cc.error(rel, 0, "font size %s is not positive" % info.get("size"))
    if info.get("unicode") not in ("1", "true"):
        cc.error(rel, 0, "unicode must be 1")
    for attr, want in CHANNELS.items():
        if _number(common.get(attr)) != want:
            cc.error(rel, 0, "%s must be %d" % (attr, want))
    count = int(_number(common.get("pages")) or 0)
    sizes = {}
    for page in root.find("pages"):
        pid = int(_number(page.get("id")) or 0)
        if pid >= count:
            cc.error(rel, 0, "page id %d is not below the page count %d" % (pid, count))
            continue
        found = cc.ref(fonts.FONT_FOLDER + "/" + page.get("file", ""), (rel, 0), what="font page")
        if found:
            sizes[pid] = cc.picture_size(found)
    for char in root.find("chars"):
        pid = int(_number(char.get("page")) or 0)
        if pid not in sizes or sizes[pid] is None:
            cc.error(rel, 0, "char %s is on page %d, which has no picture" % (char.get("id"), pid))
            continue
        w, h = sizes[pid]
        x, y = _number(char.get("x")) or 0, _number(char.get("y")) or 0
        cw, ch = _number(char.get("width")) or 0, _number(char.get("height")) or 0
        if x < 0 or y < 0 or x + cw > w or y + ch > h:
            cc.error(rel, 0, "char %s lies outside its page" % char.get("id"))
    known = {int(_number(c.get("id")) or 0) for c in root.find("chars")}
    kernings = root.find("kernings")
    for k in (kernings if kernings is not None else []):
        if int(_number(k.get("second")) or 0) not in known:
            cc.error(rel, 0, "kerning names the missing glyph %s" % k.get("second"))


def check(cc):
    for name in font_names(cc):
        check_font(cc, name)
