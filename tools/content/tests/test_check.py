"""The content check catches real faults: a valid root passes, and each
mutation of it gives exactly its one error."""
import io
import os
import re
import shutil
import struct
import tempfile
import unittest

from content import checker, dataroot, paths

ROOT = os.environ.get("HV_CONTENT_ROOT", os.path.join(paths.REPO_DIR, "build", "dev", "bin"))
TOOLS = os.environ.get("HV_CONTENT_TOOLS", ROOT)
HAVE_ROOT = os.path.isfile(os.path.join(ROOT, "nq", "towers_sheet.csv"))


def copy_root(src, dst):
    """Hard links of the content's folders (mutations replace files, never edit them in place)."""
    for folder in paths.CONTENT_FOLDERS:
        for dirpath, _, files in os.walk(os.path.join(src, folder)):
            for f in files:
                s = os.path.join(dirpath, f)
                d = os.path.join(dst, os.path.relpath(s, src))
                os.makedirs(os.path.dirname(d), exist_ok=True)
                os.link(s, d)


class Root:
    def __init__(self, path):
        self.path = path

    def file(self, rel):
        return os.path.join(self.path, rel)

    def read(self, rel):
        with open(self.file(rel), encoding="utf-8", newline="") as fh:
            return fh.read()

    def write(self, rel, text):
        tmp = self.file(rel) + ".new"
        with open(tmp, "w", encoding="utf-8", newline="") as fh:
            fh.write(text)
        os.replace(tmp, self.file(rel))

    def sub(self, rel, pattern, repl, count=1):
        text = self.read(rel)
        new, n = re.subn(pattern, repl, text, count=count, flags=re.M)
        assert n, "mutation found nothing to change: %s in %s" % (pattern, rel)
        self.write(rel, new)

    def remove(self, rel):
        os.remove(self.file(rel))

    def drop_layer(self, image, name, keep_file=False):
        self.sub(image + "/layers.xml", r'^\s*<Layer name="%s" [^\n]*\n' % re.escape(name), "")
        if not keep_file:
            for ext in (".png", ".jpg"):
                if os.path.exists(self.file(image + "/" + name + ext)):
                    self.remove(image + "/" + name + ext)


def run_check(path):
    out = io.StringIO()
    code = checker.run(path, TOOLS, out)
    return code, [l for l in out.getvalue().splitlines() if l]


def more_steps(r):
    r.sub("nq/upgrades.xml", r'(<upgrade id="105"[\s\S]*?)(    </steps>)',
          r'\1      <step cost_g="0" cost_r="9"><attributes><param name="cooldown" value="35"/></attributes></step>\n\2')
    r.sub("nq/strings_en.csv", r"^(upgrade_105_complete;.*)$", r"upgrade_105_step6;Reload -35%\n\1")


def same_roads(r):
    # level 2-1's points and links (and so its cache) taken from level 1-2
    roads = re.search(r"  <points>[\s\S]*</links>\n", r.read("nq/levels_normal/level_01_02.xml")).group(0)
    r.sub("nq/levels_normal/level_02_01.xml", r"  <points>[\s\S]*</links>\n", roads.replace("\\", "\\\\"))
    shutil.copyfile(r.file("nq/levels_normal/level_01_02.cache"), r.file("nq/levels_normal/level_02_01.cache") + ".new")
    os.replace(r.file("nq/levels_normal/level_02_01.cache") + ".new", r.file("nq/levels_normal/level_02_01.cache"))


def truncated_cache(r):
    rel = r.file("nq/levels_normal/level_03_02.cache")
    with open(rel, "rb") as fh:
        data = fh.read()
    with open(rel + ".new", "wb") as fh:
        fh.write(data[:len(data) - 10])
    os.replace(rel + ".new", rel)


def wrong_marker(r):
    # marker of direction 5 moved onto the base point's row, far to the side
    r.sub("nq/towers/cannon/layers.xml", r'(name="cannon1/s_point/27" x=")\d+(" y=")\d+', r"\g<1>2\g<2>68")


# (name, mutation, pattern of the one expected problem line)
MUTATIONS = [
    ("reference in other case", lambda r: r.sub("nq/ammo_sheet.csv", r"data/ammo/a1001;", "data/ammo/A1001;"),
     r"only found in other case"),
    ("missing layer picture", lambda r: r.remove("nq/data/ui_parts/ui/brush.png"), r"ui/brush .*has no picture"),
    ("contract layer missing", lambda r: r.drop_layer("nq/main_menu", "ru"), r"layer ru of nq/main_menu is missing"),
    ("rectangle where a picture is required", lambda r: r.remove("nq/data/mm/button/b1_ok/label.png"),
     r"button/b1_ok/label of nq/data/mm has no picture"),
    ("missing key", lambda r: r.sub("nq/strings_en.csv", r"^unlock_caption;.*\n", ""), r"key unlock_caption is missing"),
    ("wrong placeholder count", lambda r: r.sub("nq/strings_en.csv", r"^(gemShopTitle2;.*)%d", r"\1many"),
     r"gemShopTitle2 has placeholders"),
    ("character missing from a font", lambda r: r.sub("nq/strings_en.csv", r"^(game_win;.*)$", "\\1 \u20ac"),
     r"game_win: character U\+20AC is missing"),
    ("sound file missing", lambda r: r.remove("nq/data/sound/win.ogg"), r"win.ogg is missing"),
    ("unknown effect name", lambda r: r.sub("nq/ammo_sheet.csv", r"hit_cannon$", "hit_nowhere"),
     r"effect hit_nowhere is not in the particle library"),
    ("unresolved ammoid", lambda r: r.sub("nq/towers_sheet.csv", r"^(10000;[^\n]*?;dart1;)1001;", r"\g<1>1999;"),
     r"ammoid 1999 is no ammo row"),
    ("child before its parent", lambda r: r.sub("nq/towers_sheet.csv", r"^(10000;[^\n]*\n)(10001;[^\n]*\n)", r"\2\1"),
     r"row 10001 comes before its parent 10000"),
    ("duplicate id across sheets", lambda r: r.sub("nq/ammo_sheet.csv", r"\Z", "39;-1;2;5;;20;;;data/ammo/a9999\n"),
     r"id 39 also in nq/units_sheet.csv"),
    ("entry without upgrade", lambda r: r.sub("nq/levels_normal/level_01_02.xml", r' upgrade="1"', ""),
     r"without upgrade of 1 or more"),
    ("wave with spawn -1", lambda r: r.sub("nq/levels_normal/level_01_03.xml", r'spawn="\d+"', 'spawn="-1"'),
     r"spawn -1 names no point"),
    # (the link is bent back onto its start: the cache's link indices stay valid)
    ("unreachable goal", lambda r: r.sub("nq/levels_normal/level_01_01.xml", r'<link sid="2" eid="3"', '<link sid="2" eid="2"'),
     r"does not reach the goal"),
    ("two normal levels on the same roads", same_roads,
     r"level_02_01.xml:0: same roads as nq/levels_normal/level_01_02.xml"),
    ("level without its path cache", lambda r: r.remove("nq/levels_hardcore/level_03_03.cache"),
     r"level_03_03.xml:0: no path cache nq/levels_hardcore/level_03_03.cache"),
    ("path cache cut short", truncated_cache, r"level_03_02.cache:0: damaged path cache: ends early"),
    ("spot without income_mult", lambda r: r.sub("nq/levels_normal/level_02_01.xml", r'<param name="income_mult" value="[^"]*"/>', ""),
     r"lacks income_mult"),
    ("comma in a cell", lambda r: r.sub("nq/units_sheet.csv", r"^(2;-1;0;1;\d+;\d+;)64;", r"\g<1>6,4;"), r"',' in a cell"),
    ("regenerating unit without cooldown", lambda r: r.sub("nq/units_sheet.csv", r"^(15;(?:[^;\n]*;){7})3;", r"\g<1>;"),
     r"unit 15: regen needs a cooldown above 0"),
    ("spell psd from the data root", lambda r: r.sub("nq/ammo_sheet.csv", r";data/spells/firestorm;", ";nq/data/spells/firestorm;"),
     r"row 3001: psd is relative to nq/"),
    ("HUD label wider than its place", lambda r: r.sub("nq/ui/layers.xml", r'(name="text/waves"[^>]*width=")\d+"', r'\g<1>82"'),
     r'text/waves: "Wave 12/12" is \d+ px wide in main_42_3, its place 82'),
    ("result label wider than its place", lambda r: r.sub("nq/strings_en.csv", r"^game_lose;.*$", "game_lose;Defeated utterly"),
     r'text/levelResult: "Defeated utterly" is \d+ px wide in main_80'),
    ("new seal wider than its place", lambda r: r.sub("nq/strings_en.csv", r"^episodeSelectNew;.*$", "episodeSelectNew;New!"),
     r'level select seal episodeSelectNew: "New!" is \d+ px wide in main_42_3, its place 80'),
    ("dialog caption touching the frame", lambda r: r.sub("nq/data/message/layers.xml",
                                                           r'(name="text/caption" x="\d+" y=")\d+"', r'\g<1>180"'),
     r'text/caption: unlock_caption "[^"]*" begins at row \d+ in main_80'),
    ("button label reaching its button's rim", lambda r: r.sub("nq/strings_en.csv", r"^b1_cancel;.*$", "b1_cancel;Back"),
     r'button label b1_cancel: "Back" is \d+ px wide in main_80, its place button/b1_cancel/label of nq/data/mm '
     r'less 12 at either end'),
    ("upgrade step on two lines", lambda r: r.sub("nq/strings_en.csv", r"^upgrade_101_step0;.*$", "upgrade_101_step0;Archer damage +10%"),
     r'upgrade step upgrade_101_step0: "Archer damage \+10%" is \d+ px wide in main_32_2, its place 333'),
    ("upgrade name reaching into the step text", lambda r: r.sub("nq/strings_en.csv", r"^upgrade_101_name;.*$", "upgrade_101_name;Sharp darts"),
     r'upgrade name upgrade_101_name: "Sharp darts" ends at row \d+ of its plate, the step text '
     r'upgrade_101_\w+ "[^"]*" begins at row \d+'),
    ("step texts set lower than the plate's frame",
     lambda r: r.sub("nq/data/fonts/main_32_2.fnt", r'(<info [^>]*size=")\d+"', r'\g<1>24"'),
     r'item_plate/Layer_1: 98 high, its frame 6; the step text upgrade_\d+_\w+ "[^"]*" reaches row \d+ in main_32_2'),
    ("message box line wider than its place", lambda r: r.sub("nq/strings_en.csv", r"^IllegalResolutionMessage;.*$",
                                                               "IllegalResolutionMessage;This window size does not fit your screen."),
     r'message box IllegalResolutionMessage: .* its place text/message of nq/data/mm'),
    ("CR line end", lambda r: r.sub("nq/towers_sheet.csv", r"^(10002;[^\n]*)\n", "\\1\r\n"), r"carriage return"),
    ("announced id without icon", lambda r: r.drop_layer("nq/data/message", "icons/id20000"),
     r"announced id 20000 has no icon"),
    ("seven upgrade steps", more_steps, r"upgrade 105 has 7 steps"),
    ("rotating tower with 127 frames", lambda r: r.drop_layer("nq/towers/cannon", "cannon2/f077", keep_file=True),
     r"cannon2 has 127 root frames"),
    ("s_point marker pointing the wrong way", wrong_marker, r"s_point of cannon1 for direction 5 points"),
    ("atlas region outside its atlas", lambda r: r.sub("nq/units/t1units/layers.xml", r'tu2="[0-9.]+"', 'tu2="1.200000000"'),
     r"lies outside its atlas"),
    ("negative font size", lambda r: r.sub("nq/data/fonts/main_42_1.fnt", r'size="?\d+', lambda m: m.group(0).replace("size=", "size=-").replace('-"', '"-')),
     r"size"),
    ("orphan file", lambda r: (r.write("nq/data/stray.png", "x"), r.write("some_program", "beside the content")),
     r"nq/data/stray.png:0: file is not referenced"),
    ("a third profile slot before profile1", lambda r: r.sub("nq/data/profiles/layers.xml", r'^(\s*<Layer name="text/select"[^\n]*\n)',
                                                                  '\\1  <Layer name="text/footer" x="300" y="700" width="100" height="20" opacity="255" ind="99"/>\n'),
     r"3 text slots sort before profile1"),
    ("tutorial spot naming no spot", lambda r: r.sub("nq/tutorial.xml", r'param="spot" value="0"', 'param="spot" value="99"'),
     r"spot 99 names no spot"),
]


@unittest.skipUnless(HAVE_ROOT, "no built data root at " + ROOT)
class CheckCatchesFaults(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="content-check-")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def fresh(self, name):
        path = os.path.join(self.tmp, re.sub(r"\W+", "_", name))
        copy_root(ROOT, path)
        return Root(path)

    def test_valid_root_passes(self):
        code, lines = run_check(self.fresh("valid").path)
        self.assertEqual(lines, [])
        self.assertEqual(code, 0)

    def test_each_mutation_gives_exactly_its_error(self):
        for name, mutate, expected in MUTATIONS:
            with self.subTest(name):
                root = self.fresh(name)
                mutate(root)
                code, lines = run_check(root.path)
                self.assertEqual(code, 1, lines)
                self.assertEqual(len(lines), 1, "\n".join(lines))
                self.assertRegex(lines[0], expected)

    def test_pack_entry_differing_from_its_loose_file(self):
        packed = os.path.join(self.tmp, "packed")
        os.makedirs(packed)
        entries = {}
        nq = os.path.join(ROOT, "nq")
        for dirpath, _, files in os.walk(nq):
            for f in files:
                full = os.path.join(dirpath, f)
                with open(full, "rb") as fh:
                    entries[os.path.relpath(full, nq).replace(os.sep, "/")] = fh.read()
        entries["strings_en.csv"] = entries["strings_en.csv"].replace(b"Victory!", b"Victory?")
        write_pack(os.path.join(packed, dataroot.PACK_NAME), entries)
        for folder in ("data", "logo"):
            shutil.copytree(os.path.join(ROOT, folder), os.path.join(packed, folder))
        for rel in entries:
            if paths.is_path_cache("nq/" + rel):
                os.makedirs(os.path.dirname(os.path.join(packed, "nq", rel)), exist_ok=True)
                shutil.copyfile(os.path.join(nq, rel), os.path.join(packed, "nq", rel))
        with open(os.path.join(packed, ".loose-root"), "w") as fh:
            fh.write(ROOT + "\n")
        code, lines = run_check(packed)
        self.assertEqual(code, 1)
        self.assertEqual(lines, ["data.dat:0: entry strings_en.csv differs from its loose file"])


def write_pack(path, entries):
    """The pack format: magic, count, records in name order, then the bytes."""
    names = sorted(entries)
    directory = 4 + 6 + 4 + sum(17 + 2 * len(n) for n in names)
    out = bytearray(struct.pack("<I", 6) + b"hvpack" + struct.pack("<I", len(names)))
    offset = directory
    for n in names:
        out += struct.pack("<I", len(n)) + n.encode("utf-16-le")
        out += struct.pack("<II", len(entries[n]), offset) + b"\0" + struct.pack("<I", 0)
        offset += len(entries[n])
    for n in names:
        out += entries[n]
    with open(path, "wb") as fh:
        fh.write(out)


if __name__ == "__main__":
    unittest.main()
