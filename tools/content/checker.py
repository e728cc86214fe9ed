"""The content check: `content check ROOT` prints one line per problem
("file:line: message") and exits non-zero when there is any.

Check functions come from the modules "gen_*.py" and "check_*.py" of this
package: an optional `collect(cc)` runs first in every module (to publish
facts such as effect names or font glyphs in cc.facts), then `check(cc)`.
"""
import importlib
import io
import os
import sys
import xml.parsers.expat

from content import contract as contract_mod
from content import dataroot, paths

# The picture extension list of layered-image folders and of the picture loader.
PICTURE_EXTS = ("", ".dds", ".jpg", ".gif", ".png", ".tga")
LAYER_ATTRS = ("name", "x", "y", "width", "height", "opacity", "ind")
ATLAS_ATTRS = ("tu1", "tv1", "tu2", "tv2")
# The play area with the side strips: the screen is 1024 wide, the sides reach 171 further.
SCREEN_LEFT, SCREEN_RIGHT, SCREEN_BOTTOM = -171, 1195, 768
ATLAS_MAX = 2048


class Layer:
    def __init__(self, attrs, line):
        self.attrs = attrs
        self.line = line
        self.name = attrs.get("name", "")
        self.x, self.y = _int(attrs.get("x")), _int(attrs.get("y"))
        self.w, self.h = _int(attrs.get("width")), _int(attrs.get("height"))
        self.atlas = attrs.get("atlas")
        self.file = None        # the picture file, when the layer has one
        self.size = None        # the picture's pixel size

    @property
    def is_picture(self):
        return self.file is not None or self.atlas is not None

    @property
    def group(self):
        return self.name.rsplit("/", 1)[0] if "/" in self.name else ""


def _int(text):
    try:
        return int(text)
    except (TypeError, ValueError):
        return 0


def _float(text):
    try:
        return float(text)
    except (TypeError, ValueError):
        return None


class LayeredImage:
    def __init__(self, path):
        self.path = path
        self.layers = []
        self.by_name = {}
        self.ok = False

    @property
    def xml(self):
        return self.path + "/layers.xml"

    def layer(self, name):
        return self.by_name.get(name)

    def in_group(self, group, recursive=False):
        """Layers directly in the group (lower-cased, as the listing does), in order."""
        g = group.lower() + "/" if group else ""
        out = []
        for l in self.layers:
            if l.name.startswith(g):
                rest = l.name[len(g):]
                if recursive or "/" not in rest:
                    out.append(l)
        return out

    def has_group(self, group):
        g = group.lower() + "/"
        return any(l.name.startswith(g) for l in self.layers)


class CheckContext:
    def __init__(self, root, tools_dir, out=sys.stdout):
        self.fs = dataroot.DataRoot(root)
        self.tools_dir = os.path.abspath(tools_dir)
        self.contract = contract_mod.Contract()
        self.facts = {}
        self.referenced = set()
        self.problems = 0
        self.out = out
        self._images = {}
        self._pictures = {}
        if self.fs.problem:
            self.error(dataroot.PACK_NAME, 0, self.fs.problem)
        for f, line, msg in self.contract.problems:
            self.error(f, line, msg)

    # --- reporting ---
    def error(self, file, line, message):
        self.problems += 1
        print("%s:%d: %s" % (file, line or 0, message), file=self.out)

    def tool(self, name):
        return os.path.join(self.tools_dir, name)

    # --- references ---
    def check_ref_text(self, ref, where):
        bad = ("\\" in ref or ".." in ref.split("/") or ref.startswith("/")
               or not ref.isascii() or ref == "")
        if bad:
            self.error(where[0], where[1], "bad reference %r" % ref)
        return not bad

    def find(self, ref, exts=("",)):
        """The existing file the reference names with its exact case, trying the
        extensions in order, or None."""
        folder, _, base = ref.rpartition("/")
        names = set(self.fs.listdir(folder))
        for ext in exts:
            if base + ext in names and self.fs.is_file(ref + ext):
                return ref + ext
        return None

    def ref(self, ref, where, exts=("",), what="file"):
        """Resolves a reference, reports it when missing, marks it used."""
        if not self.check_ref_text(ref, where):
            return None
        found = self.find(ref, exts)
        if found is None:
            folder, _, base = ref.rpartition("/")
            lower = {n.lower(): n for n in self.fs.listdir(folder)}
            near = [lower[(base + e).lower()] for e in exts if (base + e).lower() in lower]
            if near:
                other = (folder + "/" if folder else "") + near[0]
                self.error(where[0], where[1], "%s %s: only found in other case as %s" % (what, ref, other))
                self.referenced.add(other)  # reported once, not again as unreferenced
            else:
                self.error(where[0], where[1], "%s %s is missing" % (what, ref))
            return None
        self.referenced.add(found)
        return found

    def mark(self, rel):
        self.referenced.add(rel)

    def read_text(self, rel):
        data = self.fs.read(rel)
        return None if data is None else data.decode("utf-8", "replace")

    def picture_size(self, rel):
        if rel not in self._pictures:
            from PIL import Image
            data = self.fs.read(rel)
            try:
                with Image.open(io.BytesIO(data)) as im:
                    self._pictures[rel] = im.size
            except Exception:
                self._pictures[rel] = None
        return self._pictures[rel]

    # --- layered images ---
    def image(self, path, where, screen=False):
        """Opens, checks (once) and marks a layered image; None when missing."""
        if path in self._images:
            return self._images[path]
        if not self.check_ref_text(path, where):
            return None
        xml_rel = self.ref(path + "/layers.xml", where, what="layered image")
        if xml_rel is None:
            self._images[path] = None
            return None
        image = LayeredImage(path)
        self._images[path] = image
        self._read_layers(image)
        self._check_layers(image, screen)
        return image

    def _read_layers(self, image):
        parser = xml.parsers.expat.ParserCreate()
        stack = []

        def start(tag, attrs):
            if tag == "Layer" and stack == ["Layers"]:
                image.layers.append(Layer(attrs, parser.CurrentLineNumber))
            stack.append(tag)

        def end(tag):
            stack.pop()

        parser.StartElementHandler = start
        parser.EndElementHandler = end
        try:
            parser.Parse(self.fs.read(image.xml), True)
        except xml.parsers.expat.ExpatError as e:
            self.error(image.xml, e.lineno, "layers.xml does not parse: %s" % e)
            image.layers = []
            return
        image.ok = True

    def _check_layers(self, image, screen):
        names = set(self.fs.listdir(image.path))
        for layer in image.layers:
            where = (image.xml, layer.line)
            missing = [a for a in LAYER_ATTRS if a not in layer.attrs]
            if missing:
                self.error(*where, "layer %r lacks %s" % (layer.name, ", ".join(missing)))
                if "name" in missing:
                    break
            if layer.name in image.by_name:
                self.error(*where, "layer %s appears twice" % layer.name)
            image.by_name.setdefault(layer.name, layer)
            groups = layer.name.split("/")[:-1]
            if any(g != g.lower() for g in groups):
                self.error(*where, "group of %s is not lower case" % layer.name)
            if layer.atlas is not None:
                self._check_atlas_layer(image, layer, where)
            else:
                base_dir, _, base = (image.path + "/" + layer.name).rpartition("/")
                listing = set(self.fs.listdir(base_dir))
                for ext in PICTURE_EXTS:
                    if base + ext in listing and self.fs.is_file(base_dir + "/" + base + ext):
                        layer.file = base_dir + "/" + base + ext
                        break
                if layer.file:
                    self.mark(layer.file)
                    size = self.picture_size(layer.file)
                    if size is None:
                        self.error(*where, "picture %s does not decode" % layer.file)
                    elif size != (layer.w, layer.h):
                        self.error(*where, "picture %s is %dx%d, its layer %dx%d"
                                   % (layer.file, size[0], size[1], layer.w, layer.h))
                    layer.size = size
            if screen and (layer.x < SCREEN_LEFT or layer.y < 0 or layer.x + layer.w > SCREEN_RIGHT
                           or layer.y + layer.h > SCREEN_BOTTOM):
                self.error(*where, "layer %s lies outside the screen" % layer.name)
        del names

    def _check_atlas_layer(self, image, layer, where):
        atlas_rel = self.ref(image.path + "/" + layer.atlas, where, what="atlas")
        coords = [_float(layer.attrs.get(a)) for a in ATLAS_ATTRS]
        if None in coords:
            self.error(*where, "layer %s lacks atlas coordinates" % layer.name)
            return
        if atlas_rel is None:
            return
        size = self.picture_size(atlas_rel)
        if size is None:
            self.error(*where, "atlas %s does not decode" % atlas_rel)
            return
        aw, ah = size
        if aw > ATLAS_MAX or ah > ATLAS_MAX:
            self.error(*where, "atlas %s is larger than %d" % (atlas_rel, ATLAS_MAX))
        tu1, tv1, tu2, tv2 = coords
        eps = 1e-6
        if not (-eps <= tu1 <= tu2 <= 1 + eps and -eps <= tv1 <= tv2 <= 1 + eps):
            self.error(*where, "atlas region of %s lies outside its atlas" % layer.name)
            return
        if round((tu2 - tu1) * aw) != layer.w or round((tv2 - tv1) * ah) != layer.h:
            self.error(*where, "atlas region of %s is %gx%g, its layer %dx%d"
                       % (layer.name, (tu2 - tu1) * aw, (tv2 - tv1) * ah, layer.w, layer.h))
        layer.size = (layer.w, layer.h)

    # --- sheets ---
    def sheet(self, rel, where):
        """Rows of a semicolon sheet as (line, {column: cell}) with the header;
        reports CR line ends, commas and rows longer than the header."""
        self.mark(rel)
        data = self.fs.read(rel)
        if data is None:
            self.error(where[0], where[1], "sheet %s is missing" % rel)
            return [], []
        text = data.decode("utf-8", "replace")
        header, rows = None, []
        for number, line in enumerate(text.split("\n"), 1):
            if "\r" in line:
                self.error(rel, number, "carriage return in the line")
            if "," in line:
                self.error(rel, number, "',' in a cell")
            if not line.strip():
                continue
            cells = [c.strip(" \t\r") for c in line.split(";")]
            if header is None:
                header = cells
                continue
            if len(cells) > len(header):
                self.error(rel, number, "row has %d cells, the header %d" % (len(cells), len(header)))
            rows.append((number, dict(zip(header, cells))))
        return header or [], rows


def check_modules():
    names = sorted(f[:-3] for f in os.listdir(paths.PACKAGE_DIR)
                   if (f.startswith("gen_") or f.startswith("check_")) and f.endswith(".py"))
    return [importlib.import_module("content." + n) for n in names]


def check_contract(cc):
    for e in cc.contract.of("file"):
        cc.ref(e.args[0], e.where)
    for e in cc.contract.of("picture"):
        cc.ref(e.args[0], e.where, PICTURE_EXTS, what="picture")
    for e in cc.contract.of("image"):
        cc.image(e.args[0], e.where, screen=e.args[1:] == ["screen"])
    for e in cc.contract.of("layer"):
        image_path, name, kind = e.args
        image = cc.image(image_path, e.where)
        if image is None:
            continue
        layer = image.layer(name)
        if layer is None:
            cc.error(*e.where, "layer %s of %s is missing" % (name, image_path))
        elif kind == "picture" and not layer.is_picture:
            cc.error(*e.where, "layer %s of %s has no picture" % (name, image_path))
        elif kind == "rect" and layer.is_picture:
            cc.error(*e.where, "layer %s of %s must be a rectangle without picture" % (name, image_path))
    for e in cc.contract.of("frames"):
        set_path, group, least = e.args
        image = cc.image(set_path, e.where)
        if image is None:
            continue
        frames = [l for l in image.in_group(group) if l.is_picture]
        if len(frames) < int(least):
            cc.error(*e.where, "group %s of %s has %d frames, needs %s" % (group, set_path, len(frames), least))
    for e in cc.contract.of("unreferenced"):
        if cc.fs.is_file(e.args[0]):
            cc.mark(e.args[0])


def check_files(cc):
    """Case clashes and files nothing references."""
    seen = {}
    for rel in cc.fs.files():
        other = seen.setdefault(rel.lower(), rel)
        if other != rel:
            cc.error(rel, 0, "differs only in case from %s" % other)
    for rel in cc.fs.files():
        if rel not in cc.referenced:
            cc.error(rel, 0, "file is not referenced")


def run(root, tools_dir, out=sys.stdout):
    cc = CheckContext(root, tools_dir, out)
    modules = check_modules()
    for m in modules:
        if hasattr(m, "collect"):
            m.collect(cc)
    for m in modules:
        if hasattr(m, "check"):
            m.check(cc)
    check_contract(cc)
    check_files(cc)
    if cc.fs.packed:
        check_pack_matches(cc, root)
    return 1 if cc.problems else 0


def check_pack_matches(cc, root):
    """A packed root made from a loose one: every entry equals its loose file."""
    loose = os.path.join(os.path.dirname(os.path.abspath(root)), "bin")
    marker = os.path.join(os.path.abspath(root), ".loose-root")
    if os.path.isfile(marker):
        with open(marker) as fh:
            loose = fh.read().strip()
    if not os.path.isdir(os.path.join(loose, "nq")):
        return
    compare_pack_with_loose(cc, loose)


def compare_pack_with_loose(cc, loose):
    names = set(cc.fs.pack_entries)
    loose_nq = os.path.join(loose, "nq")
    on_disk = set()
    for dirpath, _, filenames in os.walk(loose_nq):
        for f in filenames:
            on_disk.add(os.path.relpath(os.path.join(dirpath, f), loose_nq).replace(os.sep, "/"))
    for name in sorted(names | on_disk):
        if name not in on_disk:
            cc.error(dataroot.PACK_NAME, 0, "entry %s has no loose file" % name)
            continue
        if name not in names:
            cc.error(dataroot.PACK_NAME, 0, "loose file nq/%s is not in the pack" % name)
            continue
        with open(os.path.join(loose_nq, name), "rb") as fh:
            if fh.read() != cc.fs.read(dataroot.PACK_PREFIX + name):
                cc.error(dataroot.PACK_NAME, 0, "entry %s differs from its loose file" % name)
