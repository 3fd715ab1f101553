"""Where the levels and locations of the two map pages lie. Shared by the
map's pictures (make_map.py) and its screen description (make_shell.py), so
the stepping stones drawn into a page are where its level buttons are.

Page 1 holds levels 1 to 36, page 2 levels 37 to 71. Each page has seven
locations (14 in all); a location's levels follow each other along the
page's path, and its landmark stands beside its middle level.
"""
import math

W, H = 640, 480
LEVELS = 71
PAGE_SPLIT = 36  # the last level of page 1

# The paths wind up the page from the lower left; control points in
# screen pixels, the level stones spread evenly along the curve. The
# top bar (y < 70) and the bottom bar (y > 420) stay clear for buttons.
PATHS = {
    1: [(60, 400), (180, 405), (300, 385), (430, 400), (560, 380), (585, 320), (470, 300), (340, 310),
        (210, 300), (80, 280), (70, 215), (190, 195), (320, 205), (450, 190), (575, 180), (570, 115),
        (440, 100), (300, 105), (160, 95)],
    2: [(80, 405), (210, 395), (340, 405), (470, 390), (575, 370), (560, 305), (430, 295), (300, 300),
        (170, 290), (70, 255), (100, 195), (230, 190), (360, 195), (490, 180), (580, 140), (520, 95),
        (390, 95), (260, 100), (130, 95)],
}

# Each location: (name, first level, last level). The names are the
# landmarks' and the keys of their texts ("location_" + name).
LOCATIONS = [
    ("gate", 1, 5), ("pond", 6, 10), ("willow", 11, 15), ("well", 16, 20), ("bridge", 21, 25),
    ("arbour", 26, 30), ("fountain", 31, 36),
    ("orchard", 37, 41), ("lanterns", 42, 46), ("stones", 47, 51), ("greenhouse", 52, 56),
    ("maze", 57, 61), ("tower", 62, 66), ("moonpool", 67, 71),
]


def page_of(level):
    return 1 if level <= PAGE_SPLIT else 2


def _catmull(points, samples=40):
    """A smooth curve through the points, as a dense list of points."""
    pts = [points[0]] + points + [points[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        for s in range(samples):
            t = s / float(samples)
            t2, t3 = t * t, t * t * t
            out.append(tuple(0.5 * ((2 * p1[k]) + (-p0[k] + p2[k]) * t + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) *
                                    t2 + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3) for k in range(2)))
    out.append(points[-1])
    return out


def path_curve(page):
    return _catmull(PATHS[page])


def _even_points(curve, count):
    """`count` points spread evenly along the curve by arc length."""
    lengths = [0.0]
    for a, b in zip(curve, curve[1:]):
        lengths.append(lengths[-1] + math.hypot(b[0] - a[0], b[1] - a[1]))
    total = lengths[-1]
    out = []
    j = 0
    for i in range(count):
        want = total * (i + 0.5) / count
        while j < len(lengths) - 2 and lengths[j + 1] < want:
            j += 1
        seg = lengths[j + 1] - lengths[j]
        t = (want - lengths[j]) / seg if seg > 0 else 0.0
        a, b = curve[j], curve[j + 1]
        out.append((int(round(a[0] + (b[0] - a[0]) * t)), int(round(a[1] + (b[1] - a[1]) * t))))
    return out


def level_positions():
    """{level: (x, y)} of every level's stone, the anchor of its button."""
    out = {}
    first = list(range(1, PAGE_SPLIT + 1))
    second = list(range(PAGE_SPLIT + 1, LEVELS + 1))
    for page, levels in ((1, first), (2, second)):
        for level, point in zip(levels, _even_points(path_curve(page), len(levels))):
            out[level] = point
    return out


def location_places():
    """{name: (x, y, page)}: where each landmark stands, beside the path at
    its middle level, on the side away from the path's bend."""
    pos = level_positions()
    out = {}
    for name, first, last in LOCATIONS:
        middle = (first + last) // 2
        x, y = pos[middle]
        ax, ay = pos[max(first, middle - 1)]
        bx, by = pos[min(last, middle + 1)]
        dx, dy = bx - ax, by - ay
        n = math.hypot(dx, dy) or 1.0
        # the normal pointing up the page (landmarks stand behind the path)
        nx, ny = -dy / n, dx / n
        if ny > 0:
            nx, ny = -nx, -ny
        out[name] = (int(round(x + nx * 34)), int(round(y + ny * 34)), page_of(first))
    return out
