#!/usr/bin/env python3
"""Draws examples/terrain.png, the picture of the sample's map that examples/forest.toml lays
under its forest: meadow, a river from the north, the road from west to east and the clearing,
at the places the recipe gives them. 256 x 192 pixels over the map from (-500, 340) to
(500, -410) user units. Standard library only; the same bytes every time.
"""
import math
import struct
import sys
import zlib
from pathlib import Path

WIDTH, HEIGHT = 256, 192
LEFT, TOP, RIGHT, BOTTOM = -500.0, 340.0, 500.0, -410.0

MEADOW = (178, 206, 140)
WOOD = (132, 170, 104)
CLEARING = (214, 226, 170)
RIVER = (96, 150, 204)
ROAD = (150, 140, 124)

ROAD_POINTS = [(-500, -120), (-200, -60), (0, -50), (250, 10), (500, 40)]
WOODLAND = [(-420, -260), (-60, -330), (380, -240), (440, 60), (300, 310), (-180, 290), (-430, 120)]


def to_map(px, py):
    """The map position of a pixel's middle."""
    return (LEFT + (px + 0.5) / WIDTH * (RIGHT - LEFT), TOP - (py + 0.5) / HEIGHT * (TOP - BOTTOM))


def distance_to_segment(p, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((p[0] - ax) * dx + (p[1] - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(p[0] - ax - t * dx, p[1] - ay - t * dy)


def inside(p, polygon):
    x, y = p
    result = False
    for (x1, y1), (x2, y2) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) / (y2 - y1) * (x2 - x1):
            result = not result
    return result


def river_x(y):
    """The river winds south from the north edge and leaves by the east."""
    return 160 + 60 * math.sin(y / 70.0) - max(0.0, -y) * 0.2


def colour(px, py):
    p = to_map(px, py)
    if any(distance_to_segment(p, a, b) <= 6 for a, b in zip(ROAD_POINTS, ROAD_POINTS[1:])):
        return ROAD
    if p[1] > -140 and abs(p[0] - river_x(p[1])) <= 9:
        return RIVER
    if math.hypot(p[0], p[1] - 40) <= 45:
        return CLEARING
    return WOOD if inside(p, WOODLAND) else MEADOW


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\0" + bytes(row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "examples" / "terrain.png"
    rows = [[c for px in range(WIDTH) for c in colour(px, py)] for py in range(HEIGHT)]
    out.write_bytes(png(WIDTH, HEIGHT, rows))


if __name__ == "__main__":
    main()
