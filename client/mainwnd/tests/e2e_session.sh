# Sourced by the main window's end-to-end scripts, inside their private X server: a
# private home, the loopback devserver on a free port, a private installation folder
# pointing at it, and the real client started from there.
#
# Expects WORK (the test's temporary folder) and BIN (the build's bin folder). Sets
# PORT, INSTALL, DEVSERVER and CLIENT; both processes are ended when the script exits.
# TROVIK_OPEN_URL_LOG records the URLs the client opens; no browser starts.

DEADLINE_S=30
fail() {
    echo "FAIL: $*"
    echo "--- client log"; grep -v "^file=\|^/" "$WORK/trovik.log" 2>/dev/null | tail -20
    exit 1
}
# Polls a command until it succeeds or the deadline passes.
wait_for() {
    local end=$((SECONDS + DEADLINE_S))
    until "$@"; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.1
    done
}

# Private folders for everything the client writes.
export HOME=$WORK/home XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config
export XDG_RUNTIME_DIR=$WORK/runtime TMPDIR=$WORK/tmp
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset VANTREL_SEARCH_HOST QT_QPA_PLATFORM

# The sample portal, update and statistics servers on a free port.
"$BIN/devserver" --port 0 --log "$WORK/requests.log" >"$WORK/devserver.out" 2>&1 &
DEVSERVER=$!
CLIENT=
cleanup() {
    [ -n "$CLIENT" ] && kill "$CLIENT" 2>/dev/null
    kill "$DEVSERVER" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
wait_for grep -q '^port [0-9]' "$WORK/devserver.out" || fail "devserver did not start"
PORT=$(sed -n 's/^port \([0-9]*\).*/\1/p' "$WORK/devserver.out" | head -1)

# A private installation folder (trovik, the engine, the skin, the default lists) whose
# AutoCfg.cfg points every host at the devserver, so the engine is bound from the
# executable's own folder and reads the portal's address from there.
INSTALL=$WORK/install
mkdir -p "$INSTALL/Skin" "$INSTALL/Config"
cp "$BIN/trovik" "$BIN/libvantrel.so" "$INSTALL/"
cp "$BIN/Skin/SkinRes.zip" "$INSTALL/Skin/"
cp "$BIN"/Config/*.cfg "$INSTALL/Config/"
printf '[Portal]\r\nSearchHost=127.0.0.1:%s\r\nTvHost=127.0.0.1:%s\r\nVideoHost=127.0.0.1:%s\r\n[UpdateServer]\r\nHost=http://127.0.0.1:%s/update\r\nAppName=Trovik\r\nChannel=stable\r\n[Stat]\r\nHost=127.0.0.1:%s\r\n' \
    "$PORT" "$PORT" "$PORT" "$PORT" "$PORT" >"$INSTALL/Config/AutoCfg.cfg"

export TROVIK_OPEN_URL_LOG=$WORK/opened-urls.log TROVIK_DEBUG=1
"$INSTALL/trovik" /noupdate >"$WORK/trovik.log" 2>&1 &
CLIENT=$!
