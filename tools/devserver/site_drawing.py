#!/usr/bin/python3
"""Drawing helpers of make_update_tree.py: gradients, blurred shapes, text with a
shadow and small badges in the WenQuanYi Zen Hei font."""

import math

from PIL import Image, ImageDraw, ImageFilter, ImageFont

FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"


def font(size):
    return ImageFont.truetype(FONT_PATH, size)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def gradient(size, top, bottom, angle=0.0):
    """A two-colour linear gradient; angle in degrees turns it from top-to-bottom."""
    w, h = size
    side = int(math.hypot(w, h)) + 2
    ramp = Image.linear_gradient("L").resize((side, side), Image.BICUBIC)
    ramp = ramp.rotate(angle, resample=Image.BICUBIC)
    left, upper = (side - w) // 2, (side - h) // 2
    mask = ramp.crop((left, upper, left + w, upper + h))
    return Image.composite(Image.new("RGB", size, bottom), Image.new("RGB", size, top), mask)


def shape(size, draw_fn, colour, alpha=255, blur=0):
    """A layer of one colour whose coverage draw_fn(ImageDraw) paints with 255 on a mask.
    The mask, not the colour, is blurred, so soft edges never darken."""
    mask = Image.new("L", size, 0)
    draw_fn(ImageDraw.Draw(mask))
    if blur:
        mask = mask.filter(ImageFilter.GaussianBlur(blur))
    if alpha != 255:
        mask = mask.point(lambda v: v * alpha // 255)
    layer = Image.new("RGBA", size, tuple(colour) + (0,))
    layer.putalpha(mask)
    return layer


def paste_layer(base, layer):
    return Image.alpha_composite(base.convert("RGBA"), layer)


def shadowed_text(img, xy, text, size, fill=(255, 255, 255), alpha=255, shadow_alpha=150, blur=3,
                  offset=(2, 3)):
    f = font(size)
    img = paste_layer(img, shape(img.size, lambda d: d.text(
        (xy[0] + offset[0], xy[1] + offset[1]), text, font=f, fill=255), (0, 0, 0), shadow_alpha, blur))
    return paste_layer(img, shape(img.size, lambda d: d.text(xy, text, font=f, fill=255), fill, alpha))


def badge(img, xy, text, colour):
    f = font(15)
    x, y = xy
    w = int(f.getlength(text)) + 18
    img = paste_layer(img, shape(img.size, lambda d: d.rounded_rectangle(
        (x, y, x + w, y + 24), radius=12, fill=255), colour, 235))
    return paste_layer(img, shape(img.size, lambda d: d.text((x + 9, y + 3), text, font=f, fill=255),
                                  (255, 255, 255)))
