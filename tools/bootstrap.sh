#!/usr/bin/env bash
# Sets a fresh machine up, builds the host simulation and runs the main job on the sample printer:
# a printer added on a fresh machine folder prints a job with `moltr print`, and the first lines of
# the stream it wrote are shown as text with its byte count; the job's sheets are kept as pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset host >/dev/null
cmake --build --preset host
if [ -z "${MOLTR_SPOOL:-}" ]; then
    export MOLTR_SPOOL="$PWD/build/host/machine"
    rm -rf "$MOLTR_SPOOL"
fi
moltr=build/host/bin/moltr
stream="$MOLTR_SPOOL/main-job.prn"
pictures="$MOLTR_SPOOL/main-job"
$moltr --help
$moltr machine
$moltr compile samples/MOLTR4KC.GPD
$moltr printer add Sample
$moltr print Sample --pages 2 --document "Main job" -o "$stream" --png "$pictures"
echo "$stream: $(wc -c <"$stream" | tr -d ' ') bytes; its PJL lines (ESC shown as '.'):"
head -n 40 "$stream" | LC_ALL=C tr -c '[:print:]\n' '.' | grep -E '^(\.%-12345X)?@PJL' | cut -c 1-100
echo "its sheets as pictures:" "$pictures"/sheet-*.png
