#!/usr/bin/env python3
"""Saves a part of a virtual X screen as a PNG file, from the screen file that Xvfb keeps with
`-fbdir DIR` (DIR/Xvfb_screen0, in X window dump format): no screenshot program needed.

    tools/xvfb-shot.py DIR/Xvfb_screen0 out.png [X Y WIDTH HEIGHT]

Reads the 24-bit TrueColor screens Xvfb makes with `-screen 0 WxHx24`.
"""
import struct
import sys
import zlib


def read_screen(path):
    with open(path, "rb") as file:
        data = file.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _, pixmap_format, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    colours = fields[19]
    if pixmap_format != 2 or bits_per_pixel != 32:
        sys.exit(f"{path}: not a 32-bit ZPixmap screen")
    start = header_size + 12 * colours
    return data, start, width, height, bytes_per_line, byte_order


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def main():
    if len(sys.argv) not in (3, 7):
        sys.exit(__doc__)
    data, start, width, height, stride, byte_order = read_screen(sys.argv[1])
    x, y, w, h = (int(v) for v in sys.argv[3:]) if len(sys.argv) == 7 else (0, 0, width, height)
    # The part asked for, within the screen.
    x, y = max(0, x), max(0, y)
    w, h = min(w, width - x), min(h, height - y)
    if w <= 0 or h <= 0:
        sys.exit("the part asked for is off the screen")
    # Pixels are 0x00RRGGBB words in the screen's byte order.
    order = (2, 1, 0) if byte_order == 0 else (1, 2, 3)
    rows = bytearray()
    for row in range(y, y + h):
        line = data[start + row * stride + 4 * x : start + row * stride + 4 * (x + w)]
        rgb = bytearray(3 * w)
        for channel, offset in enumerate(order):
            rgb[channel::3] = line[offset::4]
        rows += b"\0" + rgb
    png = b"\x89PNG\r\n\x1a\n"
    png += png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
    png += png_chunk(b"IDAT", zlib.compress(bytes(rows), 9))
    png += png_chunk(b"IEND", b"")
    with open(sys.argv[2], "wb") as file:
        file.write(png)


if __name__ == "__main__":
    main()
