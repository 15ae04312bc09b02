#!/usr/bin/env bash
# Builds the fuzzers and runs each for a fixed time (seconds, default 20) on its seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
status=0
for fuzzer in build/fuzz/bin/*_fuzz; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus="tests/fuzz/corpus/$name"
    work=$(mktemp -d)
    [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
    echo "fuzz: $name for ${seconds}s"
    if ! MOLTR_SPOOL= "$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=0 "$work" > "build/fuzz/$name.log" 2>&1; then
        echo "fuzz: $name found a fault:"
        tail -40 "build/fuzz/$name.log"
        status=1
    fi
    rm -rf "$work"
done
exit $status
