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
SPOT_SHIFT = 64       # how far a spot moves off a wave marker, at most, before it takes another place
SHIFT_STEP = 2
CURVE_STEPS = 24
SPOT_FRAME = (76, 56)   # the closed spot picture (art_ui.spot), centred on the spot
# The wave marker at a road's start as the game places it: its picture's top
# left at the spawn point, kept inside the play area between the HUD strips,
# and the "Next wave in N" text beside it, towards the middle of the screen.
MARKER_SIZE = 56        # the marker picture (art_ui "ui/wave_hint")
MARKER_AREA = (1024, 768)
MARKER_TOP = 100
MARKER_BOTTOM = 668
MARKER_TEXT_GAP = 32    # from the marker's centre to the text's near end
SCREEN_MIDDLE_X = 512


def wave_marker_rects(point, text_width, line_height):
    """The marker picture's and its text's rectangles (x0, y0, x1, y1) at a
    spawn point, for a text of that width on one line of that height."""
    x = min(max(int(point[0]), 0), MARKER_AREA[0])
    y = min(max(int(point[1]), 0), MARKER_AREA[1])
    if x + MARKER_SIZE > MARKER_AREA[0]:
        x = MARKER_AREA[0] - MARKER_SIZE
    if y < MARKER_TOP:
        y = MARKER_TOP
    elif y + MARKER_SIZE > MARKER_BOTTOM:
        y = MARKER_BOTTOM - MARKER_SIZE
    cx, cy = x + MARKER_SIZE / 2, y + MARKER_SIZE / 2
    # The text is centred on the marker's height, whole units up.
    top = cy - line_height // 2
    if x < SCREEN_MIDDLE_X:
        text = (cx + MARKER_TEXT_GAP, top, cx + MARKER_TEXT_GAP + text_width, top + line_height)
    else:
        text = (cx - MARKER_TEXT_GAP - text_width, top, cx - MARKER_TEXT_GAP, top + line_height)
    return [(x, y, x + MARKER_SIZE, y + MARKER_SIZE), text]


def spot_frame(spot):
    w, h = SPOT_FRAME
    return (spot[0] - w / 2, spot[1] - h / 2, spot[0] + w / 2, spot[1] + h / 2)


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


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

    def spot_candidates(self):
        """Spot places on either side of every link, round robin over the
        links so that the spots spread along the whole road."""
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
        longest = max(len(c) for c in per_link)
        return [c[i] for i in range(longest) for c in per_link if i < len(c)]

    def place_spots(self, fixed=(), keep_clear=()):
        """The fixed spots, then up to MAX_SPOTS placed ones; none of the
        placed ones has its frame over a rectangle of keep_clear."""
        samples = self.samples()
        x0, y0, x1, y1 = SPOT_AREA

        def fits(c, others):
            cx, cy = c
            if not (x0 <= cx <= x1 and y0 <= cy <= y1):
                return False
            if any(math.hypot(cx - sx, cy - sy) < SPOT_GAP for sx, sy in others):
                return False
            return self.distance_to_road(cx, cy, samples) >= SPOT_CLEAR

        def covers(c):
            return any(overlaps(spot_frame(c), r) for r in keep_clear)

        candidates = self.spot_candidates()
        spots = [tuple(p) for p in fixed]
        for c in candidates:
            if len(spots) >= MAX_SPOTS:
                break
            if fits(c, spots):
                spots.append(c)
        # A spot under a kept-clear rectangle moves to the nearest free place
        # (the map plays the same with the spot where it was) and keeps its
        # number, as the other spots keep theirs: the tutorial's, the locked
        # and the boosted spots are numbers.
        for k in range(len(fixed), len(spots)):
            if not covers(spots[k]):
                continue
            others = [s for s in spots[:k] + spots[k + 1:] if s is not None]
            was = spots[k]
            nearby = sorted(((was[0] + dx, was[1] + dy) for dx in range(-SPOT_SHIFT, SPOT_SHIFT + 1, SHIFT_STEP)
                             for dy in range(-SPOT_SHIFT, SPOT_SHIFT + 1, SHIFT_STEP)),
                            key=lambda c: (math.hypot(c[0] - was[0], c[1] - was[1]), c))
            spots[k] = next((c for c in nearby + candidates if not covers(c) and fits(c, others)), None)
        return [s for s in spots if s is not None]
