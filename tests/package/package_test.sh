#!/usr/bin/env bash
# Proves the Debian package: builds it (scripts/package), runs lintian (no
# error, no warning), installs it with apt on this machine, checks its menu
# entry, metainfo and capabilities, runs the installed programs inside a lab
# network against a simulated unit (mrv7k2-setup on a private display; a
# hostile Qt plugin inside it finds no capability and no raw socket), then
# purges it and checks that nothing of it is left. The package is purged
# again on any failure, so the machine ends as it began (a copy installed
# before the check is gone afterwards too).
#
# Needs root (apt, namespaces); exit 77 (skipped) without it. Uses the
# simulated unit of the normal build: MRV_BUILD_DIR, default <tree>/build.
# usage: tests/package/package_test.sh [--gui]   (--gui: internal, on the desktop)
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
package=mrv7k2-setup
setup=/usr/bin/mrv7k2-setup
find=/usr/bin/mrv7k2-find

source "$root/tests/testsupport/script-test.sh"

# --- inside the lab's pc namespace, on a private desktop -------------------
if [[ ${1:-} == --gui ]]; then
    "$setup" >"$MRV_WORK/setup.log" 2>&1 &
    app=$!
    # Only this process's windows count, whatever else reaches the display.
    shown() { xdotool search --all --onlyvisible --pid "$app" --name "$1" >/dev/null 2>&1; }
    trap 'kill -KILL "$app" 2>/dev/null' EXIT
    # First the search window; at the end of the 3 s search it closes
    # and the main window stays.
    until_true 20 shown '^NAS検索\.\.\.$' || fail "the search window 'NAS検索...' did not appear"
    after_search() { shown '^MRV-7K2$' && ! shown '^NAS検索'; }
    until_true 20 after_search || fail "the main window 'MRV-7K2' did not follow the search window"
    sleep 0.5
    after_search || fail "the main window did not stay"
    for w in $(xdotool search --all --onlyvisible --pid "$app" --name '.'); do
        xwininfo -id "$w" | sed -n 's/^xwininfo: Window id: /  shown: /p'
    done
    kill -0 "$app" 2>/dev/null || fail "mrv7k2-setup ended by itself"
    exit 0
fi

# --- on the machine ---------------------------------------------------------
if [[ $(id -u) -ne 0 ]]; then
    echo "package check skipped: needs root (apt-get install, network namespaces)" >&2
    exit 77
fi
source "$root/tools/lab/lab.sh"
lab_check || exit 77
build=${MRV_BUILD_DIR:-$root/build}
sim=$build/tools/nas-sim/nas-sim
[[ -x $sim ]] || fail "$sim is not built (bash scripts/build normal)"

t0=$SECONDS
step_name=""
step() { # NAME: ends the previous step with its time, names the next
    [[ -n $step_name ]] && echo "package check: $step_name took $((SECONDS - step_start)) s"
    step_name=$1
    step_start=$SECONDS
    echo "--- $1"
}

work=$(mktemp -d /tmp/mrv-package.XXXXXX)
chmod 755 "$work"
P=""
installed=0
cleanup() {
    local status=$?
    [[ -n $P ]] && lab_down "$P"
    if ((installed)); then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -q "$package" >/dev/null 2>&1
    fi
    rm -rf "$work"
    exit "$status"
}
trap cleanup EXIT

step "build"
bash "$root/scripts/package" >"$work/package.out"
cat "$work/package.out"
deb=$(tail -n 1 "$work/package.out")
[[ -f $deb ]] || fail "scripts/package made no package"
echo "package: $deb, $(stat -c %s "$deb") bytes"

step "lintian"
lintian --fail-on error,warning --display-info --pedantic "$deb" 2>&1 |
    grep -v 'running with root privileges is not recommended' | tee "$work/lintian.txt"
((PIPESTATUS[0] == 0)) || fail "lintian reports errors or warnings (above)"
echo "lintian: $(wc -l <"$work/lintian.txt") line(s), no error, no warning"

step "install"
installed=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" \
    >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get install failed"; }
dpkg-query -L "$package" >"$work/files"
grep -qx "$setup" "$work/files" && grep -qx "$find" "$work/files" || fail "the programs are not in the package"
desktop=$(grep -E '^/usr/share/applications/.+\.desktop$' "$work/files") || fail "no desktop entry"
metainfo=$(grep -E '^/usr/share/metainfo/.+\.metainfo\.xml$' "$work/files") || fail "no metainfo"
id=$(basename "$desktop" .desktop)
desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate: $metainfo"
for icon in scalable/apps/$id.svg 48x48/apps/$id.png 64x64/apps/$id.png 128x128/apps/$id.png \
    256x256/apps/$id.png; do
    grep -qx "/usr/share/icons/hicolor/$icon" "$work/files" || fail "icon $icon is missing"
done
for page in mrv7k2-setup.1.gz mrv7k2-find.1.gz; do
    gzip -t "/usr/share/man/man1/$page" || fail "man page $page is missing or broken"
done
helper=/usr/libexec/mrv7k2-setup/mrv7k2-icmp-helper
grep -qx "$helper" "$work/files" || fail "the ICMP helper is not in the package"
getcap "$setup" "$helper" | tee "$work/getcap"
grep -q "^$setup" "$work/getcap" && fail "$setup has a capability"
# The helper gets cap_net_raw only where ping sockets are not open to everyone.
if [[ $(tr -s ' \t' '  ' </proc/sys/net/ipv4/ping_group_range) == "0 2147483647" ]]; then
    grep -q "^$helper" "$work/getcap" && fail "$helper has a capability it does not need"
else
    grep -q "^$helper.*cap_net_raw[=+]ep" "$work/getcap" || fail "$helper has no cap_net_raw"
fi
# A file system without capabilities: setcap fails, the postinst says so and
# still succeeds. A range that allows every group is read as "no setcap".
mkdir -p "$work/nocap"
printf '#!/bin/sh\nexit 1\n' >"$work/nocap/setcap"
chmod +x "$work/nocap/setcap"
if [[ $(tr -s ' \t' '  ' </proc/sys/net/ipv4/ping_group_range) != "0 2147483647" ]]; then
    PATH=$work/nocap:$PATH sh "/var/lib/dpkg/info/$package.postinst" configure >"$work/postinst.out" 2>&1 ||
        { cat "$work/postinst.out"; fail "the postinst fails when setcap fails"; }
    grep -q 'setcap failed' "$work/postinst.out" || fail "the postinst does not say that setcap failed"
fi
while IFS= read -r f; do
    [[ -f $f && (-u $f || -g $f) ]] && fail "$f is setuid or setgid"
done <"$work/files"

step "mrv7k2-find in the lab"
P=$(lab_prefix) || fail "no lab prefix"
lab_up "$P" || fail "lab_up"
lab_host "$P" u1 192.168.1.50/24 || fail "lab_host"
lab_exec "$P" u1 "$sim" --lifetime 120 --ready-file "$work/ready" --identity 00:0D:0B:7A:10:50 \
    --ip 192.168.1.50 --host PKG-CHECK >"$work/sim.log" 2>&1 &
until_true 5 test -e "$work/ready" || { cat "$work/sim.log"; fail "the simulated unit did not start"; }
version=$(dpkg-query -W -f='${Version}' "$package")
lab_exec "$P" pc "$find" --version | head -n 1 | tee "$work/version"
grep -qx "mrv7k2-find (MRV-7K2 setup utility) $version" "$work/version" ||
    fail "mrv7k2-find --version does not give the package's version $version"
lab_exec "$P" pc timeout 30 "$find" --json >"$work/scan.json" 2>"$work/scan.err" ||
    { cat "$work/scan.err"; fail "the installed mrv7k2-find failed"; }
grep -q '"PKG-CHECK"' "$work/scan.json" || { cat "$work/scan.json"; fail "the unit was not found"; }
echo "mrv7k2-find found the unit PKG-CHECK"

step "mrv7k2-setup in the lab, on a private display"
lab_exec "$P" pc env MRV_WORK="$work" timeout -k 5 90 \
    "$root/tests/e2e/app/desktop.sh" "$work/desktop" bash "${BASH_SOURCE[0]}" --gui
gui=$?
((gui == 77)) && fail "no private display (Xvfb) for the window check"
((gui == 0)) || { cat "$work/setup.log" 2>/dev/null; fail "the installed mrv7k2-setup did not show its windows"; }
lab_down "$P"
P=""

step "a hostile Qt plugin inside the installed mrv7k2-setup"
plugin=$build/tests/lab/app/plugins/generic/libcapability-probe-plugin.so
[[ -f $plugin ]] || fail "$plugin is not built (bash scripts/build normal)"
MRV_SOURCE_DIR=$root bash "$root/tests/lab/app/plugin_capabilities_test.sh" "$plugin" \
    --installed "$setup" || fail "a plugin found a capability or a raw socket"

step "purge"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -q "$package" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; fail "apt-get purge failed"; }
installed=0
dpkg-query -L "$package" >/dev/null 2>&1 && fail "dpkg still lists files of $package"
left=()
while IFS= read -r f; do
    [[ -d $f ]] && continue # shared directories such as /usr/share/icons/hicolor stay
    [[ -e $f || -L $f ]] && left+=("$f")
done <"$work/files"
for f in /usr/bin/mrv7k2-* /usr/share/doc/$package /usr/share/applications/$id.desktop \
    /usr/share/metainfo/$id.metainfo.xml /usr/share/icons/hicolor/*/apps/$id.* \
    /usr/share/man/man1/mrv7k2-*; do
    [[ -e $f ]] && left+=("$f")
done
((${#left[@]} == 0)) || fail "left after the purge: ${left[*]}"
echo "nothing of $package is left"

step "done"
echo "package check: passed in $((SECONDS - t0)) s"
