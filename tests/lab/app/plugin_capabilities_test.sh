#!/usr/bin/env bash
# A plugin of the user's own, loaded by the toolkit inside mrv7k2-setup,
# finds no capability and cannot open a raw socket: not when the program's
# file carries cap_net_raw (as earlier packages gave it), not when it runs
# as root, and not while the ICMP helper beside it holds the raw socket.
# Usage: plugin_capabilities_test.sh PLUGIN HELPER
#        plugin_capabilities_test.sh PLUGIN --installed PROGRAM
# The second form runs an installed program where it is, with the helper and
# capabilities its package gave them; with MRV_CHROOT, inside that tree
# (whose /proc and /dev the caller has mounted), PROGRAM being its path there.
#
# The same set-up then mounts the attacks on the helper and the start-up:
# the helper, started by an ordinary user as a tool, sends to no multicast,
# loopback or broadcast address, nothing but our echo request, and at most
# ten a second; the program started with descriptors 0-2 closed and one more
# inherited opens 0-2 on /dev/null, hands the helper nothing but 0-3, and
# reaps it when it dies; and where the system refuses the capability drop
# (seccomp), the program does not run on with its capabilities.
set -u
: "${MRV_SOURCE_DIR:?run through ctest}"
plugin=$1 helper_built=$2
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
lab_check || exit 77
command -v setcap >/dev/null || { echo "SKIP: no setcap"; exit 77; }

chroot_dir=${MRV_CHROOT:-}
in_root=()
[[ -n $chroot_dir ]] && in_root=(chroot "$chroot_dir")
tree=$(mktemp -d "$chroot_dir/tmp/mrv-plugin.XXXXXX") || exit 1
inner=${tree#"$chroot_dir"} # the same folder, as the program sees it
P=$(lab_prefix) || exit 1
trap 'lab_down "$P"; rm -rf "$tree"' EXIT
mkdir -p "$tree/plugins/generic" "$tree/out"
cp "$plugin" "$tree/plugins/generic/" || exit 1
if [[ $helper_built == --installed ]]; then
    program=$3
else
    program=$tree/bin/mrv7k2-setup
    mkdir -p "$tree/bin" "$tree/libexec/mrv7k2-setup"
    cp "$MRV_BUILD_DIR/app/mrv7k2-setup" "$program" &&
        cp "$helper_built" "$tree/libexec/mrv7k2-setup/" || exit 1
    setcap cap_net_raw+ep "$program" || exit 1
    setcap cap_net_raw+ep "$tree/libexec/mrv7k2-setup/mrv7k2-icmp-helper" || exit 1
fi
[[ -x $chroot_dir$program ]] || fail "$program is not built"
chmod -R a+rX "$tree" && chmod 1777 "$tree/out"
lab_up "$P" || exit 1
lab_ping_group "$P" pc "1 0" || exit 1

# attack NAME [SETPRIV-ARGS...]: the program with the plugin; its report checked.
attack() {
    local name=$1 report=$tree/out/$1
    shift
    lab_exec "$P" pc "${in_root[@]}" setpriv "$@" env -i PATH=/usr/bin:/bin HOME="$inner/out" \
        QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$inner/plugins" \
        QT_QPA_GENERIC_PLUGINS=mrvcapprobe MRV_CAP_REPORT="$inner/out/$name" \
        timeout -k 2 8 "$program" >"$tree/out/$name.log" 2>&1 &
    local run=$!
    for _ in $(seq 100); do
        grep -q '^raw:' "$report" 2>/dev/null && break
        sleep 0.1
    done
    wait "$run" # the program ends by its time limit
    if grep -q '^raw: Operation not permitted$' "$report" 2>/dev/null &&
        ! grep -E '^Cap(Eff|Prm|Inh|Amb)' "$report" | grep -qv ':\s*0000000000000000$'; then
        echo "PASS: $name: no capability, no raw socket"
    else
        count_fail "$name: $(cat "$report" 2>/dev/null || echo 'no report') $(cat "$tree/out/$name.log")"
    fi
}

attack user --reuid=65534 --regid=65534 --clear-groups
attack root --reuid=0

# The attacks on the helper and the start-up need the program's own helper
# beside it on this system: not inside another release's tree.
if [[ -n $chroot_dir ]]; then
    checks_done
fi

helper=$(dirname "$program")/../libexec/mrv7k2-setup/mrv7k2-icmp-helper
as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
lab_exec "$P" pc "${as_user[@]}" /usr/bin/python3 "$MRV_SOURCE_DIR/tests/lab/app/helper_as_tool.py" \
    "$helper" 192.168.1.1 || count_fail "the helper run as a tool (above)"

# The program with 0-2 closed and descriptor 7 open on a file of the user's.
# Without a capability of its own, as the package installs it (a program with
# one gets 0-2 opened by the C library already).
[[ $helper_built != --installed ]] && { setcap -r "$program" || exit 1; }
echo inherited >"$tree/out/inherited"
lab_exec "$P" pc "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$tree/out" \
    QT_QPA_PLATFORM=offscreen timeout -k 2 10 \
    bash -c 'exec 7<"$1" 0<&- 1>&- 2>&-; exec "$2"' _ "$tree/out/inherited" "$program" &
run=$!
helper_pid=
for _ in $(seq 50); do
    helper_pid=$(pgrep -f "^$(dirname "$program")/../libexec/mrv7k2-setup/mrv7k2-icmp-helper" | head -n 1)
    [[ -n $helper_pid ]] && break
    sleep 0.1
done
parent=$(awk '/^PPid:/ {print $2}' "/proc/$helper_pid/status" 2>/dev/null)
standard=$(for fd in 0 1 2; do readlink "/proc/$parent/fd/$fd"; done | sort -u)
# Its own: 0-2, the pair as 3 and its raw socket as 4.
given=$(ls "/proc/$helper_pid/fd" 2>/dev/null | sort -n | tr '\n' ' ')
kill -KILL "$helper_pid" 2>/dev/null
sleep 0.5
state=$(awk '/^State:/ {print $2}' "/proc/$helper_pid/status" 2>/dev/null)
kill "$run" 2>/dev/null
wait "$run"
if [[ -n $helper_pid && $standard == /dev/null && $given == "0 1 2 3 4 " && -z $state ]]; then
    echo "PASS: closed 0-2: /dev/null; the helper got 0-3 only and was reaped"
else
    count_fail "helper '$helper_pid', the program's 0-2: '$standard'," \
        "the helper's descriptors: '$given', its state after its end: '$state'"
fi

# Root's program under a seccomp rule that refuses capset: it must not run.
if [[ $(uname -m) == x86_64 ]]; then
    lab_exec "$P" pc env -i PATH=/usr/bin:/bin HOME="$tree/out" QT_QPA_PLATFORM=offscreen \
        timeout -k 2 10 /usr/bin/python3 -c '
import ctypes, os, struct, sys
# load the call number; capset (126) fails with EPERM, all else is allowed
code = [(0x20, 0, 0, 0), (0x15, 0, 1, 126), (0x06, 0, 0, 0x50001), (0x06, 0, 0, 0x7FFF0000)]
filt = b"".join(struct.pack("HBBI", *c) for c in code)
buf = ctypes.create_string_buffer(filt)
prog = struct.pack("HxxxxxxQ", len(code), ctypes.addressof(buf))
libc = ctypes.CDLL(None, use_errno=True)
if libc.prctl(22, 2, ctypes.c_char_p(prog), 0, 0) != 0:  # PR_SET_SECCOMP, FILTER
    sys.exit(99)
os.execv(sys.argv[1], sys.argv[1:])' "$program" >"$tree/out/seccomp.log" 2>&1
    status=$?
    if [[ $status == 1 ]] && grep -q capabilities "$tree/out/seccomp.log"; then
        echo "PASS: a refused capability drop ends the program: $(head -n 1 "$tree/out/seccomp.log")"
    else
        count_fail "refused capset: status $status, $(cat "$tree/out/seccomp.log")"
    fi
fi
checks_done
