#!/usr/bin/env python3
"""Draws the program's embedded images.

    python3 draw_assets.py OUTPUT_DIR

writes, into OUTPUT_DIR:
  skin.jpg            975 x 547 window background (JPEG through ImageMagick's `convert`,
                      or the program named by the CONVERT environment variable)
  caption_strip.bin   729 x 20 caption-button strip: a PNG without its 8-byte signature
  checkmark_strip.png 170 x 17 check-box glyph strip
  menu_check.png      16 x 16 mark of a checked menu item

Only the standard library is used; shapes are drawn from signed distances, so every
edge is anti-aliased. The output is deterministic: the same script draws the same bytes.
The cell geometry below must match assets/assets.h.
"""

import math
import os
import struct
import subprocess
import sys
import zlib

# Caption strip geometry (assets/assets.h keeps the same numbers).
STRIP_W, STRIP_H = 729, 20
CLOSE_CELL_W = 39
CELL_W = 28
GLYPH_ROWS = 19  # buttons are 19 pixels high; the last row stays clear
# (kind name, cell width) in strip order; each kind has normal, hovered, pressed cells.
STRIP_KINDS = [("close", CLOSE_CELL_W), ("maximise", CELL_W), ("restore", CELL_W),
               ("minimise", CELL_W), ("menu", CELL_W), ("more", CELL_W), ("pin", CELL_W),
               ("help", CELL_W)]

CHECK_CELL = 17
CHECK_LOOKS = 5  # normal, hovered, pressed, focused, faded
MENU_CHECK = 16


# ---------------------------------------------------------------- raster basics

class Canvas:
    """Straight-alpha RGBA floats (0..1), composited source-over."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def blend(self, x, y, rgb, alpha):
        if alpha <= 0.0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        da = p[3]
        oa = alpha + da * (1.0 - alpha)
        if oa <= 0.0:
            return
        for c in range(3):
            p[c] = (rgb[c] * alpha + p[c] * da * (1.0 - alpha)) / oa
        p[3] = oa

    def fill(self, sdf, rgb, alpha, box=None):
        """Paints every pixel by the coverage of the shape whose signed distance is sdf."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                d = sdf(x + 0.5, y + 0.5)
                cov = min(1.0, max(0.0, 0.5 - d))
                if cov > 0.0:
                    self.blend(x, y, rgb, alpha * cov)

    def rgba_bytes(self):
        out = bytearray()
        for p in self.px:
            out += bytes(int(round(min(1.0, max(0.0, v)) * 255)) for v in p)
        return bytes(out)


def sd_round_box(cx, cy, hw, hh, r):
    def f(x, y):
        qx = abs(x - cx) - hw + r
        qy = abs(y - cy) - hh + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return f


def sd_segment(ax, ay, bx, by, half_width):
    def f(x, y):
        px, py = x - ax, y - ay
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, (px * dx + py * dy) / (dx * dx + dy * dy)))
        return math.hypot(px - dx * t, py - dy * t) - half_width
    return f


def sd_circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def sd_ring(cx, cy, r, half_width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - half_width


def sd_union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def sd_subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def sd_outline(f, half_width):
    return lambda x, y: abs(f(x, y)) - half_width


def sd_triangle(p0, p1, p2):
    """Signed distance to a triangle (exact, by edges)."""
    pts = [p0, p1, p2]

    def f(x, y):
        d = float("inf")
        sign = 0
        for i in range(3):
            ax, ay = pts[i]
            bx, by = pts[(i + 1) % 3]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            cross = ex * wy - ey * wx
            sign += 1 if cross > 0 else -1
        inside = abs(sign) == 3
        return -d if inside else d
    return f


# ---------------------------------------------------------------- PNG and PPM output

def png_bytes(w, h, rgba):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    stride = w * 4
    for y in range(h):
        raw.append(0)  # filter: none
        raw += rgba[y * stride:(y + 1) * stride]
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# ---------------------------------------------------------------- caption-button strip

WHITE = (1.0, 1.0, 1.0)
BLACK = (0.0, 0.0, 0.0)
CLOSE_RED = (0.86, 0.22, 0.20)


def caption_glyph(kind, cx, cy):
    """Signed-distance glyph of a caption button, centred on (cx, cy)."""
    w = 0.75  # half stroke width: a 1.5-pixel line
    if kind == "close":
        return sd_union(sd_segment(cx - 4.5, cy - 4.5, cx + 4.5, cy + 4.5, w),
                        sd_segment(cx - 4.5, cy + 4.5, cx + 4.5, cy - 4.5, w))
    if kind == "maximise":
        return sd_union(sd_outline(sd_round_box(cx, cy, 5.0, 4.0, 0.5), 0.6),
                        sd_segment(cx - 5.0, cy - 3.3, cx + 5.0, cy - 3.3, 0.7))
    if kind == "restore":
        back = sd_outline(sd_round_box(cx + 1.5, cy - 1.5, 3.8, 3.0, 0.5), 0.55)
        front_box = sd_round_box(cx - 1.5, cy + 1.5, 3.8, 3.0, 0.5)
        return sd_union(sd_subtract(back, sd_round_box(cx - 1.5, cy + 1.5, 4.6, 3.8, 0.5)),
                        sd_outline(front_box, 0.6))
    if kind == "minimise":
        return sd_segment(cx - 4.5, cy + 3.0, cx + 4.5, cy + 3.0, 0.8)
    if kind == "menu":
        return sd_triangle((cx - 4.5, cy - 2.0), (cx + 4.5, cy - 2.0), (cx, cy + 3.0))
    if kind == "more":
        return sd_union(sd_circle(cx - 4.0, cy, 1.4), sd_circle(cx, cy, 1.4), sd_circle(cx + 4.0, cy, 1.4))
    if kind == "pin":
        return sd_union(sd_outline(sd_circle(cx, cy - 1.5, 3.0), 0.6),
                        sd_segment(cx, cy + 1.5, cx, cy + 5.5, w))
    if kind == "help":
        # The ring of the hook, without its lower-left quarter.
        arc = sd_subtract(sd_ring(cx, cy - 2.0, 3.0, 0.7),
                          lambda x, y: max(x - cx, (cy - 2.0) - y))
        return sd_union(arc, sd_segment(cx, cy + 1.0, cx, cy + 2.0, w), sd_circle(cx, cy + 4.6, 0.9))
    raise ValueError(kind)


def draw_caption_strip():
    c = Canvas(STRIP_W, STRIP_H)
    x = 0
    for kind, cell_w in STRIP_KINDS:
        for look in range(3):  # 0 normal, 1 hovered, 2 pressed
            box = (x, 0, x + cell_w, GLYPH_ROWS)
            bg = sd_round_box(x + cell_w / 2.0, GLYPH_ROWS / 2.0, cell_w / 2.0 - 0.5,
                              GLYPH_ROWS / 2.0 - 0.5, 3.0)
            if look == 1:
                rgb, a = (CLOSE_RED, 0.85) if kind == "close" else (WHITE, 0.28)
                c.fill(bg, rgb, a, box)
            elif look == 2:
                rgb, a = ((0.62, 0.12, 0.10), 0.92) if kind == "close" else (BLACK, 0.30)
                c.fill(bg, rgb, a, box)
            cx = x + cell_w / 2.0
            cy = GLYPH_ROWS / 2.0 + (0.5 if look == 2 else 0.0)
            glyph = caption_glyph(kind, cx, cy)
            # A soft dark rim keeps the white glyph legible on light skins.
            c.fill(lambda px, py, g=glyph: g(px, py) - 1.0, BLACK, 0.30, box)
            c.fill(glyph, WHITE, 0.95, box)
            x += cell_w
    assert x <= STRIP_W
    return png_bytes(STRIP_W, STRIP_H, c.rgba_bytes())


# ---------------------------------------------------------------- check marks

def tick(cx, cy, scale, half_width):
    return sd_union(sd_segment(cx - 3.6 * scale, cy + 0.2 * scale, cx - 1.0 * scale, cy + 2.8 * scale, half_width),
                    sd_segment(cx - 1.0 * scale, cy + 2.8 * scale, cx + 4.0 * scale, cy - 3.2 * scale, half_width))


def draw_checkmark_strip():
    w = CHECK_CELL * CHECK_LOOKS * 2
    c = Canvas(w, CHECK_CELL)
    # look: (fill rgb, fill alpha, border rgb, border alpha)
    looks = [
        ((1.0, 1.0, 1.0), 0.80, (0.25, 0.25, 0.25), 0.75),  # normal
        ((1.0, 1.0, 1.0), 0.95, (0.16, 0.50, 0.80), 0.95),  # hovered
        ((0.80, 0.86, 0.92), 0.95, (0.10, 0.36, 0.62), 1.0),  # pressed
        ((1.0, 1.0, 1.0), 0.90, (0.45, 0.20, 0.55), 0.95),  # focused
        ((1.0, 1.0, 1.0), 0.35, (0.25, 0.25, 0.25), 0.35),  # faded
    ]
    for checked in range(2):
        for look, (fill_rgb, fill_a, border_rgb, border_a) in enumerate(looks):
            x0 = (checked * CHECK_LOOKS + look) * CHECK_CELL
            box = (x0, 0, x0 + CHECK_CELL, CHECK_CELL)
            cx, cy = x0 + 8.5, 8.5
            frame = sd_round_box(cx, cy, 6.5, 6.5, 2.0)
            c.fill(frame, fill_rgb, fill_a, box)
            c.fill(sd_outline(frame, 0.5), border_rgb, border_a, box)
            if checked:
                mark_a = 0.35 if look == 4 else 1.0
                c.fill(tick(cx, cy, 1.0, 1.1), (0.10, 0.52, 0.16), mark_a, box)
    return png_bytes(w, CHECK_CELL, c.rgba_bytes())


def draw_menu_check():
    c = Canvas(MENU_CHECK, MENU_CHECK)
    mark = tick(8.0, 8.0, 1.15, 1.1)
    c.fill(lambda x, y: mark(x, y) - 0.9, WHITE, 0.8)
    c.fill(mark, (0.12, 0.40, 0.70), 1.0)
    return png_bytes(MENU_CHECK, MENU_CHECK, c.rgba_bytes())


# ---------------------------------------------------------------- window skin

SKIN_W, SKIN_H = 975, 547


def draw_skin_ppm():
    """A lime-and-teal abstract: gradient, soft light, ribbons, bokeh and a lime slice."""
    w, h = SKIN_W, SKIN_H
    r = [0.0] * (w * h)
    g = [0.0] * (w * h)
    b = [0.0] * (w * h)
    top = (0.07, 0.26, 0.33)
    bottom = (0.20, 0.48, 0.32)
    lights = [(180.0, 60.0, 260.0, (0.55, 0.80, 0.35), 0.45),
              (820.0, 470.0, 300.0, (0.85, 0.90, 0.35), 0.35),
              (560.0, 250.0, 380.0, (0.20, 0.55, 0.60), 0.30)]
    seed = 12345
    for y in range(h):
        ty = y / (h - 1)
        for x in range(w):
            tx = x / (w - 1)
            t = 0.65 * ty + 0.35 * tx
            cr = top[0] + (bottom[0] - top[0]) * t
            cg = top[1] + (bottom[1] - top[1]) * t
            cb = top[2] + (bottom[2] - top[2]) * t
            for lx, ly, lr, lc, la in lights:
                d2 = ((x - lx) ** 2 + (y - ly) ** 2) / (lr * lr)
                k = la * math.exp(-d2 * 2.2)
                cr += (lc[0] - cr) * k
                cg += (lc[1] - cg) * k
                cb += (lc[2] - cb) * k
            # Two ribbons: thin bright bands along gentle waves.
            for amp, period, phase, base, width, strength in ((38.0, 520.0, 0.6, 0.58, 26.0, 0.16),
                                                                (24.0, 350.0, 2.1, 0.70, 16.0, 0.11)):
                centre = base * h + amp * math.sin(2 * math.pi * x / period + phase) - 0.18 * x
                k = strength * math.exp(-((y - centre) / width) ** 2)
                cr += (0.95 - cr) * k
                cg += (1.00 - cg) * k
                cb += (0.80 - cb) * k
            # Deterministic grain keeps the gradients from banding in the JPEG.
            seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
            n = ((seed >> 16) / 32767.0 - 0.5) * (2.2 / 255.0)
            i = y * w + x
            r[i], g[i], b[i] = cr + n, cg + n, cb + n

    def paint(cx, cy, radius, sdf, rgb, alpha):
        x0, x1 = max(0, int(cx - radius - 2)), min(w, int(cx + radius + 3))
        y0, y1 = max(0, int(cy - radius - 2)), min(h, int(cy + radius + 3))
        for y in range(y0, y1):
            for x in range(x0, x1):
                cov = min(1.0, max(0.0, 0.5 - sdf(x + 0.5, y + 0.5)))
                if cov > 0:
                    k = alpha * cov
                    i = y * w + x
                    r[i] += (rgb[0] - r[i]) * k
                    g[i] += (rgb[1] - g[i]) * k
                    b[i] += (rgb[2] - b[i]) * k

    # Bokeh: soft discs scattered by a fixed sequence.
    state = 2024
    for _ in range(34):
        state = (state * 48271) % 2147483647
        bx = state % w
        state = (state * 48271) % 2147483647
        by = state % h
        state = (state * 48271) % 2147483647
        br = 8 + state % 38
        state = (state * 48271) % 2147483647
        ba = 0.05 + (state % 100) / 1000.0
        soft = max(2.0, br * 0.35)
        paint(bx, by, br + soft, lambda x, y, bx=bx, by=by, br=br, soft=soft:
              (math.hypot(x - bx, y - by) - br) / soft, (0.92, 1.0, 0.75), ba)

    # A lime slice in the lower right, partly off the edge.
    cx, cy, rad = 860.0, 470.0, 150.0
    paint(cx, cy, rad, sd_circle(cx, cy, rad), (0.20, 0.45, 0.10), 0.85)        # rind
    paint(cx, cy, rad, sd_circle(cx, cy, rad - 9), (0.86, 0.94, 0.62), 0.90)    # pith
    paint(cx, cy, rad, sd_circle(cx, cy, rad - 16), (0.55, 0.80, 0.22), 0.88)   # flesh
    segments = 10
    for s in range(segments):
        ang = 2 * math.pi * s / segments + 0.2
        ex, ey = cx + math.cos(ang) * (rad - 18), cy + math.sin(ang) * (rad - 18)
        paint(cx, cy, rad, sd_segment(cx, cy, ex, ey, 2.2), (0.90, 0.97, 0.70), 0.75)
    for s in range(segments):
        ang = 2 * math.pi * (s + 0.5) / segments + 0.2
        for k in range(5):
            dist = 40 + k * 18
            jx, jy = cx + math.cos(ang) * dist, cy + math.sin(ang) * dist
            paint(jx, jy, 7, sd_circle(jx, jy, 2.5 + k * 0.6), (0.80, 0.93, 0.45), 0.45)
    paint(cx, cy, 14, sd_circle(cx, cy, 12), (0.90, 0.97, 0.70), 0.8)           # core

    out = bytearray(b"P6\n%d %d\n255\n" % (w, h))
    for i in range(w * h):
        out += bytes((int(min(1.0, max(0.0, r[i])) * 255 + 0.5),
                      int(min(1.0, max(0.0, g[i])) * 255 + 0.5),
                      int(min(1.0, max(0.0, b[i])) * 255 + 0.5)))
    return bytes(out)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out_dir = argv[1]
    os.makedirs(out_dir, exist_ok=True)
    only = os.environ.get("DRAW_ONLY", "")
    if only in ("", "small"):
        with open(os.path.join(out_dir, "caption_strip.bin"), "wb") as f:
            f.write(draw_caption_strip()[8:])  # stored without the PNG signature
        with open(os.path.join(out_dir, "checkmark_strip.png"), "wb") as f:
            f.write(draw_checkmark_strip())
        with open(os.path.join(out_dir, "menu_check.png"), "wb") as f:
            f.write(draw_menu_check())
    if only in ("", "skin"):
        ppm = os.path.join(out_dir, "skin.ppm")
        with open(ppm, "wb") as f:
            f.write(draw_skin_ppm())
        convert = os.environ.get("CONVERT", "convert")
        subprocess.run([convert, ppm, "-strip", "-sampling-factor", "4:2:0", "-quality", "92",
                        os.path.join(out_dir, "skin.jpg")], check=True)
        os.remove(ppm)
    return 0



# ---------------------------------------------------------------- gallery art
# An animated GIF and a nine-slice panel for the gallery's picture demos:
#   spinner.gif  48 x 48, 12 frames of 80 ms: a lens sweeping a ring of dots
#   panel.png    24 x 24 glass panel whose 8-pixel margins keep their shape
SPINNER = 48
SPINNER_FRAMES = 12
PANEL = 24


def draw_spinner_frame(index):
    c = Canvas(SPINNER, SPINNER)
    mid = SPINNER / 2.0
    # An opaque tile: GIF keeps no partial alpha, so the art carries its own background.
    for y in range(SPINNER):
        t = y / (SPINNER - 1)
        for x in range(SPINNER):
            c.blend(x, y, (0.06 + 0.08 * t, 0.18 + 0.14 * t, 0.26 + 0.10 * t), 1.0)
    c.fill(sd_ring(mid - 3, mid - 3, 13.0, 2.2), (0.86, 0.95, 0.70), 0.9)
    c.fill(sd_segment(mid + 7, mid + 7, mid + 17, mid + 17, 2.6), (0.86, 0.95, 0.70), 0.95)
    # Eight dots around the lens, the brightest one leading the sweep.
    for k in range(8):
        ang = 2 * math.pi * (index / SPINNER_FRAMES - k / 12.0)
        dx, dy = mid - 3 + math.cos(ang) * 8.0, mid - 3 + math.sin(ang) * 8.0
        c.fill(sd_circle(dx, dy, 2.1 - 0.15 * k), (0.55, 0.85, 0.25), 1.0 - 0.11 * k)
    return png_bytes(SPINNER, SPINNER, c.rgba_bytes())


def draw_panel():
    c = Canvas(PANEL, PANEL)
    mid = PANEL / 2.0
    outer = sd_round_box(mid, mid, mid - 0.5, mid - 0.5, 7.0)
    for y in range(PANEL):
        a = 0.55 - 0.25 * y / (PANEL - 1)
        c.fill(outer, (1.0, 1.0, 1.0), a, (0, y, PANEL, y + 1))
    c.fill(sd_outline(outer, 0.9), (0.10, 0.35, 0.30), 0.9)
    c.fill(sd_outline(sd_round_box(mid, mid, mid - 2.5, mid - 2.5, 5.0), 0.5), (1.0, 1.0, 1.0), 0.6)
    return png_bytes(PANEL, PANEL, c.rgba_bytes())


def draw_gallery_art(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    with open(os.path.join(out_dir, "panel.png"), "wb") as f:
        f.write(draw_panel())
    frames = []
    for i in range(SPINNER_FRAMES):
        name = os.path.join(out_dir, "spinner_%02d.png" % i)
        with open(name, "wb") as f:
            f.write(draw_spinner_frame(i))
        frames.append(name)
    convert = os.environ.get("CONVERT", "convert")
    subprocess.run([convert, "-delay", "8", "-loop", "0"] + frames + ["-strip", "-layers", "Optimize",
                    os.path.join(out_dir, "spinner.gif")], check=True)
    for name in frames:
        os.remove(name)
    return 0


if __name__ == "__main__":
    status = main(sys.argv)
    if status == 0 and os.environ.get("DRAW_ONLY", "") in ("", "gallery"):
        status = draw_gallery_art(sys.argv[1])
    sys.exit(status)
