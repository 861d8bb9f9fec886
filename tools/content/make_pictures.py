#!/usr/bin/env python3
"""Draws the installer's pictures and icon, the same bytes on every run.

    make_pictures.py OUT_DIR

emblem.bmp: 52 x 120, 24 bits; a molecule over a flask. Its bottom-left
pixel is the background, which the window shows as transparent.
side.bmp: 174 x 399, 32 bits with bit-field masks; an amber band with a
hexagon lattice and a ring molecule, fading into the panel colour at its
right edge.
quimora.ico: the emblem's molecule at 32 x 32 and 16 x 16, 32 bits with
an alpha channel over a transparent background.

Only +, -, *, / and comparisons are used on floats: they round the same
way on every IEEE machine, so the pictures are reproducible.
"""
import os
import struct
import sys

PANEL = (243, 215, 156)
# One step off the panel colour: where the emblem is transparent the panel
# shows through, and the difference tells the two apart.
EMBLEM_KEY = (244, 216, 157)
BROWN = (92, 52, 22)
AMBER = (226, 146, 44)
TEAL = (38, 128, 138)
CREAM = (252, 240, 212)
WHITE = (255, 255, 255)
GLASS = (250, 246, 232)

SQRT3_2 = 0.8660254037844386  # sqrt(3) / 2, correctly rounded
SUPERSAMPLE = 4


class Canvas:
    """Pixels hold their colour premultiplied by their alpha: painting then
    blends the same way over a transparent pixel as over an opaque one, and
    on an opaque canvas the colour is the plain colour."""

    def __init__(self, width, height, colour=None):
        """A canvas filled with colour, or transparent without one."""
        self.width = width
        self.height = height
        fill, alpha = ([0.0, 0.0, 0.0], 0.0) if colour is None else (list(map(float, colour)), 1.0)
        self.pixels = [[list(fill) for _ in range(width)] for _ in range(height)]
        self.alpha = [[alpha] * width for _ in range(height)]

    def paint(self, inside, box, colour, opacity=1.0):
        """Blends colour over the pixels of box by the share of each
        pixel's sub-samples for which inside(x, y) holds."""
        x0, y0, x1, y1 = box
        x0, y0 = max(0, int(x0) - 1), max(0, int(y0) - 1)
        x1, y1 = min(self.width, int(x1) + 2), min(self.height, int(y1) + 2)
        n = SUPERSAMPLE
        offsets = [(i + 0.5) / n for i in range(n)]
        for py in range(y0, y1):
            row = self.pixels[py]
            alpha_row = self.alpha[py]
            for px in range(x0, x1):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if inside(px + ox, py + oy):
                            hits += 1
                if hits:
                    a = hits / (n * n) * opacity
                    p = row[px]
                    for k in range(3):
                        p[k] = p[k] * (1 - a) + colour[k] * a
                    alpha_row[px] = alpha_row[px] * (1 - a) + a

    def shade(self, colour_at):
        for py in range(self.height):
            for px in range(self.width):
                self.pixels[py][px] = list(map(float, colour_at(px + 0.5, py + 0.5)))
                self.alpha[py][px] = 1.0

    def rgb_rows(self):
        """Rows top to bottom, each a list of (r, g, b) bytes; for an
        opaque canvas."""
        return [[tuple(to_byte(c) for c in p) for p in row] for row in self.pixels]

    def rgba_rows(self):
        """Rows top to bottom, each a list of (r, g, b, a) bytes with the
        colour no longer premultiplied; fully transparent pixels are 0."""
        rows = []
        for row, alpha_row in zip(self.pixels, self.alpha):
            line = []
            for p, alpha in zip(row, alpha_row):
                a = to_byte(alpha * 255)
                line.append((0, 0, 0, 0) if a == 0 else tuple(to_byte(c / alpha) for c in p) + (a,))
            rows.append(line)
        return rows


def to_byte(value):
    return min(255, max(0, int(value + 0.5)))


def mix(a, b, t):
    return tuple(a[k] + (b[k] - a[k]) * t for k in range(3))


def circle(canvas, cx, cy, r, colour, opacity=1.0):
    canvas.paint(lambda x, y: (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r,
                 (cx - r, cy - r, cx + r, cy + r), colour, opacity)


def stroke(ax, ay, bx, by, half_width):
    """The inside test of a stroke with round ends: points within
    half_width of the segment."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = ((x - ax) * dx + (y - ay) * dy) / length2
        t = 0.0 if t < 0 else 1.0 if t > 1 else t
        ex, ey = x - (ax + t * dx), y - (ay + t * dy)
        return ex * ex + ey * ey <= half_width * half_width
    return inside


def segment(canvas, ax, ay, bx, by, half_width, colour, opacity=1.0):
    """A stroke with round ends painted on the canvas."""
    canvas.paint(stroke(ax, ay, bx, by, half_width), (min(ax, bx) - half_width, min(ay, by) - half_width,
                          max(ax, bx) + half_width, max(ay, by) + half_width), colour, opacity)


def polygon(points):
    """The inside test of a convex polygon given clockwise on screen."""
    edges = [(points[i], points[(i + 1) % len(points)]) for i in range(len(points))]

    def inside(x, y):
        for (ax, ay), (bx, by) in edges:
            if (bx - ax) * (y - ay) - (by - ay) * (x - ax) < 0:
                return False
        return True

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def atom(canvas, cx, cy, r, colour, outline=1.2):
    circle(canvas, cx, cy, r + outline, BROWN)
    circle(canvas, cx, cy, r, colour)
    circle(canvas, cx - r * 0.35, cy - r * 0.35, r * 0.38, WHITE, 0.55)


def hexagon_points(cx, cy, r):
    """Corners of a hexagon with a flat top, clockwise on screen."""
    h = r * SQRT3_2
    return [(cx - r / 2, cy - h), (cx + r / 2, cy - h), (cx + r, cy),
            (cx + r / 2, cy + h), (cx - r / 2, cy + h), (cx - r, cy)]


def draw_emblem():
    c = Canvas(52, 120, EMBLEM_KEY)
    # The molecule: a central atom with three neighbours.
    centre = (26.0, 25.0)
    neighbours = [(10.0, 11.0, AMBER), (42.0, 11.0, AMBER), (26.0, 45.0, CREAM)]
    for x, y, _ in neighbours:
        segment(c, centre[0], centre[1], x, y, 2.2, BROWN)
    for x, y, colour in neighbours:
        atom(c, x, y, 5.5, colour)
    atom(c, centre[0], centre[1], 8.5, TEAL)

    # The flask: a lip, a neck and a widening body with a flat base, each
    # a convex outline, with the glass inset in them.
    outline = [
        polygon([(17.0, 53.0), (35.0, 53.0), (35.0, 58.0), (17.0, 58.0)]),
        polygon([(20.0, 57.0), (32.0, 57.0), (32.0, 75.0), (20.0, 75.0)]),
        polygon([(20.0, 74.0), (32.0, 74.0), (48.0, 110.0), (46.0, 116.0), (6.0, 116.0), (4.0, 110.0)]),
    ]
    neck = polygon([(22.5, 58.5), (29.5, 58.5), (29.5, 76.0), (22.5, 76.0)])
    body = polygon([(22.5, 75.0), (29.5, 75.0), (45.2, 109.8), (44.0, 113.5), (8.0, 113.5), (6.8, 109.8)])
    for shape in outline:
        c.paint(*shape, BROWN)
    c.paint(*neck, GLASS)
    c.paint(*body, GLASS)
    inside, box = body
    for band in range(6):
        # The liquid darkens towards the bottom, in bands of 4 pixels.
        top = 90.0 + band * 4
        colour = mix((70, 170, 176), (24, 98, 112), band / 5)
        c.paint(lambda x, y, top=top: top <= y < top + 4 and inside(x, y), (box[0], top, box[2], top + 4), colour)
    segment(c, 16.4, 90.0, 35.6, 90.0, 0.6, (150, 215, 215), 0.9)  # the liquid's surface
    for x, y, r in [(18.0, 104.0, 2.0), (30.0, 98.0, 1.6), (25.0, 108.0, 1.2), (36.0, 106.0, 1.4)]:
        circle(c, x, y, r, WHITE, 0.6)
    segment(c, 24.2, 61.0, 24.2, 76.0, 0.8, WHITE, 0.8)  # light on the glass
    segment(c, 22.6, 80.0, 14.2, 99.0, 0.8, WHITE, 0.6)
    return c


def draw_side():
    width, height = 174, 399
    top, middle = (138, 72, 28), (212, 142, 58)

    def band(x, y):
        t = y / height
        colour = mix(top, middle, t / 0.55) if t < 0.55 else mix(middle, PANEL, (t - 0.55) / 0.45)
        fade_start = width - 28
        if x > fade_start:
            colour = mix(colour, PANEL, (x - fade_start) / 28)
        return colour

    c = Canvas(width, height, PANEL)
    c.shade(band)

    # A faint hexagon lattice over the whole band.
    r = 17.0
    h = r * SQRT3_2
    column = 0
    x = 0.0
    while x < width + r:
        y = h if column % 2 else 0.0
        while y < height + h:
            points = hexagon_points(x, y, r)
            for i in range(6):
                (ax, ay), (bx, by) = points[i], points[(i + 1) % 6]
                segment(c, ax, ay, bx, by, 0.55, CREAM, 0.16)
            y += 2 * h
        x += 1.5 * r
        column += 1

    # A ring molecule with alternating double bonds and two side chains.
    cx, cy, ring = 84.0, 150.0, 30.0
    corners = hexagon_points(cx, cy, ring)
    for i in range(6):
        (ax, ay), (bx, by) = corners[i], corners[(i + 1) % 6]
        segment(c, ax, ay, bx, by, 2.6, BROWN)
        segment(c, ax, ay, bx, by, 1.5, CREAM)
        if i % 2 == 0:
            # The inner line of a double bond, shortened towards the centre.
            ia, ib = (ax + (cx - ax) * 0.22, ay + (cy - ay) * 0.22), (bx + (cx - bx) * 0.22, by + (cy - by) * 0.22)
            segment(c, ia[0], ia[1], ib[0], ib[1], 1.3, CREAM, 0.9)
    chains = [(corners[2], (cx + ring + 26.0, cy - 14.0), AMBER),
              (corners[4], (cx - 30.0, cy + ring + 36.0), TEAL),
              ((cx - 30.0, cy + ring + 36.0), (cx - 8.0, cy + ring + 72.0), AMBER)]
    for (ax, ay), (bx, by), _ in chains:
        segment(c, ax, ay, bx, by, 2.6, BROWN)
        segment(c, ax, ay, bx, by, 1.5, CREAM)
    for px, py in corners:
        atom(c, px, py, 5.0, CREAM)
    for _, (bx, by), colour in chains:
        atom(c, bx, by, 8.0, colour)

    # Bubbles rising through the lower half.
    for bx, by, br in [(40.0, 330.0, 9.0), (70.0, 300.0, 6.0), (112.0, 352.0, 11.0), (58.0, 372.0, 5.0),
                       (130.0, 280.0, 4.0), (24.0, 268.0, 3.5), (96.0, 244.0, 3.0)]:
        circle(c, bx, by, br, WHITE, 0.22)
        circle(c, bx - br * 0.35, by - br * 0.35, br * 0.3, WHITE, 0.4)
    return c


def draw_icon(size):
    """The emblem's molecule, laid out on a 32-unit square and scaled to
    size. Outlines keep most of a pixel so that they survive the small
    size; they eat into the atoms, so the layout still fits."""
    c = Canvas(size, size)
    s = size / 32
    line = 0.8 if s < 0.75 else 1.1 * s
    centre = (16.0 * s, 14.0 * s)
    neighbours = [(5.5 * s, 5.5 * s, AMBER), (26.5 * s, 5.5 * s, AMBER), (16.0 * s, 27.0 * s, CREAM)]
    for x, y, _ in neighbours:
        segment(c, centre[0], centre[1], x, y, 1.5 * s, BROWN)
    for x, y, colour in neighbours:
        atom(c, x, y, 4.5 * s - line, colour, line)
    atom(c, centre[0], centre[1], 6.6 * s - line, TEAL, line)
    return c


def bmp24(canvas):
    rows = canvas.rgb_rows()
    stride = (canvas.width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    offset = 14 + 40
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    return header + info + bytes(pixels)


def bmp32_bitfields(canvas):
    rows = canvas.rgb_rows()
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b in row:
            pixels += bytes((b, g, r, 0))
    offset = 14 + 40 + 12
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    BI_BITFIELDS = 3
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 32, BI_BITFIELDS, len(pixels),
                       3780, 3780, 0, 0)
    masks = struct.pack('<III', 0x00FF0000, 0x0000FF00, 0x000000FF)
    return header + info + masks + bytes(pixels)


def ico(canvases):
    """An icon file holding one 32-bit image per canvas. Each image is a
    bitmap of twice the height: the colour rows with alpha, bottom-up, then
    a 1-bit mask, set where the image is transparent, for systems that
    ignore the alpha."""
    images = []
    for canvas in canvases:
        rows = list(reversed(canvas.rgba_rows()))
        colours = bytearray()
        for row in rows:
            for r, g, b, a in row:
                colours += bytes((b, g, r, a))
        mask_stride = (canvas.width + 31) // 32 * 4
        mask = bytearray()
        for row in rows:
            line = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height * 2, 1, 32, 0,
                           len(colours) + len(mask), 0, 0, 0, 0)
        images.append((canvas, info + bytes(colours) + bytes(mask)))
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = bytearray()
    for canvas, image in images:
        entries += struct.pack('<BBBBHHII', canvas.width, canvas.height, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return directory + bytes(entries) + b''.join(image for _, image in images)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make_pictures.py OUT_DIR')
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    emblem = draw_emblem()
    assert emblem.rgb_rows()[-1][0] == EMBLEM_KEY, 'the bottom-left pixel must stay the background'
    with open(os.path.join(out, 'emblem.bmp'), 'wb') as f:
        f.write(bmp24(emblem))
    with open(os.path.join(out, 'side.bmp'), 'wb') as f:
        f.write(bmp32_bitfields(draw_side()))
    with open(os.path.join(out, 'quimora.ico'), 'wb') as f:
        f.write(ico([draw_icon(32), draw_icon(16)]))


if __name__ == '__main__':
    main()
