"""The images of the dark skin drawn by make_dark_skin.py: slate and
night-blue faces, light ink, a violet accent and cyan marks.

Every image keeps the frame orders of skin_frames.py. Shapes that stand on
the key colour get hard pixel edges: a pixel half-way between a colour and
magenta would be neither drawn nor left out, and shows as a pink fringe.
Smoothing is only used inside a shape, over its own colours.

Only +, -, *, / and comparisons are used on floats, so the images are the
same on every IEEE machine.
"""
from make_pictures import WHITE, mix
from skin_canvas import (Image, arrow, box, convex, disc, glyph_close, glyph_maximize, glyph_minimize,
                         glyph_restore, horizontal, minus, outlined, rounded, side_by_side, solid, stacked,
                         stroke, union, vertical)
from skin_frames import (BORDER_STATES, CAPTION_BUTTON_STATES, EXTRA_IMAGE_FRAMES, FOUR_STATES,
                         GROUP_BOX_EDGE_STATES, HEADER_STATES, MDI_BUTTON_STATES, MENU_BAR_STATES, MENU_ITEM_STATES,
                         PROGRESS_FRAMES, PUSH_BUTTON_STATES, SCROLL_ARROWS, SCROLL_THUMB_STATES, SCROLL_TRACK_STATES,
                         SCROLLBAR_FRAMES, STATUS_PANEL_FRAMES, TAB_STATES, TEXT_BACK_STATES, TICK_STATES,
                         TOOLBAR_STATES, TRACKBAR_THUMB_STATES, UP_DOWN_GLYPHS, UP_DOWN_HORZ_BUTTONS,
                         UP_DOWN_VERT_BUTTONS)

FACE = (38, 40, 52)
NIGHT = (24, 26, 34)
OUTLINE = (12, 12, 18)
SLATE = (58, 61, 80)
SLATE_LIGHT = (84, 88, 110)
INK = (228, 230, 242)
DIM = (104, 108, 128)
VIOLET = (138, 108, 232)
VIOLET_DARK = (86, 62, 170)
VIOLET_LIGHT = (184, 164, 255)
CYAN = (72, 204, 222)
CYAN_DARK = (30, 120, 140)
EMBER = (208, 72, 88)

# Only the buttons' first four frames are drawn: the engine shows no more.
CAPTION_FRAMES = 4
CAPTION_BUTTON = 18
MDI_BUTTON = 14

# The window frame: thicknesses, the caption's height, the radius of the
# four rounded corners, and the rows the side borders keep fixed. A radius
# one pixel more than the narrowest side keeps every key pixel of a corner
# inside the side borders.
LEFT_WIDTH, RIGHT_WIDTH, CAPTION_HEIGHT, BOTTOM_HEIGHT = 7, 9, 34, 8
CORNER = 8.0
LEFT_BOTTOM_ROWS, RIGHT_BOTTOM_ROWS = 10, 12
# The tiled middles repeat a pattern of this period, a whole number of
# times per tile, so the tiles join without a seam.
SIDE_PERIOD, SIDE_TILE = 6, 12
BOTTOM_PERIOD, BOTTOM_LEFT, BOTTOM_TILE, BOTTOM_RIGHT = 8, 2, 16, 4
HATCH = 8
TOP_LEFT_PART, TOP_TILE, TOP_RIGHT_PART = 84, 24, 40
# Where the caption buttons and the icon sit, in top border columns.
BUTTON_TRAY = (1.0, 5.0, 72.0, 29.0)
ICON_SOCKET_FROM_RIGHT = 24


def frame_palette(active):
    if active:
        return {'ring': [OUTLINE, (78, 82, 108), (40, 42, 58), VIOLET], 'body': (34, 36, 48), 'inner': OUTLINE,
                'rivet': (62, 65, 86), 'field': ((56, 58, 80), (30, 32, 44)), 'tray': ((14, 15, 22), (22, 23, 32)),
                'socket': VIOLET_DARK}
    return {'ring': [(18, 18, 24), (66, 68, 82), (44, 45, 54), (82, 84, 100)], 'body': (42, 43, 52),
            'inner': (24, 24, 30), 'rivet': (56, 57, 66), 'field': ((54, 55, 64), (42, 43, 50)),
            'tray': ((28, 29, 36), (36, 37, 44)), 'socket': (70, 72, 86)}


def corner_depth(dx, dy):
    """Which ring of the frame a pixel lies in, counted from the outer
    edge, dx and dy pixels away from the two edges of a corner; None
    outside the rounded corner."""
    if dx < CORNER and dy < CORNER:
        ex, ey = CORNER - (dx + 0.5), CORNER - (dy + 0.5)
        d2 = ex * ex + ey * ey
        if d2 > CORNER * CORNER:
            return None
        ring = 0
        while ring < CORNER and d2 <= (CORNER - ring - 1) * (CORNER - ring - 1):
            ring += 1
        return ring
    return min(dx, dy)


def caption_row(p, y):
    """The caption's colour at row y: the frame's rings, the field that
    carries the title and the buttons, then the lines above the client."""
    if y < 4:
        return p['ring'][y]
    if y < 30:
        top, bottom = p['field']
        return mix(top, bottom, (y - 4) / 25)
    return {30: p['inner'], 31: p['body'], 32: p['body'], 33: p['inner']}[y]


def side_frame(active, width, bottom_rows):
    """One frame of the left border; the right one is its mirror image."""
    p = frame_palette(active)
    height = CAPTION_HEIGHT + SIDE_TILE + bottom_rows
    img = Image(width, height)
    for y in range(height):
        below = height - 1 - y
        for x in range(width):
            if y < CAPTION_HEIGHT:
                depth = corner_depth(x, y)
                colour = None if depth is None else p['ring'][depth] if depth < 4 else caption_row(p, y)
            elif below < bottom_rows:
                depth = corner_depth(x, below)
                colour = (None if depth is None else p['ring'][depth] if depth < 4 else
                          p['inner'] if x == width - 1 and below >= BOTTOM_HEIGHT - 1 else p['body'])
            else:
                rivet = (y - CAPTION_HEIGHT) % SIDE_PERIOD in (2, 3) and width + 1 <= 2 * x <= width + 3
                colour = (p['ring'][x] if x < 4 else p['inner'] if x == width - 1 else
                          p['rivet'] if rivet else p['body'])
            if colour is not None:
                img.px[y][x] = colour
    return img


def draw_side_borders():
    left = side_by_side([side_frame(s == 'active', LEFT_WIDTH, LEFT_BOTTOM_ROWS) for s in BORDER_STATES])
    right = side_by_side([side_frame(s == 'active', RIGHT_WIDTH, RIGHT_BOTTOM_ROWS).mirrored()
                          for s in BORDER_STATES])
    return left, right


def top_frame(active):
    """The caption: a faint diagonal hatch over the field, a tray under the
    buttons at the left and a socket for the window's icon at the right."""
    p = frame_palette(active)
    width = TOP_LEFT_PART + TOP_TILE + TOP_RIGHT_PART
    img = Image(width, CAPTION_HEIGHT)
    img.shade(lambda x, y: mix(caption_row(p, y), WHITE, 0.05) if 4 <= y < 30 and (x + y) % HATCH == 0
              else caption_row(p, y))
    edge, fill = p['tray']
    outlined(img, rounded(*BUTTON_TRAY, 6.0), edge, solid(fill))
    x0 = width - ICON_SOCKET_FROM_RIGHT
    outlined(img, rounded(x0, 6.0, x0 + 22.0, 28.0, 5.0), p['socket'], solid(fill))
    return img


def draw_top_border():
    return stacked([top_frame(s == 'active') for s in BORDER_STATES])


def draw_bottom_border():
    frames = []
    for state in BORDER_STATES:
        p = frame_palette(state == 'active')
        img = Image(BOTTOM_LEFT + BOTTOM_TILE + BOTTOM_RIGHT, BOTTOM_HEIGHT)

        def colour(x, y, p=p):
            depth = BOTTOM_HEIGHT - 1 - y
            if depth < 4:
                return p['ring'][depth]
            if depth == BOTTOM_HEIGHT - 1:
                return p['inner']
            in_tile = BOTTOM_LEFT <= x < BOTTOM_LEFT + BOTTOM_TILE
            return p['rivet'] if in_tile and depth == 5 and (x - BOTTOM_LEFT) % BOTTOM_PERIOD in (3, 4) else p['body']
        img.shade(colour)
        frames.append(img)
    return stacked(frames)


def draw_text_back():
    """A pill behind the caption text, stretched to the caption's height:
    the rows above and below it are left out, so the frame shows there."""
    frames = []
    for state in TEXT_BACK_STATES:
        outline, fill = (VIOLET_DARK, (24, 25, 36)) if state == 'active' else ((60, 62, 76), (40, 41, 50))
        img = Image(24, CAPTION_HEIGHT)
        outlined(img, rounded(0.0, 6.0, 24.0, 28.0, 8.0), outline, solid(fill))
        frames.append(img)
    return stacked(frames)


# Caption and MDI buttons.

CAPTION_LOOKS = {  # outline, fill, ink
    'normal': (OUTLINE, SLATE, INK),
    'pressed': (OUTLINE, VIOLET_DARK, WHITE),
    'hot': (OUTLINE, VIOLET, WHITE),
    'inactive': ((26, 27, 34), (48, 50, 60), (120, 124, 140)),
    'disabled': ((30, 31, 38), (44, 46, 56), (84, 88, 104)),
}
CLOSE_LOOKS = dict(CAPTION_LOOKS, hot=(OUTLINE, EMBER, WHITE), pressed=(OUTLINE, (150, 44, 58), WHITE))


def glyph_roll_up(s=1.0, ox=0.0, oy=0.0):
    """A chevron pointing up: the button that asks to roll the window up."""
    w = 1.2 * s
    return union(stroke(4.5 * s + ox, 10.5 * s + oy, 8 * s + ox, 6.5 * s + oy, w),
                 stroke(8 * s + ox, 6.5 * s + oy, 11.5 * s + ox, 10.5 * s + oy, w))


def round_button(glyph, looks, state):
    outline, fill, ink = looks[state]
    size = CAPTION_BUTTON
    img = Image(size, size)
    outlined(img, disc(size / 2, size / 2, size / 2), outline, vertical(mix(fill, WHITE, 0.12), fill, 1, size - 2))
    shift = 1.0 if state == 'pressed' else 0.0
    img.paint(glyph(size / 16, shift, shift), ink, box=(3, 3, size - 3, size - 3))
    return img


def draw_caption_button(glyph, looks=CAPTION_LOOKS):
    return side_by_side([round_button(glyph, looks, s) for s in CAPTION_BUTTON_STATES[:CAPTION_FRAMES]])


def draw_mdi_buttons():
    frames = []
    for glyph in (glyph_minimize, glyph_restore, glyph_close):
        looks = CLOSE_LOOKS if glyph is glyph_close else CAPTION_LOOKS
        for state in MDI_BUTTON_STATES:
            outline, fill, ink = looks[state]
            img = Image(MDI_BUTTON, MDI_BUTTON)
            outlined(img, rounded(0.0, 0.0, MDI_BUTTON, MDI_BUTTON, 3.0), outline, solid(fill))
            shift = 1.0 if state == 'pressed' else 0.0
            img.paint(glyph(MDI_BUTTON / 16, shift, shift), ink, box=(2, 2, MDI_BUTTON - 2, MDI_BUTTON - 2))
            frames.append(img)
    return side_by_side(frames)


# Push buttons, check and radio boxes.

PUSH_LOOKS = {  # outline, ring just inside it or None, top, face, bottom
    'normal': (OUTLINE, None, (86, 90, 116), SLATE, (40, 42, 56)),
    'pressed': (OUTLINE, None, (26, 27, 36), (36, 38, 50), (48, 50, 66)),
    'disabled': ((34, 35, 44), None, (52, 54, 64), (46, 48, 58), (40, 42, 50)),
    'hot': (OUTLINE, VIOLET_LIGHT, (98, 102, 132), (68, 72, 96), (44, 46, 62)),
    'default': (VIOLET, None, (86, 90, 116), SLATE, (40, 42, 56)),
}
PUSH_WIDTH, PUSH_HEIGHT = 64, 28


def push_frame(state):
    """A rounded button with key corners; its middle rows are one colour
    so the tiled centre has no seams, the shading lies in the fixed rows."""
    outline, ring, top, face, bottom = PUSH_LOOKS[state]
    w, h = PUSH_WIDTH, PUSH_HEIGHT

    def fill(x, y):
        if y < 7:
            return mix(top, face, (y - 1) / 6)
        if y > h - 9:
            return mix(face, bottom, (y - (h - 9)) / 7)
        return face
    img = Image(w, h)
    outlined(img, rounded(0.0, 0.0, w, h, 5.0), outline, fill)
    if ring:
        band = minus(rounded(1.0, 1.0, w - 1.0, h - 1.0, 4.0), rounded(2.0, 2.0, w - 2.0, h - 2.0, 3.0))
        img.shade(solid(ring), band)
    return img


def draw_push_buttons():
    return side_by_side([push_frame(s) for s in PUSH_BUTTON_STATES])


TICK_SIZE = 15


def tick_looks(disabled):
    return ((64, 66, 80), (34, 35, 44), (90, 94, 110)) if disabled else ((118, 122, 146), (26, 27, 36), CYAN)


def draw_check_boxes():
    frames = []
    for checked, mixed, disabled in TICK_STATES:
        outline, fill, ink = tick_looks(disabled)
        img = Image(TICK_SIZE, TICK_SIZE)
        outlined(img, rounded(0.0, 0.0, 15.0, 15.0, 3.0), outline, solid(fill))
        if checked:
            img.paint(union(stroke(3.6, 7.6, 6.2, 10.2, 1.2), stroke(6.2, 10.2, 11.4, 4.2, 1.2)), ink,
                      box=(1, 1, 14, 14))
        if mixed:
            img.shade(solid(ink), box(4.0, 6.0, 11.0, 9.0))
        frames.append(img)
    return side_by_side(frames)


def draw_radio_boxes():
    frames = []
    for checked, mixed, disabled in TICK_STATES:
        outline, fill, ink = tick_looks(disabled)
        img = Image(TICK_SIZE, TICK_SIZE)
        outlined(img, disc(7.5, 7.5, 7.5), outline, solid(fill))
        if checked or mixed:
            img.paint(disc(7.5, 7.5, 3.2), ink, 1.0 if checked else 0.5, box=(2, 2, 13, 13))
        frames.append(img)
    return side_by_side(frames)


# Small buttons: combo boxes, scroll bars, up-downs.

SMALL_LOOKS = {  # outline, top, bottom, ink
    'normal': (OUTLINE, (72, 76, 98), (50, 52, 68), INK),
    'pressed': (OUTLINE, (36, 38, 50), (54, 56, 72), WHITE),
    'disabled': ((34, 35, 44), (48, 50, 60), (44, 46, 56), DIM),
    'hot': (VIOLET, (84, 88, 116), (58, 61, 80), WHITE),
}


def small_button(w, h, state, radius=3.0):
    outline, top, bottom, _ = SMALL_LOOKS[state]
    img = Image(w, h)
    outlined(img, rounded(0.0, 0.0, float(w), float(h), radius), outline, vertical(top, bottom, 1, h - 2))
    return img


def draw_combo_button():
    return side_by_side([small_button(18, 22, s) for s in FOUR_STATES])


def draw_sunk_edge():
    frames = []
    for state in FOUR_STATES:
        outline = {'normal': (70, 74, 96), 'pressed': VIOLET, 'disabled': (48, 50, 60), 'hot': VIOLET_LIGHT}[state]
        img = Image(16, 22)
        outlined(img, rounded(0.0, 0.0, 16.0, 22.0, 3.0), outline,
                 lambda x, y: OUTLINE if y == 1 else NIGHT)
        frames.append(img)
    return side_by_side(frames)


def size_grip(size):
    img = Image(size, size)
    for i in range(3):
        for j in range(i + 1):
            x, y = size - 3 - 4 * j, size - 3 - 4 * (i - j)
            img.shade(solid(SLATE_LIGHT), box(x - 2, y - 2, x, y))
    return img


def draw_extra_images():
    frames = {'size grip': size_grip(14)}
    for state in FOUR_STATES:
        frames[state] = Image(14, 14)
        frames[state].shade(solid(SMALL_LOOKS[state][3]), arrow('down', 7.0, 7.5, 4.0))
    return side_by_side([frames[name] for name in EXTRA_IMAGE_FRAMES])


def draw_progress():
    trough = Image(20, 24)
    outlined(trough, rounded(0.0, 0.0, 20.0, 24.0, 4.0), OUTLINE, vertical((18, 19, 26), NIGHT, 1, 8))
    bar = Image(20, 24)
    outlined(bar, rounded(0.0, 0.0, 20.0, 24.0, 4.0), CYAN_DARK, vertical(CYAN, CYAN_DARK, 1, 22))
    parts = {'trough': trough, 'bar': bar}
    return side_by_side([parts[name] for name in PROGRESS_FRAMES])


def draw_progress_chunk():
    """One block of the bar and the gap after it, repeated along the bar;
    the gap is left out so the trough shows through."""
    img = Image(10, 24)
    img.shade(lambda x, y: mix(CYAN_DARK, CYAN, 1.0 - (x - 3) * (x - 3) / 16), box=(0, 0, 7, 24))
    return img


# Bars, tabs, headers, menus.

def draw_menu_bar():
    """Two frames stacked; a fixed left and right part, and a middle whose
    faint notches repeat every 8 columns."""
    frames = []
    for state in MENU_BAR_STATES:
        top, bottom, line, notch = (((44, 46, 62), (30, 32, 44), OUTLINE, (58, 61, 80)) if state == 'active' else
                                    ((42, 43, 52), (36, 37, 46), (24, 24, 30), (50, 51, 60)))
        img = Image(96, 20)
        img.shade(vertical(top, bottom, 0, 18))
        img.shade(solid(line), box=(0, 19, 96, 20))
        img.shade(lambda x, y: notch, lambda x, y: 6 <= x < 86 and (int(x) - 6) % 8 == 0, (0, 1, 96, 2))
        img.shade(solid(VIOLET if state == 'active' else (70, 72, 86)), box=(1, 5, 3, 15))
        frames.append(img)
    return stacked(frames)


def draw_group_box_edge():
    frames = []
    for state in GROUP_BOX_EDGE_STATES:
        line = (70, 74, 96) if state == 'enabled' else (52, 54, 66)
        img = Image(30, 30)
        img.shade(solid(line), minus(rounded(0.0, 0.0, 30.0, 30.0, 4.0), rounded(1.0, 1.0, 29.0, 29.0, 3.0)))
        img.shade(solid(OUTLINE), minus(rounded(1.0, 1.0, 29.0, 29.0, 3.0), rounded(2.0, 2.0, 28.0, 28.0, 2.0)))
        frames.append(img)
    return side_by_side(frames)


def draw_group_box():
    img = Image(40, 18)
    outlined(img, rounded(0.0, 0.0, 40.0, 18.0, 6.0), (70, 74, 96), solid(NIGHT))
    return img


def draw_toolbars():
    looks = {'pressed': (OUTLINE, (30, 32, 42)), 'disabled': ((44, 46, 56), FACE),
             'hot': (VIOLET, (66, 70, 94)), 'checked': (CYAN_DARK, (34, 44, 56))}
    frames = []
    for state in TOOLBAR_STATES:
        img = Image(24, 24)
        if state in looks:
            outline, fill = looks[state]
            outlined(img, rounded(0.0, 0.0, 24.0, 24.0, 4.0), outline, solid(fill))
        frames.append(img)
    return side_by_side(frames)


def draw_tabs():
    frames = []
    for state in TAB_STATES:
        outline, fill, accent = {
            'normal': (OUTLINE, (44, 46, 62), None),
            'selected': (OUTLINE, (62, 65, 86), VIOLET),
            'disabled': ((34, 35, 44), (40, 42, 50), None),
            'hot': (OUTLINE, (54, 57, 76), CYAN_DARK),
            'focused': (OUTLINE, (62, 65, 86), CYAN),
        }[state]
        img = Image(22, 24)
        shape = rounded(0.0, 0.0, 22.0, 30.0, 5.0)
        outlined(img, lambda x, y: shape(x, y) and y < 24.0 or (0.0 < x < 22.0 and 24.0 <= y < 25.0),
                 outline, solid(fill))
        if accent:
            img.shade(solid(accent), box(4, 1, 18, 3))
        frames.append(img)
    return side_by_side(frames)


def draw_tab_border():
    """The body under the tabs, drawn opaque: no key pixels."""
    img = Image(40, 40, FACE)
    img.shade(solid(OUTLINE), minus(box(0, 0, 40, 40), box(1, 1, 39, 39)))
    img.shade(solid(SLATE), minus(box(1, 1, 39, 39), box(2, 2, 38, 38)))
    return img


def draw_status_bar_edges():
    frames = []
    for kind in STATUS_PANEL_FRAMES:
        fill, top = ((30, 32, 42), OUTLINE) if kind != 'raised' else ((52, 55, 72), SLATE_LIGHT)
        img = Image(40, 20)
        right = 40.0 if kind == 'last' else 37.0
        outlined(img, rounded(0.0, 1.0, right, 19.0, 3.0), (20, 21, 28),
                 lambda x, y, top=top, fill=fill: top if y == 2 else fill)
        if kind != 'last':
            img.shade(solid(SLATE_LIGHT), box(38, 3, 39, 17))
        frames.append(img)
    return side_by_side(frames)


def draw_header_bar():
    frames = []
    for state in HEADER_STATES:
        fill, accent = {
            'normal': ((46, 48, 64), SLATE),
            'pressed': ((30, 32, 42), VIOLET_DARK),
            'disabled': ((40, 42, 50), (48, 50, 60)),
            'hot': ((54, 57, 76), VIOLET),
            'checked': ((46, 48, 64), CYAN),
        }[state]
        img = Image(20, 22)
        outlined(img, lambda x, y: rounded(0.0, 0.0, 20.0, 30.0, 2.0)(x, y) and y < 22.0, fill,
                 lambda x, y, fill=fill: mix(fill, WHITE, 0.1) if y < 2 else fill)
        img.shade(solid(accent), box=(0, 19, 20, 22))
        img.shade(solid(OUTLINE), box=(17, 3, 18, 17))
        img.shade(solid(SLATE_LIGHT), box=(18, 3, 19, 17))
        frames.append(img)
    return side_by_side(frames)


def draw_menu_items():
    """30 x 22 frames. The normal item leaves the popup's background to
    show; the separator's lines sit low, where a short separator item shows
    the frame's lower rows."""
    frames = []
    for state in MENU_ITEM_STATES:
        img = Image(30, 22)
        if state == 'separator':
            img.shade(solid(OUTLINE), box=(4, 16, 26, 17))
            img.shade(solid((62, 65, 86)), box=(4, 17, 26, 18))
        elif state in ('selected', 'unfocused'):
            outline, top, bottom = ((VIOLET, (112, 86, 214), VIOLET_DARK) if state == 'selected' else
                                    ((70, 74, 96), (58, 61, 80), (46, 48, 64)))
            outlined(img, rounded(1.0, 1.0, 29.0, 21.0, 4.0), outline,
                     lambda x, y, top=top, bottom=bottom: mix(top, bottom, 0.0 if y < 4 else 1.0 if y > 16
                                                              else (y - 4) / 12))
        frames.append(img)
    return side_by_side(frames)


def draw_menu_background():
    """The popup menu, drawn opaque: a 3-pixel ring around the field."""
    img = Image(60, 48, (30, 32, 42))
    for depth, colour in enumerate([OUTLINE, VIOLET_DARK, (40, 42, 56)]):
        img.shade(solid(colour), minus(box(depth, depth, 60 - depth, 48 - depth),
                                       box(depth + 1, depth + 1, 59 - depth, 47 - depth)))
    return img


# Scroll bars.

SCROLL = 17


def scroll_button(direction, state):
    img = small_button(SCROLL, SCROLL, state, 3.0)
    img.shade(solid(SMALL_LOOKS[state][3]), arrow(direction, 8.5, 8.5, 4.0), (2, 2, 15, 15))
    return img


def plain_track(state):
    """The track frames of the button strip are drawn opaque."""
    fill = {'normal': NIGHT, 'pressed': (18, 19, 26), 'disabled': (32, 33, 40)}[state]
    img = Image(SCROLL, SCROLL, fill)
    img.shade(solid(OUTLINE), box=(0, 0, SCROLL, 1))
    img.shade(solid(OUTLINE), box=(0, SCROLL - 1, SCROLL, SCROLL))
    return img


def grip_marks(across):
    img = Image(SCROLL, SCROLL)
    for i in (-3, 0, 3):
        if across == 'h':
            img.shade(solid(INK), box(8 + i, 5, 9 + i, 12))
        else:
            img.shade(solid(INK), box(5, 8 + i, 12, 9 + i))
    return img


def draw_scrollbar():
    frames = {'%s %s' % (d, s): scroll_button(d, s) for d in SCROLL_ARROWS for s in FOUR_STATES}
    frames.update({'corner': Image(SCROLL, SCROLL, (30, 32, 42)), 'size grip': size_grip(SCROLL),
                   'horizontal grip marks': grip_marks('h'), 'vertical grip marks': grip_marks('v')})
    frames.update(('track %s' % s, plain_track(s)) for s in SCROLL_TRACK_STATES)
    return side_by_side([frames[name] for name in SCROLLBAR_FRAMES])


def track(state):
    """A horizontal track, a groove with rounded ends whose middle columns
    are all alike."""
    fill = {'normal': NIGHT, 'pressed': (18, 19, 26), 'disabled': (32, 33, 40), 'hot': (30, 32, 44)}[state]
    img = Image(16, SCROLL)
    outlined(img, rounded(0.0, 1.0, 16.0, 16.0, 3.0), OUTLINE, solid(fill))
    return img


def draw_scroll_tracks():
    horz = [track(s) for s in FOUR_STATES]
    return side_by_side(horz), side_by_side([f.rotated() for f in horz])


def thumb(state):
    top, bottom = {'normal': ((98, 102, 132), (70, 74, 96)), 'pressed': (VIOLET, VIOLET_DARK),
                   'hot': ((118, 122, 156), (84, 88, 116))}[state]
    img = Image(24, SCROLL)
    outlined(img, rounded(0.0, 2.0, 24.0, 15.0, 6.0), OUTLINE, vertical(top, bottom, 3, 13))
    return img


def draw_scroll_thumbs():
    horz = [thumb(s) for s in SCROLL_THUMB_STATES]
    return side_by_side(horz), side_by_side([f.rotated() for f in horz])


THUMB_LOOKS = {  # outline, left, right
    'normal': (OUTLINE, (98, 102, 132), (64, 67, 88)),
    'pressed': (OUTLINE, VIOLET, VIOLET_DARK),
    'disabled': ((34, 35, 44), (52, 54, 64), (44, 46, 56)),
    'hot': (VIOLET_LIGHT, (112, 116, 148), (74, 78, 102)),
    'focused': (CYAN, (98, 102, 132), (64, 67, 88)),
}


def trackbar_thumb(pointing, state):
    """A 13 x 22 thumb, standing; pointing up or down, or a plain bar."""
    outline, left, right = THUMB_LOOKS[state]
    img = Image(13, 22)
    if pointing == 'up':
        shape = convex([(6.5, 0.0), (13.0, 6.5), (13.0, 22.0), (0.0, 22.0), (0.0, 6.5)])
    elif pointing == 'down':
        shape = convex([(0.0, 0.0), (13.0, 0.0), (13.0, 15.5), (6.5, 22.0), (0.0, 15.5)])
    else:
        shape = rounded(0.0, 0.0, 13.0, 22.0, 3.0)
    outlined(img, shape, outline, horizontal(left, right, 1, 11))
    return img


def draw_trackbar_thumbs():
    """Standing thumbs for horizontal track bars, lying ones (turned a
    quarter) for vertical ones: the up thumb turned clockwise points right."""
    stand = {p: [trackbar_thumb(p, s) for s in TRACKBAR_THUMB_STATES] for p in ('bar', 'up', 'down')}
    return {'horz': side_by_side(stand['bar']), 'up': side_by_side(stand['up']),
            'down': side_by_side(stand['down']), 'vert': side_by_side([f.rotated() for f in stand['bar']]),
            'right': side_by_side([f.rotated() for f in stand['up']]),
            'left': side_by_side([f.rotated() for f in stand['down']])}


def draw_up_downs():
    horz = side_by_side([small_button(14, 18, s, 3.0) for _ in UP_DOWN_HORZ_BUTTONS for s in FOUR_STATES])
    glyphs = []
    for name in UP_DOWN_GLYPHS:
        direction, disabled = name.split(' ')[0], name.endswith('disabled')
        one = Image(10, 9)
        one.shade(solid(DIM if disabled else INK), arrow(direction, 5.0, 4.5, 3.5))
        glyphs.append(one)
    vert = []
    for direction in UP_DOWN_VERT_BUTTONS:
        for s in FOUR_STATES:
            img = small_button(16, 11, s, 2.5)
            img.shade(solid(SMALL_LOOKS[s][3]), arrow(direction, 8.0, 5.5, 3.0), (2, 1, 14, 10))
            vert.append(img)
    return horz, side_by_side(glyphs), side_by_side(vert)


def images():
    left, right = draw_side_borders()
    horz_track, vert_track = draw_scroll_tracks()
    horz_thumb, vert_thumb = draw_scroll_thumbs()
    thumbs = draw_trackbar_thumbs()
    updown_horz, updown_glyph, updown_vert = draw_up_downs()
    drawn = {
        'left.bmp': left, 'right.bmp': right, 'top.bmp': draw_top_border(), 'bottom.bmp': draw_bottom_border(),
        'textback.bmp': draw_text_back(),
        'close.bmp': draw_caption_button(glyph_close, CLOSE_LOOKS),
        'maximize.bmp': draw_caption_button(glyph_maximize), 'restore.bmp': draw_caption_button(glyph_restore),
        'minimize.bmp': draw_caption_button(glyph_minimize), 'rollup.bmp': draw_caption_button(glyph_roll_up),
        'mdicontrols.bmp': draw_mdi_buttons(),
        'buttons.bmp': draw_push_buttons(), 'check.bmp': draw_check_boxes(), 'radio.bmp': draw_radio_boxes(),
        'progress.bmp': draw_progress(), 'chunk.bmp': draw_progress_chunk(), 'menubar.bmp': draw_menu_bar(),
        'groupboxedge.bmp': draw_group_box_edge(), 'groupbox.bmp': draw_group_box(),
        'toolbars.bmp': draw_toolbars(), 'tabs.bmp': draw_tabs(), 'tabborder.bmp': draw_tab_border(),
        'statusbaredges.bmp': draw_status_bar_edges(), 'combobutton.bmp': draw_combo_button(),
        'sunkedge.bmp': draw_sunk_edge(), 'extraimages.bmp': draw_extra_images(),
        'headerbar.bmp': draw_header_bar(), 'menuitem.bmp': draw_menu_items(),
        'menubackground.bmp': draw_menu_background(), 'scrollbar.bmp': draw_scrollbar(),
        'horzscroll.bmp': horz_track, 'vertscroll.bmp': vert_track,
        'horzscrollthumb.bmp': horz_thumb, 'vertscrollthumb.bmp': vert_thumb,
        'updownhorz.bmp': updown_horz, 'updownglyph.bmp': updown_glyph, 'updownvert.bmp': updown_vert,
    }
    drawn.update(('thumb%s.bmp' % name, image) for name, image in thumbs.items())
    return drawn
