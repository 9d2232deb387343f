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
    return "\r\n".join(lines).encode("cp1252")  # the ANSI reads of the program


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


def spoken(label):
    """A caption as a screen reader says it: one line, no capitals throughout."""
    words = " ".join(part for part in label.replace("\n", " ").split(" ") if part)
    return words.capitalize() if words.isupper() and len(words) > 2 else words


# What a page inside a window is called (pop-ups carry their title).
PAGE_NAMES = {
    "main": "Keyboard", "win_key": "Windows key", "color_control": "Lighting", "CONSTANT": "Constant",
    "Breathe": "Breathing", "wave": "Wave", "Ripple": "Ripple", "Custom": "Custom colours",
    "Default_button": "Default", "Keyboard_button": "Key combination", "Media_button": "Media",
    "Shortcut_button": "Shortcut", "LaunchAP_button": "Launch program", "Macro_section": "Macro",
}


def control_names(win):
    """NAMES: the caption of each control that shows one (its window text);
    the LEDs of the keyboard picture are named by the key they light."""
    if win.keyed:
        entries = list(win.keyed.items())
    else:
        entries = [(str(i + 1), c) for i, c in enumerate(win.controls)]
    # A caption of signs only ("···") says less than the tooltip the control has.
    names = [(k, spoken(c.label)) for k, c in entries
             if any(ch.isalnum() for ch in c.label) or (win is layout.KEYBOARD and c.label.strip())]
    # Two controls of one caption ("CLEAR" twice) are told apart by their tooltips.
    captions = [name for _, name in names]
    texts = dict(entries)
    names = [(k, texts[k].text if captions.count(name) > 1 and texts[k].text else name) for k, name in names]
    if win.shape == "page" and win.base in PAGE_NAMES:
        names.insert(0, ("0", PAGE_NAMES[win.base]))
    if win.ini.endswith("_warn.ini"):  # the question drawn into the picture
        names.insert(0, ("0", " ".join(label.text for label in win.labels if label.text)))
    if win is layout.KEYBOARD:
        for led, key in sorted((slot, k) for k, slot in enumerate(layout.KEY_SLOT)):
            label = layout.KEYS[key][0]
            names.append((str(layout.LED_ENTRY_BASE + led), spoken(label)))
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
        sections.append(("BUTTONPOS", [(k, position(c)) for k, c in win.keyed.items()]))
    else:
        sections.append(("BUTTONPOS", [(str(i + 1), position(c)) for i, c in enumerate(win.controls)]))
    if win.pages:
        sections.append(("PAGEPOSITION", [(str(i + 1), position(c)) for i, c in enumerate(win.pages)]))
    names = control_names(win)
    if names:
        sections.append(("NAMES", names))
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
