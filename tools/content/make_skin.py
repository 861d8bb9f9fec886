#!/usr/bin/env python3
"""Draws the installer's skin: its definition quimora.ini and the 24-bit
BMP images it names, the same bytes on every run.

    make_skin.py OUT_DIR

OUT_DIR receives exactly the skin's files and nothing else. Magenta
(255, 0, 255) is the key colour: those pixels are left out when a piece is
drawn, and cut out of the window where a border has them.

The frames of every image follow the orders of skin_frames.py. This skin's
sizes: caption buttons 16 x 16, MDI buttons 15 x 15, horizontal up-down
buttons 15 x 16 with a glyph strip of 12 x 7 frames, vertical ones 15 x 10.
Only the window's top corners are rounded by key pixels.

Only +, -, *, / and comparisons are used on floats: they round the same
way on every IEEE machine, so the images are reproducible.
"""
import os
import sys

# The helpers beside this script, imported without leaving compiled
# copies in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_pictures import AMBER, BROWN, CREAM, PANEL, TEAL, WHITE, mix  # noqa: E402
from skin_frames import (BORDER_STATES, CAPTION_BUTTON_STATES, FOUR_STATES, GROUP_BOX_EDGE_STATES,  # noqa: E402
                         HEADER_STATES, MDI_BUTTON_STATES, MENU_ITEM_STATES, PROGRESS_FRAMES, PUSH_BUTTON_STATES,
                         SCROLL_ARROWS, SCROLL_THUMB_STATES, SCROLL_TRACK_STATES, STATUS_PANEL_FRAMES, TAB_STATES,
                         TICK_STATES, TOOLBAR_STATES, TRACKBAR_THUMB_STATES)
from skin_canvas import (KEY, Image, arrow, box, convex, coverage, disc, glyph_close, glyph_maximize,  # noqa: E402
                         glyph_minimize, glyph_restore, horizontal, minus, outlined, rounded, side_by_side,
                         solid, stacked, stroke, union, vertical, write_skin_folder)

FACE = (241, 217, 192)
OUTLINE = (70, 38, 14)
INNER = (112, 62, 24)
TEAL_DARK = (24, 92, 100)
TEAL_LIGHT = (96, 186, 192)
GREY = (176, 166, 150)


# The window frame.

def frame_colours(active):
    if active:
        return {'outline': OUTLINE, 'light': (232, 166, 86), 'top': (204, 126, 44), 'bottom': (134, 72, 26),
                'line': INNER, 'band': (TEAL_DARK, TEAL, (52, 146, 154)),
                'tube': [OUTLINE, (206, 134, 50), (232, 168, 84), (192, 120, 42), INNER]}
    return {'outline': (150, 128, 98), 'light': (248, 240, 224), 'top': (238, 226, 202), 'bottom': (216, 198, 166),
            'line': (176, 156, 124), 'band': ((146, 166, 164), (176, 196, 194), (190, 208, 206)),
            'tube': [(150, 128, 98), (220, 204, 176), (236, 224, 200), (212, 196, 168), (176, 156, 124)]}


CAPTION_HEIGHT = 29  # the height of one top frame; the sides keep it fixed


def caption_row(c, y):
    """The caption's colour at row y, the same across the whole width. Top
    to bottom: an outline, a highlight, the amber to brown gradient that
    carries the white title text and the buttons, a dark line, a teal band,
    and the dark line that frames the client area."""
    if y == 0:
        return c['outline']
    if y == 1:
        return c['light']
    if y < 23:
        return mix(c['top'], c['bottom'], (y - 2) / 20)
    if y == 23 or y == 28:
        return c['line']
    dark, mid, light = c['band']
    return {24: dark, 25: mid, 26: light, 27: mid}[y]


# Radius of the window's top corners. The circle's centre lies one column
# inside the top border, so the key pixels of the curve all fall in the
# 5 columns of the side borders and the top border needs none.
CORNER = 6.0


def window_corner(x, y):
    """The top-left corner of the window, in window coordinates."""
    if x < 0 or y < 0:
        return False
    if x < CORNER and y < CORNER:
        return disc(CORNER, CORNER, CORNER)(x, y)
    return True


def side_frame(active):
    """One frame of the left border, 5 x 65: the caption's colours beside
    the caption, then the frame's tube down to a square bottom corner. The
    top 29 and bottom 6 rows are drawn as they are; the rows between
    repeat, so every column there is one colour."""
    c = frame_colours(active)
    img = Image(5, 65)
    for y in range(65):
        for x in range(5):
            cx, cy = x + 0.5, y + 0.5
            if not window_corner(cx, cy):
                continue
            if y < 24:
                on_edge = not (window_corner(cx - 1, cy) and window_corner(cx, cy - 1))
                img.px[y][x] = c['outline'] if on_edge else caption_row(c, y)
            else:
                depth = min(x, 64 - y)
                img.px[y][x] = c['tube'][depth]
    return img


def draw_side_borders():
    frames = [side_frame(state == 'active') for state in BORDER_STATES]
    left = side_by_side(frames)
    right = side_by_side([f.mirrored() for f in frames])
    return left, right


def top_frame(active):
    """One frame of the top border, 170 x 29. The left 24 columns and the
    right 103 are drawn as they are; the columns between repeat, so every
    row there is one colour. The right part holds the tray under the
    caption buttons, the left a glow under the window's icon."""
    c = frame_colours(active)
    img = Image(170, CAPTION_HEIGHT)
    img.shade(lambda x, y: caption_row(c, y))
    glow = WHITE if active else (255, 250, 240)
    for ring in range(6):
        img.paint(disc(13.0, 13.0, 10.0 - ring * 1.25), glow, 0.045 if active else 0.07, box=(0, 2, 24, 23))
    tray = rounded(102.0, 2.0, 167.0, 22.0, 5.0)
    inner = rounded(103.0, 3.0, 166.0, 21.0, 4.0)
    shadow = mix(c['bottom'], OUTLINE, 0.45) if active else mix(c['bottom'], c['outline'], 0.35)
    img.shade(lambda x, y: mix(caption_row(c, y), OUTLINE if active else c['outline'], 0.55), tray)
    img.shade(lambda x, y: mix(caption_row(c, y), shadow, 0.35), inner)
    highlight = mix(c['light'], WHITE, 0.3)
    img.shade(solid(highlight), box=(106, 22, 163, 23))
    return img


def draw_top_border():
    return stacked([top_frame(state == 'active') for state in BORDER_STATES])


def draw_bottom_border():
    frames = []
    for state in BORDER_STATES:
        tube = frame_colours(state == 'active')['tube']
        img = Image(39, 5)
        img.shade(lambda x, y, tube=tube: tube[4 - y])
        frames.append(img)
    return stacked(frames)


# Caption and MDI buttons.

AMBER_BUTTON = {
    'normal': (OUTLINE, (252, 220, 156), (226, 156, 66), (78, 40, 12)),
    'pressed': (OUTLINE, (168, 94, 32), (208, 136, 58), (255, 240, 214)),
    'hot': (OUTLINE, (255, 242, 204), (244, 192, 104), (78, 40, 12)),
    'inactive': ((160, 140, 110), (244, 236, 220), (224, 210, 184), (150, 132, 106)),
    'disabled': ((180, 170, 156), (232, 226, 216), (216, 208, 196), (184, 174, 160)),
    'inactive hot': ((150, 120, 80), (252, 244, 228), (236, 214, 174), (110, 84, 52)),
}
CLOSE_BUTTON = dict(AMBER_BUTTON)
CLOSE_BUTTON.update({
    'normal': ((96, 30, 12), (226, 118, 72), (172, 56, 26), WHITE),
    'pressed': ((80, 24, 10), (132, 40, 16), (174, 62, 30), (255, 222, 204)),
    'hot': ((96, 30, 12), (246, 150, 98), (206, 82, 42), WHITE),
})


def small_button(size, radius, colours, glyph, pressed):
    outline, top, bottom, ink = colours
    img = Image(size, size)
    light = None if pressed else mix(top, WHITE, 0.6)
    outlined(img, rounded(0.0, 0.0, float(size), float(size), radius), outline,
             vertical(top, bottom, 1, size - 2), light)
    shift = 1.0 if pressed else 0.0
    img.paint(glyph(size / 16, shift, shift), ink, box=(1, 1, size - 1, size - 1))
    return img


def draw_caption_button(glyph, palette):
    return side_by_side([small_button(16, 4.0, palette[state], glyph, state == 'pressed')
                         for state in CAPTION_BUTTON_STATES])


def draw_mdi_buttons():
    frames = []
    for glyph in (glyph_minimize, glyph_restore, glyph_close):
        palette = CLOSE_BUTTON if glyph is glyph_close else AMBER_BUTTON
        frames += [small_button(15, 3.0, palette[state], glyph, state == 'pressed') for state in MDI_BUTTON_STATES]
    return side_by_side(frames)


# Push buttons, check and radio boxes.

def push_frame(state):
    """One 75 x 23 push button, drawn opaque. Its corners take a colour
    half way between the panel, where the installer's buttons sit, and the
    face colour of dialogs, and its edges are smoothed into that."""
    outline, top, bottom, ring = {
        'normal': ((128, 78, 34), (255, 246, 224), (238, 196, 128), None),
        'pressed': ((92, 52, 22), (206, 144, 70), (240, 200, 134), None),
        'disabled': (GREY, (240, 234, 224), (226, 218, 204), None),
        'hot': ((196, 118, 36), (255, 252, 240), (250, 214, 146), (252, 204, 116)),
        'default': (TEAL_DARK, (255, 246, 224), (238, 196, 128), TEAL),
    }[state]
    w, h = 75, 23
    img = Image(w, h, mix(PANEL, FACE, 0.5))
    img.paint(rounded(0.0, 0.0, w, h, 4.0), outline)
    fill = vertical(top, bottom, 1, h - 2)
    inset = 2.0 if ring else 1.0
    if ring:
        img.paint(rounded(1.0, 1.0, w - 1.0, h - 1.0, 3.5), ring)
    body = rounded(inset, inset, w - inset, h - inset, 4.0 - inset)
    for y in range(h):
        for x in range(w):
            share = coverage(body, x, y)
            if share:
                img.px[y][x] = mix(img.px[y][x], fill(x, y), share)
    if state == 'pressed':
        img.paint(box(3.0, 1.0, w - 3.0, 2.0), (164, 104, 48), 0.8)
    elif state != 'disabled':
        img.paint(box(3.0, inset, w - 3.0, inset + 1), WHITE, 0.7)
        img.paint(box(3.0, h - inset - 1, w - 3.0, h - inset), (214, 160, 90), 0.6)
    return img


def draw_push_buttons():
    return side_by_side([push_frame(s) for s in PUSH_BUTTON_STATES])


def draw_check_boxes():
    frames = []
    for checked, mixed, disabled in TICK_STATES:
        img = Image(13, 13)
        outline, top, bottom, ink = ((GREY, (240, 236, 230), (228, 222, 212), (170, 160, 146)) if disabled else
                                     ((128, 78, 34), WHITE, (250, 232, 200), TEAL_DARK))
        outlined(img, box(0.0, 0.0, 13.0, 13.0), outline, vertical(top, bottom, 1, 11))
        if checked:
            img.paint(union(stroke(3.2, 6.6, 5.4, 9.0, 1.05), stroke(5.4, 9.0, 9.9, 3.6, 1.05)), ink,
                      box=(1, 1, 12, 12))
        if mixed:
            img.shade(solid(TEAL), box(3.5, 3.5, 9.5, 9.5), (1, 1, 12, 12))
        frames.append(img)
    return side_by_side(frames)


def draw_radio_boxes():
    frames = []
    for checked, mixed, disabled in TICK_STATES:
        # Smoothed into the face colour rather than keyed: the round box
        # then looks right whether it is drawn with the key or opaque.
        img = Image(13, 13, FACE)
        outline, top, bottom, ink = ((GREY, (240, 236, 230), (228, 222, 212), (170, 160, 146)) if disabled else
                                     ((128, 78, 34), WHITE, (250, 232, 200), TEAL_DARK))
        img.paint(disc(6.5, 6.5, 6.5), outline)
        fill, body = vertical(top, bottom, 1, 11), disc(6.5, 6.5, 5.4)
        img.shade(lambda x, y: mix(img.px[y][x], fill(x, y), coverage(body, x, y)))
        if checked:
            img.paint(disc(6.5, 6.5, 2.7), ink, box=(2, 2, 11, 11))
            img.paint(disc(5.8, 5.8, 0.9), WHITE, 0.5, box=(2, 2, 11, 11))
        if mixed:
            img.paint(disc(6.5, 6.5, 2.7), TEAL, 0.55, box=(2, 2, 11, 11))
        frames.append(img)
    return side_by_side(frames)


# Controls.

BUTTON_FACES = {  # outline, top, bottom, ink: the small amber buttons of combo boxes, scroll bars, up-downs
    'normal': ((150, 98, 46), (255, 240, 208), (234, 186, 112), (92, 52, 22)),
    'pressed': ((110, 64, 26), (206, 144, 70), (236, 192, 124), (60, 30, 10)),
    'disabled': (GREY, (240, 234, 224), (226, 218, 204), (186, 176, 162)),
    'hot': ((196, 118, 36), (255, 250, 236), (248, 208, 136), (92, 52, 22)),
}


def amber_button(w, h, state, radius=3.0, corner=None):
    outline, top, bottom, _ = BUTTON_FACES[state]
    img = Image(w, h, corner or KEY)
    outlined(img, rounded(0.0, 0.0, float(w), float(h), radius), outline, vertical(top, bottom, 1, h - 2),
             None if state == 'pressed' else mix(top, WHITE, 0.6))
    return img


def draw_combo_button():
    return side_by_side([amber_button(15, 20, s) for s in FOUR_STATES])


def draw_sunk_edge():
    frames = []
    for state in FOUR_STATES:
        outline = {'normal': (150, 120, 86), 'pressed': TEAL_DARK, 'disabled': GREY, 'hot': TEAL}[state]
        inside = (240, 236, 230) if state == 'disabled' else WHITE
        img = Image(15, 20, inside)
        img.shade(solid(outline), minus(box(0, 0, 15, 20), box(1, 1, 14, 19)))
        img.shade(solid(mix(outline, inside, 0.6)), minus(box(1, 1, 14, 19), box(2, 2, 14, 19)))
        frames.append(img)
    return side_by_side(frames)


def draw_extra_images():
    frames = []
    for state in FOUR_STATES:
        img = Image(16, 16)
        ink = BUTTON_FACES[state][3]
        img.shade(solid(ink), arrow('down', 8.0, 8.5, 4.0))
        frames.append(img)
    grip = Image(16, 16)
    for i in range(3):
        for j in range(i + 1):
            x, y = 13 - 4 * j, 13 - 4 * (i - j)
            grip.shade(solid(WHITE), box(x - 1, y - 1, x + 1, y + 1))
            grip.shade(solid((150, 120, 86)), box(x - 2, y - 2, x, y))
    return side_by_side(frames + [grip])


def draw_progress():
    trough = Image(18, 29)
    outlined(trough, rounded(0.0, 0.0, 18.0, 29.0, 3.0), (150, 120, 86), vertical((226, 210, 182), (250, 244, 230), 1, 8))
    bar = Image(18, 29)
    outlined(bar, rounded(0.0, 0.0, 18.0, 29.0, 3.0), TEAL_DARK, vertical(TEAL_LIGHT, (30, 112, 122), 1, 27),
             (170, 226, 228))
    parts = {'trough': trough, 'bar': bar}
    return side_by_side([parts[name] for name in PROGRESS_FRAMES])


def draw_menu_bar():
    """Two frames of 6 rows stacked, stretched to the menu bar's height,
    and one spare row so the strip keeps its 13 rows."""
    img = Image(320, 13)
    for y in range(13):
        row = y % 6 if y < 12 else 5
        top, bottom, line = (((250, 236, 206), (242, 222, 180), (222, 190, 140)) if y < 6 else
                             ((246, 240, 230), (238, 230, 214), (218, 206, 186)))
        colour = line if row == 5 else mix(top, bottom, row / 4)
        img.shade(solid(colour), box=(0, y, 320, y + 1))
    return img


def draw_group_box_edge():
    frames = []
    looks = {'enabled': ((176, 140, 96), (252, 246, 232)), 'disabled': ((196, 190, 180), (248, 246, 242))}
    for dark, light in (looks[state] for state in GROUP_BOX_EDGE_STATES):
        img = Image(44, 40)
        outer = rounded(0.0, 0.0, 43.0, 39.0, 3.0)
        inner = rounded(1.0, 1.0, 44.0, 40.0, 3.0)
        img.shade(solid(light), minus(inner, rounded(2.0, 2.0, 43.0, 39.0, 2.0)))
        img.shade(solid(dark), minus(outer, rounded(1.0, 1.0, 42.0, 38.0, 2.0)))
        frames.append(img)
    return side_by_side(frames)


def draw_toolbars():
    frames = []
    for state in TOOLBAR_STATES:
        img = Image(20, 40)
        looks = {'pressed': ((150, 100, 50), (232, 194, 132), (248, 222, 174)),
                 'hot': ((200, 130, 50), (255, 248, 228), (250, 222, 166)),
                 'checked': (TEAL_DARK, (216, 238, 236), (188, 222, 222))}
        if state in looks:
            outline, top, bottom = looks[state]
            outlined(img, rounded(0.0, 0.0, 20.0, 40.0, 3.0), outline, vertical(top, bottom, 1, 38))
        frames.append(img)
    return side_by_side(frames)


def draw_tabs():
    frames = []
    for state in TAB_STATES:
        outline, top, bottom, accent = {
            'normal': ((150, 110, 70), (240, 222, 192), (226, 202, 164), None),
            'selected': ((120, 72, 30), (255, 250, 238), FACE, AMBER),
            'disabled': (GREY, (238, 232, 224), (228, 220, 208), None),
            'hot': ((170, 110, 50), (255, 244, 220), (240, 214, 172), (240, 184, 100)),
            'focused': ((120, 72, 30), (255, 250, 238), FACE, TEAL),
        }[state]
        img = Image(18, 18)
        shape = rounded(0.0, 0.0, 18.0, 21.0, 3.0)
        outlined(img, lambda x, y: shape(x, y) and y < 18.0 or (0.0 < x < 18.0 and 18.0 <= y < 19.0),
                 outline, vertical(top, bottom, 1, 17))
        if accent:
            img.shade(solid(accent), box(2, 1, 16, 3))
        frames.append(img)
    return side_by_side(frames)


def draw_tab_border():
    img = Image(48, 48, FACE)
    img.shade(solid((120, 72, 30)), minus(box(0, 0, 48, 48), box(1, 1, 47, 47)))
    img.shade(solid(WHITE), minus(box(1, 1, 47, 47), box(2, 2, 47, 47)))
    img.shade(solid((214, 186, 150)), minus(box(1, 1, 47, 47), box(1, 1, 46, 46)))
    return img


def draw_status_bar_edges():
    frames = []
    for kind in STATUS_PANEL_FRAMES:
        img = Image(68, 15, FACE)
        dark, light = (150, 124, 90), WHITE
        if kind == 'raised':
            dark, light = light, dark
        img.shade(solid((248, 236, 214)), box(0, 2, 68, 13))
        img.shade(solid(dark), box(0, 1, 68, 2))
        img.shade(solid(light), box(0, 13, 68, 14))
        if kind != 'last':
            img.shade(solid(dark), box(65, 1, 66, 14))
            img.shade(solid(light), box(66, 1, 67, 14))
            img.shade(solid(FACE), box(67, 0, 68, 15))
        frames.append(img)
    return side_by_side(frames)


def draw_header_bar():
    frames = []
    for state in HEADER_STATES:
        top, bottom, line = {
            'normal': ((255, 248, 230), (238, 208, 158), (186, 140, 80)),
            'pressed': ((222, 170, 100), (244, 210, 156), (140, 90, 40)),
            'disabled': ((242, 238, 232), (226, 218, 206), GREY),
            'hot': ((255, 252, 242), (248, 224, 180), TEAL),
            'checked': ((236, 248, 246), (196, 226, 224), TEAL_DARK),
        }[state]
        img = Image(18, 29)
        img.shade(vertical(top, bottom, 1, 26))
        img.shade(solid(WHITE), box(0, 0, 16, 1))
        img.shade(solid(line), box(0, 27, 18, 29))
        img.shade(solid(mix(line, bottom, 0.4)), box(0, 27, 18, 28))
        img.shade(solid((200, 170, 130)), box(16, 2, 17, 27))
        img.shade(solid(WHITE), box(17, 2, 18, 27))
        frames.append(img)
    return side_by_side(frames)


def draw_menu_items():
    """39 x 18 frames: the normal item leaves the popup's background to
    show, the selected one is a rounded band whose middle column and row
    repeat."""
    frames = []
    for state in MENU_ITEM_STATES:
        img = Image(39, 18)
        if state == 'separator':
            img.shade(solid((188, 152, 104)), box(4, 12, 35, 13))
            img.shade(solid(WHITE), box(4, 13, 35, 14))
        elif state in ('selected', 'unfocused'):
            outline, top, bottom = ((TEAL, (226, 246, 246), (178, 222, 224)) if state == 'selected' else
                                    ((200, 150, 80), (255, 246, 226), (244, 222, 180)))
            outlined(img, rounded(1.0, 1.0, 38.0, 17.0, 4.0), outline,
                     lambda x, y: mix(top, bottom, 0.0 if y < 5 else 1.0 if y > 12 else (y - 5) / 7),
                     WHITE)
        frames.append(img)
    return side_by_side(frames)


def draw_menu_background():
    """The popup menu: a 3-pixel ring around a cream field. Only the ring
    and the field repeat, so every row and column past the corners is
    one colour."""
    img = Image(184, 32, (253, 246, 230))
    ring = [(120, 72, 30), (226, 160, 76), (250, 228, 186)]
    for depth, colour in enumerate(ring):
        img.shade(solid(colour), minus(box(depth, depth, 184 - depth, 32 - depth),
                                       box(depth + 1, depth + 1, 183 - depth, 31 - depth)))
    return img


def scroll_button(direction, state):
    img = amber_button(17, 17, state, 2.0)
    img.shade(solid(BUTTON_FACES[state][3]), arrow(direction, 8.5, 8.5, 4.5), (2, 2, 15, 15))
    return img


def track(state, across):
    """A scroll bar track, 17 x 17; across 'h' runs left to right."""
    top, bottom = {'normal': ((232, 216, 188), (248, 240, 224)), 'pressed': ((214, 190, 150), (232, 216, 186)),
                   'disabled': ((236, 232, 226), (244, 242, 238)), 'hot': ((238, 224, 198), (252, 246, 234))}[state]
    img = Image(17, 17)
    img.shade(vertical(top, bottom, 1, 15) if across == 'h' else horizontal(top, bottom, 1, 15))
    edge = solid((200, 176, 140))
    if across == 'h':
        img.shade(edge, box=(0, 0, 17, 1))
        img.shade(edge, box=(0, 16, 17, 17))
    else:
        img.shade(edge, box=(0, 0, 1, 17))
        img.shade(edge, box=(16, 0, 17, 17))
    return img


def draw_scrollbar():
    frames = [scroll_button(d, s) for d in SCROLL_ARROWS for s in FOUR_STATES]
    frames.append(Image(17, 17, FACE))
    size_grip = Image(17, 17, FACE)
    grip = draw_extra_images()  # its last frame, moved into the corner
    size_grip.shade(lambda x, y: grip.px[y - 1][63 + x], lambda x, y: grip.px[int(y) - 1][63 + int(x)] != KEY,
                    (1, 1, 17, 17))
    frames.append(size_grip)
    for across in ('h', 'v'):
        marks = Image(17, 17)
        for i in (-3, 0, 3):
            if across == 'h':
                marks.shade(solid((130, 80, 34)), box(8 + i, 5, 9 + i, 12))
                marks.shade(solid((255, 240, 210)), box(9 + i, 5, 10 + i, 12))
            else:
                marks.shade(solid((130, 80, 34)), box(5, 8 + i, 12, 9 + i))
                marks.shade(solid((255, 240, 210)), box(5, 9 + i, 12, 10 + i))
        frames.append(marks)
    frames += [track(s, 'h') for s in SCROLL_TRACK_STATES]
    return side_by_side(frames)


def draw_scroll_tracks(across):
    return side_by_side([track(s, across) for s in FOUR_STATES])


def thumb(w, h, state, across):
    top, bottom = {'normal': ((252, 216, 146), (222, 150, 64)), 'pressed': ((206, 136, 58), (236, 182, 104)),
                   'hot': ((255, 234, 180), (236, 172, 84))}[state]
    outline = (120, 72, 30)
    img = Image(w, h)
    r = (h - 2) / 2 - 1 if across == 'h' else (w - 2) / 2 - 1
    shape = rounded(0.0, 1.0, float(w), h - 1.0, r) if across == 'h' else rounded(1.0, 0.0, w - 1.0, float(h), r)
    fill = vertical(top, bottom, 2, h - 3) if across == 'h' else horizontal(top, bottom, 2, w - 3)
    outlined(img, shape, outline, fill)
    return img


def draw_scroll_thumbs():
    horz = side_by_side([thumb(22, 17, s, 'h') for s in SCROLL_THUMB_STATES])
    vert = side_by_side([thumb(17, 22, s, 'v') for s in SCROLL_THUMB_STATES])
    return horz, vert


THUMB_LOOKS = {
    'normal': ((120, 72, 30), (255, 232, 180), (226, 158, 70)),
    'pressed': ((92, 52, 22), (206, 136, 58), (236, 182, 104)),
    'disabled': (GREY, (240, 234, 224), (222, 214, 200)),
    'hot': ((180, 104, 30), (255, 246, 214), (240, 184, 96)),
    'focused': (TEAL_DARK, (255, 232, 180), (226, 158, 70)),
}


def trackbar_thumb(pointing, state):
    """An 11 x 21 thumb, standing; pointing up or down, or a plain bar."""
    outline, top, bottom = THUMB_LOOKS[state]
    img = Image(11, 21)
    if pointing == 'up':
        shape = convex([(5.5, 0.0), (11.0, 5.5), (11.0, 21.0), (0.0, 21.0), (0.0, 5.5)])
    elif pointing == 'down':
        shape = convex([(0.0, 0.0), (11.0, 0.0), (11.0, 15.5), (5.5, 21.0), (0.0, 15.5)])
    else:
        shape = rounded(0.0, 0.0, 11.0, 21.0, 2.5)
    outlined(img, shape, outline, horizontal(top, bottom, 1, 9), None)
    img.shade(solid(mix(top, WHITE, 0.6)), lambda x, y: shape(x, y) and shape(x - 1, y) and not shape(x - 2, y),
              box=(1, 0, 3, 21))
    return img


def draw_trackbar_thumbs():
    """Standing thumbs for horizontal track bars, lying ones (turned a
    quarter) for vertical ones: the up thumb turned clockwise points right."""
    stand = {p: [trackbar_thumb(p, s) for s in TRACKBAR_THUMB_STATES] for p in ('bar', 'up', 'down')}
    horz = side_by_side(stand['bar'])
    up = side_by_side(stand['up'])
    down = side_by_side(stand['down'])
    lying_bar = []
    for s in TRACKBAR_THUMB_STATES:
        outline, top, bottom = THUMB_LOOKS[s]
        img = Image(21, 11, FACE)  # drawn opaque: the corners show the face colour
        outlined(img, rounded(0.0, 0.0, 21.0, 11.0, 2.0), outline, vertical(top, bottom, 1, 9))
        lying_bar.append(img)
    vert = side_by_side(lying_bar)
    right = side_by_side([f.rotated() for f in stand['up']])
    left = side_by_side([f.rotated() for f in stand['down']])
    return horz, up, down, vert, left, right


def draw_up_downs():
    horz = side_by_side([amber_button(15, 16, s, 2.5) for s in FOUR_STATES] * 2)
    glyph = Image(48, 7)
    for i, (direction, ink) in enumerate([('left', (92, 52, 22)), ('right', (92, 52, 22)),
                                          ('left', (186, 176, 162)), ('right', (186, 176, 162))]):
        one = Image(12, 7)
        one.shade(solid(ink), arrow(direction, 6.0, 3.5, 3.5))
        glyph.paste(one, 12 * i, 0)
    vert = []
    for direction in ('up', 'down'):
        for s in FOUR_STATES:
            img = amber_button(15, 10, s, 1.5, FACE)
            img.shade(solid(BUTTON_FACES[s][3]), arrow(direction, 7.5, 5.0, 3.0), (2, 1, 13, 9))
            vert.append(img)
    return horz, glyph, side_by_side(vert)


# The definition.

CAPTION_BUTTONS = [
    # section, keys; the icon button has no image: the window's icon shows
    ('ButtonClose', [('Action', 0), ('Align', 1), ('Xcoord', 29), ('Ycoord', 4), ('ButtonImage', 'close.bmp')]),
    ('ButtonMaximize', [('Action', 1), ('Align', 1), ('Xcoord', 48), ('Ycoord', 4), ('Visibility', 6),
                        ('Visibility1', 2), ('ButtonImage', 'maximize.bmp')]),
    ('ButtonRestore', [('Action', 1), ('Align', 1), ('Xcoord', 48), ('Ycoord', 4), ('Visibility', 6),
                       ('Visibility1', 1), ('ButtonImage', 'restore.bmp')]),
    ('ButtonMinimize', [('Action', 2), ('Align', 1), ('Xcoord', 68), ('Ycoord', 4), ('Visibility', 8),
                        ('ButtonImage', 'minimize.bmp')]),
    ('ButtonSystem', [('Action', 3), ('Align', 0), ('Xcoord', 10), ('Ycoord', 6)]),
]

COLOURS = [
    ('WindowText', (0, 0, 0)), ('ButtonText', (0, 0, 0)), ('ButtonFace', FACE), ('Buttonlight', FACE),
    ('ButtonHilight', (232, 232, 232)), ('ButtonShadow', (140, 140, 140)), ('ButtonDkShadow', (64, 64, 64)),
    ('Hilight', (2, 115, 222)), ('Menubar', (2, 115, 222)), ('HilightText', (1, 42, 81)),
    ('MenuText', (1, 42, 81)), ('Menu', (2, 108, 208)), ('Scrollbar', (2, 106, 204)),
    ('MenuBarText', (83, 99, 115)), ('TitleTextNoActive', (83, 99, 115)), ('TitleTextActive', (255, 255, 255)),
]

# The palette offered to colour pickers: the product's colours.
COLOUR_SECTIONS = [PANEL, AMBER, BROWN, TEAL, CREAM, FACE, (134, 72, 26), TEAL_LIGHT, (1, 42, 81)]


def section(name, entries):
    lines = ['[%s]' % name]
    for key, value in entries:
        if isinstance(value, tuple):
            value = '%d %d %d' % value
        lines.append('%s=%s' % (key, value))
    return lines


def image_entries(image, margins, trans, tile, extra=()):
    left, top, right, bottom = margins
    return ([('Image', image), ('LeftWidth', left), ('TopHeight', top), ('RightWidth', right),
             ('BottomHeight', bottom), ('Trans', trans), ('Tile', tile)] + list(extra))


def definition():
    parts = [
        ['; Quimora: the installer\'s skin. Written by make_skin.py; edit that, not this.'],
        section('TitlebarSkin', [('SkinName', 'Quimora'), ('Author', 'Quimora'), ('Version', 1)]),
        section('Personality', [
            ('Left', 'left.bmp'), ('LeftFrame', 2), ('LeftStretch', 0), ('LeftTrans', 1),
            ('LeftTopHeight', 29), ('LeftBotHeight', 6),
            ('Right', 'right.bmp'), ('RightFrame', 2), ('RightStretch', 0), ('RightTrans', 1),
            ('RightTopHeight', 29), ('RightBotHeight', 6),
            ('Top', 'top.bmp'), ('TopFrame', 2), ('TopStretch', 0), ('TopTrans', 1),
            ('TopTopHeight', 24), ('TopBotHeight', 103),
            ('Bottom', 'bottom.bmp'), ('BottomFrame', 2), ('BottomStretch', 0), ('BottomTrans', 1),
            ('BottomTopHeight', 1), ('BottomBotHeight', 1),
            ('TextShift', 15), ('TextRightClip', 97), ('TextAlignment', 0),
            ('ActiveTextR', 255), ('ActiveTextG', 255), ('ActiveTextB', 255),
            ('InActiveTextR', 55), ('InActiveTextG', 82), ('InActiveTextB', 116),
            ('menuBar', 'menubar.bmp'), ('TileMenu', 0), ('TileLeftMenu', 0), ('TileRightMenu', 0)]),
        section('Fonts', [('FontHeight', 14)]),
        section('Colours', COLOURS),
    ]
    parts += [section('Colour%d' % (i + 1), [('color', c)]) for i, c in enumerate(COLOUR_SECTIONS)]
    parts += [section(name, keys) for name, keys in CAPTION_BUTTONS]
    parts += [
        section('MDICONTROLS', [('Image', 'mdicontrols.bmp')]),
        section('Buttons', [('Bitmap', 'buttons.bmp'), ('LeftWidth', 6), ('TopHeight', 11), ('RightWidth', 6),
                            ('BottomHeight', 11), ('Trans', 0), ('Tile', 0),
                            ('CheckButton', 'check.bmp'), ('CheckButtonFrame', 5),
                            ('RadioButton', 'radio.bmp'), ('RadioButtonFrame', 5),
                            ('NormalColour', 0), ('MouseOverColour', 2), ('PressedColour', 2)]),
        section('Progress', [('Bitmap', 'progress.bmp'), ('LeftWidth', 4), ('TopHeight', 3), ('RightWidth', 6),
                             ('BottomHeight', 3), ('Trans', 1), ('Tile', 0)]),
        section('GroupBoxEdge', image_entries('groupboxedge.bmp', (4, 4, 4, 4), 1, 1)),
        section('Toolbars', image_entries('toolbars.bmp', (4, 4, 4, 4), 1, 0,
                                          [('NormalColour', 7), ('PressedColour', 7)])),
        section('Tabs', image_entries('tabs.bmp', (3, 3, 3, 0), 1, 0,
                                      [('Border', 'tabborder.bmp'), ('NormalColour', 7), ('PressedColour', 0),
                                       ('NormalColour2', (55, 82, 116))])),
        section('StatusBarEdges', image_entries('statusbaredges.bmp', (0, 4, 3, 4), 0, 1)),
        section('ComboButton', image_entries('combobutton.bmp', (4, 3, 4, 3), 0, 0)),
        section('SunkEdge', image_entries('sunkedge.bmp', (4, 3, 4, 3), 0, 0)),
        section('ExtraImages', image_entries('extraimages.bmp', (0, 0, 0, 0), 1, 0)),
        section('Headerbar', image_entries('headerbar.bmp', (0, 3, 2, 2), 1, 0,
                                           [('NormalColour', 7), ('PressedColour', 7)])),
        section('MenuItem', image_entries('menuitem.bmp', (8, 8, 8, 9), 1, 1, [('NormalColour', 7)])),
        section('MenuBackground', image_entries('menubackground.bmp', (8, 8, 8, 8), 0, 1)),
        section('Scrollbar', image_entries('scrollbar.bmp', (0, 0, 0, 0), 0, 0)),
        section('HorzScroll', image_entries('horzscroll.bmp', (0, 1, 0, 1), 0, 0)),
        section('VertScroll', image_entries('vertscroll.bmp', (1, 0, 1, 0), 0, 0)),
        section('HorzScrollThumb', image_entries('horzscrollthumb.bmp', (7, 7, 7, 8), 1, 0, [('FrameCount', 3)])),
        section('VertScrollThumb', image_entries('vertscrollthumb.bmp', (7, 7, 8, 7), 1, 0, [('FrameCount', 3)])),
        section('Trackbar.ThumbHorz', image_entries('thumbhorz.bmp', (4, 5, 4, 5), 1, 0)),
        section('Trackbar.ThumbVert', image_entries('thumbvert.bmp', (5, 4, 5, 4), 0, 0)),
        section('Trackbar.ThumbLeft', image_entries('thumbleft.bmp', (9, 5, 5, 5), 1, 1)),
        section('Trackbar.ThumbRight', image_entries('thumbright.bmp', (5, 5, 9, 5), 1, 1)),
        section('Trackbar.ThumbUp', image_entries('thumbup.bmp', (5, 9, 5, 5), 1, 0)),
        section('Trackbar.ThumbDown', image_entries('thumbdown.bmp', (5, 5, 5, 9), 1, 0)),
        section('UpDown.Horz', image_entries('updownhorz.bmp', (4, 4, 4, 4), 1, 0,
                                             [('GlyphImage', 'updownglyph.bmp')])),
        section('UpDown.Vert', image_entries('updownvert.bmp', (2, 2, 2, 2), 0, 0)),
    ]
    return '\r\n'.join('\r\n'.join(p) for p in parts) + '\r\n'


def images():
    left, right = draw_side_borders()
    horz_thumb, vert_thumb = draw_scroll_thumbs()
    thumb_horz, thumb_up, thumb_down, thumb_vert, thumb_left, thumb_right = draw_trackbar_thumbs()
    updown_horz, updown_glyph, updown_vert = draw_up_downs()
    return {
        'left.bmp': left, 'right.bmp': right, 'top.bmp': draw_top_border(), 'bottom.bmp': draw_bottom_border(),
        'close.bmp': draw_caption_button(glyph_close, CLOSE_BUTTON),
        'maximize.bmp': draw_caption_button(glyph_maximize, AMBER_BUTTON),
        'restore.bmp': draw_caption_button(glyph_restore, AMBER_BUTTON),
        'minimize.bmp': draw_caption_button(glyph_minimize, AMBER_BUTTON),
        'mdicontrols.bmp': draw_mdi_buttons(),
        'buttons.bmp': draw_push_buttons(), 'check.bmp': draw_check_boxes(), 'radio.bmp': draw_radio_boxes(),
        'progress.bmp': draw_progress(), 'menubar.bmp': draw_menu_bar(),
        'groupboxedge.bmp': draw_group_box_edge(), 'toolbars.bmp': draw_toolbars(),
        'tabs.bmp': draw_tabs(), 'tabborder.bmp': draw_tab_border(),
        'statusbaredges.bmp': draw_status_bar_edges(), 'combobutton.bmp': draw_combo_button(),
        'sunkedge.bmp': draw_sunk_edge(), 'extraimages.bmp': draw_extra_images(),
        'headerbar.bmp': draw_header_bar(), 'menuitem.bmp': draw_menu_items(),
        'menubackground.bmp': draw_menu_background(), 'scrollbar.bmp': draw_scrollbar(),
        'horzscroll.bmp': draw_scroll_tracks('h'), 'vertscroll.bmp': draw_scroll_tracks('v'),
        'horzscrollthumb.bmp': horz_thumb, 'vertscrollthumb.bmp': vert_thumb,
        'thumbhorz.bmp': thumb_horz, 'thumbvert.bmp': thumb_vert, 'thumbleft.bmp': thumb_left,
        'thumbright.bmp': thumb_right, 'thumbup.bmp': thumb_up, 'thumbdown.bmp': thumb_down,
        'updownhorz.bmp': updown_horz, 'updownglyph.bmp': updown_glyph, 'updownvert.bmp': updown_vert,
    }


def main():
    write_skin_folder('make_skin.py', 'quimora.ini', definition(), images())


if __name__ == '__main__':
    main()
