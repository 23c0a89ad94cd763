#!/usr/bin/env bash
# The model package for Linux and Windows: builds the Linux library and the
# tools (Release) and the Windows DLL (MinGW-w64 cross build), installs both
# into one folder, checks its IBIS file (no error, no warning) and zips the
# model's folder for a simulator:
#   bash scripts/package.sh [DIR]        (default: out/package)
#   DIR/tessalune_tx/libtessalune_tx.so  DIR/tessalune_tx/tessalune_tx.dll
#   DIR/tessalune_tx/tessalune_tx.ibs    DIR/tessalune_tx/tessalune_tx.ami
#   DIR/bin/tessalune                    DIR/tessalune_tx.zip (the model folder)
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-out/package}"
bash scripts/deps.sh
bash scripts/deps.sh windows
cmake --preset release >/dev/null
cmake --build --preset release --target tessalune tessalune_tx
cmake --workflow --preset windows >/dev/null

rm -rf "$dir"
cmake --install build/release --prefix "$dir"
cmake --install build/windows --prefix "$dir"
report="$(build/release/tools/tessalune check "$dir/tessalune_tx/tessalune_tx.ibs")" || {
  echo "$report"
  exit 1
}
echo "$report" | tail -n 3
if ! grep -q '^Errors  : 0$' <<<"$report" || grep -q -E 'WARNING|^Warnings:' <<<"$report"; then
  echo "the package's IBIS file must pass with no error and no warning" >&2
  exit 1
fi
(cd "$dir" && cmake -E tar cf tessalune_tx.zip --format=zip tessalune_tx)
echo "package: $dir/tessalune_tx ($(ls "$dir/tessalune_tx" | tr '\n' ' ')) and $dir/tessalune_tx.zip"
