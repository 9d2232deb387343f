#!/usr/bin/python3
"""Bitmap resources of the skin Wine tests: OUT/region_mask.bmp (40 x 30, white
outside: the lower-left 15 x 15 block) and OUT/list_picture.bmp (16 x 12,
orange with black corners that must stay transparent)."""
import os
import struct
import sys


def write_bmp(path, w, h, colour_at):
    stride = (w * 3 + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (stride - w * 3))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, "region_mask.bmp"), 40, 30,
              lambda x, y: (255, 255, 255) if x < 15 and y >= 15 else (0, 0, 0))

    def picture(x, y):
        corner = (x < 2 or x >= 14) and (y < 2 or y >= 10)
        return (0, 0, 0) if corner else (255, 128, 0)
    write_bmp(os.path.join(out, "list_picture.bmp"), 16, 12, picture)


if __name__ == "__main__":
    main()
