#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Trovik and runs it against the bundled
# sample servers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2
echo "Trovik is built in build/bin."
