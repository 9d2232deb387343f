"""Checks a generated skin set against what the windows of Option.exe read.

Usage: check_skins.py GENERATOR OUTPUT_DIR
Runs the generator twice (the second run into a fresh folder) and checks the
result: every skin file with its pictures, the number of position entries each
window reads, rectangles inside their window, the keyboard picture's key and
LED entries, and identical bytes on both runs.
"""

import configparser
import filecmp
import os
import shutil
import subprocess
import sys

from PIL import Image

# INI file -> number of BUTTONPOS entries the window creates (keys 1..N), or
# the list of its keys where they are not 1..N.
ENTRY_COUNTS = {
    "skin_Config.ini": 22,
    "skin_color_control.ini": 6,
    "LightFX\\skin_CONSTANT.ini": 1,
    "LightFX\\skin_Breathe.ini": 2,
    "LightFX\\skin_wave.ini": 4,
    "LightFX\\skin_Ripple.ini": 4,
    "LightFX\\skin_Custom.ini": 6,
    "LightFX\\skin_Color_Select.ini": 16,
    "buttons\\skin_set_button.ini": 11,
    "buttons\\skin_Keyboard_button.ini": 2,
    "buttons\\skin_Shortcut_button.ini": 10,
    "buttons\\skin_Media_button.ini": 6,
    "buttons\\skin_LaunchAP_button.ini": 3,
    "buttons\\skin_Default_button.ini": 0,
    "buttons\\skin_Macro_section.ini": 2,
    "skin_win_key.ini": 3,
    "skin_lanuch_program.ini": 5,
    "skin_macro_manager.ini": 11,
    "skin_text_macro_manager.ini": 12,
    "buttons\\skin_profile1.ini": list(range(1, 13)) + [16, 20],
    "skin_reset_warn.ini": 3,
    "skin_macro_set_warn.ini": 3,
    "skin_delete_macro_warn.ini": 3,
    "skin_unapplied_warn.ini": 4,
    "skin_apply_pending.ini": 2,
    "skin_profile_refused_warn.ini": [1, 3],
}
for n in range(2, 6):
    # Page 1 alone has key 10; export and import are 11 and 12 on every
    # page, the desktop profile box 16, the name field 20.
    ENTRY_COUNTS[f"buttons\\skin_profile{n}.ini"] = list(range(1, 10)) + [11, 12, 16, 20]
for n in range(1, 6):
    ENTRY_COUNTS[f"skin_profile{n}_reset_warn.ini"] = 3

# The windows that contain another window at a fixed rectangle.
CONTAINED = {
    "LightFX\\skin_CONSTANT.ini": ("skin_color_control.ini", "BUTTONPOS", "6"),
    "LightFX\\skin_Breathe.ini": ("skin_color_control.ini", "BUTTONPOS", "6"),
    "LightFX\\skin_wave.ini": ("skin_color_control.ini", "BUTTONPOS", "6"),
    "LightFX\\skin_Ripple.ini": ("skin_color_control.ini", "BUTTONPOS", "6"),
    "LightFX\\skin_Custom.ini": ("skin_color_control.ini", "BUTTONPOS", "6"),
    "skin_win_key.ini": ("skin_Config.ini", "PAGEPOSITION", "1"),
    "skin_color_control.ini": ("skin_Config.ini", "PAGEPOSITION", "2"),
}
for name in ("Keyboard", "Shortcut", "Media", "LaunchAP", "Default"):
    CONTAINED[f"buttons\\skin_{name}_button.ini"] = ("buttons\\skin_set_button.ini", "BUTTONPOS", "9")
CONTAINED["buttons\\skin_Macro_section.ini"] = ("buttons\\skin_set_button.ini", "BUTTONPOS", "9")

STATES = ["Mask", "Normal", "Over", "Down", "Disable"]
COLOURS = ["Green", "Blue", "Cyan", "Red", "Purple", "Danlv", "Dective"]

# LED slot of each key index 0..104 (the keyboard's key table).
KEY_SLOT = ([5, 17, 23, 29, 35, 41, 47, 53, 59, 65, 71, 77, 83, 89, 95, 101]
            + [4 + 6 * i for i in range(14)] + [3 + 6 * i for i in range(14)] + [2, 8, 14]
            + [20 + 6 * i for i in range(9)] + [80] + [1 + 6 * i for i in range(8)]
            + [49, 55, 61, 73, 0, 6, 12, 30, 54, 60, 66, 78, 88, 87, 84, 94, 93,
               91, 90, 100, 99, 96, 106, 105, 104, 103, 102, 112, 111, 110, 109,
               118, 117, 116, 115, 114, 124, 122, 120, 11])

failures = []


def check(cond, message):
    if not cond:
        failures.append(message)
    return cond


def parse_position(value):
    """name,x,y,w,h,text -> (x, y, w, h) or None."""
    parts = value.split(",")
    if len(parts) < 6:
        return None
    try:
        return tuple(int(p) for p in parts[1:5])
    except ValueError:
        return None


def read_ini(root, name):
    cp = configparser.RawConfigParser()
    cp.optionxform = str
    with open(os.path.join(root, *name.split("\\")), encoding="cp1252") as f:
        cp.read_file(f)
    return cp


def page_folder(root, name):
    return os.path.join(root, "LightFX") if name.startswith("LightFX\\") else root


def check_window(root, name, count):
    path = os.path.join(root, *name.split("\\"))
    if not check(os.path.isfile(path), f"{name}: missing"):
        return None
    ini = read_ini(root, name)
    keys = STATES + (COLOURS if name == "skin_main.ini" else [])
    size = None
    for key in keys:
        pic = ini.get("SCREEN", key, fallback="")
        file = os.path.join(page_folder(root, name), *pic.split("\\"))
        if not check(pic and os.path.isfile(file), f"{name}: SCREEN {key} picture '{pic}' missing"):
            continue
        check(pic.lower().endswith((".bmp", ".jpg")), f"{name}: {pic} is neither BMP nor JPEG")
        with Image.open(file) as img:
            check(size is None or img.size == size, f"{name}: {pic} is {img.size}, not {size}")
            size = size or img.size
            if key == "Mask":
                check(img.format == "BMP", f"{name}: mask {pic} is not a BMP")
                colours = {c for _, c in img.convert("RGB").getcolors(1 << 24)}
                check(colours <= {(0, 0, 0), (255, 255, 255)}, f"{name}: mask is not pure black and white")
                check((0, 0, 0) in colours, f"{name}: mask has no inside")
    if size is None:
        return None
    w, h = size
    if count is not None:
        entries = ini["BUTTONPOS"] if ini.has_section("BUTTONPOS") else {}
        keys = count if isinstance(count, list) else list(range(1, count + 1))
        check(sorted(int(k) for k in entries) == keys, f"{name}: BUTTONPOS keys {sorted(entries)} are not {keys}")
        for k, v in entries.items():
            check_rect(name, f"BUTTONPOS {k}", v, w, h)
    return ini, size


def check_rect(name, what, value, w, h, allow_empty=False):
    rect = parse_position(value)
    if not check(rect is not None, f"{name}: {what} '{value}' is not a position string"):
        return None
    x, y, rw, rh = rect
    if allow_empty and rect == (0, 0, 0, 0):
        return rect
    check(rw > 0 and rh > 0 and x >= 0 and y >= 0 and x + rw <= w and y + rh <= h,
          f"{name}: {what} {rect} lies outside the {w}x{h} window")
    return rect


def check_keyboard(root):
    result = check_window(root, "skin_main.ini", None)
    if not result:
        return
    ini, (w, h) = result
    entries = ini["BUTTONPOS"]
    expected = [str(40 + k) for k in range(105)] + [str(150 + i) for i in range(126)]
    check(sorted(entries, key=int) == expected, "skin_main.ini: BUTTONPOS keys are not 40..144 and 150..275")
    keys = {}
    for k in range(105):
        keys[k] = check_rect("skin_main.ini", f"key {k}", entries.get(str(40 + k), ""), w, h)
    check(entries.get("83", "").startswith("Enter,"), "skin_main.ini: key 43 is not named Enter")
    # The L-shaped Enter is a window with its own outline; its bounding box
    # reaches over the key left of its lower part.
    rects = [r for k, r in keys.items() if r and k != 43]
    for i, a in enumerate(rects):
        for b in rects[i + 1:]:
            overlap = (a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3])
            check(not overlap, f"skin_main.ini: keys {a} and {b} overlap")
    owner = {slot: k for k, slot in enumerate(KEY_SLOT)}
    for led in range(126):
        rect = check_rect("skin_main.ini", f"LED {led}", entries.get(str(150 + led), ""), w, h, True)
        if led in owner:
            check(rect == keys[owner[led]], f"skin_main.ini: LED {led} {rect} is not over key {owner[led]}")
        else:
            check(rect == (0, 0, 0, 0), f"skin_main.ini: LED {led} belongs to no key but has {rect}")
    # Row order of the key table: within a column, higher rows lie further up
    # (the key table files the non-US backslash key in the top row of its
    # column, so it and the two-row Enter are left out).
    for k in range(105):
        for j in range(105):
            a, b = KEY_SLOT[k], KEY_SLOT[j]
            if keys[k] and keys[j] and a // 6 == b // 6 and a % 6 > b % 6 and a < 126 and not {k, j} & {43, 104}:
                check(keys[k][1] < keys[j][1], f"skin_main.ini: key {k} is not above key {j}")
    # Keys look different when they carry a function.
    with Image.open(os.path.join(root, ini.get("SCREEN", "Normal"))) as normal:
        base = normal.convert("RGB")
        x, y, kw, kh = keys[45]
        for colour in COLOURS:
            with Image.open(os.path.join(root, ini.get("SCREEN", colour))) as pic:
                a = base.crop((x, y, x + kw, y + kh)).resize((1, 1), Image.BOX).getpixel((0, 0))
                b = pic.convert("RGB").crop((x, y, x + kw, y + kh)).resize((1, 1), Image.BOX).getpixel((0, 0))
                check(sum(abs(p - q) for p, q in zip(a, b)) > 20, f"skin_main.ini: {colour} keys look unlit")


def main():
    generator, out = sys.argv[1], sys.argv[2]
    again = out + ".again"
    for folder in (out, again):
        shutil.rmtree(folder, ignore_errors=True)
        subprocess.run([sys.executable, generator, folder], check=True)

    sizes = {}
    for name, count in ENTRY_COUNTS.items():
        result = check_window(out, name, count)
        if result:
            sizes[name] = result
    check_keyboard(out)

    config = sizes.get("skin_Config.ini")
    if config:
        ini, (w, h) = config
        for k in ("1", "2"):
            check_rect("skin_Config.ini", f"PAGEPOSITION {k}", ini.get("PAGEPOSITION", k, fallback=""), w, h)
    for child, (parent, section, key) in CONTAINED.items():
        if child in sizes and parent in sizes:
            rect = parse_position(sizes[parent][0].get(section, key, fallback=""))
            check(rect and tuple(rect[2:]) == sizes[child][1],
                  f"{child}: size {sizes[child][1]} does not fill {parent} {section} {key} {rect}")
    for folder in ("", "LightFX"):
        thumb = os.path.join(out, folder, "scroll_arrow.bmp")
        check(os.path.isfile(thumb), f"slider thumb missing in '{folder}'")

    cmp = filecmp.dircmp(out, again)

    def same(d):
        check(not d.left_only and not d.right_only and not d.diff_files and not d.funny_files,
              f"second run differs in {d.left}: {d.left_only + d.right_only + d.diff_files}")
        for sub in d.subdirs.values():
            same(sub)

    same(cmp)
    shutil.rmtree(again, ignore_errors=True)
    total = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(out) for f in fs)
    check(total < 5 * 1024 * 1024, f"skin set is {total} bytes")
    for f in failures:
        print("FAIL:", f)
    print(f"{len(ENTRY_COUNTS) + 1} skin files, {total} bytes, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
