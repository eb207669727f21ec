#!/usr/bin/python3
"""Draws the images of the updater's skin (skin/updater/), in the client's palette.

    MainForm.png                  the window, 254 x 132: a light caption band with the
                                  Trovik mark above a calm body
    Close.png                     the caption's close button, three 20 x 20 frames
                                  side by side: normal, pushed, hot
    button_normal.png, button_hover.png   the two buttons, 105 x 25
    progress_fore.png, progress_back.png  the progress bar's fill and track, 214 x 20
    Name@2x.png                   each of them again at twice the size, for scaled screens

Everything is drawn with the helpers and colours of skin_drawing.py (see
docs/SKIN.md), so every run gives the same pictures. Run with the system Python:
    /usr/bin/python3 tools/skin/make_updater_images.py
"""

import os
import subprocess
import sys

from PIL import Image

import skin_drawing as skin
from skin_drawing import (CAPTION_END, DANGER, INK, LINE, TEAL, TEAL_DARK, TEAL_SOFT, WHITE, Pic,
                          draw_logo, gradient, mix)

OUT = skin.SKIN / "updater"


def save(pic, name):
    img = pic.result() if isinstance(pic, Pic) else pic
    img.save(OUT / skin.scaled_name(name), optimize=True)


def make_form():
    """The whole window: caption band (32 px) and body, corners rounded by the window."""
    w, h = 254, 132
    body = gradient((w, h), (250, 252, 254), (234, 241, 247), angle=0).convert("RGBA")
    pic = Pic(w, h)
    pic.im = body.resize((w * skin.SS, h * skin.SS))
    pic.ellipse((150, 60, 330, 220), WHITE, 120, blur=24)
    band = gradient((w * skin.SS, 32 * skin.SS), mix(TEAL_SOFT, WHITE, 0.2),
                    mix(TEAL_SOFT, TEAL, 0.18), angle=90)
    pic.paint_fill(lambda d: d.rectangle(pic.box((0, 0, w, 32)), fill=255),
                   _paste(pic.im.size, band))
    pic.rrect((0, 31, w, 32), 0, mix(LINE, TEAL, 0.25))
    # The mark at the left of the title: teal lens, warm play triangle.
    draw_logo(pic, 9, 6, 18, ring=TEAL_DARK)
    save(pic, "MainForm.png")


def _paste(size, band):
    """`band` on a canvas of the whole picture's size, for Pic.paint_fill."""
    canvas = Image.new("RGB", size, (0, 0, 0))
    canvas.paste(band, (0, 0))
    return canvas


def make_close():
    """Frames 0-20 normal (a grey cross), 20-40 pushed, 40-60 hot (white on red)."""
    pic = Pic(60, 20)
    pic.rrect((21, 1, 39, 19), 4, (150, 36, 42))
    pic.rrect((41, 1, 59, 19), 4, DANGER)
    for x0, colour in ((0, mix(INK, WHITE, 0.25)), (20, WHITE), (40, WHITE)):
        cx, cy = x0 + 10, 10
        pic.line([(cx - 4.5, cy - 4.5), (cx + 4.5, cy + 4.5)], 1.7, colour)
        pic.line([(cx + 4.5, cy - 4.5), (cx - 4.5, cy + 4.5)], 1.7, colour)
    save(pic, "Close.png")


def make_buttons():
    w, h, r = 105, 25, 4
    for state, (top, bottom, edge, width) in {
        "normal": (WHITE, (244, 247, 250), LINE, 1),
        "hover": (mix(TEAL_SOFT, WHITE, 0.4), TEAL_SOFT, TEAL, 1.3),
    }.items():
        pic = Pic(w, h)
        skin.shadow(pic, (1, 1, w - 1, h - 2), r, 30)
        pic.rrect_gradient((1, 1, w - 1, h - 2), r, top, bottom)
        pic.rring((1, 1, w - 1, h - 2), r, width, edge)
        save(pic, f"button_{state}.png")


def make_progress():
    w, h = 214, 20
    track = Pic(w, h)
    track.rrect((0, 0, w, h), 0, (236, 241, 246))
    track.rrect((0, 0, w, 2), 0, (214, 222, 232))
    save(track, "progress_back.png")
    fore = Pic(w, h)
    fore.rrect_gradient((0, 0, w, h), 0, mix(TEAL, WHITE, 0.18), TEAL_DARK)
    fore.rrect((0, 1, w, h // 2), 0, WHITE, 40)
    for x in range(-h, w, 14):  # soft diagonal stripes
        fore.polygon([(x, h), (x + 7, h), (x + 7 + h, 0), (x + h, 0)], WHITE, 22)
    save(fore, "progress_fore.png")


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    make_form()
    make_close()
    make_buttons()
    make_progress()
    if skin.SCALE == 1:
        # Every picture again at twice the size ("Name@2x.png"), for scaled screens.
        subprocess.run([sys.executable, __file__], env={**os.environ, "SKIN_IMAGE_SCALE": "2"},
                       check=True)
        print(f"{OUT.relative_to(skin.ROOT)}: {len(list(OUT.glob('*.png')))} images")
    return 0


if __name__ == "__main__":
    sys.exit(main())
