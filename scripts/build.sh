#!/usr/bin/env bash
# Configures Ixo in build/ (Release, Ninja, warnings as errors) and builds the
# given targets, or all of them when none is given. run.sh and test.sh both
# build here with these same flags, so one never rebuilds what the other built.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DIXO_WERROR=ON >/dev/null
if (($# > 0)); then
  cmake --build build --parallel "$(nproc)" --target "$@"
else
  cmake --build build --parallel "$(nproc)"
fi
