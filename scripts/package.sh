#!/usr/bin/env bash
# The model packages for Linux and Windows: builds the Linux libraries and the
# tools (Release) and the Windows DLLs (MinGW-w64 cross build), installs both
# into one folder, checks each model's IBIS file (no error, no warning) and
# zips each model's folder for a simulator:
#   bash scripts/package.sh [DIR]        (default: out/package)
#   DIR/tessalune_tx/libtessalune_tx.so  DIR/tessalune_tx/tessalune_tx.dll
#   DIR/tessalune_tx/tessalune_tx.ibs    DIR/tessalune_tx/tessalune_tx.ami
#   DIR/tessalune_rx/...                 (the reference receiver, alike)
#   DIR/bin/tessalune                    DIR/tessalune_tx.zip, DIR/tessalune_rx.zip
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-out/package}"
models=(tessalune_tx tessalune_rx)
bash scripts/deps.sh
bash scripts/deps.sh windows
cmake --preset release >/dev/null
cmake --build --preset release --target tessalune "${models[@]}"
cmake --workflow --preset windows >/dev/null

rm -rf "$dir"
# The model packages and the program only; the kit for model makers is the
# other install component (dev).
cmake --install build/release --prefix "$dir" --component runtime
cmake --install build/windows --prefix "$dir" --component runtime
for model in "${models[@]}"; do
  report="$(build/release/tools/tessalune check "$dir/$model/$model.ibs")" || {
    echo "$report"
    exit 1
  }
  echo "$report" | tail -n 3
  if ! grep -q '^Errors  : 0$' <<<"$report" || grep -q -E 'WARNING|^Warnings:' <<<"$report"; then
    echo "the package's IBIS file $model.ibs must pass with no error and no warning" >&2
    exit 1
  fi
  (cd "$dir" && cmake -E tar cf "$model.zip" --format=zip "$model")
  echo "package: $dir/$model ($(ls "$dir/$model" | tr '\n' ' ')) and $dir/$model.zip"
done
