#!/usr/bin/env python3
"""Packs the drawn application icons into one Windows icon file.

    python3 make_ico.py OUTPUT.ico INPUT.png ...

Each INPUT is a square 8-bit RGBA PNG (as draw_icons.py writes them). Sizes below 256
become 32-bit DIB entries with an AND mask, which every version of Windows and every
resource tool reads; the 256 px entry keeps its PNG bytes, as Windows expects for that
size. Entries are ordered by size; the output is deterministic. Standard library only.
"""

import struct
import sys
import zlib


def read_png_rgba(data):
    """(size, RGBA rows top to bottom) of a square, 8-bit, non-interlaced RGBA PNG."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, header = 8, bytearray(), None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    w, h, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0) or w != h:
        raise ValueError("expected a square 8-bit RGBA PNG without interlacing")
    raw = zlib.decompress(bytes(idat))
    stride, rows, prev = w * 4, [], bytearray(w * 4)
    for y in range(h):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = prev[i]
            corner = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + pred) & 0xFF
        rows.append(bytes(line))
        prev = line
    return w, rows


def dib_entry(size, rows):
    """A BITMAPINFOHEADER, the colour pixels (BGRA) and the AND mask, both bottom-up."""
    mask_stride = ((size + 31) // 32) * 4
    pixels, mask = bytearray(), bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = row[x * 4:x * 4 + 4]
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    images = []
    for path in argv[2:]:
        with open(path, "rb") as f:
            png = f.read()
        size, rows = read_png_rgba(png)
        images.append((size, png if size >= 256 else dib_entry(size, rows)))
    images.sort(key=lambda image: image[0])

    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, body in images:
        side = 0 if size >= 256 else size  # 0 stands for 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    for _, body in images:
        out += body
    with open(argv[1], "wb") as f:
        f.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
