#!/usr/bin/env bash
# The receiver's package folder as the install makes it: the library, its
# .ibs and .ami side by side, and the .ibs passes the checker with no error
# and no warning.
#   PackageCheck.sh CMAKE BUILD_DIR TESSALUNE
set -euo pipefail
cmake="$1" build="$2" tessalune="$3"
prefix="$build/rx-package-test-$$"
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
for file in libtessalune_rx.so tessalune_rx.ibs tessalune_rx.ami; do
  [[ -f "$prefix/tessalune_rx/$file" ]] || { echo "missing: tessalune_rx/$file" >&2; exit 1; }
done
report="$("$tessalune" check "$prefix/tessalune_rx/tessalune_rx.ibs")"
echo "$report"
grep -q '^Errors  : 0$' <<<"$report" || { echo "the receiver's .ibs must pass with no error" >&2; exit 1; }
if grep -q -E 'WARNING|^Warnings:' <<<"$report"; then
  echo "the receiver's .ibs must pass with no warning" >&2
  exit 1
fi
grep -q 'Executable Linux_gcc_64 libtessalune_rx.so tessalune_rx.ami' "$prefix/tessalune_rx/tessalune_rx.ibs"
