#!/usr/bin/env python3
"""Draws the Bosquell tree icon as a Windows .ico file and as the desktop's icon theme files.

The .ico holds four images: 32x32 in 16 colours, 32x32 in 256 colours, 16x16 in 256 colours
and 16x16 in 16 colours. Each image is a BMP without file header (its height doubled, as .ico
wants), followed by the 1-bit transparency mask. For the Linux desktop it writes the same tree
as RGBA PNGs at the hicolor theme's sizes and as a scalable SVG. Standard library only, and
deterministic, so the generated files can be kept in the repository and checked with --check.

    python3 tools/make_icon.py            # rewrites the .ico and packaging/icons/hicolor
    python3 tools/make_icon.py --check    # exit 1 when a kept file differs
"""

import argparse
import pathlib
import struct
import sys
import zlib

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_OUTPUT = ROOT / "src/window/resources/bosquell.ico"
DEFAULT_THEME_DIR = ROOT / "packaging/icons/hicolor"
APP_ID = "io.github.bosquell.Bosquell"
PNG_SIZES = (16, 24, 32, 48, 64, 128, 256)

TRANSPARENT = None

# The 16-colour images use the classic VGA palette, so they look right on any 16-colour display.
VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Roles of the drawing; each image depth maps them to palette entries.
OUTLINE, TRUNK, TRUNK_SHADE, GROUND = "outline", "trunk", "trunk_shade", "ground"
LEAF_LIGHT, LEAF, LEAF_DARK = "leaf_light", "leaf", "leaf_dark"

# Roles in 16 colours: indices into the VGA palette.
VGA_ROLES = {
    OUTLINE: 0, TRUNK: 3, TRUNK_SHADE: 3, GROUND: 8,
    LEAF_LIGHT: 10, LEAF: 2, LEAF_DARK: 2,
}

# The 256-colour palette: the VGA colours first, then our own shades of green and brown.
RICH_COLOURS = {
    OUTLINE: (16, 48, 16),
    TRUNK: (139, 94, 52),
    TRUNK_SHADE: (96, 62, 32),
    GROUND: (110, 100, 80),
    LEAF_LIGHT: (122, 200, 90),
    LEAF: (52, 150, 60),
    LEAF_DARK: (28, 100, 44),
}
RICH_ORDER = [OUTLINE, TRUNK, TRUNK_SHADE, GROUND, LEAF_LIGHT, LEAF, LEAF_DARK]
RICH_PALETTE = VGA_PALETTE + [RICH_COLOURS[r] for r in RICH_ORDER]
RICH_PALETTE += [(0, 0, 0)] * (256 - len(RICH_PALETTE))
RICH_ROLES = {role: 16 + i for i, role in enumerate(RICH_ORDER)}

# A fir of three tiers on a short trunk, in unit coordinates (0..1, y down). Each tier is a
# triangle: apex height, base height, half-width of the base.
TIERS = [(0.03, 0.38, 0.24), (0.20, 0.60, 0.34), (0.38, 0.82, 0.44)]
TRUNK_BOX = (0.43, 0.80, 0.57, 0.95)  # left, top, right, bottom
GROUND_BOX = (0.22, 0.93, 0.78, 0.98)


def tier_shade(u, v):
    """The leaf role at (u, v) if it lies inside a tier, else None. Light on the left, dark
    on the right and along the lower edge of each tier, as if lit from the upper left."""
    for top, bottom, half in TIERS:
        if not top <= v <= bottom:
            continue
        reach = half * (v - top) / (bottom - top)
        offset = u - 0.5
        if abs(offset) > reach:
            continue
        across = offset / reach if reach > 0 else 0.0
        if bottom - v < 0.05 or across > 0.45:
            return LEAF_DARK
        if across < -0.25:
            return LEAF_LIGHT
        return LEAF
    return None


def inside(box, u, v):
    left, top, right, bottom = box
    return left <= u <= right and top <= v <= bottom


def draw(size, outline_width=1):
    """Rows (top first) of roles, or TRANSPARENT, for an image of size x size pixels."""
    grid = []
    for y in range(size):
        row = []
        for x in range(size):
            u, v = (x + 0.5) / size, (y + 0.5) / size
            role = tier_shade(u, v)
            if role is None and inside(TRUNK_BOX, u, v):
                role = TRUNK if u < 0.52 else TRUNK_SHADE
            if role is None and inside(GROUND_BOX, u, v):
                role = GROUND
            row.append(role)
        grid.append(row)
    # A dark outline around the leaves: any leaf pixel touching the background, grown inwards
    # one pixel at a time up to the width asked for.
    outlined = [list(row) for row in grid]
    edge = TRANSPARENT
    for _ in range(outline_width):
        previous = [list(row) for row in outlined]
        for y in range(size):
            for x in range(size):
                if previous[y][x] not in (LEAF_LIGHT, LEAF, LEAF_DARK):
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    nx, ny = x + dx, y + dy
                    if not (0 <= nx < size and 0 <= ny < size) or previous[ny][nx] is edge:
                        outlined[y][x] = OUTLINE
                        break
        edge = OUTLINE
    return outlined


def row_bytes(bits_per_row):
    """Bytes of one bitmap row: rows are padded to a multiple of four bytes."""
    return (bits_per_row + 31) // 32 * 4


def bitmap(size, bits, roles, palette):
    """One .ico image: header, palette, colour pixels and the transparency mask."""
    grid = draw(size)
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(grid):  # bitmaps are stored bottom-up
        indices = [0 if role is TRANSPARENT else roles[role] for role in row]
        line = bytearray()
        if bits == 4:
            for i in range(0, size, 2):
                line.append(indices[i] << 4 | indices[i + 1])
        else:
            line.extend(indices)
        line.extend(b"\0" * (row_bytes(size * bits) - len(line)))
        pixels += line
        mask_line = bytearray(row_bytes(size))
        for x, role in enumerate(row):
            if role is TRANSPARENT:
                mask_line[x // 8] |= 0x80 >> (x % 8)
        mask += mask_line
    colours = 1 << bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(pixels) + len(mask), 0, 0, colours, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette[:colours])
    return header + table + bytes(pixels) + bytes(mask)


def icon_bytes():
    images = [
        (32, 4, VGA_ROLES, VGA_PALETTE),
        (32, 8, RICH_ROLES, RICH_PALETTE),
        (16, 8, RICH_ROLES, RICH_PALETTE),
        (16, 4, VGA_ROLES, VGA_PALETTE),
    ]
    blobs = [bitmap(*image) for image in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (size, bits, _, _), blob in zip(images, blobs):
        colour_count = 16 if bits == 4 else 0  # 0 stands for 256 or more
        out += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def png_pixels(size):
    """RGBA rows for a size x size PNG. Large images are drawn at twice the size and averaged
    down, so their edges are smooth; the outline keeps the width it has at 32 pixels."""
    scale = 1 if size < 48 else 2
    fine = size * scale
    grid = draw(fine, outline_width=max(1, fine // 32))
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            totals = [0, 0, 0, 0]
            for sy in range(scale):
                for sx in range(scale):
                    role = grid[y * scale + sy][x * scale + sx]
                    if role is TRANSPARENT:
                        continue
                    r, g, b = RICH_COLOURS[role]
                    totals[0] += r
                    totals[1] += g
                    totals[2] += b
                    totals[3] += 1
            covered = totals[3]
            if covered == 0:
                row += b"\0\0\0\0"
            else:
                row += bytes([totals[0] // covered, totals[1] // covered, totals[2] // covered,
                              255 * covered // (scale * scale)])
        rows.append(bytes(row))
    return rows


def png_bytes(size):
    """A truecolour PNG with alpha: signature, IHDR, one IDAT and IEND."""
    def chunk(kind, payload):
        return (struct.pack(">I", len(payload)) + kind + payload
                + struct.pack(">I", zlib.crc32(kind + payload)))
    raw = b"".join(b"\0" + row for row in png_pixels(size))  # filter type 0 on every row
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def hex_colour(role):
    return "#%02x%02x%02x" % RICH_COLOURS[role]


def svg_text():
    """The same tree as vector shapes on a 256-unit canvas. Lower tiers are drawn first, so
    the upper ones lie on top of them as in the pixel drawing."""
    def point(u, v):
        return f"{u * 256:g},{v * 256:g}"

    def polygon(points, role, extra=""):
        return (f'  <polygon points="{" ".join(point(u, v) for u, v in points)}" '
                f'fill="{hex_colour(role)}"{extra}/>')

    def rect(box, role):
        left, top, right, bottom = box
        return (f'  <rect x="{left * 256:g}" y="{top * 256:g}" width="{(right - left) * 256:g}" '
                f'height="{(bottom - top) * 256:g}" fill="{hex_colour(role)}"/>')

    shapes = [rect(GROUND_BOX, GROUND),
              rect((TRUNK_BOX[0], TRUNK_BOX[1], 0.52, TRUNK_BOX[3]), TRUNK),
              rect((0.52, TRUNK_BOX[1], TRUNK_BOX[2], TRUNK_BOX[3]), TRUNK_SHADE)]
    for top, bottom, half in reversed(TIERS):
        apex = (0.5, top)
        band = bottom - 0.05
        band_half = half * (band - top) / (bottom - top)
        shapes += [
            polygon([apex, (0.5 + half, bottom), (0.5 - half, bottom)], LEAF),
            polygon([apex, (0.5 - 0.25 * half, bottom), (0.5 - half, bottom)], LEAF_LIGHT),
            polygon([apex, (0.5 + half, bottom), (0.5 + 0.45 * half, bottom)], LEAF_DARK),
            polygon([(0.5 - band_half, band), (0.5 + band_half, band),
                     (0.5 + half, bottom), (0.5 - half, bottom)], LEAF_DARK),
            polygon([apex, (0.5 + half, bottom), (0.5 - half, bottom)], LEAF,
                    f' fill-opacity="0" stroke="{hex_colour(OUTLINE)}" stroke-width="8" '
                    'stroke-linejoin="round"'),
        ]
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
            'viewBox="0 0 256 256">\n' + "\n".join(shapes) + "\n</svg>\n")


def theme_files(theme_dir):
    """Every icon theme file with its content, keyed by path."""
    files = {theme_dir / f"{size}x{size}/apps/{APP_ID}.png": png_bytes(size)
             for size in PNG_SIZES}
    files[theme_dir / f"scalable/apps/{APP_ID}.svg"] = svg_text().encode()
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", nargs="?", type=pathlib.Path, default=DEFAULT_OUTPUT)
    parser.add_argument("--theme-dir", type=pathlib.Path, default=DEFAULT_THEME_DIR,
                        help="the hicolor folder the PNG and SVG icons go in")
    parser.add_argument("--check", action="store_true",
                        help="compare with the existing files instead of writing them")
    args = parser.parse_args()
    files = {args.output: icon_bytes(), **theme_files(args.theme_dir)}
    if args.check:
        stale = []
        for path, data in files.items():
            try:
                if path.read_bytes() != data:
                    stale.append(path)
            except OSError:
                stale.append(path)
        for path in stale:
            print(f"{path} is missing or out of date; run tools/make_icon.py", file=sys.stderr)
        return 1 if stale else 0
    for path, data in files.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
