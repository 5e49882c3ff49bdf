#!/usr/bin/env python3
"""Draws the acquire window's logo (logo.bmp, bitmap 203) and its busy animation clip
(busy.avi, the AVI resource IDR_PROGRESS_ANIMATION): our own pictures, kept beside this script.

Run it from anywhere to draw both again; it needs only Python 3.
"""

import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
FACE = (240, 240, 240)  # the buttons' face colour around the logo's rounded corners
SAMPLES = 4  # sub-pixels per pixel and axis, for smooth edges


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def coverage(inside, x, y):
    """The share of pixel (x, y) that the shape covers."""
    hits = 0
    for i in range(SAMPLES):
        for j in range(SAMPLES):
            if inside(x + (i + 0.5) / SAMPLES, y + (j + 0.5) / SAMPLES):
                hits += 1
    return hits / (SAMPLES * SAMPLES)


def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def circles(*discs):
    def inside(x, y):
        return any((x - cx) ** 2 + (y - cy) ** 2 <= r ** 2 for cx, cy, r in discs)
    return inside


def polygon(points):
    def inside(x, y):
        result = False
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                result = not result
        return result
    return inside


def draw_logo(width=52, height=26):
    """A cloud over a page, white on a blue badge."""
    badge = rounded_rect(0, 0, width, height, 6)
    cloud = circles((17, 13, 5.5), (24, 9.5, 7), (32, 12, 5.5), (38, 15, 4))
    cloud_base = rounded_rect(13, 12, 42, 19, 3.5)
    page = polygon([(24, 16), (33, 16), (36, 19), (36, 25), (24, 25)])
    shadow = polygon([(23, 15), (34, 15), (37, 18), (37, 26), (23, 26)])
    lines = [rounded_rect(26, y, 34, y + 1, 0.5) for y in (19.5, 22)]
    pixels = []
    for y in range(height):
        row = []
        for x in range(width):
            top, bottom = (52, 120, 196), (22, 70, 136)
            colour = mix(FACE, mix(top, bottom, y / (height - 1)), coverage(badge, x, y))
            white = max(coverage(cloud, x, y), coverage(cloud_base, x, y))
            colour = mix(colour, (255, 255, 255), white)
            colour = mix(colour, (28, 84, 150), coverage(shadow, x, y))
            colour = mix(colour, (250, 250, 246), coverage(page, x, y))
            for line in lines:
                colour = mix(colour, (120, 150, 190), coverage(line, x, y))
            row.append(colour)
        pixels.append(row)
    return pixels


def write_bmp(path, pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + bytes(stride - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as out:
        out.write(b'BM' + struct.pack('<IHHI', 14 + len(header) + len(data), 0, 0, 14 + 40))
        out.write(header + data)


def draw_busy_frames(size=24, count=8):
    """A ring of dots whose dark head goes round once in the clip."""
    background = FACE
    shades = [mix((22, 70, 136), (214, 220, 228), k / (count - 1)) for k in range(count)]
    levels = 8
    palette = [background]
    index = {}
    for k, shade in enumerate(shades):
        for level in range(1, levels + 1):
            index[(k, level)] = len(palette)
            palette.append(mix(background, shade, level / levels))
    centre, ring, dot = size / 2, size / 2 - 4.5, 2.6
    frames = []
    for frame in range(count):
        pixels = []
        for y in range(size):
            row = []
            for x in range(size):
                value = 0
                for d in range(count):
                    angle = 2 * math.pi * d / count - math.pi / 2
                    disc = circles((centre + ring * math.cos(angle),
                                    centre + ring * math.sin(angle), dot))
                    level = round(coverage(disc, x, y) * levels)
                    if level:
                        age = (frame - d) % count
                        value = index[(age, level)]
                row.append(value)
            pixels.append(row)
        frames.append(pixels)
    return palette, frames


def chunk(fourcc, payload):
    pad = b'\0' if len(payload) % 2 else b''
    return fourcc + struct.pack('<I', len(payload)) + payload + pad


def write_avi(path, palette, frames, microseconds_per_frame=100000):
    """Uncompressed 8-bit frames, as the common controls' animation plays them."""
    height, width = len(frames[0]), len(frames[0][0])
    stride = (width + 3) & ~3
    images = []
    for pixels in frames:
        data = bytearray()
        for row in reversed(pixels):
            data += bytes(row) + bytes(stride - width)
        images.append(bytes(data))
    size = len(images[0])
    colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    colours += bytes(4 * 256 - len(colours))
    avih = struct.pack('<14I', microseconds_per_frame, size * 1000000 // microseconds_per_frame,
                       0, 0x10, len(frames), 0, 1, size, width, height, 0, 0, 0, 0)
    strh = (b'vids' + b'DIB ' + struct.pack('<IHHIIIIIIiI', 0, 0, 0, 0, 1,
                                           1000000 // microseconds_per_frame, 0, len(frames),
                                           size, -1, 0)
            + struct.pack('<4h', 0, 0, width, height))
    strf = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, size, 0, 0, 256, 0) + colours
    strl = chunk(b'LIST', b'strl' + chunk(b'strh', strh) + chunk(b'strf', strf))
    hdrl = chunk(b'LIST', b'hdrl' + chunk(b'avih', avih) + strl)
    movi_body = b''
    index = b''
    for image in images:
        index += b'00db' + struct.pack('<III', 0x10, 4 + len(movi_body), len(image))
        movi_body += chunk(b'00db', image)
    movi = chunk(b'LIST', b'movi' + movi_body)
    with open(path, 'wb') as out:
        out.write(chunk(b'RIFF', b'AVI ' + hdrl + movi + chunk(b'idx1', index)))


if __name__ == '__main__':
    write_bmp(os.path.join(HERE, 'logo.bmp'), draw_logo())
    write_avi(os.path.join(HERE, 'busy.avi'), *draw_busy_frames())
