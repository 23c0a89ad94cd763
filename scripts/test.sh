#!/usr/bin/env bash
# Installs what is missing, then configures, builds and runs every test (Release).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --workflow --preset release
