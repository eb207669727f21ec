#!/usr/bin/env bash
# Installs every Debian package Trovik needs to build, test and run.
# Idempotent: packages already present are left alone. As root it runs
# apt-get itself; otherwise it prints the command to run and fails.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config git
  libcurl4-openssl-dev libhtmlcxx-dev libjsoncpp-dev
  qt6-base-dev libqt6svg6 libxcb1-dev libzip-dev libpugixml-dev libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  zip xvfb xauth xdotool x11-utils x11-xserver-utils fonts-wqy-zenhei
  clang libclang-rt-14-dev python3-pil
  xdg-utils pkexec
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

cmd=(apt-get install -y --no-install-recommends "${missing[@]}")
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root:  apt-get update && ${cmd[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
"${cmd[@]}"
