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
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
# needed PROGRAM: the libraries it names; none at all (readelf failed, or a
# static program) fails, as no list could prove a library absent.
needed() {
    local list
    list=$(readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    [[ -n $list ]] || fail "$(basename "$1"): readelf listed no needed library"
    echo "$list"
}
refuse() { # PROGRAM PATTERN...
    local program=$1 pattern list
    list=$(needed "$program") || exit 1
    shift
    for pattern in "$@"; do
        grep -q "$pattern" <<<"$list" &&
            count_fail "$(basename "$program") links $(grep "$pattern" <<<"$list")"
    done
}
for program in "$1" "$2"; do
    [[ -x $program ]] || fail "$program is not built"
done
refuse "$1" libQt6Network libQt6Svg
refuse "$2" libQt6Network libQt6Gui libQt6Widgets
checks_done "ok: $(needed "$1" | grep -c Qt6) Qt libraries for the window program"
