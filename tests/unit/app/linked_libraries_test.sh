#!/usr/bin/env bash
# What the two programs load at start-up: every shared library is mapped,
# relocated and partly paged in before the first window, so a library that
# creeps in costs memory and time on every start. The window program needs
# no Qt Network (its sockets are the OS layer's) and no Qt Svg (its pictures
# are rasterised at build time); the headless scanner needs neither Gui nor
# Widgets.
# usage: linked_libraries_test.sh SETUP_PROGRAM FIND_PROGRAM
set -u
command -v readelf >/dev/null || { echo "skipped: readelf (binutils) is not installed"; exit 77; }
status=0
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
refuse() { # PROGRAM PATTERN...
    local program=$1 pattern
    shift
    for pattern in "$@"; do
        if needed "$program" | grep -q "$pattern"; then
            echo "FAIL: $(basename "$program") links $(needed "$program" | grep "$pattern")"
            status=1
        fi
    done
}
for program in "$1" "$2"; do
    [[ -x $program ]] || { echo "FAIL: $program is not built"; exit 1; }
done
refuse "$1" libQt6Network libQt6Svg
refuse "$2" libQt6Network libQt6Gui libQt6Widgets
((status == 0)) && echo "ok: $(needed "$1" | grep -c Qt6) Qt libraries for the window program"
exit "$status"
