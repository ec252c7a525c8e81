#!/usr/bin/env bash
# One instance per user, with real processes of mrv7k2-setup on a private
# display inside a lab namespace (the program broadcasts when it starts):
# a second start shows nothing, brings the first one's window forward and
# exits 0, during the start-up search as well as later; no instance writes a
# file, and after the first one was killed a new start simply runs. Idle
# connections by the thousand, of this user and of another, neither use up
# the running instance's descriptors nor keep it from serving a later start;
# and a name squatted by another user does not keep the program from running,
# nor does one that a process of the same user, in a mount namespace of its
# own without the session bus (as a sandboxed app), holds and answers on.
set -u
: "${MRV_BUILD_DIR:?run through ctest}" "${MRV_SOURCE_DIR:?run through ctest}"
program=$MRV_BUILD_DIR/app/mrv7k2-setup
desktop=$MRV_SOURCE_DIR/tests/e2e/app/desktop.sh

source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
lab_check || exit 77
for tool in Xvfb xdotool xwininfo xmessage dbus-daemon ss; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed" >&2; exit 77; }
done
[[ -x $program ]] || fail "$program is not built"

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

# 4. Idle connections, 2,000 of this user, then 2,000 of another.
clients=$MRV_SOURCE_DIR/tests/lab/app/idle_clients.py
name="MRV-7K2-$(id -u)"
shared=$MRV_WORK/shared
chmod 0711 "$MRV_WORK" # another user writes its reports into shared/
mkdir -m 1777 "$shared"
descriptors() { find "/proc/$1/fd" -mindepth 1 -maxdepth 1 | wc -l; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
before=$(descriptors "$first")
flood() {
    local tag=$1 made most=0 n t0 i
    shift
    "$@" /usr/bin/python3 "$clients" connect "$name" 2000 "$shared/$tag" 90 &
    pids+=($!)
    for ((i = 0; i < 900; i++)); do
        [[ -s $shared/$tag ]] && break
        n=$(descriptors "$first")
        ((n > most)) && most=$n
        sleep 0.1
    done
    [[ -s $shared/$tag ]] || fail "$tag: the clients did not finish"
    made=$(cat "$shared/$tag")
    n=$(descriptors "$first") # the clients hold every connection open from here on
    ((n > most)) && most=$n
    t0=$(cpu_ticks "$first")
    sleep 1
    echo "$tag: $made connections made; the instance had at most $most descriptors" \
        "($before before), then used $(($(cpu_ticks "$first") - t0)) CPU ticks in 1 s"
    ((made == 2000)) || fail "$tag: only $made connections were taken"
    ((most <= before + 12)) || fail "$tag: $most descriptors"
    (($(cpu_ticks "$first") - t0 < 30)) || fail "$tag: the instance keeps busy"
    cover "$window"
    second_start "second-after-$tag"
    until_true 5 is_above "$window" "$coverwin" ||
        fail "after $tag the instance's window did not come forward"
    uncover
}
flood idle-same-user env
flood idle-other-user setpriv --reuid=65534 --regid=65534 --clear-groups

# 5. Another user squats the name (bound, never listening): a start runs,
#    within about a second, as the one instance it is.
kill -KILL "$first"
wait "$first" 2>/dev/null
setpriv --reuid=65534 --regid=65534 --clear-groups /usr/bin/python3 "$clients" squat "$name" 0 \
    "$shared/squat" 90 &
squatter=$!
pids+=($!)
until_true 10 test -s "$shared/squat" || fail "the squatter did not bind the name"
t0=$(date +%s%N)
start_first squatted
ms=$((($(date +%s%N) - t0) / 1000000))
echo "squatted name: the search window after $ms ms"
((ms < 3000)) || fail "the start under a squatted name took $ms ms"
until_true 10 has_main || fail "the start under a squatted name opened no main window"

# 6. Our own user's squatter in its own mount namespace, where the session
#    bus cannot be reached: it holds the abstract name and answers every
#    start. The program runs, later starts reach it over the bus, and the
#    squatter hears from none of them.
kill -KILL "$first" "$squatter"
wait "$first" "$squatter" 2>/dev/null
unshare -m bash -c 'mount -t tmpfs none "$1" && exec /usr/bin/python3 "$2" answer "$3" 0 "$4" 60' \
    _ "$MRV_WORK/desktop" "$clients" "$name" "$shared/answer" &
pids+=($!)
until_true 10 test -s "$shared/answer" || fail "the sandboxed squatter did not bind the name"
start_first sandbox-squatted
until_true 10 has_main || fail "the start beside the sandboxed squatter opened no main window"
window=$(main_windows)
cover "$window"
second_start second-beside-squatter
until_true 5 is_above "$window" "$coverwin" ||
    fail "beside the sandboxed squatter the window did not come forward"
uncover
heard=$(($(wc -l <"$shared/answer") - 1))
echo "sandboxed squatter: heard $heard starts"
((heard == 0)) || fail "the squatter heard: $(tail -n +2 "$shared/answer")"
echo "single instance: all checks passed"
