#!/usr/bin/env bash
# Installs everything Ixo needs on Debian 12, and a locale with a decimal comma
# (de_DE.UTF-8) for the tests that read numbers under one. Safe to re-run:
# what is present is skipped, and nothing runs as root unless something is missing.
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
  # the R package: its build, its tests, and tseries for the comparison and the benchmark
  r-base-dev r-cran-rcpp r-cran-testthat r-cran-tseries
  # the size-and-power study (bench/size_power.py, run with /usr/bin/python3;
  # numpy and matplotlib come with the Python package's list)
  python3
  # peak-memory figures in the benchmark scripts
  time
  # the Python package: the extension's build, numpy, its tests, the README's
  # install into a virtual environment, and the optional frames, plots and
  # the benchmark against statsmodels
  python3-dev pybind11-dev python3-numpy python3-pytest
  python3-venv python3-pip python3-setuptools python3-wheel
  python3-pandas python3-matplotlib python3-statsmodels
  # the comma locale below
  locales
)
comma_locale="de_DE.UTF-8"

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# locale -a spells the locale's code set its own way: de_DE.utf8.
need_locale=false
if ! locale -a 2>/dev/null | grep -qix "de_DE\.utf-\?8"; then need_locale=true; fi

if ((${#missing[@]} == 0)) && ! $need_locale; then
  echo "setup: all packages present"
  exit 0
fi

wanted="${missing[*]}"
if $need_locale; then wanted="${wanted:+$wanted and }the locale $comma_locale"; fi
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    {
      echo "setup: missing: $wanted."
      echo "setup: installing it needs root, and sudo is not installed. Either run this"
      echo "  script as root (su -c 'bash scripts/setup.sh'), or install sudo as root"
      echo "  (apt-get install sudo; adduser $(id -un) sudo; then log in again) and"
      echo "  run it again."
    } >&2
    exit 1
  fi
  as_root=(sudo)
fi

if ((${#missing[@]} > 0)); then
  echo "setup: installing ${missing[*]}"
  "${as_root[@]}" apt-get update -q
  # Through env, since sudo does not pass the caller's environment on.
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    --no-install-recommends "${missing[@]}"
fi
if $need_locale; then
  # Enabled in /etc/locale.gen, so that a later locale-gen keeps it.
  echo "setup: generating the locale $comma_locale"
  if grep -q "^# *$comma_locale UTF-8" /etc/locale.gen 2>/dev/null; then
    "${as_root[@]}" sed -i "s/^# *\($comma_locale UTF-8\)/\1/" /etc/locale.gen
  elif ! grep -q "^$comma_locale UTF-8" /etc/locale.gen 2>/dev/null; then
    echo "$comma_locale UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${as_root[@]}" locale-gen >/dev/null
fi
