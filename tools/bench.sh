#!/usr/bin/env bash
# Builds the benchmarks in Release (build/bench) and runs them: the store, the compiler, the text
# calls, the devmode merge and the printer settings, each result with its target beside it.
# Arguments go to moltr_bench, for example --benchmark_filter=Store or --benchmark_repetitions=5.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
if ! grep -q "moltr_bench" build/bench/build.ninja; then
    echo "bench: Google Benchmark is not installed (tools/setup.sh installs libbenchmark-dev)" >&2
    exit 1
fi
cmake --build --preset bench
MOLTR_SPOOL= build/bench/bin/moltr_bench "$@"
