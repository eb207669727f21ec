#!/bin/bash
# Renders the main window of the real client right after start-up, on a private X
# server with a private home, to docs/screenshots/client-start.png.
#
#   client/tools/screenshot_client_start.sh [build folder]   (default: build)
#
# Needs xvfb-run, xdotool and the system Python with PIL.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=$root/docs/screenshots/client-start.png

if [ "${SHOT_INSIDE_XVFB:-}" != 1 ]; then
    SHOT_INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" \
        bash "$0" "$build"
fi

work=$(mktemp -d)
mkdir -p "$work/home" "$work/data" "$work/config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
    XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp TROVIK_OPEN_URL_LOG=$work/urls.log
unset QT_QPA_PLATFORM

"$build/bin/trovik" &
pid=$!
trap 'kill $pid 2>/dev/null; wait $pid 2>/dev/null; rm -rf "$work"' EXIT

# The window is up and its loop idles in poll/ppoll once it has painted.
for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name '^Trovik$' 2>/dev/null | head -1) || true
    read -r call _ <"/proc/$pid/syscall" || true
    [ -n "$id" ] && { [ "$call" = 7 ] || [ "$call" = 271 ]; } && break
    sleep 0.1
done
[ -n "$id" ] || { echo "no main window" >&2; exit 1; }

eval "$(xdotool getwindowgeometry --shell "$id")"
/usr/bin/python3 - "$out" "$X" "$Y" "$WIDTH" "$HEIGHT" <<'PY'
import sys
from PIL import ImageGrab
out, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:])
ImageGrab.grab(bbox=(x, y, x + w, y + h)).save(out)
print(out)
PY
