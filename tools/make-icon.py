#!/usr/bin/env python3
"""Draws Ferrolet's icon and writes it as a one-image .ico (64 x 64, 32 bits per pixel).

The picture: a sheet of paper going into a shredder and leaving it as strips, on a rounded
steel-blue tile. Every shape is drawn at four times the size and averaged down, which gives
smooth edges without any imaging library.

Usage: make-icon.py OUTPUT.ico
"""
import struct
import sys

SIZE = 64
SCALE = 4


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def strips(x0, x1, y0, count, gap, lengths):
    width = (x1 - x0 - gap * (count - 1)) / count

    def inside(x, y):
        if not (x0 <= x < x1 and y >= y0):
            return False
        index = int((x - x0) // (width + gap))
        if index >= count or (x - x0) - index * (width + gap) >= width:
            return False
        return y < y0 + lengths[index]
    return inside


# Layers from back to front: (shape in 64-unit coordinates, RGBA colour).
LAYERS = [
    (rounded_rect(2, 2, 62, 62, 11), (0x2B, 0x4C, 0x6F, 255)),
    (rounded_rect(2, 2, 62, 33, 11), (0x35, 0x5E, 0x88, 255)),
    (rect(17, 7, 47, 30), (0xF4, 0xF6, 0xF8, 255)),
    (rect(21, 12, 43, 14), (0x9A, 0xA8, 0xB6, 255)),
    (rect(21, 17, 39, 19), (0x9A, 0xA8, 0xB6, 255)),
    (rect(21, 22, 41, 24), (0x9A, 0xA8, 0xB6, 255)),
    (strips(17, 47, 36, 6, 1.6, [18, 14, 20, 12, 17, 15]), (0xF4, 0xF6, 0xF8, 255)),
    (rounded_rect(9, 27, 55, 38, 3), (0x1A, 0x1F, 0x26, 255)),
    (rect(13, 31, 51, 33), (0xE0, 0x4A, 0x3A, 255)),
]


def pixel(px, py):
    """Averages SCALE x SCALE samples of the layered picture, with premultiplied colour."""
    acc = [0.0, 0.0, 0.0, 0.0]
    n = SCALE * SCALE
    for sy in range(SCALE):
        for sx in range(SCALE):
            x = px + (sx + 0.5) / SCALE
            y = py + (sy + 0.5) / SCALE
            colour = (0, 0, 0, 0)
            for inside, rgba in LAYERS:
                if inside(x, y):
                    colour = rgba
            alpha = colour[3] / 255.0
            acc[0] += colour[0] * alpha
            acc[1] += colour[1] * alpha
            acc[2] += colour[2] * alpha
            acc[3] += alpha
    alpha = acc[3] / n
    if alpha == 0:
        return (0, 0, 0, 0)
    r, g, b = (round(c / n / alpha) for c in acc[:3])
    return (r, g, b, round(alpha * 255))


def icon_bytes():
    # A DIB image: header with double height (colour rows, then the AND mask), bottom-up BGRA.
    rows = []
    for py in range(SIZE - 1, -1, -1):
        row = bytearray()
        for px in range(SIZE):
            r, g, b, a = pixel(px, py)
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    mask_row_bytes = ((SIZE + 31) // 32) * 4
    mask = bytes(mask_row_bytes * SIZE)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0,
                         SIZE * SIZE * 4 + len(mask), 0, 0, 0, 0)
    image = header + b''.join(rows) + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], 'wb') as out:
        out.write(icon_bytes())


if __name__ == '__main__':
    main()
