#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the tools and the fuzz
# targets need, when any of them is missing.
#   bash scripts/deps.sh           the Linux build and its tests
#   bash scripts/deps.sh windows   the Windows DLL's cross toolchain and Wine,
#                                  which runs its tests (CI, scripts/package.sh)
set -euo pipefail

packages=(
  g++ libtsan2 cmake ninja-build pkg-config binutils
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libcairo2-dev libfontconfig-dev fonts-dejavu-core
  clang libclang-rt-14-dev clang-format
  libfftw3-dev python3-scikit-rf
)
apt_options=()
if [ "${1:-}" = windows ]; then
  # Wine's recommended packages (fonts, sound, a graphics stack) serve
  # console programs nothing.
  packages=(g++-mingw-w64-x86-64-posix wine64)
  apt_options=(--no-install-recommends)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${apt_options[@]}" "${missing[@]}"
fi
