#!/usr/bin/env python3
"""Draws the eight weather pictures into this folder as PNG files.

Plain RGB PNGs (IHDR, IDAT, IEND only) on opaque white, drawn with 4 x 4
supersampling so that edges stay smooth when the banner stretches them to
39 x 23. Standard library only: run it with any Python 3.
"""

import math
import os
import struct
import zlib

WHITE = (255, 255, 255)
OUTLINE = (125, 125, 125)
SHADE_DARK = (230, 230, 230)
SHADE_LIGHT = (239, 239, 239)
RAY_BASE = (255, 181, 0)
RAY_TIP = (255, 197, 0)
RIM = (250, 142, 0)
DISC_EDGE = (255, 212, 0)
DISC_CENTRE = (255, 238, 96)
DROP = (102, 204, 255)
HIGHLIGHT = (188, 255, 255)

SUPERSAMPLE = 4
OUTLINE_WIDTH = 1.35  # pixels; still one pixel when a 55 wide picture shrinks to 39


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# Shapes are functions from a point to a colour, or None where they leave the
# point to whatever lies below them.


def sun(cx, cy, tip, disc, rays=8, gap=1.1, rim=1.4):
    """A disc with a rim, ringed by pointed rays whose tips reach `tip`."""
    base = disc + gap
    half_base = base * math.sin(math.pi / rays) * 0.85  # neighbouring rays nearly touch

    def colour(x, y):
        dx, dy = x - cx, y - cy
        r = math.hypot(dx, dy)
        if r <= disc:
            if r > disc - rim:
                return RIM
            # Lit from the upper left.
            lx, ly = dx + disc * 0.3, dy + disc * 0.3
            return mix(DISC_CENTRE, DISC_EDGE, math.hypot(lx, ly) / (disc * 1.3))
        if base <= r <= tip:
            angle = math.atan2(dy, dx) + math.pi / 2  # a ray points straight up
            step = 2 * math.pi / rays
            off = (angle + step / 2) % step - step / 2
            across = abs(r * math.sin(off))
            if across <= half_base * (tip - r) / (tip - base):
                return mix(RAY_BASE, RAY_TIP, (r - base) / (tip - base))
        return None

    return colour


# A cloud as circles over a rounded base, in units of its own width; its
# distance field is the union's.
CLOUD_CIRCLES = [(0.19, 0.56, 0.16), (0.42, 0.36, 0.25), (0.69, 0.43, 0.20), (0.85, 0.58, 0.14)]
CLOUD_BASE = (0.17, 0.86, 0.60, 0.14)  # capsule from x0 to x1 at height y, radius


def cloud_distance(u, v):
    d = min(math.hypot(u - cx, v - cy) - r for cx, cy, r in CLOUD_CIRCLES)
    x0, x1, y, r = CLOUD_BASE
    d = min(d, math.hypot(u - min(max(u, x0), x1), v - y) - r)
    return d


def cloud_extent():
    left = min(min(cx - r for cx, _, r in CLOUD_CIRCLES), CLOUD_BASE[0] - CLOUD_BASE[3])
    right = max(max(cx + r for cx, _, r in CLOUD_CIRCLES), CLOUD_BASE[1] + CLOUD_BASE[3])
    top = min(cy - r for _, cy, r in CLOUD_CIRCLES)
    bottom = max(max(cy + r for _, cy, r in CLOUD_CIRCLES), CLOUD_BASE[2] + CLOUD_BASE[3])
    return left, top, right, bottom


CLOUD_ASPECT = (lambda e: (e[3] - e[1]) / (e[2] - e[0]))(cloud_extent())


def cloud(left, top, width, outline=OUTLINE_WIDTH):
    """A cloud whose box, outline included, starts at (left, top) and is `width` wide.

    The outline lies outside the shape, where the union's distance is exact;
    inside, a union of circles has creases that would show as specks.
    """
    e_left, e_top, e_right, _ = cloud_extent()
    scale = (width - 2 * outline) / (e_right - e_left)

    def distance(x, y):
        return cloud_distance((x - left - outline) / scale + e_left, (y - top - outline) / scale + e_top) * scale

    def colour(x, y):
        d = distance(x, y)
        if d > outline:
            return None
        if d > 0:
            return OUTLINE
        # Shade the lower right rim: what the cloud moved up-left leaves uncovered.
        if distance(x + 1.3, y + 1.8) > 0:
            return SHADE_DARK
        if distance(x + 2.6, y + 3.6) > 0:
            return SHADE_LIGHT
        return WHITE

    return colour


def cloud_height(width, outline=OUTLINE_WIDTH):
    return (width - 2 * outline) * CLOUD_ASPECT + 2 * outline


def drop(cx, cy, radius, length):
    """A falling drop: round at the bottom (centre cx, cy), pointed `length` above."""
    tip_y = cy - length
    sin_t = radius / length
    tangent_y = cy - radius * sin_t
    tangent_dx = radius * math.sqrt(1 - sin_t * sin_t)

    def inside(x, y):
        if math.hypot(x - cx, y - cy) <= radius:
            return True
        if tip_y <= y <= tangent_y:
            return abs(x - cx) <= tangent_dx * (y - tip_y) / (tangent_y - tip_y)
        return False

    def colour(x, y):
        if not inside(x, y):
            return None
        # A pale glint on the upper left of the round part.
        if math.hypot((x - (cx - radius * 0.38)) / 0.30, (y - (cy - radius * 0.12)) / 0.50) <= radius:
            return HIGHLIGHT
        return DROP

    return colour


def render(width, height, shapes):
    """Rows of RGB bytes; shapes listed later lie on top."""
    n = SUPERSAMPLE
    rows = []
    for py in range(height):
        row = bytearray()
        for px in range(width):
            total = [0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    x, y = px + (sx + 0.5) / n, py + (sy + 0.5) / n
                    c = WHITE
                    for shape in reversed(shapes):
                        got = shape(x, y)
                        if got is not None:
                            c = got
                            break
                    for i in range(3):
                        total[i] += c[i]
            row.extend(int(t / (n * n) + 0.5) for t in total)
        rows.append(bytes(row))
    return rows


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rows)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def two_clouds(left, top, right, bottom):
    """The rear cloud at the upper left, the front one reaching (right, bottom)."""
    rear_w = (right - left) * 0.62
    front_w = (right - left) * 0.68
    return [cloud(left, top, rear_w), cloud(right - front_w, bottom - cloud_height(front_w), front_w)]


def cloud_with_two_drops(cloud_top, drop_y):
    """A cloud with drops below it, right of centre and higher, left of centre and lower."""
    return [cloud(2.5, cloud_top, 38.0), drop(28.0, drop_y, 3.3, 7.0), drop(15.5, drop_y + 3.0, 3.3, 7.0)]


PICTURES = {
    "sun.png": (34, 35, [sun(17.0, 17.5, 16.9, 9.6, rays=8, gap=1.2)]),
    "overcast.png": (55, 30, two_clouds(4.0, 0.5, 51.0, 29.5)),
    "sun_cloud.png": (55, 35, [sun(15.5, 15.0, 15.0, 8.8, rays=8, gap=1.0), cloud(14.0, 8.0, 40.0)]),
    "light_rain.png": (43, 41, cloud_with_two_drops(1.0, 34.0)),
    "heavy_rain.png": (54, 42, [
        cloud(1.0, 1.0, 40.0),
        drop(10.5, 34.9, 3.2, 6.5), drop(28.5, 34.9, 3.2, 6.5), drop(19.5, 38.6, 3.2, 6.5)]),
    "clouds.png": (52, 27, two_clouds(1.0, 0.0, 51.0, 27.0)),
    "rain_cloud.png": (44, 44, cloud_with_two_drops(4.0, 37.5)),
    "showers.png": (54, 45, [
        sun(14.5, 14.5, 14.0, 8.0, rays=8, gap=1.0), cloud(12.0, 4.0, 40.0),
        drop(21.0, 38.3, 3.2, 6.8), drop(33.0, 41.3, 3.2, 6.8), drop(45.0, 38.3, 3.2, 6.8)]),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, (width, height, shapes) in PICTURES.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(png(width, height, render(width, height, shapes)))


if __name__ == "__main__":
    main()
