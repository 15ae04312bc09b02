#!/usr/bin/env bash
# Sets a fresh machine up, builds the host simulation and runs the main job on the sample printer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset host >/dev/null
cmake --build --preset host
export MOLTR_SPOOL="${MOLTR_SPOOL:-$PWD/build/host/machine}"
build/host/bin/moltr --help
build/host/bin/moltr machine
build/host/bin/moltr compile samples/MOLTR4KC.GPD
