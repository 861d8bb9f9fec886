#!/usr/bin/env python3
"""Reads a skin folder the way the skin engine reads the stored skin and
checks that it gives the values the installer's skin must give.

    check_skin.py SKIN_DIR

SKIN_DIR holds one definition (a file whose name contains ".ini") and the
BMP images it names. The definition is read with the engine's rules: lines
split at CR, LF or CR LF and trimmed, ";" comments, the first of two equal
section headers and the first of two equal keys winning, empty values
counting as absent, "$" and "0x" hexadecimal integers, colours as up to
three numbers. Image sizes come from the BMP headers. Prints the objects
as built, one line each, then every difference from the expected values;
the exit status is 1 when there is one.
"""
import os
import re
import struct
import sys

WHITE = (255, 255, 255)
NO_COLOUR = 'none'


def system(index):
    return 'system %d' % index


class QuickIni:
    def __init__(self, data):
        text = data.decode('latin-1').split('\0', 1)[0]
        self.lines = []
        for line in re.split('\r\n|\r|\n', text):
            line = line.strip(''.join(chr(c) for c in range(33)))
            if line and not line.startswith(';'):
                self.lines.append(line)
        self.headers = []
        for i, line in enumerate(self.lines):
            if line.startswith('[') and line.endswith(']'):
                self.headers.append((line[1:-1], i))

    def find_section(self, name):
        for header, index in self.headers:
            if header.lower() == name.lower():
                return index
        return -1

    def sections(self):
        return [name.strip() for name, _ in self.headers]

    def read_string(self, section, key, default):
        i = self.find_section(section)
        if i < 0:
            return default
        for line in self.lines[i + 1:]:
            if line.startswith('[') and line.endswith(']'):
                break
            if '=' not in line:
                continue
            name, value = line.split('=', 1)
            if name.strip().lower() == key.lower():
                value = value.strip()
                return value if value else default
        return default

    def has(self, section, key):
        return self.read_string(section, key, '') != ''

    def read_integer(self, section, key, default):
        s = self.read_string(section, key, '')
        if len(s) > 2 and s[:2] in ('0x', '0X'):
            s = '$' + s[2:]
        m = re.fullmatch(r'([+-]?)(?:(\d+)|\$([0-9A-Fa-f]+))', s)
        if not m:
            return default
        value = int(m.group(2)) if m.group(2) is not None else int(m.group(3), 16)
        value = -value if m.group(1) == '-' else value
        return value if -2 ** 31 <= value < 2 ** 31 else default


def parse_colour(text):
    numbers, digits = [], ''
    for ch in text.strip():
        if '0' <= ch <= '9':
            digits += ch
        elif digits:
            if len(numbers) < 3:
                numbers.append(int(digits))
            digits = ''
    if len(numbers) == 2:
        numbers.append(int(digits) if digits else 0)
    rgb = (numbers + [0, 0, 0])[:3]
    return tuple(n & 0xFF for n in rgb)


def bmp_size(data):
    """(width, height, bits per pixel) of a Windows BMP, or None."""
    if len(data) < 30 or data[:2] != b'BM':
        return None
    header_size, width, height, _, bits = struct.unpack('<IiiHH', data[14:30])
    if header_size < 12:
        return None
    return width, abs(height), bits


class Skin:
    def __init__(self, folder):
        self.files = {}
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), 'rb') as f:
                self.files.setdefault(name.lower(), f.read())
        ini_name = next((n for n in self.files if '.ini' in n), None)
        self.ini = QuickIni(self.files[ini_name] if ini_name else b'')
        self.loaded = set()

    def bitmap(self, value):
        """Size of the image a definition value names, or None when it
        names none: only the last path part counts, and it must end in
        ".bmp" exactly."""
        name = re.split(r'[\\:]', value)[-1]
        dot = name.rfind('.')
        if not name or dot < 0 or name[dot:] != '.bmp':
            return None
        data = self.files.get(name.lower(), b'')
        if not data:
            return None
        self.loaded.add(name.lower())
        size = bmp_size(data)
        return size[:2] if size else None

    def colour(self, section, key, default):
        s = self.ini.read_string(section, key, '')
        return parse_colour(s) if s else default


def image_object(skin, section, key='Image', second=None, style=True, colours=True):
    """The builders of the section objects: nothing without an image key."""
    ini = skin.ini
    value = ini.read_string(section, key, '')
    if not value:
        return None
    o = {'image': skin.bitmap(value),
         'margins': tuple(ini.read_integer(section, k, 0)
                          for k in ('LeftWidth', 'TopHeight', 'RightWidth', 'BottomHeight')),
         'trans': ini.read_integer(section, 'Trans', 0), 'tile': ini.read_integer(section, 'Tile', 0)}
    if style:
        o['style'] = ini.read_integer(section, 'Style', 0)
    if colours:
        o['colours'] = tuple(ini.read_integer(section, k, -1)
                             for k in ('NormalColour', 'MouseOverColour', 'PressedColour'))
        o['colours2'] = tuple(skin.colour(section, k, skin.colours['ButtonText'])
                              for k in ('NormalColour2', 'MouseOverColour2', 'PressedColour2'))
        if o['tile'] > 1:
            o['tile'] = 0
    if second:
        s = ini.read_string(section, second, '')
        o['second'] = skin.bitmap(s) if s else None
    return o


COLOUR_DEFAULTS = [
    ('WindowText', system(8)), ('ButtonFace', system(15)), ('Scrollbar', system(0)), ('HilightText', system(14)),
    ('Hilight', system(13)), ('Menubar', None), ('Menu', system(4)), ('MenuText', system(7)),
    ('ButtonText', system(18)), ('ButtonHilight', system(20)), ('Buttonlight', system(20)),
    ('ButtonShadow', system(16)), ('ButtonDkShadow', system(21)), ('MenuBarText', system(7)),
    ('TitleTextActive', system(9)), ('TitleTextNoActive', system(19)),
]
FIXED_FRAMES = {'Title': 2, 'Buttons': 5, 'Progress': 2, 'MenuBar': 2, 'GroupBoxEdge': 2, 'GroupBox': 1,
                'Toolbars': 5, 'Tabs': 5, 'StatusBarEdges': 3, 'ComboButton': 4, 'SunkEdge': 4, 'ExtraImages': 5,
                'Headerbar': 5, 'MenuItem': 5, 'MenuBackground': 1, 'Scrollbar': 23, 'HorzScroll': 4,
                'VertScroll': 4, 'UpDownHorz': 8, 'UpDownVert': 8}
TRACKBAR_THUMBS = ['Horz', 'Vert', 'Left', 'Right', 'Up', 'Down']


def build(skin, scroll_arrow_width=17):
    ini = skin.ini
    slots = {}
    skin.skin_name = ini.read_string('TitlebarSkin', 'SkinName', '')
    for name in ('Left', 'Right', 'Top', 'Bottom'):
        a = ini.read_integer('Personality', name + 'TopHeight', 0)
        b = ini.read_integer('Personality', name + 'BotHeight', 0)
        slots['Border' + name] = {
            'image': skin.bitmap(ini.read_string('Personality', name, '')),
            'frames': ini.read_integer('Personality', name + 'Frame', 1),
            'tile': ini.read_integer('Personality', name + 'Stretch', 1),
            'trans': ini.read_integer('Personality', name + 'Trans', 1),
            'margins': (0, a, 0, b) if name in ('Left', 'Right') else (a, 0, b, 0)}

    skin.colours = {}
    for key, default in COLOUR_DEFAULTS:
        skin.colours[key] = skin.colour('Colours', key, skin.colours['ButtonFace'] if default is None else default)
    skin.colour_sections = [skin.colour(s, 'color', system(8)) for s in ini.sections()
                            if s.upper().startswith('COLOUR') and s.upper() != 'COLOURS']
    skin.custom_colours = [skin.colour('Customcolors', 'Color%d' % n, WHITE) for n in range(10)]

    skin.caption_buttons = []
    for s in ini.sections():
        u = s.upper()
        if not u.startswith('BUTTON') or u in ('BUTTON', 'BUTTONS', 'BUTTON.RADIO', 'BUTTON.CHECKBOX'):
            continue
        if ini.read_integer(s, 'Action', 0) == -1 and ini.read_integer(s, 'Visibility', -1) != 0:
            continue
        action = ini.read_integer(s, 'Action', 0)
        b = {'name': u, 'action': action, 'align': ini.read_integer(s, 'Align', 0),
             'x': ini.read_integer(s, 'Xcoord', 0), 'y': ini.read_integer(s, 'Ycoord', 0),
             'visibility': ini.read_integer(s, 'Visibility', 0),
             'visibility1': ini.read_integer(s, 'Visibility1', -1 if action == -1 else 0),
             'combine': ini.read_integer(s, 'CombineOp', -1),
             'frames': ini.read_integer(s, 'frame', 0),
             'image': skin.bitmap(ini.read_string(s, 'ButtonImage', ''))}
        if b['frames'] == 0:
            b['frames'] = 6
            if b['image']:
                w, h = b['image']
                b['frames'] = 3 if w / h <= 3.8 else 6
                if action < 0:
                    b['frames'] = 6
            if action in (3, 11):
                b['image'] = None
        skin.caption_buttons.append(b)
    mdi = skin.bitmap(ini.read_string('MDICONTROLS', 'Image', ''))
    for i, action in enumerate((7, 8, 9)):
        b = {'name': '', 'action': action, 'align': 100, 'x': 0, 'y': 0, 'visibility': 100, 'visibility1': 100,
             'combine': 0, 'frames': 4, 'image': None}
        if mdi and mdi[0] // 12 > 0:
            a = mdi[0] // 12
            b['image'] = (4 * a, mdi[1])
            b['x'] = (a + 4) * (3 - i)
        skin.caption_buttons.append(b)

    slots['Buttons'] = {
        'image': skin.bitmap(ini.read_string('Buttons', 'Bitmap', '')),
        'margins': tuple(ini.read_integer('Buttons', k, 0)
                         for k in ('LeftWidth', 'TopHeight', 'RightWidth', 'BottomHeight')),
        'trans': ini.read_integer('Buttons', 'Trans', 0), 'tile': ini.read_integer('Buttons', 'Tile', 0),
        'check': skin.bitmap(ini.read_string('Buttons', 'CheckButton', '')),
        'radio': skin.bitmap(ini.read_string('Buttons', 'RadioButton', '')),
        'colours': tuple(ini.read_integer('Buttons', k, -1)
                         for k in ('NormalColour', 'MouseOverColour', 'PressedColour')),
        'radio frames': ini.read_integer('Buttons', 'RadioButtonFrame', 0),
        'check frames': ini.read_integer('Buttons', 'CheckButtonFrame', 0),
        'has colours2': tuple(ini.has('Buttons', k) for k in ('NormalColour2', 'MouseOverColour2', 'PressedColour2')),
    }
    title = {'image': skin.bitmap(ini.read_string('Personality', 'TextBack', '')),
             'margins': (ini.read_integer('Personality', 'TextShift', 0),
                         ini.read_integer('Personality', 'TextShiftVert', 0),
                         ini.read_integer('Personality', 'TextRightClip', 0), 0),
             'trans': 0, 'tile': 0,
             'alignment': ini.read_integer('Personality', 'TextAlignment', 0),
             'font height': ini.read_integer('Fonts', 'FontHeight', 14)}
    for field, prefix in (('active text', 'ActiveText'), ('inactive text', 'InActiveText')):
        rgb = [ini.read_integer('Personality', prefix + c, -1) for c in 'RGB']
        title[field] = tuple(v & 0xFF for v in rgb) if min(rgb) >= 0 else NO_COLOUR
    slots['Title'] = title

    slots['Progress'] = image_object(skin, 'Progress', 'Bitmap', 'Chunk', colours=False)
    value = ini.read_string('Personality', 'menuBar', '')
    slots['MenuBar'] = None if not value else {
        'image': skin.bitmap(value), 'trans': 0, 'tile': ini.read_integer('Personality', 'TileMenu', 0),
        'margins': (ini.read_integer('Personality', 'TileLeftMenu', 1), 0,
                    ini.read_integer('Personality', 'TileRightMenu', 1), 0)}
    slots['GroupBoxEdge'] = image_object(skin, 'GroupBoxEdge')
    slots['GroupBox'] = image_object(skin, 'GroupBox')
    slots['Toolbars'] = image_object(skin, 'Toolbars')
    slots['Tabs'] = image_object(skin, 'Tabs', second='Border', style=False)
    slots['StatusBarEdges'] = image_object(skin, 'StatusBarEdges')
    slots['ComboButton'] = image_object(skin, 'ComboButton', second='SecondImage', style=False)
    for name in ('SunkEdge', 'ExtraImages', 'Headerbar', 'MenuItem', 'MenuBackground', 'Scrollbar',
                 'HorzScroll', 'VertScroll', 'HorzScrollThumb', 'VertScrollThumb'):
        slots[name] = image_object(skin, name)
    for name in TRACKBAR_THUMBS:
        slots['TrackbarThumb' + name] = image_object(skin, 'Trackbar.Thumb' + name)
    slots['UpDownHorz'] = image_object(skin, 'UpDown.Horz', second='GlyphImage', style=False)
    slots['UpDownVert'] = image_object(skin, 'UpDown.Vert', second='GlyphImage', style=False)

    for name, frames in FIXED_FRAMES.items():
        if slots.get(name):
            slots[name]['frames'] = frames
    for name in TRACKBAR_THUMBS:
        if slots['TrackbarThumb' + name]:
            slots['TrackbarThumb' + name]['frames'] = 5
    for name in ('HorzScrollThumb', 'VertScrollThumb'):
        if slots[name]:
            slots[name]['frames'] = ini.read_integer(name, 'FrameCount', 3)
    buttons = slots['Buttons']
    for field, image in (('radio frames', 'radio'), ('check frames', 'check')):
        if buttons[field] == 0:
            w, h = buttons[image] or (0, 0)
            buttons[field] = max(4, w // (13 if h < 16 else 16))

    # The combo box frames composed from the sunken edge and the button.
    sunk, combo = slots['SunkEdge'], slots['ComboButton']
    if sunk and combo:
        w = scroll_arrow_width + 2
        l, t, r, b = sunk['margins']
        skin.combo = {'image': (50 * sunk['frames'], 21), 'combo margins': (2, t, w + 2, b),
                      'sunk margins': (w + 2, t, 2, b)}
    else:
        skin.combo = None
    return slots


def size(s):
    return 'none' if s is None else '%dx%d' % s


def describe(name, o):
    if o is None:
        return '%-20s absent' % name
    text = '%-20s %-9s frames %-2d margins %-14s trans %d tile %d' % (
        name, size(o['image']), o['frames'], ','.join(map(str, o['margins'])), o['trans'], o['tile'])
    for key in ('second', 'check', 'radio'):
        if key in o:
            text += ' %s %s' % (key, size(o[key]))
    if 'colours' in o:
        text += ' colours %s' % ','.join(map(str, o['colours']))
    return text


# What the installer's skin must give: image size, frames, margins, trans, tile.
EXPECTED = {
    'BorderLeft': ((10, 65), 2, (0, 29, 0, 6), 1, 0), 'BorderRight': ((10, 65), 2, (0, 29, 0, 6), 1, 0),
    'BorderTop': ((170, 58), 2, (24, 0, 103, 0), 1, 0), 'BorderBottom': ((39, 10), 2, (1, 0, 1, 0), 1, 0),
    'Title': (None, 2, (15, 0, 97, 0), 0, 0),
    'Buttons': ((375, 23), 5, (6, 11, 6, 11), 0, 0),
    'Progress': ((36, 29), 2, (4, 3, 6, 3), 1, 0),
    'MenuBar': ((320, 13), 2, (0, 0, 0, 0), 0, 0),
    'GroupBoxEdge': ((88, 40), 2, (4, 4, 4, 4), 1, 1),
    'Toolbars': ((100, 40), 5, (4, 4, 4, 4), 1, 0),
    'Tabs': ((90, 18), 5, (3, 3, 3, 0), 1, 0),
    'StatusBarEdges': ((204, 15), 3, (0, 4, 3, 4), 0, 1),
    'ComboButton': ((60, 20), 4, (4, 3, 4, 3), 0, 0), 'SunkEdge': ((60, 20), 4, (4, 3, 4, 3), 0, 0),
    'ExtraImages': ((80, 16), 5, (0, 0, 0, 0), 1, 0),
    'Headerbar': ((90, 29), 5, (0, 3, 2, 2), 1, 0),
    'MenuItem': ((195, 18), 5, (8, 8, 8, 9), 1, 1),
    'MenuBackground': ((184, 32), 1, (8, 8, 8, 8), 0, 1),
    'Scrollbar': ((391, 17), 23, (0, 0, 0, 0), 0, 0),
    'HorzScroll': ((68, 17), 4, (0, 1, 0, 1), 0, 0), 'VertScroll': ((68, 17), 4, (1, 0, 1, 0), 0, 0),
    'HorzScrollThumb': ((66, 17), 3, (7, 7, 7, 8), 1, 0), 'VertScrollThumb': ((51, 22), 3, (7, 7, 8, 7), 1, 0),
    'TrackbarThumbHorz': ((55, 21), 5, (4, 5, 4, 5), 1, 0), 'TrackbarThumbUp': ((55, 21), 5, (5, 9, 5, 5), 1, 0),
    'TrackbarThumbDown': ((55, 21), 5, (5, 5, 5, 9), 1, 0),
    'TrackbarThumbVert': ((105, 11), 5, (5, 4, 5, 4), 0, 0),
    'TrackbarThumbLeft': ((105, 11), 5, (9, 5, 5, 5), 1, 1),
    'TrackbarThumbRight': ((105, 11), 5, (5, 5, 9, 5), 1, 1),
    'UpDownHorz': ((120, 16), 8, (4, 4, 4, 4), 1, 0), 'UpDownVert': ((120, 10), 8, (2, 2, 2, 2), 0, 0),
}
EXPECTED_EXTRA = {
    'GroupBox': None,
    'Title': {'active text': WHITE, 'inactive text': (55, 82, 116), 'font height': 14},
    'Buttons': {'check': (65, 13), 'radio': (65, 13), 'check frames': 5, 'radio frames': 5, 'colours': (0, 2, 2)},
    'Progress': {'second': None},
    'Toolbars': {'colours': (7, -1, 7)},
    'Tabs': {'second': (48, 48), 'colours': (7, -1, 0), 'colours2': ((55, 82, 116), (0, 0, 0), (0, 0, 0))},
    'Headerbar': {'colours': (7, -1, 7)},
    'MenuItem': {'colours': (7, -1, -1)},
    'UpDownHorz': {'second': (48, 7)}, 'UpDownVert': {'second': None},
}
# action, align, x, y, visibility, visibility1, frames, image
EXPECTED_CAPTION_BUTTONS = [
    (0, 1, 29, 4, 0, 0, 6, (96, 16)), (1, 1, 48, 4, 6, 2, 6, (96, 16)), (1, 1, 48, 4, 6, 1, 6, (96, 16)),
    (2, 1, 68, 4, 8, 0, 6, (96, 16)), (3, 0, 10, 6, 0, 0, 6, None),
    (7, 100, 57, 0, 100, 100, 4, (60, 15)), (8, 100, 38, 0, 100, 100, 4, (60, 15)),
    (9, 100, 19, 0, 100, 100, 4, (60, 15)),
]
EXPECTED_COLOURS = {
    'WindowText': (0, 0, 0), 'ButtonText': (0, 0, 0), 'ButtonFace': (241, 217, 192), 'Buttonlight': (241, 217, 192),
    'ButtonHilight': (232, 232, 232), 'ButtonShadow': (140, 140, 140), 'ButtonDkShadow': (64, 64, 64),
    'Hilight': (2, 115, 222), 'Menubar': (2, 115, 222), 'HilightText': (1, 42, 81), 'MenuText': (1, 42, 81),
    'Menu': (2, 108, 208), 'Scrollbar': (2, 106, 204), 'MenuBarText': (83, 99, 115),
    'TitleTextNoActive': (83, 99, 115), 'TitleTextActive': WHITE,
}


def differences(skin, slots):
    found = []

    def expect(what, got, want):
        if got != want:
            found.append('%s: %r, expected %r' % (what, got, want))

    for name, (image, frames, margins, trans, tile) in EXPECTED.items():
        o = slots.get(name)
        if o is None:
            found.append('%s: absent' % name)
            continue
        for field, want in (('image', image), ('frames', frames), ('margins', margins), ('trans', trans),
                            ('tile', tile)):
            expect('%s %s' % (name, field), o[field], want)
    for name, fields in EXPECTED_EXTRA.items():
        if fields is None:
            expect(name, slots.get(name), None)
            continue
        for field, want in fields.items():
            expect('%s %s' % (name, field), (slots.get(name) or {}).get(field), want)
    got = [(b['action'], b['align'], b['x'], b['y'], b['visibility'], b['visibility1'], b['frames'], b['image'])
           for b in skin.caption_buttons]
    expect('caption buttons', got, EXPECTED_CAPTION_BUTTONS)
    for key, want in EXPECTED_COLOURS.items():
        expect('colour %s' % key, skin.colours[key], want)
    expect('colour sections', len(skin.colour_sections), 9)
    expect('custom colours', skin.custom_colours, [WHITE] * 10)
    expect('skin name', skin.skin_name, 'Quimora')
    expect('combo composite', skin.combo, {'image': (200, 21), 'combo margins': (2, 3, 21, 3),
                                           'sunk margins': (21, 3, 2, 3)})
    for name, data in skin.files.items():
        if name.endswith('.bmp'):
            info = bmp_size(data)
            if not info or info[2] != 24:
                found.append('%s: not a 24-bit BMP' % name)
            if name not in skin.loaded:
                found.append('%s: named by no key' % name)
    return found


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: check_skin.py SKIN_DIR')
    skin = Skin(sys.argv[1])
    slots = build(skin)
    for name, o in slots.items():
        print(describe(name, o))
    for b in skin.caption_buttons:
        print('%-20s action %d align %d at %d,%d visibility %d/%d frames %d image %s' % (
            b['name'] or '(MDI)', b['action'], b['align'], b['x'], b['y'], b['visibility'], b['visibility1'],
            b['frames'], size(b['image'])))
    print('colours', ' '.join('%s=%s' % (k, v) for k, v in skin.colours.items()))
    print('colour sections', len(skin.colour_sections), 'custom colours', skin.custom_colours[0], '...')
    print('skin name', skin.skin_name, '; combo composite', skin.combo)
    found = differences(skin, slots)
    for line in found:
        print('DIFFERENCE', line)
    print('%d differences' % len(found))
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main())
