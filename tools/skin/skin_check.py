#!/usr/bin/python3
"""Checks the client's skin: the layouts in skin/client/ (or in a packed SkinRes.zip)
and the default lists in config/.

- every layout the client loads is there, well formed, with a Window root holding
  fonts and defaults and exactly one control;
- every control the client looks up by name is there, of a class that can do the job,
  with the sizes and initial states the client's code relies on;
- every image a layout or a default list names is in the archive, and every source
  rectangle, nine-patch corner and dest rectangle fits its image;
- every font a layout uses (font="n", {f n}) is defined for the window it is built for;
- every attribute is one the framework knows (a misspelt attribute is silently ignored
  by the framework, so it is caught here);
- the sub-layouts that stand in for parts of Main.xml hold the same content;
- the thumbnails of the skin dialog name backgrounds that the update server offers;
- every picture has its "Name@2x.png" for scaled screens, exactly twice its size.

Exit status 0 when the skin is sound, 1 with one line per problem otherwise.
    /usr/bin/python3 tools/skin/skin_check.py [--archive build/bin/Skin/SkinRes.zip]
"""

import argparse
import io
import re
import struct
import sys
import xml.etree.ElementTree as ET
import zipfile
from pathlib import Path

from skin_contract import *  # noqa: F401,F403 (what the client requires of the skin)
HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
SOURCE = ROOT / "skin" / "client"
CONFIG = ROOT / "config"
THEME_SERVER = ROOT / "tools" / "devserver" / "site" / "update" / "Trovik" / "Theme"
SERVER = "http://127.0.0.1:18632"


class Checker:
    def __init__(self, files):
        self.files = files  # archive path -> bytes
        self.problems = []
        self.sizes = {}

    def fail(self, where, message):
        self.problems.append(f"{where}: {message}")

    def expect(self, condition, where, message):
        if not condition:
            self.fail(where, message)
        return condition

    # ------------------------------------------------------------ images

    def image_size(self, name):
        if name not in self.sizes:
            data = self.files.get(name)
            size = None
            if data and data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR":
                size = struct.unpack(">II", data[16:24])
            self.sizes[name] = size
        return self.sizes[name]

    def check_image_value(self, where, value):
        """An image value: a bare name or file='..' source='..' corner='..' dest='..'."""
        fields = dict(re.findall(r"(\w+)='([^']*)'", value))
        if not fields:
            fields = {"file": value.strip()}
        name = fields.get("file", "")
        size = self.image_size(name)
        if not self.expect(size is not None, where, f"image {name!r} is not a PNG in the archive"):
            return
        w, h = size
        if "source" in fields:
            l, t, r, b = rect(fields["source"])
            self.expect(0 <= l < r <= w and 0 <= t < b <= h, where,
                        f"source {fields['source']} outside {name} ({w}x{h})")
            w, h = r - l, b - t
        if "corner" in fields:
            l, t, r, b = rect(fields["corner"])
            self.expect(l + r < w and t + b < h, where,
                        f"corner {fields['corner']} does not fit {name} ({w}x{h})")
        return fields

    # ------------------------------------------------------------ layouts

    def parse(self, layout):
        data = self.files.get(layout)
        if not self.expect(data is not None, layout, "missing from the archive"):
            return None
        try:
            root = ET.fromstring(data.decode("utf-8"))
        except (UnicodeDecodeError, ET.ParseError) as error:
            self.fail(layout, f"not well-formed UTF-8 XML: {error}")
            return None
        if not self.expect(root.tag == "Window", layout, f"root is <{root.tag}>, not <Window>"):
            return None
        return root

    def fonts_of(self, root):
        return {int(f.get("id", "-1")) for f in root.iter("Font")}

    def control_root(self, layout, root):
        controls = [c for c in root if c.tag not in ("Font", "Default", "Image")]
        if self.expect(len(controls) == 1, layout,
                       f"the Window holds {len(controls)} controls, not exactly one"):
            return controls[0]
        return None

    def check_control_tree(self, layout, top, fonts):
        seen = {}
        for el in top.iter():
            cls = el.tag
            name = el.get("name", "")
            where = f"{layout} <{cls}{' ' + name if name else ''}>"
            if not self.expect(cls in BUILTIN or cls in CUSTOM, where, "unknown control class"):
                continue
            if name and name != "SkinPictureItem":
                self.expect(name not in seen, where, "name used twice")
                seen[name] = el
            for attr, value in el.attrib.items():
                self.expect(attr in allowed_attributes(cls), where, f"unknown attribute {attr!r}")
                if attr in IMAGE_ATTRS and value:
                    fields = self.check_image_value(where, value)
                    if fields and "dest" in fields:
                        l, t, r, b = rect(fields["dest"])
                        w, h = int(el.get("width", "0")), int(el.get("height", "0"))
                        self.expect(0 <= l < r and 0 <= t < b and (not w or r <= w) and
                                    (not h or b <= h), where,
                                    f"dest {fields['dest']} outside the control")
                if attr in COLOUR_ATTRS:
                    self.expect(re.fullmatch(r"#([0-9A-Fa-f]{6}|[0-9A-Fa-f]{8})", value), where,
                                f"{attr}={value!r} is not a colour")
                if attr in ("font", "itemfont"):
                    self.expect(value.isdigit() and int(value) in fonts, where,
                                f"{attr}={value} is not a font of the window")
                if attr in ("pos", "padding", "inset", "textpadding", "itemtextpadding"):
                    self.expect(re.fullmatch(r"-?\d+(,-?\d+){3}", value), where,
                                f"{attr}={value!r} is not four integers")
                if attr in ("width", "height", "childpadding", "bordersize", "maxchar"):
                    self.expect(value.isdigit(), where, f"{attr}={value!r} is not a number")
                if attr in ("visible", "enabled", "mouse", "float", "showhtml", "endellipsis",
                            "selected", "checkitem", "ischeck", "expland"):
                    self.expect(value in ("true", "false"), where, f"{attr}={value!r}")
            for n in re.findall(r"\{f (\d+)\}", el.get("text", "")):
                self.expect(int(n) in fonts, where, f"markup font {n} is not defined")
            if el.get("float") == "true":
                self.expect("pos" in el.attrib, where, "floats without a pos")
        return seen

    def check_window(self, layout, root):
        size = root.get("size")
        if layout != "Menu_Tray.xml":
            if self.expect(size is not None, layout, "the Window has no size"):
                self.expect(root.get("mininfo") == size and root.get("maxinfo") == size, layout,
                            "mininfo and maxinfo must equal size (fixed-size window)")

    def run(self):
        trees = {}
        for layout in WINDOW_LAYOUTS + list(SUB_LAYOUTS):
            root = self.parse(layout)
            if root is None:
                continue
            if layout in WINDOW_LAYOUTS:
                self.check_window(layout, root)
            top = self.control_root(layout, root)
            if top is None:
                continue
            trees[layout] = (root, top)
        for layout, (root, top) in trees.items():
            font_root = trees.get(SUB_LAYOUTS.get(layout, layout), (root,))[0]
            fonts = self.fonts_of(font_root)
            if layout in WINDOW_LAYOUTS and layout != "Menu_Tray.xml":
                self.expect({0, 1, 2, 3, 4} <= fonts or layout == "FloatToolWindow.xml", layout,
                            "fonts 0 to 4 are not all defined")
            found = self.check_control_tree(layout, top, fonts)
            for name, classes in REQUIRED.get(layout, {}).items():
                el = found.get(name)
                if self.expect(el is not None, layout, f"no control named {name!r}"):
                    self.expect(el.tag in classes, layout,
                                f"{name!r} is a {el.tag}, expected one of {sorted(classes)}")
            for default in root.iter("Default"):
                if default.get("name") == "ExplandIcon":
                    self.check_image_value(f"{layout} Default ExplandIcon", default.get("value", ""))
        for image in REQUIRED_IMAGES:
            self.expect(self.image_size(image) == (16, 16) if image.startswith("Select")
                        else self.image_size(image) is not None, image,
                        "missing, or not a 16 x 16 PNG" if image.startswith("Select") else "missing")
        if "Main.xml" in trees:
            self.check_main(trees)
        if "OneTvInfo.xml" in trees:
            self.check_result_page(trees["OneTvInfo.xml"][1])
        if "SkinSetDlg.xml" in trees:
            self.check_skin_dialog(trees["SkinSetDlg.xml"][1])
        if "Menu_Tray.xml" in trees:
            self.check_menu(trees["Menu_Tray.xml"][1])
        self.check_default_lists()
        self.check_double_size()
        return self.problems

    def check_double_size(self):
        """Every picture has its "@2x" twin for scaled screens, exactly twice the size (the
        framework scales source rectangles and corners by 2), and no twin is alone."""
        pictures = [n for n in self.files if n.endswith(".png")]
        for name in pictures:
            stem, suffix = name[:-4], name[-4:]
            if stem.endswith("@2x"):
                self.expect(stem[:-3] + suffix in self.files, name, "an @2x picture without its 1x one")
                continue
            twin = f"{stem}@2x{suffix}"
            size, big = self.image_size(name), self.image_size(twin)
            if self.expect(big is not None, name, f"no {twin} (run make_skin_images.py)"):
                self.expect(size is not None and big == (size[0] * 2, size[1] * 2), twin,
                            f"{big} is not twice {size}")

    # ------------------------------------------------------------ Main.xml

    def check_main(self, trees):
        root, top = trees["Main.xml"]
        where = "Main.xml"
        self.expect(root.get("size") == "410,640", where, "the main window is not 410 x 640")
        self.expect(root.get("caption") == "0,0,0,32", where, "the caption is not the top 32 pixels")
        self.expect(top.get("name") == "background", where, "the root control is not 'background'")
        kids = list(top)
        self.expect(len(kids) >= 2 and kids[0].get("height") == "32", where,
                    "the first band is not the 32-pixel caption")
        banner = kids[1] if len(kids) > 1 else None
        if self.expect(banner is not None and banner.get("height") == "240", where,
                       "the banner (240 high) does not follow the caption"):
            inside = {c.get("name"): c for c in banner}
            for name in ("hlTopHotTvLst1", "hlTopHotTvLst2", "btnScrollTv"):
                self.expect(name in inside and inside[name].get("float") == "true", where,
                            f"{name} is not a floating child of the banner")
            if "btnScrollTv" in inside:
                self.expect(inside["btnScrollTv"].get("pos") == "0,0,410,240", where,
                            "btnScrollTv does not cover the banner")
                self.expect(not inside["btnScrollTv"].get("normalimage"), where,
                            "btnScrollTv must be transparent")
        views = {e.get("name"): e for e in top.iter() if e.get("name", "").startswith("vl")}
        self.expect(views.get("vlTvHistory") is not None and
                    views["vlTvHistory"].get("visible", "true") == "true", where,
                    "vlTvHistory is not visible at start")
        for name in ("vlSearching", "vlNoFindResult", "vlSearchResult", "vlSelectResult"):
            self.expect(name in views and views[name].get("visible") == "false", where,
                        f"{name} is not hidden at start")
        sel = views.get("vlSelectResult")
        if sel is not None:
            self.expect(sel.get("width") == "16" and int(sel.get("height", "0")) >= 160, where,
                        "vlSelectResult is not a 16-pixel column of at least 160 pixels")
        edit = next((e for e in top.iter("Edit") if e.get("name") == "edtSearchText"), None)
        if edit is not None:
            self.expect(edit.get("text") == "请输入片名", where, "the search box lacks its hint text")
        for b in top.iter("Button"):
            if b.get("name", "").startswith(("btnHistory", "btnHot")):
                self.expect(b.get("text"), where, f"{b.get('name')} has no visible label")
        # the sub-layouts that stand in for parts of the main window hold the same content
        by_name = {e.get("name"): e for e in top.iter() if e.get("name")}
        pairs = [("TvHistory.xml", list(by_name.get("hlSearchResult", []))),
                 ("Troviking.xml", list(by_name.get("vlSearching", []))),
                 ("NoSearchResult.xml", [by_name.get("ctNoFindResult")])]
        for layout, main_part in pairs:
            if layout not in trees:
                continue
            sub = trees[layout][1]
            sub_part = [sub] if layout != "Troviking.xml" else list(sub)
            self.expect([canonical(e) for e in sub_part if e is not None] ==
                        [canonical(e) for e in main_part if e is not None], layout,
                        "differs from the part of Main.xml it stands for")

    def check_result_page(self, top):
        where = "OneTvInfo.xml"
        by_name = {e.get("name"): e for e in top.iter() if e.get("name")}
        block = by_name.get("ctTvBlock")
        if block is not None:
            self.expect(int(block.get("width", "0")) >= 390 and int(block.get("height", "0")) >= 25,
                        where, "ctTvBlock is smaller than 390 x 25 (the episode buttons)")
        sources = by_name.get("ctTvSource")
        if sources is not None:
            self.expect(int(sources.get("width", "0")) >= 200 and
                        int(sources.get("height", "0")) >= 25, where,
                        "ctTvSource is smaller than 200 x 25 (five source rows)")
        score = by_name.get("TvPingFen")
        if score is not None:
            self.expect(score.get("showhtml") == "true", where, "TvPingFen does not show markup")
        pic = by_name.get("ctTvPic")
        if pic is not None:
            w, h = int(pic.get("width", "0") or 0), int(pic.get("height", "0") or 0)
            parent = next((p for p in top.iter() if pic in list(p)), None)
            if not (w and h) and parent is not None:
                w, h = int(parent.get("width", "0")), int(parent.get("height", "0"))
            self.expect(w and h and abs(w / h - 0.75) < 0.05, where,
                        f"the poster area {w}x{h} is not portrait 3:4")

    def check_skin_dialog(self, top):
        where = "SkinSetDlg.xml"
        thumbs = [e for e in top.iter("SkinPictureItem")]
        self.expect(len(thumbs) >= 8, where, f"{len(thumbs)} thumbnails instead of at least eight")
        for t in thumbs:
            self.expect(t.get("name") == "SkinPictureItem" and t.get("bkname"), where,
                        "a thumbnail lacks name='SkinPictureItem' or bkname")
            m = re.fullmatch(r"file='([^']+)'", t.get("bkimage", ""))
            if not self.expect(m and "/" in m.group(1), where,
                               f"thumbnail bkimage {t.get('bkimage')!r} is not file='Folder/Name'"):
                continue
            full = m.group(1).rsplit("/", 1)[1]
            if THEME_SERVER.is_dir():
                self.expect((THEME_SERVER / full).is_file(), where,
                            f"the update server offers no background named {full}")
        bar = next((e for e in top.iter("Progress") if e.get("name") == "proDown"), None)
        if bar is not None:
            self.expect(bar.get("float") == "true" and bar.get("visible") == "false", where,
                        "proDown must float and start hidden")

    def check_menu(self, top):
        where = "Menu_Tray.xml"
        self.expect(top.tag == "Menu", where, "the root control is not a Menu")
        items = list(top)
        self.expect(all(i.tag == "MenuElement" for i in items), where, "a Menu child is not a MenuElement")
        order = [i.get("name") or i.get("type") for i in items]
        self.expect(order == ["Menu_ShowHideMain", "Menu_ShowHideFloat", "line", "Menu_Settings",
                              "Menu_CheckUpdate", "Menu_About", "line", "Menu_Close"], where,
                    f"items are {order}")
        for i in items:
            if i.get("name") in ("Menu_ShowHideMain", "Menu_ShowHideFloat"):
                self.expect(i.get("checkitem") == "true" and i.get("icon"), where,
                            f"{i.get('name')} is not a check item with an icon")
            keys = list(i.attrib)
            if "ischeck" in keys:
                self.expect("checkitem" in keys and keys.index("checkitem") < keys.index("ischeck"),
                            where, "ischeck must come after checkitem")

    # ------------------------------------------------------------ default lists

    def check_default_lists(self):
        for file, section, keys, count, size, url in (
                ("DefaultHot.cfg", "HotLst", ("ImgName", "HotName", "HotUrl"), 5, (410, 240),
                 re.escape(SERVER) + r"/detail/\d+\.html"),
                ("DefaultLinkSite.cfg", "LinkSite", ("ImgName", "Descript", "LinkUrl"), 7, (48, 48),
                 re.escape(SERVER) + r"/site/\d+/")):
            path = CONFIG / file
            try:
                text = path.read_bytes().decode("gb18030")
            except (OSError, UnicodeDecodeError) as error:
                self.fail(file, f"unreadable as GB18030: {error}")
                continue
            values = read_ini(text).get(section.lower(), {})
            for i in range(count):
                for key in keys:
                    self.expect(values.get(f"{key}{i}".lower()), file, f"no {key}{i} in [{section}]")
                image = values.get(f"imgname{i}", "")
                if image:
                    self.expect(self.image_size(image) == size, file,
                                f"{image} is not a {size[0]} x {size[1]} PNG in the archive")
                link = values.get(f"{keys[2]}{i}".lower(), "")
                self.expect(re.fullmatch(url, link), file, f"{keys[2]}{i}={link!r}")


def rect(text):
    return [int(v) for v in text.split(",")]


def canonical(el):
    return (el.tag, sorted(el.attrib.items()), [canonical(c) for c in el if c.tag is not ET.Comment
                                                 and isinstance(c.tag, str)])


def read_ini(text):
    sections, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1].lower(), {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current[key.strip().lower()] = value.strip()
    return sections


def load_files(archive):
    if archive:
        with zipfile.ZipFile(archive) as z:
            return {n: z.read(n) for n in z.namelist() if not n.endswith("/")}
    return {str(p.relative_to(SOURCE)): p.read_bytes() for p in SOURCE.rglob("*") if p.is_file()}


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--archive", help="check this SkinRes.zip instead of skin/client/")
    args = parser.parse_args(argv)
    try:
        files = load_files(args.archive)
    except (OSError, zipfile.BadZipFile) as error:
        print(f"problem: {args.archive}: {error}", file=sys.stderr)
        return 1
    problems = []
    if args.archive:
        source = {str(p.relative_to(SOURCE)) for p in SOURCE.rglob("*")
                  if p.is_file() and p.suffix in (".xml", ".png")}
        if set(files) != source:
            problems.append(f"{args.archive}: differs from skin/client/: "
                            f"missing {sorted(source - set(files))[:5]}, "
                            f"extra {sorted(set(files) - source)[:5]}")
    problems += Checker(files).run()
    for problem in problems:
        print("problem:", problem, file=sys.stderr)
    print(f"skin: {len(files)} files, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
