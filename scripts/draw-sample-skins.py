#!/usr/bin/env python3
"""Draws the two sample skins shipped in Kestrova's "Skins" folder, each a skin
file with its bitmaps, to show what a skin can do beside the built-in one:

    Steel   a wide strip of brushed metal with five previews in a row, round
            knobs on its two end bolsters and an amber read-out that names the
            button under the mouse (one label per button, all in one place);
    Lagoon  a tall drop of green glass with two previews cut round by masks,
            bubble buttons budding off its edges and a glass tag between the
            previews that names the button under the mouse.

Both have a manager part (background, preview, list bounds and colours, labels
and buttons) as well as a browser part.

    scripts/draw-sample-skins.py                writes src/resources/skins/<Name>/
    scripts/draw-sample-skins.py --mockup DIR   also writes DIR/<name>-browser.png,
                                                DIR/<name>-manager.png and the
                                                button states, three times enlarged

The skin file is written from the same tables the pictures are drawn from, so
positions and sizes always agree. Python 3 standard library only; the canvas,
shapes, font and writers come from draw-skin.py.
"""

import argparse
import importlib.util
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("draw_skin", os.path.join(HERE, "draw-skin.py"))
ds = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(ds)

from_hex = ds.hex_colour
SKINS_DIR = os.path.join(ds.RESOURCES, "skins")
STATES = ds.STATES  # "", "_h", "_d": at rest, mouse over, pressed

# ---------------------------------------------------------------------------
# Signs drawn on buttons: each takes its centre and gives a shape.


def triangle_sign(w, h, direction):
    """A filled triangle pointing "up", "down", "left" or "right"."""

    def sign(cx, cy):
        if direction in ("up", "down"):
            tip, base = (cy - h / 2, cy + h / 2) if direction == "up" else (cy + h / 2, cy - h / 2)
            pts = [(cx - w / 2, base), (cx + w / 2, base), (cx, tip)]
        else:
            tip, base = (cx - w / 2, cx + w / 2) if direction == "left" else (cx + w / 2, cx - w / 2)
            pts = [(base, cy - h / 2), (base, cy + h / 2), (tip, cy)]
        return ds.offset(ds.polygon(pts), 0.3)

    return sign


def double_triangle_sign(w, h, direction):
    """Two triangles in a row, the "skip" sign of players."""
    one = triangle_sign(w / 2, h, direction)
    return lambda cx, cy: ds.union(one(cx - w / 4, cy), one(cx + w / 4, cy))


def pause_sign(h, width=2.2, gap=2.4):
    return lambda cx, cy: ds.union(
        ds.rrect(cx - gap / 2 - width, cy - h / 2, cx - gap / 2, cy + h / 2, 0.4),
        ds.rrect(cx + gap / 2, cy - h / 2, cx + gap / 2 + width, cy + h / 2, 0.4),
    )


def lines_sign(w, rows=3, pitch=3.0, width=1.4):
    """Stacked strokes: the menu sign, and the list sign when rows are many."""

    def sign(cx, cy):
        top = cy - pitch * (rows - 1) / 2
        return ds.union(*[ds.segment(cx - w / 2, top + i * pitch, cx + w / 2, top + i * pitch, width) for i in range(rows)])

    return sign


def list_sign(w, rows=3, pitch=3.2):
    """Bullets and lines: the wallpaper list."""

    def sign(cx, cy):
        top = cy - pitch * (rows - 1) / 2
        parts = []
        for i in range(rows):
            y = top + i * pitch
            parts.append(ds.circle(cx - w / 2 + 0.9, y, 1.0))
            parts.append(ds.segment(cx - w / 2 + 3.4, y, cx + w / 2, y, 1.3))
        return ds.union(*parts)

    return sign


def gear_sign(r, teeth=8):
    """A cog: a ring with square teeth, for the settings."""

    def sign(cx, cy):
        parts = [ds.circle(cx, cy, r * 0.72)]
        for i in range(teeth):
            a = 2 * math.pi * i / teeth
            ca, sa = math.cos(a), math.sin(a)
            hw, r0, r1 = r * 0.2, r * 0.5, r
            pts = [(cx + ca * r0 - sa * hw, cy + sa * r0 + ca * hw), (cx + ca * r1 - sa * hw, cy + sa * r1 + ca * hw),
                   (cx + ca * r1 + sa * hw, cy + sa * r1 - ca * hw), (cx + ca * r0 + sa * hw, cy + sa * r0 - ca * hw)]
            parts.append(ds.polygon(pts))
        return ds.subtract(ds.union(*parts), ds.circle(cx, cy, r * 0.3))

    return sign


def dice_sign(s):
    """A die showing five: random choice."""

    def sign(cx, cy):
        face = ds.rrect(cx - s / 2, cy - s / 2, cx + s / 2, cy + s / 2, s * 0.22)
        pip = s * 0.11
        d = s * 0.24
        holes = ds.union(*[ds.circle(cx + dx * d, cy + dy * d, pip) for dx, dy in ((0, 0), (-1, -1), (1, -1), (-1, 1), (1, 1))])
        return ds.subtract(face, holes)

    return sign


def contrast_sign(r):
    """A ring with its right half filled: the look of the program (skins)."""

    def sign(cx, cy):
        ring = ds.ring(ds.circle(cx, cy, r), 1.3)
        half = ds.intersect(ds.circle(cx, cy, r), lambda x, y: cx - x)
        return ds.union(ring, half)

    return sign


def cross_sign(size, width=1.6):
    return ds.cross_sign(size, width)


def minus_sign(length, width=1.8):
    return ds.minus_sign(length, width)


# ---------------------------------------------------------------------------
# A skin's look: body fill, button faces in three states and glyph inks.


class Look:
    def __init__(self, name, body, outline, rim, well, accent, button, button_over, button_down, ink, ink_over,
                 ink_down, engraving, brushed=True):
        self.name = name
        self.body = body
        self.outline = outline
        self.rim = rim
        self.well = well
        self.accent = accent
        self.button = button
        self.button_over = button_over
        self.button_down = button_down
        self.ink = ink  # (ink, shadow rgba) at rest
        self.ink_over = ink_over
        self.ink_down = ink_down
        self.engraving = engraving  # colour of text cut into the body
        self.brushed = brushed

    def fill(self, y0, h, seed=1):
        if self.brushed:
            return ds.brushed(self.body, y0, h, 7.0, seed)
        return ds.vertical(self.body, y0, h)


def body(cv, shape, look, seed=1):
    """The window's face: hard cut-out edge, its fill, a bevel that lights the
    rim and a dark outline."""
    cv.paint(shape, look.fill(0, cv.h, seed), hard=True)
    if look.brushed:
        # a broad soft reflection across the metal
        cv.paint(shape, (255, 255, 255), lambda x, y: 0.18 * math.exp(-((y - cv.h * 0.3) / (cv.h * 0.18)) ** 2))
    else:
        ds.sheen(cv, ds.offset(shape, -3), 0, cv.h * 0.35, 0.22)
    ds.bevel(cv, shape, 5.0, 0.6)
    cv.paint(ds.ring(shape, 1.0), look.outline, 0.95)
    cv.paint(ds.ring(ds.offset(shape, -1.0), 1.0), look.rim, lambda x, y: 0.6 * max(0.0, -ds.normal(shape, x, y)[1]) ** 2)


def button_face(cv, shape, look, state):
    """A button in a state: raised at rest, lit with the accent colour under
    the mouse, sunk and dark while pressed."""
    stops = {"": look.button, "_h": look.button_over, "_d": look.button_down}[state]
    cv.paint(shape, ds.vertical(stops, 0, cv.h), hard=True)
    if state == "_d":
        ds.inner_shadow(cv, shape, 3.5, 0.65)
    else:
        if look.brushed:
            cv.paint(shape, (255, 255, 255), lambda x, y: 0.08 * (ds.noise(int(x) // 5, int(y), 9) - 0.5) * 2 + 0.04)
        else:
            # a glass bubble's highlight: a bright cap over the upper half
            hl = ds.intersect(ds.offset(shape, -1.5), lambda x, y: y - cv.h * 0.48)
            ds.sheen(cv, hl, 0, cv.h * 0.5, 0.55 if state == "" else 0.7)
            cv.paint(ds.intersect(ds.offset(shape, -1.0), lambda x, y: cv.h * 0.62 - y), (255, 255, 255),
                     lambda x, y: 0.22 * ds.smoothstep(cv.h * 0.62, cv.h, y))
        ds.bevel(cv, shape, 2.5, 0.45)
    if state == "_h":
        cv.paint(ds.ring(ds.offset(shape, -1.0), 1.6), look.accent, 0.85)
    cv.paint(ds.ring(shape, 1.0), look.outline, 0.95)


def button_picture(w, h, shape, look, state, sign=None, text=None):
    cv = ds.Canvas(w, h)
    button_face(cv, shape, look, state)
    ink, shadow = {"": look.ink, "_h": look.ink_over, "_d": look.ink_down}[state]
    dy = 1 if state == "_d" else 0
    if sign:
        cx, cy = w / 2, h / 2 + dy
        if state == "_h":
            ds.glow(cv, sign(cx, cy), look.accent, 2.0, 0.6)
        cv.paint(sign(cx, cy + 1), shadow[:3], shadow[3])
        cv.paint(sign(cx, cy), ink)
    else:
        halo = (look.accent, 0.5) if state == "_h" else None
        ds.text_centred(cv, text, (0, dy, w, h + dy), ink, shadow=shadow, halo=halo)
    cv.clip(shape)
    return cv


# ---------------------------------------------------------------------------
# Skin description: what is drawn and what the skin file says about it.


class Button:
    """A button of a window: where it sits, its shape in its own pixels, what
    it carries, its command and the text of its pop-up label."""

    def __init__(self, name, x, y, w, h, shape, command, tip, sign=None, text=None):
        self.name, self.x, self.y, self.w, self.h = name, x, y, w, h
        self.shape, self.command, self.tip = shape, command, tip
        self.sign, self.text = sign, text

    def placed(self):
        return ds.translate(self.shape, self.x, self.y)


def round_button(name, cx, cy, r, command, tip, sign):
    return Button(name, int(cx - r), int(cy - r), 2 * r, 2 * r, ds.circle(r, r, r), command, tip, sign=sign)


def pill_button(name, x, y, w, h, command, tip, text=None, sign=None, radius=None):
    shape = ds.rrect(0, 0, w, h, h / 2 if radius is None else radius)
    return Button(name, x, y, w, h, shape, command, tip, sign=sign, text=text)


class Window:
    """One window's part of a skin: background picture, buttons and the one
    place where the labels of all buttons pop up."""

    def __init__(self, prefix, size, draw_back, buttons, label_box, draw_label):
        self.prefix = prefix  # file names begin with it
        self.size = size
        self.draw_back = draw_back
        self.buttons = buttons
        self.label_box = label_box  # (x, y, w, h)
        self.draw_label = draw_label  # (width, height, text) -> canvas

    def label(self, text):
        return self.draw_label(self.label_box[2], self.label_box[3], text)

    def file(self, what):
        return "%s_%s.bmp" % (self.prefix, what)


def socket(cv, b, look):
    """The recess a button sits in, one pixel larger than the button."""
    ds.socket(cv, b.placed(), look, box=ds.bbox_of(b.x, b.y, b.x + b.w, b.y + b.h))


def recess(cv, shape, look, floor, box=None, depth=4.0):
    """A recessed area of the body: a light lip below, a dark floor, a shadow
    under its upper edge."""
    cv.paint(ds.ring(ds.offset(shape, 1.0), 1.0), (255, 255, 255), lambda x, y: 0.35 * max(0.0, ds.normal(shape, x, y)[1]), box=box)
    cv.paint(shape, floor, box=box)
    ds.inner_shadow(cv, shape, depth, 0.55, box=box)
    cv.paint(ds.ring(shape, 1.0), look.outline, 0.7, box=box)


def list_bezel(cv, rect, look, floor, margin, radius):
    """The recess the wallpaper list sits in; only its rim shows around the list."""
    x, y, w, h = rect
    x0, y0, x1, y1 = x - margin, y - margin, x + w + margin, y + h + margin
    recess(cv, ds.rrect(x0, y0, x1, y1, radius), look, floor, box=ds.bbox_of(x0, y0, x1, y1))


def well(cv, x, y, w, h, look, radius):
    """The frame a preview is shown in: a dark recessed floor exactly under
    the preview, with a faint picture sign for an empty one."""
    shape = ds.rrect(x - 2, y - 2, x + w + 2, y + h + 2, radius + 2)
    box = ds.bbox_of(x - 2, y - 2, x + w + 2, y + h + 2, 3)
    recess(cv, shape, look, ds.vertical(look.well, y, h), box=box)
    ds.picture_mark(cv, x + w / 2, y + h / 2, min(w, h) * 0.3, ds.mix(look.well[-1][1], look.engraving, 0.3))


def engrave(cv, text, x, y, look, centred_in=None):
    """Text cut into the body: dark ink over a light line below."""
    if centred_in:
        x0, y0, x1, y1 = centred_in
        x, y = x0 + (x1 - x0 - ds.text_width(text)) // 2, y0 + (y1 - y0 - ds.CAP_HEIGHT) // 2
    ds.draw_text(cv, text, x, y, look.engraving, shadow=(255, 255, 255, 0.35))


# ---------------------------------------------------------------------------
# Steel: brushed aluminium, dark engraving, amber light.

STEEL = Look(
    "steel",
    body=[(0.0, from_hex("d9dde2")), (0.35, from_hex("b7bcc3")), (0.7, from_hex("9298a1")), (1.0, from_hex("6c727b"))],
    outline=from_hex("24282e"),
    rim=from_hex("ffffff"),
    well=[(0.0, from_hex("101215")), (1.0, from_hex("23272d"))],
    accent=from_hex("ffa21f"),
    button=[(0.0, from_hex("f2f4f6")), (0.5, from_hex("c3c8ce")), (1.0, from_hex("8d939b"))],
    button_over=[(0.0, from_hex("fff8ec")), (0.5, from_hex("dcd6cc")), (1.0, from_hex("a59c8e"))],
    button_down=[(0.0, from_hex("5e646c")), (0.5, from_hex("7d838b")), (1.0, from_hex("a3a8af"))],
    ink=(from_hex("2a2f36"), (255, 255, 255, 0.6)),
    ink_over=(from_hex("1a1206"), (255, 220, 160, 0.7)),
    ink_down=(from_hex("ffb444"), (0, 0, 0, 0.6)),
    engraving=from_hex("3a3f46"),
)
LCD_FLOOR = [(0.0, from_hex("140e04")), (1.0, from_hex("2a1d08"))]
LCD_INK = from_hex("ffb43c")

STEEL_BROWSER_SIZE = (648, 140)
STEEL_PREVIEWS = [(68 + 104 * i, 42, 96, 72) for i in range(5)]
STEEL_READOUT = (254, 18, 148, 17)
STEEL_MANAGER_SIZE = (472, 300)
STEEL_MANAGER_READOUT = (176, 17, 148, 17)
STEEL_MANAGER_LIST = (14, 46, 300, 240)
STEEL_MANAGER_PREVIEW = (328, 46, 132, 99)


def steel_browser_shape():
    w, h = STEEL_BROWSER_SIZE
    strip = ds.rrect(30, 10, w - 30, h - 10, 8)
    bolsters = ds.union(ds.rrect(0, 0, 58, h, 22), ds.rrect(w - 58, 0, w, h, 22))
    return ds.smooth_union(strip, bolsters, 6.0)


def steel_browser_buttons():
    w, h = STEEL_BROWSER_SIZE
    rx, mid, low = w - 29, h // 2, h - 22
    return [
        round_button("Close", rx, 22, 10, "close()", "CLOSE KESTROVA", cross_sign(6.0, 1.8)),
        round_button("Forward", rx, mid, 17, "scroll_fwd()", "NEXT PICTURES", double_triangle_sign(13, 10, "right")),
        round_button("Manager", rx, low, 10, "toggle_manager()", "WALLPAPER LIST", list_sign(10)),
        round_button("Config", 29, 22, 10, "toggle_config()", "SETTINGS", gear_sign(7.0)),
        round_button("Backward", 29, mid, 17, "scroll_bwd()", "EARLIER PICTURES", double_triangle_sign(13, 10, "left")),
        round_button("Skin", 29, low, 10, "load_skin()", "LOAD A SKIN", contrast_sign(5.5)),
        pill_button("Random", 420, 18, 30, 17, "set_random()", "RANDOM WALLPAPER", sign=dice_sign(10), radius=4),
        pill_button("Pause", 454, 18, 30, 17, "pause()", "PAUSE CHANGING", sign=pause_sign(9), radius=4),
        pill_button("Menu", 488, 18, 30, 17, "main_menu()", "MENU", sign=lines_sign(11), radius=4),
        pill_button("Minimize", 548, 18, 30, 17, "minimize()", "MINIMIZE", sign=minus_sign(10), radius=4),
    ]


def lcd(w, h, text, lit):
    """The amber read-out: a dark glass floor with faint segments, and the
    text lit (with its glow) when lit."""
    cv = ds.Canvas(w, h)
    shape = ds.rrect(0, 0, w, h, 3)
    cv.paint(shape, ds.vertical(LCD_FLOOR, 0, h), hard=True)
    for x in range(4, w - 4, 3):  # the dot grid of the display
        cv.paint(ds.rrect(x, 3, x + 1, h - 3, 0), LCD_INK, 0.05)
    if text:
        x = (w - ds.text_width(text)) // 2
        y = (h - ds.CAP_HEIGHT) // 2
        ds.draw_text(cv, text, x, y, LCD_INK if lit else ds.mix(LCD_FLOOR[1][1], LCD_INK, 0.22),
                     halo=(LCD_INK, 0.35) if lit else None)
    ds.sheen(cv, ds.intersect(ds.offset(shape, -1), lambda px, py: py - h * 0.45), 0, h * 0.45, 0.1)
    ds.inner_shadow(cv, shape, 3.0, 0.5)
    cv.paint(ds.ring(shape, 1.0), (0, 0, 0), 0.85)
    cv.clip(shape)
    return cv


def steel_screw(cv, cx, cy, look, angle):
    head = ds.circle(cx, cy, 3.2)
    cv.paint(head, ds.vertical(look.button, cy - 3.2, 6.4))
    ds.bevel(cv, head, 1.2, 0.5)
    dx, dy = math.cos(angle) * 2.4, math.sin(angle) * 2.4
    cv.paint(ds.segment(cx - dx, cy - dy, cx + dx, cy + dy, 1.0), look.outline, 0.8)
    cv.paint(ds.ring(head, 0.8), look.outline, 0.7)


def steel_browser_back(buttons):
    w, h = STEEL_BROWSER_SIZE
    look = STEEL
    cv = ds.Canvas(w, h)
    shape = steel_browser_shape()
    body(cv, shape, look)
    # the bolsters are turned, not brushed: concentric rings over them
    mid = h // 2
    for bx in (29, w - 29):
        cv.paint(ds.circle(bx, mid, 27), (255, 255, 255),
                 lambda x, y, bx=bx: 0.10 * (0.5 + 0.5 * math.sin(math.hypot(x - bx, y - mid) * 2.2)), box=(bx - 28, mid - 28, bx + 28, mid + 28))
        recess(cv, ds.circle(bx, mid, 20), look, ds.vertical(look.button_down, mid - 20, 40), box=(bx - 22, mid - 22, bx + 22, mid + 22), depth=3)
    # the upper rail: engraved name, the read-out, the keys
    rail = ds.rrect(64, 15, w - 64, 37, 5)
    recess(cv, rail, look, ds.brushed([(0, from_hex("a7adb4")), (1, from_hex("868c95"))], 15, 22, 5.0, 3), box=(60, 12, w - 60, 40), depth=3)
    engrave(cv, "KESTROVA", 76, 23, look)
    cv.paint(ds.rrect(122, 26, 240, 27, 0.5), look.engraving, 0.35)
    x, y, rw, rh = STEEL_READOUT
    cv.draw(lcd(rw, rh, "", False), x, y)
    for i, (px, py, pw, ph) in enumerate(STEEL_PREVIEWS):
        well(cv, px, py, pw, ph, look, 2)
        # a frame number under each preview, engraved in the strip
        engrave(cv, str(i + 1), 0, 0, look, centred_in=(px, py + ph + 3, px + pw, py + ph + 12))
    for b in buttons:
        socket(cv, b, look)
    return cv


def steel_manager_shape():
    w, h = STEEL_MANAGER_SIZE
    plate = ds.rrect(0, 8, w, h, 12)
    tab = ds.rrect(w - 120, 0, w, 40, (14, 14, 4, 4))
    return ds.smooth_union(plate, tab, 6.0)


def steel_manager_buttons():
    w, _ = STEEL_MANAGER_SIZE
    px, py, pw, ph = STEEL_MANAGER_PREVIEW
    names = [
        ("Add", "add_wall()", "ADD PICTURES"), ("Folder", "add_dir()", "ADD A FOLDER"),
        ("Remove", "del_wall()", "REMOVE SELECTED"), ("Clear", "clear_list()", "CLEAR THE LIST"),
        ("Apply", "apply_image()", "SET AS WALLPAPER"), ("View", "fullscr_preview()", "FULL SCREEN VIEW"),
        ("Style", "change_style()", "CHANGE STYLES"), ("Open", "load_list()", "OPEN A LIST"),
        ("Save", "save_list()", "SAVE THE LIST"),
    ]
    out = []
    for i, (name, command, tip) in enumerate(names):
        col, row = i % 2, i // 2
        out.append(pill_button(name, px + col * 70, py + ph + 9 + row * 24, 62, 18, command, tip, text=name, radius=5))
    out.append(round_button("Menu", w - 54, 20, 10, "man_menu()", "LIST MENU", lines_sign(10)))
    out.append(round_button("Close", w - 26, 20, 10, "close()", "CLOSE MANAGER", cross_sign(6.0, 1.8)))
    return out


def steel_manager_back(buttons):
    w, h = STEEL_MANAGER_SIZE
    look = STEEL
    cv = ds.Canvas(w, h)
    shape = steel_manager_shape()
    body(cv, shape, look, seed=4)
    rail = ds.rrect(10, 14, w - 130, 37, 5)
    recess(cv, rail, look, ds.brushed([(0, from_hex("a7adb4")), (1, from_hex("868c95"))], 14, 23, 5.0, 5), box=(6, 10, w - 126, 40), depth=3)
    engrave(cv, "WALLPAPER LIST", 20, 22, look)
    x, y, rw, rh = STEEL_MANAGER_READOUT
    cv.draw(lcd(rw, rh, "", False), x, y)
    list_bezel(cv, STEEL_MANAGER_LIST, look, from_hex("1a1d22"), 2, 3)
    px, py, pw, ph = STEEL_MANAGER_PREVIEW
    well(cv, px, py, pw, ph, look, 2)
    last = buttons[8]  # the odd button out leaves the grid's last cell to the name
    engrave(cv, "KESTROVA", 0, 0, look, centred_in=(last.x + 70, last.y, last.x + 70 + last.w, last.y + last.h))
    for sx, sy in ((10, h - 10), (w - 10, h - 10)):
        steel_screw(cv, sx, sy, look, 1.1 + sx * 0.02)
    for b in buttons:
        socket(cv, b, look)
    return cv


def steel_skin():
    bb, mb = steel_browser_buttons(), steel_manager_buttons()
    label = lambda w, h, text: lcd(w, h, text, True)
    browser = Window("browser", STEEL_BROWSER_SIZE, lambda: steel_browser_back(bb), bb, STEEL_READOUT, label)
    manager = Window("manager", STEEL_MANAGER_SIZE, lambda: steel_manager_back(mb), mb, STEEL_MANAGER_READOUT, label)
    return Skin("Steel", STEEL, browser, STEEL_PREVIEWS, None, manager, STEEL_MANAGER_PREVIEW, None,
                STEEL_MANAGER_LIST, {"foregroundcolor": "$00241E1A", "fontcolor": "$0048B8FF", "fontSize": "8",
                                     "fontname": "Tahoma"},
                "A wide strip of brushed steel with five previews in a row.")


# ---------------------------------------------------------------------------
# Lagoon: green glass, white light, gold glints.

LAGOON = Look(
    "lagoon",
    body=[(0.0, from_hex("7fe3cf")), (0.22, from_hex("3fb8a2")), (0.6, from_hex("1a7a6c")), (1.0, from_hex("0c4640"))],
    outline=from_hex("05231f"),
    rim=from_hex("e8fff8"),
    well=[(0.0, from_hex("062622")), (1.0, from_hex("0f3d36"))],
    accent=from_hex("ffd46a"),
    button=[(0.0, from_hex("8ff0dc")), (0.45, from_hex("2fae98")), (1.0, from_hex("126a5e"))],
    button_over=[(0.0, from_hex("d6fff4")), (0.45, from_hex("5fd8bf")), (1.0, from_hex("1d8e7c"))],
    button_down=[(0.0, from_hex("06332d")), (0.55, from_hex("0f544a")), (1.0, from_hex("1f7c6c"))],
    ink=((255, 255, 255), (4, 40, 34, 0.75)),
    ink_over=(from_hex("053a31"), (255, 255, 255, 0.55)),
    ink_down=(from_hex("ffd46a"), (0, 0, 0, 0.6)),
    engraving=from_hex("c9f5ea"),
    brushed=False,
)

LAGOON_BROWSER_SIZE = (176, 364)
LAGOON_PREVIEWS = [(24, 56, 128, 96), (24, 178, 128, 96)]
LAGOON_PREVIEW_RADIUS = 16
LAGOON_TAG = (26, 157, 124, 16)
LAGOON_MANAGER_SIZE = (300, 400)
LAGOON_MANAGER_PREVIEW = (22, 42, 160, 120)
LAGOON_MANAGER_TAG = (22, 196, 256, 16)
LAGOON_MANAGER_LIST = (18, 222, 264, 160)


def lagoon_browser_buttons():
    w, h = LAGOON_BROWSER_SIZE
    c = w / 2
    return [
        round_button("Backward", c, 20, 15, "scroll_bwd()", "Earlier pictures", triangle_sign(12, 9, "up")),
        round_button("Forward", c, h - 20, 15, "scroll_fwd()", "Next pictures", triangle_sign(12, 9, "down")),
        round_button("Menu", 24, 28, 11, "main_menu()", "Menu", lines_sign(9, pitch=2.8)),
        round_button("Close", w - 24, 28, 11, "close()", "Close Kestrova", cross_sign(6.0, 1.8)),
        round_button("Minimize", w - 50, 12, 8, "minimize()", "Minimize", minus_sign(7, 1.7)),
        round_button("Pause", 10, 165, 10, "pause()", "Pause changing", pause_sign(8, 2.0, 2.0)),
        round_button("Skin", w - 10, 165, 10, "load_skin()", "Load a skin", contrast_sign(5.0)),
        round_button("Config", 42, 304, 12, "toggle_config()", "Settings", gear_sign(7.5)),
        round_button("Random", c, 300, 14, "set_random()", "Random wallpaper", dice_sign(12)),
        round_button("Manager", w - 42, 304, 12, "toggle_manager()", "Wallpaper list", list_sign(11)),
    ]


def lagoon_browser_shape(buttons):
    """A rounded drop with the bubbles of its edge buttons budding off it."""
    w, h = LAGOON_BROWSER_SIZE
    shape = ds.rrect(10, 26, w - 10, h - 26, 48)
    for b in buttons:
        if b.name in ("Backward", "Forward", "Pause", "Skin", "Minimize", "Menu", "Close"):
            shape = ds.smooth_union(shape, ds.offset(b.placed(), 2.5), 9.0)
    return shape


def glass_tag(w, h, text, look, lit=True):
    """A small capsule of lighter glass with white text: a Lagoon label."""
    cv = ds.Canvas(w, h)
    shape = ds.rrect(0, 0, w, h, h / 2)
    cv.paint(shape, ds.vertical([(0, from_hex("e9fff9")), (0.5, from_hex("9fe9d8")), (1, from_hex("4dbba4"))], 0, h), hard=True)
    ds.sheen(cv, ds.intersect(ds.offset(shape, -1), lambda x, y: y - h * 0.5), 0, h * 0.5, 0.5)
    cv.paint(ds.ring(ds.offset(shape, -1), 1.2), look.accent, 0.8)
    cv.paint(ds.ring(shape, 1.0), look.outline, 0.9)
    ds.text_centred(cv, text, (0, 0, w, h), from_hex("06302a"), shadow=(255, 255, 255, 0.5))
    cv.clip(shape)
    return cv


def preview_mask(w, h, radius):
    """White where the preview shows, magenta where it is cut away."""
    cv = ds.Canvas(w, h)
    cv.paint(ds.rrect(0, 0, w, h, radius), (255, 255, 255), hard=True)
    return cv


def bubble_ring(cv, b, look):
    """A soft collar where a bubble button meets the glass."""
    s = b.placed()
    box = ds.bbox_of(b.x, b.y, b.x + b.w, b.y + b.h, 4)
    cv.paint(ds.offset(s, 2.5), look.outline, lambda x, y: 0.55 * ds.clamp(1 - s(x, y) / 2.5), box=box)
    cv.paint(ds.ring(ds.offset(s, 2.5), 1.0), look.rim, lambda x, y: 0.4 * max(0.0, ds.normal(s, x, y)[1]), box=box)


def caustics(cv, shape, look, seed):
    """Light rippling through water: faint bright bands inside the glass."""
    def light(x, y):
        v = math.sin(x * 0.09 + math.sin(y * 0.05 + seed) * 2.0) * math.sin(y * 0.07 + math.cos(x * 0.04) * 1.5)
        return 0.09 * max(0.0, v) ** 3
    cv.paint(ds.offset(shape, -4), look.rim, light)


def tag_slot(cv, rect, look):
    """The dark slot a glass tag pops up in, with the program's name faint in it."""
    tx, ty, tw, th = rect
    recess(cv, ds.rrect(tx, ty, tx + tw, ty + th, th / 2), look, ds.vertical(look.well, ty, th), box=ds.bbox_of(tx, ty, tx + tw, ty + th), depth=2.5)
    ds.text_centred(cv, "Kestrova", (tx, ty, tx + tw, ty + th), ds.mix(look.well[1][1], look.engraving, 0.45))


def lagoon_browser_back(buttons):
    w, h = LAGOON_BROWSER_SIZE
    look = LAGOON
    cv = ds.Canvas(w, h)
    shape = lagoon_browser_shape(buttons)
    body(cv, shape, look)
    caustics(cv, shape, look, 1.0)
    for px, py, pw, ph in LAGOON_PREVIEWS:
        well(cv, px, py, pw, ph, look, LAGOON_PREVIEW_RADIUS)
    tag_slot(cv, LAGOON_TAG, look)
    for b in buttons:
        bubble_ring(cv, b, look)
    return cv


def lagoon_manager_shape(buttons):
    w, h = LAGOON_MANAGER_SIZE
    shape = ds.rrect(0, 14, w, h, (34, 34, 44, 44))
    for b in buttons:
        if b.name in ("Menu", "Close"):
            shape = ds.smooth_union(shape, ds.offset(b.placed(), 2.5), 8.0)
    return shape


def lagoon_manager_buttons():
    w, _ = LAGOON_MANAGER_SIZE
    px, py, pw, ph = LAGOON_MANAGER_PREVIEW
    column = [("Add", "add_wall()", "Add pictures"), ("Folder", "add_dir()", "Add a folder"),
              ("Remove", "del_wall()", "Remove selected"), ("Clear", "clear_list()", "Clear the list"),
              ("Apply", "apply_image()", "Set as wallpaper")]
    row = [("View", "fullscr_preview()", "Full screen view"), ("Style", "change_style()", "Change styles"),
           ("Open", "load_list()", "Open a list"), ("Save", "save_list()", "Save the list")]
    out = []
    x0 = px + pw + 14
    for i, (name, command, tip) in enumerate(column):
        out.append(pill_button(name, x0, py + 2 + i * 24, w - 20 - x0, 19, command, tip, text=name))
    for i, (name, command, tip) in enumerate(row):
        out.append(pill_button(name, px + i * 66, py + ph + 10, 58, 19, command, tip, text=name))
    out.append(round_button("Menu", 26, 18, 12, "man_menu()", "List menu", lines_sign(9, pitch=2.8)))
    out.append(round_button("Close", w - 26, 18, 12, "close()", "Close the list", cross_sign(6.0, 1.8)))
    return out


def lagoon_manager_back(buttons):
    w, h = LAGOON_MANAGER_SIZE
    look = LAGOON
    cv = ds.Canvas(w, h)
    shape = lagoon_manager_shape(buttons)
    body(cv, shape, look, seed=3)
    caustics(cv, shape, look, 2.5)
    ds.text_centred(cv, "Wallpaper List", (40, 16, w - 40, 34), from_hex("0a4a40"), shadow=(255, 255, 255, 0.45))
    px, py, pw, ph = LAGOON_MANAGER_PREVIEW
    well(cv, px, py, pw, ph, look, LAGOON_PREVIEW_RADIUS)
    tag_slot(cv, LAGOON_MANAGER_TAG, look)
    list_bezel(cv, LAGOON_MANAGER_LIST, look, from_hex("0c2f2a"), 3, 6)
    for b in buttons:
        if b.name in ("Menu", "Close"):
            bubble_ring(cv, b, look)
        else:
            socket(cv, b, look)
    return cv


def lagoon_skin():
    bb, mb = lagoon_browser_buttons(), lagoon_manager_buttons()
    label = lambda w, h, text: glass_tag(w, h, text, LAGOON)
    browser = Window("browser", LAGOON_BROWSER_SIZE, lambda: lagoon_browser_back(bb), bb, LAGOON_TAG, label)
    manager = Window("manager", LAGOON_MANAGER_SIZE, lambda: lagoon_manager_back(mb), mb, LAGOON_MANAGER_TAG, label)
    return Skin("Lagoon", LAGOON, browser, LAGOON_PREVIEWS, "preview_mask.bmp", manager, LAGOON_MANAGER_PREVIEW,
                "manager_preview_mask.bmp", LAGOON_MANAGER_LIST,
                {"foregroundcolor": "$00383012", "fontcolor": "clWhite", "fontSize": "8", "fontname": "Verdana"},
                "A drop of green glass with two rounded previews.")


# ---------------------------------------------------------------------------
# Writing a skin: its bitmaps and its skin file.


class Skin:
    def __init__(self, name, look, browser, previews, preview_mask_file, manager, manager_preview,
                 manager_mask_file, manager_list, list_look, about):
        self.name, self.look, self.browser, self.previews = name, look, browser, previews
        self.preview_mask_file = preview_mask_file
        self.manager, self.manager_preview = manager, manager_preview
        self.manager_mask_file, self.manager_list = manager_mask_file, manager_list
        self.list_look, self.about = list_look, about

    def pictures(self):
        """Every bitmap of the skin: {file name: canvas}."""
        out = {}
        for win in (self.browser, self.manager):
            out[win.file("back")] = win.draw_back()
            for i, b in enumerate(win.buttons):
                for state in STATES:
                    out[win.file(b.name.lower() + state)] = button_picture(b.w, b.h, b.shape, self.look, state, b.sign, b.text)
                out[win.file("label_" + b.name.lower())] = win.label(b.tip)
        if self.preview_mask_file:
            _, _, pw, ph = self.previews[0]
            out[self.preview_mask_file] = preview_mask(pw, ph, LAGOON_PREVIEW_RADIUS)
        if self.manager_mask_file:
            _, _, pw, ph = self.manager_preview
            out[self.manager_mask_file] = preview_mask(pw, ph, LAGOON_PREVIEW_RADIUS)
        return out

    def ini_lines(self):
        """The skin file; every image name starts with "\\", the skin's own folder."""
        lines = ["; Kestrova skin \"%s\": %s" % (self.name, self.about),
                 "; Drawn by scripts/draw-sample-skins.py; image names beginning with \\ are in this folder.",
                 "", "[misc]",
                 "BrowserImage=\\" + self.browser.file("back"),
                 "ManagerImage=\\" + self.manager.file("back")]
        px, py, pw, ph = self.manager_preview
        lx, ly, lw, lh = self.manager_list
        lines += ["previewImageX=%d" % px, "previewImageY=%d" % py,
                  "previewImageWidth=%d" % pw, "previewImageHeight=%d" % ph]
        if self.manager_mask_file:
            lines.append("previewmask=\\" + self.manager_mask_file)
        lines += ["WallpaperlistX=%d" % lx, "WallpaperlistY=%d" % ly,
                  "WallpaperlistWidth=%d" % lw, "WallpaperlistHeight=%d" % lh]
        lines += ["%s=%s" % kv for kv in self.list_look.items()]
        lines += ["", "[browserPreviews]"]
        for i in range(len(self.previews)):
            lines.append("preview%d=Frame%d" % (i, i + 1))
        for i, (x, y, w, h) in enumerate(self.previews):
            n = "Frame%d" % (i + 1)
            lines += ["%sX=%d" % (n, x), "%sY=%d" % (n, y), "%sWidth=%d" % (n, w), "%sHeight=%d" % (n, h)]
            if self.preview_mask_file:
                lines.append("%sMask=\\%s" % (n, self.preview_mask_file))
        lines += self.controls_lines(self.browser, "BrowserLabels", "Browserbuttons")
        lines += self.controls_lines(self.manager, "ManagerLabels", "Managerbuttons")
        return lines

    @staticmethod
    def controls_lines(win, labels_section, buttons_section):
        lx, ly, _, _ = win.label_box
        lines = ["", "[%s]" % labels_section]
        lines += ["Label%d=Tip%s" % (i, b.name) for i, b in enumerate(win.buttons)]
        for b in win.buttons:
            n = "Tip" + b.name
            lines += ["%sX=%d" % (n, lx), "%sY=%d" % (n, ly), "%sNormal=\\%s" % (n, win.file("label_" + b.name.lower()))]
        lines += ["", "[%s]" % buttons_section]
        lines += ["button%d=%s" % (i, b.name) for i, b in enumerate(win.buttons)]
        for i, b in enumerate(win.buttons):
            n, f = b.name, b.name.lower()
            lines += ["%sX=%d" % (n, b.x), "%sY=%d" % (n, b.y),
                      "%sNormal=\\%s" % (n, win.file(f)), "%sOver=\\%s" % (n, win.file(f + "_h")),
                      "%sDown=\\%s" % (n, win.file(f + "_d")), "%sLabelIndex=%d" % (n, i),
                      "%sClick=%s" % (n, b.command)]
        return lines

    def write(self, folder):
        os.makedirs(folder, exist_ok=True)
        for old in os.listdir(folder):  # a renamed picture leaves no stale file behind
            os.remove(os.path.join(folder, old))
        for name, cv in self.pictures().items():
            ds.write_bmp(cv, os.path.join(folder, name))
        with open(os.path.join(folder, self.name + ".ini"), "wb") as f:
            f.write(("\r\n".join(self.ini_lines()) + "\r\n").encode("ascii"))

    def mockups(self, folder, scale=3):
        """The two windows with sample pictures, a button's states and its label."""
        base = os.path.join(folder, self.name.lower())
        mask = None
        if self.preview_mask_file:
            mask = ds.rrect(0, 0, self.previews[0][2], self.previews[0][3], LAGOON_PREVIEW_RADIUS)
        for win, wells in ((self.browser, self.previews), (self.manager, [self.manager_preview])):
            back = win.draw_back()
            for i, (x, y, w, h) in enumerate(wells):
                pic = ds.sample_picture(w, h, i)
                if mask:
                    pic.clip(ds.rrect(0, 0, w, h, LAGOON_PREVIEW_RADIUS))
                back.draw(pic, x, y)
            for b in win.buttons:
                back.draw(button_picture(b.w, b.h, b.shape, self.look, "", b.sign, b.text), b.x, b.y)
            hover = win.buttons[0]
            back.draw(button_picture(hover.w, hover.h, hover.shape, self.look, "_h", hover.sign, hover.text), hover.x, hover.y)
            back.draw(win.label(hover.tip), win.label_box[0], win.label_box[1])
            ds.mockup(back, {}, {}, [], scale, "%s-%s.png" % (base, win.prefix))
            sheet = {b.name: {s: button_picture(b.w, b.h, b.shape, self.look, s, b.sign, b.text) for s in STATES}
                     for b in win.buttons}
            ds.states_sheet(sheet, scale * 2, "%s-%s-buttons.png" % (base, win.prefix))


SKINS = (steel_skin, lagoon_skin)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--mockup", metavar="DIR", help="also write PNG mock-ups of the windows into DIR")
    parser.add_argument("--only", metavar="NAME", help="draw only the skin of this name")
    args = parser.parse_args(argv)
    for make in SKINS:
        skin = make()
        if args.only and args.only.lower() != skin.name.lower():
            continue
        skin.write(os.path.join(SKINS_DIR, skin.name))
        if args.mockup:
            os.makedirs(args.mockup, exist_ok=True)
            skin.mockups(args.mockup)


if __name__ == "__main__":
    main(sys.argv[1:])
