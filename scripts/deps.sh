#!/usr/bin/env bash
# Installs the Debian packages that are missing, in one of three sets:
#   bash scripts/deps.sh run       building the model and the tools and running
#                                  them (scripts/run.sh): compiler, CMake,
#                                  Ninja, CLI11, nlohmann-json, Cairo, FFTW, fonts
#   bash scripts/deps.sh           the run set, plus what the tests, benchmarks,
#                                  sanitizer builds and fuzz targets need (with a
#                                  single-node Slurm and GNU parallel for the
#                                  cluster tests, tests/cluster/, lintian for
#                                  the Debian packages, tests/kit/, and Chromium,
#                                  which opens the page of `tessalune qualify`)
#   bash scripts/deps.sh windows   the Windows DLL's cross toolchain and Wine,
#                                  which runs its tests (CI, scripts/package.sh)
set -euo pipefail

run_packages=(
  g++ cmake ninja-build pkg-config binutils
  libcli11-dev nlohmann-json3-dev libcairo2-dev libfontconfig-dev fonts-dejavu-core
  libfftw3-dev
)
test_packages=(
  libtsan2 libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  python3-scikit-rf
  slurmctld slurmd slurm-client munge parallel
  lintian
  chromium
)
packages=("${run_packages[@]}" "${test_packages[@]}")
apt_options=()
if [ "${1:-}" = run ]; then
  packages=("${run_packages[@]}")
elif [ "${1:-}" = windows ]; then
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
