#!/bin/bash
# End-to-end check of the quit question ("MsgDlg") on an X server without a compositor
# (Xvfb), read from the server's frame buffer (-fbdir): what a person sees.
#
#   e2e_quit_question.sh <path of trovik>
#
# 1. BtnQuit opens the question; once the client idles its pixels are the skin's (the
#    caption band, the primary button) and the body is light, nowhere black.
# 2. Before the program draws: with the client stopped, the question is moved over the
#    empty (black) desktop and mapped again, so the X server alone paints it. It must
#    show the window's backdrop colour, not black (Qt's X windows have no background
#    of their own: without a compositor they show what was below them).
# 3. Once the client runs again it draws the question again.
#
# Exits 77 (skipped) when xvfb-run or xdotool is missing. Every process it started is
# ended at the end, also on failure.
set -u

trovik=$1

if [ "${E2E_INSIDE_XVFB:-}" != 1 ]; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run is missing: skipped"; exit 77; }
    command -v xdotool >/dev/null 2>&1 || { echo "xdotool is missing: skipped"; exit 77; }
    fb=$(mktemp -d "${TMPDIR:-/tmp}/trovik-fb.XXXXXX")
    E2E_INSIDE_XVFB=1 E2E_FBDIR=$fb xvfb-run -a \
        -s "-screen 0 1280x800x24 -nolisten tcp -fbdir $fb" bash "$0" "$trovik"
    code=$?
    rm -rf "$fb"
    exit $code
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/trovik-e2e.XXXXXX")
mkdir -p "$work/home" "$work/data" "$work/config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
skin_zip=$(dirname "$trovik")/Skin/SkinRes.zip
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
    XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp TROVIK_OPEN_URL_LOG=$work/urls.log
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill -CONT "$pid" 2>/dev/null
        kill "$pid" 2>/dev/null
        timeout 10 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

wait_for() {
    local deadline=$(($(date +%s) + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s)" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

# The client's main thread waits in poll/ppoll: everything pending, paints included,
# has been handled.
idle_in_loop() {
    local call
    read -r call _ <"/proc/$pid/syscall" 2>/dev/null || return 1
    [ "$call" = 7 ] || [ "$call" = 271 ]
}
idle_twice() { idle_in_loop && sleep 0.2 && idle_in_loop; }
stopped() { [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" = T ]; }

# check.py MODE X Y: the question's pixels at its top-left corner (X, Y) on screen.
#   drawn     the skin's colours at a few points
#   backdrop  the backdrop colour (#E4EBF3, the root's bkcolor in MsgDlg.xml) everywhere
#             inside its shape
cat >"$work/check.py" <<'PY'
import io, struct, sys, zipfile

mode, X, Y = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
fbdir, skin_zip = sys.argv[4], sys.argv[5]

# The frame buffer as Xvfb keeps it: an XWD file (big-endian header), 32 bits a pixel.
data = open(fbdir + "/Xvfb_screen0", "rb").read()
h = struct.unpack(">25I", data[:100])
header_size, width, height, byte_order = h[0], h[4], h[5], h[7]
bpp, bytes_per_line, ncolors = h[11], h[12], h[19]
assert bpp == 32, f"{bpp} bits a pixel"
base = header_size + ncolors * 12
order = "<" if byte_order == 0 else ">"

def pixel(x, y):
    (v,) = struct.unpack_from(order + "I", data, base + y * bytes_per_line + x * 4)
    return (v >> 16) & 255, (v >> 8) & 255, v & 255

def near(a, b, tolerance):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))

failures = []
W, H = 320, 168
inner = [(x, y) for y in range(8, H - 8, 4) for x in range(8, W - 8, 4)]
black = [p for p in inner if max(pixel(X + p[0], Y + p[1])) < 24]
if black:
    failures.append(f"{len(black)} black points inside the question, first at {black[0]}")

if mode == "backdrop":
    want = (0xE4, 0xEB, 0xF3)
    wrong = [p for p in inner if pixel(X + p[0], Y + p[1]) != want]
    if wrong:
        x, y = wrong[0]
        failures.append(f"{len(wrong)} points are not the backdrop, first {wrong[0]}: "
                        f"{pixel(X + x, Y + y)}")
else:
    from PIL import Image

    skin = zipfile.ZipFile(skin_zip)

    def skin_pixel(name, x, y):
        return Image.open(io.BytesIO(skin.read(name))).convert("RGB").getpixel((x, y))

    # The caption band (CaptionBar.png, 410 wide, stretched over 320).
    checks = [((200, 5), [skin_pixel("CaptionBar.png", 256, 5)], 24),
              # btnOk at x 134..214, y 122..152: its warm body left of the label.
              ((144, 137), [skin_pixel("BtnPrimary_normal.png", 10, 15),
                            skin_pixel("BtnPrimary_focused.png", 10, 15)], 24)]
    for (x, y), wanted, tolerance in checks:
        got = pixel(X + x, Y + y)
        if not any(near(got, w, tolerance) for w in wanted):
            failures.append(f"at {(x, y)}: {got}, wanted one of {wanted}")
    # The body: light (white at 78 % over the background picture).
    for x, y in ((20, 100), (160, 110), (300, 60)):
        got = pixel(X + x, Y + y)
        if min(got) < 190:
            failures.append(f"body at {(x, y)}: {got} is not light")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print(f"{mode}: ok")
PY
check() { /usr/bin/python3 "$work/check.py" "$1" "$2" "$3" "$E2E_FBDIR" "$skin_zip"; }

"$trovik" /noupdate &
pid=$!
main=
find_main() { main=$(xdotool search --onlyvisible --name '^Trovik$' | head -1) && [ -n "$main" ]; }
wait_for 30 find_main || fail "no visible main window"
wait_for 20 idle_twice || fail "the client never went idle"
eval "$(xdotool getwindowgeometry --shell "$main")"
# BtnQuit: the cross at the right end of the caption (410 wide, 28 x 24 buttons).
xdotool mousemove --sync $((X + 395)) $((Y + 16)) click 1

dialog=
find_dialog() {
    dialog=$(xdotool search --onlyvisible --name '^CMsgDlg$' | head -1) && [ -n "$dialog" ]
}
wait_for 20 find_dialog || fail "BtnQuit opened no question"
wait_for 20 idle_twice || fail "the client never went idle with the question open"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
[ "$WIDTH" = 320 ] && [ "$HEIGHT" = 168 ] || fail "the question is ${WIDTH}x$HEIGHT"
check drawn "$X" "$Y" || fail "the question as drawn"

# The X server alone: the client stopped, the question mapped again over the empty desktop.
kill -STOP "$pid"
wait_for 10 stopped || fail "the client did not stop"
xdotool windowmove --sync "$dialog" 900 560
xdotool windowunmap --sync "$dialog"
xdotool windowmap --sync "$dialog"
sleep 0.3
check backdrop 900 560 || fail "the question before the program draws"

kill -CONT "$pid"
wait_for 20 idle_twice || fail "the client never went idle after it went on"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
check drawn "$X" "$Y" || fail "the question drawn again"
echo "PASS: quit question"
