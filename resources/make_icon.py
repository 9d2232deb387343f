#!/usr/bin/python3
"""Draws the program icon: a dark key cap lit from below in the accent red.

Usage: make_icon.py OUT.ico [--png PREVIEW.png]
Every size is drawn at 256 pixels and scaled down, so the small tray size
stays a recognisable key and not a blur of detail.
"""
import argparse

from PIL import Image, ImageDraw, ImageFilter

# Uncompressed bitmaps up to 64 pixels: every icon loader reads those, while
# PNG entries are left blank by some (the tray under Wine among them).
SIZES = [16, 20, 24, 32, 40, 48, 64]
SURFACE = (18, 18, 18, 255)
CAP_TOP = (46, 46, 50, 255)
CAP_SIDE = (30, 30, 33, 255)
ACCENT = (255, 0, 0, 255)


def draw(size=256):
    s = size / 256
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    # Rounded tile.
    d.rounded_rectangle([4 * s, 4 * s, 252 * s, 252 * s], radius=44 * s, fill=SURFACE)
    # Red glow under the cap.
    glow = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    g = ImageDraw.Draw(glow)
    g.rounded_rectangle([44 * s, 70 * s, 212 * s, 222 * s], radius=30 * s, fill=ACCENT)
    glow = glow.filter(ImageFilter.GaussianBlur(14 * s))
    img = Image.alpha_composite(img, glow)
    d = ImageDraw.Draw(img)
    # The key cap: side, then the dished top.
    d.rounded_rectangle([52 * s, 56 * s, 204 * s, 206 * s], radius=28 * s, fill=CAP_SIDE)
    d.rounded_rectangle([68 * s, 64 * s, 188 * s, 176 * s], radius=20 * s, fill=CAP_TOP)
    # The accent line along the cap's front edge.
    d.rounded_rectangle([76 * s, 184 * s, 180 * s, 194 * s], radius=5 * s, fill=ACCENT)
    return img


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--png")
    args = ap.parse_args()
    big = draw(256)
    big.save(args.out, format="ICO", sizes=[(n, n) for n in SIZES], bitmap_format="bmp")
    if args.png:
        big.save(args.png)


if __name__ == "__main__":
    main()
