"""Writes the skin set: every picture and every INI file, from layout.py.

Usage: generate.py OUTPUT_DIR [--fonts DIR] [--stamp FILE] [--scales 1,2]
The output is the same byte for byte on every run. The 100 % set goes into
OUTPUT_DIR, the set of another scale into OUTPUT_DIR/<percent> (200 for 2),
with the same files: every picture, rectangle and font multiplied by the
scale. The program's own pictures (the Enter outline, the step pictures) of
a scale other than 1 go into the root of that set.
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


def position(c):
    """A control's BUTTONPOS value at the scale drawn."""
    fields = c.position_string().split(",", 5)
    if draw.SCALE != 1:
        fields[1:5] = map(str, draw.scaled_rect(c.x, c.y, c.w, c.h))
    return ",".join(fields)


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
        sections.append(("BUTTONPOS", [(k, position(c)) for k, c in win.keyed.items()]))
    else:
        sections.append(("BUTTONPOS", [(str(i + 1), position(c)) for i, c in enumerate(win.controls)]))
    if win.pages:
        sections.append(("PAGEPOSITION", [(str(i + 1), position(c)) for i, c in enumerate(win.pages)]))
    save_if_changed(os.path.join(out, *win.ini.split("\\")), ini_text(sections))


def write_set(out, fonts, resources):
    for win in layout.WINDOWS:
        write_window(win, out, fonts)
    thumb = encode(draw.draw_thumb(), "bmp")
    for folder in ("", "LightFX"):
        save_if_changed(os.path.join(out, folder, layout.THUMB_FILE), thumb)
    if resources:
        save_if_changed(os.path.join(resources, "enter_mask.bmp"), encode(draw.draw_enter_mask(), "bmp"))
        for name, picture in draw.draw_step_pictures().items():
            save_if_changed(os.path.join(resources, name), encode(picture, "bmp"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--fonts", default="/usr/share/fonts/truetype/play")
    ap.add_argument("--stamp")
    ap.add_argument("--resources", help="folder for the pictures the program carries as resources")
    ap.add_argument("--scales", default="1", help="comma-separated scales: 1, 1.25, 1.5, 1.75, 2")
    args = ap.parse_args()
    fonts = draw.Fonts(os.path.join(args.fonts, "Play-Regular.ttf"), os.path.join(args.fonts, "Play-Bold.ttf"))
    for scale in args.scales.split(","):
        percent = round(float(scale) * 100)
        if percent not in (100, 125, 150, 175, 200):
            ap.error(f"no skin scale {scale}")
        draw.set_scale(percent / 100)
        out = args.out if percent == 100 else os.path.join(args.out, str(percent))
        write_set(out, fonts, args.resources if percent == 100 else out)
    draw.set_scale(1)
    if args.stamp:
        with open(args.stamp, "w") as f:
            f.write("skins generated\n")


if __name__ == "__main__":
    main()
