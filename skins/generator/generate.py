"""Writes the skin set: every picture and every INI file, from layout.py.

Usage: generate.py OUTPUT_DIR [--fonts DIR] [--stamp FILE]
The output is the same byte for byte on every run.
"""

import argparse
import io
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import draw  # noqa: E402
import layout  # noqa: E402

JPEG_OPTIONS = dict(format="JPEG", quality=85, subsampling=0, optimize=True)


def save_if_changed(path, data):
    """Leaves files alone when their bytes are already right."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return
    with open(path, "wb") as f:
        f.write(data)


def encode(img, fmt):
    buf = io.BytesIO()
    if fmt == "jpg":
        img.save(buf, **JPEG_OPTIONS)
    else:
        img.save(buf, format="BMP")
    return buf.getvalue()


def ini_text(sections):
    lines = []
    for name, entries in sections:
        lines.append(f"[{name}]")
        lines.extend(f"{k}={v}" for k, v in entries)
        lines.append("")
    return "\r\n".join(lines).encode("ascii")


def picture_names(win):
    names = [("Mask", f"{win.base}_Mask.bmp")]
    names += [(state, f"{win.base}_{state}.jpg") for state in draw.STATES]
    if win is layout.KEYBOARD:
        names += [(colour, f"{win.base}_{colour}.jpg") for colour in layout.KEY_COLOURS]
    return names


def write_window(win, out, fonts):
    folder = os.path.join(out, win.folder)
    pictures = {"Mask": draw.draw_mask(win)}
    for state in draw.STATES:
        if win is layout.KEYBOARD:
            pictures[state] = draw.draw_keyboard(state, fonts)
        else:
            pictures[state] = draw.draw_window(win, state, fonts)
    if win is layout.KEYBOARD:
        for colour, rgb in layout.KEY_COLOURS.items():
            pictures[colour] = draw.draw_keyboard("Normal", fonts, rgb)
    names = picture_names(win)
    for key, name in names:
        save_if_changed(os.path.join(folder, name), encode(pictures[key], name.rsplit(".", 1)[1]))

    sections = [("SCREEN", names)]
    if win.keyed:
        sections.append(("BUTTONPOS", [(k, c.position_string()) for k, c in win.keyed.items()]))
    else:
        sections.append(("BUTTONPOS", [(str(i + 1), c.position_string()) for i, c in enumerate(win.controls)]))
    if win.pages:
        sections.append(("PAGEPOSITION", [(str(i + 1), c.position_string()) for i, c in enumerate(win.pages)]))
    save_if_changed(os.path.join(out, *win.ini.split("\\")), ini_text(sections))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--fonts", default="/usr/share/fonts/truetype/play")
    ap.add_argument("--stamp")
    ap.add_argument("--resources", help="folder for the pictures the program carries as resources")
    args = ap.parse_args()
    fonts = draw.Fonts(os.path.join(args.fonts, "Play-Regular.ttf"), os.path.join(args.fonts, "Play-Bold.ttf"))
    for win in layout.WINDOWS:
        write_window(win, args.out, fonts)
    thumb = encode(draw.draw_thumb(), "bmp")
    for folder in ("", "LightFX"):
        save_if_changed(os.path.join(args.out, folder, layout.THUMB_FILE), thumb)
    if args.resources:
        save_if_changed(os.path.join(args.resources, "enter_mask.bmp"), encode(draw.draw_enter_mask(), "bmp"))
        for name, picture in draw.draw_step_pictures().items():
            save_if_changed(os.path.join(args.resources, name), encode(picture, "bmp"))
    if args.stamp:
        with open(args.stamp, "w") as f:
            f.write("skins generated\n")


if __name__ == "__main__":
    main()
