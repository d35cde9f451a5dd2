#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds what it starts and starts it: the window
# (with the engine and ixo_cli beside it) where there is a display, otherwise the engine
# alone on a bundled example, since the window cannot open.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  bash scripts/build.sh ixo ixo_engine ixo_cli
  exec build/bin/ixo
fi
bash scripts/build.sh ixo_engine
echo "ixo: the window needs a display; running the engine on examples/normal.txt instead."
cd build/bin
exec ./ixo_engine ../../examples/normal.txt
