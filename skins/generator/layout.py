"""The one layout description of the skin set.

Every window's size and every control's rectangle is defined here once; the
painter (draw.py) draws the pictures from it and generate.py writes the INI
files from it, so a rectangle in an INI file and the control drawn under it
can never disagree.

Control kinds (what the painter draws at the rectangle):
  button   push button with a label          toggle  button with an LED dot
  select   drop-down field, caption by code   help    round "?" button
  close    title-bar close                    min     title-bar minimise
  slider   slider track (thumb is separate)   swatch  colour swatch frame
  edit     recessed edit field                list    recessed list panel
  text     recessed text display              area    rectangle only (no control)
  check    small check box                    picker  colour field / hue bar frame
  key      keyboard key (skin_main only)
"""

from dataclasses import dataclass, field


@dataclass
class Control:
    name: str
    kind: str
    x: int
    y: int
    w: int
    h: int
    label: str = ""
    text: str = ""  # tooltip / quick-help text (no commas)
    style: str = ""  # painter hint: "accent", "dim", "small", ...

    def position_string(self):
        assert "," not in self.text and "," not in self.name
        return f"{self.name},{self.x},{self.y},{self.w},{self.h},{self.text}"


@dataclass
class Label:
    """Static text painted into the background."""
    x: int
    y: int
    text: str
    size: int = 12
    bold: bool = False
    colour: str = "label"
    anchor: str = "la"


@dataclass
class Panel:
    """Static decoration: a raised panel, a recessed box or a rule."""
    kind: str  # "panel", "well", "rule", "accent"
    x: int
    y: int
    w: int
    h: int


@dataclass
class Window:
    ini: str  # INI path relative to the skins folder, "\" separated
    base: str  # picture file name stem
    w: int
    h: int
    title: str = ""
    shape: str = "dialog"  # "dialog" (bevelled popup), "main", "page"
    controls: list = field(default_factory=list)  # BUTTONPOS 1..N in order
    labels: list = field(default_factory=list)
    panels: list = field(default_factory=list)
    pages: list = field(default_factory=list)  # PAGEPOSITION entries
    keyed: dict = field(default_factory=dict)  # BUTTONPOS with explicit keys

    @property
    def folder(self):
        """Folder (relative to skins/) where the pictures live."""
        return "LightFX" if self.ini.startswith("LightFX\\") else ""


# ---------------------------------------------------------------- keyboard

PITCH = 32  # one key unit in pixels
CAP = 29  # visible key cap of a 1u key (3 px gap)
KB_X = 16  # keyboard origin inside the keyboard picture
KB_Y = 18
ROW_Y = [0, 1.5, 2.5, 3.5, 4.5, 5.5]

# key index -> (label, row, column in units, width in units[, height in units])
# The 105 keys of the settings record in their places on an ISO-style board.
KEYS = {}


def _k(index, label, row, col, width=1.0, height=1.0):
    KEYS[index] = (label, row, col, width, height)


_k(0, "ESC", 0, 0)
for _i in range(12):
    _k(1 + _i, f"F{_i + 1}", 0, 2 + _i + (_i // 4) * 0.5)
_k(13, "PRT\nSC", 0, 15.5)
_k(14, "SCR\nLK", 0, 16.5)
_k(15, "PAUSE", 0, 17.5)
_k(16, "¬\n`", 1, 0)
for _i, _lab in enumerate(["!\n1", "\"\n2", "£\n3", "$\n4", "%\n5", "^\n6", "&\n7", "*\n8", "(\n9", ")\n0"]):
    _k(17 + _i, _lab, 1, 1 + _i)
_k(27, "_\n-", 1, 11)
_k(28, "+\n=", 1, 12)
_k(29, "BACK", 1, 13, 2)
_k(30, "TAB", 2, 0, 1.5)
for _i, _lab in enumerate("QWERTYUIOP"):
    _k(31 + _i, _lab, 2, 1.5 + _i)
_k(41, "{\n[", 2, 11.5)
_k(42, "}\n]", 2, 12.5)
_k(43, "ENTER", 2, 13.5, 1.5, 2)  # ISO Enter, L-shaped over two rows
_k(44, "CAPS", 3, 0, 1.75)
for _i, _lab in enumerate("ASDFGHJKL"):
    _k(45 + _i, _lab, 3, 1.75 + _i)
_k(54, ":\n;", 3, 10.75)
_k(55, "@\n'", 3, 11.75)
_k(56, "~\n#", 3, 12.75)
_k(57, "SHIFT", 4, 0, 1.25)
_k(104, "|\n\\", 4, 1.25)
for _i, _lab in enumerate("ZXCVBNM"):
    _k(58 + _i, _lab, 4, 2.25 + _i)
_k(65, "<\n,", 4, 9.25)
_k(66, ">\n.", 4, 10.25)
_k(67, "?\n/", 4, 11.25)
_k(68, "SHIFT", 4, 12.25, 2.75)
_k(69, "CTRL", 5, 0, 1.25)
_k(70, "WIN", 5, 1.25, 1.25)
_k(71, "ALT", 5, 2.5, 1.25)
_k(72, "SPACE", 5, 3.75, 6.25)
_k(73, "ALT GR", 5, 10, 1.25)
_k(74, "WIN", 5, 11.25, 1.25)
_k(75, "MENU", 5, 12.5, 1.25)
_k(76, "CTRL", 5, 13.75, 1.25)
_k(77, "INS", 1, 15.5)
_k(80, "HOME", 1, 16.5)
_k(84, "PG\nUP", 1, 17.5)
_k(78, "DEL", 2, 15.5)
_k(81, "END", 2, 16.5)
_k(85, "PG\nDN", 2, 17.5)
_k(82, "UP", 4, 16.5)
_k(79, "LEFT", 5, 15.5)
_k(83, "DOWN", 5, 16.5)
_k(86, "RIGHT", 5, 17.5)
_k(87, "NUM", 1, 19)
_k(92, "/", 1, 20)
_k(96, "*", 1, 21)
_k(101, "-", 1, 22)
_k(88, "7", 2, 19)
_k(93, "8", 2, 20)
_k(97, "9", 2, 21)
_k(102, "+", 2, 22, 1, 2)
_k(89, "4", 3, 19)
_k(94, "5", 3, 20)
_k(98, "6", 3, 21)
_k(90, "1", 4, 19)
_k(95, "2", 4, 20)
_k(99, "3", 4, 21)
_k(103, "ENT", 4, 22, 1, 2)
_k(91, "0", 5, 19, 2)
_k(100, ".", 5, 21)

assert sorted(KEYS) == list(range(105))

# LED slot of each key index (the keyboard's key table: 6 x column + row).
KEY_SLOT = ([5, 17, 23, 29, 35, 41, 47, 53, 59, 65, 71, 77, 83, 89, 95, 101]
            + list(range(4, 83, 6)) + list(range(3, 82, 6)) + [2, 8, 14]
            + list(range(20, 69, 6)) + [80] + list(range(1, 44, 6))
            + [49, 55, 61, 73, 0, 6, 12, 30, 54, 60, 66, 78, 88, 87, 84, 94, 93,
               91, 90, 100, 99, 96, 106, 105, 104, 103, 102, 112, 111, 110, 109,
               118, 117, 116, 115, 114, 124, 122, 120, 11])
assert len(KEY_SLOT) == 105 and len(set(KEY_SLOT)) == 105
LED_COUNT = 126
KEY_ENTRY_BASE = 40
LED_ENTRY_BASE = 150


def key_rect(index):
    """Client rectangle (x, y, w, h) of a key in the keyboard picture."""
    _, row, col, width, height = KEYS[index]
    x = KB_X + round(col * PITCH)
    y = KB_Y + round(ROW_Y[row] * PITCH)
    w = round(width * PITCH) - (PITCH - CAP)
    h = round(height * PITCH) - (PITCH - CAP)
    return x, y, w, h


# Enter: the lower part starts a quarter unit in from the left (the L shape
# that the colour key button cuts: 8 px at this pitch).
ENTER_NOTCH = PITCH // 4

# Colour pictures of the keyboard: key functions shown by lit keys.
KEY_COLOURS = {
    "Green": (40, 220, 90),
    "Blue": (40, 120, 255),
    "Cyan": (0, 215, 235),
    "Red": (255, 0, 0),
    "Purple": (170, 70, 255),
    "Danlv": (255, 160, 0),  # amber: apart from LAUNCH PROGRAM's green
    "Dective": (95, 95, 95),
}
KEY_COLOUR_MEANING = [
    ("Blue", "KEY COMBINATION"), ("Danlv", "MEDIA"), ("Red", "MACRO"),
    ("Green", "LAUNCH PROGRAM"), ("Cyan", "SHORTCUT"), ("Purple", "OTHER"),
    ("Dective", "DISABLED"),
]

# ---------------------------------------------------------------- windows

C = Control
WINDOWS = []


def window(*args, **kw):
    win = Window(*args, **kw)
    WINDOWS.append(win)
    return win


# Keyboard picture page of the main window.
KEYBOARD = window("skin_main.ini", "main", 768, 244, shape="page")
for _k_index in range(105):
    _x, _y, _w, _h = key_rect(_k_index)
    KEYBOARD.keyed[str(KEY_ENTRY_BASE + _k_index)] = C(
        "Enter" if _k_index == 43 else f"KEY_{_k_index}", "key", _x, _y, _w, _h,
        KEYS[_k_index][0])
_slot_owner = {slot: k for k, slot in enumerate(KEY_SLOT)}
for _led in range(LED_COUNT):
    if _led in _slot_owner:
        _x, _y, _w, _h = key_rect(_slot_owner[_led])
        KEYBOARD.keyed[str(LED_ENTRY_BASE + _led)] = C(f"LED_{_led}", "led", _x, _y, _w, _h)
    else:
        KEYBOARD.keyed[str(LED_ENTRY_BASE + _led)] = C(f"LED_{_led}", "led", 0, 0, 0, 0)

# The strip above the bottom rule of the main window (y 566..586) is left
# empty: the program writes the quick help of the control under the mouse there.

# Content pages of the main window: both sit in the same place.
PAGE_W, PAGE_H = 600, 160
PAGE_RECT = (20, 86, PAGE_W, PAGE_H)
KEYBOARD_RECT = (20, 292, KEYBOARD.w, KEYBOARD.h)

MAIN = window("skin_Config.ini", "Config", 1060, 620, shape="main", controls=[
    C("TAB_WINDOWS_KEY", "tab", 20, 52, 140, 30, "WINDOWS KEY", "Windows key settings"),
    C("TAB_LIGHTING", "tab", 164, 52, 140, 30, "LIGHTING", "Lighting effects and colours"),
    C("BUTTON_MACRO", "button", 780, 8, 120, 24, "MACROS", "Macro managers", "small"),
    C("BUTTON_HELP", "help", 908, 8, 24, 24, "", "Help"),
    C("BUTTON_PREVIEW", "toggle", 640, 200, 118, 30, "PREVIEW", "Preview changes on the keyboard at once"),
    C("BUTTON_PREVIEW_HELP", "help", 762, 203, 24, 24, "", "What is preview?"),
] + [
    # The entry list has room for six profiles; the keyboard has five, so the
    # sixth pair keeps its entries but is not drawn (the program hides it).
    C(f"PROFILE_SELECT_{i + 1}", "select_profile", 640 + (i % 2) * 204, 82 + (i // 2) * 36, 150, 30,
      f"PROFILE {i + 1}", f"Make profile {i + 1} active", "hidden" if i == 5 else "")
    for i in range(6)
] + [
    C(f"PROFILE_EDIT_{i + 1}", "button", 794 + (i % 2) * 204, 82 + (i // 2) * 36, 40, 30,
      "···", f"Profile {i + 1}: its name and linked programs; copy; reset", "hidden" if i == 5 else "")
    for i in range(6)
] + [
    C("BUTTON_RESET", "button", 796, 200, 104, 30, "RESET ALL", "Reset all profiles to the defaults"),
    C("BUTTON_APPLY", "button", 908, 196, 132, 38, "APPLY", "Send the settings to the keyboard", "accent"),
    C("BUTTON_MIN", "min", 970, 8, 32, 24, "", "Minimise"),
    C("BUTTON_EXIT", "close", 1008, 8, 32, 24, "", "Close"),
], pages=[
    C("PAGE_WINDOWS_KEY", "area", *PAGE_RECT),
    C("PAGE_LIGHTING", "area", *PAGE_RECT),
    C("KEYBOARD", "area", *KEYBOARD_RECT),
], labels=[
    Label(640, 56, "PROFILES", 13, True),
    Label(300, 267, "FIRMWARE", 11, True, "dim", "rm"),
    # The program writes both version numbers beside these labels.
    Label(364, 267, "SOFTWARE", 11, True, "dim", "lm"),
    Label(826, 306, "KEY FUNCTIONS", 13, True),
], panels=[
    Panel("well", 306, 252, 44, 30),
    Panel("panel", 628, 48, 412, 194),
    Panel("panel", 808, 292, 232, 244),
])

WIN_KEY = window("skin_win_key.ini", "win_key", PAGE_W, PAGE_H, shape="page", controls=[
    C("BUTTON_WINKEY_OFF", "option", 40, 70, 130, 36, "OFF", "Windows key locked"),
    C("BUTTON_WINKEY_ON", "option", 180, 70, 130, 36, "ON", "Windows key works"),
    C("BUTTON_WINKEY_HELP", "help", 324, 76, 24, 24, "", "Help"),
], labels=[
    Label(40, 36, "WINDOWS KEY", 14, True),
    Label(40, 124, "ON: the Windows key works as usual.", 11, False, "dim"),
    Label(40, 142, "OFF: the key is locked, so it cannot throw you out of your game.", 11, False, "dim"),
])

COLOR_CONTROL = window("skin_color_control.ini", "color_control", PAGE_W, PAGE_H, shape="page", controls=[
    C("BUTTON_EFFECT", "select", 20, 30, 176, 28, "", "Lighting effect"),
    C("BUTTON_LIGHT_OFF", "toggle", 208, 30, 104, 28, "LIGHTS OFF", "Switch the lighting off"),
    C("BUTTON_EFFECT_HELP", "help", 318, 32, 24, 24, "", "Help"),
    C("SLIDER_BRIGHTNESS", "slider", 362, 35, 190, 18, "", "General brightness"),
    C("BUTTON_BRIGHTNESS_HELP", "help", 560, 32, 24, 24, "", "Help"),
    C("AREA_EFFECT", "area", 10, 70, 580, 82),
], labels=[
    Label(20, 18, "EFFECT", 11, True, "dim"),
    Label(362, 18, "BRIGHTNESS", 11, True, "dim"),
    Label(362, 62, "0", 9, False, "dim", "lm"),
    Label(552, 62, "10", 9, False, "dim", "rm"),
])

SUB_W, SUB_H = 580, 82
_speed = [C("SLIDER_SPEED", "slider", 130, 44, 180, 18, "", "Effect speed")]
_speed_labels = [Label(130, 26, "SPEED", 11, True, "dim"), Label(130, 70, "SLOW", 8, False, "dim", "lm"),
                 Label(310, 70, "FAST", 8, False, "dim", "rm")]

CONSTANT = window("LightFX\\skin_CONSTANT.ini", "CONSTANT", SUB_W, SUB_H, shape="page", controls=[
    C("BUTTON_COLOR", "swatch", 20, 34, 80, 36, "", "Choose the colour"),
], labels=[Label(20, 16, "COLOUR", 11, True, "dim")])

BREATHE = window("LightFX\\skin_Breathe.ini", "Breathe", SUB_W, SUB_H, shape="page", controls=[
    C("BUTTON_COLOR", "swatch", 20, 34, 80, 36, "", "Choose the colour"),
] + _speed, labels=[Label(20, 16, "COLOUR", 11, True, "dim")] + _speed_labels)

WAVE = window("LightFX\\skin_wave.ini", "wave", SUB_W, SUB_H, shape="page", controls=[
    C("BUTTON_COLOR", "swatch", 20, 34, 80, 36, "", "Choose the colour"),
] + _speed + [
    C("BUTTON_MODE_0", "option", 350, 38, 104, 30, "FORWARD", "The wave runs the keyboard's own way"),
    C("BUTTON_MODE_1", "option", 462, 38, 104, 30, "REVERSE", "The wave runs the other way"),
], labels=[Label(20, 16, "COLOUR", 11, True, "dim"), Label(350, 26, "DIRECTION", 11, True, "dim")] + _speed_labels)

RIPPLE = window("LightFX\\skin_Ripple.ini", "Ripple", SUB_W, SUB_H, shape="page", controls=[
    C("BUTTON_COLOR", "swatch", 20, 34, 80, 36, "", "Choose the colour"),
] + _speed + [
    C("BUTTON_MODE_0", "option", 350, 38, 104, 30, "FORWARD", "Ripples run the keyboard's own way"),
    C("BUTTON_MODE_1", "option", 462, 38, 104, 30, "REVERSE", "Ripples run the other way"),
], labels=[Label(20, 16, "COLOUR", 11, True, "dim"), Label(350, 26, "DIRECTION", 11, True, "dim")] + _speed_labels)

CUSTOM = window("LightFX\\skin_Custom.ini", "Custom", SUB_W, SUB_H, shape="page", controls=[
    C("BUTTON_LED_COLOR", "swatch", 20, 34, 80, 36, "", "Colour for Ctrl+click on keys"),
    C("BUTTON_GLOBAL_COLOR", "swatch", 150, 34, 80, 36, "", "The colour of every key in ONE COLOUR"),
    C("BUTTON_MODE_0", "option", 290, 38, 110, 30, "PER KEY", "Each key in the colour painted on it"),
    C("BUTTON_MODE_1", "option", 408, 38, 110, 30, "ONE COLOUR", "Every key in the global colour"),
    C("BUTTON_LED_HELP", "help", 106, 40, 24, 24, "", "Help"),
    C("BUTTON_GLOBAL_HELP", "help", 236, 40, 24, 24, "", "Help"),
], labels=[Label(20, 16, "KEY COLOUR", 11, True, "dim"), Label(150, 16, "GLOBAL", 11, True, "dim"),
           Label(290, 26, "MODE", 11, True, "dim")])

COLOR_SELECT = window("LightFX\\skin_Color_Select.ini", "Color_Select", 420, 312, "COLOUR", controls=[
    C("COLOR_FIELD", "picker", 16, 50, 200, 200, "", "Saturation and brightness"),
    C("COLOR_HUE", "picker", 226, 50, 22, 200, "", "Hue"),
    C("COLOR_PREVIEW", "swatch", 264, 50, 140, 36, "", "New colour"),
    C("EDIT_RED", "spin", 292, 100, 70, 22, "", "Red 0 to 255"),
    C("EDIT_GREEN", "spin", 292, 130, 70, 22, "", "Green 0 to 255"),
    C("EDIT_BLUE", "spin", 292, 160, 70, 22, "", "Blue 0 to 255"),
    C("TEXT_HEX", "text", 292, 190, 70, 22, "", "Type a colour as RRGGBB"),
] + [
    C(f"BUTTON_PRESET_{i + 1}", "preset", 16 + i * 34, 266, 28, 28, "", "Preset colour")
    for i in range(6)
] + [
    C("BUTTON_OK", "button", 236, 264, 80, 32, "OK", "", "accent"),
    C("BUTTON_CANCEL", "button", 324, 264, 80, 32, "CANCEL", ""),
    C("BUTTON_HELP", "help", 384, 8, 24, 24, "", "Help"),
], labels=[
    Label(264, 111, "R", 11, True, "dim", "lm"), Label(264, 141, "G", 11, True, "dim", "lm"),
    Label(264, 171, "B", 11, True, "dim", "lm"), Label(264, 201, "#", 11, True, "dim", "lm"),
])
PRESET_COLOURS = [(255, 0, 0), (0, 255, 255), (0, 255, 0), (0, 0, 255), (255, 255, 0), (255, 0, 255)]

# Key assignment dialog and its sub-pages.
SET_BUTTON = window("buttons\\skin_set_button.ini", "set_button", 600, 424, "KEY ASSIGNMENT", controls=[
    C("BUTTON_CATEGORY", "select", 240, 58, 210, 28, "", "Function of the key"),
    C("BUTTON_PLAY_MODE", "select", 24, 122, 200, 28, "", "How a macro is played"),
    C("EDIT_PLAY_COUNT", "edit", 244, 126, 50, 20, "", "Number of repetitions"),
    C("EDIT_REPEAT_DELAY", "edit", 330, 126, 60, 20, "", "Pause between repetitions in ms"),
    C("BUTTON_TRIGGER_0", "option", 424, 122, 76, 28, "PRESS", "Start on key press"),
    C("BUTTON_TRIGGER_1", "option", 506, 122, 76, 28, "RELEASE", "Start on key release"),
    C("BUTTON_OK", "button", 384, 380, 96, 32, "OK", "", "accent"),
    C("BUTTON_CANCEL", "button", 488, 380, 96, 32, "CANCEL", ""),
    C("AREA_SUB_PAGE", "area", 16, 164, 568, 200),
    C("BUTTON_COUNT_HELP", "help", 300, 96, 22, 22, "", "Help"),
    C("BUTTON_ASSIGN_HELP", "help", 458, 60, 24, 24, "", "Help"),
], labels=[
    Label(24, 65, "KEY", 12, True, "dim", "lm"),
    Label(240, 48, "FUNCTION", 11, True, "dim", "lm"),
    Label(24, 108, "PLAY MODE", 11, True, "dim", "lm"),
    Label(244, 108, "TIMES", 11, True, "dim", "lm"),
    Label(330, 108, "DELAY MS", 11, True, "dim", "lm"),
    Label(424, 108, "TRIGGER", 11, True, "dim", "lm"),
], panels=[Panel("well", 141, 42, 72, 46)])

SUB_PAGE_W, SUB_PAGE_H = 568, 200
DEFAULT_BUTTON = window("buttons\\skin_Default_button.ini", "Default_button", SUB_PAGE_W, SUB_PAGE_H, shape="page",
                        labels=[Label(284, 90, "STANDARD FUNCTION", 15, True, "label", "mm"),
                                Label(284, 116, "The key keeps its own function, or stays silent when disabled.",
                                      11, False, "dim", "mm")])
KEYBOARD_BUTTON = window("buttons\\skin_Keyboard_button.ini", "Keyboard_button", SUB_PAGE_W, SUB_PAGE_H,
                         shape="page", controls=[
                             C("BUTTON_RECORD_KEYS", "toggle", 20, 40, 150, 32, "RECORD", "Press to capture a key combination"),
                             C("TEXT_KEYS", "text", 184, 40, 364, 32, "", "Captured keys"),
                         ], labels=[Label(20, 22, "KEY COMBINATION", 11, True, "dim"),
                                    Label(20, 100, "Press RECORD, then up to eight modifiers and one key.", 11, False, "dim")])
_media = ["MUTE", "PLAY / PAUSE", "NEXT TRACK", "PREVIOUS TRACK", "VOLUME UP", "VOLUME DOWN"]
MEDIA_BUTTON = window("buttons\\skin_Media_button.ini", "Media_button", SUB_PAGE_W, SUB_PAGE_H, shape="page",
                      controls=[C(f"BUTTON_MEDIA_{i}", "option", 20 + (i % 3) * 180, 44 + (i // 3) * 48, 168, 36,
                                  _media[i], "") for i in range(6)],
                      labels=[Label(20, 24, "MEDIA KEY", 11, True, "dim")])
_shortcuts = [("CUT", "CTRL+X"), ("PASTE", "CTRL+V"), ("UNDO", "CTRL+Z"), ("COPY", "CTRL+C"),
              ("CLOSE", "CTRL+W"), ("QUIT", "ALT+F4"), ("SNAPSHOT", "ALT+PRTSC"), ("DESKTOP", "WIN+D"),
              ("MINIMISE", "ALT+SPACE N"), ("MAXIMISE", "ALT+SPACE X")]
SHORTCUT_BUTTON = window("buttons\\skin_Shortcut_button.ini", "Shortcut_button", SUB_PAGE_W, SUB_PAGE_H,
                         shape="page", controls=[
                             C(f"BUTTON_SHORTCUT_{i}", "option", 20 + (i % 5) * 108, 44 + (i // 5) * 66, 100, 56,
                               f"{_shortcuts[i][0]}\n{_shortcuts[i][1]}", "") for i in range(10)],
                         labels=[Label(20, 24, "SHORTCUT", 11, True, "dim")])
LAUNCH_BUTTON = window("buttons\\skin_LaunchAP_button.ini", "LaunchAP_button", SUB_PAGE_W, SUB_PAGE_H, shape="page",
                       controls=[
                           C("LIST_PROGRAMS", "list", 20, 36, 390, 150, "", "Programs"),
                           C("BUTTON_ADD", "button", 424, 36, 124, 32, "ADD", "Add a program"),
                           C("BUTTON_DELETE", "button", 424, 76, 124, 32, "DELETE", "Remove the program"),
                       ], labels=[Label(20, 20, "LAUNCH PROGRAM", 11, True, "dim")])
MACRO_SECTION = window("buttons\\skin_Macro_section.ini", "Macro_section", SUB_PAGE_W, SUB_PAGE_H, shape="page",
                       controls=[
                           C("LIST_MACROS", "list", 20, 36, 390, 150, "", "Macros and text macros"),
                           C("BUTTON_MANAGE", "button", 424, 36, 124, 32, "MANAGE", "Open a macro manager"),
                       ], labels=[Label(20, 20, "MACRO", 11, True, "dim")])

# Macro managers.
_mgr_common = [
    C("BUTTON_OK", "button", 500, 416, 96, 32, "OK", "", "accent"),
    C("BUTTON_CANCEL", "button", 604, 416, 96, 32, "CANCEL", ""),
    C("BUTTON_EXIT", "close", 676, 6, 32, 24, "", "Close"),
    C("BUTTON_NEW", "button", 20, 374, 104, 30, "NEW", "New macro"),
    C("BUTTON_DELETE", "button", 132, 374, 104, 30, "DELETE", "Delete macro"),
    C("LIST_NAMES", "list", 20, 70, 216, 296, "", "Macros"),
]
MACRO_MANAGER = window("skin_macro_manager.ini", "macro_manager", 720, 464, "MACRO MANAGER", controls=_mgr_common + [
    C("BUTTON_RECORD", "toggle", 260, 70, 136, 32, "RECORD", "Start or stop recording"),
    C("BUTTON_DELAYS", "toggle", 260, 110, 136, 32, "DELAYS", "Record the pauses between keys"),
    C("BUTTON_REPEAT", "toggle", 260, 150, 136, 32, "REPEAT", "Play the macro several times"),
    C("EDIT_REPEAT_COUNT", "edit", 330, 196, 66, 22, "", "Repetitions 1 to 255"),
    C("LIST_STEPS", "list", 420, 70, 280, 334, "", "Steps: right click for the step menu"),
], labels=[Label(20, 54, "MACROS", 11, True, "dim"), Label(420, 54, "STEPS", 11, True, "dim"),
           Label(260, 207, "TIMES", 11, True, "dim", "lm")])
TEXT_MACRO_MANAGER = window("skin_text_macro_manager.ini", "text_macro_manager", 720, 464, "TEXT MACRO MANAGER",
                            controls=[c if c.name != "BUTTON_NEW" else C("BUTTON_NEW", "button", 20, 374, 104, 30, "NEW", "New text macro")
                                      for c in _mgr_common] + [
                                C("BUTTON_KEY_BEFORE", "toggle_caption", 340, 70, 170, 30, "", "Key pressed before the text"),
                                C("BUTTON_KEY_AFTER", "toggle_caption", 340, 110, 170, 30, "", "Key pressed after the text"),
                                C("BUTTON_CLEAR_BEFORE", "button", 518, 70, 80, 30, "CLEAR", "No key before"),
                                C("BUTTON_CLEAR_AFTER", "button", 518, 110, 80, 30, "CLEAR", "No key after"),
                                C("EDIT_DELAY", "edit", 340, 154, 80, 22, "", "Pause before the text in ms"),
                                C("EDIT_TEXT", "edit", 260, 196, 440, 208, "", "Text to type"),
                            ], labels=[Label(20, 54, "TEXT MACROS", 11, True, "dim"),
                                       Label(260, 182, "TEXT TO TYPE", 11, True, "dim"),
                                       Label(260, 85, "BEFORE", 11, True, "dim", "lm"),
                                       Label(260, 125, "AFTER", 11, True, "dim", "lm"),
                                       Label(260, 165, "DELAY MS", 11, True, "dim", "lm"),
                                       Label(260, 54, "KEYS AROUND THE TEXT", 11, True, "dim")])

LAUNCH_PROGRAM = window("skin_lanuch_program.ini", "lanuch_program", 420, 200, "LAUNCH PROGRAM", controls=[
    C("BUTTON_OK", "button", 206, 152, 96, 32, "OK", "", "accent"),
    C("BUTTON_CANCEL", "button", 310, 152, 96, 32, "CANCEL", ""),
    C("BUTTON_EXIT", "close", 376, 6, 32, 24, "", "Close"),
    C("EDIT_PATH", "edit", 20, 82, 300, 24, "", "Program path"),
    C("BUTTON_BROWSE", "button", 328, 80, 78, 28, "BROWSE", "Choose a program"),
], labels=[Label(20, 64, "PROGRAM", 11, True, "dim")])


def profile_page(n):
    controls = [
        C("LIST_PROGRAMS", "list", 16, 112, 260, 80, "", "Linked programs"),
        C("BUTTON_ADD", "button", 320, 64, 104, 30, "ADD", "Link a program"),
        C("BUTTON_REMOVE", "button", 320, 102, 104, 30, "REMOVE", "Unlink the program"),
        C("CHECK_COPY", "check", 16, 214, 24, 24, "", "Copy this profile"),
        C("BUTTON_COPY_TARGET", "select", 120, 212, 156, 28, "", "Target profile"),
        C("BUTTON_RESET", "button", 300, 212, 124, 28, "RESET", "Reset this profile"),
        C("BUTTON_OK", "button", 224, 276, 96, 32, "OK", "", "accent"),
        C("BUTTON_CANCEL", "button", 328, 276, 96, 32, "CANCEL", ""),
        C("BUTTON_EXIT", "close", 400, 6, 32, 24, "", "Close"),
    ]
    keyed = {str(i + 1): c for i, c in enumerate(controls)}
    if n == 1:
        keyed["10"] = C("browser1", "button", 281, 172, 30, 20, "···", "Show the full path of the selected program",
                        "small")
    # Keys 11 and 12 on every page, whether or not page 1's key 10 is there.
    keyed["11"] = C("BUTTON_EXPORT", "button", 320, 140, 104, 28, "EXPORT", "Save this profile to a file")
    keyed["12"] = C("BUTTON_IMPORT", "button", 320, 176, 104, 28, "IMPORT", "Load a profile file into this profile")
    keyed["16"] = C("CHECK_DESKTOP", "check", 224, 246, 22, 22, "",
                    "Use this profile when no linked program is in front")
    # The name field has a key of its own, clear of the keys other controls may take.
    keyed["20"] = C("EDIT_PROFILE_NAME", "edit", 16, 64, 260, 24, "",
                    "The profile's name as its button shows it")
    return window(f"buttons\\skin_profile{n}.ini", f"profile{n}", 440, 320, f"PROFILE {n}",
                  controls=list(keyed.values()), keyed=keyed,
                  labels=[Label(16, 48, "NAME", 11, True, "dim"),
                          Label(16, 96, "LINKED PROGRAMS", 11, True, "dim"),
                          Label(46, 226, "COPY TO", 11, True, "dim", "lm"),
                          Label(254, 257, "DESKTOP PROFILE", 11, True, "dim", "lm")],
                  panels=[Panel("well", 16, 252, 196, 58)])


PROFILES = [profile_page(n) for n in range(1, 6)]


def warn_dialog(ini, base, title, lines):
    return window(ini, base, 304, 204, title, controls=[
        C("BUTTON_OK", "button", 67, 162, 70, 30, "OK", "", "accent"),
        C("BUTTON_CANCEL", "button", 167, 162, 70, 30, "CANCEL", ""),
        C("BUTTON_EXIT", "close", 277, 4, 22, 22, "", "Close"),
    ], labels=[Label(152, 78 + i * 20, line, 12, False, "label", "mm") for i, line in enumerate(lines)])


warn_dialog("skin_reset_warn.ini", "reset_warn", "RESET",
            ["All five profiles return to", "their default settings.", "Continue?"])
for _n in range(1, 6):
    warn_dialog(f"skin_profile{_n}_reset_warn.ini", f"profile{_n}_reset_warn", f"RESET PROFILE {_n}",
                [f"Profile {_n} returns to its", "default settings.", "Continue?"])
warn_dialog("skin_macro_set_warn.ini", "macro_set_warn", "MACRO",
            ["Create or choose a macro", "before recording.", ""])
# The program writes the question: it names the macro and the keys that play it.
warn_dialog("skin_delete_macro_warn.ini", "delete_macro_warn", "DELETE", [])

# Closing with changes not applied: 1 Apply, 2 Discard, 3 Cancel, 4 close.
UNAPPLIED_WARN = window("skin_unapplied_warn.ini", "unapplied_warn", 340, 204, "NOT APPLIED", controls=[
    C("BUTTON_APPLY", "button", 24, 162, 90, 30, "APPLY", "Send the changes to the keyboard and close", "accent"),
    C("BUTTON_DISCARD", "button", 125, 162, 90, 30, "DISCARD", "Close and drop the changes"),
    C("BUTTON_CANCEL", "button", 226, 162, 90, 30, "CANCEL", "Keep the window open"),
    C("BUTTON_EXIT", "close", 313, 4, 22, 22, "", "Close"),
], labels=[Label(170, 78 + i * 20, line, 12, False, "label", "mm") for i, line in enumerate(
    ["Some changes are not applied.", "Apply sends them to the keyboard;", "Discard closes without them."])])

# The Apply button's two looks, cut into it by the main window: 1 as the
# main window draws it, 2 while changes are not applied (a lit mark).
APPLY_LOOKS = window("skin_apply_pending.ini", "apply_pending", 132, 76, shape="page", controls=[
    C("BUTTON_APPLY", "button", 0, 0, 132, 38, "APPLY", "Send the settings to the keyboard", "accent"),
    C("BUTTON_APPLY_PENDING", "button", 0, 38, 132, 38, "APPLY", "Changes not applied: send them", "accent pending"),
], panels=[Panel("panel", -8, -8, 148, 92)])
# A profile file refused at import: the program writes the reason in the
# empty middle; OK alone closes it (no key 2).
_refused = {"1": C("BUTTON_OK", "button", 117, 162, 70, 30, "OK", "", "accent"),
            "3": C("BUTTON_EXIT", "close", 277, 4, 22, 22, "", "Close")}
window("skin_profile_refused_warn.ini", "profile_refused_warn", 304, 204, "IMPORT",
       controls=list(_refused.values()), keyed=_refused)

# Thumb of every slider: the top-left pixel colour is transparent.
THUMB_SIZE = (12, 18)
THUMB_FILE = "scroll_arrow.bmp"
