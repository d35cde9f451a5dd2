#!/usr/bin/env bash
# Installs the R package ixo from this clone into your own R library (R's
# R_LIBS_USER, made when missing), or into the library given as the first
# argument. The engine library it links is built by CMake in build-r/.
# Needs what scripts/setup.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
library=${1:-$(/usr/bin/Rscript -e 'cat(path.expand(Sys.getenv("R_LIBS_USER")))')}
mkdir -p "$library"
R CMD INSTALL --preclean --library="$library" r/ixo
echo "install_r: ixo is in $library; in R: library(ixo)"
