"""Picture encoding and the layered-image writer (a folder with layers.xml)."""
import io

from PIL import Image

from content import framework

PNG_COMPRESS = 6
JPEG_QUALITY = 90
ATLAS_MAX = 2048
ATLAS_PAD = 2


def png_bytes(im):
    """PNG without time stamps or other chunks that would vary between runs."""
    out = io.BytesIO()
    if im.mode not in ("RGBA", "RGB", "L", "LA"):
        im = im.convert("RGBA")
    im.save(out, format="PNG", compress_level=PNG_COMPRESS)
    return out.getvalue()


def jpeg_bytes(im):
    out = io.BytesIO()
    im.convert("RGB").save(out, format="JPEG", quality=JPEG_QUALITY, optimize=False,
                           progressive=False, subsampling=2)
    return out.getvalue()


def xml_escape(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;"))


class LayeredImage:
    """Collects layers in drawing order and writes the folder. Every layer gets
    all seven attributes; "ind" counts up in listing order (windows draw their
    pictures by ascending index), or down with descending=True (level maps,
    whose background has the highest index)."""

    def __init__(self, path, descending=False):
        self.path = path
        self.descending = descending
        self.layers = []   # dicts: name, x, y, w, h, opacity, file ext or None, atlas info
        self.files = {}
        self._atlas_frames = []

    def picture(self, name, im, x=0, y=0, opacity=255, jpeg=False):
        ext = ".jpg" if jpeg else ".png"
        data = jpeg_bytes(im) if jpeg else png_bytes(im)
        self.files[self.path + "/" + name + ext] = data
        self.layers.append(dict(name=name, x=int(x), y=int(y), w=im.width, h=im.height, opacity=opacity))
        return self

    def rect(self, name, x, y, w=0, h=0, opacity=255):
        self.layers.append(dict(name=name, x=int(x), y=int(y), w=int(w), h=int(h), opacity=opacity))
        return self

    def atlas_frame(self, name, im, x=0, y=0, opacity=255):
        """A layer whose picture goes into a shared atlas picture of this image."""
        layer = dict(name=name, x=int(x), y=int(y), w=im.width, h=im.height, opacity=opacity)
        self.layers.append(layer)
        self._atlas_frames.append((layer, im))
        return self

    def _pack_atlases(self):
        """Shelf packing in layer order; a new atlas when one is full."""
        atlases = []
        current, cx, cy, shelf_h, used_w, used_h = [], 0, 0, 0, 0, 0
        for layer, im in self._atlas_frames:
            w, h = im.width, im.height
            if w + ATLAS_PAD > ATLAS_MAX or h + ATLAS_PAD > ATLAS_MAX:
                raise framework.BuildError("%s/%s: frame larger than an atlas" % (self.path, layer["name"]))
            if cx + w > ATLAS_MAX:
                cx, cy, shelf_h = 0, cy + shelf_h + ATLAS_PAD, 0
            if cy + h > ATLAS_MAX:
                atlases.append((current, used_w, used_h))
                current, cx, cy, shelf_h, used_w, used_h = [], 0, 0, 0, 0, 0
            current.append((layer, im, cx, cy))
            used_w, used_h = max(used_w, cx + w), max(used_h, cy + h)
            cx += w + ATLAS_PAD
            shelf_h = max(shelf_h, h)
        if current:
            atlases.append((current, used_w, used_h))
        for index, (frames, aw, ah) in enumerate(atlases):
            name = "atlas%d.png" % index
            sheet = Image.new("RGBA", (aw, ah), (0, 0, 0, 0))
            for layer, im, ax, ay in frames:
                sheet.paste(im.convert("RGBA"), (ax, ay))
                layer["atlas"] = name
                layer["tu1"], layer["tu2"] = ax / aw, (ax + im.width) / aw
                # v counted from the bottom: tv2 is the top edge
                layer["tv1"], layer["tv2"] = 1 - (ay + im.height) / ah, 1 - ay / ah
            self.files[self.path + "/" + name] = png_bytes(sheet)

    def layers_xml(self):
        lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<Layers>"]
        n = len(self.layers)
        for i, l in enumerate(self.layers):
            attrs = ['name="%s"' % xml_escape(l["name"]), 'x="%d"' % l["x"], 'y="%d"' % l["y"],
                     'width="%d"' % l["w"], 'height="%d"' % l["h"], 'opacity="%d"' % l["opacity"],
                     'ind="%d"' % ((n - 1 - i) if self.descending else i)]
            if "atlas" in l:
                attrs.append('atlas="%s"' % l["atlas"])
                attrs += ['%s="%.9f"' % (k, l[k]) for k in ("tu1", "tv1", "tu2", "tv2")]
            lines.append("  <Layer %s/>" % " ".join(attrs))
        lines.append("</Layers>")
        return ("\n".join(lines) + "\n").encode("utf-8")

    def output(self):
        if self._atlas_frames and not any("atlas" in l for l in self.layers):
            self._pack_atlases()
        out = dict(self.files)
        out[self.path + "/layers.xml"] = self.layers_xml()
        return out
