"""The picture generators: deterministic output and turret frames that aim
where the sprite rules say."""
import math
import unittest

from content import art_map, art_towers, art_ui, framework, gamedata, gen_levels, gen_sprites, levelgeom

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


class SpotPlacement(unittest.TestCase):
    ROAD = {"roads": [{"points": [[-60, 300], [400, 320], [700, 500], [1090, 480]], "bend": 30}]}

    def test_a_spot_under_a_kept_clear_rectangle_moves_off_it_and_keeps_its_number(self):
        graph = levelgeom.RoadGraph(self.ROAD)
        free = graph.place_spots()
        self.assertGreater(len(free), 3)
        for k in (1, len(free) - 1):
            with self.subTest(spot=k):
                x0, y0, x1, y1 = levelgeom.spot_frame(free[k])
                # over the spot's lower half, clear of the others
                strip = (x0, (y0 + y1) / 2, x1, y1)
                placed = graph.place_spots(keep_clear=[strip])
                self.assertEqual(len(placed), len(free))
                self.assertEqual([p for i, p in enumerate(placed) if i != k], [p for i, p in enumerate(free) if i != k])
                self.assertFalse(levelgeom.overlaps(levelgeom.spot_frame(placed[k]), strip))
                moved = math.hypot(placed[k][0] - free[k][0], placed[k][1] - free[k][1])
                self.assertLessEqual(moved, levelgeom.SPOT_SHIFT * math.sqrt(2))

    def test_fixed_spots_stay_where_they_are(self):
        graph = levelgeom.RoadGraph(self.ROAD)
        fixed = [(500, 200)]
        placed = graph.place_spots(fixed, keep_clear=[levelgeom.spot_frame(fixed[0])])
        self.assertEqual(placed[0], fixed[0])


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


class ProjectilesReadable(unittest.TestCase):
    """Every projectile stands out on every ground it flies over: a ring of
    pixels far lighter or darker than the ground, whatever its own colour."""

    MIN_CONTRAST = 100   # luminance difference to the ground
    MIN_PIXELS = 60      # about a ring 12 px across

    @staticmethod
    def luminance(rgb):
        return 0.299 * rgb[0] + 0.587 * rgb[1] + 0.114 * rgb[2]

    def standing_out(self, picture, ground):
        base = self.luminance(ground)
        count = 0
        for r, g, b, a in picture.getdata():
            f = a / 255.0
            seen = (r * f + ground[0] * (1 - f), g * f + ground[1] * (1 - f), b * f + ground[2] * (1 - f))
            if abs(self.luminance(seen) - base) >= self.MIN_CONTRAST:
                count += 1
        return count

    def test_every_projectile_on_every_ground(self):
        data = gamedata.GameData()
        looks = [(a["id"], a["look"], a["color"]) for a in data.ammo] + \
                [(s["id"], "orb", s["color"]) for s in data.spells]
        grounds = [(name, key, theme[key]) for name, theme in sorted(art_map.THEMES.items())
                   for key in ("ground", "ground2", "road", "edge")]
        for ident, look, color in looks:
            picture = art_ui.projectile(look, color).convert("RGBA")
            for name, key, ground in grounds:
                with self.subTest(ammo=ident, ground=name + " " + key):
                    self.assertGreaterEqual(self.standing_out(picture, ground), self.MIN_PIXELS)
