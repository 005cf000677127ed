#!/usr/bin/env python3
"""Draws the window's pictures: the background map (565 x 376) and the icon (32 x 32, 16 x 16).

Standard library only. The PNG files it writes are checked in, so the build never runs this;
run it again only to change the pictures:  python3 res/make_resources.py
Output is deterministic: the same script always writes the same bytes.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

BACKGROUND_SIZE = (565, 376)

# ---------------------------------------------------------------- PNG and ICO writers


def png_bytes(width, height, rows, channels):
    """rows: list of bytearrays, each width * channels bytes (RGB or RGBA, 8 bits each)."""
    colour_type = 6 if channels == 4 else 2
    raw = b"".join(b"\x00" + bytes(row) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_bytes(images):
    """images: list of (size, png bytes); PNG-compressed entries, as Windows Vista and later read."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for size, data in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        blobs += data
        offset += len(data)
    return header + entries + blobs


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)

# ---------------------------------------------------------------- small drawing helpers


def blend(base, colour, alpha):
    return tuple(b + (c - b) * alpha for b, c in zip(base, colour))


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = clamp01(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


# 3 x 5 digits for the grid's coordinate labels.
DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
}

# ---------------------------------------------------------------- the background map

HILLS = [  # x, y, radius, height
    (120, 70, 95, 62.0), (390, 60, 120, 48.0), (300, 250, 110, 35.0), (520, 300, 90, 40.0),
    (60, 300, 80, -22.0), (220, 160, 60, -14.0), (470, 170, 55, 18.0),
]


def height_at(x, y):
    h = 0.08 * x - 0.05 * y
    for hx, hy, r, a in HILLS:
        h += a * math.exp(-((x - hx) ** 2 + (y - hy) ** 2) / (2.0 * r * r))
    h += 3.0 * math.sin(x / 37.0 + y / 53.0) + 2.0 * math.cos(y / 29.0 - x / 71.0)
    return h


def stream_path():
    """A brook winding down the valley, as a polyline."""
    return [(x, 330 - 0.42 * x + 14 * math.sin(x / 23.0)) for x in range(-6, 580, 6)]


def paper_tint(h, y):
    low, high = (226, 236, 221), (241, 233, 212)
    base = blend(low, high, clamp01((h + 10.0) / 80.0))
    # The lower part, where the controls sit, is washed a little lighter.
    return blend(base, (250, 249, 244), 0.25 + 0.35 * clamp01((y - 90) / 120.0))


def contour_alpha(x, y, h):
    interval = 4.0
    gx = (height_at(x + 0.5, y) - height_at(x - 0.5, y))
    gy = (height_at(x, y + 0.5) - height_at(x, y - 0.5))
    slope = max(math.hypot(gx, gy), 1e-6)
    level = h / interval
    nearest = round(level)
    distance_px = abs(level - nearest) * interval / slope
    index_line = nearest % 5 == 0
    half_width = 0.75 if index_line else 0.4
    coverage = clamp01(half_width + 0.5 - distance_px)
    return coverage * (0.75 if index_line else 0.45), index_line


def grid_alpha(x, y, spacing=94, origin=(20, 22)):
    gx, gy = (x - origin[0]) % spacing, (y - origin[1]) % spacing
    on_line = min(gx, spacing - gx) < 0.5 or min(gy, spacing - gy) < 0.5
    near_cross = min(gx, spacing - gx) < 6 and min(gy, spacing - gy) < 6
    if near_cross and on_line:
        return 0.55
    return 0.16 if on_line else 0.0


def draw_background():
    width, height = BACKGROUND_SIZE
    stream = stream_path()
    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            h = height_at(x, y)
            colour = paper_tint(h, y)
            alpha, index_line = contour_alpha(x, y, h)
            colour = blend(colour, (150, 104, 62) if index_line else (176, 134, 92), alpha)
            colour = blend(colour, (96, 124, 156), grid_alpha(x, y))
            row.append(colour)
        pixels.append(row)
    draw_stream(pixels, stream)
    draw_grid_labels(pixels)
    for cx, cy in [(96, 58), (402, 44), (258, 86), (178, 30)]:
        draw_control_point(pixels, cx, cy)
    draw_north_arrow(pixels, 466, 46)
    return [bytearray(int(round(c)) for p in row for c in p) for row in pixels]


def draw_stream(pixels, path):
    for y in range(len(pixels)):
        for x in range(len(pixels[0])):
            d = min((segment_distance(x, y, *a, *b) for a, b in zip(path, path[1:])
                     if abs(a[0] - x) < 12), default=99.0)
            if d < 2.0:
                pixels[y][x] = blend(pixels[y][x], (92, 140, 196), 0.7 * clamp01(1.4 - d))


def draw_grid_labels(pixels, spacing=94, origin=(20, 22)):
    northing, easting = 3472, 512
    for i, x in enumerate(range(origin[0] + spacing, len(pixels[0]) - 20, spacing)):
        draw_text(pixels, str(easting + i + 1), x + 3, 4, (96, 110, 128))
    for i, y in enumerate(range(origin[1] + spacing, len(pixels) - 10, spacing)):
        draw_text(pixels, str(northing - i - 1), 3, y + 3, (96, 110, 128))


def draw_text(pixels, text, left, top, colour):
    for n, ch in enumerate(text):
        for dy, bits in enumerate(DIGITS[ch]):
            for dx, bit in enumerate(bits):
                if bit == "1":
                    x, y = left + n * 4 + dx, top + dy
                    pixels[y][x] = blend(pixels[y][x], colour, 0.8)


def draw_control_point(pixels, cx, cy, size=7.0):
    """The map symbol of a triangulation point: an outlined triangle with a dot in its centre."""
    corners = [(cx, cy - size), (cx - size * 0.87, cy + size * 0.5), (cx + size * 0.87, cy + size * 0.5)]
    for y in range(int(cy - size - 2), int(cy + size + 2)):
        for x in range(int(cx - size - 2), int(cx + size + 2)):
            edge = min(segment_distance(x, y, *corners[i], *corners[(i + 1) % 3]) for i in range(3))
            alpha = clamp01(1.2 - edge)
            if math.hypot(x - cx, y - cy) < 1.3:
                alpha = 1.0
            pixels[y][x] = blend(pixels[y][x], (150, 40, 36), 0.85 * alpha)


def draw_north_arrow(pixels, cx, cy):
    tip, left, right, tail = (cx, cy - 16), (cx - 6, cy + 8), (cx + 6, cy + 8), (cx, cy + 3)
    for y in range(cy - 18, cy + 11):
        for x in range(cx - 8, cx + 9):
            inside_left = point_in_triangle(x, y, tip, left, tail)
            inside_right = point_in_triangle(x, y, tip, tail, right)
            if inside_left:
                pixels[y][x] = blend(pixels[y][x], (70, 80, 96), 0.8)
            elif inside_right:
                pixels[y][x] = blend(pixels[y][x], (70, 80, 96), 0.25)
    # "N" in a 5 x 7 stroke under the arrow.
    for i in range(7):
        for x, y in [(cx - 3, cy + 12 + i), (cx + 3, cy + 12 + i), (cx - 3 + i * 6 / 6, cy + 12 + i)]:
            pixels[int(y)][int(x)] = blend(pixels[int(y)][int(x)], (70, 80, 96), 0.85)


def point_in_triangle(x, y, a, b, c):
    def side(p, q):
        return (x - q[0]) * (p[1] - q[1]) - (p[0] - q[0]) * (y - q[1])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)

# ---------------------------------------------------------------- the icon


def icon_sample(u, v):
    """Colour and coverage at (u, v) in [0, 1]^2: a map tile with contour rings and a survey mark."""
    corner = 0.18
    qx, qy = max(abs(u - 0.5) - (0.5 - corner), 0.0), max(abs(v - 0.5) - (0.5 - corner), 0.0)
    if math.hypot(qx, qy) > corner:
        return (0, 0, 0), 0.0
    colour = (236, 232, 208)
    if math.hypot(qx, qy) > corner - 0.06:
        return (44, 92, 84), 1.0
    r = math.hypot((u - 0.44) * 1.15, v - 0.58)
    if abs(math.sin(r * 26.0)) < 0.22 and r < 0.42:
        colour = (168, 112, 64)
    if abs(v - 0.25 - 0.08 * math.sin(u * 9)) < 0.035:
        colour = (70, 120, 190)
    if point_in_triangle(u, v, (0.66, 0.16), (0.48, 0.48), (0.84, 0.48)):
        colour = (196, 40, 36)
        if point_in_triangle(u, v, (0.66, 0.27), (0.56, 0.43), (0.76, 0.43)):
            colour = (250, 246, 236)
    return colour, 1.0


def draw_icon(size, samples=6):
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            acc, cover = [0.0, 0.0, 0.0], 0.0
            for sy in range(samples):
                for sx in range(samples):
                    colour, a = icon_sample((x + (sx + 0.5) / samples) / size,
                                            (y + (sy + 0.5) / samples) / size)
                    acc = [s + c * a for s, c in zip(acc, colour)]
                    cover += a
            n = samples * samples
            rgb = [int(round(s / cover)) if cover else 0 for s in acc]
            row += bytes(rgb + [int(round(255 * cover / n))])
        rows.append(row)
    return png_bytes(size, size, rows, 4)


def main():
    width, height = BACKGROUND_SIZE
    write("background.png", png_bytes(width, height, draw_background(), 3))
    icons = [(32, draw_icon(32)), (16, draw_icon(16))]
    for size, data in icons:
        write("icon-%d.png" % size, data)
    write("Velkaro.ico", ico_bytes(icons))


if __name__ == "__main__":
    main()
