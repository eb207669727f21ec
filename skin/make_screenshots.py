#!/usr/bin/python3
"""Renders the client's skin into docs/screenshots/.

    docs/screenshots/view-<Layout>.png   every layout as uilib-view draws it from the
                                         packed archive; sub-layouts with the main
                                         window's fonts, at the size the client gives them
    docs/screenshots/skin-<Shot>.png     the windows with sample content and in their
                                         hover, focus, selection and download states
                                         (skin_shots, on the real framework)
    docs/screenshots/dialog-<Shot>.png   the client's own settings, about and background
                                         dialogs on a light and a dark background
                                         (dialog_shots)

Pictures made elsewhere (client-*.png) are left alone.

Needs a build with tests (uilib-view, skin_shots, dialog_shots and the archive):
    cmake --build build --target uilib-view skin_shots dialog_shots
    /usr/bin/python3 skin/make_screenshots.py [build]
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OUT = ROOT / "docs" / "screenshots"
THEME = ROOT / "tools" / "devserver" / "site" / "update" / "Trovik" / "Theme" / "Theme05.png"

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
    build = Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build").resolve()
    archive = build / "bin" / "Skin" / "SkinRes.zip"
    view = build / "bin" / "uilib-view"
    shots = build / "tests" / "skin_shots"
    dialogs = build / "tests" / "dialog_shots"
    for path in (archive, view, shots, dialogs):
        if not path.exists():
            sys.exit(f"{path} is missing: build uilib-view, skin_shots and dialog_shots first")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    runtime = tempfile.mkdtemp(prefix="trovik-shots-")
    env["XDG_RUNTIME_DIR"] = runtime
    OUT.mkdir(parents=True, exist_ok=True)
    for pattern in ("view-*.png", "skin-*.png", "dialog-*.png"):
        for old in OUT.glob(pattern):
            old.unlink()
    try:
        preview = Path(runtime) / "SkinPreview.zip"
        shutil.copy(archive, preview)
        with zipfile.ZipFile(preview, "a") as z:
            for name in SUBS:
                z.writestr(f"preview/{name}.xml", with_main_fonts(archive, name))
        for name in WINDOWS:
            subprocess.run([str(view), "--zip", str(preview), "--layout", f"{name}.xml",
                            "--out", str(OUT / f"view-{name}.png")], env=env, check=True)
        for name, size in SUBS.items():
            subprocess.run([str(view), "--zip", str(preview), "--layout", f"preview/{name}.xml",
                            "--out", str(OUT / f"view-{name}.png"), "--size", size],
                           env=env, check=True)
        subprocess.run([str(shots), str(archive), str(OUT), str(THEME)], env=env, check=True)
        subprocess.run([str(dialogs), str(OUT)], env=env, check=True)
    finally:
        shutil.rmtree(runtime, ignore_errors=True)
    print(f"{OUT.relative_to(ROOT)}: {len(list(OUT.glob('*.png')))} pictures")


if __name__ == "__main__":
    main()
