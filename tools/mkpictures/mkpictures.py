#!/usr/bin/env python3
"""Draws the game's pictures and writes them as XPM files.

Usage: mkpictures.py [output folder]   (default: assets/pictures beside tools/)

Everything is computed from fixed seeds, so every run writes the same files.
Pictures drawn transparent keep their transparent colour (black) out of every
pixel that should show; dark outlines use near-black instead.
"""
import math
import os
import sys

BLACK = (0, 0, 0)
OUTLINE = (0x10, 0x10, 0x10)


# ---------------------------------------------------------------- helpers

def hexc(s):
    s = s.lstrip('#')
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def scale(c, f):
    return tuple(max(0, min(255, int(round(v * f)))) for v in c)


def noise(x, y, seed=0):
    """A repeatable value in [0, 1) for a pixel."""
    h = (x * 374761393 + y * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    h ^= h >> 16
    return (h & 0xFFFFFF) / float(0x1000000)


class Rng:
    """A tiny linear congruential generator, so output never depends on the
    Python version's random module."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state

    def below(self, n):
        return (self.next() >> 8) % n if n > 0 else 0


class Pic:
    def __init__(self, name, w, h, fill=BLACK):
        self.name, self.w, self.h = name, w, h
        self.px = [[fill] * w for _ in range(h)]

    def inside(self, x, y):
        return 0 <= x < self.w and 0 <= y < self.h

    def set(self, x, y, c):
        if self.inside(x, y):
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x] if self.inside(x, y) else BLACK

    def outline(self, colour=OUTLINE, background=BLACK):
        """Rings every drawn shape with colour, on background pixels only
        (4-neighbourhood), so shapes read against the black star field."""
        ring = []
        for y in range(self.h):
            for x in range(self.w):
                if self.px[y][x] != background:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    if self.inside(x + dx, y + dy) and self.px[y + dy][x + dx] not in (background, colour):
                        ring.append((x, y))
                        break
        for x, y in ring:
            self.px[y][x] = colour

    def write_xpm(self, folder):
        colours = []
        seen = {}
        for row in self.px:
            for c in row:
                if c not in seen:
                    seen[c] = len(colours)
                    colours.append(c)
        # No space, quote or backslash among the pixel characters: they would
        # only make the file harder to read.
        chars = ('.#+@$%&*=-;>,\')!~{]^/(_:<[}|'
                 '0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ')
        if len(colours) <= len(chars):
            cpp = 1
            keys = [chars[i] for i in range(len(colours))]
        else:
            cpp = 2
            keys = [chars[i // len(chars)] + chars[i % len(chars)] for i in range(len(colours))]
            assert len(colours) <= len(chars) ** 2
        ident = self.name.replace('-', '_')
        lines = ['/* XPM */', 'static char *%s[] = {' % ident,
                 '"%d %d %d %d",' % (self.w, self.h, len(colours), cpp)]
        for k, c in zip(keys, colours):
            lines.append('"%s c #%02X%02X%02X",' % (k, c[0], c[1], c[2]))
        for y, row in enumerate(self.px):
            text = ''.join(keys[seen[c]] for c in row)
            lines.append('"%s"%s' % (text, ',' if y < self.h - 1 else ''))
        lines.append('};')
        with open(os.path.join(folder, self.name + '.xpm'), 'w', newline='\n') as f:
            f.write('\n'.join(lines) + '\n')


# ---------------------------------------------------------------- bricks

STONE = {
    'mortar': hexc('#2b2724'),
    'mortar_lit': hexc('#3d3833'),
    'light': hexc('#c4bfb6'),
    'face': hexc('#948e86'),
    'face2': hexc('#857f78'),
    'shade': hexc('#615c57'),
    'pit': hexc('#6f6a64'),
    'fleck': hexc('#aca69d'),
}

GOLD = {
    'mortar': hexc('#5a3806'),
    'mortar_lit': hexc('#6e470c'),
    'light': hexc('#fff3a8'),
    'face': hexc('#f0b92c'),
    'face2': hexc('#e0a51e'),
    'shade': hexc('#a8680a'),
    'pit': hexc('#cf9418'),
    'fleck': hexc('#ffd860'),
}

COURSE = 8  # a cell holds two courses of bricks in running bond


def brick_part(x, y):
    """Which stone of the 16 x 16 tile a pixel belongs to: (stone, sx, sy),
    or None for mortar. Stones are 15 x 7 with a 1-pixel joint; the lower
    course is offset by half a stone and wraps round the tile's edge, so
    tiles placed side by side and one above another join seamlessly."""
    sy = y % COURSE
    if sy == COURSE - 1:
        return None
    if y < COURSE:
        if x == 15:
            return None
        return (0, x, sy)
    if x == 7:
        return None
    return (1, (x - 8) % 16, sy)


def brick_colour(x, y, pal, seed):
    part = brick_part(x, y)
    if part is None:
        # Mortar catches a little light where it runs under a stone's top edge.
        above = brick_part(x, y - 1) if y > 0 else None
        return pal['mortar_lit'] if above is None and x % 3 == 1 else pal['mortar']
    stone, sx, sy = part
    face = pal['face'] if stone == 0 else pal['face2']
    if sy == 0 or sx == 0:
        c = pal['light']
        if sx == 14 or sy == 6:
            c = face
    elif sy == 6 or sx == 14:
        c = pal['shade']
    else:
        c = face
        n = noise(x, y, seed)
        if n < 0.16:
            c = pal['pit']
        elif n > 0.90:
            c = pal['fleck']
        # A faint shadow just inside the lit edges gives the face some bulge.
        if sy == 5 or sx == 13:
            c = mix(c, pal['shade'], 0.45)
    return c


def draw_brick(name, pal, seed):
    p = Pic(name, 16, 16)
    for y in range(16):
        for x in range(16):
            p.set(x, y, brick_colour(x, y, pal, seed))
    return p


def brick():
    return draw_brick('brick', STONE, 1)


def goldbrick():
    p = draw_brick('goldbrick', GOLD, 7)
    white = hexc('#ffffff')
    glint = hexc('#fffbe0')
    # Two glints so it reads as treasure, not a yellow wall.
    for cx, cy in ((4, 2), (11, 10)):
        p.set(cx, cy, white)
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            p.set(cx + dx, cy + dy, glint)
    return p


def brickarch():
    """The brick above a window: a ring of wedge stones round a half-round
    opening that is as wide as the cell, so it meets the empty cells below."""
    p = draw_brick('brickarch', STONE, 1)
    cx, cy = 8.0, 16.0
    inner, outer = 8.0, 11.6
    ring_light = hexc('#d2cdc2')
    ring_face = hexc('#a9a397')
    ring_shade = hexc('#77716a')
    wedges = 5
    for y in range(16):
        for x in range(16):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = math.hypot(dx, dy)
            if d < inner:
                # Deep shadow just under the arch, then the dark window.
                p.set(x, y, hexc('#16141a') if d > inner - 1.0 else hexc('#060608'))
            elif d < outer:
                angle = math.atan2(-dy, dx)  # 0 right, pi left
                pos = angle / math.pi * wedges
                joint = abs(pos - round(pos)) * (math.pi * d / wedges)
                if joint < 0.55 and 0 < round(pos) < wedges:
                    c = STONE['mortar']
                elif d > outer - 1.0:
                    c = ring_light if angle > math.pi / 2 else ring_face
                elif d < inner + 1.0:
                    c = ring_shade
                else:
                    c = ring_face
                    if noise(x, y, 5) < 0.15:
                        c = STONE['pit']
                p.set(x, y, c)
            elif d < outer + 0.9:
                p.set(x, y, STONE['mortar'])
    return p


def carve(p, cells, rim=hexc('#2a2521'), edge=hexc('#bdb7ad')):
    """Knocks the given pixels out (transparent black). Stone left beside a
    break gets a pale face where the break looks up or left, towards the
    light, and a dark one where it looks down or right."""
    cells = set(cells)
    for x, y in cells:
        p.set(x, y, BLACK)
    faces = {}
    for y in range(p.h):
        for x in range(p.w):
            if (x, y) in cells:
                continue
            if (x + 1, y) in cells or (x, y + 1) in cells:
                faces[(x, y)] = rim
            elif (x - 1, y) in cells or (x, y - 1) in cells:
                faces[(x, y)] = edge
    for (x, y), c in faces.items():
        p.set(x, y, c)


def damage(p, mask, crack_colour=hexc('#1e1a16'), crack_lit=hexc('#a49e95')):
    """Applies a hand-drawn 16 x 16 damage mask: 'x' knocked out, 'c' a
    crack, anything else left as it is."""
    gone = [(x, y) for y, row in enumerate(mask) for x, ch in enumerate(row) if ch == 'x']
    cracks = [(x, y) for y, row in enumerate(mask) for x, ch in enumerate(row) if ch == 'c']
    carve(p, gone)
    for x, y in cracks:
        p.set(x, y, crack_colour)
    # A pale lip on the upper-left side of each crack gives it depth.
    for x, y in cracks:
        for nx, ny in ((x - 1, y), (x, y - 1)):
            if (nx, ny) in cracks or not p.inside(nx, ny) or brick_part(nx, ny) is None:
                continue
            if p.get(nx, ny) not in (BLACK, crack_colour):
                p.set(nx, ny, crack_lit)
                break


def soot(p, seed, amount):
    """Darkens the stone here and there: the brick has been hit."""
    for y in range(p.h):
        for x in range(p.w):
            c = p.get(x, y)
            if c != BLACK and noise(x, y, seed) < amount:
                p.set(x, y, scale(c, 0.78))


DAMAGED1 = [
    '.......c......xx',
    '.......c.......x',
    '......c.........',
    '......c.........',
    '.......c........',
    '........c.......',
    '........c.......',
    '................',
    '................',
    '............c...',
    '...........c....',
    '...........c....',
    '..........c.....',
    'x.........c.....',
    'xx.......c......',
    'xxx.............',
]

DAMAGED2 = [
    '....c.....xxxxxx',
    '....c......xxxxx',
    '...c.......cxxxx',
    '...c......c.xxxx',
    '....c.....c...xx',
    '....cc...c....xx',
    '......c.c......x',
    '.......c........',
    'x.......c.......',
    'xx......c.......',
    'xx......c....c..',
    'xxxx...c....c...',
    'xxx....c...c....',
    'xxxxx......c....',
    'xxxxxx....c.....',
    'xxxxxxx.......xx',
]


def damaged1():
    p = draw_brick('damaged1', STONE, 1)
    soot(p, 21, 0.10)
    damage(p, DAMAGED1)
    return p


def damaged2():
    p = draw_brick('damaged2', STONE, 1)
    soot(p, 33, 0.30)
    damage(p, DAMAGED2)
    return p


# ---------------------------------------------------------------- ground

def ground():
    w, h = 800, 32
    p = Pic('ground', w, h)
    rng = Rng(2024)
    grass = [hexc(c) for c in ('#1d4a16', '#2a6a1c', '#3a8a24', '#52a82e', '#76c83c', '#a2e05a')]
    earth = [hexc(c) for c in ('#2e1d10', '#3d2614', '#4e3119', '#623e1f', '#774c26', '#8c5a2d')]
    pebble = [hexc(c) for c in ('#3e342c', '#62574d', '#83776b', '#a89b8b')]
    root = hexc('#2a1a0d')
    flowers = [hexc('#ff5a5a'), hexc('#ffe45a'), hexc('#f4f0ff'), hexc('#c08cff')]

    def surface(x):
        # Flat under the castle (it stands on row 0), gently rolling beyond.
        if x < 104:
            return 0
        t = x / 800.0
        v = 1.6 + 1.1 * math.sin(t * 11.0 + 0.7) + 0.7 * math.sin(t * 29.0 + 2.1)
        ramp = min(1.0, (x - 104) / 40.0)
        return max(0, min(3, int(round(v * ramp))))

    tops = [surface(x) for x in range(w)]
    turf = [4 + (1 if noise(x, 0, 9) < 0.35 else 0) + (1 if noise(x // 3, 1, 9) < 0.3 else 0)
            for x in range(w)]

    # Earth: darker with depth, dithered between neighbouring shades.
    for x in range(w):
        for y in range(tops[x], h):
            depth = (y - tops[x]) / float(h - tops[x])
            level = 5.2 - depth * 4.6 + (noise(x // 2, y, 3) - 0.5) * 1.2
            i = int(math.floor(level))
            frac = level - i
            if noise(x, y, 4) < frac:
                i += 1
            p.set(x, y, earth[max(0, min(5, i))])
    # Thin darker strata.
    for band in (17, 25):
        for x in range(w):
            y = band + int(round(1.5 * math.sin(x / 37.0 + band)))
            if noise(x, band, 5) < 0.7:
                p.set(x, y, scale(p.get(x, y), 0.8))
    # Pebbles with a lit top left.
    for _ in range(95):
        cx = rng.below(w)
        cy = 9 + rng.below(h - 10)
        rw = 1 + rng.below(3)
        rh = 1 + rng.below(2)
        base = rng.below(2) + 1
        for y in range(cy - rh, cy + rh + 1):
            for x in range(cx - rw, cx + rw + 1):
                if ((x - cx) / (rw + 0.5)) ** 2 + ((y - cy) / (rh + 0.5)) ** 2 <= 1.0:
                    c = pebble[base]
                    if y == cy - rh or x == cx - rw:
                        c = pebble[base + 1]
                    if y == cy + rh:
                        c = pebble[base - 1]
                    if p.inside(x, y) and y > tops[x % w] + turf[x % w]:
                        p.set(x, y, c)
    # Roots hanging from the turf.
    for _ in range(60):
        x = rng.below(w)
        y = tops[x] + turf[x]
        for _step in range(3 + rng.below(6)):
            if p.inside(x, y):
                p.set(x, y, root)
            y += 1
            x += rng.below(3) - 1
    # Turf: a band of grass whose lower edge hangs down in tufts.
    for x in range(w):
        t0 = tops[x]
        t1 = t0 + turf[x]
        for y in range(t0, t1 + 1):
            rel = (y - t0) / float(max(1, t1 - t0))
            level = 4.6 - rel * 3.6 + (noise(x, y, 6) - 0.5) * 1.4
            c = grass[max(0, min(5, int(round(level))))]
            if y == t1:
                c = grass[0]
            p.set(x, y, c)
    # Blades standing up into the sky, lit at their tips.
    for x in range(104, w):
        if noise(x, 2, 8) < 0.55:
            height = 1 + int(noise(x, 3, 8) * 3)
            for k in range(1, height + 1):
                y = tops[x] - k
                if y < 0:
                    break
                p.set(x, y, grass[5] if k == height else grass[4])
    # A few flowers in the grass, away from the castle.
    for _ in range(26):
        x = 120 + rng.below(w - 124)
        y = tops[x] + 1
        c = flowers[rng.below(len(flowers))]
        p.set(x, y, c)
        p.set(x - 1, y + 1, scale(c, 0.7))
        p.set(x + 1, y + 1, scale(c, 0.7))
        p.set(x, y + 1, hexc('#ffd23a'))
        p.set(x, y + 2, grass[1])
    # Nothing that should show may be pure black.
    for y in range(h):
        for x in range(w):
            if p.px[y][x] == BLACK and y >= tops[x]:
                p.px[y][x] = earth[0]
    return p


# ---------------------------------------------------------------- icons

def disc(cx, cy, r, x, y):
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r


def bomb():
    p = Pic('bomb', 16, 16)
    cx, cy, r = 6.5, 9.5, 6.0
    body = [hexc(c) for c in ('#1c1c28', '#262636', '#343448', '#48485f', '#6a6a88')]
    for y in range(16):
        for x in range(16):
            if disc(cx, cy, r, x, y):
                # Light from the upper left.
                lx, ly = (x + 0.5 - (cx - 2.2)), (y + 0.5 - (cy - 2.4))
                d = math.hypot(lx, ly) / (r * 1.6)
                i = max(0, min(4, int(round(4.2 - d * 5.0))))
                p.set(x, y, body[i])
    # Rim light on the lower right so the ball stands off the black sky.
    for y in range(16):
        for x in range(16):
            if disc(cx, cy, r, x, y) and not disc(cx - 0.9, cy - 0.9, r, x, y):
                p.set(x, y, hexc('#50507a'))
    # Specular spot.
    p.set(4, 6, hexc('#e0e0f8'))
    p.set(5, 6, hexc('#9c9cc0'))
    p.set(4, 7, hexc('#9c9cc0'))
    # Neck.
    for x, y in ((9, 3), (10, 3), (9, 4), (10, 4), (11, 4)):
        p.set(x, y, hexc('#7c7c94'))
    p.set(9, 3, hexc('#b8b8cc'))
    # Fuse.
    p.set(11, 2, hexc('#d8b070'))
    p.set(12, 2, hexc('#a87c40'))
    p.outline()
    # The spark goes on after the outline so it glows against the sky.
    p.set(13, 1, hexc('#ffffff'))
    for x, y in ((12, 1), (14, 1), (13, 0), (13, 2)):
        p.set(x, y, hexc('#ffe040'))
    for x, y in ((12, 0), (14, 0), (14, 2), (15, 1)):
        p.set(x, y, hexc('#ff8a20'))
    p.set(15, 3, hexc('#ff5a10'))
    return p


def clock():
    """An alarm clock: bells on top read as a clock even at 16 pixels."""
    p = Pic('clock', 16, 16)
    cx, cy = 7.0, 8.0
    brass = [hexc(c) for c in ('#9a6a10', '#e0a828', '#fff0a0')]
    for bx in (2.0, 12.0):
        for y in range(0, 5):
            for x in range(int(bx) - 3, int(bx) + 4):
                d = math.hypot(x - bx, y - 2.6)
                if d <= 2.4 and y <= 3:
                    p.set(x, y, brass[2] if (x < bx and y <= 1) else brass[1] if d < 1.8 else brass[0])
    p.set(7, 0, hexc('#8890a0'))
    p.set(7, 1, hexc('#5c6270'))
    rim_light, rim, rim_dark = hexc('#ff7a5a'), hexc('#d02c1c'), hexc('#7e1610')
    face, face_shade = hexc('#fbf6e6'), hexc('#d6ccb0')
    for y in range(16):
        for x in range(16):
            d = math.hypot(x - cx, y - cy)
            if d <= 6.5:
                if d > 4.9:
                    lit = (x - cx) + (y - cy) < -1.5
                    dark = (x - cx) + (y - cy) > 2.5
                    p.set(x, y, rim_light if lit else rim_dark if dark else rim)
                else:
                    lower_right = (x - cx) + (y - cy) > 3.0
                    p.set(x, y, face_shade if lower_right else face)
    # Feet.
    for x, y in ((3, 14), (2, 15), (11, 14), (12, 15)):
        p.set(x, y, rim_dark)
    mark = hexc('#8a8494')
    for x, y in ((7, 4), (11, 8), (7, 12), (3, 8)):
        p.set(x, y, mark)
    ink = hexc('#20202c')
    for x, y in ((7, 5), (7, 6), (7, 7), (8, 8), (9, 8)):
        p.set(x, y, ink)
    p.set(7, 8, hexc('#d02c1c'))
    p.outline()
    return p


def cannon():
    """Points left, the way the words fly."""
    p = Pic('cannon', 16, 16)
    metal = [hexc(c) for c in ('#23262d', '#383d48', '#545b6a', '#7a8394', '#b8c0ce')]
    wood = [hexc(c) for c in ('#4a2a10', '#7a4a1c', '#a2662a', '#cc9050')]
    # Trail of the carriage, slanting down to the right behind the wheel.
    for x in range(7, 16):
        top = 9 + (x - 7) * 0.55
        for y in range(int(top), int(top) + 3):
            p.set(x, y, wood[2] if y == int(top) else wood[1])
    # Barrel: muzzle swell on the left, reinforcing ring, breech and knob.
    profile = {0: (3, 9), 1: (3, 9), 2: (4, 8), 3: (4, 8), 4: (4, 8), 5: (4, 8), 6: (4, 8),
               7: (3, 9), 8: (3, 9), 9: (4, 9), 10: (4, 9), 11: (4, 9), 12: (5, 8), 13: (6, 7)}
    for x, (top, bottom) in profile.items():
        for y in range(top, bottom + 1):
            rel = (y - top) / float(max(1, bottom - top))
            i = 4 if y == top else 3 if rel < 0.4 else 2 if rel < 0.75 else 1
            p.set(x, y, metal[i])
    for y in range(4, 8):
        p.set(0, y + 1 if y > 5 else y, metal[2])
    p.set(0, 5, hexc('#121216'))
    p.set(0, 6, hexc('#121216'))
    p.set(0, 7, hexc('#121216'))
    # Wheel in front: a round rim, dark between the spokes, a bright hub.
    wx, wy = 8.0, 12.0
    for y in range(8, 16):
        for x in range(4, 13):
            d = math.hypot(x - wx, y - wy)
            if d <= 3.6:
                if d > 2.5:
                    p.set(x, y, wood[3] if (x - wx) + (y - wy) < -1 else wood[2] if (x - wx) + (y - wy) < 2 else wood[0])
                elif d < 0.5:
                    p.set(x, y, hexc('#e8d4a0'))
                elif x == wx or y == wy:
                    p.set(x, y, wood[2])
                else:
                    p.set(x, y, hexc('#2e1a0a'))
    p.outline()
    return p


def back():
    """A bold arrow to the right: every word is pushed back to the right edge."""
    p = Pic('back', 19, 21)
    greens = [hexc(c) for c in ('#0e5a1c', '#178a2a', '#28b63c', '#52dc5a', '#a8ff98')]
    tipx, midy = 17, 10

    def inside(x, y):
        if 1 <= x <= 9 and 7 <= y <= 13:
            return True
        if 9 <= x <= tipx:
            half = (tipx - x) * 9 / 8.0
            return abs(y - midy) <= half + 0.01
        return False

    for y in range(21):
        for x in range(19):
            if inside(x, y):
                rel = (y - 1) / 18.0
                i = 4 if rel < 0.22 else 3 if rel < 0.45 else 2 if rel < 0.68 else 1
                if not inside(x, y - 1):
                    i = 4
                if not inside(x, y + 1) or not inside(x + 1, y):
                    i = 0
                p.set(x, y, greens[i])
    p.outline()
    return p


def shield():
    """A knight's shield behind each letter of a shielded word. The letters
    (yellow) cover its upper two thirds: there the shield is plain dark blue
    between a dull steel rim, with no bright detail for a stroke to merge
    with; its gold cross sits in the point below them."""
    p = Pic('shield', 16, 32)
    rim = [hexc(c) for c in ('#3a404c', '#5b6372', '#78829a', '#98a2b6')]
    field_l, field, field_r = hexc('#2c50c4'), hexc('#2446b0'), hexc('#1a348c')
    cx = 7.5

    def half_width(y):
        if y < 1:
            return -1
        if y <= 17:
            return 7.0
        t = (y - 17) / 13.0  # curve to the point at y = 30
        return 7.0 * math.sqrt(max(0.0, 1.0 - t * t))

    def inside(x, y, shrink=0.0):
        hw = half_width(y) - shrink
        return hw >= 0 and abs(x + 0.5 - cx) <= hw + 0.01 and y >= 1 + shrink

    for y in range(32):
        for x in range(16):
            if not inside(x, y):
                continue
            if not inside(x, y, 1.6):
                left = x + 0.5 < cx
                top = y <= 2
                c = rim[3] if top and left else rim[2] if (left or top) else rim[1]
                if not inside(x, y + 1) or (not left and not inside(x + 1, y)):
                    c = rim[0]
                p.set(x, y, c)
            else:
                c = field_l if x + 0.5 < cx - 3 else field_r if x + 0.5 > cx + 3 else field
                p.set(x, y, c)
    # The cross, small, below the letters (they end at row 19).
    gold, gold_dark = hexc('#ffd24a'), hexc('#b8861c')
    for y in range(21, 28):
        p.set(7, y, gold)
        p.set(8, y, gold_dark)
    for x in range(5, 11):
        p.set(x, 23, gold)
        p.set(x, 24, gold_dark)
    p.set(7, 24, gold)
    p.outline()
    return p


LETTER_G = [
    '..######..',
    '.########.',
    '###....###',
    '###.....##',
    '###.......',
    '###.......',
    '###..#####',
    '###..#####',
    '###....###',
    '###....###',
    '.########.',
    '..######..',
]


def icon():
    p = Pic('icon', 32, 32)
    # A tower top: three merlons over a brick wall.
    for y in range(6, 32):
        for x in range(32):
            p.set(x, y, brick_colour(x % 16, (y - 6) % 16, STONE, 1))
    for mx in (0, 12, 24):
        for y in range(0, 6):
            for x in range(mx, mx + 8):
                c = STONE['pit'] if noise(x, y, 3) < 0.2 else STONE['face']
                if x == mx or y == 0:
                    c = STONE['light']
                elif x == mx + 7 or y == 5:
                    c = STONE['shade']
                p.set(x, y, c)
    # A plate with the falling letter.
    ox, oy = 11, 13
    plate = hexc('#1a1430')
    for y in range(oy - 2, oy + len(LETTER_G) + 2):
        for x in range(ox - 2, ox + len(LETTER_G[0]) + 2):
            p.set(x, y, plate)
    letter = [hexc(c) for c in ('#ff9a1a', '#ffd030', '#fff090')]
    for j, row in enumerate(LETTER_G):
        for i, ch in enumerate(row):
            if ch == '#':
                c = letter[2] if j < 3 else letter[1] if j < 8 else letter[0]
                p.set(ox + i, oy + j, c)
    return p


SMALL_G = [
    '.####.',
    '##..##',
    '##....',
    '##.###',
    '##..##',
    '.####.',
]


def icon16():
    """The desktop icon at 16 pixels, from which 48 is made by a whole factor."""
    p = Pic('icon16', 16, 16)
    for y in range(16):
        for x in range(16):
            p.set(x, y, brick_colour(x, y, STONE, 1))
    plate = hexc('#1a1430')
    for y in range(3, 13):
        for x in range(3, 13):
            p.set(x, y, plate)
    letter = [hexc(c) for c in ('#ff9a1a', '#ffd030', '#fff090')]
    for j, row in enumerate(SMALL_G):
        for i, ch in enumerate(row):
            if ch == '#':
                p.set(5 + i, 5 + j, letter[2] if j < 2 else letter[1] if j < 4 else letter[0])
    return p


# (maker, width, height, how the game draws it: opaque, transparent with the
# bottom-left pixel's colour, or transparent with black)
OPAQUE, CORNER, BLACK_KEY = 'opaque', 'corner', 'black'
PICTURES = [
    (brick, 16, 16, OPAQUE),
    (brickarch, 16, 16, OPAQUE),
    (damaged1, 16, 16, CORNER),
    (damaged2, 16, 16, CORNER),
    (ground, 800, 32, BLACK_KEY),
    (bomb, 16, 16, CORNER),
    (goldbrick, 16, 16, OPAQUE),
    (clock, 16, 16, CORNER),
    (cannon, 16, 16, CORNER),
    (back, 19, 21, CORNER),
    (shield, 16, 32, CORNER),
    (icon, 32, 32, OPAQUE),
    (icon16, 16, 16, OPAQUE),
]


def check(p, w, h, key):
    """What the game relies on: the exact size, and for a picture keyed on
    its bottom-left pixel, that pixel black like the sky around the shape."""
    assert (p.w, p.h) == (w, h), '%s is %dx%d, wants %dx%d' % (p.name, p.w, p.h, w, h)
    if key == CORNER:
        assert p.px[h - 1][0] == BLACK, '%s: bottom-left pixel must be black' % p.name


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '..', 'assets', 'pictures')
    os.makedirs(folder, exist_ok=True)
    for make, w, h, key in PICTURES:
        p = make()
        check(p, w, h, key)
        p.write_xpm(folder)


if __name__ == '__main__':
    main()
