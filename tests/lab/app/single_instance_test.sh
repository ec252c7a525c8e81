#!/usr/bin/env bash
# One instance per user, with real processes of mrv7k2-setup on a private
# display inside a lab namespace (the program broadcasts when it starts):
# a second start shows nothing, brings the first one's window forward and
# exits 0, during the start-up search as well as later; no instance writes a
# file, and after the first one was killed a new start simply runs.
set -u
: "${MRV_BUILD_DIR:?run through ctest}" "${MRV_SOURCE_DIR:?run through ctest}"
program=$MRV_BUILD_DIR/app/mrv7k2-setup
desktop=$MRV_SOURCE_DIR/tests/e2e/app/desktop.sh

source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
lab_check || exit 77
for tool in Xvfb xdotool xwininfo xmessage dbus-daemon ss; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed" >&2; exit 77; }
done
[[ -x $program ]] || { echo "$program is not built" >&2; exit 1; }

if [[ ${1:-} != --inside ]]; then
    work=$(mktemp -d /tmp/mrv-single.XXXXXX)
    P=$(lab_prefix) || exit 1
    trap 'lab_down "$P"; rm -rf "$work"' EXIT
    lab_up "$P" || exit 1
    mkdir -p "$work/tmp"
    lab_exec "$P" pc timeout -k 5 120 "$desktop" "$work/desktop" \
        env MRV_WORK="$work" TMPDIR="$work/tmp" bash "${BASH_SOURCE[0]}" --inside
    exit $?
fi

# --- inside the pc namespace, on the private desktop ---------------------
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# until SECONDS CMD...: polls CMD every 0.1 s, at most SECONDS.
until_true() {
    local limit=$1 i
    shift
    for ((i = 0; i < limit * 10; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
main_windows() { xdotool search --onlyvisible --name '^MRV-7K2$' 2>/dev/null; }
search_windows() { xdotool search --onlyvisible --name '^NAS' 2>/dev/null; }
has_main() { [[ -n $(main_windows) ]]; }
has_search() { [[ -n $(search_windows) ]]; }
# Without a window manager the stacking order is the X server's own: the
# top-level windows listed from the top down.
stacking() { xwininfo -root -children | awk '$1 ~ /^0x/ {print $1}'; }
hex() { printf '0x%x' "$1"; }
# is_above A B: window A lies above window B.
is_above() {
    local order first
    order=$(stacking)
    first=$(grep -m1 -x -e "$(hex "$1")" -e "$(hex "$2")" <<<"$order")
    [[ $first == "$(hex "$1")" ]]
}
# Another program's window laid over the main window.
cover() {
    xmessage -geometry 900x700+0+0 cover >/dev/null 2>&1 &
    pids+=($!)
    coverpid=$!
    until_true 5 bash -c 'xdotool search --onlyvisible --class "^Xmessage$" >/dev/null' ||
        fail "the covering window did not open"
    coverwin=$(xdotool search --onlyvisible --class '^Xmessage$' | head -n1)
    is_above "$coverwin" "$1" || fail "the covering window is not above the main window"
}
uncover() { kill "$coverpid" 2>/dev/null; wait "$coverpid" 2>/dev/null; }

pids=()
trap 'for p in "${pids[@]}"; do kill -KILL "$p" 2>/dev/null; done' EXIT

start_first() {
    "$program" >"$MRV_WORK/$1.log" 2>&1 &
    first=$!
    pids+=("$first")
    until_true 15 has_search || fail "$1: no search window"
}

# A later start: exit status 0, quickly, and no window of its own.
second_start() {
    local t0 rc
    t0=$(date +%s%N)
    timeout -k 2 15 "$program" >"$MRV_WORK/$1.log" 2>&1
    rc=$?
    local ms=$((($(date +%s%N) - t0) / 1000000))
    echo "$1: exit status $rc after $ms ms"
    ((rc == 0)) || fail "$1: exit status $rc"
    ((ms < 8000)) || fail "$1: took $ms ms"
    [[ ! -s $MRV_WORK/$1.log ]] || fail "$1 wrote: $(cat "$MRV_WORK/$1.log")"
}

# 1. A second start during the first one's start-up search: the main window
#    must not be pulled out early.
start_first first
second_start second-during-search
kill -0 "$first" 2>/dev/null || fail "the first instance ended"
has_main && fail "the main window appeared during the start-up search"

# 2. After the search: the second start brings the main window forward.
until_true 10 has_main || fail "the first instance's main window never opened"
window=$(main_windows)
[[ $(wc -l <<<"$window") == 1 ]] || fail "more than one main window: $window"
cover "$window"
second_start second-after-search
until_true 5 is_above "$window" "$coverwin" ||
    fail "the first instance's window did not come forward: $(stacking | tr '\n' ' ')"
uncover
[[ $(main_windows) == "$window" ]] || fail "windows after the second start: $(main_windows)"
kill -0 "$first" 2>/dev/null || fail "the first instance ended"

# 3. The first instance is killed: it leaves nothing behind, no file and no
#    name (its claim is an abstract socket that the kernel frees).
held_name() { ss -xlH 2>/dev/null | grep -q "@MRV-7K2-$(id -u) "; }
held_name || fail "the running instance holds no abstract name"
kill -KILL "$first"
wait "$first" 2>/dev/null
left=$(find "$XDG_RUNTIME_DIR" "$MRV_WORK/tmp" -iname '*mrv*')
[[ -z $left ]] || fail "files left behind: $left"
held_name && fail "the killed instance's name is still held"
start_first restarted
until_true 10 has_main || fail "the restarted instance did not open its main window"
window=$(main_windows)
cover "$window"
second_start second-after-restart
until_true 5 is_above "$window" "$coverwin" ||
    fail "the restarted instance's window did not come forward"
uncover
kill -0 "$first" 2>/dev/null || fail "the restarted instance ended"
echo "single instance: all checks passed"
