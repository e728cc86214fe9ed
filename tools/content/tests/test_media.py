"""Fonts, sounds and the particle library: built twice they are the same
bytes, and the glyphs of a font page never overlap."""
import os
import subprocess
import tempfile
import unittest
import xml.etree.ElementTree as ET

from content import fonts, fx, paths

TOOLS = os.environ.get("HV_CONTENT_TOOLS", "")


def font_table():
    table = fonts.load_sources(paths.SOURCE_DIR)
    return table, fonts.glyph_codes(table)


def boxes(fnt):
    """(page, x, y, w, h, id) of every glyph with pixels."""
    root = ET.fromstring(fnt)
    out = []
    for c in root.find("chars"):
        v = {k: int(c.get(k)) for k in ("id", "x", "y", "width", "height", "page")}
        if v["width"] and v["height"]:
            out.append((v["page"], v["x"], v["y"], v["width"], v["height"], v["id"]))
    return out, int(root.find("common").get("scaleW")), int(root.find("common").get("scaleH"))


def overlaps(a, b):
    return (a[0] == b[0] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]
            and a[2] < b[2] + b[4] and b[2] < a[2] + a[4])


class FontTest(unittest.TestCase):
    def test_a_font_built_twice_is_the_same_bytes(self):
        table, codes = font_table()
        spec = table["font"][0]
        first = fonts.render_font(spec, codes, table["spacing"], table["max_page"])
        second = fonts.render_font(spec, codes, table["spacing"], table["max_page"])
        self.assertEqual(sorted(first), sorted(second))
        for name in first:
            self.assertEqual(first[name], second[name], name)

    def test_every_font_has_the_glyph_set_and_its_boxes_never_overlap(self):
        table, codes = font_table()
        for spec in table["font"]:
            files = fonts.render_font(spec, codes, table["spacing"], table["max_page"])
            root = ET.fromstring(files[spec["name"] + ".fnt"])
            self.assertEqual({int(c.get("id")) for c in root.find("chars")}, set(codes), spec["name"])
            info, common = root.find("info"), root.find("common")
            self.assertGreater(int(info.get("size")), 0)
            self.assertLess(int(common.get("base")), int(common.get("lineHeight")))
            # Faces carry our names, never the original font's.
            self.assertNotIn("DejaVu", info.get("face"))
            glyphs, width, height = boxes(files[spec["name"] + ".fnt"])
            self.assertGreater(len(glyphs), len(codes) // 2, spec["name"])
            for g in glyphs:
                self.assertTrue(0 <= g[1] and g[1] + g[3] <= width and 0 <= g[2] and g[2] + g[4] <= height,
                                "%s: glyph %d leaves its page" % (spec["name"], g[5]))
            for i, a in enumerate(glyphs):
                for b in glyphs[i + 1:]:
                    self.assertFalse(overlaps(a, b), "%s: glyphs %d and %d overlap" % (spec["name"], a[5], b[5]))

    def test_the_overlap_test_sees_a_shared_pixel(self):
        self.assertTrue(overlaps((0, 10, 10, 5, 5, 1), (0, 14, 14, 5, 5, 2)))
        self.assertFalse(overlaps((0, 10, 10, 5, 5, 1), (0, 15, 10, 5, 5, 2)))
        self.assertFalse(overlaps((0, 10, 10, 5, 5, 1), (1, 10, 10, 5, 5, 2)))


@unittest.skipUnless(TOOLS and os.path.isfile(os.path.join(TOOLS, "make_audio")), "make_audio is not built")
class SoundTest(unittest.TestCase):
    def render(self, score, folder):
        out = os.path.join(folder, "hit_big.ogg")
        subprocess.run([os.path.join(TOOLS, "make_audio"), score, out], check=True, capture_output=True)
        with open(out, "rb") as fh:
            return fh.read()

    def test_a_sound_rendered_twice_is_the_same_bytes(self):
        score = os.path.join(paths.SOURCE_DIR, "src", "sound", "hit_big.score")
        with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
            first, second = self.render(score, a), self.render(score, b)
        self.assertTrue(first.startswith(b"OggS"))
        self.assertEqual(first, second)


class ParticleLibraryTest(unittest.TestCase):
    def test_the_particle_library_built_twice_is_the_same_bytes(self):
        first = fx.build_fx(os.path.join(paths.SOURCE_DIR, "src"))
        second = fx.build_fx(os.path.join(paths.SOURCE_DIR, "src"))
        self.assertEqual(sorted(first), ["nq/fx/fx2.ptc", "nq/fx/fx_atlas0.png"])
        for name in first:
            self.assertEqual(first[name], second[name], name)

    def test_every_effect_name_is_unique(self):
        with open(os.path.join(paths.SOURCE_DIR, "src", "fx", "fx2.ptc"), encoding="utf-8") as fh:
            names = fx.effect_names(fh.read())
        self.assertEqual(len(names), len(set(names)))


if __name__ == "__main__":
    unittest.main()


@unittest.skipUnless(TOOLS and os.path.isfile(os.path.join(TOOLS, "make_video")), "make_video is not built")
class VideoHeaderTest(unittest.TestCase):
    """The check reads the intro's size, frame rate and pixel format from its
    Theora header: what the player needs is a multiple of 16, 4:2:0, a rate."""

    def header(self, *args):
        from content import gen_video
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "v.ogv")
            subprocess.run([os.path.join(TOOLS, "make_video"), out, "--frames", "2"] + list(args),
                           check=True, capture_output=True)
            with open(out, "rb") as fh:
                return gen_video.theora_info(fh.read())

    def test_size_rate_and_pixel_format_are_read(self):
        self.assertEqual(self.header("--size", "64x48", "--fps", "25/1", "--format", "420"), (64, 48, 25, 1, 0))
        width, height, num, den, pixel_format = self.header("--size", "48x48", "--fps", "30000/1001",
                                                            "--format", "444")
        self.assertEqual((width, height, num, den), (48, 48, 30000, 1001))
        self.assertNotEqual(pixel_format, 0)

    def test_a_file_without_theora_has_no_header(self):
        from content import gen_video
        self.assertIsNone(gen_video.theora_info(b"OggS" + bytes(100)))
        self.assertIsNone(gen_video.theora_info(b""))
