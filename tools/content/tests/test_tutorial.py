"""The tutorial's bubbles stay off what their pointers point at."""
import os
import tomllib
import unittest
import xml.etree.ElementTree as ET

from content import gamedata, gen_tutorial, levelgeom, paths

ROOT = os.environ.get("HV_CONTENT_ROOT", os.path.join(paths.REPO_DIR, "build", "dev", "bin"))
HINTS = "nq/data/tutorial/layers.xml"
W, H = 340, 124   # a bubble


def on_screen(box):
    x, y, w, h = box
    sx0, sy0, sx1, sy1 = gen_tutorial.SCREEN
    return sx0 <= x and sy0 <= y and x + w <= sx1 and y + h <= sy1


def covers(box, target):
    x, y, w, h = box
    return levelgeom.overlaps((x, y, x + w, y + h), target)


class PlaceBubble(unittest.TestCase):
    def test_a_bubble_over_its_target_moves_beside_it(self):
        gap = gen_tutorial.BUBBLE_GAP
        cases = [
            # (what, bubble, target, where it goes)
            ("clear of it: stays", (100, 100, W, H), (500, 500, 560, 560), (100, 100, W, H)),
            ("over its top: to the other side, below", (130, 420, W, H), (0, 520, 414, 576), (130, 576 + gap, W, H)),
            ("over its bottom: above", (100, 300, W, H), (50, 200, 150, 320), (100, 200 - gap - H, W, H)),
            ("over its left side, no room right: left of it", (520, 400, W, H), (852, 472, 940, 576),
             (852 - gap - W, 400, W, H)),
            ("over its left side: right of it", (200, 300, W, H), (520, 320, 600, 380), (600 + gap, 300, W, H)),
            ("over its top, no room below: moved up off it", (400, 620, W, H), (450, 700, 530, 760),
             (400, 700 - gap - H, W, H)),
        ]
        for what, bubble, target, expected in cases:
            with self.subTest(what):
                placed = tuple(gen_tutorial.place_bubble(bubble, target))
                self.assertEqual(placed, expected)
                self.assertFalse(covers(placed, target))
                self.assertTrue(on_screen(placed))

    def test_no_room_anywhere_is_an_error(self):
        with self.assertRaises(ValueError):
            gen_tutorial.place_bubble((0, 0, W, H), (0, 0, 1024, 768))


class ShippedHints(unittest.TestCase):
    """The built hints of every step, against the target the step names."""

    def test_no_bubble_covers_its_target(self):
        path = os.path.join(ROOT, HINTS)
        if not os.path.isfile(path):
            self.skipTest("no built content in %s" % ROOT)
        layers = {l.get("name"): l for l in ET.parse(path).getroot().iter("Layer")}
        with open(os.path.join(paths.SOURCE_DIR, "tutorial.toml"), "rb") as fh:
            steps = tomllib.load(fh)["step"]
        facts = gen_tutorial.level_facts(gamedata.GameData())
        for step in steps:
            with self.subTest(step=step["id"]):
                layer = layers["step%d/bubble" % step["id"]]
                box = tuple(int(layer.get(k)) for k in ("x", "y", "width", "height"))
                target = gen_tutorial.target_box(step, facts)
                self.assertFalse(covers(box, target), "bubble %s over %s" % (box, target))
                self.assertTrue(on_screen(box), box)
