"""Road graph of a map: points, links with their curve anchors, sampled
curves and the build spots placed beside the roads."""
import math

LANE = 20            # lanes run up to this far either side of a road's middle
ROAD_HALF = 34       # painted half width: the lanes plus a verge
SPOT_OFFSET = 78     # distance of a spot from the road's middle
SPOT_CLEAR = 64      # no road closer than this to a spot centre
SPOT_GAP = 96        # between spot centres
SPOT_AREA = (60, 90, 964, 700)   # where spots may stand (clear of the HUD strips)
MAX_SPOTS = 11
CURVE_STEPS = 24


def quad(p0, c, p1, t):
    u = 1 - t
    return (u * u * p0[0] + 2 * u * t * c[0] + t * t * p1[0],
            u * u * p0[1] + 2 * u * t * c[1] + t * t * p1[1])


class RoadGraph:
    def __init__(self, map_def):
        self.points = []      # (x, y)
        self.kinds = {}       # index -> "spawn" | "goal"
        self.links = []       # (a, b, anchor)
        self.spawns = []      # point index per road
        index = {}

        def point(xy):
            key = (int(xy[0]), int(xy[1]))
            if key not in index:
                index[key] = len(self.points)
                self.points.append(key)
            return index[key]

        for road in map_def["roads"]:
            pts = [point(p) for p in road["points"]]
            self.spawns.append(pts[0])
            bend = road.get("bend", 0)
            for k in range(len(pts) - 1):
                a, b = pts[k], pts[k + 1]
                if any(l[0] == a and l[1] == b for l in self.links):
                    continue
                (ax, ay), (bx, by) = self.points[a], self.points[b]
                mx, my = (ax + bx) / 2, (ay + by) / 2
                length = math.hypot(bx - ax, by - ay) or 1
                nx, ny = -(by - ay) / length, (bx - ax) / length
                s = bend * (1 if k % 2 == 0 else -1)
                self.links.append((a, b, (round(mx + nx * s), round(my + ny * s))))
        # The first road ends at the goal; the others join it.
        self.goal = point(map_def["roads"][0]["points"][-1])
        for s in self.spawns:
            self.kinds[s] = "spawn"
        self.kinds[self.goal] = "goal"

    def curve(self, link, steps=CURVE_STEPS):
        a, b, c = link
        return [quad(self.points[a], c, self.points[b], i / steps) for i in range(steps + 1)]

    def samples(self, step=8.0):
        out = []
        for link in self.links:
            pts = self.curve(link, 64)
            for i in range(len(pts) - 1):
                (x0, y0), (x1, y1) = pts[i], pts[i + 1]
                n = max(1, int(math.hypot(x1 - x0, y1 - y0) / step))
                for k in range(n):
                    t = k / n
                    out.append((x0 + (x1 - x0) * t, y0 + (y1 - y0) * t))
        return out

    def distance_to_road(self, x, y, samples):
        return min(math.hypot(x - sx, y - sy) for sx, sy in samples)

    def place_spots(self, fixed=()):
        samples = self.samples()
        spots = [tuple(p) for p in fixed]
        x0, y0, x1, y1 = SPOT_AREA
        per_link = []
        for link in self.links:
            candidates = []
            per_link.append(candidates)
            pts = self.curve(link, 12)
            for i in range(1, len(pts) - 1):
                (px, py), (qx, qy) = pts[i - 1], pts[i + 1]
                d = math.hypot(qx - px, qy - py) or 1
                nx, ny = -(qy - py) / d, (qx - px) / d
                for side in ((1, -1) if i % 2 else (-1, 1)):
                    cx, cy = pts[i][0] + nx * SPOT_OFFSET * side, pts[i][1] + ny * SPOT_OFFSET * side
                    candidates.append((round(cx), round(cy)))
        # Round robin over the links spreads the spots along the whole road.
        longest = max(len(c) for c in per_link)
        candidates = [c[i] for i in range(longest) for c in per_link if i < len(c)]
        for cx, cy in candidates:
            if len(spots) >= MAX_SPOTS:
                break
            if not (x0 <= cx <= x1 and y0 <= cy <= y1):
                continue
            if any(math.hypot(cx - sx, cy - sy) < SPOT_GAP for sx, sy in spots):
                continue
            if self.distance_to_road(cx, cy, samples) < SPOT_CLEAR:
                continue
            spots.append((cx, cy))
        return spots
