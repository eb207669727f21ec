#!/bin/bash
# End to end: the real trovik on a private X display takes the sample update server's
# popular shows and sites over from the installation's defaults, a click on a popular
# show and on a site logo opens their links, and a right click on the floating window
# opens the menu.
#
#   startview_e2e.sh BIN_DIR
#
# The client runs from a private installation folder whose Config/AutoCfg.cfg points
# at a loopback devserver. URLs are recorded through TROVIK_OPEN_URL_LOG; no browser
# starts. Exit 77 (skipped) only when xvfb-run or xdotool is missing.
set -u

BIN=${1:?usage: startview_e2e.sh BIN_DIR}
for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

if [ -z "${TROVIK_E2E_INNER:-}" ]; then
    WORK=$(mktemp -d "${TMPDIR:-/tmp}/trovik-e2e.XXXXXX")
    export TROVIK_E2E_WORK=$WORK TROVIK_E2E_INNER=1
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$BIN"
    rc=$?
    [ $rc -eq 0 ] && rm -rf "$WORK" || echo "work folder: $WORK"
    exit $rc
fi

WORK=$TROVIK_E2E_WORK
. "$(dirname "$0")/e2e_session.sh"

find_window() { WID=$(xdotool search --onlyvisible --name '^Trovik$' 2>/dev/null | head -1); [ -n "$WID" ]; }
wait_for find_window || fail "the main window did not appear"

# The download thread reports once the window has taken both lists over.
wait_for grep -q 'lists: downloaded, hot changed 1, sites changed 1' "$WORK/trovik.log" ||
    fail "the server's lists were not taken over"
grep -q 'GET /update/Trovik/LinkSite/Site07.png' "$WORK/requests.log" ||
    fail "the site logos were not downloaded"
[ -f "$XDG_DATA_HOME/Trovik/Hot/Hot05.jpg" ] || fail "no banner picture in the data folder"

# The controls sit at fixed places of the layout: the first popular show's button
# (48, 378) and the first site logo (37, 466).
wait_for xdotool getwindowgeometry "$WID" >/dev/null || fail "no window geometry"
eval "$(xdotool getwindowgeometry --shell "$WID")"
at() { xdotool mousemove --sync $((X + $1)) $((Y + $2)); }
at 48 378 && xdotool click 1
wait_for grep -qx "http://127.0.0.1:18632/detail/2002.html" "$TROVIK_OPEN_URL_LOG" ||
    fail "the popular show's link was not opened: $(cat "$TROVIK_OPEN_URL_LOG" 2>/dev/null)"
at 37 466 && xdotool click 1
wait_for grep -qx "http://127.0.0.1:18632/site/8/" "$TROVIK_OPEN_URL_LOG" ||
    fail "the site's link was not opened: $(cat "$TROVIK_OPEN_URL_LOG" 2>/dev/null)"

# Xvfb has no tray: the floating window shows in the top-right corner, and a right
# click on it opens the menu (one more window of the client on the screen).
FLOAT=$(xdotool search --onlyvisible --name '^悬浮窗$' 2>/dev/null | head -1)
[ -n "$FLOAT" ] || fail "no floating window"
eval "$(xdotool getwindowgeometry --shell "$FLOAT")"
[ "$X" -eq $((1024 - 96 - 20)) ] && [ "$Y" -eq 20 ] || fail "floating window at $X,$Y"
shown() { xdotool search --onlyvisible --pid "$CLIENT" 2>/dev/null | wc -l; }
before=$(shown)
xdotool mousemove --sync $((X + 40)) $((Y + 20)) click 3
more() { [ "$(shown)" -gt "$before" ]; }
wait_for more || fail "the menu did not open"
xdotool key Escape
fewer() { [ "$(shown)" -eq "$before" ]; }
wait_for fewer || fail "Escape did not close the menu"

echo "PASS: server lists taken over, popular show and site opened, floating window menu"
exit 0
