#!/usr/bin/env bash
# Builds the fuzzers and runs each for a fixed time (seconds, default 20) on its seed corpus, then
# prints each fuzzer's executions per second.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
# The same third-party leaks as in the sanitizer test run are not the fuzzers' findings.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan_suppressions.txt"
status=0
speeds=()
for fuzzer in build/fuzz/bin/*_fuzz; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus="tests/fuzz/corpus/$name"
    log="build/fuzz/$name.log"
    work=$(mktemp -d)
    [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
    echo "fuzz: $name for ${seconds}s"
    if ! MOLTR_SPOOL= "$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="build/fuzz/$name-" "$work" > "$log" 2>&1; then
        echo "fuzz: $name found a fault:"
        tail -40 "$log"
        status=1
    fi
    rm -rf "$work"
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    speeds+=("$(printf '%-32s %8s executions/s' "$name" "${speed:-?}")")
done
echo "fuzz: executions per second"
printf '  %s\n' "${speeds[@]}"
exit $status
