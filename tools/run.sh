#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Trovik and runs it against the bundled
# sample servers: starts devserver with the sample portal, searches it with the
# vantrel command and prints the results, then stops devserver.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
echo "Trovik is built in build/bin."

# The sample portal on devserver's default port, which build/bin/Config/AutoCfg.cfg names.
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
echo "Sample portal: http://127.0.0.1:18632/"

show="城"
echo
echo "build/bin/vantrel search $show"
json=$(build/bin/vantrel search "$show")
echo "$json"
echo
# A short summary of the same results.
/usr/bin/python3 - "$json" <<'PY' || true
import json, sys
doc = json.loads(sys.argv[1])
print("%d shows found (keyword %s):" % (len(doc["results"]), doc["keyword"]))
for r in doc["results"]:
    sites = ", ".join("%s (%d)" % (s["name"], len(s["links"])) for s in r["sources"]) or "no play sources"
    print("  %s %s %s, %s: %s" % (r["name"], r["category"], r["year"], r["score"], sites))
PY
