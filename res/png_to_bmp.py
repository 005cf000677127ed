#!/usr/bin/env python3
"""Writes a PNG picture as a 24-bit Windows bitmap (BMP), for the bitmap resource of Velkaro.exe.

Standard library only, so that the Windows build needs nothing beyond Python. Reads the PNGs that
make_resources.py writes: 8 bits per channel, RGB or RGBA, not interlaced; any row filter.
Usage: png_to_bmp.py IN.png OUT.bmp
"""

import struct
import sys
import zlib


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + " is no PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace:
        raise ValueError(path + ": only 8-bit RGB or RGBA without interlacing is read")
    channels = 4 if colour_type == 6 else 3
    return width, height, channels, unfilter(zlib.decompress(idat), width, height, channels)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def unfilter(raw, width, height, bpp):
    stride, rows, previous = width * bpp, [], bytearray(width * bpp)
    for y in range(height):
        start = y * (stride + 1)
        kind, row = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = row[i - bpp] if i >= bpp else 0
            up, corner = previous[i], previous[i - bpp] if i >= bpp else 0
            predictor = (0, left, up, (left + up) // 2, paeth(left, up, corner))[kind]
            row[i] = (row[i] + predictor) & 0xFF
        rows.append(row)
        previous = row
    return rows


def bmp_bytes(width, height, channels, rows):
    """Bottom-up rows of blue, green, red, each padded to four bytes."""
    padding = b"\x00" * ((4 - width * 3 % 4) % 4)
    pixels = b"".join(
        bytes(b for x in range(width) for b in reversed(row[x * channels:x * channels + 3]))
        + padding for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main(source, target):
    with open(target, "wb") as f:
        f.write(bmp_bytes(*read_png(source)))


if __name__ == "__main__":
    main(*sys.argv[1:])
