#!/usr/bin/env python3
"""Draws the program's small images and writes them as PNG files (and the icon as ICO).

Run once by hand when the design changes; the outputs are committed and the build only
embeds them. Each pixel is sampled 8 x 8 times for smooth edges.
"""
import math
import struct
import zlib


def png(width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples, straight alpha."""
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def render(size, shader, samples=8):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    px = x + (sx + 0.5) / samples
                    py = y + (sy + 0.5) / samples
                    r, g, b, a = shader(px, py)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = samples * samples
            alpha = acc[3] / n
            if alpha > 0:
                color = [round(acc[i] / acc[3]) for i in range(3)]
            else:
                color = [0, 0, 0]
            row.append((color[0], color[1], color[2], round(alpha * 255)))
        rows.append(row)
    return rows


def over(top, bottom):
    """Composites two (r, g, b, a) samples with a in 0..1."""
    ta, ba = top[3], bottom[3]
    a = ta + ba * (1 - ta)
    if a == 0:
        return (0, 0, 0, 0)
    return tuple((top[i] * ta + bottom[i] * ba * (1 - ta)) / a for i in range(3)) + (a,)


def cross_distance(x, y, cx, cy, arm):
    """Distance from (x, y) to the two diagonals of a cross of half-length arm."""
    dx, dy = x - cx, y - cy
    best = 1e9
    for sx in (1, -1):
        # segment from (-arm, -sx*arm) to (arm, sx*arm)
        t = max(-arm, min(arm, (dx + sx * dy) / 2))
        px, py = t, sx * t
        best = min(best, math.hypot(dx - px, dy - py))
    return best


def close_image(circle_rgb, cross_rgb, shift=0.0):
    c = 7.0 + shift

    def shader(x, y):
        sample = (0, 0, 0, 0)
        if circle_rgb is not None and math.hypot(x - c, y - c) <= 6.6:
            sample = circle_rgb + (1.0,)
        if cross_distance(x, y, c, c, 3.0) <= 0.95:
            sample = over(cross_rgb + (1.0,), sample)
        return sample

    return render(14, shader)


def icon_image(size):
    s = size / 32.0

    def shader(x, y):
        x, y = x / s, y / s
        sample = (0, 0, 0, 0)
        # a page with a folded corner
        if 5 <= x <= 27 and 3 <= y <= 29 and not (x > 20 and y < 3 + (x - 20)):
            sample = (250, 250, 246, 1.0)
            if x < 6 or x > 26 or y < 4 or y > 28:
                sample = (90, 96, 110, 1.0)
        # three text rows, the first one bold
        for top, left, right, thick in ((9, 9, 22, 3), (15, 12, 24, 2), (20, 12, 21, 2)):
            if left <= x <= right and top <= y <= top + thick:
                sample = (40, 80, 160, 1.0) if thick == 3 else (110, 120, 140, 1.0)
        # a tab shape at the bottom
        if 8 <= x <= 18 and 24 <= y <= 27:
            sample = (220, 120, 40, 1.0)
        return sample

    return render(size, shader, samples=4)


def ico(images):
    """images: list of (size, png bytes); PNG-compressed icon entries."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    data = b""
    for size, blob in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        data += blob
    return header + entries + data


if __name__ == "__main__":
    with open("close_normal.png", "wb") as f:  # resource 8831: mouse not over the button
        f.write(png(14, 14, close_image(None, (96, 96, 96))))
    with open("close_pressed.png", "wb") as f:  # 8832: mouse over and pressed
        f.write(png(14, 14, close_image((150, 30, 25), (255, 255, 255), shift=0.5)))
    with open("close_hot.png", "wb") as f:  # 8833: mouse over, not pressed
        f.write(png(14, 14, close_image((215, 60, 50), (255, 255, 255))))
    with open("quenlor.ico", "wb") as f:
        f.write(ico([(size, png(size, size, icon_image(size))) for size in (16, 32, 48)]))
