#!/bin/bash
# Regenerates every picture of docs/screenshots/ with one command:
#
#   view-*.png        every layout as uilib-view draws it (screenshots/layout_views.py)
#   skin-*.png        the layouts with sample content, in their hover, focus, selection
#                     and download states (skin_shots)
#   dialog-*.png      the client's own dialogs on a light and a dark background
#                     (dialog_shots)
#   client-results.png, client-no-result.png
#                     the main window after real searches of the sample portal
#                     (client_shots)
#   client-start.png, client-floating.png, client-menu.png
#                     the real client started on a private X server
#                     (screenshots/client_start.sh)
#   *-2x.png          windows on a screen scaled by 2: view-<Window>-2x.png (and
#                     view-MsgDlg-1.5x.png) from layout_views.py, client-start-2x.png
#                     from client_start.sh with SHOT_SCALE=2
#   updater-window.png
#                     the updater's window (updater_tests, which draws it when
#                     TROVIK_UPDATER_SCREENSHOT_DIR is set)
#
#   tools/screenshots.sh [BUILD]      (default: build)
#
# Builds what it needs, draws everything into a temporary folder and replaces the
# pictures of docs/screenshots/ only when every one of them was made again, so a
# failure leaves them as they were. Needs xvfb-run, xdotool and the system Python
# with PIL (tools/install-deps.sh installs them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shots=$root/docs/screenshots

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2 --target trovik_skin uilib-view skin_shots dialog_shots client_shots \
    updater_tests trovik devserver vantrel
build=$(cd "$build" && pwd)

out=$(mktemp -d "${TMPDIR:-/tmp}/trovik-shots.XXXXXX")
trap 'rm -rf "$out"' EXIT
# The headless programs keep their files in a private home.
sandbox=$out/.sandbox
mkdir -p "$sandbox"/{home,data,config,runtime,tmp}
chmod 700 "$sandbox/runtime"
headless() {
    env HOME="$sandbox/home" XDG_DATA_HOME="$sandbox/data" XDG_CONFIG_HOME="$sandbox/config" \
        XDG_RUNTIME_DIR="$sandbox/runtime" TMPDIR="$sandbox/tmp" \
        TROVIK_OPEN_URL_LOG="$sandbox/urls.log" QT_QPA_PLATFORM=offscreen "$@"
}

/usr/bin/python3 "$root/tools/screenshots/layout_views.py" "$build" "$out"
headless "$build/tests/skin_shots" "$build/bin/Skin/SkinRes.zip" "$out" \
    "$root/tools/devserver/site/update/Trovik/Theme/Theme05.png"
headless "$build/tests/dialog_shots" "$out"
headless "$build/tests/client_shots" "$out"
headless env TROVIK_UPDATER_SCREENSHOT_DIR="$out" "$build/tests/updater_tests" \
    --gtest_filter=UpdaterWindow.HidingAndQuittingFollowTheCloseConvention >/dev/null
[ -f "$out/updater-window.png" ] || { echo "updater-window.png was not drawn" >&2; exit 1; }
bash "$root/tools/screenshots/client_start.sh" "$build" "$out"
SHOT_SCALE=2 bash "$root/tools/screenshots/client_start.sh" "$build" "$out"

# Every picture the folder holds must have been made again.
missing=0
for old in "$shots"/*.png; do
    [ -e "$old" ] || continue
    if [ ! -f "$out/$(basename "$old")" ]; then
        echo "not drawn again: $(basename "$old")" >&2
        missing=1
    fi
done
[ "$missing" = 0 ] || { echo "docs/screenshots/ left as it was" >&2; exit 1; }
mkdir -p "$shots"
rm -f "$shots"/*.png
cp "$out"/*.png "$shots"/
echo "docs/screenshots: $(ls "$shots"/*.png | wc -l) pictures"
