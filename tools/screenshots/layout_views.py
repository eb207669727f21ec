#!/usr/bin/python3
"""Renders every layout of the client's skin as uilib-view draws it from the packed
archive: OUT/view-<Layout>.png, sub-layouts with the main window's fonts and at the
size the client gives them; the windows again as a screen scaled by 2 shows them
(OUT/view-<Window>-2x.png, and the quit question at 1.5). Part of tools/screenshots.sh,
which builds what it needs:

    /usr/bin/python3 tools/screenshots/layout_views.py BUILD OUT
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

WINDOWS = ["Main", "MsgDlg", "ConfigDlg", "AboutDlg", "SkinSetDlg", "FloatToolWindow"]
# sub-layouts and the size the main window gives them
SUBS = {"OneTvInfo": "394x316", "OneTvSource": "40x25", "TvHistory": "386x68",
        "Troviking": "410x316", "NoSearchResult": "410x316", "Menu_Tray": "140x232"}


def with_main_fonts(archive, name):
    """The sub-layout wrapped in a Window that carries the main window's fonts, so it
    is drawn as it appears inside the main window."""
    with zipfile.ZipFile(archive) as z:
        main = z.read("Main.xml").decode("utf-8")
        sub = z.read(f"{name}.xml").decode("utf-8")
    if name == "Menu_Tray":
        return sub  # a window of its own
    fonts = "\n".join(re.findall(r"^\s*<Font [^>]*/>", main, re.M))
    body = sub[sub.index("<Window>") + len("<Window>"):]
    bk = ' bkcolor="#FFF4F7FA"'  # the panel colour behind it in the main window
    return f'<?xml version="1.0" encoding="UTF-8"?>\n<Window>\n{fonts}\n<VerticalLayout{bk}>' \
           + body.replace("</Window>", "</VerticalLayout>\n</Window>")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: layout_views.py BUILD OUT")
    build, out = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    archive = build / "bin" / "Skin" / "SkinRes.zip"
    view = build / "bin" / "uilib-view"
    for path in (archive, view):
        if not path.exists():
            sys.exit(f"{path} is missing: build uilib-view and the skin first")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    work = Path(tempfile.mkdtemp(prefix="trovik-views-"))
    env["XDG_RUNTIME_DIR"] = str(work)
    out.mkdir(parents=True, exist_ok=True)
    try:
        preview = work / "SkinPreview.zip"
        shutil.copy(archive, preview)
        with zipfile.ZipFile(preview, "a") as z:
            for name in SUBS:
                z.writestr(f"preview/{name}.xml", with_main_fonts(archive, name))
        for name in WINDOWS:
            subprocess.run([str(view), "--zip", str(preview), "--layout", f"{name}.xml",
                            "--out", str(out / f"view-{name}.png")], env=env, check=True)
        for name in WINDOWS:
            subprocess.run([str(view), "--zip", str(preview), "--layout", f"{name}.xml",
                            "--out", str(out / f"view-{name}-2x.png"), "--scale", "2"],
                           env=env, check=True)
        subprocess.run([str(view), "--zip", str(preview), "--layout", "MsgDlg.xml",
                        "--out", str(out / "view-MsgDlg-1.5x.png"), "--scale", "1.5"],
                       env=env, check=True)
        for name, size in SUBS.items():
            subprocess.run([str(view), "--zip", str(preview), "--layout", f"preview/{name}.xml",
                            "--out", str(out / f"view-{name}.png"), "--size", size],
                           env=env, check=True)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"layout views: {2 * len(WINDOWS) + len(SUBS) + 1} pictures")


if __name__ == "__main__":
    main()
