#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Ixo and starts it. Without a display the
# window cannot open, so the engine runs on a bundled example instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [ -x build/bin/ixo ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec build/bin/ixo
fi
echo "ixo: the window needs a display; running the engine on examples/normal.txt instead."
cd build/bin
exec ./ixo_engine ../../examples/normal.txt
