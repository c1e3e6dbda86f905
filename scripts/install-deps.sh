#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Kelvane need
# (clang 14 with its sanitizer and libFuzzer runtimes and the LLVM symbolizer
# for make test-asan and make fuzz), and the Debian tools that make package and
# its test use, and numpy for bench/cli_vs_numpy.sh.
# Checks first: packages already present are left alone, and apt-get update runs
# only when something is missing, so a second run takes about a second.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  qt6-base-dev qt6-charts-dev qt6-svg-dev qt6-translations-l10n libqt6opengl6-dev libgl-dev libxkbcommon-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev libeigen3-dev
  xvfb xauth x11-apps imagemagick fonts-dejavu-core fonts-dejavu-extra locales
  cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils
  clang-format
  dpkg-dev file binutils gzip lintian appstream man-db desktop-file-utils xdotool
  clang-14 libclang-rt-14-dev llvm-14 llvm
  python3-numpy
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages (run as root to install): ${missing[*]}" >&2
    exit 1
  fi
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The number-text tests switch the process to these locales.
need_locales=()
for l in de_DE fr_FR; do
  locale -a 2>/dev/null | grep -qi "^${l}\.utf-\?8$" || need_locales+=("$l")
done
if ((${#need_locales[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: locales missing (run as root): ${need_locales[*]}" >&2
    exit 1
  fi
  for l in "${need_locales[@]}"; do
    sed -i "s/^# *\(${l}\.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^${l}\.UTF-8 UTF-8" /etc/locale.gen || echo "${l}.UTF-8 UTF-8" >>/etc/locale.gen
  done
  locale-gen >/dev/null
fi
