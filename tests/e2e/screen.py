#!/usr/bin/env python3
# What an Xvfb screen dump (its -fbdir file, in XWD format) shows, for the end-to-end checks.
#
# Usage: screen.py FILE   prints "lit N box X0 Y0 X1 Y1 digest D band B": how many pixels are not
# black, the rectangle holding them (inclusive; -1s when none), a digest of the picture, so that a
# script can tell whether anything is drawn, where, and whether it has changed, and the top row of
# the setup screen's cursor (the first row more than half filled with the highlight colour; -1
# when there is none), so that it can tell where the cursor is.
import array
import hashlib
import struct
import sys

HIGHLIGHT = 0xFFDD00  # the game's highlight colour, as a 24-bit screen holds it


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    header = struct.unpack(">25I", data[:100])
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = header[7], header[11], header[12], header[19]
    if bits_per_pixel != 32:
        sys.exit(f"screen.py: {bits_per_pixel} bits per pixel; run Xvfb with a 24-bit screen")
    start = header_size + 12 * ncolors
    return data[start:start + bytes_per_line * height], width, height, bytes_per_line, byte_order


def main():
    pixels, width, height, stride, byte_order = read(sys.argv[1])
    swap = (byte_order == 1) != (sys.byteorder == "big")
    lit = 0
    x0 = y0 = x1 = y1 = band = -1
    for y in range(height):
        row = array.array("I", pixels[y * stride:y * stride + 4 * width])
        if swap:
            row.byteswap()
        xs = [x for x, v in enumerate(row) if v & 0xFFFFFF]
        if not xs:
            continue
        if band < 0 and row.count(HIGHLIGHT) > len(xs) // 2 and len(xs) > 200:
            band = y
        lit += len(xs)
        x0 = xs[0] if x0 < 0 else min(x0, xs[0])
        x1 = max(x1, xs[-1])
        y0 = y if y0 < 0 else y0
        y1 = y
    print(f"lit {lit} box {x0} {y0} {x1} {y1} digest {hashlib.sha1(pixels).hexdigest()[:16]} band {band}")


if __name__ == "__main__":
    main()
