#!/usr/bin/env bash
# Fails when any tracked C or C++ file differs from the house style
# (.clang-format); `clang-format -i FILE` mends one.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z -- '*.c' '*.cpp' '*.h' | xargs -0 -r clang-format --dry-run --Werror
echo "format: every C and C++ file is in the house style"
