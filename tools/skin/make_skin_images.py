#!/usr/bin/python3
"""Draws every image of the client's skin and writes the installation's default lists.

    skin/client/*.png                 buttons, panels, glyphs, banners, site logos,
                                      waiting frames, menu icons
    skin/client/SkinThumb/*.png       thumbnails of the downloadable window backgrounds
    config/DefaultHot.cfg             default popular-show list (GB18030 INI text)
    config/DefaultLinkSite.cfg        default video-site list (GB18030 INI text)
    .../Name@2x.png                   every picture again at twice the size, for screens
                                      scaled by 1.5 or 2 (the framework picks them)

Everything is drawn from the palette of skin_drawing.py (shapes, gradients and text in the
WenQuanYi Zen Hei font), four times larger than needed and scaled down for smooth
edges, so every run gives the same pictures. The thumbnails are scaled from the
full-size backgrounds that the sample update server offers (tools/devserver), so a
thumbnail always previews the picture that a click on it downloads.

Run with the system Python, which has PIL:  /usr/bin/python3 tools/skin/make_skin_images.py
tools/skin/skin_check.py checks the result (and the layouts) without drawing anything.
"""

import math
import os
import random
import subprocess
import sys

from PIL import Image, ImageDraw, ImageFilter

from skin_default_lists import write_default_lists
from skin_drawing import *  # noqa: F401,F403 (the palette and the canvas)


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
    if SCALE == 1:
        # Every picture again at twice the size ("Name@2x.png"), for scaled screens.
        subprocess.run([sys.executable, __file__], env={**os.environ, "SKIN_IMAGE_SCALE": "2"},
                       check=True)
        print(f"{OUT.relative_to(ROOT)}: {len(list(OUT.rglob('*.png')))} images")
    return 0


if __name__ == "__main__":
    sys.exit(main())
