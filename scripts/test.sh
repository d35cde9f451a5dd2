#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Ixo and runs the whole test suite. The
# window tests draw offscreen by themselves (CTest gives them QT_QPA_PLATFORM).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
