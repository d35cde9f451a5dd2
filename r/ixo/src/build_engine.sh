# Builds the engine library's archives the package links, with the project's
# own CMake: build_engine.sh ROOT BUILD TARGET...
# A build folder that exists is reused as it is configured; a new one is
# configured for the libraries alone (no window, tests or benchmarks).
set -eu
root=$1
build=$2
shift 2
if [ ! -f "$root/engine/CMakeLists.txt" ]; then
  echo "ixo: the package builds from a clone of Ixo (its engine sources in $root/engine" >&2
  echo "  were not found); install it with R CMD INSTALL r/ixo from the clone's top folder," >&2
  echo "  or set IXO_ROOT to the clone." >&2
  exit 1
fi
for tool in cmake; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "ixo: $tool is needed to build the engine library (bash scripts/setup.sh installs it)" >&2
    exit 1
  fi
done
if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=
  if command -v ninja >/dev/null 2>&1; then generator="-G Ninja"; fi
  launcher=
  if command -v ccache >/dev/null 2>&1; then launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
  # shellcheck disable=SC2086
  cmake -S "$root" -B "$build" $generator $launcher -DCMAKE_BUILD_TYPE=Release \
    -DIXO_BUILD_UI=OFF -DIXO_BUILD_TESTS=OFF -DIXO_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --parallel "${IXO_BUILD_JOBS:-2}" --target "$@"
