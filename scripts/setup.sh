#!/usr/bin/env bash
# Installs everything Ixo needs on Debian 12. Safe to re-run: packages that are
# already installed are skipped, and apt-get runs only when something is missing.
set -euo pipefail

packages=(
  # build and test
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  # sanitizers and fuzzing
  clang libclang-rt-14-dev
  # the layout check of .ci/run
  clang-format
  # the window: Qt 6 Widgets and Charts, the about page's JPEG, a real display for screenshots
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libjpeg-dev
  fonts-liberation xvfb xauth
  # peak-memory figures in the benchmark scripts
  time
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "setup: all packages present"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "setup: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
