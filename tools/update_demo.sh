#!/usr/bin/env bash
# Shows a whole update on a private copy of the installation:
#   1. installs the build into a private prefix (cmake --install) and points its
#      AutoCfg.cfg at a devserver on a free loopback port, channel "demo" (one build
#      newer than this one, see tools/devserver/make_update_tree.py), which the build
#      has signed with its sample key; the installation carries that public key as
#      Config/UpdateKey.pub, so the updater takes the update only with valid signatures;
#   2. starts the client from there with private XDG folders; the client starts its
#      updater, which finds the newer version, downloads the changed files and asks
#      "【Trovik】已经升级完成 … 是否现在更新?" (answer 是/Yes);
#   3. the updater ends the client, installs the files and starts the client again.
# It prints what it sees at each step and cleans up at the end (the build and your own
# settings are never touched).
#
#   tools/update_demo.sh [--build DIR] [--immediate] [--check] [--keep]
#     --build DIR   the build folder (default: build)
#     --immediate   install without the question ("ImmediateUpdate"=1)
#     --check       no person: implies --immediate, exits 1 unless every step happened
#                   (the end-to-end test runs this under xvfb-run)
#     --keep        leave the private folders for a look afterwards
# Without a display it runs itself on a virtual one (xvfb-run); exit 77 when there is none.
set -u
cd "$(dirname "$0")/.."

build=build
immediate=0
check=0
keep=0
args=("$@")
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --immediate) immediate=1; shift ;;
        --check) check=1; immediate=1; shift ;;
        --keep) keep=1; shift ;;
        *) echo "usage: $0 [--build DIR] [--immediate] [--check] [--keep]" >&2; exit 2 ;;
    esac
done
build=$(cd "$build" 2>/dev/null && pwd) || { echo "no build folder: run cmake --build build first" >&2; exit 2; }

# The check always runs on a private virtual display; so does a demo without a display.
if [ "${TROVIK_DEMO_XVFB:-}" != 1 ] &&
    { [ "$check" = 1 ] || { [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; }; }; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "no display and no xvfb-run: skipped"; exit 77; }
    if [ "$check" = 0 ]; then
        echo "No display: running on a virtual X display (xvfb-run); nobody can answer the"
        echo "question there, so the update installs without asking."
    fi
    TROVIK_DEMO_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" \
        "$0" "${args[@]}" --immediate
fi

work=$(cd "$(mktemp -d "${TMPDIR:-/tmp}/trovik-update-demo.XXXXXX")" && pwd -P)
prefix=$work/prefix
app=$prefix/lib/trovik
mkdir -p "$work/data" "$work/config" "$work/runtime" "$work/tmp"
chmod 700 "$work/runtime"
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime \
    TMPDIR=$work/tmp TROVIK_OPEN_URL_LOG=$work/opened-urls.log
unset QT_QPA_PLATFORM

# The processes running the program file $1 (by /proc/<pid>/exe), one id a line.
pids_of() {
    local exe pid
    for exe in /proc/[0-9]*/exe; do
        [ "$(readlink "$exe" 2>/dev/null)" = "$1" ] || continue
        pid=${exe#/proc/}
        echo "${pid%/exe}"
    done
}
running() { [ -n "$(pids_of "$1")" ]; }

server=""
cleanup() {
    for pid in $(pids_of "$app/trovik") $(pids_of "$app/morvane") $server; do
        kill "$pid" 2>/dev/null
        timeout 10 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null
    done
    if [ "$keep" = 1 ]; then echo "Kept: $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }
wait_for() {  # seconds, command...
    local deadline=$(($(date +%s) + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ "$(date +%s)" -ge "$deadline" ] && return 1
        sleep 0.2
    done
}

echo "== 1. A private installation: cmake --install $build --prefix $prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "install"; }
"$build/bin/devserver" --port 0 --log "$work/requests.log" >"$work/devserver.out" 2>&1 &
server=$!
wait_for 20 grep -q '^port ' "$work/devserver.out" || fail "devserver did not come up"
port=$(sed -n 's/^port //p' "$work/devserver.out")
sed -i -e "s/127\.0\.0\.1:18632/127.0.0.1:$port/g" -e 's/^Channel=.*/Channel=demo/' "$app/Config/AutoCfg.cfg"
# devserver's channels are signed with the build's sample key (a build given a
# publisher key installs that one instead: the demo uses the sample key's public half).
cp "$build/update-key/UpdateKey.pub" "$app/Config/UpdateKey.pub" || fail "the build has no sample update key"
echo "   signed updates: the installation holds Config/UpdateKey.pub"
echo "   update server: http://127.0.0.1:$port/update/Trovik/demo/ (version $(cat tools/devserver/site/update/Trovik/demo/Version.txt))"
echo "   installed files:"; (cd "$app" && find . -type f | sort | sed 's/^/     /')
if [ "$immediate" = 1 ]; then
    mkdir -p "$XDG_DATA_HOME/Trovik/Config"
    printf '[Local]\r\nImmediateUpdate=1\r\n' >"$XDG_DATA_HOME/Trovik/Config/Config.cfg"
fi

echo "== 2. The client starts and hands over to its updater"
"$app/trovik" &
first=$!
# A fast update may be over before a poll sees the updater run: its request for
# Version.txt shows it started as well.
updater_started() { running "$app/morvane" || grep -q Version.txt "$work/requests.log"; }
wait_for 30 updater_started || fail "the updater did not start"
echo "   client $first running; the updater checks, downloads and $( [ "$immediate" = 1 ] && echo installs at once || echo asks: answer 是/Yes)"

echo "== 3. The update: the client is ended, the files appear, the client comes back"
wait_for 300 bash -c "! kill -0 $first 2>/dev/null" || fail "the client was not ended"
echo "   client $first ended"
wait_for 60 test -f "$app/Skin/readme.txt" || fail "the new files did not appear"
wait_for 30 running "$app/trovik" || fail "the client did not come back"
second=$(pids_of "$app/trovik" | head -1)
ver=$(sed -n 's/^Ver=\([0-9]*\).*/\1/p' "$XDG_DATA_HOME/Trovik/Config/Config.cfg")
echo "   client $second running again; \"Ver\" = $ver"
echo "   new and changed files:"
for f in Config/ReleaseNotes.txt Skin/readme.txt; do
    cmp -s "$app/$f" "tools/devserver/site/update/Trovik/demo/$f" || fail "$f differs from the server's"
    echo "     $f"
done
[ "$ver" = "$(cat tools/devserver/site/update/Trovik/demo/Version.txt)" ] || fail "Ver is $ver"
wait_for 30 bash -c "! test -e '$XDG_DATA_HOME/Trovik/UpdateDir'" || fail "the staging folder is still there"
grep -q ' /update/Trovik/demo/Skin/readme.txt' "$work/requests.log" || fail "no download seen"
for sig in Version.txt.sig Update.txt.sig; do
    grep -q "GET /update/Trovik/demo/$sig" "$work/requests.log" || fail "$sig was not checked"
done
echo "   both signatures were fetched and verified"
echo "PASS: the whole update happened"
if [ "$check" = 0 ] && [ "$keep" = 0 ]; then
    echo "The updated client keeps running until you quit it (its quit button)."
    wait "$first" 2>/dev/null
    while running "$app/trovik"; do sleep 1; done
fi
