"""The picture generators: deterministic output and turret frames that aim
where the sprite rules say."""
import math
import unittest

from content import art_map, art_towers, framework, gamedata, gen_levels, gen_sprites, levelgeom

ENV = framework.JobEnv("/nonexistent")
MAGENTA = (255, 0, 255)


class Deterministic(unittest.TestCase):
    def test_layered_image_with_atlas_is_byte_identical_twice(self):
        line = next(l for l in gamedata.GameData().towers if l["name"] == "dart")
        first = gen_sprites.render_towers(ENV, line)
        second = gen_sprites.render_towers(ENV, line)
        self.assertTrue(any(k.endswith("atlas0.png") for k in first))
        self.assertEqual(first, second)

    def test_level_and_its_map_are_byte_identical_twice(self):
        data = gamedata.GameData()
        m = data.maps["meadow"]
        graph = levelgeom.RoadGraph(m)
        spots = tuple(graph.place_spots(m.get("fixed_spots", [])))

        def build():
            trees = tuple(art_map.place_trees(graph, spots, framework.rng("trees/test")))
            out = art_map.render(ENV, "test_map", "meadow", m, spots, trees, ((100, 100),))
            waves = gen_levels.parse_waves("test", data.levels["episode"][0]["level"][0]["waves"])
            out["level.xml"] = gen_levels.level_xml(graph, list(spots), waves, 100, -1, "nq/data/levels/test_map/bg")
            return out

        self.assertEqual(build(), build())


class TurretAim(unittest.TestCase):
    def test_barrel_centroid_lies_along_its_direction(self):
        w, h = 112, 112
        px, py = art_towers.pivot(w, h)
        for d in range(art_towers.DIRECTIONS):
            with self.subTest(direction=d):
                im = art_towers.turret_frame(w, h, MAGENTA, 0, d, 0).convert("RGBA")
                xs = ys = n = 0
                for y in range(h):
                    for x in range(w):
                        r, g, b, a = im.getpixel((x, y))
                        if r > 200 and b > 200 and g < 90 and a > 200:
                            xs, ys, n = xs + x + 0.5, ys + y + 0.5, n + 1
                self.assertGreater(n, 20)
                cx, cy = xs / n - px, ys / n - py
                dx, dy = art_towers.direction(d)
                off = math.degrees(math.atan2(cx * dy - cy * dx, cx * dx + cy * dy))
                self.assertLess(abs(off), art_towers.SECTOR_DEG / 2, (cx, cy))

    def test_direction_follows_the_sector_formula(self):
        # frame 4d is drawn along dir(d): theta = (31.5 - d) x 11.25 degrees, (sin, cos) in screen axes
        self.assertAlmostEqual(art_towers.direction(0)[0], math.sin(math.radians(31.5 * 11.25)))
        dx, dy = art_towers.direction(15)
        self.assertAlmostEqual(math.degrees(math.atan2(dx, dy)) % 360, 16.5 * 11.25)


if __name__ == "__main__":
    unittest.main()
