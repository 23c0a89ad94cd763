#!/usr/bin/env bash
# The main job, from a fresh clone: installs what running needs and is
# missing, builds the model and the tools (Release), then simulates the model with its default
# parameters as a channel simulator's GetWave host would and draws the eye
# into out/eye.png. Extra arguments go to `tessalune sim`, for example:
#   bash scripts/run.sh --param emphasis=3 --bits 20000
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
# Only the model and the tools: the tests and benchmarks (and the packages
# they need) are scripts/test.sh's.
cmake --preset release -DTESSALUNE_TESTS=OFF -DTESSALUNE_BENCH=OFF >/dev/null
cmake --build --preset release --target tessalune tessalune_tx
mkdir -p out
build/release/tools/tessalune sim --eye out/eye.png "$@"
