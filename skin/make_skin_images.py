#!/usr/bin/python3
"""Draws every image of the client's skin and writes the installation's default lists.

    skin/client/*.png                 buttons, panels, glyphs, banners, site logos,
                                      waiting frames, menu icons
    skin/client/SkinThumb/*.png       thumbnails of the downloadable window backgrounds
    config/DefaultHot.cfg             default popular-show list (GB18030 INI text)
    config/DefaultLinkSite.cfg        default video-site list (GB18030 INI text)

Everything is drawn here from the palette below (shapes, gradients and text in the
WenQuanYi Zen Hei font), four times larger than needed and scaled down for smooth
edges, so every run gives the same pictures. The thumbnails are scaled from the
full-size backgrounds that the sample update server offers (tools/devserver), so a
thumbnail always previews the picture that a click on it downloads.

Run with the system Python, which has PIL:  /usr/bin/python3 skin/make_skin_images.py
skin/skin_check.py checks the result (and the layouts) without drawing anything.
"""

import math
import random
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent
OUT = HERE / "client"
CONFIG = ROOT / "config"
THEME_SOURCE = ROOT / "tools" / "devserver" / "site" / "update" / "Trovik" / "Theme"
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SERVER = "http://127.0.0.1:18632"
SS = 4  # supersampling factor

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
        return self.im.resize((self.w, self.h), Image.LANCZOS)


def save(img, name):
    path = OUT / name
    path.parent.mkdir(parents=True, exist_ok=True)
    if isinstance(img, Pic):
        img = img.result()
    img.save(path, optimize=True)


# ---------------------------------------------------------------- backgrounds and bars


def make_background():
    """The skin's own window background: a calm blue-grey sky with two soft light
    shapes; any downloaded background replaces it."""
    w, h = 410, 640
    img = gradient((w, h), (234, 240, 246), (206, 218, 232), angle=-10).convert("RGBA")
    pic = Pic(w, h)
    pic.im = img.resize((w * SS, h * SS))
    pic.ellipse((230, 300, 520, 590), (255, 255, 255), 90, blur=40)
    pic.ellipse((-120, 420, 220, 760), (180, 204, 226), 80, blur=40)
    for base, amp, phase, alpha in ((520, 14, 0.6, 60), (575, 10, 2.1, 70)):
        wave = [(0, h)] + [(x, base + amp * math.sin(x / 60 + phase)) for x in range(0, w + 10, 10)]
        wave += [(w, h)]
        pic.polygon(wave, (250, 252, 255), alpha, blur=3)
    img = pic.result().convert("RGB")
    save(img.quantize(colors=256, method=Image.MEDIANCUT, dither=Image.FLOYDSTEINBERG), "Background.png")


def make_caption():
    """The caption band: deep indigo into teal, a hairline of light at the bottom."""
    w, h = 410, 32
    img = gradient((w, h), INK, CAPTION_END, angle=90).convert("RGBA")
    pic = Pic(w, h)
    pic.im = img.resize((w * SS, h * SS))
    pic.ellipse((250, -60, 470, 40), (90, 170, 190), 50, blur=10)
    pic.rrect((0, h - 1, w, h), 0, (255, 255, 255), 40)
    save(pic, "CaptionBar.png")


def draw_logo(pic, x, y, s, ring=WHITE, play=ACCENT):
    """The Trovik mark: a magnifier whose lens holds a play triangle. s = size."""
    k = s / 20
    pic.ring((x + 1.5 * k, y + 1.5 * k, x + 14.5 * k, y + 14.5 * k), 2.2 * k, ring)
    pic.line([(x + 13 * k, y + 13 * k), (x + 18.2 * k, y + 18.2 * k)], 3 * k, ring)
    pic.polygon([(x + 6.2 * k, y + 4.8 * k), (x + 11.6 * k, y + 8 * k), (x + 6.2 * k, y + 11.2 * k)],
                play)


def make_logos():
    pic = Pic(20, 20)
    draw_logo(pic, 0, 0, 20)
    save(pic, "Logo.png")
    big = Pic(64, 64)
    big.rrect_gradient((0, 0, 64, 64), 16, INK, CAPTION_END, angle=45)
    big.ellipse((20, -20, 90, 34), (120, 200, 210), 50, blur=6)
    draw_logo(big, 12, 12, 40)
    save(big, "LogoBig.png")


# ---------------------------------------------------------------- caption buttons


def caption_glyph(pic, kind, colour):
    cx, cy = 14, 12
    if kind == "close":  # quit: a cross
        pic.line([(cx - 5, cy - 5), (cx + 5, cy + 5)], 1.8, colour)
        pic.line([(cx + 5, cy - 5), (cx - 5, cy + 5)], 1.8, colour)
    elif kind == "min":  # hide to the tray: a bar
        pic.line([(cx - 6, cy + 1), (cx + 6, cy + 1)], 1.8, colour)
    elif kind == "set":  # settings: a gear
        teeth = []
        for i in range(16):
            a = i * math.pi / 8 + math.pi / 16
            r = 7.2 if i % 2 == 0 else 5.4
            teeth.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        pic.polygon(teeth, colour)
        pic.erase(lambda d: d.ellipse(pic.box((cx - 2.6, cy - 2.6, cx + 2.6, cy + 2.6)), fill=255))
    elif kind == "skin":  # skin: a shirt
        pic.polygon([(cx - 3, cy - 7), (cx - 8, cy - 4.5), (cx - 9.5, cy - 0.5), (cx - 6, cy + 0.8),
                     (cx - 6, cy + 7), (cx + 6, cy + 7), (cx + 6, cy + 0.8), (cx + 9.5, cy - 0.5),
                     (cx + 8, cy - 4.5), (cx + 3, cy - 7), (cx, cy - 4.5)], colour)


def make_caption_buttons():
    for kind, name in (("close", "CapQuit"), ("min", "CapHide"), ("set", "CapSet"),
                       ("skin", "CapSkin")):
        for state in ("normal", "hot", "pushed"):
            pic = Pic(28, 24)
            if state == "hot":
                pic.rrect((1, 1, 27, 23), 4, DANGER if kind == "close" else WHITE,
                          255 if kind == "close" else 46)
            elif state == "pushed":
                pic.rrect((1, 1, 27, 23), 4, (150, 36, 42) if kind == "close" else (0, 0, 0),
                          255 if kind == "close" else 60)
            glyph = Pic(28, 24)
            caption_glyph(glyph, kind, WHITE)
            g = glyph.result()
            if state == "normal":
                g.putalpha(g.getchannel("A").point(lambda v: v * 225 // 255))
            base = pic.result()
            save(Image.alpha_composite(base, g), f"{name}_{state}.png")


# ---------------------------------------------------------------- buttons and inputs


def shadow(pic, b, r, alpha=40, blur=1.5, dy=1):
    x0, y0, x1, y1 = b
    pic.rrect((x0, y0 + dy, x1, y1 + dy), r, (20, 30, 50), alpha, blur)


def make_primary_buttons():
    """The warm primary button (search, OK): 80 x 30, nine-patch corner 6. Hover and
    press deepen the colour, so the white label only gains contrast."""
    w, h, r = 80, 30, 5
    states = {
        "normal": (ACCENT_HOT, ACCENT, None),
        "hot": (ACCENT_DEEP_TOP, ACCENT_DEEP, None),
        "pushed": (ACCENT_DOWN, ACCENT_DOWN, None),
        "focused": (ACCENT_HOT, ACCENT, TEAL),
        "disabled": ((214, 200, 190), (200, 186, 176), None),
    }
    for state, (top, bottom, ring) in states.items():
        pic = Pic(w, h)
        if state != "pushed":
            shadow(pic, (1, 1, w - 1, h - 2), r, 50)
        pic.rrect_gradient((1, 1, w - 1, h - 2), r, top, bottom)
        if state != "pushed" and state != "disabled":
            pic.rrect((2, 2, w - 2, h // 2), r - 1, WHITE, 28)
        if ring:
            pic.rring((1, 1, w - 1, h - 2), r, 2, ring)
            pic.rring((3, 3, w - 3, h - 4), r - 2, 1, WHITE, 200)
        save(pic, f"BtnPrimary_{state}.png")


def make_secondary_buttons():
    """The quiet button (cancel): white with a hairline, 80 x 30, corner 6."""
    w, h, r = 80, 30, 5
    states = {
        "normal": (WHITE, LINE, 1),
        "hot": (TEAL_SOFT, TEAL, 1),
        "pushed": (mix(TEAL_SOFT, TEAL, 0.25), TEAL_DARK, 1),
        "focused": (WHITE, TEAL, 2),
        "disabled": (SURFACE, (224, 228, 234), 1),
    }
    for state, (fill, edge, width) in states.items():
        pic = Pic(w, h)
        if state not in ("pushed", "disabled"):
            shadow(pic, (1, 1, w - 1, h - 2), r, 30)
        pic.rrect((1, 1, w - 1, h - 2), r, fill)
        pic.rring((1, 1, w - 1, h - 2), r, width, edge)
        save(pic, f"BtnSecondary_{state}.png")


def make_search():
    """The search box (nine-patch, corner 8) and the search button with its magnifier."""
    w, h, r = 120, 34, 6
    for state, (edge, width, glow) in {"normal": (LINE, 1, 0), "hot": ((150, 170, 190), 1, 0),
                                       "focused": (TEAL, 2, 60),
                                       "disabled": ((224, 228, 234), 1, 0)}.items():
        pic = Pic(w, h)
        if glow:
            pic.rrect((0, 0, w, h), r + 1, TEAL, glow, blur=1.5)
        pic.rrect((1, 1, w - 1, h - 1), r, SURFACE if state == "disabled" else WHITE)
        pic.rring((1, 1, w - 1, h - 1), r, width, edge)
        save(pic, f"SearchBox_{state}.png")
    w = 76
    for state, (top, bottom) in {"normal": (ACCENT_HOT, ACCENT),
                                 "hot": (ACCENT_DEEP_TOP, ACCENT_DEEP),
                                 "pushed": (ACCENT_DOWN, ACCENT_DOWN),
                                 "focused": (ACCENT_HOT, ACCENT),
                                 "disabled": ((214, 200, 190), (200, 186, 176))}.items():
        pic = Pic(w, h)
        if state != "pushed":
            shadow(pic, (1, 1, w - 1, h - 1), r, 50)
        pic.rrect_gradient((1, 1, w - 1, h - 1), r, top, bottom)
        if state == "focused":
            pic.rring((1, 1, w - 1, h - 1), r, 2, TEAL)
            pic.rring((3, 3, w - 3, h - 3), r - 2, 1, WHITE, 200)
        cx, cy = 20, 16
        pic.ring((cx - 6, cy - 6, cx + 5, cy + 5), 2, WHITE)
        pic.line([(cx + 3.5, cy + 3.5), (cx + 7.5, cy + 7.5)], 2.4, WHITE)
        save(pic, f"BtnSearch_{state}.png")


def make_chips():
    """Chips of the start view: popular shows (72 x 30) and sample searches with a small
    play mark at the left (120 x 30). Nine-patch corner 8."""
    r = 6
    styles = {
        "normal": (WHITE, LINE, 1, 215),
        "hot": (TEAL_SOFT, TEAL, 1, 255),
        "pushed": (mix(TEAL_SOFT, TEAL, 0.3), TEAL_DARK, 1, 255),
        "focused": (WHITE, TEAL, 2, 255),
    }
    for state, (fill, edge, width, alpha) in styles.items():
        pic = Pic(72, 30)
        if state in ("normal", "hot", "focused"):
            shadow(pic, (1, 1, 71, 28), r, 22, 1.2)
        pic.rrect((1, 1, 71, 28), r, fill, alpha)
        pic.rring((1, 1, 71, 28), r, width, edge)
        save(pic, f"ChipHot_{state}.png")

        pic = Pic(120, 30)
        if state in ("normal", "hot", "focused"):
            shadow(pic, (1, 1, 119, 28), r, 22, 1.2)
        pic.rrect((1, 1, 119, 28), r, fill, alpha)
        pic.rring((1, 1, 119, 28), r, width, edge)
        mark = TEAL if state == "normal" else TEAL_DARK
        pic.ellipse((9, 7, 24, 22), mark, 235)
        pic.polygon([(14.5, 10.8), (20.2, 14.5), (14.5, 18.2)], WHITE)
        save(pic, f"ChipTag_{state}.png")


def make_details_button():
    """"详情" on a result page: a teal outline pill, 56 x 24."""
    w, h, r = 56, 24, 11
    for state, (fill, fill_alpha, edge) in {"normal": (WHITE, 200, TEAL), "hot": (TEAL, 255, TEAL),
                                            "pushed": (TEAL_DARK, 255, TEAL_DARK),
                                            "focused": (WHITE, 255, TEAL_DARK)}.items():
        pic = Pic(w, h)
        pic.rrect((1, 1, w - 1, h - 1), r, fill, fill_alpha)
        pic.rring((1, 1, w - 1, h - 1), r, 2 if state == "focused" else 1, edge)
        save(pic, f"BtnDetails_{state}.png")


def make_link_button():
    """A text link's hover underline band (the about box's web-site button), 120 x 24."""
    for state, alpha in (("hot", 255), ("pushed", 255)):
        pic = Pic(120, 24)
        pic.rrect((0, 0, 120, 24), 4, TEAL_SOFT if state == "hot" else mix(TEAL_SOFT, TEAL, 0.25),
                  alpha)
        save(pic, f"BtnLink_{state}.png")


def make_checkboxes():
    """16 x 16 boxes drawn at the left of a check box through dest."""
    s = 16
    for state in ("normal", "hot", "selected", "selectedhot", "disabled", "focused"):
        pic = Pic(s, s)
        if state in ("selected", "selectedhot"):
            colour = TEAL if state == "selected" else mix(TEAL, WHITE, 0.15)
            pic.rrect((1, 1, s - 1, s - 1), 3, colour)
            pic.line([(4.3, 8.3), (7, 11), (11.8, 5.2)], 1.9, WHITE)
        else:
            edge = {"normal": (150, 162, 176), "hot": TEAL, "disabled": (210, 216, 224),
                    "focused": TEAL}[state]
            pic.rrect((1, 1, s - 1, s - 1), 3, SURFACE if state == "disabled" else WHITE)
            pic.rring((1, 1, s - 1, s - 1), 3, 1.5 if state in ("hot", "focused") else 1, edge)
            if state == "hot":
                pic.rrect((4, 4, s - 4, s - 4), 1.5, TEAL, 50)
        save(pic, f"Check_{state}.png")


def make_source_options():
    """The play-source option of a result page, 40 x 25: plain, hovered, selected."""
    w, h, r = 40, 25, 4
    for state in ("normal", "hot", "selected", "selectedhot"):
        pic = Pic(w, h)
        if state == "normal":
            pic.rrect((1, 2, w - 1, h - 2), r, WHITE, 160)
            pic.rring((1, 2, w - 1, h - 2), r, 1, LINE)
        elif state == "hot":
            pic.rrect((1, 2, w - 1, h - 2), r, TEAL_SOFT)
            pic.rring((1, 2, w - 1, h - 2), r, 1, TEAL)
        else:
            pic.rrect((1, 2, w - 1, h - 2), r, TEAL if state == "selected" else mix(TEAL, WHITE, 0.15))
        save(pic, f"Source_{state}.png")


def make_select_dots():
    """The page-select column's option images (16 x 16): a hollow dot and a filled one."""
    pic = Pic(16, 16)
    pic.ellipse((4, 4, 12, 12), WHITE, 230)
    pic.ring((4, 4, 12, 12), 1.4, (140, 152, 168))
    save(pic, "SelectNormal.png")
    pic = Pic(16, 16)
    pic.ellipse((2, 2, 14, 14), TEAL, 60)
    pic.ellipse((3.5, 3.5, 12.5, 12.5), TEAL)
    pic.ellipse((6, 6, 10, 10), WHITE)
    save(pic, "SelectHot.png")


def make_progress():
    """The thumbnail download bar of the skin dialog: 7 pixels high."""
    pic = Pic(40, 7)
    pic.rrect((0, 0, 40, 7), 3, INK_DEEP, 170)
    save(pic, "Progress_bk.png")
    pic = Pic(40, 7)
    pic.rrect_gradient((0, 0, 40, 7), 3, mix(ACCENT_HOT, WHITE, 0.2), ACCENT, angle=0)
    save(pic, "Progress_fore.png")


# ---------------------------------------------------------------- result area pictures


def make_searching_frames():
    """Five frames of a magnifier sweeping over a film strip (140 x 80); the client
    shows them in turn every 500 ms."""
    w, h = 140, 80
    for k in range(5):
        pic = Pic(w, h)
        # the strip
        pic.rrect((4, 24, 128, 60), 4, INK, 235)
        for x in range(8, 126, 10):
            pic.rrect((x, 27, x + 5, 31), 1, WHITE, 170)
            pic.rrect((x, 53, x + 5, 57), 1, WHITE, 170)
        for i in range(5):
            x0 = 8 + i * 24
            lit = i == k
            pic.rrect((x0, 34, x0 + 20, 50), 2, mix(TEAL, WHITE, 0.55) if lit else (70, 86, 118))
            if lit:
                pic.polygon([(x0 + 7.5, 37.5), (x0 + 14.5, 42), (x0 + 7.5, 46.5)], WHITE)
        # the magnifier over frame k, bobbing a little
        cx = 18 + k * 24
        cy = 38 + (-3, 0, 3, 0, -3)[k]
        pic.ellipse((cx - 15, cy - 15, cx + 15, cy + 15), TEAL_SOFT, 90)
        pic.ring((cx - 15, cy - 15, cx + 15, cy + 15), 4, ACCENT)
        pic.line([(cx + 11, cy + 11), (cx + 20, cy + 20)], 6, ACCENT_DOWN)
        pic.ellipse((cx - 9, cy - 10, cx - 3, cy - 5), WHITE, 190)
        save(pic, f"Searching{k}.png")


def make_no_result():
    """The nothing-found picture: an empty film frame and a magnifier with a question."""
    w, h = 112, 84
    pic = Pic(w, h)
    pic.ellipse((8, 68, 104, 82), (20, 30, 50), 30, blur=2)
    pic.rrect((10, 10, 78, 62), 6, WHITE)
    pic.rring((10, 10, 78, 62), 6, 2, (170, 182, 198))
    for y in (22, 32, 42):
        pic.rrect((20, y, 58 if y != 42 else 44, y + 4), 2, (214, 221, 230))
    cx, cy = 76, 48
    pic.ellipse((cx - 20, cy - 20, cx + 20, cy + 20), WHITE, 235)
    pic.ring((cx - 20, cy - 20, cx + 20, cy + 20), 4.5, TEAL)
    pic.line([(cx + 14, cy + 14), (cx + 25, cy + 25)], 7, TEAL_DARK)
    pic.text_centre((cx - 20, cy - 20, cx + 20, cy + 20), "?", 24, ACCENT)
    save(pic, "NoResult.png")


def make_poster_placeholder():
    """What the poster area shows until (or unless) the poster arrives: 120 x 160."""
    w, h = 120, 160
    pic = Pic(w, h)
    pic.rrect_gradient((0, 0, w, h), 6, (226, 232, 240), (200, 210, 224))
    pic.rrect((35, 55, 85, 93), 5, WHITE, 200)
    pic.polygon([(53, 63), (69, 74), (53, 85)], (160, 174, 192))
    pic.text_centre((0, 104, w, 124), "暂无海报", 13, (120, 134, 152))
    save(pic, "PosterEmpty.png")


def make_banner_hover():
    """Drawn over the banner while the pointer is on it: a soft shade at the bottom and
    a pill that says the click opens the show."""
    w, h = 410, 240
    pic = Pic(w, h)
    for i in range(60):
        pic.rrect((0, 180 + i, w, 181 + i), 0, (0, 0, 0), int(i * 1.6))
    pic.rrect((304, 204, 398, 230), 13, (0, 0, 0), 120)
    pic.rring((304, 204, 398, 230), 13, 1, WHITE, 150)
    pic.text((316, 216.5), "查看详情", 13, WHITE, anchor="lm")
    pic.line([(377, 212.5), (381.5, 217), (377, 221.5)], 1.6, WHITE)
    save(pic, "BannerHover.png")


def make_question():
    pic = Pic(44, 44)
    pic.ellipse((2, 2, 42, 42), ACCENT)
    pic.ellipse((4, 3, 40, 26), WHITE, 30)
    pic.text_centre((2, 1, 42, 41), "?", 28, WHITE)
    save(pic, "MsgQuestion.png")


def make_thumb_hover():
    """Over a background thumbnail while hovered: a dark veil under the white name."""
    w, h = 80, 125
    pic = Pic(w, h)
    pic.rrect((0, 0, w, h), 4, (0, 0, 0), 70)
    pic.rrect((0, 48, w, 78), 0, (0, 0, 0), 80)
    save(pic, "ThumbHover.png")


def make_thumbnails():
    """80 x 125 previews of every Theme*.png of the sample server, with a miniature caption and
    panel so they read as windows; the names must equal the server's files."""
    w, h = 80, 125
    names = sorted(p.name for p in THEME_SOURCE.glob("Theme*.png"))
    if not names:
        sys.exit(f"no Theme*.png in {THEME_SOURCE}: run tools/devserver/make_update_tree.py first")
    for name in names:
        src = Image.open(THEME_SOURCE / name).convert("RGB")
        pic = Pic(w, h)
        pic.im = src.resize((w * SS, h * SS), Image.LANCZOS).convert("RGBA")
        cap = gradient((w * SS, 7 * SS), INK, CAPTION_END, angle=90)
        pic.im.paste(cap, (0, 0))
        pic.rrect((5, 56, 75, 118), 3, WHITE, 110)
        for i, y in enumerate((63, 71, 79)):
            pic.rrect((10, y, 70 - i * 14, y + 3), 1.5, TEXT2, 70)
        mask = Pic(w, h)
        mask.rrect((0, 0, w, h), 4, WHITE)
        out = pic.result()
        out.putalpha(mask.result().getchannel("A"))
        save(out, f"SkinThumb/{name}")


# ---------------------------------------------------------------- menu and floating badge


def make_menu_icons():
    s = 16
    pic = Pic(s, s)
    pic.line([(3.2, 8.4), (6.6, 11.8), (12.8, 4.6)], 2.2, TEAL)
    save(pic, "MenuCheck.png")

    pic = Pic(s, s)  # settings: gear
    teeth = []
    for i in range(16):
        a = i * math.pi / 8
        r = 7 if i % 2 == 0 else 5.2
        teeth.append((8 + r * math.cos(a), 8 + r * math.sin(a)))
    pic.polygon(teeth, TEXT2)
    pic.erase(lambda d: d.ellipse(pic.box((5.6, 5.6, 10.4, 10.4)), fill=255))
    save(pic, "MenuSettings.png")

    pic = Pic(s, s)  # check for updates: a circular arrow
    pic.arc((2.5, 2.5, 13.5, 13.5), 300, 200, 1.9, TEAL)
    pic.polygon([(1, 5.2), (5.6, 5.8), (2.8, 9.4)], TEAL)
    save(pic, "MenuUpdate.png")

    pic = Pic(s, s)  # about: an i in a circle
    pic.ellipse((1.5, 1.5, 14.5, 14.5), TEAL)
    pic.ellipse((7, 3.8, 9, 5.8), WHITE)
    pic.rrect((7.1, 7, 8.9, 12.4), 0.8, WHITE)
    save(pic, "MenuAbout.png")

    pic = Pic(s, s)  # quit: a power sign
    pic.arc((2.5, 3, 13.5, 14), 300, 240, 1.9, DANGER)
    pic.line([(8, 1.8), (8, 7.6)], 1.9, DANGER)
    save(pic, "MenuQuit.png")

    pic = Pic(9, 9)  # the expand arrow of an item with a sub-menu
    pic.polygon([(2.5, 1), (7, 4.5), (2.5, 8)], TEXT2)
    save(pic, "MenuArrow.png")


def make_float_badge():
    """The floating tool window (96 x 40): the caption gradient with the mark; the name
    is drawn by the layout."""
    w, h = 96, 40
    pic = Pic(w, h)
    pic.rrect_gradient((0, 0, w, h), 8, INK, CAPTION_END, angle=90)
    pic.ellipse((40, -30, 130, 22), (120, 200, 210), 45, blur=5)
    pic.rring((0, 0, w, h), 8, 1, WHITE, 60)
    draw_logo(pic, 8, 9, 22)
    save(pic, "FloatBadge.png")


# ---------------------------------------------------------------- default lists


# The popular shows and video sites of a fresh installation. The links go to the sample
# portal and sites of the loopback dev server; the images are drawn below.
DEFAULT_HOT = [
    # name, subtitle, tag, colours (sky top, sky bottom, far, near, accent), motif, page id
    ("长河落日", "剧情电影 · 2019", "热播", ((44, 34, 86), (236, 128, 84), (120, 60, 90),
                                          (52, 30, 60), (255, 206, 120)), "sunset", 1001),
    ("月光下的约定", "爱情电影 · 2021", "新片", ((14, 28, 66), (48, 86, 150), (40, 60, 110),
                                              (20, 30, 62), (246, 238, 200)), "moon", 1002),
    ("迷城追凶", "悬疑电影 · 2018", "独播", ((22, 40, 48), (46, 96, 104), (34, 58, 66),
                                          (16, 26, 32), (255, 214, 110)), "city", 1003),
    ("沉睡魔咒", "奇幻冒险 · 2014", "口碑", ((58, 22, 82), (176, 80, 150), (90, 40, 100),
                                          (40, 16, 52), (255, 190, 230)), "castle", 1004),
    ("山海长歌", "古装武侠 · 全40集", "完结", ((196, 222, 222), (98, 150, 150), (120, 160, 156),
                                          (54, 96, 92), (250, 250, 240)), "mountain", 2001),
]

DEFAULT_SITES = [
    # name, glyph, description, colour
    ("青柠视频", "柠", "青柠视频 - 热门剧集每日更新", (92, 170, 60)),
    ("飞鱼影院", "鱼", "飞鱼影院 - 高清电影免费看", (40, 120, 214)),
    ("橙子TV", "橙", "橙子TV - 综艺娱乐一网打尽", (236, 128, 36)),
    ("星河剧场", "星", "星河剧场 - 古装大剧独家首播", (120, 84, 200)),
    ("麦田动漫", "麦", "麦田动漫 - 新番动画同步更新", (206, 160, 28)),
    ("海豚综艺", "豚", "海豚综艺 - 真人秀与晚会直播", (20, 158, 170)),
    ("红枫电影", "枫", "红枫电影 - 经典老片与院线新片", (206, 56, 64)),
]


def hills(pic, rnd, base, rough, colour, alpha=255, w=410, h=240, step=(24, 46)):
    pts = [(0, h)]
    x = 0
    while x <= w + 40:
        pts.append((x, base - rnd.uniform(0, rough)))
        x += rnd.randint(*step)
    pts.append((w, h))
    pic.polygon(pts, colour, alpha, blur=0.6)


def make_banner(index, show):
    name, subtitle, tag, (top, bottom, far, near, accent), motif, _ = show
    w, h = 410, 240
    rnd = random.Random(7000 + index)
    pic = Pic(w, h)
    pic.im = gradient((w * SS, h * SS), top, bottom).convert("RGBA")
    if motif == "sunset":
        pic.ellipse((250, 60, 370, 180), accent, 80, blur=18)
        pic.ellipse((270, 80, 350, 160), accent)
        hills(pic, rnd, 160, 40, far, 230)
        pic.rrect((0, 190, w, h), 0, mix(near, accent, 0.25))
        for i in range(9):
            y = 196 + i * 5
            x0 = 300 - 40 + rnd.randint(-10, 10) - i * 4
            pic.rrect((x0, y, x0 + 80 + i * 8, y + 2), 1, accent, 150 - i * 12)
        hills(pic, rnd, 210, 14, near, 255, step=(40, 70))
    elif motif == "moon":
        for _ in range(60):
            x, y, r = rnd.uniform(0, w), rnd.uniform(0, 150), rnd.choice((0.6, 0.8, 1.2))
            pic.ellipse((x - r, y - r, x + r, y + r), WHITE, rnd.randint(120, 240))
        pic.ellipse((282, 30, 362, 110), accent, 60, blur=14)

        def crescent(d):
            d.ellipse(pic.box((290, 38, 354, 102)), fill=255)
            d.ellipse(pic.box((306, 30, 370, 94)), fill=0)

        pic.paint(crescent, accent)
        x = 0
        while x < w:
            bw = rnd.randint(18, 40)
            bh = rnd.randint(30, 90)
            pic.rrect((x, h - 40 - bh, x + bw, h), 0, far)
            for wy in range(h - 34 - bh, h - 44, 9):
                for wx in range(x + 4, x + bw - 5, 8):
                    if rnd.random() < 0.35:
                        pic.rrect((wx, wy, wx + 3, wy + 4), 0, accent, 180)
            x += bw + rnd.randint(0, 4)
        pic.rrect((0, h - 40, w, h), 0, near)
    elif motif == "city":
        for i in range(3):
            pic.polygon([(340 + i * 20, 0), (300 + i * 40, 0), (210 + i * 30, h), (260 + i * 30, h)],
                        accent, 26, blur=4)
        x = 0
        while x < w:
            bw = rnd.randint(26, 54)
            bh = rnd.randint(70, 170)
            pic.rrect((x, h - bh, x + bw, h), 0, far if rnd.random() < 0.5 else near)
            for wy in range(h - bh + 8, h - 8, 12):
                for wx in range(x + 5, x + bw - 6, 9):
                    if rnd.random() < 0.22:
                        pic.rrect((wx, wy, wx + 4, wy + 5), 0, accent, 210)
            x += bw + rnd.randint(2, 6)
        for _ in range(70):
            x, y = rnd.uniform(0, w), rnd.uniform(0, h)
            pic.line([(x, y), (x - 4, y + 14)], 0.7, WHITE, 60, round_caps=False)
    elif motif == "castle":
        for _ in range(40):
            x, y, r = rnd.uniform(180, w), rnd.uniform(0, 170), rnd.uniform(0.8, 2.2)
            pic.ellipse((x - r, y - r, x + r, y + r), accent, rnd.randint(90, 220), blur=0.4)
        cx = 320
        pic.rrect((cx - 50, 110, cx + 50, h), 0, far)
        for tx, th in ((cx - 50, 70), (cx - 8, 46), (cx + 36, 80)):
            pic.rrect((tx, th, tx + 16, h), 0, far)
            pic.polygon([(tx - 4, th), (tx + 8, th - 26), (tx + 20, th)], far)
            pic.rrect((tx + 6, th + 18, tx + 10, th + 26), 2, accent, 200)
        hills(pic, rnd, 200, 18, near, 255)
        for i in range(6):  # thorny vines
            x0 = rnd.uniform(150, 400)
            pts = [(x0 + 14 * math.sin(t / 3 + i), h - t * 6) for t in range(0, 10)]
            pic.line(pts, 2, near)
    elif motif == "mountain":
        for k, (base, rough, col, a) in enumerate(((120, 60, far, 150), (160, 50, mix(far, near, 0.5), 200),
                                                    (205, 30, near, 255))):
            hills(pic, rnd, base, rough, col, a, step=(30, 60))
            pic.rrect((0, base - 10, w, base + 20), 0, WHITE, 60, blur=8)
        for i in range(3):  # cranes
            x, y = 300 + i * 26, 50 + i * 14
            pic.line([(x - 10, y - 4), (x, y), (x + 10, y - 5)], 1.6, (40, 60, 60))
    # the readable side: a dark veil under the title
    veil = Image.linear_gradient("L").rotate(90).resize((w * SS, h * SS))
    veil = veil.point(lambda v: int((255 - v) * 0.55))
    dark = Image.new("RGBA", (w * SS, h * SS), (8, 12, 24, 0))
    dark.putalpha(veil)
    pic.im = Image.alpha_composite(pic.im, dark)
    f = font(15 * SS)
    tw = f.getlength(tag) / SS
    pic.rrect((24, 24, 24 + tw + 20, 48), 12, ACCENT, 240)
    pic.text((34, 36), tag, 15, WHITE, anchor="lm")
    pic.text((26, 125), name, 40, (0, 0, 0), 150, blur=2.5)
    pic.text((24, 122), name, 40, WHITE)
    pic.text((26, 176), subtitle, 17, (0, 0, 0), 130, blur=1.5)
    pic.text((25, 174), subtitle, 17, WHITE, 230)
    img = pic.result().convert("RGB")
    save(img.quantize(colors=256, method=Image.MEDIANCUT, dither=Image.FLOYDSTEINBERG),
         f"HotDefault{index + 1}.png")


def make_site_logo(index, site):
    """A 48 x 48 logo: a white tile with a coloured disc, its glyph, and a play notch."""
    _, glyph, _, colour = site
    s = 48
    pic = Pic(s, s)
    pic.rrect((1, 2, s - 1, s), 11, (20, 30, 50), 40, blur=1.2)
    pic.rrect((1, 1, s - 1, s - 2), 11, WHITE)
    pic.rring((1, 1, s - 1, s - 2), 11, 1, mix(colour, WHITE, 0.6))
    pic.ellipse((6, 5, 42, 41), colour)
    pic.ellipse((9, 6, 39, 24), WHITE, 36)
    pic.text_centre((6, 4, 42, 40), glyph, 21, WHITE)
    pic.polygon([(36, 33), (44, 37.5), (36, 42)], mix(colour, (0, 0, 0), 0.2))
    save(pic, f"SiteDefault{index + 1}.png")


def write_ini(path, lines):
    """INI text as the client reads it: GB18030 bytes, CRLF line ends."""
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("gb18030"))


def write_default_lists():
    lines = ["[HotLst]"]
    for i, show in enumerate(DEFAULT_HOT):
        make_banner(i, show)
        lines += [f"ImgName{i}=HotDefault{i + 1}.png", f"HotName{i}={show[0]}",
                  f"HotUrl{i}={SERVER}/detail/{show[5]}.html"]
    write_ini(CONFIG / "DefaultHot.cfg", lines)
    lines = ["[LinkSite]"]
    for i, site in enumerate(DEFAULT_SITES):
        make_site_logo(i, site)
        lines += [f"ImgName{i}=SiteDefault{i + 1}.png", f"Descript{i}={site[2]}",
                  f"LinkUrl{i}={SERVER}/site/{i + 1}/"]
    write_ini(CONFIG / "DefaultLinkSite.cfg", lines)


def main():
    OUT.mkdir(exist_ok=True)
    make_background()
    make_caption()
    make_logos()
    make_caption_buttons()
    make_primary_buttons()
    make_secondary_buttons()
    make_search()
    make_chips()
    make_details_button()
    make_link_button()
    make_checkboxes()
    make_source_options()
    make_select_dots()
    make_progress()
    make_searching_frames()
    make_no_result()
    make_poster_placeholder()
    make_banner_hover()
    make_question()
    make_thumb_hover()
    make_thumbnails()
    make_menu_icons()
    make_float_badge()
    write_default_lists()
    print(f"{OUT.relative_to(ROOT)}: {len(list(OUT.rglob('*.png')))} images")
    return 0


if __name__ == "__main__":
    sys.exit(main())
