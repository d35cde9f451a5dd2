#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds Ixo and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh -DIXO_WERROR=ON
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --parallel "$(nproc)"
