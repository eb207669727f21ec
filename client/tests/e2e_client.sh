#!/bin/bash
# End-to-end checks of the real `trovik` on a private X server (Xvfb) with a private
# home: a second start leaves one client and brings its window up; "/RUNASHIDE" starts
# hidden and a second start shows the window.
#
#   e2e_client.sh <path of trovik> second-start|start-hidden
#
# Exits 77 (skipped) when xvfb-run is missing. Every process it started is ended at
# the end, also on failure.
set -u

trovik=$1
case_name=$2

if [ "${E2E_INSIDE_XVFB:-}" != 1 ]; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run is missing: skipped"; exit 77; }
    command -v xdotool >/dev/null 2>&1 || { echo "xdotool is missing: skipped"; exit 77; }
    E2E_INSIDE_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" \
        bash "$0" "$trovik" "$case_name"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/trovik-e2e.XXXXXX")
mkdir -p "$work/home" "$work/data" "$work/config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config \
    XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp TROVIK_OPEN_URL_LOG=$work/urls.log
unset QT_QPA_PLATFORM  # the real X server of xvfb-run

pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${pids[@]}"; do
        timeout 10 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

# Polls a command until it succeeds or the deadline (seconds) passes.
wait_for() {
    local deadline=$(($(date +%s) + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s)" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

visible_window() { xdotool search --onlyvisible --name '^Trovik$'; }
registered() { [ -n "$(find "$XDG_RUNTIME_DIR" -type s 2>/dev/null)" ]; }
alive() { kill -0 "$1" 2>/dev/null; }
# The client's main thread waits in poll/ppoll: its message loop runs and has handled
# everything pending, so a window it was going to show would be shown by now.
idle_in_loop() {
    local call
    read -r call _ <"/proc/$1/syscall" 2>/dev/null || return 1
    [ "$call" = 7 ] || [ "$call" = 271 ]
}

# Starts a second client and checks that it ends by itself with 0.
second_start() {
    "$trovik" &
    local second=$!
    pids+=("$second")
    wait_for 20 bash -c "! kill -0 $second 2>/dev/null" || fail "the second start did not end"
    wait "$second"
    local code=$?
    [ "$code" -eq 0 ] || fail "the second start ended with $code"
}

case "$case_name" in
    second-start)
        "$trovik" &
        first=$!
        pids+=("$first")
        wait_for 30 visible_window || fail "no visible main window"
        wait_for 10 registered || fail "the main window is not registered"
        second_start
        alive "$first" || fail "the first client is gone"
        visible_window >/dev/null || fail "the first window is no longer visible"
        [ "$(visible_window | wc -l)" -eq 1 ] || fail "more than one main window"
        ;;
    start-hidden)
        "$trovik" /RUNASHIDE &
        first=$!
        pids+=("$first")
        wait_for 30 registered || fail "the hidden client did not come up"
        wait_for 30 idle_in_loop "$first" || fail "the hidden client's loop never went idle"
        alive "$first" || fail "the hidden client ended"
        ! visible_window >/dev/null || fail "the main window is visible despite /RUNASHIDE"
        second_start
        wait_for 20 visible_window || fail "the second start did not show the hidden window"
        alive "$first" || fail "the first client is gone"
        ;;
    *)
        fail "unknown case $case_name"
        ;;
esac
echo "PASS: $case_name"
