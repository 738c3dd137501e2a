#!/usr/bin/env python3
"""Writes the runtime's icon (src/resources/zulirt.ico): a 16 x 16 and a
32 x 32 image of 16 colours (the drawing uses six; a 256-colour palette
would cost the shipped runtime 2 KB for nothing), drawn from a few shapes so that the icon is
reproducible without any drawing program:

    python3 scripts/make_icon.py src/resources/zulirt.ico
"""
import struct
import sys

# Palette: index 0 black, then the colours the drawing uses; the rest black.
PALETTE = [
    (0, 0, 0),        # 0 outline
    (255, 255, 255),  # 1 white
    (0, 0, 170),      # 2 dark blue (the link colour of the dialog)
    (64, 112, 224),   # 3 light blue
    (240, 200, 40),   # 4 yellow (the patch)
    (160, 120, 0),    # 5 dark yellow
]
PALETTE += [(0, 0, 0)] * (16 - len(PALETTE))


def draw(size):
    """Pixel indices, top row first, and the transparency of each pixel."""
    s = size / 32.0
    pixels = [[0] * size for _ in range(size)]
    transparent = [[True] * size for _ in range(size)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), max(int(y0 * s) + 1, int(y1 * s))):
            for x in range(int(x0 * s), max(int(x0 * s) + 1, int(x1 * s))):
                if 0 <= x < size and 0 <= y < size:
                    pixels[y][x] = colour
                    transparent[y][x] = False

    # A box (the installed program) ...
    fill(2, 6, 26, 30, 0)
    fill(3, 7, 25, 29, 3)
    fill(3, 7, 25, 11, 2)
    # ... a letter Z on it ...
    fill(7, 14, 21, 17, 1)
    for i in range(8):
        fill(17 - i * 1.5, 17 + i, 20 - i * 1.5, 18 + i, 1)
    fill(7, 24, 21, 27, 1)
    # ... and a patch stuck over its corner.
    fill(18, 1, 31, 14, 5)
    fill(19, 2, 30, 13, 4)
    fill(21, 7, 28, 8, 5)
    fill(24, 4, 25, 11, 5)
    return pixels, transparent


def image(size):
    pixels, transparent = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = b""
    mask = b""
    for y in reversed(range(size)):  # bottom-up rows
        row = bytearray(xor_stride)
        for x in range(size):
            row[x // 2] |= pixels[y][x] << (4 if x % 2 == 0 else 0)
        xor += bytes(row)
        bits = bytearray(and_stride)
        for x in range(size):
            if transparent[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + palette + xor + mask


def main(path):
    images = [image(16), image(32)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/resources/zulirt.ico")
