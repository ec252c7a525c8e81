#!/usr/bin/env bash
# The Windows build under wine, in the lab: its test programs pass (the cross
# build's ctest, each run through tools/lab/wine-run in this lab), and
# mrv7k2-find.exe finds the simulated units and prints what the Linux
# mrv7k2-find prints for the same lab, table and JSON alike. Both programs
# carry their icon under the name Qt looks for, and the web page goes to the
# default browser (wine hands it to xdg-open, here a recording one).
# Usage: windows_programs_wine_test.sh LINUX-FIND NAS-SIM
set -u
linux_find=$1
sim=$2
windows=${MRV_WINDOWS_BUILD_DIR:-$MRV_SOURCE_DIR/build-windows}
find_exe=$windows/app/mrv7k2-find.exe
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tools/lab/wine.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
wine_check || exit 77
[[ -f $find_exe ]] || { echo "SKIP: no Windows build at $windows (bash scripts/build windows)"; exit 77; }
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
lab_check || exit 77
P=$(lab_prefix) || exit 1
work=$(mktemp -d /tmp/mrv-wine.XXXXXX)
trap 'wine_prefix_down; lab_down "$P"; rm -rf "$work"' EXIT

lab_up "$P" || exit 1
# The window tests use Windows' own platform plugin: a display in the lab.
wine_display "$P" "$work" || fail "no display"
start=$(date +%s)
wine_prefix_up "$P" "$windows/wine/programs" || exit 1
echo "fresh wine prefix: $(($(date +%s) - start)) s"

for exe in "$windows/app/mrv7k2-setup.exe" "$find_exe"; do
    wrestool -l "$exe" | grep -qF -- "--type=14 --name='IDI_ICON1'" ||
        count_fail "$(basename "$exe"): no icon group IDI_ICON1"
done
mkdir -p "$work/bin"
printf '#!/bin/sh
printf "%%s|%%s\n" "$#" "$1" >>"%s"
' "$work/opened.log" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

echo "--- the Windows test programs ---"
if ! PATH="$work/bin:$PATH" MRV_OPENER_LOG="$work/opened.log" MRV_WINE_LAB=$P ctest --test-dir "$windows" --output-on-failure --timeout 300 -j 1; then
    count_fail "a Windows test program failed under wine (above)"
fi

echo "--- mrv7k2-find.exe against mrv7k2-find ---"
unit() { # NAME ADDR/LEN nas-sim options...
    local name=$1 addr=$2
    shift 2
    lab_host "$P" "$name" "$addr" || exit 1
    lab_exec "$P" "$name" "$sim" --lifetime 120 --ready-file "$work/ready-$name" "$@" \
        >"$work/sim-$name.out" 2>&1 &
    disown
    for _ in $(seq 50); do
        [[ -e $work/ready-$name ]] && return 0
        sleep 0.1
    done
    cat "$work/sim-$name.out"
    fail "unit $name did not start"
}
unit office 192.168.1.50/24 --identity 00:0D:0B:7A:10:50 --ip 192.168.1.50 \
    --host NAS-OFFICE --disk-model ST3250310AS --capacity 244198584 --free 97679433
unit remote 10.10.0.20/24 --identity 00:0D:0B:7A:10:20 --ip 10.10.0.20 --mask 255.255.255.0 \
    --gateway 10.10.0.1 --host NAS-REMOTE --broadcast --delay 300
unit keiri 192.168.1.60/24 --identity 00:0D:0B:7A:10:60 --ip 192.168.1.60 \
    --host 経理部NAS --disk-model '' --delay 600

for args in "" "--json"; do
    native=$(lab_exec "$P" pc "$linux_find" $args) || count_fail "Linux mrv7k2-find $args: exit $?"
    # The program's own status, not that of a pipe's last command.
    status=0
    wine_exec "$P" "$find_exe" $args >"$work/find.out" 2>"$work/find.err" || status=$?
    windows_out=$(tr -d '\r' <"$work/find.out")
    ((status == 0)) || count_fail "mrv7k2-find.exe $args: exit $status: $(head -c 400 "$work/find.err")"
    if [[ $native != "$windows_out" ]]; then
        count_fail "mrv7k2-find $args: outputs differ"$'\n'"Linux:"$'\n'"$native"$'\n'"wine:"$'\n'"$windows_out"
    fi
    for name in NAS-OFFICE NAS-REMOTE 経理部NAS; do
        grep -qF "$name" <<<"$windows_out" || count_fail "mrv7k2-find.exe $args did not list $name"
    done
done

checks_done "PASS: the Windows test programs pass under wine, and mrv7k2-find.exe finds what mrv7k2-find finds"
