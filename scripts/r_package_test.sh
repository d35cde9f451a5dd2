#!/usr/bin/env bash
# Installs the R package from r/ixo into BUILD/r-lib, linked against BUILD's
# engine archives, and runs its testthat suite: r_package_test.sh BUILD.
# IXO_CLI (default BUILD/bin/ixo_cli) is the program the results are held against.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: r_package_test.sh BUILD}" && pwd)
library="$build/r-lib"
mkdir -p "$library"
# The package's own few files through ccache too, where it is there, two at a time.
if command -v ccache >/dev/null 2>&1; then
  echo "CXX20 = ccache $(R CMD config CXX20)" >"$build/r-makevars"
  export R_MAKEVARS_USER="$build/r-makevars"
fi
export MAKEFLAGS="${MAKEFLAGS:--j2}"
IXO_ROOT="$root" IXO_BUILD="$build" R CMD INSTALL --preclean --no-multiarch \
  --library="$library" "$root/r/ixo" >"$build/r-install.log" 2>&1 || {
  cat "$build/r-install.log" >&2
  echo "r_package_test: R CMD INSTALL failed (the log above is in $build/r-install.log)" >&2
  exit 1
}
export IXO_CLI="${IXO_CLI:-$build/bin/ixo_cli}" IXO_EXAMPLES="$root/examples"
export R_LIBS="$library${R_LIBS:+:$R_LIBS}"
/usr/bin/Rscript -e 'testthat::test_dir(commandArgs(TRUE)[1], package = "ixo",
  load_package = "installed", stop_on_failure = TRUE, reporter = "summary")' \
  "$root/r/ixo/tests/testthat"
