#!/usr/bin/env bash
# Builds the host simulation and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host "$@"
