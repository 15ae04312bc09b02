#!/usr/bin/env bash
# Builds the Windows test programs and runs them under Wine, in a private Wine prefix inside the
# build folder, without a display. Installs nothing: tools/setup.sh installs wine64.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/windows

wine=$(command -v wine64 || command -v wine || true)
if [ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ]; then
    wine=/usr/lib/wine/wine64
fi
if [ -z "$wine" ]; then
    echo "wine-test: no wine64 (tools/setup.sh installs it)" >&2
    exit 1
fi

cmake --preset windows >/dev/null
cmake --build --preset windows

export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all DISPLAY=
# No Mono or Gecko prompts (the tests need neither), and no debugger on a crash.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init >/dev/null 2>&1
fi
wineserver="$(dirname "$(readlink -f "$wine")")/wineserver"
if [ ! -x "$wineserver" ]; then
    wineserver=$(command -v wineserver || echo true)
fi
# The first start updates the prefix in the background; the tests begin once it is done.
"$wineserver" --wait || true

status=0
ctest --test-dir "$build" --output-on-failure -j2 "$@" || status=$?
"$wineserver" -k 2>/dev/null || true
exit $status
