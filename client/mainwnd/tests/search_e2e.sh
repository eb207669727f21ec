#!/bin/bash
# End to end: the real trovik on a private X display searches the sample portal of a
# loopback devserver, shows the result pages and opens an episode.
#
#   search_e2e.sh BIN_DIR
#
# The client runs from a private installation folder (trovik, libvantrel.so, the skin
# and a Config/AutoCfg.cfg pointing at the devserver), so the engine is bound from the
# executable's own folder and reads the portal's address from there. URLs are recorded
# through TROVIK_OPEN_URL_LOG; no browser starts. The screenshot of the result page is
# left in the test's temporary folder (results.xwd, and results.png when ImageMagick is
# there). Exit 77 (skipped) only when xvfb-run or xdotool is missing.
set -u

BIN=${1:?usage: search_e2e.sh BIN_DIR}
for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

if [ -z "${TROVIK_E2E_INNER:-}" ]; then
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/trovik-e2e.XXXXXX")
    export TROVIK_E2E_WORK=$WORK TROVIK_E2E_INNER=1
    xvfb-run -a -s "-screen 0 1024x768x24 -fbdir $WORK" "$0" "$BIN"
    rc=$?
    echo "work folder: $WORK"
    exit $rc
fi

WORK=$TROVIK_E2E_WORK
. "$(dirname "$0")/e2e_session.sh"

find_window() { WID=$(xdotool search --onlyvisible --name '^Trovik$' 2>/dev/null | head -1); [ -n "$WID" ]; }
wait_for find_window || fail "the main window did not appear"
# The window's position on the screen; the controls sit at fixed places of the layout.
wait_for xdotool getwindowgeometry "$WID" >/dev/null || fail "no window geometry"
eval "$(xdotool getwindowgeometry --shell "$WID")"
at() { xdotool mousemove --sync $((X + $1)) $((Y + $2)); }

# xdotool types a character that has no key by binding it to a spare key for the
# moment of the key press; a busy client that reads the keyboard map late then sees
# another character or none. Bind every character of the name to a key of its own
# first, so the map stays the same while they are typed.
NAME="山海长歌"
bind_keys() {
    local free codes=() expr=()
    # Keys without any symbol: "keycode N =".
    free=$(xmodmap -pke | awk 'NF == 3 && $3 == "=" {print $2}' | tail -n 4)
    read -r -a codes <<<"$(echo $free)"
    [ ${#codes[@]} -eq 4 ] || return 1
    local i=0 ch
    for ch in $(echo "$NAME" | grep -o .); do
        expr+=(-e "keycode ${codes[$i]} = $(printf 'U%04X' "'$ch")")
        i=$((i + 1))
    done
    xmodmap "${expr[@]}"
}
bind_keys || fail "no spare keys to bind the name's characters to"
mapped() { xmodmap -pke | grep -q "= U6B4C"; }
wait_for mapped || fail "the keyboard map did not take the name's characters"

# Search box centre (163, 298): click, type a sample show's name, press Enter.
at 163 298 && xdotool click 1
sleep_until_focus() { xdotool getwindowfocus >/dev/null; }
wait_for sleep_until_focus
xdotool type --delay 30 "$NAME"
xdotool key Return

wait_for grep -q 'search: [1-9][0-9]* items shown' "$WORK/trovik.log" ||
    fail "no result pages were shown"
grep -q 'GET /search_%C9%BD%BA%A3%B3%A4%B8%E8' "$WORK/requests.log" ||
    fail "the portal was not asked for the typed name"

# The frame buffer changes as the page is painted: wait until the poster arrived
# and two successive frames are equal, then keep the picture.
SHOT=$WORK/results.xwd
stable() {
    cp "$WORK/Xvfb_screen0" "$SHOT.new" &&
        { [ -f "$SHOT" ] && cmp -s "$SHOT" "$SHOT.new"; rc=$?; mv "$SHOT.new" "$SHOT"; return $rc; }
}
wait_for stable || fail "the screen did not settle"


# The second episode button of the first page: centre (87, 593).
at 87 593 && xdotool click 1
wait_for grep -qx "http://127.0.0.1:$PORT/play/?v=2001-qingyou-2" "$TROVIK_OPEN_URL_LOG" ||
    fail "the episode's URL was not opened: $(cat "$TROVIK_OPEN_URL_LOG" 2>/dev/null)"

echo "PASS: result pages shown, episode 2 opened; screenshot $SHOT"
exit 0
