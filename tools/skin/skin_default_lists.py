#!/usr/bin/python3
"""The installation's default lists (config/DefaultHot.cfg, config/DefaultLinkSite.cfg)
and the pictures they name: five banners of popular shows and seven site logos.
make_skin_images.py writes them with the rest of the skin."""

import math
import random

from PIL import Image

from skin_drawing import *  # noqa: F401,F403 (the palette and the canvas)


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
    if SCALE == 1:
        write_ini(CONFIG / "DefaultHot.cfg", lines)
    lines = ["[LinkSite]"]
    for i, site in enumerate(DEFAULT_SITES):
        make_site_logo(i, site)
        lines += [f"ImgName{i}=SiteDefault{i + 1}.png", f"Descript{i}={site[2]}",
                  f"LinkUrl{i}={SERVER}/site/{i + 1}/"]
    if SCALE == 1:
        write_ini(CONFIG / "DefaultLinkSite.cfg", lines)
