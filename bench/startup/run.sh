#!/usr/bin/env bash
# Start-up bench: the real mrv7k2-setup against a bare Qt window, side by side
# under one Xvfb, both inside the pc namespace of a private lab network.
# For each run: the time from process start until the X server maps the first
# window titled "NAS検索...", and the peak resident memory (VmHWM) 5 s after
# the start (the program's first scan over, its main window shown). Also the
# processor time both had used when the window was mapped, which a loaded
# machine disturbs far less than the elapsed time. Prints each pair, the
# medians and the ratios (program / bare window). Figures only: it never
# fails on a number. Needs root for the lab.
#
# usage: run.sh [BUILD_DIR] [PAIRS]      (default: <repo>/build, 7 pairs)
#   MRV_BENCH_UNIT=0   no simulated unit on the network (the guide opens)
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd) || exit 1
pairs=${2:-7}
with_unit=${MRV_BENCH_UNIT:-1}
title='NAS検索...'
watch_seconds=5
if [[ ! $pairs =~ ^[0-9]+$ ]] || ((pairs < 1 || pairs > 50)); then
    echo "bench: PAIRS must lie in 1..50" >&2
    exit 2
fi

source "$here/../../tools/lab/lab.sh"
if ! lab_check; then
    echo "bench skipped: the lab cannot be built here (run as root)" >&2
    exit 77
fi
command -v Xvfb >/dev/null || { echo "bench skipped: Xvfb is not installed" >&2; exit 77; }
program=$build/app/mrv7k2-setup
bare=$build/bench/startup/bare_window
watch=$build/bench/startup/startup_watch
sim=$build/tools/nas-sim/nas-sim
for f in "$program" "$bare" "$watch" "$sim"; do
    [[ -x $f ]] || { echo "bench: $f is not built" >&2; exit 1; }
done

work=$(mktemp -d /tmp/mrv-bench.XXXXXX)
P=$(lab_prefix) || exit 1
xvfb=
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    lab_down "$P"
    rm -rf "$work"
}
trap cleanup EXIT
lab_up "$P" || exit 1
if ((with_unit)); then
    lab_host "$P" unit 192.168.1.50/24 || exit 1
    lab_exec "$P" unit "$sim" --lifetime $((pairs * 30 + 120)) --ready-file "$work/ready" \
        --host NAS-BENCH >/dev/null 2>&1 &
    for _ in $(seq 50); do [[ -e $work/ready ]] && break; sleep 0.1; done
fi

# Xvfb, the watcher and the programs share the pc namespace: X clients reach the
# server by its abstract socket there, which no other display on this machine
# can shadow (the /tmp/.X11-unix files are shared by every namespace).
pc=$(lab_ns "$P" pc)
exec 3>"$work/display"
ip netns exec "$pc" Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "bench: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

# One measured run: prints "<ms> <cpu ms> <KiB>". The watcher starts the command
# through env, which execs, so the process it reads is the one measured; each
# run gets a fresh runtime directory (the single-instance lock).
measure() { # BINARY
    local line ms cpu kib
    rm -rf "$work/runtime"
    mkdir -m 700 "$work/runtime"
    line=$(timeout -k 2 $((watch_seconds + 10)) ip netns exec "$pc" "$watch" "$title" \
        "$watch_seconds" env XDG_RUNTIME_DIR="$work/runtime" "$1" 2>>"$work/watch.log")
    ms=$(sed -n 's/.*window_ms=\([^ ]*\).*/\1/p' <<<"$line")
    cpu=$(sed -n 's/.*cpu_ms=\([^ ]*\).*/\1/p' <<<"$line")
    kib=$(sed -n 's/.*peak_kib=\([^ ]*\).*/\1/p' <<<"$line")
    if [[ -z $ms || $ms == none || -z $cpu || $cpu == none || -z $kib || $kib == none ]]; then
        echo "bench: no window titled $title from $1 ($line)" >&2
        return 1
    fi
    echo "$ms $cpu $kib"
}

# One unmeasured pair first: font and shader caches, page cache.
measure "$program" >/dev/null || exit 1
measure "$bare" >/dev/null || exit 1

: >"$work/pairs"
printf '%-4s %8s %8s %8s %8s %9s %9s %8s %8s %8s\n' pair 'app ms' 'bare ms' 'app cpu' \
    'bare cpu' 'app MiB' 'bare MiB' 'ratio t' 'ratio c' 'ratio m'
for ((i = 1; i <= pairs; i++)); do
    read -r app_ms app_cpu app_kib < <(measure "$program") || exit 1
    read -r bare_ms bare_cpu bare_kib < <(measure "$bare") || exit 1
    line="$app_ms $bare_ms $app_kib $bare_kib $app_cpu $bare_cpu"
    echo "$line" >>"$work/pairs"
    awk -v i="$i" '{ printf "%-4d %8.1f %8.1f %8.1f %8.1f %9.1f %9.1f %8.2f %8.2f %8.2f\n", i,
                     $1, $2, $5, $6, $3 / 1024, $4 / 1024, $1 / $2, $5 / $6, $3 / $4 }' <<<"$line"
done

# Medians of each column and of the pair-by-pair ratios.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
col() { awk "{ print $1 }" "$work/pairs" | median; }
app_ms=$(col '$1') bare_ms=$(col '$2') app_kib=$(col '$3') bare_kib=$(col '$4')
app_cpu=$(col '$5') bare_cpu=$(col '$6')
ratio_t=$(col '$1 / $2') ratio_m=$(col '$3 / $4') ratio_c=$(col '$5 / $6')
echo
awk -v a="$app_ms" -v b="$bare_ms" -v am="$app_kib" -v bm="$bare_kib" -v ac="$app_cpu" \
    -v bc="$bare_cpu" -v rt="$ratio_t" -v rm="$ratio_m" -v rc="$ratio_c" 'BEGIN {
    printf "median first window: program %.1f ms, bare window %.1f ms, ratio of medians %.2f\n", a, b, a / b
    printf "median processor time to it: program %.1f ms, bare window %.1f ms, ratio of medians %.2f\n", ac, bc, ac / bc
    printf "median peak memory:  program %.1f MiB, bare window %.1f MiB, ratio of medians %.2f\n", am / 1024, bm / 1024, am / bm
    printf "median of the pair-by-pair ratios: first window %.2f, processor time %.2f, peak memory %.2f\n", rt, rc, rm
}'
