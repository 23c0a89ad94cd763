#!/usr/bin/env bash
# The kit for model makers, used as one outside this tree would use it:
#   bash tests/kit/kit.sh [BUILD_DIR]        (default: build/release, built)
# 1. installs the release build into a temporary prefix; every installed
#    header compiles on its own against that prefix; pkg-config finds the kit;
# 2. `tessalune new-model` writes a transmitter and a receiver into a
#    temporary folder outside the checkout; each configures and builds against
#    the prefix alone, passes its test, exports exactly the three entry points,
#    passes the IBIS checker (NAME_check), passes `tessalune qualify` and runs
#    in `tessalune sim` (the receiver with --rx) to an open eye;
# 3. with the Windows build (build/windows) and Wine: the Windows kit installs
#    alike and the transmitter's DLL cross-builds from it with the toolchain
#    file it ships; its test runs under Wine (tests/windows/windows.sh), and
#    `tessalune qualify` passes it there through the Windows build's probe;
# 4. CPack builds the Debian packages, lintian finds no error in them, and the
#    transmitter builds and passes its test against their unpacked tree.
# Not part of CTest: it installs, packs and builds whole projects.
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir="$(pwd)"
build="$(cd "${1:-build/release}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
start=$(date +%s)
step() { echo "== kit: $* ($(($(date +%s) - start)) s)"; }
# quiet COMMAND...: runs it, showing its output only when it fails.
quiet() {
  "$@" >"$work/quiet.log" 2>&1 || { cat "$work/quiet.log" >&2; echo "failed: $*" >&2; exit 1; }
}

prefix="$work/prefix"
step "install into a temporary prefix"
quiet cmake --build "$build"
quiet cmake --install "$build" --prefix "$prefix"
(cd "$prefix" && find include lib -type f | sort | xargs du -b | awk '{ total += $1; print } END { print total, "bytes in all" }')

step "each installed header compiles alone against the prefix"
find "$prefix/include/tessalune" -name '*.h' | sort | while read -r header; do
  printf '#include "%s"\n' "${header#"$prefix/include/tessalune/"}" >"$work/header.cpp"
  g++ -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I"$prefix/include/tessalune" "$work/header.cpp" ||
    { echo "installed header ${header#"$prefix/"} does not compile alone" >&2; exit 1; }
done

step "pkg-config"
pc_flags="$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs tessalune)"
printf '#include "amiparam/AmiParameters.h"\nint main() { double x = 0; AmiParameters p("(m (x 2.5))"); return p.GetDouble(x, "m.x") && x == 2.5 ? 0 : 1; }\n' >"$work/pc.cpp"
# shellcheck disable=SC2086
g++ -std=c++17 "$work/pc.cpp" -o "$work/pc" $pc_flags && "$work/pc"

step "find_package: the version check"
# probe VERSION: configures a project that asks for the kit at VERSION.
probe() {
  mkdir -p "$work/probe"
  printf 'cmake_minimum_required(VERSION 3.25)\nproject(probe LANGUAGES CXX)\nfind_package(tessalune %s CONFIG REQUIRED)\n' \
    "$1" >"$work/probe/CMakeLists.txt"
  rm -rf "$work/probe/build"
  cmake -S "$work/probe" -B "$work/probe/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null 2>&1
}
kit_version="$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' "$prefix/lib/cmake/tessalune/tessaluneConfigVersion.cmake" | head -n 1)"
probe "${kit_version%.*}" || { echo "find_package(tessalune ${kit_version%.*}) fails" >&2; exit 1; }
! probe 99.0 || { echo "find_package(tessalune 99.0) accepts kit $kit_version" >&2; exit 1; }
echo "kit $kit_version: found for ${kit_version%.*}, refused for 99.0"

tessalune="$prefix/bin/tessalune"
# new_model DIRECTION NAME: writes, builds, tests and checks a model against
# PREFIX_PATH; its build folder is $work/NAME/build.
new_model() {
  local direction="$1" name="$2" prefix_path="$3" project="$work/$2"
  "$tessalune" new-model "$project" --name "$name" --direction "$direction" >/dev/null
  quiet cmake -S "$project" -B "$project/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix_path" \
    -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror"
  quiet cmake --build "$project/build"
  ctest --test-dir "$project/build" --output-on-failure | grep "tests passed"
  cmake --build "$project/build" --target "${name}_check" | grep -E '^(Errors|Warnings)' | tr '\n' ' '
  echo
  if grep -rq "$source_dir" "$project/build/CMakeCache.txt" "$project/build/build.ninja"; then
    echo "$name's build names the source tree" >&2
    exit 1
  fi
  local exports
  exports="$(nm -D --defined-only "$project/build/lib$name.so" | awk '{ print $3 }' | sort | tr '\n' ' ')"
  [ "$exports" = "AMI_Close AMI_GetWave AMI_Init " ] || { echo "$name exports: $exports" >&2; exit 1; }
}

# qualified NAME [ARGS...]: `tessalune qualify` on the model's library, its
# .ami and .ibs: every check passes or does not apply.
qualified() {
  local name="$1" build="$work/$1/build"
  shift
  "$tessalune" qualify "$build/lib$name.so" --ami "$build/$name.ami" --ibs "$build/$name.ibs" "$@" |
    tee "$work/qualify.txt" | tail -n 1
  ! grep -E '^(FAIL|WARN) ' "$work/qualify.txt" >&2 || { echo "$name does not qualify" >&2; exit 1; }
}

# open_eye OUTPUT: the eye height `tessalune sim` reports must be above 100 mV.
open_eye() {
  echo "$1" | grep -E '^(eye|flow) '
  echo "$1" | awk '/^eye / { found = 1; if ($3 + 0 > 100) open = 1 } END { exit !(found && open) }' ||
    { echo "the eye is not open" >&2; echo "$1" >&2; exit 1; }
}

step "new-model tx: build, test, check, sim"
new_model tx kittx "$prefix"
qualified kittx
open_eye "$("$tessalune" sim --model "$work/kittx/build/libkittx.so" --ami "$work/kittx/build/kittx.ami")"

step "new-model rx: build, test, check, sim --rx"
new_model rx kitrx "$prefix"
qualified kitrx
open_eye "$("$tessalune" sim --rx "$work/kitrx/build/libkitrx.so" --rx-ami "$work/kitrx/build/kitrx.ami" \
  --channel-loss 10)"

windows_build="$source_dir/build/windows"
if [ -f "$windows_build/CMakeCache.txt" ] && command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  step "Windows kit and a model's DLL cross-built from it, its test under Wine"
  quiet cmake --install "$windows_build" --prefix "$work/windows"
  kit_dir="$work/windows/lib/cmake/tessalune"
  quiet cmake -S "$work/kittx" -B "$work/kittx/build-windows" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$kit_dir/mingw-w64-x86_64.cmake" -Dtessalune_DIR="$kit_dir"
  quiet cmake --build "$work/kittx/build-windows"
  bash tests/windows/windows.sh exports "$work/kittx/build-windows/kittx.dll"
  bash tests/windows/windows.sh imports "$work/kittx/build-windows/kittx.dll"
  bash tests/windows/windows.sh run "$work/kittx/build-windows/kittx_test.exe" \
    "Z:${work//\//\\}\\kittx\\build-windows\\kittx.dll"
  bash tests/windows/windows.sh qualify "$tessalune" "$windows_build/tools/probe/tessalune-probe.exe" pass \
    "$work/kittx/build-windows/kittx.dll" "$work/kittx/build/kittx.ami" | tail -n 2
elif [ "${TESSALUNE_REQUIRE_WINDOWS:-0}" = 1 ]; then
  echo "FAILED: the Windows build (cmake --workflow --preset windows) or MinGW-w64 is missing" >&2
  exit 1
else
  step "skipped Windows: no build/windows or MinGW-w64"
fi

step "Debian packages, lintian, a model built against the unpacked tree"
(cd "$build" && quiet cpack -G DEB -B "$work/deb")
rm -rf "$work/deb/_CPack_Packages"
ls -l "$work"/deb/*.deb | awk '{ print $5, $NF }'
for deb in "$work"/deb/*.deb; do dpkg-deb -I "$deb" | grep -E '^ (Package|Version|Depends|Section):'; done
lintian_report="$(lintian --tag-display-limit 0 "$work"/deb/*.deb 2>&1 || true)"
echo "${lintian_report:-lintian: no tag}"
if grep -q '^E:' <<<"$lintian_report"; then
  echo "lintian found errors" >&2
  exit 1
fi
mkdir -p "$work/root"
for deb in "$work"/deb/*.deb; do dpkg-deb -x "$deb" "$work/root"; done
tessalune="$work/root/usr/bin/tessalune"
# The program finds the packaged transmitter under lib/tessalune/ by default.
default_model="$("$tessalune" sim --bits 200 | sed -n 's/^model  *//p')"
echo "default model: ${default_model#"$work/root"}"
[ "$default_model" = "$work/root/usr/bin/../lib/tessalune/tessalune_tx/libtessalune_tx.so" ] ||
  { echo "the unpacked program does not find its packaged model" >&2; exit 1; }
[ "$(stat -c %a "$default_model")" = 644 ] || { echo "the packaged model library is executable" >&2; exit 1; }
rm -rf "$work/kittx"
new_model tx kittx "$work/root/usr"
step "done"
