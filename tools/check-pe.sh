#!/usr/bin/env bash
# Checks the PE modules of a Windows build: each is a PE32+ x64 image that imports no runtime DLL
# of the compiler, and the DLLs export what the core driver looks for.
set -euo pipefail
build="${1:-build/windows}"
objdump=x86_64-w64-mingw32-objdump
status=0

check_module() { # file, then the exports it must have
    local file="$1"
    shift
    if [ ! -f "$file" ]; then
        echo "check-pe: missing $file"
        status=1
        return
    fi
    if ! $objdump -f "$file" | grep -q 'file format pei-x86-64'; then
        echo "check-pe: $file is not a PE32+ x64 image"
        status=1
        return
    fi
    # A module that needs the compiler's runtime DLLs does not load where they are not installed.
    local runtime
    runtime=$($objdump -p "$file" | sed -n 's/^\tDLL Name: //p' | grep -iE '^(libstdc\+\+|libgcc|libwinpthread)' || true)
    if [ -n "$runtime" ]; then
        echo "check-pe: $file imports the compiler's runtime: $(echo $runtime)"
        status=1
        return
    fi
    local exports
    exports=$($objdump -p "$file" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
    for name in "$@"; do
        if ! grep -qw "$name" <<<"$exports"; then
            echo "check-pe: $file does not export $name"
            status=1
        fi
    done
    echo "check-pe: $file ok"
}

while read -r file exports; do
    [ -n "$file" ] || continue
    # shellcheck disable=SC2086
    check_module "$build/$file" $exports
done < <(grep -v '^#' tools/pe-modules.txt)

exit $status
