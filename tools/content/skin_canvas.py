"""Drawing helpers for the skin generators: an opaque picture of float colours,
shapes given as inside tests on pixel coordinates, and the glyphs of the
window buttons.

Only +, -, *, / and comparisons are used on floats, so what is drawn is
the same on every IEEE machine.
"""
import os
import sys

from make_pictures import bmp24, mix, polygon, stroke, to_byte

KEY = (255, 0, 255)
SUPERSAMPLE = 4


class Image:
    """An opaque picture of float colours, key colour by default."""

    def __init__(self, width, height, colour=KEY):
        self.width = width
        self.height = height
        self.px = [[tuple(colour)] * width for _ in range(height)]

    def rgb_rows(self):
        return [[tuple(to_byte(c) for c in p) for p in row] for row in self.px]

    def shade(self, colour_at, inside=None, box=None):
        """Sets every pixel of box (all by default) whose centre is inside
        (everywhere by default) to colour_at(x, y) of its integer position."""
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                if inside is None or inside(x + 0.5, y + 0.5):
                    self.px[y][x] = tuple(colour_at(x, y))

    def paint(self, inside, colour, opacity=1.0, box=None):
        """Blends colour over each pixel by the share of its sub-samples for
        which inside holds: smooth edges for glyphs drawn inside a frame."""
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                share = coverage(inside, x, y)
                if share:
                    self.px[y][x] = mix(self.px[y][x], colour, share * opacity)

    def paste(self, other, x0, y0):
        for y in range(other.height):
            self.px[y0 + y][x0:x0 + other.width] = other.px[y]

    def mirrored(self):
        out = Image(self.width, self.height)
        out.px = [list(reversed(row)) for row in self.px]
        return out

    def flipped(self):
        out = Image(self.width, self.height)
        out.px = [list(row) for row in reversed(self.px)]
        return out

    def rotated(self):
        """Turned a quarter clockwise: the top row becomes the right column."""
        out = Image(self.height, self.width)
        out.px = [[self.px[self.height - 1 - x][y] for x in range(self.height)] for y in range(self.width)]
        return out


def coverage(inside, x, y):
    """The share of the pixel at (x, y) for which inside holds."""
    offsets = [(i + 0.5) / SUPERSAMPLE for i in range(SUPERSAMPLE)]
    hits = sum(1 for oy in offsets for ox in offsets if inside(x + ox, y + oy))
    return hits / (SUPERSAMPLE * SUPERSAMPLE)


def side_by_side(frames):
    out = Image(sum(f.width for f in frames), frames[0].height)
    x = 0
    for f in frames:
        out.paste(f, x, 0)
        x += f.width
    return out


def stacked(frames):
    out = Image(frames[0].width, sum(f.height for f in frames))
    y = 0
    for f in frames:
        out.paste(f, 0, y)
        y += f.height
    return out


# Shapes: inside tests on pixel coordinates, (0, 0) the top-left corner.

def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = x0 + r if x < x0 + r else x1 - r if x > x1 - r else x
        cy = y0 + r if y < y0 + r else y1 - r if y > y1 - r else y
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r
    return inside


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def disc(cx, cy, r):
    return lambda x, y: (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r


def convex(points):
    """A convex polygon given clockwise on screen."""
    return polygon(points)[0]


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def vertical(top, bottom, y0, y1):
    """A colour function running from top at row y0 to bottom at row y1."""
    span = max(1, y1 - y0)
    return lambda x, y: mix(top, bottom, min(1.0, max(0.0, (y - y0) / span)))


def horizontal(left, right, x0, x1):
    span = max(1, x1 - x0)
    return lambda x, y: mix(left, right, min(1.0, max(0.0, (x - x0) / span)))


def solid(colour):
    return lambda x, y: colour


def outlined(img, shape, outline, fill, light=None):
    """Draws a shape with hard pixel edges: pixels whose centre is inside
    and that touch an outside pixel take the outline colour, the others
    fill(x, y); light, when given, lights the inner top row. Pixels outside
    keep what they had, normally the key colour."""
    def edge(x, y):
        cx, cy = x + 0.5, y + 0.5
        return not (shape(cx - 1, cy) and shape(cx + 1, cy) and shape(cx, cy - 1) and shape(cx, cy + 1))

    for y in range(img.height):
        for x in range(img.width):
            if not shape(x + 0.5, y + 0.5):
                continue
            if edge(x, y):
                img.px[y][x] = tuple(outline)
            elif light and edge(x, y - 1):
                img.px[y][x] = mix(fill(x, y), light, 0.7)
            else:
                img.px[y][x] = tuple(fill(x, y))


# Glyphs, on a 16-unit cell scaled by s and moved by (ox, oy).

def glyph_close(s=1.0, ox=0.0, oy=0.0):
    a, b, w = (4.6 * s + ox, 4.6 * s + oy), (11.4 * s + ox, 11.4 * s + oy), 1.15 * s
    return union(stroke(a[0], a[1], b[0], b[1], w), stroke(b[0], a[1], a[0], b[1], w))


def glyph_maximize(s=1.0, ox=0.0, oy=0.0):
    x0, y0, x1, y1 = 4 * s + ox, 4 * s + oy, 12 * s + ox, 12 * s + oy
    return minus(box(x0, y0, x1, y1), box(x0 + s, y0 + 2 * s, x1 - s, y1 - s))


def glyph_restore(s=1.0, ox=0.0, oy=0.0):
    def w(x0, y0, x1, y1):
        return (x0 * s + ox, y0 * s + oy, x1 * s + ox, y1 * s + oy)
    bx0, by0, bx1, by1 = w(6, 3, 13, 9)
    fx0, fy0, fx1, fy1 = w(3, 7, 10, 13)
    back = minus(box(bx0, by0, bx1, by1), box(bx0 + s, by0 + 2 * s, bx1 - s, by1 - s))
    front = minus(box(fx0, fy0, fx1, fy1), box(fx0 + s, fy0 + 2 * s, fx1 - s, fy1 - s))
    return union(minus(back, box(fx0, fy0, fx1, fy1)), front)


def glyph_minimize(s=1.0, ox=0.0, oy=0.0):
    return box(4 * s + ox, 10 * s + oy, 12 * s + ox, 12 * s + oy)


def arrow(direction, cx, cy, half):
    """A filled triangle pointing up, down, left or right, centred on
    (cx, cy), half as high as wide."""
    h = half / 2
    points = {'up': [(cx, cy - h), (cx + half, cy + h), (cx - half, cy + h)],
              'down': [(cx - half, cy - h), (cx + half, cy - h), (cx, cy + h)],
              'left': [(cx - h, cy), (cx + h, cy - half), (cx + h, cy + half)],
              'right': [(cx - h, cy - half), (cx + h, cy), (cx - h, cy + half)]}[direction]
    return convex(points)


def write_skin_folder(program, ini_name, definition, images):
    """The main of a skin generator: writes the definition and the images
    into the folder named on the command line."""
    if len(sys.argv) != 2:
        sys.exit('usage: %s OUT_DIR' % program)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, ini_name), 'wb') as f:
        f.write(definition.encode('ascii'))
    for name, image in sorted(images.items()):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(bmp24(image))
