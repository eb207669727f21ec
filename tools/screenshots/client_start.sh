#!/bin/bash
# Pictures of the real client right after start-up, on a private X server with a
# private home, against a loopback devserver (sample update server and portal):
#
#   OUT/client-start.png     the main window once the server's popular shows and
#                            sites have replaced the defaults
#   OUT/client-floating.png  the floating window in its corner
#   OUT/client-menu.png      the floating window with its menu open
#
#   tools/screenshots/client_start.sh BUILD OUT   (part of tools/screenshots.sh)
#
# With SHOT_SCALE=2 the X server is twice the size and the client runs with
# QT_SCALE_FACTOR=2: OUT/client-start-2x.png only.
#
# Needs xvfb-run, xdotool and the system Python with PIL.
set -eu
build=$(cd "${1:?usage: client_start.sh BUILD OUT}" && pwd)
shots=$(cd "${2:?usage: client_start.sh BUILD OUT}" && pwd)

scale=${SHOT_SCALE:-1}
case "$scale" in 1 | 2) ;; *) echo "SHOT_SCALE must be 1 or 2" >&2; exit 2 ;; esac
if [ "${SHOT_INSIDE_XVFB:-}" != 1 ]; then
    SHOT_INSIDE_XVFB=1 exec xvfb-run -a \
        -s "-screen 0 $((1280 * scale))x$((800 * scale))x24 -nolisten tcp" \
        bash "$0" "$build" "$shots"
fi
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
[ "$scale" = 1 ] || export QT_SCALE_FACTOR=$scale

work=$(mktemp -d)
mkdir -p "$work/home" "$work/data" "$work/config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
    XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp TROVIK_OPEN_URL_LOG=$work/urls.log \
    TROVIK_DEBUG=1
unset QT_QPA_PLATFORM

"$build/bin/devserver" --port 0 >"$work/devserver.out" 2>&1 &
server=$!
pid=
trap 'kill $pid $server 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do grep -q '^port ' "$work/devserver.out" && break; sleep 0.1; done
port=$(sed -n 's/^port \([0-9]*\).*/\1/p' "$work/devserver.out" | head -1)
[ -n "$port" ] || { echo "devserver did not start" >&2; exit 1; }

# A private installation whose settings name that server.
install=$work/install
mkdir -p "$install/Skin" "$install/Config"
cp "$build/bin/trovik" "$install/"
cp "$build/bin/Skin/SkinRes.zip" "$install/Skin/"
cp "$build"/bin/Config/*.cfg "$install/Config/"
printf '[Portal]\r\nSearchHost=127.0.0.1:%s\r\nTvHost=127.0.0.1:%s\r\nVideoHost=127.0.0.1:%s\r\n[UpdateServer]\r\nHost=http://127.0.0.1:%s/update\r\nAppName=Trovik\r\nChannel=stable\r\n[Stat]\r\nHost=127.0.0.1:%s\r\n' \
    "$port" "$port" "$port" "$port" "$port" >"$install/Config/AutoCfg.cfg"

"$install/trovik" /noupdate >"$work/trovik.log" 2>&1 &
pid=$!

# Idle: the loop waits in poll/ppoll once it has painted.
idle() {
    local call
    read -r call _ <"/proc/$pid/syscall" || return 1
    [ "$call" = 7 ] || [ "$call" = 271 ]
}
for _ in $(seq 300); do
    grep -q 'lists: downloaded' "$work/trovik.log" && break
    sleep 0.1
done
# The banner has slid on to a downloaded picture.
for _ in $(seq 100); do
    grep -q "Trovik/Hot/Hot0.*source=" "$work/trovik.log" && break
    sleep 0.1
done
main=$(xdotool search --onlyvisible --name '^Trovik$' | head -1)
float=$(xdotool search --onlyvisible --name '^悬浮窗$' | head -1)
[ -n "$main" ] && [ -n "$float" ] || { echo "no main or floating window" >&2; exit 1; }

# A picture of the screen rectangle (x, y, w, h) as it is when the client idles just
# after the banner has come to rest (the next slide is 3 s away).
grab() {
    local out=$1 x=$2 y=$3 w=$4 h=$5
    for _ in $(seq 100); do
        grep -c 'source=' "$work/trovik.log" >"$work/count.a"
        sleep 0.3
        grep -c 'source=' "$work/trovik.log" >"$work/count.b"
        cmp -s "$work/count.a" "$work/count.b" && idle && break
    done
    /usr/bin/python3 - "$out" "$x" "$y" "$w" "$h" <<'PY'
import sys
from PIL import ImageGrab
out, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:])
ImageGrab.grab(bbox=(x, y, x + w, y + h)).save(out)
print(out)
PY
}

eval "$(xdotool getwindowgeometry --shell "$main")"
if [ "$scale" != 1 ]; then
    # The X server's pixels: the window at twice its size.
    grab "$shots/client-start-${scale}x.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
    exit 0
fi
grab "$shots/client-start.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
eval "$(xdotool getwindowgeometry --shell "$float")"
grab "$shots/client-floating.png" $((X - 20)) 0 $((WIDTH + 40)) $((Y + HEIGHT + 20))
xdotool mousemove --sync $((X + 40)) $((Y + 20)) click 3
sleep 0.5
grab "$shots/client-menu.png" $((X - 180)) 0 $((WIDTH + 200)) 260
