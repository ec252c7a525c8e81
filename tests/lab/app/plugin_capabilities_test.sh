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
set -u
: "${MRV_SOURCE_DIR:?run through ctest}"
plugin=$1 helper_built=$2
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
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
[[ -x $chroot_dir$program ]] || { echo "$program is not built" >&2; exit 1; }
chmod -R a+rX "$tree" && chmod 1777 "$tree/out"
lab_up "$P" || exit 1
lab_ping_group "$P" pc "1 0" || exit 1

fails=0
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
        echo "FAIL: $name: $(cat "$report" 2>/dev/null || echo 'no report') $(cat "$tree/out/$name.log")"
        fails=$((fails + 1))
    fi
}

attack user --reuid=65534 --regid=65534 --clear-groups
attack root --reuid=0
((fails == 0)) || exit 1
echo "all checks passed"
