#!/usr/bin/env python3
"""Draws the device pictures of the skin and places their buttons.

One geometry, two outputs: the SVG drawings under skin/common/device/ and the button elements of the
picture part of each page layout (skin/XML/DeviceXml/*.xml, between the markers
"<!-- picture: begin -->" and "<!-- picture: end -->"). Run it from anywhere after changing a key, a
size or a light position; both stay in step (tests/devices/device_pictures_test.cpp checks it).

Coordinates are the 96-DPI layout pixels of the picture container (800 x 210); the drawings use the
same numbers as their view box, so a button's "pos" is the rectangle of its key in the drawing.
"""

import math
import os
import re
import shutil

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..'))
SKIN = os.path.join(ROOT, 'skin')
DEVICE_DIR = os.path.join(SKIN, 'common', 'device')
W, H = 800, 210

# Palette of the dark skin (skin.qss).
ACCENT = '#2DE1C2'
TEXT = '#C9CED8'
MUTED = '#8A93A6'
FONT = "font-family='Inter'"


def fmt(v):
    s = f'{v:.2f}'.rstrip('0').rstrip('.')
    return '0' if s == '-0' else s


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)


def svg(width, height, body, view=None):
    view = view or (0, 0, width, height)
    return (f"<svg xmlns='http://www.w3.org/2000/svg' width='{fmt(width)}' height='{fmt(height)}' "
            f"viewBox='{' '.join(fmt(v) for v in view)}'>\n{body}</svg>\n")


def window_svg(rect, body):
    """An image that shows the part `rect` (x, y, w, h) of the picture's coordinates: a button's
    light or hover image drawn in the same coordinates as the picture."""
    x, y, w, h = rect
    return svg(w, h, body, (x, y, w, h))


def attr(s):
    return s.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;').replace('"', '&quot;')


class Button:
    def __init__(self, name, rect, tooltip, light=None, hot=None, keyset=False, cursor=True):
        self.name, self.rect, self.tooltip = name, tuple(int(round(v)) for v in rect), tooltip
        self.light, self.hot, self.keyset, self.cursor = light, hot, keyset, cursor

    def xml(self, indent):
        x, y, w, h = self.rect
        a = [f'name="{self.name}"', 'float="true"', f'pos="{x},{y},{x + w},{y + h}"']
        if self.tooltip:
            a.append(f'tooltip="{attr(self.tooltip)}" resourcetooltip="true"')
        hot = self.hot.write(self.rect) if isinstance(self.hot, Deferred) else self.hot
        light = self.light.write(self.rect) if isinstance(self.light, Deferred) else self.light
        if hot:
            a.append(f'''hotimage="{hot} fade='150'" pushedimage="{hot}"''')
        if light:
            a.append(f'lightimage="{light}"')
        if self.keyset:
            a.append(f'''keysetimage="file='common/device/key_set.svg' dest='{w - 9},2,{w - 2},9'"''')
        if self.cursor:
            a.append('cursor="hand"')
        return f'{indent}<DeviceKeyButton {" ".join(a)}/>\n'


def rounded_rect_path(x, y, w, h, r):
    return (f'M{fmt(x + r)},{fmt(y)} H{fmt(x + w - r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x + w)},{fmt(y + r)} '
            f'V{fmt(y + h - r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x + w - r)},{fmt(y + h)} H{fmt(x + r)} '
            f'A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x)},{fmt(y + h - r)} V{fmt(y + r)} A{fmt(r)},{fmt(r)} 0 0 1 {fmt(x + r)},{fmt(y)} Z')


def polyline(points):
    return 'M' + ' L'.join(f'{fmt(px)},{fmt(py)}' for px, py in points)


def bbox(points, margin):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (math.floor(min(xs) - margin), math.floor(min(ys) - margin),
            math.ceil(max(xs) - min(xs) + 2 * margin), math.ceil(max(ys) - min(ys) + 2 * margin))


class Deferred:
    """A button image drawn in the picture's coordinates; it is written once the button's rectangle
    is final (see separate), as the window of the picture that the button covers."""

    def __init__(self, kind, folder, name, body):
        self.kind, self.folder, self.name, self.body = kind, folder, name, body

    def write(self, rect):
        rel = f'common/device/{self.folder}/{self.name}_{self.kind}.svg'
        write(os.path.join(SKIN, rel), window_svg(rect, self.body))
        return f"file='{rel}'"


def hot_image(folder, name, shape_body):
    """An accent copy of a shape, for the hovered and pressed button."""
    return Deferred('hot', folder, name, shape_body)


def light_image(folder, name, shape_body):
    """The shape a light position lights up (white: the key colour tints it)."""
    return Deferred('light', folder, name, shape_body)


def separate(buttons):
    """Shrinks overlapping button rectangles to the middle of their overlap, along the axis where
    they overlap least, so that every point of a picture belongs to one button at most."""
    changed = True
    while changed:
        changed = False
        for i, a in enumerate(buttons):
            for b in buttons[i + 1:]:
                ax, ay, aw, ah = a.rect
                bx, by, bw, bh = b.rect
                ox = min(ax + aw, bx + bw) - max(ax, bx)
                oy = min(ay + ah, by + bh) - max(ay, by)
                if ox <= 0 or oy <= 0:
                    continue
                changed = True
                if ox <= oy:
                    first, second = (a, b) if ax + aw / 2 <= bx + bw / 2 else (b, a)
                    fx, fy, fw, fh = first.rect
                    sx, sy, sw, sh = second.rect
                    mid = (fx + fw + sx) // 2
                    first.rect = (fx, fy, mid - fx, fh)
                    second.rect = (mid, sy, sx + sw - mid, sh)
                else:
                    first, second = (a, b) if ay + ah / 2 <= by + bh / 2 else (b, a)
                    fx, fy, fw, fh = first.rect
                    sx, sy, sw, sh = second.rect
                    mid = (fy + fh + sy) // 2
                    first.rect = (fx, fy, fw, mid - fy)
                    second.rect = (sx, mid, sw, sy + sh - mid)


# ---------------------------------------------------------------------------------------------------
# Keyboard: ANSI 104 with the keys of this layout's international variants split off where those
# layouts have them (JIS: Yen, Ro, Muhenkan, Henkan, Kana; ISO: the keys beside Enter and left Shift;
# Korean: Hanja, Han/Yeong; ABNT2: the keypad comma), a column of macro keys M1-M5 on the left,
# three media keys above the keypad, Fn in place of the right Windows key, a 15-segment logo in the
# top bezel and a 6-segment light strip along the front edge.

U = 28                    # one key unit
KX, KY = 67, 22           # top left of the key area
MAIN, NAV, PAD = 1.25, 16.5, 19.75   # first column of the main block, navigation block, keypad
ROWS = [0, 1.25, 2.25, 3.25, 4.25, 5.25]   # top of each row in units (gap after the function row)

# (logical key, first column, row, width, height, legend, style). A legend "a\\nb" is two lines
# (shifted sign above, base sign below); style: '' letter, 'w' word, 'm' modifier word,
# 'a' accent (macro keys), 'i' icon (media keys).
KEYBOARD_KEYS = [
    (0, MAIN + 0, 0, 1, 1, 'Esc', 'w'),
    (1, MAIN + 2, 0, 1, 1, 'F1', 'w'), (2, MAIN + 3, 0, 1, 1, 'F2', 'w'),
    (3, MAIN + 4, 0, 1, 1, 'F3', 'w'), (4, MAIN + 5, 0, 1, 1, 'F4', 'w'),
    (5, MAIN + 6.5, 0, 1, 1, 'F5', 'w'), (6, MAIN + 7.5, 0, 1, 1, 'F6', 'w'),
    (7, MAIN + 8.5, 0, 1, 1, 'F7', 'w'), (8, MAIN + 9.5, 0, 1, 1, 'F8', 'w'),
    (9, MAIN + 11, 0, 1, 1, 'F9', 'w'), (10, MAIN + 12, 0, 1, 1, 'F10', 'w'),
    (11, MAIN + 13, 0, 1, 1, 'F11', 'w'), (12, MAIN + 14, 0, 1, 1, 'F12', 'w'),
    (13, NAV + 0, 0, 1, 1, 'PrtSc', 'w'), (14, NAV + 1, 0, 1, 1, 'ScrLk', 'w'), (15, NAV + 2, 0, 1, 1, 'Pause', 'w'),
    (17, PAD + 1, 0, 1, 1, 'prev', 'i'), (18, PAD + 2, 0, 1, 1, 'play', 'i'), (19, PAD + 3, 0, 1, 1, 'next', 'i'),
    # number row
    (21, MAIN + 0, 1, 1, 1, '~\n`', ''),
    (22, MAIN + 1, 1, 1, 1, '!\n1', ''), (23, MAIN + 2, 1, 1, 1, '@\n2', ''), (24, MAIN + 3, 1, 1, 1, '#\n3', ''),
    (25, MAIN + 4, 1, 1, 1, '$\n4', ''), (26, MAIN + 5, 1, 1, 1, '%\n5', ''), (27, MAIN + 6, 1, 1, 1, '^\n6', ''),
    (28, MAIN + 7, 1, 1, 1, '&\n7', ''), (29, MAIN + 8, 1, 1, 1, '*\n8', ''), (30, MAIN + 9, 1, 1, 1, '(\n9', ''),
    (31, MAIN + 10, 1, 1, 1, ')\n0', ''), (32, MAIN + 11, 1, 1, 1, '_\n-', ''), (33, MAIN + 12, 1, 1, 1, '+\n=', ''),
    (101, MAIN + 13, 1, 1, 1, '¥', ''), (34, MAIN + 14, 1, 1, 1, 'Bksp', 'm'),
    (35, NAV + 0, 1, 1, 1, 'Ins', 'w'), (36, NAV + 1, 1, 1, 1, 'Home', 'w'), (37, NAV + 2, 1, 1, 1, 'PgUp', 'w'),
    (38, PAD + 0, 1, 1, 1, 'Num', 'w'), (39, PAD + 1, 1, 1, 1, '/', ''), (40, PAD + 2, 1, 1, 1, '*', ''),
    (41, PAD + 3, 1, 1, 1, '−', ''),
    # Tab row
    (42, MAIN + 0, 2, 1.5, 1, 'Tab', 'm'),
    (43, MAIN + 1.5, 2, 1, 1, 'Q', ''), (44, MAIN + 2.5, 2, 1, 1, 'W', ''), (45, MAIN + 3.5, 2, 1, 1, 'E', ''),
    (46, MAIN + 4.5, 2, 1, 1, 'R', ''), (47, MAIN + 5.5, 2, 1, 1, 'T', ''), (48, MAIN + 6.5, 2, 1, 1, 'Y', ''),
    (49, MAIN + 7.5, 2, 1, 1, 'U', ''), (50, MAIN + 8.5, 2, 1, 1, 'I', ''), (51, MAIN + 9.5, 2, 1, 1, 'O', ''),
    (52, MAIN + 10.5, 2, 1, 1, 'P', ''), (53, MAIN + 11.5, 2, 1, 1, '{\n[', ''), (54, MAIN + 12.5, 2, 1, 1, '}\n]', ''),
    (55, MAIN + 13.5, 2, 1.5, 1, '|\n\\', ''),
    (56, NAV + 0, 2, 1, 1, 'Del', 'w'), (57, NAV + 1, 2, 1, 1, 'End', 'w'), (58, NAV + 2, 2, 1, 1, 'PgDn', 'w'),
    (59, PAD + 0, 2, 1, 1, '7', ''), (60, PAD + 1, 2, 1, 1, '8', ''), (61, PAD + 2, 2, 1, 1, '9', ''),
    (119, PAD + 3, 2, 1, 1, '+', ''),
    # Caps Lock row
    (63, MAIN + 0, 3, 1.75, 1, 'Caps', 'm'),
    (64, MAIN + 1.75, 3, 1, 1, 'A', ''), (65, MAIN + 2.75, 3, 1, 1, 'S', ''), (66, MAIN + 3.75, 3, 1, 1, 'D', ''),
    (67, MAIN + 4.75, 3, 1, 1, 'F', ''), (68, MAIN + 5.75, 3, 1, 1, 'G', ''), (69, MAIN + 6.75, 3, 1, 1, 'H', ''),
    (70, MAIN + 7.75, 3, 1, 1, 'J', ''), (71, MAIN + 8.75, 3, 1, 1, 'K', ''), (72, MAIN + 9.75, 3, 1, 1, 'L', ''),
    (73, MAIN + 10.75, 3, 1, 1, ':\n;', ''), (74, MAIN + 11.75, 3, 1, 1, "\"\n'", ''),
    (62, MAIN + 12.75, 3, 1, 1, '~\n#', ''), (75, MAIN + 13.75, 3, 1.25, 1, 'Enter', 'm'),
    (76, PAD + 0, 3, 1, 1, '4', ''), (77, PAD + 1, 3, 1, 1, '5', ''), (78, PAD + 2, 3, 1, 1, '6', ''),
    (103, PAD + 3, 3, 1, 1, ',', ''),
    # Shift row
    (84, MAIN + 0, 4, 1.25, 1, 'Shift', 'm'), (102, MAIN + 1.25, 4, 1, 1, '|\n\\', ''),
    (85, MAIN + 2.25, 4, 1, 1, 'Z', ''), (86, MAIN + 3.25, 4, 1, 1, 'X', ''), (87, MAIN + 4.25, 4, 1, 1, 'C', ''),
    (88, MAIN + 5.25, 4, 1, 1, 'V', ''), (89, MAIN + 6.25, 4, 1, 1, 'B', ''), (90, MAIN + 7.25, 4, 1, 1, 'N', ''),
    (91, MAIN + 8.25, 4, 1, 1, 'M', ''), (92, MAIN + 9.25, 4, 1, 1, '<\n,', ''), (93, MAIN + 10.25, 4, 1, 1, '>\n.', ''),
    (94, MAIN + 11.25, 4, 1, 1, '?\n/', ''), (100, MAIN + 12.25, 4, 1, 1, 'Ro', 'w'),
    (95, MAIN + 13.25, 4, 1.75, 1, 'Shift', 'm'),
    (96, NAV + 1, 4, 1, 1, '↑', ''),
    (97, PAD + 0, 4, 1, 1, '1', ''), (98, PAD + 1, 4, 1, 1, '2', ''), (99, PAD + 2, 4, 1, 1, '3', ''),
    (118, PAD + 3, 4, 1, 2, 'Enter', 'w'),
    # bottom row
    (105, MAIN + 0, 5, 1.25, 1, 'Ctrl', 'm'), (106, MAIN + 1.25, 5, 1, 1, 'Win', 'm'),
    (107, MAIN + 2.25, 5, 1, 1, 'Alt', 'm'), (80, MAIN + 3.25, 5, 1.25, 1, 'Muhen', 'm'),
    (82, MAIN + 4.5, 5, 1, 1, 'Hanja', 'm'), (108, MAIN + 5.5, 5, 2, 1, '', 'm'),
    (81, MAIN + 7.5, 5, 1, 1, 'Han/Y', 'm'), (79, MAIN + 8.5, 5, 1.25, 1, 'Henkan', 'm'),
    (83, MAIN + 9.75, 5, 1, 1, 'Kana', 'm'), (109, MAIN + 10.75, 5, 1, 1, 'Alt', 'm'),
    (110, MAIN + 11.75, 5, 1, 1, 'Fn', 'a'), (111, MAIN + 12.75, 5, 1, 1, 'Menu', 'm'),
    (112, MAIN + 13.75, 5, 1.25, 1, 'Ctrl', 'm'),
    (113, NAV + 0, 5, 1, 1, '←', ''), (114, NAV + 1, 5, 1, 1, '↓', ''), (115, NAV + 2, 5, 1, 1, '→', ''),
    (116, PAD + 0, 5, 2, 1, '0', ''), (117, PAD + 2, 5, 1, 1, '.', ''),
    # macro keys
    (120, 0, 1, 1, 1, 'M1', 'a'), (121, 0, 2, 1, 1, 'M2', 'a'), (122, 0, 3, 1, 1, 'M3', 'a'),
    (123, 0, 4, 1, 1, 'M4', 'a'), (124, 0, 5, 1, 1, 'M5', 'a'),
]

# Logical keys without a key: the layout's empty positions (factory code 20.00.00) and the unused
# last position (00.00.00).
KEYBOARD_NO_KEY = (16, 20, 104, 125)

# The key's name (the caption of its row in the key table), by HID usage for plain keys.
USAGE_NAMES = {
    0x28: 'Enter', 0x29: 'Esc', 0x2A: 'BackSpace', 0x2B: 'Tab', 0x2C: 'Space', 0x2D: '-', 0x2E: '=',
    0x2F: '[', 0x30: ']', 0x31: 'xiegang', 0x32: 'K42', 0x33: ';', 0x34: "'", 0x35: '`', 0x36: '<',
    0x37: '.', 0x38: '/', 0x39: 'Caplk', 0x46: 'Print Scr', 0x47: 'Scroll Lock', 0x48: 'Pause',
    0x49: 'Insert', 0x4A: 'Home', 0x4B: 'Page Up', 0x4C: 'Delete', 0x4D: 'End', 0x4E: 'Page Down',
    0x4F: 'Right', 0x50: 'Left', 0x51: 'Down', 0x52: 'Up', 0x53: 'Num Lock', 0x54: 'Num /',
    0x55: 'Num *', 0x56: 'Num -', 0x57: 'Num +', 0x58: 'Num Enter', 0x62: 'Num 0', 0x63: 'Decimal',
    0x64: 'K45', 0x65: 'App', 0x85: 'K107', 0x87: 'K56', 0x88: 'K133', 0x89: 'K14', 0x8A: 'K132',
    0x8B: 'K131', 0x90: 'K151', 0x91: 'K150',
}
for _i in range(26):
    USAGE_NAMES[0x04 + _i] = chr(ord('A') + _i)
for _i in range(9):
    USAGE_NAMES[0x1E + _i] = str(_i + 1)
    USAGE_NAMES[0x59 + _i] = f'Num {_i + 1}'
USAGE_NAMES[0x27] = '0'
for _i in range(12):
    USAGE_NAMES[0x3A + _i] = f'F{_i + 1}'

# The factory codes of the logical keys, as the firmware's key identity table gives them.
_USAGE_ROWS = [
    (0, [0x29, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48]),
    (21, [0x35, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x2D, 0x2E, 0x2A, 0x49, 0x4A,
          0x4B, 0x53, 0x54, 0x55, 0x56]),
    (42, [0x2B, 0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12, 0x13, 0x2F, 0x30, 0x31, 0x4C, 0x4D,
          0x4E, 0x5F, 0x60, 0x61, 0x32]),
    (63, [0x39, 0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x0F, 0x33, 0x34, 0x28, 0x5C, 0x5D, 0x5E,
          0x8A, 0x8B, 0x90, 0x91, 0x88]),
    (85, [0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36, 0x37, 0x38]),
    (96, [0x52, 0x59, 0x5A, 0x5B, 0x87, 0x89, 0x64, 0x85]),
    (108, [0x2C]), (111, [0x65]),
    (113, [0x50, 0x51, 0x4F, 0x62, 0x63, 0x58, 0x57]),
]
KEY_NAMES = {}
for _first, _usages in _USAGE_ROWS:
    for _i, _u in enumerate(_usages):
        KEY_NAMES[_first + _i] = USAGE_NAMES[_u]
KEY_NAMES.update({17: 'Media Prev Track', 18: 'Media Play Pause', 19: 'Media Next Track',
                  84: 'LShift', 95: 'RShift', 105: 'LCtrl', 106: 'LWin', 107: 'LAlt', 109: 'RAlt',
                  110: 'FN', 112: 'RCtrl', 120: 'M1', 121: 'M2', 122: 'M3', 123: 'M4', 124: 'M5'})


def key_rect(col, row, w, h):
    x = KX + col * U
    y = KY + ROWS[row] * U
    return x, y, w * U, (ROWS[row + h - 1] - ROWS[row] + 1) * U if h > 1 else U


def media_icon(kind, cx, cy, colour):
    t = []
    if kind == 'prev':
        t.append(f"<rect x='{fmt(cx - 5.5)}' y='{fmt(cy - 3.5)}' width='1.4' height='7' fill='{colour}'/>")
        t.append(f"<path d='M{fmt(cx - 4)},{fmt(cy)} L{fmt(cx + 0.5)},{fmt(cy - 3.5)} V{fmt(cy + 3.5)} Z "
                 f"M{fmt(cx)},{fmt(cy)} L{fmt(cx + 4.5)},{fmt(cy - 3.5)} V{fmt(cy + 3.5)} Z' fill='{colour}'/>")
    elif kind == 'next':
        t.append(f"<rect x='{fmt(cx + 4.1)}' y='{fmt(cy - 3.5)}' width='1.4' height='7' fill='{colour}'/>")
        t.append(f"<path d='M{fmt(cx + 4)},{fmt(cy)} L{fmt(cx - 0.5)},{fmt(cy - 3.5)} V{fmt(cy + 3.5)} Z "
                 f"M{fmt(cx)},{fmt(cy)} L{fmt(cx - 4.5)},{fmt(cy - 3.5)} V{fmt(cy + 3.5)} Z' fill='{colour}'/>")
    else:
        t.append(f"<path d='M{fmt(cx - 5)},{fmt(cy - 3.5)} L{fmt(cx)},{fmt(cy)} L{fmt(cx - 5)},{fmt(cy + 3.5)} Z' "
                 f"fill='{colour}'/>")
        t.append(f"<rect x='{fmt(cx + 1.5)}' y='{fmt(cy - 3.5)}' width='1.4' height='7' fill='{colour}'/>")
        t.append(f"<rect x='{fmt(cx + 4)}' y='{fmt(cy - 3.5)}' width='1.4' height='7' fill='{colour}'/>")
    return ''.join(t)


def keycap(logical, x, y, w, h, legend, style):
    """A key cap in cell (x, y, w, h): skirt (named after the key), top face, legend."""
    o = []
    top_fill = 'url(#capTopMod)' if style in ('m', 'w') and legend not in ('Num',) else 'url(#capTop)'
    o.append(f"<rect id='key_{logical}' x='{fmt(x + 1.5)}' y='{fmt(y + 1.5)}' width='{fmt(w - 3)}' height='{fmt(h - 3)}' rx='3.5' "
             f"fill='url(#capSkirt)' stroke='#0B0D11' stroke-width='0.6'/>")
    o.append(f"<rect x='{fmt(x + 3.5)}' y='{fmt(y + 2.5)}' width='{fmt(w - 7)}' height='{fmt(h - 7.5)}' rx='2.5' "
             f"fill='{top_fill}'/>")
    cx, cy = x + w / 2, y + (h - 4) / 2 + 1.5
    colour = ACCENT if style == 'a' else TEXT
    if style == 'i':
        o.append(media_icon(legend, cx, cy, colour))
    elif '\n' in legend:
        top, bottom = legend.split('\n', 1)
        o.append(f"<text x='{fmt(cx)}' y='{fmt(cy - 1.2)}' {FONT} font-size='7.5' fill='#A3ABBB' "
                 f"text-anchor='middle'>{esc(top)}</text>")
        o.append(f"<text x='{fmt(cx)}' y='{fmt(cy + 7)}' {FONT} font-size='8.5' font-weight='500' fill='{colour}' "
                 f"text-anchor='middle'>{esc(bottom)}</text>")
    elif legend:
        size = 9 if len(legend) == 1 else (7 if len(legend) <= 3 else 6.2)
        if style == 'a':
            size = 7.5
        o.append(f"<text x='{fmt(cx)}' y='{fmt(cy + size * 0.36)}' {FONT} font-size='{fmt(size)}' font-weight='500' "
                 f"fill='{colour}' text-anchor='middle'>{esc(legend)}</text>")
    return ''.join(o) + '\n'


def esc(s):
    return s.replace('&', '&amp;').replace('<', '&lt;').replace('>', '&gt;').replace("'", '&apos;').replace('"', '&quot;')


def keyboard():
    case = (KX - 10, 2, 23.75 * U + 20, 206)
    body = []
    defs = (
        "<linearGradient id='case' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#22262E'/>"
        "<stop offset='1' stop-color='#181B21'/></linearGradient>"
        "<linearGradient id='capSkirt' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#1D2128'/>"
        "<stop offset='1' stop-color='#15181D'/></linearGradient>"
        "<linearGradient id='capTop' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#2E343E'/>"
        "<stop offset='1' stop-color='#272C35'/></linearGradient>"
        "<linearGradient id='capTopMod' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#262B33'/>"
        "<stop offset='1' stop-color='#20242B'/></linearGradient>"
        "<linearGradient id='diffuser' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#363D4A'/>"
        "<stop offset='1' stop-color='#262B34'/></linearGradient>")
    cx, cy, cw, ch = case
    body.append(f"<rect x='{fmt(cx)}' y='{fmt(cy)}' width='{fmt(cw)}' height='{fmt(ch)}' rx='11' fill='url(#case)' "
                f"stroke='#2E3440' stroke-width='1'/>\n")
    # Plates: the recess each block of keys sits in.
    for first, last, rows in ((0, 1, (1, 5)), (MAIN, MAIN + 15, (0, 5)), (NAV, NAV + 3, (0, 5)), (PAD, PAD + 4, (0, 5))):
        x0, y0 = KX + first * U - 2, KY + ROWS[rows[0]] * U - 2
        x1, y1 = KX + last * U + 2, KY + (ROWS[rows[1]] + 1) * U + 2
        body.append(f"<rect x='{fmt(x0)}' y='{fmt(y0)}' width='{fmt(x1 - x0)}' height='{fmt(y1 - y0)}' rx='4' "
                    f"fill='#0E1014'/>\n")
    buttons = []
    for logical, col, row, w, h, legend, style in KEYBOARD_KEYS:
        x, y, kw, kh = key_rect(col, row, w, h)
        body.append(keycap(logical, x, y, kw, kh, legend, style))
        buttons.append(Button(f'key_{logical}', (x + 1, y + 1, kw - 2, kh - 2), 'keyboard_key_' + KEY_NAMES[logical],
                              light="file='common/device/key_light.svg' corner='7,7,7,7'",
                              hot="file='common/device/key_hot.svg' corner='7,7,7,7'", keyset=True))
    # Logo: a winged badge of 15 segments, left to right, in the top bezel.
    extras = []
    mid = W / 2
    top = 5.5
    segs = []
    segs.append(('c', [(mid - 10, top + 7), (mid - 5, top + 1), (mid + 5, top + 1), (mid + 10, top + 7),
                       (mid + 5, top + 13), (mid - 5, top + 13)]))
    for i in range(7):   # inner to outer, both wings
        x_in = 13 + i * 11.5
        x_out = x_in + 9
        dy_in, dy_out = 1 + i * 0.45, 1 + (i + 1) * 0.45
        for sign in (-1, 1):
            pts = [(mid + sign * x_in, top + dy_in), (mid + sign * x_out, top + dy_out),
                   (mid + sign * (x_out - 3), top + 13 - dy_out), (mid + sign * (x_in - 3), top + 13 - dy_in)]
            segs.append((('l' if sign < 0 else 'r') + str(i), pts))
    ordered = [s for s in segs if s[0].startswith('l')][::-1] + [segs[0]] + [s for s in segs if s[0].startswith('r')]
    for n, (_, pts) in enumerate(ordered):
        d = polyline(pts) + ' Z'
        body.append(f"<path d='{d}' fill='url(#diffuser)' stroke='#12151A' stroke-width='0.6'/>\n")
        rect = bbox(pts, 1)
        extras.append(Button(f'logo_light_{n}', rect, 'logo_light_text',
                             light=light_image('keyboard', f'logo_{n}', f"<path d='{d}' fill='#FFFFFF'/>"),
                             cursor=False))
    # Light strip: six segments along the front edge.
    sx0, sx1, sy = cx + 24, cx + cw - 24, cy + ch - 6.5
    seg_w = (sx1 - sx0 - 5 * 6) / 6
    for n in range(6):
        x = sx0 + n * (seg_w + 6)
        d = rounded_rect_path(x, sy - 1.5, seg_w, 3, 1.5)
        body.append(f"<path d='{d}' fill='url(#diffuser)'/>\n")
        rect = (math.floor(x), math.floor(sy - 4.5), math.ceil(seg_w), 9)
        extras.append(Button(f'strip_light_{n}', rect, 'strip_light_text',
                             light=light_image('keyboard', f'strip_{n}', f"<path d='{d}' fill='#FFFFFF'/>"),
                             cursor=False))
    write(os.path.join(DEVICE_DIR, 'keyboard.svg'), svg(W, H, f'<defs>{defs}</defs>\n' + ''.join(body)))
    return buttons, extras


# ---------------------------------------------------------------------------------------------------
# Mouse: seen from above (left and right button, wheel, DPI up / down and cycle behind the wheel, six
# light zones around the palm) and from its left side (the two thumb buttons).

TX = 270          # centre line of the top view
MOUSE_TOP = 8


def mouse_outline(scale=1.0, about=(TX, 125)):
    """The shell's outline as cubic segments, right half mirrored, scaled about a point."""
    half = [((0, 8), (44, 8), (53, 32), (54, 70)),
            ((54, 70), (55, 110), (60, 150), (55, 176)),
            ((55, 176), (50, 198), (26, 202), (0, 202))]
    ax, ay = about
    segs = []
    for seg in half:
        segs.append([(TX + (px) * scale, ay + (py - ay) * scale) for px, py in seg])
    left = [[(2 * TX - px, py) for px, py in reversed(seg)] for seg in reversed(segs)]
    return segs, left


def bezier_points(segs, steps=40):
    pts = []
    for p0, p1, p2, p3 in segs:
        for i in range(steps + 1):
            t = i / steps
            a, b, c, d = (1 - t) ** 3, 3 * (1 - t) ** 2 * t, 3 * (1 - t) * t ** 2, t ** 3
            pts.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0], a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return pts


def path_of(segs_right, segs_left):
    s = segs_right
    d = f'M{fmt(s[0][0][0])},{fmt(s[0][0][1])} '
    for seg in s + segs_left:
        d += 'C' + ' '.join(f'{fmt(px)},{fmt(py)}' for px, py in seg[1:]) + ' '
    return d + 'Z'


def mouse_button_outline(sign, spine, split):
    """The outline of the left (sign -1) or right (+1) button: the shell in front of `split`, outside
    the spine."""
    right, _ = mouse_outline()
    pts = [p for p in bezier_points(right, 60) if p[0] >= TX + spine and p[1] <= split]
    pts = [(TX + spine, pts[0][1])] + pts + [(TX + spine, split)]
    if sign < 0:
        pts = [(2 * TX - x, y) for x, y in pts]
    return pts


def mouse():
    right, left = mouse_outline()
    shell = path_of(right, left)
    defs = (
        "<linearGradient id='shell' x1='0' y1='0' x2='1' y2='1'><stop offset='0' stop-color='#272C35'/>"
        "<stop offset='1' stop-color='#1A1D23'/></linearGradient>"
        "<linearGradient id='btn' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#2D333D'/>"
        "<stop offset='1' stop-color='#242931'/></linearGradient>"
        "<linearGradient id='wheel' x1='0' y1='0' x2='1' y2='0'><stop offset='0' stop-color='#1A1D23'/>"
        "<stop offset='0.5' stop-color='#3A414D'/><stop offset='1' stop-color='#1A1D23'/></linearGradient>"
        "<linearGradient id='diffuser' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#4A5262'/>"
        "<stop offset='1' stop-color='#3A414E'/></linearGradient>")
    body = [f"<path d='{shell}' fill='url(#shell)' stroke='#343B47' stroke-width='1.2'/>\n"]
    buttons = []

    # Main buttons: the shell in front of y 96, either side of the spine.
    split, spine = 96, 12
    for logical, sign, name in ((0, -1, 'left'), (1, 1, 'right')):
        pts = mouse_button_outline(sign, spine, split)
        d = polyline(pts) + ' Z'
        body.append(f"<path d='{d}' fill='url(#btn)' stroke='#121418' stroke-width='1.2'/>\n")
        rect = bbox(pts, -1)
        hot = hot_image('mouse', name, f"<path d='{d}' fill='{ACCENT}' fill-opacity='0.16' stroke='{ACCENT}' "
                        f"stroke-width='2.5'/>")
        buttons.append(Button(f'key_{logical}', rect, MOUSE_NAMES[logical], hot=hot))
    # Spine between the buttons, wheel, DPI buttons.
    body.append(f"<rect x='{TX - spine + 2}' y='{MOUSE_TOP + 13}' width='{2 * spine - 4}' height='{split + 34 - MOUSE_TOP - 13}' "
                f"rx='8' fill='#15181D'/>\n")
    wheel = (TX - 7, 26, 14, 40)
    body.append(f"<rect x='{wheel[0]}' y='{wheel[1]}' width='{wheel[2]}' height='{wheel[3]}' rx='6' fill='url(#wheel)' "
                f"stroke='#0E1014' stroke-width='1'/>\n")
    for i in range(9):
        y = wheel[1] + 5 + i * 3.8
        body.append(f"<line x1='{TX - 5}' y1='{fmt(y)}' x2='{TX + 5}' y2='{fmt(y)}' stroke='#14171C' stroke-width='1'/>\n")
    small = [(2, wheel, 6, 'middle'),
             (5, (TX - 7, 74, 14, 12), 4, 'dpi_up'),
             (6, (TX - 7, 89, 14, 12), 4, 'dpi_down'),
             (7, (TX - 7, 108, 14, 14), 7, 'dpi_cycle')]
    for logical, (x, y, w, h), r, name in small:
        if logical != 2:
            body.append(f"<rect x='{x}' y='{y}' width='{w}' height='{h}' rx='{r}' fill='url(#btn)' stroke='#0E1014' "
                        f"stroke-width='1'/>\n")
        if name in ('dpi_up', 'dpi_down'):
            body.append(f"<path d='M{TX - 3},{fmt(y + h / 2)} H{TX + 3}" + (f" M{TX},{fmt(y + h / 2 - 3)} V{fmt(y + h / 2 + 3)}"
                        if name == 'dpi_up' else '') + f"' stroke='{MUTED}' stroke-width='1.2'/>\n")
        if name == 'dpi_cycle':
            body.append(f"<circle cx='{TX}' cy='{y + h / 2}' r='3' fill='none' stroke='{MUTED}' stroke-width='1'/>\n")
        rect = (x - 1, y - 1, w + 2, h + 2) if logical != 2 else (x - 3, y - 3, w + 6, h + 6)
        hot = hot_image('mouse', name, f"<rect x='{x - 0.5}' y='{y - 0.5}' width='{w + 1}' height='{h + 1}' "
                        f"rx='{r}' fill='{ACCENT}' fill-opacity='0.2' stroke='{ACCENT}' stroke-width='1.5'/>")
        buttons.append(Button(f'key_{logical}', rect, MOUSE_NAMES[logical], hot=hot))
    # Palm emblem.
    body.append(f"<path d='M{TX - 9},152 L{TX},164 L{TX + 9},152 L{TX + 5},152 L{TX},158 L{TX - 5},152 Z' "
                f"fill='#3A414D'/>\n")

    # Light zones: a horseshoe inside the shell's edge, from the left front round the tail to the
    # right front (the order the zones light in).
    lights = []
    ring_right, _ = mouse_outline(0.9, (TX, 125))
    half = bezier_points(ring_right, 120)
    pts = half + [(2 * TX - x, y) for x, y in half]
    centre = (TX, 122)

    def angle(p):
        a = math.degrees(math.atan2(p[1] - centre[1], p[0] - centre[0]))
        return a if a >= -60 else a + 360

    start, end = 204.0, -24.0
    step = (start - end) / 6
    for n in range(6):
        hi, lo = start - n * step - 3, start - (n + 1) * step + 3
        seg = sorted([p for p in pts if lo <= angle(p) <= hi], key=lambda p: -angle(p))
        d = polyline(seg)
        body.append(f"<path d='{d}' fill='none' stroke='url(#diffuser)' stroke-width='4' stroke-linecap='round'/>\n")
        rect = bbox(seg, 5)
        light = light_image('mouse', f'zone_{n}', f"<path d='{d}' fill='none' stroke='#FFFFFF' stroke-width='5' "
                            f"stroke-linecap='round'/>")
        hot = hot_image('mouse', f'zone_{n}', f"<path d='{d}' fill='none' stroke='{ACCENT}' stroke-opacity='0.7' "
                        f"stroke-width='7' stroke-linecap='round'/>")
        lights.append(Button(f'light_{n}', rect, f'ms_light_zone_{n}', light=light, hot=hot))

    # Left side view: front to the left, the thumb buttons on the flank.
    sx, base = 390, 178
    side = (f'M{sx},{base} C{sx - 6},{base - 14} {sx - 2},{base - 34} {sx + 14},{base - 44} '
            f'C{sx + 60},{base - 72} {sx + 130},{base - 78} {sx + 178},{base - 52} '
            f'C{sx + 204},{base - 38} {sx + 206},{base - 10} {sx + 192},{base} Z')
    body.append(f"<path d='{side}' fill='url(#shell)' stroke='#343B47' stroke-width='1.2'/>\n")
    # Seam of the main button, thumb rest, and the feet.
    body.append(f"<path d='M{sx + 6},{base - 38} C{sx + 36},{base - 56} {sx + 70},{base - 63} {sx + 100},{base - 64}' "
                f"fill='none' stroke='#121418' stroke-width='1.5'/>\n")
    body.append(f"<path d='M{sx + 26},{base - 10} C{sx + 70},{base - 20} {sx + 130},{base - 20} {sx + 178},{base - 10}' "
                f"fill='none' stroke='#15181D' stroke-width='5' stroke-linecap='round'/>\n")
    body.append(f"<rect x='{sx + 6}' y='{base}' width='{184}' height='4' rx='2' fill='#0E1014'/>\n")
    for logical, x, name in ((3, sx + 46, 'forward'), (4, sx + 88, 'back')):
        y, w, h = base - 40, 36, 14
        body.append(f"<rect x='{x}' y='{y}' width='{w}' height='{h}' rx='7' fill='url(#btn)' stroke='#0E1014' "
                    f"stroke-width='1'/>\n")
        rect = (x - 3, y - 3, w + 6, h + 6)
        hot = hot_image('mouse', name, f"<rect x='{x - 0.5}' y='{y - 0.5}' width='{w + 1}' height='{h + 1}' rx='7' "
                        f"fill='{ACCENT}' fill-opacity='0.2' stroke='{ACCENT}' stroke-width='1.5'/>")
        buttons.append(Button(f'key_{logical}', rect, MOUSE_NAMES[logical], hot=hot))
    write(os.path.join(DEVICE_DIR, 'mouse.svg'), svg(W, H, f'<defs>{defs}</defs>\n' + ''.join(body)))
    return sorted(buttons, key=lambda b: int(b.name.split('_')[1])) + lights


MOUSE_NAMES = ['mouse_key_left', 'mouse_key_right', 'mouse_key_middle', 'mouse_key_forward', 'mouse_key_back',
               'mouse_key_DPI_add', 'mouse_key_DPI_sub', 'mouse_key_DPI_loop']


# ---------------------------------------------------------------------------------------------------
# Mouse pad: a desk mat with a light strip round its edge (14 segments, counted from the hub towards
# the left and round) and the hub at the top centre (light 0).

def rounded_rect_points(x, y, w, h, r, step=2.0):
    """Points along a rounded rectangle, starting at the top centre and running to the left
    (counter-clockwise on screen)."""
    pts = []

    def line(p, q):
        n = max(1, int(math.dist(p, q) / step))
        for i in range(n):
            t = i / n
            pts.append((p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t))

    def arc(cx, cy, a0, a1):
        n = max(2, int(abs(a1 - a0) * math.pi / 180 * r / step))
        for i in range(n):
            a = math.radians(a0 + (a1 - a0) * i / n)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))

    mx = x + w / 2
    line((mx, y), (x + r, y))
    arc(x + r, y + r, 270, 180)
    line((x, y + r), (x, y + h - r))
    arc(x + r, y + h - r, 180, 90)
    line((x + r, y + h), (x + w - r, y + h))
    arc(x + w - r, y + h - r, 90, 0)
    line((x + w, y + h - r), (x + w, y + r))
    arc(x + w - r, y + r, 0, -90)
    line((x + w - r, y), (mx, y))
    pts.append((mx, y))
    return pts


def split_by_length(pts, skip, count, gap):
    """Cuts a point run into `count` pieces of equal length, leaving `skip` at both ends and `gap`
    between pieces."""
    lengths = [0.0]
    for p, q in zip(pts, pts[1:]):
        lengths.append(lengths[-1] + math.dist(p, q))
    total = lengths[-1] - 2 * skip
    piece = (total - (count - 1) * gap) / count
    out = []
    for n in range(count):
        a = skip + n * (piece + gap)
        b = a + piece
        out.append([p for p, s in zip(pts, lengths) if a <= s <= b])
    return out


def mousepad():
    px, py, pw, ph = 110, 22, 580, 180
    defs = (
        "<linearGradient id='surface' x1='0' y1='0' x2='1' y2='1'><stop offset='0' stop-color='#1D2027'/>"
        "<stop offset='1' stop-color='#16181D'/></linearGradient>"
        "<linearGradient id='diffuser' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#363D4A'/>"
        "<stop offset='1' stop-color='#262B34'/></linearGradient>"
        "<linearGradient id='hub' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#2A2F38'/>"
        "<stop offset='1' stop-color='#1C1F25'/></linearGradient>")
    body = []
    body.append(f"<rect x='{px}' y='{py}' width='{pw}' height='{ph}' rx='16' fill='#0F1115' stroke='#2E3440' "
                f"stroke-width='1'/>\n")
    body.append(f"<rect x='{px + 12}' y='{py + 12}' width='{pw - 24}' height='{ph - 24}' rx='8' fill='url(#surface)'/>\n")
    body.append(f"<text x='{px + pw - 26}' y='{py + ph - 24}' {FONT} font-size='13' font-weight='600' fill='#262B34' "
                f"text-anchor='end'>ZRV-31</text>\n")
    # Cable and hub.
    body.append(f"<path d='M400,0 V10' stroke='#0F1115' stroke-width='6'/>\n")
    hub = (366, 8, 68, 22)
    body.append(f"<rect x='{hub[0]}' y='{hub[1]}' width='{hub[2]}' height='{hub[3]}' rx='6' fill='url(#hub)' "
                f"stroke='#2E3440' stroke-width='1'/>\n")
    lights = []
    hub_bar = rounded_rect_path(382, 17, 36, 4, 2)
    body.append(f"<path d='{hub_bar}' fill='url(#diffuser)'/>\n")
    rect = (hub[0] + 2, hub[1] + 2, hub[2] - 4, hub[3] - 4)
    lights.append(Button('light_0', rect, 'mp_hub_light_text',
                         light=light_image('mousepad', 'hub', f"<path d='{hub_bar}' fill='#FFFFFF'/>"),
                         hot=hot_image('mousepad', 'hub', f"<rect x='{hub[0] + 0.5}' y='{hub[1] + 0.5}' "
                                        f"width='{hub[2] - 1}' height='{hub[3] - 1}' rx='6' fill='{ACCENT}' "
                                        f"fill-opacity='0.15' stroke='{ACCENT}' stroke-width='1.5'/>")))
    # Edge strip, 14 segments from the hub's left round to its right.
    strip = rounded_rect_points(px + 6, py + 6, pw - 12, ph - 12, 10)
    pieces = split_by_length(strip, 38, 14, 7)
    for n, seg in enumerate(pieces, start=1):
        d = polyline(seg)
        body.append(f"<path d='{d}' fill='none' stroke='url(#diffuser)' stroke-width='3.5' stroke-linecap='round'/>\n")
        rect = bbox(seg, 7)
        lights.append(Button(f'light_{n}', rect, f'led_position_{n}',
                             light=light_image('mousepad', f'edge_{n}',
                                               f"<path d='{d}' fill='none' stroke='#FFFFFF' stroke-width='4.5' "
                                               f"stroke-linecap='round'/>"),
                             hot=hot_image('mousepad', f'edge_{n}',
                                            f"<path d='{d}' fill='none' stroke='{ACCENT}' stroke-opacity='0.7' "
                                            f"stroke-width='8' stroke-linecap='round'/>")))
    write(os.path.join(DEVICE_DIR, 'mousepad.svg'), svg(W, H, f'<defs>{defs}</defs>\n' + ''.join(body)))
    return lights


# ---------------------------------------------------------------------------------------------------
# Headset: the left ear cup from the side with its ring of 12 lights (clockwise from the top) and the
# lit logo in its centre (light 12), the headband above and the microphone boom to the front.

def headset():
    cx, cy = 400, 126
    defs = (
        "<radialGradient id='cup' cx='0.4' cy='0.35' r='0.75'><stop offset='0' stop-color='#2A2F38'/>"
        "<stop offset='1' stop-color='#16181D'/></radialGradient>"
        "<linearGradient id='band' x1='0' y1='0' x2='1' y2='0'><stop offset='0' stop-color='#1B1E24'/>"
        "<stop offset='0.5' stop-color='#2A2F38'/><stop offset='1' stop-color='#1B1E24'/></linearGradient>"
        "<linearGradient id='diffuser' x1='0' y1='0' x2='0' y2='1'><stop offset='0' stop-color='#363D4A'/>"
        "<stop offset='1' stop-color='#262B34'/></linearGradient>")
    body = []
    # Headband and yoke.
    body.append(f"<path d='M{cx - 16},0 L{cx - 14},34 L{cx + 14},34 L{cx + 16},0 Z' fill='url(#band)' stroke='#2E3440'/>\n")
    body.append(f"<path d='M{cx - 12},34 V40 M{cx + 12},34 V40' stroke='#3A414D' stroke-width='3'/>\n")
    body.append(f"<path d='M{cx - 78},{cy - 6} C{cx - 80},{cy - 70} {cx - 50},{cy - 86} {cx},{cy - 86} "
                f"C{cx + 50},{cy - 86} {cx + 80},{cy - 70} {cx + 78},{cy - 6}' fill='none' stroke='#20242B' "
                f"stroke-width='7' stroke-linecap='round'/>\n")
    # Microphone boom, from the lower front of the cup.
    body.append(f"<path d='M{cx - 52},{cy + 46} C{cx - 100},{cy + 70} {cx - 150},{cy + 70} {cx - 190},{cy + 52}' "
                f"fill='none' stroke='#1E2229' stroke-width='6' stroke-linecap='round'/>\n")
    body.append(f"<rect x='{cx - 212}' y='{cy + 42}' width='26' height='16' rx='8' fill='#20242B' stroke='#2E3440' "
                f"transform='rotate(-18 {cx - 199} {cy + 50})'/>\n")
    # Cushion and cup.
    body.append(f"<circle cx='{cx}' cy='{cy}' r='82' fill='#111318' stroke='#2A2F38' stroke-width='1'/>\n")
    body.append(f"<circle cx='{cx}' cy='{cy}' r='74' fill='url(#cup)' stroke='#343B47' stroke-width='1.2'/>\n")
    body.append(f"<circle cx='{cx}' cy='{cy}' r='48' fill='#1A1D23' stroke='#0E1014' stroke-width='1'/>\n")
    lights = []
    ring_r = 61
    for n in range(12):
        a = -90 + n * 30
        a0, a1 = math.radians(a - 9), math.radians(a + 9)
        p0 = (cx + ring_r * math.cos(a0), cy + ring_r * math.sin(a0))
        p1 = (cx + ring_r * math.cos(a1), cy + ring_r * math.sin(a1))
        d = f'M{fmt(p0[0])},{fmt(p0[1])} A{ring_r},{ring_r} 0 0 1 {fmt(p1[0])},{fmt(p1[1])}'
        body.append(f"<path d='{d}' fill='none' stroke='url(#diffuser)' stroke-width='6'/>\n")
        mx, my = cx + ring_r * math.cos(math.radians(a)), cy + ring_r * math.sin(math.radians(a))
        rect = (round(mx - 11), round(my - 11), 22, 22)
        lights.append(Button(f'light_{n}', rect, f'led_position_{n + 1}',
                             light=light_image('headset', f'ring_{n}',
                                               f"<path d='{d}' fill='none' stroke='#FFFFFF' stroke-width='7'/>"),
                             hot=hot_image('headset', f'ring_{n}',
                                            f"<path d='{d}' fill='none' stroke='{ACCENT}' stroke-opacity='0.7' "
                                            f"stroke-width='10'/>")))
    logo = (f'M{cx - 20},{cy - 12} L{cx},{cy + 18} L{cx + 20},{cy - 12} L{cx + 11},{cy - 12} L{cx},{cy + 4} '
            f'L{cx - 11},{cy - 12} Z')
    body.append(f"<path d='{logo}' fill='url(#diffuser)'/>\n")
    rect = (cx - 24, cy - 20, 48, 44)
    lights.append(Button('light_12', rect, 'logo_light_text',
                         light=light_image('headset', 'logo', f"<path d='{logo}' fill='#FFFFFF'/>"),
                         hot=hot_image('headset', 'logo', f"<path d='{logo}' fill='{ACCENT}' fill-opacity='0.3' "
                                        f"stroke='{ACCENT}' stroke-width='1.5'/>")))
    write(os.path.join(DEVICE_DIR, 'headset.svg'), svg(W, H, f'<defs>{defs}</defs>\n' + ''.join(body)))
    return lights


# ---------------------------------------------------------------------------------------------------
# Shared key images and the layouts.

def key_images():
    # The key's light: a lit rim and a faint glow over the cap (white: the key colour tints it).
    write(os.path.join(DEVICE_DIR, 'key_light.svg'), svg(28, 28,
          "<rect x='1' y='1' width='26' height='26' rx='4.5' fill='#FFFFFF' fill-opacity='0.2' stroke='#FFFFFF' "
          "stroke-width='2'/>\n"))
    write(os.path.join(DEVICE_DIR, 'key_hot.svg'), svg(28, 28,
          f"<rect x='1' y='1' width='26' height='26' rx='4.5' fill='{ACCENT}' fill-opacity='0.14' stroke='{ACCENT}' "
          f"stroke-width='1.5'/>\n"))
    # The mark of a key whose function was changed.
    write(os.path.join(DEVICE_DIR, 'key_set.svg'), svg(7, 7,
          f"<circle cx='3.5' cy='3.5' r='3' fill='#F5A524' stroke='#0E1014' stroke-width='0.8'/>\n"))


PICTURE = re.compile(r'( *)<!-- picture: begin -->\n.*?<!-- picture: end -->\n', re.S)


def replace_picture(layout, text):
    path = os.path.join(SKIN, 'XML', 'DeviceXml', layout)
    with open(path, encoding='utf-8') as f:
        old = f.read()
    new, n = PICTURE.subn(lambda m: text, old)
    if n != 1:
        raise SystemExit(f'{path}: no picture markers')
    write(path, new)


def picture_block(container, image, panel, buttons, inner=None, extras=(), tail=''):
    i = '    '
    separate(list(buttons) + list(extras))
    out = [f'{i}<!-- picture: begin -->\n',
           f'{i}<!-- Written by docs/device_pictures.py together with the drawing: change it there. -->\n',
           f'''{i}<Container name="{container}" height="{H}" bkcolor="#FF15181E" '''
           f'''bkimage="file='common/device/{image}' dest='0,0,{W},{H}'">\n''',
           f'{i}  <SelectPanel name="{panel}">\n']
    ind = i + '    '
    if inner:
        out.append(f'{ind}<Container name="{inner}">\n')
        ind += '  '
    out += [b.xml(ind) for b in buttons]
    if inner:
        out.append(f'{i}    </Container>\n')
    out.append(f'{i}  </SelectPanel>\n')
    out += [b.xml(i + '  ') for b in extras]
    if tail:
        out.append(f'{i}  {tail}\n')
    out += [f'{i}</Container>\n', f'{i}<!-- picture: end -->\n']
    return ''.join(out)


def main():
    for folder in ('keyboard', 'mouse', 'mousepad', 'headset'):   # images of buttons that may be gone
        shutil.rmtree(os.path.join(DEVICE_DIR, folder), ignore_errors=True)
    key_images()
    keys, extras = keyboard()
    keys.sort(key=lambda b: int(b.name.split('_')[1]))
    replace_picture('keyboarddevice.xml', picture_block('keyboard_device_picture', 'keyboard.svg',
                                                        'keyboard_device_key_light_0', keys, extras=extras))
    # The key-information list fills the free space left of the drawing: rows of the button's name and
    # the caption of its assignment, made by the page as captions arrive.
    key_info = ('<List name="device_setkeyinfo_list" float="true" pos="12,14,204,204" '
                'vscrollbar="false"/>')
    replace_picture('mousedevice.xml', picture_block('mouse_device_picture', 'mouse.svg', 'mouse_device_key_light',
                                                     mouse(), tail=key_info))
    replace_picture('mousepaddevice.xml', picture_block('mousepad_device_picture', 'mousepad.svg',
                                                        'mousepad_device_select_panel', mousepad(),
                                                        inner='mousepad_device_key_light'))
    replace_picture('hs6533device.xml', picture_block('hs6533_device_picture', 'headset.svg',
                                                      'hs6533_device_select_panel', headset(),
                                                      inner='hs6533_device_key_light'))


if __name__ == '__main__':
    main()
