#!/usr/bin/env bash
# A plugin of the user's own, loaded by the toolkit inside mrv7k2-setup,
# finds no capability and cannot open a raw socket: not when the program's
# file carries cap_net_raw (as earlier packages gave it), not when it runs
# as root, and not while the ICMP helper beside it holds the raw socket.
# Usage: plugin_capabilities_test.sh PLUGIN HELPER [PROGRAM]
set -u
: "${MRV_BUILD_DIR:?run through ctest}" "${MRV_SOURCE_DIR:?run through ctest}"
plugin=$1 helper_built=$2
program=${3:-$MRV_BUILD_DIR/app/mrv7k2-setup}
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
lab_check || exit 77
command -v setcap >/dev/null || { echo "SKIP: no setcap"; exit 77; }
[[ -x $program ]] || { echo "$program is not built" >&2; exit 1; }

tree=$(mktemp -d /tmp/mrv-plugin.XXXXXX) || exit 1
P=$(lab_prefix) || exit 1
trap 'lab_down "$P"; rm -rf "$tree"' EXIT
mkdir -p "$tree/bin" "$tree/libexec/mrv7k2-setup" "$tree/plugins/generic" "$tree/out"
cp "$program" "$tree/bin/mrv7k2-setup" && cp "$helper_built" "$tree/libexec/mrv7k2-setup/" &&
    cp "$plugin" "$tree/plugins/generic/" || exit 1
chmod -R a+rX "$tree" && chmod 1777 "$tree/out"
setcap cap_net_raw+ep "$tree/bin/mrv7k2-setup" || exit 1
setcap cap_net_raw+ep "$tree/libexec/mrv7k2-setup/mrv7k2-icmp-helper" || exit 1
lab_up "$P" || exit 1
lab_ping_group "$P" pc "1 0" || exit 1

fails=0
# attack NAME [SETPRIV-ARGS...]: the program with the plugin; its report checked.
attack() {
    local name=$1 report=$tree/out/$1
    shift
    lab_exec "$P" pc setpriv "$@" env -i PATH=/usr/bin:/bin HOME="$tree/out" \
        QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$tree/plugins" \
        QT_QPA_GENERIC_PLUGINS=mrvcapprobe MRV_CAP_REPORT="$report" \
        timeout -k 2 8 "$tree/bin/mrv7k2-setup" >"$tree/out/$name.log" 2>&1 &
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
