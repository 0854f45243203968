#!/usr/bin/env python3
"""Draws the application icon for the desktop's icon theme.

    python3 draw_icons.py OUTPUT_DIR [SIZE ...]

writes OUTPUT_DIR/seeker-SIZE.png for each size (default: 16 22 24 32 48 64 128 256):
a lime slice seen as the lens of a magnifying glass, with a handle to the lower right.

Shapes are signed distances in a 1 x 1 unit square scaled to the size, so the art is the
same at every size and every edge is anti-aliased; the small sizes drop the fine segment
lines that would only blur. The raster helpers come from draw_assets.py; the output is
deterministic. Only the standard library is used; ImageMagick's `convert`, when present,
is not needed.
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from draw_assets import Canvas, png_bytes, sd_circle, sd_ring, sd_segment  # noqa: E402

SIZES = [16, 22, 24, 32, 48, 64, 128, 256]

RIND = (0.22, 0.52, 0.13)
PITH = (0.95, 0.98, 0.85)
PULP = (0.66, 0.85, 0.25)
PULP_LIGHT = (0.80, 0.93, 0.45)
HANDLE = (0.27, 0.20, 0.16)
HANDLE_EDGE = (0.45, 0.34, 0.26)
SHADOW = (0.0, 0.0, 0.0)

# Lens geometry in units of the icon's side.
LENS_X, LENS_Y, LENS_R = 0.42, 0.42, 0.34
SEGMENTS = 8


def draw_icon(size):
    """RGBA bytes of the icon at size x size pixels."""
    c = Canvas(size, size)
    s = float(size)
    cx, cy, r = LENS_X * s, LENS_Y * s, LENS_R * s

    # Handle first, so the lens rim covers its inner end.
    hx0, hy0 = cx + r * 0.62, cy + r * 0.62
    hx1, hy1 = 0.90 * s, 0.90 * s
    c.fill(sd_segment(hx0 + 0.02 * s, hy0 + 0.03 * s, hx1 + 0.02 * s, hy1 + 0.03 * s, 0.07 * s),
           SHADOW, 0.25)
    c.fill(sd_segment(hx0, hy0, hx1, hy1, 0.07 * s), HANDLE, 1.0)
    c.fill(sd_segment(hx0 + 0.02 * s, hy0 - 0.02 * s, hx1 - 0.01 * s, hy1 - 0.04 * s,
                      max(0.5, 0.015 * s)), HANDLE_EDGE, 0.8)

    # The slice: rind, pith, pulp, then the lighter wedges between the segment lines.
    c.fill(sd_circle(cx + 0.015 * s, cy + 0.025 * s, r), SHADOW, 0.25)
    c.fill(sd_circle(cx, cy, r), RIND, 1.0)
    c.fill(sd_circle(cx, cy, r * 0.86), PITH, 1.0)
    c.fill(sd_circle(cx, cy, r * 0.78), PULP, 1.0)
    if size >= 22:
        line = max(0.6, 0.012 * s)
        for k in range(SEGMENTS):
            a = (k + 0.5) * 2.0 * math.pi / SEGMENTS
            mx, my = cx + math.cos(a) * r * 0.45, cy + math.sin(a) * r * 0.45
            c.fill(sd_circle(mx, my, r * 0.17), PULP_LIGHT, 0.9)
        for k in range(SEGMENTS):
            a = k * 2.0 * math.pi / SEGMENTS
            c.fill(sd_segment(cx, cy, cx + math.cos(a) * r * 0.78, cy + math.sin(a) * r * 0.78, line),
                   PITH, 1.0)
        c.fill(sd_circle(cx, cy, max(0.8, r * 0.08)), PITH, 1.0)

    # A glint on the lens: the upper-left part of a thin ring.
    g = r * 0.62
    glint = lambda x, y: max(sd_ring(cx, cy, g, max(0.6, 0.025 * s))(x, y),
                             (x - cx) + (y - cy) + g * 0.55)
    c.fill(glint, (1.0, 1.0, 1.0), 0.55)
    return c.rgba_bytes()


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    out_dir = argv[1]
    sizes = [int(a) for a in argv[2:]] or SIZES
    os.makedirs(out_dir, exist_ok=True)
    for size in sizes:
        with open(os.path.join(out_dir, "seeker-%d.png" % size), "wb") as f:
            f.write(png_bytes(size, size, draw_icon(size)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
