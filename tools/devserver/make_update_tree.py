#!/usr/bin/python3
"""Generates the sample update-server tree that devserver serves below /update/.

    tools/devserver/site/update/Trovik/Hot/        Hot.cfg and five 410x240 banner images
    tools/devserver/site/update/Trovik/LinkSite/   LinkSite.cfg and seven 48x48 site logos
    tools/devserver/site/update/Trovik/Theme/      eight 410x640 window backgrounds
    tools/devserver/site/update/Trovik/stable/     the updater's channel for this build:
                                                   Version.txt (the build number),
                                                   Update.txt (manifest) and its files
    tools/devserver/site/update/Trovik/demo/       the same one build newer, for the
                                                   update demo (tools/update_demo.sh)
    tools/devserver/site/site/<n>/index.html       pages of the sample video sites: 1 to 7 of
                                                   the installation's default list, 8 to 14
                                                   of the server's list

The lists are INI text in GBK, as the client reads them; the manifest is one line of
JSON written the way the updater's own manifests are (sorted keys, no spaces), with the
MD5 of each listed file. Everything is drawn here (gradients, shapes and text in the
WenQuanYi Zen Hei font), so the output is the same at every run.

Run with the system Python, which has PIL:  /usr/bin/python3 tools/devserver/make_update_tree.py
With --check it only checks the tree on disk (lists complete, images of the right size,
manifest digests matching the files) and exits with status 1 on a problem.
"""

import argparse
import hashlib
import json
import math
import random
import re
import shutil
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

from site_drawing import badge, font, gradient, mix, paste_layer, shadowed_text, shape

HERE = Path(__file__).resolve().parent
SITE = HERE / "site"
APP = SITE / "update" / "Trovik"
SERVER = "http://127.0.0.1:18632"

BANNER_SIZE = (410, 240)
LOGO_SIZE = 48
THEME_SIZE = (410, 640)


# ---------------------------------------------------------------- popular shows

# name, subtitle, tag, colours (top, bottom, accent), motif, detail page id
HOT_SHOWS = [
    ("城南旧事录", "年代家庭 · 全24集", "独家热播", ((16, 28, 64), (22, 110, 122), (246, 214, 140)),
     "moon", 2002),
    ("云端上的月亮", "都市爱情 · 更新至12集", "浪漫首播", ((242, 138, 160), (255, 206, 170), (255, 255, 255)),
     "bokeh", 2003),
    ("小龙历险记", "动画冒险 · 全26集", "温暖上线", ((64, 150, 96), (214, 226, 120), (255, 250, 220)),
     "leaves", 3001),
    ("歌声与远方", "音乐真人秀 · 第12期", "综艺热榜", ((84, 46, 150), (246, 128, 72), (255, 236, 140)),
     "stars", 4001),
    ("京城81号", "悬疑惊悚 · 全6集", "年度巨制", ((96, 18, 30), (196, 120, 40), (255, 222, 150)),
     "rings", 2004),
]


def draw_motif(img, motif, accent, rnd):
    w, h = img.size
    size = img.size
    if motif == "moon":
        img = paste_layer(img, shape(size, lambda d: d.ellipse((270, 6, 390, 126), fill=255),
                                     accent, 70, 14))
        img = paste_layer(img, shape(size, lambda d: d.ellipse((290, 26, 370, 106), fill=255),
                                     accent, 255, 1))
        for layer_no, (shade, base_y) in enumerate((((12, 40, 70), 170), ((8, 24, 44), 195))):
            pts = [(0, h)]
            x = 0
            while x <= w:
                pts.append((x, base_y - rnd.randint(0, 40 - layer_no * 14)))
                x += rnd.randint(30, 60)
            pts += [(w, base_y - 10), (w, h)]
            img = paste_layer(img, shape(size, lambda d: d.polygon(pts, fill=255), shade, 235, 1))
    elif motif == "bokeh":
        for _ in range(22):
            r = rnd.randint(8, 34)
            cx, cy = rnd.randint(150, w), rnd.randint(0, h)
            a = rnd.randint(40, 110)
            img = paste_layer(img, shape(size, lambda d: d.ellipse(
                (cx - r, cy - r, cx + r, cy + r), fill=255), accent, a, 2))
    elif motif == "leaves":
        for _ in range(16):
            cx, cy = rnd.randint(180, w + 20), rnd.randint(-20, h)
            lw, lh = rnd.randint(26, 54), rnd.randint(12, 22)
            leaf = Image.new("L", (lw * 2, lw * 2), 0)
            ImageDraw.Draw(leaf).ellipse((lw // 2, lw - lh // 2, lw // 2 + lw, lw + lh // 2), fill=255)
            leaf = leaf.rotate(rnd.randint(0, 180), resample=Image.BICUBIC)
            colour = mix(accent, (120, 190, 90), rnd.random())
            img = paste_layer(img, shape(size, lambda d: d.bitmap((cx - lw, cy - lw), leaf, fill=255),
                                         colour, 150))
        img = paste_layer(img, shape(size, lambda d: d.polygon(
            [(0, h), (0, h - 60), (w, h - 110), (w, h)], fill=255), (40, 90, 60), 90, 6))
    elif motif == "stars":
        for _ in range(40):
            cx, cy = rnd.randint(0, w), rnd.randint(0, h)
            r = rnd.choice((1, 1, 2, 2, 3))
            img = paste_layer(img, shape(size, lambda d: d.ellipse(
                (cx - r, cy - r, cx + r, cy + r), fill=255), (255, 255, 255), rnd.randint(120, 230)))
        for cx, cy, r in ((330, 60, 26), (372, 150, 14), (262, 122, 10)):
            pts = []
            for k in range(10):
                rr = r if k % 2 == 0 else r * 0.42
                ang = math.pi / 2 + k * math.pi / 5
                pts.append((cx + rr * math.cos(ang), cy - rr * math.sin(ang)))
            img = paste_layer(img, shape(size, lambda d: d.ellipse(
                (cx - 2 * r, cy - 2 * r, cx + 2 * r, cy + 2 * r), fill=255), accent, 60, 10))
            img = paste_layer(img, shape(size, lambda d: d.polygon(pts, fill=255), accent))
    elif motif == "rings":
        for k, r in enumerate((120, 92, 66)):
            cx, cy = 330, 100
            img = paste_layer(img, shape(size, lambda d: d.ellipse(
                (cx - r, cy - r, cx + r, cy + r), outline=255, width=2), accent, 90 + 40 * k))
        img = paste_layer(img, shape(size, lambda d: d.ellipse((290, 60, 370, 140), fill=255),
                                     accent, 200, 2))
        for i in range(7):
            y = 150 + i * 11
            img = paste_layer(img, shape(size, lambda d: d.line(((0, y), (w, y - 40)), fill=255, width=1),
                                         (255, 230, 190), 40))
    return img


def make_banner(index, show):
    name, subtitle, tag, (top, bottom, accent), motif, _ = show
    rnd = random.Random(1000 + index)
    img = gradient(BANNER_SIZE, top, bottom, angle=35).convert("RGBA")
    img = draw_motif(img, motif, accent, rnd)
    # A dark veil on the left keeps the title readable on any motif.
    veil = Image.linear_gradient("L").rotate(90).resize(BANNER_SIZE)
    veil = veil.point(lambda v: int((255 - v) * 0.5))
    dark = Image.new("RGBA", BANNER_SIZE, (0, 0, 0, 0))
    dark.putalpha(veil)
    img = Image.alpha_composite(img, dark)
    img = badge(img, (26, 24), tag, mix(accent, (220, 60, 60), 0.7))
    img = shadowed_text(img, (24, 118), name, 42)
    img = shadowed_text(img, (27, 172), subtitle, 17, alpha=225, blur=2, offset=(1, 2))
    return img.convert("RGB")


def write_hot(folder):
    folder.mkdir(parents=True)
    lines = ["[HotLst]"]
    for i, show in enumerate(HOT_SHOWS):
        image = f"Hot{i + 1:02d}.jpg"
        make_banner(i, show).save(folder / image, quality=84, optimize=True, progressive=True)
        lines += [f"ImgName{i}={image}", f"HotName{i}={show[0]}",
                  f"HotUrl{i}={SERVER}/detail/{show[5]}.html"]
    write_ini(folder / "Hot.cfg", lines)


# ---------------------------------------------------------------- video sites

# The sites of the update server's list: others than the installation's default sites
# (tools/skin/skin_default_lists.py, pages 1 to 7), so a user sees the downloaded list take over.
# name, glyph, tooltip, colours (top, bottom), page number below /site/
SITES = [
    ("云帆影视", "帆", "云帆影视 - 海量剧集高清在线", ((86, 156, 236), (36, 84, 178)), 8),
    ("竹林剧场", "竹", "竹林剧场 - 武侠古装经典重温", ((104, 196, 120), (28, 120, 84)), 9),
    ("蓝鲸电影", "鲸", "蓝鲸电影 - 院线大片抢先看", ((70, 130, 210), (20, 52, 120)), 10),
    ("星火动漫", "火", "星火动漫 - 国漫日漫每日更新", ((255, 150, 80), (214, 60, 48)), 11),
    ("彩虹综艺", "虹", "彩虹综艺 - 热门综艺一网打尽", ((236, 110, 190), (140, 84, 220)), 12),
    ("山茶纪录", "茶", "山茶纪录 - 人文自然纪录片", ((214, 90, 100), (130, 40, 70)), 13),
    ("银杏少儿", "杏", "银杏少儿 - 儿童动画与早教", ((246, 206, 70), (200, 140, 20)), 14),
]

# The installation's default sites link to pages 1 to 7 of the sample server.
DEFAULT_SITE_PAGES = [
    ("青柠视频", "青柠视频 - 热门剧集每日更新", ((124, 204, 72), (38, 150, 74))),
    ("飞鱼影院", "飞鱼影院 - 高清电影免费看", ((72, 170, 240), (30, 96, 200))),
    ("橙子TV", "橙子TV - 综艺娱乐一网打尽", ((255, 178, 64), (240, 110, 30))),
    ("星河剧场", "星河剧场 - 古装大剧独家首播", ((170, 120, 240), (96, 58, 190))),
    ("麦田动漫", "麦田动漫 - 新番动画同步更新", ((250, 214, 84), (214, 150, 30))),
    ("海豚综艺", "海豚综艺 - 真人秀与晚会直播", ((64, 210, 200), (20, 140, 160))),
    ("红枫电影", "红枫电影 - 经典老片与院线新片", ((240, 96, 88), (190, 36, 52))),
]


def make_logo(site):
    _, glyph, _, (top, bottom), _ = site
    scale = 4  # drawn large and scaled down for smooth edges
    size = LOGO_SIZE * scale
    body = gradient((size, size), top, bottom, angle=20).convert("RGBA")
    mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(mask).rounded_rectangle((2, 2, size - 3, size - 3), radius=11 * scale, fill=255)
    logo = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    logo.paste(body, (0, 0), mask)
    gloss = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    ImageDraw.Draw(gloss).ellipse((-size // 2, -size * 3 // 4, size * 3 // 2, size // 2),
                                  fill=(255, 255, 255, 46))
    logo = Image.alpha_composite(logo, Image.composite(gloss, Image.new("RGBA", gloss.size), mask))
    f = font(30 * scale)
    d = ImageDraw.Draw(logo)
    box = d.textbbox((0, 0), glyph, font=f)
    x = (size - (box[2] - box[0])) / 2 - box[0]
    y = (size - (box[3] - box[1])) / 2 - box[1]
    d.text((x + scale, y + 2 * scale), glyph, font=f, fill=(0, 0, 0, 60))
    d.text((x, y), glyph, font=f, fill=(255, 255, 255, 255))
    return logo.resize((LOGO_SIZE, LOGO_SIZE), Image.LANCZOS)


def write_sites(folder):
    folder.mkdir(parents=True)
    lines = ["[LinkSite]"]
    for i, site in enumerate(SITES):
        name, _, tooltip, colours, page = site
        image = f"Site{i + 1:02d}.png"
        make_logo(site).save(folder / image, optimize=True)
        lines += [f"ImgName{i}={image}", f"Descript{i}={tooltip}",
                  f"LinkUrl{i}={SERVER}/site/{page}/"]
        write_site_page(page, (name, tooltip, colours))
    write_ini(folder / "LinkSite.cfg", lines)
    for number, site in enumerate(DEFAULT_SITE_PAGES, start=1):
        write_site_page(number, site)


def write_site_page(number, site):
    name, tooltip, (top, bottom) = site
    page = SITE / "site" / str(number)
    page.mkdir(parents=True, exist_ok=True)
    css_top = "#%02x%02x%02x" % top
    css_bottom = "#%02x%02x%02x" % bottom
    (page / "index.html").write_text(
        "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
        f"<title>{name}</title></head>\n"
        f"<body style=\"margin:0;font-family:sans-serif;background:linear-gradient({css_top},{css_bottom});"
        "color:#fff;min-height:100vh;display:flex;align-items:center;justify-content:center\">\n"
        f"<div style=\"text-align:center\"><h1>{name}</h1><p>{tooltip.split(' - ')[1]}</p>"
        "<p style=\"opacity:.7\">Trovik 演示站点</p></div>\n</body></html>\n",
        encoding="utf-8")


# ---------------------------------------------------------------- window backgrounds

# top, bottom, soft shapes (centre x, centre y, radius, colour, alpha)
THEMES = [
    ((222, 232, 242), (176, 196, 220), [(90, 120, 150, (255, 255, 255), 90),
                                        (330, 470, 190, (150, 176, 210), 70)]),
    ((250, 236, 214), (236, 196, 170), [(320, 110, 160, (255, 248, 230), 110),
                                        (60, 520, 200, (226, 170, 150), 60)]),
    ((214, 240, 228), (150, 206, 196), [(80, 200, 170, (240, 255, 248), 90),
                                        (360, 560, 210, (120, 186, 180), 60)]),
    ((226, 216, 240), (160, 170, 214), [(300, 150, 180, (246, 238, 255), 90),
                                        (80, 500, 190, (140, 146, 200), 60)]),
    ((30, 44, 72), (18, 70, 88), [(320, 120, 170, (70, 110, 150), 70),
                                  (80, 520, 220, (30, 120, 130), 60)]),
    ((252, 232, 236), (236, 206, 220), [(100, 140, 170, (255, 250, 252), 110),
                                        (340, 520, 200, (226, 180, 200), 60)]),
    ((44, 30, 78), (70, 44, 104), [(300, 130, 170, (110, 80, 170), 70),
                                   (70, 500, 210, (120, 60, 130), 60)]),
    ((252, 242, 204), (234, 212, 150), [(90, 130, 170, (255, 252, 232), 110),
                                        (330, 520, 200, (222, 196, 120), 60)]),
]


def make_theme(index, theme):
    top, bottom, shapes = theme
    img = gradient(THEME_SIZE, top, bottom, angle=-12).convert("RGBA")
    for cx, cy, r, colour, alpha in shapes:
        img = paste_layer(img, shape(THEME_SIZE, lambda d: d.ellipse(
            (cx - r, cy - r, cx + r, cy + r), fill=255), colour, alpha, 60))
    # Two slow waves across the lower part, lighter than the ground below them.
    w, h = THEME_SIZE
    for base_y, amplitude, phase, lift, alpha in ((455, 24, index, 0.35, 80),
                                                  (535, 18, index * 2 + 1.5, 0.5, 70)):
        wave = [(0, h)] + [(x, base_y + amplitude * math.sin(x / 68 + phase))
                           for x in range(0, w + 10, 10)] + [(w, h)]
        img = paste_layer(img, shape(THEME_SIZE, lambda d: d.polygon(wave, fill=255),
                                     mix(bottom, (255, 255, 255), lift), alpha, 6))
    # Few colours quantise losslessly enough for a soft picture and keep the file small.
    return img.convert("RGB").quantize(colors=256, method=Image.MEDIANCUT, dither=Image.FLOYDSTEINBERG)


def write_themes(folder):
    folder.mkdir(parents=True)
    for i, theme in enumerate(THEMES):
        make_theme(i, theme).save(folder / f"Theme{i + 1:02d}.png", optimize=True)


# ---------------------------------------------------------------- update channels

# Two channels of the updater (AutoCfg.cfg "UpdateServer" "Channel"):
#   stable/  the current build: its Version.txt is the build number of the project
#            version in CMakeLists.txt, so an installation of this build (build/bin)
#            finds nothing to update and never changes;
#   demo/    one build newer, with the files that build changes: tools/update_demo.sh
#            shows a whole update with it on a private copy of the installation.


def build_number():
    """The fourth number of project(... VERSION a.b.c.d) in the top CMakeLists.txt."""
    text = (HERE.parent.parent / "CMakeLists.txt").read_text(encoding="utf-8")
    match = re.search(r"project\(\s*Trovik\s+VERSION\s+\d+\.\d+\.\d+\.(\d+)", text)
    if not match:
        raise SystemExit("CMakeLists.txt: no four-number project version")
    return int(match.group(1))


def release_notes(build, lines):
    text = f"Trovik 1.0.1.{build} 更新说明\r\n\r\n"
    return text + "".join(f"{i}. {line}\r\n" for i, line in enumerate(lines, 1))


def channel_files(build):
    """The files each channel lists, by path below the manifest root."""
    stable = {
        "Config/ReleaseNotes.txt": release_notes(build, [
            "热播推荐与站点列表改为每次启动时更新。",
            "新增八款窗口背景皮肤。",
            "改进海报下载的稳定性。",
        ]),
    }
    demo = {
        "Config/ReleaseNotes.txt": release_notes(build + 1, [
            "自动更新程序在后台下载更新, 下载完成后询问是否安装。",
            "更新文件逐个校验 MD5, 安装中断后下次启动继续完成。",
        ]),
        "Skin/readme.txt":
            "皮肤说明\r\n"
            "\r\n"
            "SkinRes.zip 包含主窗口的布局与图片。\r\n"
            "背景图片可在“更换皮肤”中选择，下载后保存在用户数据目录的 Theme 文件夹中。\r\n",
    }
    return {"stable": (build, stable), "demo": (build + 1, demo)}


def md5_hex(data):
    return hashlib.md5(data).hexdigest()


def write_channel(folder, version, files):
    folder.mkdir(parents=True)
    (folder / "Version.txt").write_bytes(str(version).encode("ascii"))
    tree = {"name": "Trovik"}
    for rel, text in files.items():
        data = text.encode("gbk")
        path = folder / rel
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        node = tree
        *dirs, name = rel.split("/")
        for d in dirs:
            subdirs = node.setdefault("subdirs", [])
            match = next((s for s in subdirs if s["name"] == d), None)
            if match is None:
                match = {"name": d}
                subdirs.append(match)
            node = match
        node.setdefault("files", []).append({"MD5": md5_hex(data), "name": name})
    manifest = json.dumps(tree, ensure_ascii=False, separators=(",", ":"), sort_keys=True) + "\n"
    (folder / "Update.txt").write_bytes(manifest.encode("gbk"))


# ---------------------------------------------------------------- output


def write_ini(path, lines):
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("gbk"))


def read_ini(path):
    """Sections of a GBK INI file as {section: {key: value}}."""
    sections, current = {}, None
    for line in path.read_bytes().decode("gbk").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current[key.strip()] = value.strip()
    return sections


def check_tree():
    """Problems found in the tree on disk (empty when it is what the client and the
    updater expect)."""
    problems = []

    def expect(condition, message):
        if not condition:
            problems.append(message)

    def check_image(path, size):
        try:
            with Image.open(path) as im:
                expect(im.size == size, f"{path.name}: {im.size}, expected {size}")
        except OSError as error:
            problems.append(f"{path}: {error}")

    hot = read_ini(APP / "Hot" / "Hot.cfg").get("HotLst", {})
    for i in range(5):
        for key in ("ImgName", "HotName", "HotUrl"):
            expect(hot.get(f"{key}{i}"), f"Hot.cfg lacks {key}{i}")
        if hot.get(f"ImgName{i}"):
            check_image(APP / "Hot" / hot[f"ImgName{i}"], BANNER_SIZE)
    sites = read_ini(APP / "LinkSite" / "LinkSite.cfg").get("LinkSite", {})
    for i in range(7):
        for key in ("ImgName", "Descript", "LinkUrl"):
            expect(sites.get(f"{key}{i}"), f"LinkSite.cfg lacks {key}{i}")
        if sites.get(f"ImgName{i}"):
            check_image(APP / "LinkSite" / sites[f"ImgName{i}"], (LOGO_SIZE, LOGO_SIZE))
        url = sites.get(f"LinkUrl{i}", "")
        if url.startswith(SERVER + "/"):
            page = SITE / url[len(SERVER) + 1:] / "index.html"
            expect(page.is_file(), f"{url} has no {page.relative_to(SITE)}")
    for i in range(len(THEMES)):
        check_image(APP / "Theme" / f"Theme{i + 1:02d}.png", THEME_SIZE)

    build = build_number()
    for name, (version, _) in channel_files(build).items():
        channel = APP / name
        text = (channel / "Version.txt").read_text(encoding="ascii")
        expect(text.strip() == str(version),
               f"{name}/Version.txt is {text!r}, expected {version} (build {build})")
        manifest = json.loads((channel / "Update.txt").read_bytes().decode("gbk"))
        expect(manifest.get("name") == "Trovik", f"the {name} manifest root is not named Trovik")

        def walk(node, rel):
            for entry in node.get("files", []):
                path = channel.joinpath(*rel, entry["name"])
                if not path.is_file():
                    problems.append(f"{path} is listed but missing")
                    continue
                expect(entry["MD5"] == md5_hex(path.read_bytes()), f"{path}: MD5 differs")
            for sub in node.get("subdirs", []):
                walk(sub, rel + [sub["name"]])

        walk(manifest, [])
    total = sum(p.stat().st_size for p in (SITE / "update").rglob("*") if p.is_file())
    expect(total < 2 * 1024 * 1024, f"the tree holds {total} bytes")
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="only check the tree on disk; exit status 1 on a problem")
    args = parser.parse_args()
    if not args.check:
        if APP.exists():
            shutil.rmtree(APP)
        write_hot(APP / "Hot")
        write_sites(APP / "LinkSite")
        write_themes(APP / "Theme")
        for name, (version, files) in channel_files(build_number()).items():
            write_channel(APP / name, version, files)
    problems = check_tree()
    for problem in problems:
        print("problem:", problem, file=sys.stderr)
    total = sum(p.stat().st_size for p in (SITE / "update").rglob("*") if p.is_file())
    print(f"{APP.relative_to(HERE.parent.parent)}: {total} bytes, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
