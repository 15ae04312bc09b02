#!/usr/bin/env bash
# Sets a fresh machine up, builds the host simulation and runs the main job on the sample printer:
# a printer added on a fresh machine folder prints a job with `moltr print`, and the first lines of
# the stream it wrote are shown as text with its byte count; the job's sheets are kept as pictures,
# with those of the same pages printed 4-up and as a booklet.
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
# The same five pages four to a sheet with page borders and the watermark, and as a booklet.
$moltr print Sample --pages 5 --document "Main job 4-up" --set _NUP_PAGES=2 --set _NUP_BORDER=1 \
    --set _WMK_ENABLED=1 --set _WMK_1STPAGEONLY=0 --png "$pictures/nup-4"
$moltr print Sample --pages 5 --document "Main job booklet" --set _BOOKLET=2 --png "$pictures/booklet"
echo "4-up and booklet sheets:" "$pictures"/nup-4/sheet-001.png "$pictures"/booklet/sheet-001.png
