#!/usr/bin/env python3
"""Draws Nocturna, our dark skin: its definition nocturna.ini and the
24-bit BMP images it names, the same bytes on every run.

    make_dark_skin.py OUT_DIR

OUT_DIR receives exactly the skin's files and nothing else. The skin
defines every object the installer's skin does and a few more (a text
background for the caption, a group box label, a progress chunk, a fifth
caption button), and is written to take the other roads the definition
format offers: light text on dark faces, thick borders of four different
widths with all four corners rounded by key pixels, tiled middles,
transparent objects, buttons laid out from the left, hexadecimal numbers
in both spellings, LF line ends, indented keys, and a key and a section
that stand twice, where the second holds values that would look wrong if
the reader took it.

Frames follow the orders of skin_frames.py; dark_skin_images.py draws them.
"""
import os
import sys

# The helpers beside this script, imported without leaving compiled
# copies in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from dark_skin_images import (BOTTOM_HEIGHT, BOTTOM_LEFT, BOTTOM_RIGHT, CAPTION_FRAMES,  # noqa: E402
                              CAPTION_HEIGHT, LEFT_BOTTOM_ROWS, RIGHT_BOTTOM_ROWS, TOP_LEFT_PART, TOP_RIGHT_PART,
                              images)
from skin_canvas import write_skin_folder  # noqa: E402

LIGHT_TEXT = (232, 234, 244)
HOT_TEXT = (255, 255, 255)
PRESSED_TEXT = (200, 186, 255)

COLOURS = [
    ('WindowText', (226, 228, 238)), ('ButtonText', LIGHT_TEXT), ('ButtonFace', (38, 40, 52)),
    ('Buttonlight', (58, 61, 78)), ('ButtonHilight', (84, 88, 110)), ('ButtonShadow', (118, 122, 146)),
    ('ButtonDkShadow', (12, 12, 18)), ('Hilight', (104, 78, 206)), ('HilightText', (255, 250, 230)),
    ('Menubar', (28, 30, 40)), ('MenuBarText', (206, 212, 236)), ('Menu', (30, 32, 42)),
    ('MenuText', (220, 224, 240)), ('Scrollbar', (24, 26, 34)), ('TitleTextActive', (240, 236, 255)),
    ('TitleTextNoActive', (150, 154, 178)),
]
# The palette offered to colour pickers, and the ten custom colours.
COLOUR_SECTIONS = [(38, 40, 52), (58, 61, 80), (138, 108, 232), (86, 62, 170), (72, 204, 222), (228, 230, 242)]
CUSTOM_COLOURS = [(12, 12, 18), (24, 26, 34), (38, 40, 52), (58, 61, 80), (84, 88, 110), (138, 108, 232),
                  (184, 164, 255), (72, 204, 222), (208, 72, 88), (228, 230, 242)]

# The caption buttons stand at the left of the caption, the window's icon
# at its right; the roll-up button follows the title and only tells the
# program it was clicked: its Action is one the skinner has no behaviour
# for. The buttons give their frame count: by its proportions a 72 x 18
# strip would be read as six frames.
CAPTION_BUTTONS = [
    ('ButtonClose', [('Action', 0), ('Align', 0), ('Xcoord', 12), ('Ycoord', 8), ('frame', '$%X' % CAPTION_FRAMES),
                     ('ButtonImage', 'close.bmp')]),
    ('ButtonMinimize', [('Action', 2), ('Align', 0), ('Xcoord', 34), ('Ycoord', 8), ('Visibility', 8),
                        ('frame', '0x%X' % CAPTION_FRAMES), ('ButtonImage', 'minimize.bmp')]),
    ('ButtonMaximize', [('Action', 1), ('Align', 0), ('Xcoord', 56), ('Ycoord', 8), ('Visibility', 6),
                        ('Visibility1', 2), ('frame', CAPTION_FRAMES), ('ButtonImage', 'maximize.bmp')]),
    ('ButtonRestore', [('Action', 1), ('Align', 0), ('Xcoord', 56), ('Ycoord', 8), ('Visibility', 6),
                       ('Visibility1', 1), ('frame', CAPTION_FRAMES), ('ButtonImage', 'restore.bmp')]),
    ('ButtonRollUp', [('Action', 4), ('Align', 3), ('Xcoord', 6), ('Ycoord', 8), ('frame', '$%X' % CAPTION_FRAMES),
                      ('ButtonImage', 'rollup.bmp')]),
    ('ButtonSystem', [('Action', 3), ('Align', 1), ('Xcoord', '0x1e'), ('Ycoord', 9)]),
]


def value_text(value):
    if isinstance(value, tuple):
        return '%d,%d,%d' % value
    return str(value)


def section(name, entries, comment=None):
    lines = ['', '; ' + comment] if comment else ['']
    lines.append('[%s]' % name)
    lines += ['  %s = %s' % (key, value_text(value)) for key, value in entries]
    return lines


def text_colours():
    return [('NormalColour2', LIGHT_TEXT), ('MouseOverColour2', HOT_TEXT), ('PressedColour2', PRESSED_TEXT)]


def image_entries(image, margins, extra=()):
    """An object drawn with its key colour left out and its middle tiled."""
    left, top, right, bottom = margins
    return ([('Image', image), ('LeftWidth', left), ('TopHeight', top), ('RightWidth', right),
             ('BottomHeight', bottom), ('Trans', 1), ('Tile', 1)] + list(extra) + text_colours())


def border_entries(name, image, frames, first, second):
    """A window border: <Name>TopHeight and <Name>BotHeight are the rows
    of a side kept fixed, or the columns of the top and bottom. Stretch 0
    tiles the middle."""
    return [(name, image), (name + 'Frame', frames), (name + 'Stretch', 0), (name + 'Trans', 1),
            (name + 'TopHeight', first), (name + 'BotHeight', second)]


def personality():
    return (border_entries('Left', 'left.bmp', 2, '$%X' % CAPTION_HEIGHT, LEFT_BOTTOM_ROWS) +
            border_entries('Right', 'right.bmp', 2, '0x%X' % CAPTION_HEIGHT, RIGHT_BOTTOM_ROWS) +
            border_entries('Top', 'top.bmp', 2, '$%X' % TOP_LEFT_PART, '0x%X' % TOP_RIGHT_PART) +
            border_entries('Bottom', 'bottom.bmp', 2, BOTTOM_LEFT, BOTTOM_RIGHT) +
            [('TextBack', 'textback.bmp'), ('Textbackground', 1), ('TXTBackleft', 10), ('TXTBackRight', 10),
             ('TextShift', 96), ('TextShiftVert', 2), ('TextRightClip', 48), ('TextAlignment', 1),
             ('ActiveTextR', 240), ('ActiveTextG', 236), ('ActiveTextB', 255),
             ('InActiveTextR', 150), ('InActiveTextG', 154), ('InActiveTextB', 178),
             ('MENUBAR', 'menubar.bmp'), ('TileMenu', 0), ('TileLeftMenu', 6), ('TileRightMenu', 10)])


def definition():
    assert BOTTOM_HEIGHT < LEFT_BOTTOM_ROWS < RIGHT_BOTTOM_ROWS
    parts = [
        ['; Nocturna: our dark skin. Written by make_dark_skin.py; edit that, not this.'],
        section('TitlebarSkin', [('SkinName', 'Nocturna'), ('Author', 'Quimora'), ('Version', 1)]),
        section('Personality', personality()),
        section('Fonts', [('FontHeight', '0x10')]),
        section('Colours', COLOURS + [('ButtonText', (0, 0, 0))],
                'ButtonText stands twice: the first one counts, the black one would be unreadable.'),
    ]
    parts += [section('Colour%d' % (i + 1), [('color', c)]) for i, c in enumerate(COLOUR_SECTIONS)]
    parts.append(section('Customcolors', [('Color%d' % i, c) for i, c in enumerate(CUSTOM_COLOURS)]))
    parts += [section(name, keys) for name, keys in CAPTION_BUTTONS]
    parts += [
        section('MDICONTROLS', [('Image', 'mdicontrols.bmp')]),
        section('Buttons', [('Bitmap', 'buttons.bmp'), ('LeftWidth', 9), ('TopHeight', 7), ('RightWidth', 10),
                            ('BottomHeight', 8), ('Trans', 1), ('Tile', 1),
                            ('CheckButton', 'check.bmp'), ('CheckButtonFrame', '0x5'), ('RadioButton', 'radio.bmp'),
                            ('NormalColour', '$1'), ('MouseOverColour', '0x4'), ('PressedColour', '$2')] +
                text_colours(), 'The radio boxes give no frame count: 75 / 13 makes it 5.'),
        section('Progress', [('Bitmap', 'progress.bmp'), ('Chunk', 'chunk.bmp'), ('LeftWidth', 5), ('TopHeight', 4),
                             ('RightWidth', 3), ('BottomHeight', 5), ('Trans', 1), ('Tile', 1)]),
        section('GroupBoxEdge', image_entries('groupboxedge.bmp', (6, 8, 5, 7))),
        section('GroupBox', image_entries('groupbox.bmp', (8, 3, 7, 4),
                                          [('BackgroundAlignment', 1), ('BackgroundLeftShift', 6),
                                           ('BackgroundRightShift', 4)])),
        section('toolbars', image_entries('toolbars.bmp', (5, 6, 7, 4),
                                          [('NormalColour', 3), ('MouseOverColour', 5), ('PressedColour', 4)])),
        section('Tabs', image_entries('tabs.bmp', (6, 5, 7, 1),
                                      [('Border', 'tabborder.bmp'), ('NormalColour', 6), ('PressedColour', 3)])),
        section('StatusBarEdges', image_entries('statusbaredges.bmp', (3, 5, 6, 2))),
        section('ComboButton', image_entries('combobutton.bmp', (5, 4, 6, 4))),
        section('SunkEdge', image_entries('sunkedge.bmp', (3, 2, 5, 3))),
        section('ExtraImages', image_entries('extraimages.bmp', (2, 2, 2, 2))),
        section('Headerbar', image_entries('headerbar.bmp', (4, 2, 5, 6),
                                           [('NormalColour', 6), ('MouseOverColour', 3), ('PressedColour', 5)])),
        section('MenuItem', image_entries('menuitem.bmp', (11, 4, 7, 5), [('MouseOverColour', 3)])),
        section('MenuBackground', image_entries('menubackground.bmp', (5, 6, 7, 9))),
        section('Scrollbar', image_entries('scrollbar.bmp', (1, 2, 1, 2))),
        section('HorzScroll', image_entries('horzscroll.bmp', (3, 2, 3, 2))),
        section('VertScroll', image_entries('vertscroll.bmp', (2, 3, 2, 3))),
        section('HorzScrollThumb', image_entries('horzscrollthumb.bmp', (8, 5, 8, 5), [('FrameCount', '0x3')])),
        section('VertScrollThumb', image_entries('vertscrollthumb.bmp', (5, 8, 5, 8), [('FrameCount', '$3')])),
        section('Trackbar.ThumbHorz', image_entries('thumbhorz.bmp', (5, 6, 5, 6))),
        section('Trackbar.ThumbVert', image_entries('thumbvert.bmp', (6, 5, 6, 5))),
        section('Trackbar.ThumbLeft', image_entries('thumbleft.bmp', (10, 6, 4, 6))),
        section('Trackbar.ThumbRight', image_entries('thumbright.bmp', (4, 6, 10, 6))),
        section('Trackbar.ThumbUp', image_entries('thumbup.bmp', (6, 10, 6, 4))),
        section('Trackbar.ThumbDown', image_entries('thumbdown.bmp', (6, 4, 6, 10))),
        section('UpDown.Horz', image_entries('updownhorz.bmp', (3, 5, 4, 5), [('GlyphImage', 'updownglyph.bmp')])),
        section('UpDown.Vert', image_entries('updownvert.bmp', (4, 3, 5, 2))),
        section('Buttons', [('Bitmap', 'buttons.bmp'), ('LeftWidth', 0), ('TopHeight', 0), ('RightWidth', 0),
                            ('BottomHeight', 0), ('Trans', 0), ('Tile', 0), ('NormalColour2', (0, 0, 0))],
                'A second [Buttons]: never read, the first one counts. Taken, it would show magenta corners '
                'and black text.'),
    ]
    return '\n'.join('\n'.join(p) for p in parts) + '\n'


def main():
    write_skin_folder('make_dark_skin.py', 'nocturna.ini', definition(), images())


if __name__ == '__main__':
    main()
