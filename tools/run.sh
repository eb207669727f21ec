#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Trovik and runs it against the bundled sample
# servers: starts devserver (the sample portal, update server and statistics server on
# 127.0.0.1:18632, which build/bin/Config/AutoCfg.cfg names), then starts the client.
# Without a display it says so, shows the same search through the engine's command
# and explains how to run the client on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
echo "Trovik is built in build/bin."

port_file=$(mktemp)
build/bin/devserver >"$port_file" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -f "$port_file"' EXIT
for _ in $(seq 1 100); do
  grep -q '^port ' "$port_file" && break
  if ! kill -0 "$server" 2>/dev/null; then
    cat "$port_file" >&2
    echo "devserver could not start: is port 18632 taken? Stop what uses it and run again." >&2
    exit 1
  fi
  sleep 0.1
done
grep -q '^port ' "$port_file" || { echo "devserver did not come up" >&2; exit 1; }
echo "Sample servers (portal, updates, statistics): http://127.0.0.1:18632/"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  cat <<'MSG'

No display found (neither DISPLAY nor WAYLAND_DISPLAY is set), so the client's window
cannot be shown here. On a desktop, run ./tools/run.sh from a terminal of the session.
On a machine without one, run the client on a virtual X display:

    xvfb-run -a ./tools/run.sh

(the window then exists on the virtual display only; tools/test.sh drives it there).
Meanwhile, the same search the client makes, through the engine's command:
MSG
  show="城"
  echo
  echo "build/bin/vantrel search $show"
  json=$(build/bin/vantrel search "$show")
  /usr/bin/python3 - "$json" <<'PY' || echo "$json"
import json, sys
doc = json.loads(sys.argv[1])
print("%d shows found (keyword %s):" % (len(doc["results"]), doc["keyword"]))
for r in doc["results"]:
    sites = ", ".join("%s (%d)" % (s["name"], len(s["links"])) for s in r["sources"]) or "no play sources"
    print("  %s %s %s, %s: %s" % (r["name"], r["category"], r["year"], r["score"], sites))
PY
  exit 0
fi

cat <<'MSG'

Starting the client. Type a show's name into the search box and press Enter, for
example 城, 长, 月 or 全部. The popular shows and sites are fetched from the sample
update server at every start. Closing the window hides it in the tray (without a tray
it is minimised; the floating window in the top-right corner brings it back); quit
with the quit button at the top right or the menu's 退出. The sample servers stop when
the client ends.
MSG
status=0
build/bin/trovik "$@" || status=$?
exit "$status"
