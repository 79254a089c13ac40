#!/usr/bin/env python3
"""Draw the launcher's artwork: splash.bmp (the picture at the top of the
dialog) and launcher.ico (the application icon).

Usage: make_art.py OUTDIR

The output is a pure function of this script: no clock, no system random
source, so every build writes the same bytes. Standard library only.

splash.bmp   250 x 109, 8 bits per pixel, BI_RGB, 256-entry palette,
             BITMAPINFOHEADER, bottom-up rows padded to 4 bytes.
launcher.ico 32 x 32 and 16 x 16 images, 4 bits per pixel (16 colours),
             each a BITMAPINFOHEADER with doubled height, XOR then AND mask.
"""

import math
import os
import struct
import sys

SPLASH_W = 250
SPLASH_H = 109


class XorShift32:
    """Small fixed-seed generator; its sequence never depends on the Python
    version, unlike the random module's derived methods."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF or 1

    def next(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x

    def below(self, n):
        return self.next() % n


def lerp(a, b, t):
    return a + (b - a) * t


def lerp_rgb(c0, c1, t):
    return tuple(int(round(lerp(c0[i], c1[i], t))) for i in range(3))


def ramp(stops, count):
    """count colours running through the (position, rgb) stops."""
    out = []
    for i in range(count):
        t = i / (count - 1) if count > 1 else 0.0
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                out.append(lerp_rgb(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0.0))
                break
    return out


# Little 5 x 7 font, only the letters of the title.
FONT = {
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "N": ["10001", "11001", "10101", "10101", "10011", "10001", "10001"],
}

BAYER4 = [
    [0, 8, 2, 10],
    [12, 4, 14, 6],
    [3, 11, 1, 9],
    [15, 7, 13, 5],
]


class Splash:
    # Palette layout: one contiguous ramp per element of the picture.
    SKY = 0            # 64 entries, zenith to horizon
    SKY_N = 64
    FAR_HILL = 64      # 16 entries
    NEAR_HILL = 80     # 16 entries
    MOON = 96          # 16 entries, halo to face
    STAR = 112         # 16 entries, dim to bright
    GOLD = 128         # 32 entries, dark bronze to pale gold
    GOLD_N = 32
    OUTLINE = 160      # 4 entries
    WINDOW = 164       # 4 entries, warm window light
    GREY = 168         # 88 entries filling the palette

    def __init__(self):
        self.palette = self.make_palette()
        assert len(self.palette) == 256
        self.px = [[self.SKY] * SPLASH_W for _ in range(SPLASH_H)]

    def make_palette(self):
        pal = []
        pal += ramp([(0.0, (6, 8, 30)), (0.45, (30, 24, 78)),
                     (0.8, (96, 48, 108)), (1.0, (196, 104, 86))], self.SKY_N)
        pal += ramp([(0.0, (52, 40, 92)), (1.0, (24, 20, 54))], 16)
        pal += ramp([(0.0, (20, 34, 38)), (1.0, (6, 12, 16))], 16)
        pal += [(18, 18, 50), (28, 28, 66)]
        pal += ramp([(0.0, (150, 144, 140)), (0.4, (206, 198, 176)),
                     (1.0, (252, 246, 214))], 14)
        pal += ramp([(0.0, (70, 70, 120)), (1.0, (255, 255, 255))], 16)
        pal += ramp([(0.0, (92, 44, 8)), (0.5, (214, 150, 32)),
                     (1.0, (255, 244, 170))], self.GOLD_N)
        pal += [(10, 4, 0), (34, 18, 6), (0, 0, 0), (60, 34, 12)]
        pal += [(120, 60, 10), (220, 150, 50), (255, 214, 110), (255, 244, 200)]
        pal += ramp([(0.0, (0, 0, 0)), (1.0, (255, 255, 255))], 256 - len(pal))
        return pal

    def put(self, x, y, idx):
        if 0 <= x < SPLASH_W and 0 <= y < SPLASH_H:
            self.px[y][x] = idx

    def sky(self):
        # Ordered dithering between neighbouring ramp entries smooths the bands.
        for y in range(SPLASH_H):
            v = y / (SPLASH_H - 1) * (self.SKY_N - 1)
            base = int(v)
            frac = v - base
            for x in range(SPLASH_W):
                step = 1 if frac * 16 > BAYER4[y & 3][x & 3] else 0
                self.px[y][x] = self.SKY + min(base + step, self.SKY_N - 1)

    def stars(self):
        rng = XorShift32(0x5EE11)
        for _ in range(70):
            x, y = rng.below(SPLASH_W), rng.below(62)
            bright = 15 - min(15, y // 5 + rng.below(6))
            self.put(x, y, self.STAR + bright)
            if bright > 12:
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    self.put(x + dx, y + dy, self.STAR + bright // 2)

    def moon(self, cx=228, cy=15, r=9):
        for y in range(cy - 2 * r, cy + 2 * r + 1):
            for x in range(cx - 2 * r, cx + 2 * r + 1):
                d = math.hypot(x - cx, y - cy)
                if d <= r:
                    # Crescent: a disc of sky up and to the left bites the face.
                    if math.hypot(x - cx + 4, y - cy + 3) < r - 1:
                        continue
                    self.put(x, y, self.MOON + 15 - int(4 * d / r))
                elif d < 1.6 * r:
                    # A faint halo in two rings.
                    self.put(x, y, self.MOON + (1 if d < 1.3 * r else 0))

    def hills(self):
        for x in range(SPLASH_W):
            far = 72 + 6 * math.sin(x / 23.0 + 1.1) + 3 * math.sin(x / 9.0)
            near = 88 + 5 * math.sin(x / 31.0 + 2.7) + 2 * math.sin(x / 13.0 + 0.4)
            for y in range(SPLASH_H):
                if y >= near:
                    depth = min(15, int((y - near) / 2))
                    self.px[y][x] = self.NEAR_HILL + depth
                elif y >= far:
                    depth = min(15, int((y - far) * 0.8))
                    self.px[y][x] = self.FAR_HILL + depth

    def tower(self, left=28, base=92):
        # A lone watchtower on the near ridge, with one lit window.
        dark = self.NEAR_HILL + 15
        for y in range(base - 26, base + 4):
            for x in range(left, left + 9):
                self.put(x, y, dark)
        for x in range(left - 1, left + 10, 2):
            for y in range(base - 29, base - 26):
                self.put(x, y, dark)
        for y in range(base - 20, base - 16):
            for x in range(left + 3, left + 6):
                self.put(x, y, self.WINDOW + (2 if y == base - 20 else 3))

    def title(self, text="SKELLION", scale=4, gap=4, top=30):
        glyph_w = 5 * scale
        width = len(text) * glyph_w + (len(text) - 1) * gap
        left = (SPLASH_W - width) // 2
        height = 7 * scale
        cells = set()
        for n, ch in enumerate(text):
            gx = left + n * (glyph_w + gap)
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        for dy in range(scale):
                            for dx in range(scale):
                                cells.add((gx + col * scale + dx, top + row * scale + dy))
        # Drop shadow, then a dark outline, then the gold face.
        for x, y in cells:
            for dx, dy in ((2, 2), (3, 3)):
                if (x + dx, y + dy) not in cells:
                    self.put(x + dx, y + dy, self.OUTLINE + 2)
        for x, y in cells:
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    if (x + dx, y + dy) not in cells:
                        self.put(x + dx, y + dy, self.OUTLINE)
        for x, y in cells:
            t = (y - top) / (height - 1)
            # Bright top fading to bronze, with a light band just above the middle.
            v = 1.0 - t * 0.85 + 0.25 * math.exp(-((t - 0.35) ** 2) / 0.01)
            lit = (x + 1, y - 1) not in cells or (x, y - 1) not in cells
            if lit:
                v += 0.2
            shade = max(0, min(self.GOLD_N - 1, int(v * (self.GOLD_N - 1))))
            self.put(x, y, self.GOLD + shade)

    def draw(self):
        self.sky()
        self.stars()
        self.moon()
        self.hills()
        self.tower()
        self.title()


def bmp_bytes(width, height, palette, rows):
    """8-bit BI_RGB file; rows[0] is the top row."""
    stride = (width + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        pixels += bytes(row) + b"\0" * (stride - width)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels),
                       2835, 2835, len(palette), 0)
    offset = 14 + len(info) + len(pal)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + pal + pixels


ICON_PALETTE = [
    (0, 0, 0),        # 0  under the transparent part of the mask
    (58, 26, 8),      # 1  mane shadow
    (118, 52, 12),    # 2  mane dark
    (176, 88, 20),    # 3  mane
    (222, 138, 36),   # 4  mane light
    (250, 196, 80),   # 5  mane tips
    (250, 246, 226),  # 6  bone
    (204, 196, 172),  # 7  bone shade
    (130, 122, 106),  # 8  teeth gaps
    (24, 18, 18),     # 9  sockets
    (214, 36, 20),    # 10 eye glow
    (255, 255, 255),  # 11 spare
    (40, 20, 10),     # 12 outline
    (128, 128, 128),  # 13 spare
    (64, 64, 64),     # 14 spare
    (192, 192, 192),  # 15 spare
]

TUFTS = 11


def icon_pixel(u, v):
    """Colour index, or None for transparent, at the point (u, v) of the unit
    square (0..1 across, 0..1 down): a skull framed by a lion's mane."""
    x, y = u - 0.5, v - 0.5
    r = math.hypot(x, y)
    # The mane's tufts curl: the angle shifts with the radius.
    a = math.atan2(y, x) + 1.6 * r
    wave = math.cos(TUFTS * a)
    mane = 0.42 + 0.07 * wave
    if r > mane:
        return None
    cranium = (x / 0.23) ** 2 + ((y + 0.05) / 0.21) ** 2
    jaw = abs(x) < 0.13 and 0.08 < y < 0.25
    if cranium <= 1.0 or jaw:
        for ex in (-0.09, 0.09):
            if ((x - ex) / 0.068) ** 2 + ((y + 0.01) / 0.06) ** 2 <= 1.0:
                return 10 if abs(x - ex) < 0.032 and y > -0.02 else 9
        if abs(x) < 0.028 and 0.07 < y < 0.12:
            return 9
        if jaw and y > 0.17 and math.sin(x * 70) > 0.55:
            return 8
        if cranium > 0.72 and not jaw or (jaw and abs(x) > 0.10):
            return 7
        return 6
    depth = (r - 0.22) / max(mane - 0.22, 1e-6)
    level = 5 - min(4, int(depth * 4.5)) if wave > -0.2 else 3 - min(2, int(depth * 3))
    return level


def icon_image(size):
    """One icon image: BITMAPINFOHEADER (height doubled), palette, XOR, AND."""
    # 4 x 4 supersampling: a pixel is opaque when most samples are, and
    # takes the most frequent of their colours.
    n = 4
    colours = [[0] * size for _ in range(size)]
    mask = [[1] * size for _ in range(size)]
    for py in range(size):
        for px in range(size):
            votes = {}
            for sy in range(n):
                for sx in range(n):
                    c = icon_pixel((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is not None:
                        votes[c] = votes.get(c, 0) + 1
            if sum(votes.values()) * 2 >= n * n:
                colours[py][px] = max(sorted(votes), key=lambda c: votes[c])
                mask[py][px] = 0
    # One-pixel dark outline on the silhouette's edge.
    for py in range(size):
        for px in range(size):
            if mask[py][px] == 0 and any(
                    not (0 <= px + dx < size and 0 <= py + dy < size) or mask[py + dy][px + dx]
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                colours[py][px] = 12

    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    for row in reversed(colours):
        line = bytearray(xor_stride)
        for i, c in enumerate(row):
            line[i // 2] |= c << (4 if i % 2 == 0 else 0)
        xor += line
    andm = bytearray()
    for row in reversed(mask):
        line = bytearray(and_stride)
        for i, m in enumerate(row):
            if m:
                line[i // 8] |= 0x80 >> (i % 8)
        andm += line
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                       len(xor) + len(andm), 0, 0, 0, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in ICON_PALETTE)
    return info + pal + bytes(xor) + bytes(andm)


def ico_bytes(sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(img), offset)
        offset += len(img)
    return out + b"".join(images)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_art.py OUTDIR\n")
        return 2
    outdir = argv[1]
    os.makedirs(outdir, exist_ok=True)
    splash = Splash()
    splash.draw()
    files = {
        "splash.bmp": bmp_bytes(SPLASH_W, SPLASH_H, splash.palette, splash.px),
        "launcher.ico": ico_bytes([32, 16]),
    }
    for name, data in files.items():
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
