"""Paints the pictures of one window from its layout.

Pictures are drawn at twice their size and reduced, which smooths the rounded
shapes and the text; every coordinate below is in window pixels of the 100 %
skin. set_scale() draws the set of another scale from the same description:
the window pixels are multiplied by it before they become picture pixels.
"""

import math

from PIL import Image, ImageDraw, ImageFont

import layout

S = 2  # supersampling factor
SCALE = 1  # the skin's scale: 1, 1.25, 1.5, 1.75 or 2
F = S * SCALE  # picture pixels (before the reduction) per window pixel


def set_scale(scale):
    global SCALE, F
    SCALE = int(scale) if float(scale).is_integer() else scale
    F = S * SCALE


def px(v):
    """A length of the 100 % skin at the scale, as the program rounds it
    (ScaleLength: the nearest pixel, halves up)."""
    return math.floor(v * SCALE + 0.5) if SCALE != 1 else v


def scaled_rect(x, y, w, h):
    """(x, y, w, h) at the scale with each edge rounded on its own."""
    left, top = px(x), px(y)
    return left, top, px(x + w) - left, px(y + h) - top


def _n(v):
    """A size PIL wants as a whole number."""
    return v if isinstance(v, int) else max(1, round(v))

COL = {
    "bg": (18, 18, 18),
    "bg_top": (24, 24, 24),
    "bg_bottom": (13, 13, 13),
    "panel": (26, 26, 26),
    "panel_edge": (44, 44, 44),
    "well": (9, 9, 9),
    "well_edge": (40, 40, 40),
    "edge": (58, 58, 58),
    "title": (12, 12, 12),
    "label": (232, 232, 232),
    "dim": (140, 140, 140),
    "faint": (80, 80, 80),
    "red": (255, 0, 0),
    "red_dark": (120, 0, 0),
    "red_deep": (70, 0, 0),
    "cap_top": (40, 40, 40),
    "cap_bottom": (26, 26, 26),
    "outside": (0, 0, 0),
}

STATES = ["Normal", "Over", "Down", "Disable"]


class Fonts:
    def __init__(self, regular, bold):
        self.paths = {False: regular, True: bold}
        self.cache = {}

    def get(self, size, bold=False):
        key = (size, bold, F)
        if key not in self.cache:
            self.cache[key] = ImageFont.truetype(self.paths[bold], _n(size * F))
        return self.cache[key]


class Canvas:
    def __init__(self, w, h, fonts, fill=COL["outside"]):
        self.w, self.h = px(w), px(h)
        self.img = Image.new("RGB", (self.w * S, self.h * S), fill)
        self.d = ImageDraw.Draw(self.img)
        self.fonts = fonts

    @staticmethod
    def box(x, y, w, h):
        return [round(x * F), round(y * F), round((x + w) * F) - 1, round((y + h) * F) - 1]

    def rect(self, x, y, w, h, fill=None, outline=None, radius=0, width=1):
        b = self.box(x, y, w, h)
        if radius:
            self.d.rounded_rectangle(b, radius * F, fill=fill, outline=outline, width=_n(width * F))
        else:
            self.d.rectangle(b, fill=fill, outline=outline, width=_n(width * F))

    def gradient(self, x, y, w, h, top, bottom, radius=0, outline=None):
        b = self.box(x, y, w, h)
        gw, gh = b[2] - b[0] + 1, b[3] - b[1] + 1
        if gw <= 0 or gh <= 0:
            return
        grad = Image.new("RGB", (1, gh))
        for i in range(gh):
            t = i / max(1, gh - 1)
            grad.putpixel((0, i), tuple(round(a + (c - a) * t) for a, c in zip(top, bottom)))
        grad = grad.resize((gw, gh))
        mask = Image.new("L", (gw, gh), 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, gw - 1, gh - 1], radius * F, fill=255)
        self.img.paste(grad, (b[0], b[1]), mask)
        if outline:
            self.d.rounded_rectangle(b, radius * F, outline=outline, width=_n(F))

    def polygon(self, pts, fill=None, outline=None):
        self.d.polygon([(x * F, y * F) for x, y in pts], fill=fill, outline=outline)

    def line(self, pts, fill, width=1):
        self.d.line([(x * F, y * F) for x, y in pts], fill=fill, width=_n(width * F))

    def ellipse(self, x, y, w, h, fill=None, outline=None, width=1):
        self.d.ellipse(self.box(x, y, w, h), fill=fill, outline=outline, width=_n(width * F))

    def text(self, x, y, s, size=12, bold=False, fill=COL["label"], anchor="la"):
        font = self.fonts.get(size, bold)
        if "\n" in s:
            self.d.multiline_text((x * F, y * F), s, font=font, fill=fill, anchor=anchor,
                                  align="center", spacing=round(size * 0.15 * F))
        else:
            self.d.text((x * F, y * F), s, font=font, fill=fill, anchor=anchor)

    def result(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def window_outline(win):
    """Polygon of the window's outline (None for rectangular pages)."""
    w, h = win.w, win.h
    if win.shape == "page":
        return None
    if win.shape == "main":
        c, b = 22, 12
        return [(c, 0), (w - c, 0), (w, c), (w, h - b), (w - b, h), (b, h), (0, h - b), (0, c)]
    c = 12
    return [(c, 0), (w, 0), (w, h - c), (w - c, h), (0, h), (0, c)]


def draw_mask(win):
    w, h = px(win.w), px(win.h)
    img = Image.new("1", (w, h), 0)
    pts = window_outline(win)
    if pts:
        img = Image.new("1", (w, h), 1)
        # Pixel centres inside the outline are window pixels.
        ImageDraw.Draw(img).polygon([(w - 0.5 if x == win.w else x * SCALE, h - 0.5 if y == win.h else y * SCALE)
                                     for x, y in pts], fill=0)
    return img


# ---------------------------------------------------------------- chrome

def draw_background(cv, win):
    pts = window_outline(win)
    cv.gradient(0, 0, win.w, win.h, COL["bg_top"], COL["bg_bottom"])
    if pts:
        # Clear outside the outline, then trace the outline.
        outside = Image.new("L", cv.img.size, 255)
        ImageDraw.Draw(outside).polygon([(x * F, y * F) for x, y in pts], fill=0)
        cv.img.paste(COL["outside"], (0, 0), outside)
        cv.polygon(pts, outline=COL["edge"])
        # Title bar.
        th = 40 if win.shape == "main" else 36
        tpts = [p for p in pts if p[1] <= th] + [(win.w, th), (0, th)]
        cv.polygon([(x, y) for x, y in _clip_top(pts, th)], fill=COL["title"])
        cv.line([(0, th), (win.w, th)], COL["panel_edge"])
        cv.line([(pts[0][0], 0.5), (min(pts[0][0] + 120, win.w - 40), 0.5)], COL["red"], 1)
        cv.line([(0.5, pts[-1][1]), (pts[0][0], 0.5)], COL["red"], 1)
        del tpts
        if win.shape == "main":
            draw_logo(cv, 36, 20)
        else:
            cv.rect(22, 13, 3, 12, fill=COL["red"])
            cv.text(32, 19, win.title, 13, True, COL["label"], "lm")
    else:
        cv.rect(0, 0, win.w, win.h, outline=COL["panel_edge"])
    for p in win.panels:
        draw_panel(cv, p)
    for lab in win.labels:
        cv.text(lab.x, lab.y, lab.text, lab.size, lab.bold, COL[lab.colour], lab.anchor)


def _clip_top(pts, th):
    """The part of a convex outline above y = th."""
    out = []
    n = len(pts)
    for i in range(n):
        (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % n]
        if y0 <= th:
            out.append((x0, y0))
        if (y0 < th) != (y1 < th) and y0 != y1:
            t = (th - y0) / (y1 - y0)
            out.append((x0 + (x1 - x0) * t, th))
    return out


def draw_logo(cv, x, y):
    cv.polygon([(x - 12, y - 9), (x - 4, y - 9), (x + 2, y + 4), (x + 8, y - 9), (x + 16, y - 9), (x + 5, y + 10),
                (x - 1, y + 10)], fill=COL["red"])
    cv.text(x + 26, y, "VARNEL", 16, True, COL["label"], "lm")
    cv.text(x + 104, y, "QUILLON", 16, False, COL["dim"], "lm")
    cv.text(x + 194, y + 1, "GAMING KEYBOARD", 9, True, COL["red"], "lm")


def draw_panel(cv, p):
    if p.kind == "panel":
        cv.rect(p.x, p.y, p.w, p.h, fill=COL["panel"], outline=COL["panel_edge"], radius=4)
        cv.rect(p.x + 8, p.y, 28, 2, fill=COL["red"])
    elif p.kind == "well":
        cv.rect(p.x, p.y, p.w, p.h, fill=COL["well"], outline=COL["well_edge"], radius=3)


# ---------------------------------------------------------------- controls

def face(cv, c, state, radius=3, accent=False):
    """The body of a button in one of the four states."""
    x, y, w, h = c.x, c.y, c.w, c.h
    if state == "Disable":
        cv.rect(x, y, w, h, fill=(22, 22, 22), outline=(40, 40, 40), radius=radius)
        return COL["faint"]
    if state == "Down":
        cv.gradient(x, y, w, h, (150, 0, 0), (90, 0, 0), radius, COL["red"])
        return (255, 255, 255)
    if accent:
        top, bottom = ((255, 40, 40), (200, 0, 0)) if state == "Over" else ((220, 0, 0), (150, 0, 0))
        cv.gradient(x, y, w, h, top, bottom, radius, (255, 90, 90) if state == "Over" else (255, 30, 30))
        return (255, 255, 255)
    if state == "Over":
        cv.gradient(x, y, w, h, (52, 52, 52), (34, 34, 34), radius, COL["red"])
        return (255, 255, 255)
    cv.gradient(x, y, w, h, (42, 42, 42), (28, 28, 28), radius, (62, 62, 62))
    return COL["label"]


def label_size(c):
    if "small" in c.style:
        return 11
    return 12 if c.h < 30 else 13


def draw_control(cv, c, state):
    if c.style == "hidden":
        return
    k = c.kind
    x, y, w, h = c.x, c.y, c.w, c.h
    cx, cy = x + w / 2, y + h / 2
    if k in ("button", "option", "tab"):
        fg = face(cv, c, state, 3, "accent" in c.style)
        if k == "tab" and state == "Down":
            cv.rect(x + 6, y + h - 3, w - 12, 2, fill=(255, 255, 255))
        size = 13 if k == "tab" else label_size(c)
        if "\n" in c.label:
            top, bottom = c.label.split("\n")
            cv.text(cx, cy - 7, top, 12, True, fg, "mm")
            cv.text(cx, cy + 9, bottom, 9, False, fg if state != "Normal" else COL["dim"], "mm")
        else:
            cv.text(cx, cy, c.label, size, True, fg, "mm")
        if "pending" in c.style and state != "Disable":
            # Changes wait for this button: a lit mark as the toggles have.
            cv.ellipse(x + 12, cy - 5, 10, 10, fill=(255, 255, 255))
    elif k == "select_profile":
        face(cv, c, state)
        dot = COL["red"] if state == "Down" else ((90, 0, 0) if state != "Disable" else (40, 40, 40))
        if state == "Down":
            dot = (255, 255, 255)
        cv.ellipse(x + 10, cy - 4, 8, 8, fill=dot)
        # The program writes the profile's name from x + 26 on: a name can change.
    elif k in ("toggle", "toggle_caption"):
        fg = face(cv, c, state)
        if k == "toggle":
            lit = state == "Down"
            led = COL["red"] if lit else ((60, 0, 0) if state != "Disable" else (36, 36, 36))
            if lit:
                led = (255, 255, 255)
            cv.ellipse(x + 10, cy - 4, 8, 8, fill=led)
            cv.text(x + 26 + (w - 30) / 2, cy, c.label, label_size(c), True, fg, "mm")
        else:
            cv.rect(x + w - 22, y + 6, 1, h - 12, fill=(70, 70, 70))
            cv.ellipse(x + w - 15, cy - 4, 8, 8, fill=COL["red"] if state == "Down" else (90, 0, 0))
    elif k == "select":
        fg = face(cv, c, state)
        ax, ay = x + w - 16, cy
        col = fg if state != "Normal" else COL["red"]
        cv.polygon([(ax - 5, ay - 3), (ax + 5, ay - 3), (ax, ay + 3)], fill=col)
        cv.rect(x + w - 30, y + 6, 1, h - 12, fill=(70, 70, 70))
    elif k == "help":
        r = min(w, h)
        if state == "Disable":
            cv.ellipse(x, y, r, r, fill=(22, 22, 22), outline=(45, 45, 45))
            fg = COL["faint"]
        elif state == "Down":
            cv.ellipse(x, y, r, r, fill=(170, 0, 0), outline=COL["red"])
            fg = (255, 255, 255)
        elif state == "Over":
            cv.ellipse(x, y, r, r, fill=(40, 40, 40), outline=COL["red"])
            fg = (255, 255, 255)
        else:
            cv.ellipse(x, y, r, r, fill=(30, 30, 30), outline=(80, 80, 80))
            fg = COL["dim"]
        cv.text(x + r / 2, y + r / 2 + 0.5, "?", round(r * 0.55), True, fg, "mm")
    elif k in ("close", "min"):
        if state == "Over":
            cv.rect(x, y, w, h, fill=COL["red"] if k == "close" else (48, 48, 48), radius=3)
        elif state == "Down":
            cv.rect(x, y, w, h, fill=(140, 0, 0), radius=3)
        fg = COL["faint"] if state == "Disable" else ((255, 255, 255) if state in ("Over", "Down") else COL["dim"])
        m = min(w, h) * 0.22
        if k == "close":
            cv.line([(cx - m, cy - m), (cx + m, cy + m)], fg, 2)
            cv.line([(cx - m, cy + m), (cx + m, cy - m)], fg, 2)
        else:
            cv.line([(cx - m, cy + m * 0.6), (cx + m, cy + m * 0.6)], fg, 2)
    elif k == "slider":
        ty = cy - 2
        cv.rect(x + 2, ty, w - 4, 4, fill=(8, 8, 8), outline=(50, 50, 50), radius=2)
        # The thumb moves over the track, so the track shows no fill level.
        if state in ("Over", "Down"):
            cv.rect(x + 3, ty + 1, w - 6, 2, fill=(110, 0, 0))
        for i in range(11):
            tx = x + 6 + (w - 12) * i / 10
            cv.rect(tx, y + h - 3, 1, 3, fill=(70, 70, 70))
    elif k == "swatch":
        edge = {"Normal": (80, 80, 80), "Over": COL["red"], "Down": (255, 255, 255), "Disable": (40, 40, 40)}[state]
        cv.rect(x, y, w, h, fill=(8, 8, 8), outline=edge, radius=2)
    elif k == "preset":
        i = int(c.name.rsplit("_", 1)[1]) - 1
        rgb = layout.PRESET_COLOURS[i]
        if state == "Disable":
            rgb = tuple(v // 4 for v in rgb)
        edge = {"Normal": (70, 70, 70), "Over": (255, 255, 255), "Down": COL["red"], "Disable": (40, 40, 40)}[state]
        cv.rect(x, y, w, h, fill=edge, radius=3)
        cv.rect(x + 2, y + 2, w - 4, h - 4, fill=rgb, radius=2)
    elif k in ("edit", "text", "list", "spin"):
        edge = {"Normal": COL["well_edge"], "Over": (110, 0, 0), "Down": COL["red"], "Disable": (30, 30, 30)}[state]
        cv.rect(x - 1, y - 1, w + 2, h + 2, fill=COL["well"], outline=edge, radius=2)
        if k == "spin":
            bx = x + w - 16
            cv.rect(bx, y, 16, h, fill=(36, 36, 36))
            cv.polygon([(bx + 4, y + h / 2 - 2), (bx + 12, y + h / 2 - 2), (bx + 8, y + 3)], fill=COL["dim"])
            cv.polygon([(bx + 4, y + h / 2 + 2), (bx + 12, y + h / 2 + 2), (bx + 8, y + h - 3)], fill=COL["dim"])
    elif k == "check":
        edge = {"Normal": (90, 90, 90), "Over": COL["red"], "Down": COL["red"], "Disable": (40, 40, 40)}[state]
        cv.rect(x + 2, y + 2, w - 4, h - 4, fill=(10, 10, 10), outline=edge, radius=3)
        if state == "Down":
            cv.line([(x + 7, cy), (x + 10.5, cy + 4), (x + w - 6, y + 7)], COL["red"], 2)
    elif k == "picker":
        edge = COL["red"] if state in ("Over", "Down") else (70, 70, 70)
        cv.rect(x - 1, y - 1, w + 2, h + 2, fill=(0, 0, 0), outline=edge)
    elif k == "area":
        pass
    else:
        raise ValueError(f"unknown control kind {k}")


def draw_window(win, state, fonts):
    cv = Canvas(win.w, win.h, fonts)
    draw_background(cv, win)
    if win is layout.MAIN:
        draw_main_extras(cv)
    for c in win.controls:
        draw_control(cv, c, state)
    return cv.result()


def draw_main_extras(cv):
    # Key function legend beside the keyboard.
    for i, (name, text) in enumerate(layout.KEY_COLOUR_MEANING):
        y = 332 + i * 28
        rgb = layout.KEY_COLOURS[name]
        cv.rect(826, y, 26, 18, fill=tuple(v // 3 for v in rgb), outline=rgb, radius=3)
        cv.text(864, y + 9, text, 11, True, COL["label"], "lm")
    # Frame around the content page and the keyboard picture.
    x, y, w, h = layout.PAGE_RECT
    cv.rect(x - 1, y - 1, w + 2, h + 2, outline=COL["panel_edge"])
    cv.rect(x, y, w, h, fill=COL["bg"])
    x, y, w, h = layout.KEYBOARD_RECT
    cv.rect(x - 1, y - 1, w + 2, h + 2, outline=COL["panel_edge"])
    cv.rect(x, y, w, h, fill=COL["bg"])
    cv.line([(20, 590), (1040, 590)], (36, 36, 36))
    cv.text(1040, 605, "VARNEL QUILLON", 9, True, COL["faint"], "rm")


# ---------------------------------------------------------------- keyboard

def draw_key(cv, index, state, colour=None):
    label = layout.KEYS[index][0]
    x, y, w, h = layout.key_rect(index)
    shape = key_polygon(index)
    if colour is not None:
        dim = colour == layout.KEY_COLOURS["Dective"]
        top = tuple(min(255, round(v * 0.75 + 20)) for v in colour) if not dim else (58, 58, 58)
        bottom = tuple(round(v * 0.45) for v in colour) if not dim else (40, 40, 40)
        edge = colour if not dim else (80, 80, 80)
        fg = (255, 255, 255) if not dim else (120, 120, 120)
        if sum(colour) > 500 and not dim:
            fg = (10, 10, 10)
    elif state == "Over":
        top, bottom, edge, fg = (60, 60, 60), (38, 38, 38), COL["red"], (255, 255, 255)
    elif state == "Down":
        top, bottom, edge, fg = (170, 0, 0), (95, 0, 0), COL["red"], (255, 255, 255)
    elif state == "Disable":
        top, bottom, edge, fg = (24, 24, 24), (20, 20, 20), (36, 36, 36), (70, 70, 70)
    else:
        top, bottom, edge, fg = COL["cap_top"], COL["cap_bottom"], (62, 62, 62), COL["label"]
    # Key cap: shadow, body with gradient, outline.
    mask = Image.new("L", cv.img.size, 0)
    md = ImageDraw.Draw(mask)
    md.polygon([(sx * F, sy * F) for sx, sy in shape], fill=255)
    b = cv.box(x, y, w, h)
    gw, gh = b[2] - b[0] + 1, b[3] - b[1] + 1
    grad = Image.new("RGB", (1, gh))
    for i in range(gh):
        t = i / max(1, gh - 1)
        grad.putpixel((0, i), tuple(round(a + (c - a) * t) for a, c in zip(top, bottom)))
    layer = Image.new("RGB", cv.img.size)
    layer.paste(grad.resize((gw, gh)), (b[0], b[1]))
    cv.img.paste(layer, (0, 0), mask)
    cv.polygon(shape, outline=edge)
    if index == 43:
        lx, ly = x + w / 2 + layout.ENTER_NOTCH / 2, y + h / 2 - 6
    else:
        lx, ly = x + w / 2, y + h / 2
    if label in ARROWS:
        dx, dy = ARROWS[label]
        a = 5
        # Triangle pointing along (dx, dy).
        tip = (lx + dx * a, ly + dy * a)
        base = [(lx - dx * a + dy * a, ly - dy * a + dx * a), (lx - dx * a - dy * a, ly - dy * a - dx * a)]
        cv.polygon([tip] + base, fill=fg)
        return
    size = 10 if len(label) <= 3 else 8
    if "\n" in label:
        size = 9
    cv.text(lx, ly + 0.5, label, size, True, fg, "mm")


ARROWS = {"UP": (0, -1), "DOWN": (0, 1), "LEFT": (-1, 0), "RIGHT": (1, 0)}


def key_polygon(index):
    x, y, w, h = layout.key_rect(index)
    r = 2  # cut corners
    if index == 43:
        top_h = layout.CAP
        n = x + layout.ENTER_NOTCH
        return [(x + r, y), (x + w - r, y), (x + w, y + r), (x + w, y + h - r), (x + w - r, y + h), (n + r, y + h),
                (n, y + h - r), (n, y + top_h), (x + r, y + top_h), (x, y + top_h - r), (x, y + r)]
    return [(x + r, y), (x + w - r, y), (x + w, y + r), (x + w, y + h - r), (x + w - r, y + h), (x + r, y + h),
            (x, y + h - r), (x, y + r)]


def draw_keyboard(state, fonts, colour=None):
    win = layout.KEYBOARD
    cv = Canvas(win.w, win.h, fonts)
    cv.gradient(0, 0, win.w, win.h, (22, 22, 22), (14, 14, 14))
    # Keyboard plate with a red under-glow line.
    cv.rect(6, 8, win.w - 12, win.h - 16, fill=(12, 12, 12), outline=(46, 46, 46), radius=8)
    cv.rect(40, win.h - 9, win.w - 80, 1, fill=(120, 0, 0))
    for k in range(105):
        draw_key(cv, k, state, colour)
    # Lock indicators above the keypad.
    for i, name in enumerate(["NUM", "CAPS", "SCROLL"]):
        lx = layout.KB_X + round(19 * layout.PITCH) + i * 40
        cv.ellipse(lx, 26, 5, 5, fill=(110, 0, 0))
        cv.text(lx + 9, 28.5, name, 7, True, COL["faint"], "lm")
    return cv.result()


def draw_enter_mask():
    """Outline of the Enter key window, white outside: a resource of the program."""
    x, y, w, h = layout.key_rect(43)
    left, top, sw, sh = scaled_rect(x, y, w, h)
    img = Image.new("1", (sw, sh), 1)
    ImageDraw.Draw(img).polygon([(sw - 0.5 if kx == x + w else kx * SCALE - left,
                                  sh - 0.5 if ky == y + h else ky * SCALE - top)
                                 for kx, ky in key_polygon(43)], fill=0)
    return img


def draw_thumb():
    tw, th = layout.THUMB_SIZE
    img = Image.new("RGB", (px(tw) * S, px(th) * S), (255, 0, 255))
    d = ImageDraw.Draw(img)
    d.polygon([(1 * F, 1 * F), ((tw - 1) * F - 1, 1 * F), ((tw - 1) * F - 1, (th - 6) * F),
               (tw * F / 2, (th - 1) * F), (1 * F, (th - 6) * F)], fill=(230, 0, 0), outline=(255, 120, 120))
    d.line([(tw * F / 2, 4 * F), (tw * F / 2, (th - 8) * F)], fill=(255, 255, 255), width=_n(F))
    # Reduce without smoothing so that the transparent key colour stays exact.
    return img.resize((px(tw), px(th)), Image.NEAREST)


STEP_PICTURE_SIZE = 16


def draw_step_pictures():
    """Pictures in front of the macro manager's step lines, black = transparent.

    Returns {file name: image}: a key pressed (arrow down onto a key), released
    (arrow up off it), a mouse button and a pause (a clock face).
    """
    n = px(STEP_PICTURE_SIZE)
    K = F  # picture pixels per pixel of the 16 x 16 design

    def canvas():
        img = Image.new("RGB", (n * S, n * S), (0, 0, 0))
        return img, ImageDraw.Draw(img)

    def done(img):
        # Nearest reduction keeps black exactly black, so the edges stay clean.
        return img.resize((n, n), Image.NEAREST)

    red, light, grey = (235, 40, 40), (230, 230, 230), (150, 150, 150)
    pictures = {}

    def key_arrow(down):
        img, d = canvas()
        d.rounded_rectangle([2 * K, 9 * K, 14 * K - 1, 15 * K - 1], radius=K, fill=(60, 60, 60), outline=grey)
        tip, tail = (8 * K, 8 * K) if down else (8 * K, 0), (8 * K, 0) if down else (8 * K, 8 * K)
        d.line([tail, tip], fill=red, width=_n(2 * K))
        head_y = tip[1]
        step = -3 * K if down else 3 * K
        d.polygon([(4 * K, head_y + step), (12 * K, head_y + step), (8 * K, head_y)], fill=red)
        return done(img)

    pictures["step_press.bmp"] = key_arrow(True)
    pictures["step_release.bmp"] = key_arrow(False)

    img, d = canvas()
    d.rounded_rectangle([3 * K, 1 * K, 13 * K - 1, 15 * K - 1], radius=5 * K, fill=(60, 60, 60), outline=light)
    d.line([(8 * K, 1 * K), (8 * K, 7 * K)], fill=light, width=_n(K))
    d.line([(3 * K, 7 * K), (13 * K, 7 * K)], fill=light, width=_n(K))
    d.rectangle([3 * K + K, 2 * K, 8 * K - K, 7 * K - K], fill=red)
    pictures["step_mouse.bmp"] = done(img)

    img, d = canvas()
    d.ellipse([1 * K, 1 * K, 15 * K - 1, 15 * K - 1], fill=(60, 60, 60), outline=light, width=_n(K))
    d.line([(8 * K, 8 * K), (8 * K, 3 * K)], fill=light, width=_n(K))
    d.line([(8 * K, 8 * K), (11 * K, 10 * K)], fill=red, width=_n(K))
    pictures["step_delay.bmp"] = done(img)
    return pictures
