#!/usr/bin/python3
"""The drawing kit of the skin's image generators: paths, the palette of docs/SKIN.md,
gradients, the supersampled canvas `Pic` (shapes and text drawn four times larger and
scaled down for smooth edges) and the Trovik mark. make_skin_images.py,
skin_default_lists.py and make_updater_images.py draw with it."""

import math
import os
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
SKIN = ROOT / "skin"
OUT = SKIN / "client"
CONFIG = ROOT / "config"
THEME_SOURCE = ROOT / "tools" / "devserver" / "site" / "update" / "Trovik" / "Theme"
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SERVER = "http://127.0.0.1:18632"
# Pictures are drawn SCALE times their size in layout units: 1 gives "Name.png", 2 the
# "Name@2x.png" that a screen scaled by 1.5 or 2 gets. Coordinates stay in units either
# way; make_skin_images.py runs itself once more with SKIN_IMAGE_SCALE=2.
SCALE = int(os.environ.get("SKIN_IMAGE_SCALE", "1"))
SS = 4 * SCALE  # canvas pixels per unit (supersampling)

# ---------------------------------------------------------------- palette (docs/SKIN.md)

INK = (34, 48, 79)  # caption, episode strip
INK_DEEP = (24, 33, 56)
CAPTION_END = (27, 94, 115)  # right end of the caption gradient
TEAL = (22, 138, 154)  # selection, focus, links
TEAL_DARK = (14, 104, 117)
TEAL_SOFT = (225, 243, 245)  # hover fill
ACCENT = (222, 106, 38)  # the primary action
ACCENT_HOT = (236, 124, 54)
ACCENT_DEEP_TOP = (212, 96, 32)  # hover
ACCENT_DEEP = (194, 82, 22)
ACCENT_DOWN = (172, 70, 18)  # pressed
TEXT = (38, 48, 64)
TEXT2 = (78, 90, 106)
HINT = (152, 162, 174)
LINE = (206, 214, 224)
SURFACE = (244, 247, 250)
WHITE = (255, 255, 255)
DANGER = (216, 60, 66)


def font(size):
    return ImageFont.truetype(FONT_PATH, size)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def gradient(size, top, bottom, angle=0.0):
    """A two-colour linear gradient (RGB); angle in degrees turns it from top-to-bottom."""
    w, h = size
    side = int(math.hypot(w, h)) + 2
    ramp = Image.linear_gradient("L").resize((side, side), Image.BICUBIC)
    if angle:
        ramp = ramp.rotate(angle, resample=Image.BICUBIC)
    left, upper = (side - w) // 2, (side - h) // 2
    mask = ramp.crop((left, upper, left + w, upper + h))
    return Image.composite(Image.new("RGB", size, bottom), Image.new("RGB", size, top), mask)


class Pic:
    """An RGBA picture drawn at SS times its size. Coordinates are given at the final
    size; a box (x0, y0, x1, y1) covers x0 <= x < x1."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.im = Image.new("RGBA", (w * SS, h * SS), fill)

    def box(self, b):
        x0, y0, x1, y1 = b
        return (x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1)

    def pts(self, points):
        return [(x * SS, y * SS) for x, y in points]

    def paint(self, draw_fn, colour, alpha=255, blur=0):
        """Composites one colour through a mask that draw_fn paints with 255."""
        mask = Image.new("L", self.im.size, 0)
        draw_fn(ImageDraw.Draw(mask))
        if blur:
            mask = mask.filter(ImageFilter.GaussianBlur(blur * SS))
        if alpha != 255:
            mask = mask.point(lambda v: v * alpha // 255)
        layer = Image.new("RGBA", self.im.size, tuple(colour[:3]) + (0,))
        layer.putalpha(mask)
        self.im = Image.alpha_composite(self.im, layer)

    def paint_fill(self, draw_fn, fill_rgb, alpha=255):
        """Composites an RGB picture (already SS-sized) through a mask."""
        mask = Image.new("L", self.im.size, 0)
        draw_fn(ImageDraw.Draw(mask))
        if alpha != 255:
            mask = mask.point(lambda v: v * alpha // 255)
        layer = fill_rgb.convert("RGBA")
        layer.putalpha(mask)
        self.im = Image.alpha_composite(self.im, layer)

    def erase(self, draw_fn):
        """Clears what draw_fn paints with 255 (holes in a glyph)."""
        mask = Image.new("L", self.im.size, 0)
        draw_fn(ImageDraw.Draw(mask))
        alpha = self.im.getchannel("A")
        self.im.putalpha(Image.composite(Image.new("L", self.im.size, 0), alpha, mask))

    def rrect(self, b, r, colour, alpha=255, blur=0):
        self.paint(lambda d: d.rounded_rectangle(self.box(b), radius=r * SS, fill=255), colour,
                   alpha, blur)

    def rrect_gradient(self, b, r, top, bottom, alpha=255, angle=0.0):
        fill = gradient(self.im.size, top, bottom, angle)
        # The gradient spans the box, not the whole picture.
        x0, y0, x1, y1 = self.box(b)
        part = gradient((x1 - x0 + 1, y1 - y0 + 1), top, bottom, angle)
        fill.paste(part, (x0, y0))
        self.paint_fill(lambda d: d.rounded_rectangle(self.box(b), radius=r * SS, fill=255), fill,
                        alpha)

    def rring(self, b, r, width, colour, alpha=255):
        self.paint(lambda d: d.rounded_rectangle(self.box(b), radius=r * SS, outline=255,
                                                 width=round(width * SS)), colour, alpha)

    def ellipse(self, b, colour, alpha=255, blur=0):
        self.paint(lambda d: d.ellipse(self.box(b), fill=255), colour, alpha, blur)

    def ring(self, b, width, colour, alpha=255):
        self.paint(lambda d: d.ellipse(self.box(b), outline=255, width=round(width * SS)),
                   colour, alpha)

    def line(self, points, width, colour, alpha=255, round_caps=True):
        pts = self.pts(points)
        wpx = round(width * SS)

        def draw(d):
            d.line(pts, fill=255, width=wpx, joint="curve")
            if round_caps:
                r = wpx / 2
                for x, y in (pts[0], pts[-1]):
                    d.ellipse((x - r, y - r, x + r, y + r), fill=255)

        self.paint(draw, colour, alpha)

    def polygon(self, points, colour, alpha=255, blur=0):
        self.paint(lambda d: d.polygon(self.pts(points), fill=255), colour, alpha, blur)

    def arc(self, b, start, end, width, colour, alpha=255):
        self.paint(lambda d: d.arc(self.box(b), start, end, fill=255, width=round(width * SS)),
                   colour, alpha)

    def text(self, xy, s, size, colour, alpha=255, anchor="la", blur=0):
        f = font(size * SS)
        self.paint(lambda d: d.text((xy[0] * SS, xy[1] * SS), s, font=f, fill=255, anchor=anchor),
                   colour, alpha, blur)

    def text_centre(self, b, s, size, colour, alpha=255):
        x0, y0, x1, y1 = b
        self.text(((x0 + x1) / 2, (y0 + y1) / 2), s, size, colour, alpha, anchor="mm")

    def result(self):
        return self.im.resize((self.w * SCALE, self.h * SCALE), Image.LANCZOS)


def scaled_name(name):
    """The file name of a picture at SCALE: "a/B.png" at 2 is "a/B@2x.png"."""
    if SCALE == 1:
        return name
    path = Path(name)
    return str(path.with_name(f"{path.stem}@{SCALE}x{path.suffix}"))


def save(img, name):
    path = OUT / scaled_name(name)
    path.parent.mkdir(parents=True, exist_ok=True)
    if isinstance(img, Pic):
        img = img.result()
    img.save(path, optimize=True)


def draw_logo(pic, x, y, s, ring=WHITE, play=ACCENT):
    """The Trovik mark: a magnifier whose lens holds a play triangle. s = size."""
    k = s / 20
    pic.ring((x + 1.5 * k, y + 1.5 * k, x + 14.5 * k, y + 14.5 * k), 2.2 * k, ring)
    pic.line([(x + 13 * k, y + 13 * k), (x + 18.2 * k, y + 18.2 * k)], 3 * k, ring)
    pic.polygon([(x + 6.2 * k, y + 4.8 * k), (x + 11.6 * k, y + 8 * k), (x + 6.2 * k, y + 11.2 * k)],
                play)


def shadow(pic, b, r, alpha=40, blur=1.5, dy=1):
    x0, y0, x1, y1 = b
    pic.rrect((x0, y0 + dy, x1, y1 + dy), r, (20, 30, 50), alpha, blur)


def hills(pic, rnd, base, rough, colour, alpha=255, w=410, h=240, step=(24, 46)):
    pts = [(0, h)]
    x = 0
    while x <= w + 40:
        pts.append((x, base - rnd.uniform(0, rough)))
        x += rnd.randint(*step)
    pts.append((w, h))
    pic.polygon(pts, colour, alpha, blur=0.6)
