"""The six bitmap fonts: glyph pages rendered with Pillow from the DejaVu
faces, and their ".fnt" descriptions in the XML form the program reads.

Each page is white RGB with the glyph coverage in alpha, so the program's
colour and tint decide the text colour."""

import io
import tomllib
from pathlib import Path
from xml.sax.saxutils import quoteattr

from PIL import Image, ImageDraw, ImageFont

DEJAVU_DIR = Path("/usr/share/fonts/truetype/dejavu")
DEJAVU_COPYRIGHT = Path("/usr/share/doc/fonts-dejavu-core/copyright")
FONT_FOLDER = "nq/data/fonts"
LICENCE_NAME = "DejaVu-LICENSE.txt"

# Page sizes tried in order for fonts that fit on one page; the last is also
# the size of every page of a font that needs several.
PAGE_SIZES = [(256, 256), (512, 256), (512, 512), (1024, 512), (1024, 1024)]

# Kerning is looked for among printable ASCII only.
KERNING_RANGE = range(0x21, 0x7F)


SOURCE = "src/fonts/fonts.toml"
PREVIEW_LINES = [
    "Bramblecoat Wars: hold the road! 0123456789",
    "The quick brown fox jumps over the lazy dog.",
    "AVAST Wave 7 | 100% gold \u00e9\u00e8\u00fc\u00df\u00f1\u00e7 \u00bf? \u00a9\u00ab\u00bb",
    "\u0421\u044a\u0435\u0448\u044c \u0436\u0435 \u0435\u0449\u0435 \u044d\u0442\u0438\u0445 "
    "\u043c\u044f\u0433\u043a\u0438\u0445 \u0431\u0443\u043b\u043e\u043a",
]


def load_sources(content_dir):
    """The font table (content/src/fonts/fonts.toml)."""
    with open(Path(content_dir) / SOURCE, "rb") as f:
        return tomllib.load(f)


def glyph_codes(table):
    codes = set()
    for first, last in table["glyphs"]:
        codes.update(range(first, last + 1))
    return sorted(codes)


def _face(spec):
    # Basic layout: the same metrics whether or not libraqm is installed.
    return ImageFont.truetype(str(DEJAVU_DIR / spec["source"]), spec["size"],
                              layout_engine=ImageFont.Layout.BASIC)


class Glyph:
    def __init__(self, code, image, xoffset, yoffset, advance):
        self.code = code
        self.image = image  # "L" coverage, or None for an empty glyph
        self.xoffset = xoffset
        self.yoffset = yoffset
        self.advance = advance
        self.x = self.y = self.page = 0

    @property
    def width(self):
        return self.image.width if self.image else 0

    @property
    def height(self):
        return self.image.height if self.image else 0


def _render_glyph(face, code):
    ch = chr(code)
    left, top, right, bottom = face.getbbox(ch, anchor="la")
    advance = round(face.getlength(ch))
    if right <= left or bottom <= top:
        return Glyph(code, None, 0, 0, advance)
    image = Image.new("L", (right - left, bottom - top), 0)
    ImageDraw.Draw(image).text((-left, -top), ch, font=face, fill=255, anchor="la")
    if image.getbbox() is None:
        return Glyph(code, None, 0, 0, advance)
    return Glyph(code, image, left, top, advance)


def _shelf_pack(glyphs, width, height, spacing):
    """Places glyphs on shelves, tallest first. Returns the pages used, or
    None when a glyph is wider or taller than a page."""
    order = sorted((g for g in glyphs if g.image), key=lambda g: (-g.height, g.code))
    page, x, y, shelf = 0, spacing, spacing, 0
    for g in order:
        if g.width + 2 * spacing > width or g.height + 2 * spacing > height:
            return None
        if x + g.width + spacing > width:
            x, y, shelf = spacing, y + shelf + spacing, 0
        if y + g.height + spacing > height:
            page, x, y, shelf = page + 1, spacing, spacing, 0
        g.x, g.y, g.page = x, y, page
        x += g.width + spacing
        shelf = max(shelf, g.height)
    return page + 1


def _pack(glyphs, spacing, max_page):
    sizes = [s for s in PAGE_SIZES if s[0] <= max_page and s[1] <= max_page]
    for size in sizes:
        if _shelf_pack(glyphs, size[0], size[1], spacing) == 1:
            return size, 1
    size = sizes[-1]
    pages = _shelf_pack(glyphs, size[0], size[1], spacing)
    if pages is None:
        raise ValueError("a glyph does not fit on a page")
    return size, pages


def _kernings(face, codes):
    present = set(codes)
    length = {c: face.getlength(chr(c)) for c in KERNING_RANGE if c in present}
    pairs = []
    for first in KERNING_RANGE:
        for second in KERNING_RANGE:
            if first not in present or second not in present:
                continue
            amount = round(face.getlength(chr(first) + chr(second)) - length[first] - length[second])
            if amount:
                pairs.append((first, second, amount))
    return pairs


def text_extent(spec, text):
    """(width, line height) of a one-line text as the program lays it out in
    the built font: each glyph's rounded advance plus the kerning that
    render_font writes for its pair."""
    face = _face(spec)
    ascent, descent = face.getmetrics()
    width = 0
    for i, ch in enumerate(text):
        width += round(face.getlength(ch))
        prev = ord(text[i - 1]) if i else 0
        if prev in KERNING_RANGE and ord(ch) in KERNING_RANGE:
            width += round(face.getlength(text[i - 1] + ch) - face.getlength(text[i - 1]) - face.getlength(ch))
    return width, ascent + descent


def spec_named(table, name):
    return next(f for f in table["font"] if f["name"] == name)


def _png_bytes(image):
    out = io.BytesIO()
    # Pillow writes no time stamp unless asked, so equal pixels give equal bytes.
    image.save(out, format="PNG", optimize=False, compress_level=9)
    return out.getvalue()


def render_font(spec, codes, spacing, max_page):
    """Returns {file name: bytes} for one font: its ".fnt" and its pages."""
    face = _face(spec)
    ascent, descent = face.getmetrics()
    line_height = ascent + descent
    glyphs = [_render_glyph(face, c) for c in codes]
    (page_w, page_h), page_count = _pack(glyphs, spacing, max_page)

    pages = [Image.new("RGBA", (page_w, page_h), (255, 255, 255, 0)) for _ in range(page_count)]
    for g in glyphs:
        if g.image:
            white = Image.new("RGBA", g.image.size, (255, 255, 255, 255))
            white.putalpha(g.image)
            pages[g.page].paste(white, (g.x, g.y))

    name = spec["name"]
    page_names = [f"{name}_{i}.png" for i in range(page_count)]
    out = {}
    for page_name, page in zip(page_names, pages):
        out[page_name] = _png_bytes(page)

    bold = 1 if spec["bold"] else 0
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<font>"]
    lines.append(f'  <info face={quoteattr(spec["face"])} size="{line_height}" bold="{bold}" italic="0" '
                 f'charset="" unicode="1" stretchH="100" smooth="1" aa="1" padding="0,0,0,0" '
                 f'spacing="{spacing},{spacing}" outline="0"/>')
    lines.append(f'  <common lineHeight="{line_height}" base="{ascent}" scaleW="{page_w}" scaleH="{page_h}" '
                 f'pages="{page_count}" packed="0" alphaChnl="0" redChnl="4" greenChnl="4" blueChnl="4"/>')
    lines.append("  <pages>")
    for i, page_name in enumerate(page_names):
        lines.append(f'    <page id="{i}" file="{page_name}"/>')
    lines.append("  </pages>")
    lines.append(f'  <chars count="{len(glyphs)}">')
    for g in glyphs:
        lines.append(f'    <char id="{g.code}" x="{g.x}" y="{g.y}" width="{g.width}" height="{g.height}" '
                     f'xoffset="{g.xoffset}" yoffset="{g.yoffset}" xadvance="{g.advance}" '
                     f'page="{g.page}" chnl="15"/>')
    lines.append("  </chars>")
    kernings = _kernings(face, codes)
    if kernings:
        lines.append(f'  <kernings count="{len(kernings)}">')
        for first, second, amount in kernings:
            lines.append(f'    <kerning first="{first}" second="{second}" amount="{amount}"/>')
        lines.append("  </kernings>")
    lines.append("</font>")
    out[f"{name}.fnt"] = ("\n".join(lines) + "\n").encode("utf-8")
    return out


def licence_text():
    """The copyright and licence of the DejaVu fonts, from Debian's copyright
    file: the stanza that covers the fonts themselves."""
    text = DEJAVU_COPYRIGHT.read_text(encoding="utf-8")
    start = text.index("Files: *")
    end = text.find("\nFiles: ", start + 1)
    stanza = text[start:end if end >= 0 else len(text)].rstrip() + "\n"
    header = ("The fonts in this folder are bitmap renderings of the DejaVu fonts\n"
              "(Debian package fonts-dejavu-core), renamed \"Main Sans\" and \"Main Serif\".\n"
              "Their copyright and licence:\n\n")
    return (header + stanza).encode("utf-8")


def font_job(env, spec, codes, spacing, max_page):
    """The build job of one font: its files, and a preview sheet."""
    files = {f"{FONT_FOLDER}/{name}": data
             for name, data in render_font(spec, list(codes), spacing, max_page).items()}
    files[f"preview:fonts/{spec['name']}.png"] = _png_bytes(preview_sheet(files, spec["name"], PREVIEW_LINES))
    return files


def parse_fnt(data):
    """(info attributes, common attributes, pages, chars) of a ".fnt" file,
    for the preview and the tests."""
    import xml.etree.ElementTree as ET
    root = ET.fromstring(data)
    pages = {int(p.get("id")): p.get("file") for p in root.find("pages")}
    chars = {int(c.get("id")): {k: int(v) for k, v in c.attrib.items()} for c in root.find("chars")}
    return root.find("info").attrib, root.find("common").attrib, pages, chars


def preview_sheet(files, name, text_lines):
    """A picture of sample lines laid out from the ".fnt" as the program does
    (pen + xoffset, line top + yoffset), dark on a light panel."""
    info, common, pages, chars = parse_fnt(files[f"{FONT_FOLDER}/{name}.fnt"])
    page_images = {i: Image.open(io.BytesIO(files[f"{FONT_FOLDER}/{p}"])) for i, p in pages.items()}
    line_height = int(common["lineHeight"])
    width = max(20 + sum(chars[ord(c)]["xadvance"] for c in t if ord(c) in chars) for t in text_lines)
    pages_w = sum(p.width for p in page_images.values())
    pages_h = max(p.height for p in page_images.values())
    width = max(width, pages_w)
    text_h = line_height * (len(text_lines) + 1)
    sheet = Image.new("RGB", (width, text_h + pages_h), (236, 228, 210))
    x = 0
    for i in sorted(page_images):
        page = page_images[i].convert("RGBA")
        dark = Image.new("RGBA", page.size, (40, 48, 64, 255))
        dark.alpha_composite(page)
        sheet.paste(dark.convert("RGB"), (x, text_h))
        x += page.width
    ink = Image.new("RGB", (1, 1), (40, 30, 20))
    for row, text in enumerate(text_lines):
        pen, top = 10, line_height // 2 + row * line_height
        for ch in text:
            g = chars.get(ord(ch))
            if g is None:
                continue
            if g["width"] and g["height"]:
                alpha = page_images[g["page"]].crop(
                    (g["x"], g["y"], g["x"] + g["width"], g["y"] + g["height"])).getchannel("A")
                sheet.paste(ink.resize(alpha.size), (pen + g["xoffset"], top + g["yoffset"]), alpha)
            pen += g["xadvance"]
    return sheet
