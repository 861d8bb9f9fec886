"""The order of the state frames in our skins' images, kept here once so
that every skin generator draws them the same way and every check reads
them the same way.

The engine fixes how many frames an image has and, for some images, which
frame it shows in which state; where it leaves the order to the skin, ours
is this one. Frames lie side by side unless said otherwise:
- window borders: frame 1 active, 2 inactive; left and right side by side,
  top and bottom stacked. The caption's text background, where a skin has
  one, is stacked the same way.
- caption buttons: 1 normal, 2 pressed, 3 hot, 4 inactive, 5 disabled,
  6 hot while inactive; a button with fewer frames has the first ones.
  MDI buttons: 1 normal, 2 pressed, 3 disabled, 4 hot.
- push buttons: 1 normal, 2 pressed, 3 disabled, 4 hot or focused, 5 default.
- check and radio boxes: 1 off, 2 on, 3 mixed, 4 off disabled, 5 on disabled.
- combo button, sunken edge, scroll tracks, arrow buttons, up-down buttons:
  1 normal, 2 pressed, 3 disabled, 4 hot.
- toolbar buttons, header sections, trackbar thumbs, tabs: 1 normal,
  2 pressed (tabs: selected), 3 disabled, 4 hot, 5 checked (tabs and
  thumbs: focused).
- menu items: 1 normal, 2 the separator strip, 3 disabled, 4 selected,
  5 selected without focus. Menu bar: 2 frames stacked, active, inactive.
- group box edges: 1 enabled, 2 disabled.
- scroll thumbs: 1 normal, 2 pressed, 3 hot.
- progress: 1 the trough, 2 the bar.
- status panels: 1 sunken, 2 raised, 3 the last panel (no separator).
- extra images: 1 to 4 the combo arrow by the combo states, 5 a size grip.
- scroll bar buttons (23 frames): 1-4 up, 5-8 down, 9-12 left, 13-16 right,
  each by the four button states; 17 the corner square, 18 a size grip,
  19 and 20 the grip marks of horizontal and vertical thumbs, 21-23 the
  track normal, pressed and disabled.
- up-down, horizontal: 1-4 the left button, 5-8 the right one, plain; their
  arrows come from a glyph strip: left, right, left disabled, right
  disabled. Vertical: 1-4 the up button, 5-8 the down one, arrows drawn in.

The names below are those orders, frame 1 first.
"""

BORDER_STATES = ('active', 'inactive')
TEXT_BACK_STATES = BORDER_STATES
MENU_BAR_STATES = BORDER_STATES

CAPTION_BUTTON_STATES = ('normal', 'pressed', 'hot', 'inactive', 'disabled', 'inactive hot')
MDI_BUTTON_STATES = ('normal', 'pressed', 'disabled', 'hot')

PUSH_BUTTON_STATES = ('normal', 'pressed', 'disabled', 'hot', 'default')
# (checked, mixed, disabled) of each check and radio box frame.
TICK_STATES = ((False, False, False), (True, False, False), (False, True, False), (False, False, True),
               (True, False, True))

# Combo button, sunken edge, scroll tracks, arrow buttons, up-down buttons.
FOUR_STATES = ('normal', 'pressed', 'disabled', 'hot')

TOOLBAR_STATES = ('normal', 'pressed', 'disabled', 'hot', 'checked')
HEADER_STATES = TOOLBAR_STATES
TAB_STATES = ('normal', 'selected', 'disabled', 'hot', 'focused')
TRACKBAR_THUMB_STATES = ('normal', 'pressed', 'disabled', 'hot', 'focused')

MENU_ITEM_STATES = ('normal', 'separator', 'disabled', 'selected', 'unfocused')
GROUP_BOX_EDGE_STATES = ('enabled', 'disabled')
SCROLL_THUMB_STATES = ('normal', 'pressed', 'hot')
PROGRESS_FRAMES = ('trough', 'bar')
STATUS_PANEL_FRAMES = ('sunken', 'raised', 'last')
EXTRA_IMAGE_FRAMES = FOUR_STATES + ('size grip',)

SCROLL_ARROWS = ('up', 'down', 'left', 'right')
SCROLL_TRACK_STATES = ('normal', 'pressed', 'disabled')
SCROLLBAR_FRAMES = (tuple('%s %s' % (arrow, state) for arrow in SCROLL_ARROWS for state in FOUR_STATES) +
                    ('corner', 'size grip', 'horizontal grip marks', 'vertical grip marks') +
                    tuple('track %s' % state for state in SCROLL_TRACK_STATES))

UP_DOWN_HORZ_BUTTONS = ('left', 'right')
UP_DOWN_VERT_BUTTONS = ('up', 'down')
UP_DOWN_GLYPHS = ('left', 'right', 'left disabled', 'right disabled')


def frame_number(order, name):
    """The 1-based frame that shows name in one of the orders above."""
    return order.index(name) + 1
