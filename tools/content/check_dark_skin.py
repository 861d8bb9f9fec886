#!/usr/bin/env python3
"""Reads the dark skin the way the skin engine reads a skin (with
check_skin.py's reader) and checks what a second skin must hold.

    check_dark_skin.py DARK_DIR PRODUCT_DIR

- Everything the installer's skin in PRODUCT_DIR builds, the dark skin
  builds too, with an image: every object and its second image, the check
  and radio boxes, every caption button Action, the MDI buttons, the
  colours it sets.
- Every image is a 24-bit BMP named by some key.
- Magenta only where it is left out: never in a frame that a painter draws
  opaque (the menu bar and the popup background, the tab body, the scroll
  bar's corner and tracks, an object whose Trans is 0), and no pixel close
  to it anywhere: a shape smoothed into the key colour leaves a fringe
  that is neither drawn nor left out.
- Light text on dark faces: every text colour, also those of the objects,
  is far lighter than what it is drawn on.
- The window's four corners are key pixels, cut out of the window.

Prints every fault; the exit status is 1 when there is one.
"""
import os
import struct
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_skin import Skin, bmp_size, build  # noqa: E402
from skin_frames import SCROLLBAR_FRAMES, frame_number  # noqa: E402

KEY = (255, 0, 255)
SCROLLBAR_OPAQUE_FRAMES = [frame_number(SCROLLBAR_FRAMES, name)
                           for name in ('corner', 'track normal', 'track pressed', 'track disabled')]
# Light text must stand this far above its background, in luma out of 255.
CONTRAST = 80


def pixels(data):
    """The rows of a 24-bit BMP, top row first, as (red, green, blue)."""
    offset = struct.unpack('<I', data[10:14])[0]
    width, height = struct.unpack('<ii', data[18:26])
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(abs(height)):
        line = abs(height) - 1 - y if height > 0 else y
        raw = data[offset + line * stride:offset + line * stride + width * 3]
        rows.append([(raw[3 * x + 2], raw[3 * x + 1], raw[3 * x]) for x in range(width)])
    return rows


def near_key(p):
    return p != KEY and p[0] >= 200 and p[2] >= 200 and p[1] <= 80


def luma(c):
    return (2 * c[0] + 5 * c[1] + c[2]) / 8


def drawn_images(skin, slots):
    """(section, key, how) of every image the painters draw; how is
    'keyed', 'opaque', or a list of the frames drawn opaque out of n."""
    def by_trans(slot):
        return 'keyed' if slots[slot] and slots[slot]['trans'] == 1 else 'opaque'

    found = [('Personality', side, by_trans('Border' + side)) for side in ('Left', 'Right', 'Top', 'Bottom')]
    found += [('Personality', 'TextBack', 'keyed'), ('Personality', 'menuBar', 'opaque'),
              ('MDICONTROLS', 'Image', 'keyed'), ('Buttons', 'Bitmap', by_trans('Buttons')),
              ('Buttons', 'CheckButton', 'keyed'), ('Buttons', 'RadioButton', 'keyed'),
              ('Progress', 'Bitmap', by_trans('Progress')), ('Progress', 'Chunk', by_trans('Progress')),
              ('Tabs', 'Border', 'opaque'), ('ComboButton', 'Image', 'keyed'), ('ExtraImages', 'Image', 'keyed'),
              ('MenuBackground', 'Image', 'opaque'), ('UpDown.Horz', 'GlyphImage', 'keyed'),
              ('UpDown.Vert', 'GlyphImage', 'keyed'),
              ('Scrollbar', 'Image', (SCROLLBAR_OPAQUE_FRAMES, len(SCROLLBAR_FRAMES)))]
    found += [(b['name'], 'ButtonImage', 'keyed') for b in skin.caption_buttons if b['name']]
    for slot, section in (('GroupBoxEdge', 'GroupBoxEdge'), ('GroupBox', 'GroupBox'), ('Toolbars', 'Toolbars'),
                          ('Tabs', 'Tabs'), ('StatusBarEdges', 'StatusBarEdges'), ('SunkEdge', 'SunkEdge'),
                          ('Headerbar', 'Headerbar'), ('MenuItem', 'MenuItem'), ('HorzScroll', 'HorzScroll'),
                          ('VertScroll', 'VertScroll'), ('HorzScrollThumb', 'HorzScrollThumb'),
                          ('VertScrollThumb', 'VertScrollThumb'), ('UpDownHorz', 'UpDown.Horz'),
                          ('UpDownVert', 'UpDown.Vert')):
        found.append((section, 'Image', by_trans(slot)))
    for name in ('Horz', 'Vert', 'Left', 'Right', 'Up', 'Down'):
        found.append(('Trackbar.Thumb' + name, 'Image', by_trans('TrackbarThumb' + name)))
    return found


def image_fault(name, rows, opaque):
    """The first misplaced magenta pixel of one image, or None; opaque
    lists the column ranges drawn opaque."""
    for y, row in enumerate(rows):
        for x, p in enumerate(row):
            if near_key(p):
                return '%s: pixel %d,%d is %r, close to the key colour' % (name, x, y, p)
            if p == KEY and any(a <= x < b for a, b in opaque):
                return '%s: key pixel %d,%d where it is drawn opaque' % (name, x, y)
    return None


def magenta_faults(skin, slots):
    faults = []
    for section, key, how in drawn_images(skin, slots):
        name = skin.ini.read_string(section, key, '')
        data = skin.files.get(name.lower())
        if not data:
            continue
        rows = pixels(data)
        if how == 'keyed':
            opaque = []
        elif how == 'opaque':
            opaque = [(0, len(rows[0]))]
        else:
            frames, n = how
            width = len(rows[0]) // n
            opaque = [((f - 1) * width, f * width) for f in frames]
        fault = image_fault('%s (%s %s)' % (name, section, key), rows, opaque)
        if fault:
            faults.append(fault)
    return faults


def coverage_faults(dark, dark_slots, product, product_slots):
    faults = []
    for name, o in product_slots.items():
        d = dark_slots.get(name)
        if o is None:
            continue
        if d is None or (o.get('image') and not d.get('image')):
            faults.append('%s: the installer\'s skin has it, the dark skin does not' % name)
            continue
        for field in ('second', 'check', 'radio'):
            if o.get(field) and not d.get(field):
                faults.append('%s: no %s image' % (name, field))
    for b in product.caption_buttons:
        same = [c for c in dark.caption_buttons if c['action'] == b['action'] and c['name'].startswith('BUTTON') ==
                b['name'].startswith('BUTTON')]
        if not same or (b['image'] and not all(c['image'] for c in same)):
            faults.append('caption button Action %d: missing or without image' % b['action'])
    for key in dict(product.colours):
        if product.ini.has('Colours', key) and not dark.ini.has('Colours', key):
            faults.append('colour %s: not set' % key)
    if product.colour_sections and not dark.colour_sections:
        faults.append('no [ColourN] sections')
    for name, data in dark.files.items():
        if name.endswith('.bmp'):
            info = bmp_size(data)
            if not info or info[2] != 24:
                faults.append('%s: not a 24-bit BMP' % name)
            if name not in dark.loaded:
                faults.append('%s: named by no key' % name)
    return faults


def text_faults(skin, slots):
    c = skin.colours
    if not isinstance(c['ButtonFace'], tuple) or luma(c['ButtonFace']) >= CONTRAST:
        return ['ButtonFace %r is not a dark colour' % (c['ButtonFace'],)]
    face = c['ButtonFace']
    pairs = [('WindowText', c['WindowText'], face), ('ButtonText', c['ButtonText'], face),
             ('MenuText', c['MenuText'], c['Menu']), ('MenuBarText', c['MenuBarText'], c['Menubar']),
             ('HilightText', c['HilightText'], c['Hilight']), ('TitleTextActive', c['TitleTextActive'], face),
             ('TitleTextNoActive', c['TitleTextNoActive'], face),
             ('Title active text', slots['Title']['active text'], face),
             ('Title inactive text', slots['Title']['inactive text'], face)]
    for i, key in enumerate(('NormalColour2', 'MouseOverColour2', 'PressedColour2')):
        pairs.append(('Buttons ' + key, skin.colour('Buttons', key, c['ButtonText']), face))
        pairs += [('%s %s' % (name, key), o['colours2'][i], face) for name, o in slots.items() if o and 'colours2' in o]
    faults = []
    for what, text, background in pairs:
        if not isinstance(text, tuple) or not isinstance(background, tuple) or luma(text) - luma(background) < CONTRAST:
            faults.append('%s %r on %r: not light enough' % (what, text, background))
    return faults


def corner_faults(skin, slots):
    faults = []
    for side, column in (('Left', 0), ('Right', -1)):
        o = slots['Border' + side]
        data = skin.files.get(skin.ini.read_string('Personality', side, '').lower())
        if not data or not o['frames']:
            faults.append('Border%s: no image' % side)
            continue
        rows = pixels(data)
        width = len(rows[0]) // o['frames']
        for f in range(o['frames']):
            x = f * width + (column % width)
            if rows[0][x] != KEY or rows[-1][x] != KEY:
                faults.append('Border%s frame %d: a window corner is not rounded by a key pixel' % (side, f + 1))
    return faults


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: check_dark_skin.py DARK_DIR PRODUCT_DIR')
    dark, product = Skin(sys.argv[1]), Skin(sys.argv[2])
    dark_slots, product_slots = build(dark), build(product)
    faults = (coverage_faults(dark, dark_slots, product, product_slots) + magenta_faults(dark, dark_slots) +
              text_faults(dark, dark_slots) + corner_faults(dark, dark_slots))
    for line in faults:
        print('FAULT', line)
    print('%d faults' % len(faults))
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
