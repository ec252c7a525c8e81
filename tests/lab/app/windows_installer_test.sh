#!/usr/bin/env bash
# The Windows installer under wine, in the lab's PC namespace: a silent
# install puts the zip's files under Program Files, a Start-menu shortcut for
# all users, a complete Apps & Features entry and the two firewall rules
# (wine's netsh is a stub, so what is checked is the command netsh received);
# the installed mrv7k2-find.exe runs in the lab and finds a simulated unit;
# a silent uninstall leaves no file, shortcut or key and deletes both rules.
# Every wine process, the wineserver and wine's services included, starts in
# the lab. Takes dist/ from scripts/package windows; MRV_WINDOWS_INSTALLER and
# MRV_WINDOWS_ZIP name other files.
# Usage: windows_installer_test.sh VERSION APP-ID
set -u
version=$1 app_id=$2
base=mrv7k2-setup-$version-windows-x64
installer=${MRV_WINDOWS_INSTALLER:-$MRV_SOURCE_DIR/dist/$base-installer.exe}
zip_file=${MRV_WINDOWS_ZIP:-$MRV_SOURCE_DIR/dist/$base.zip}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
nas_sim=$MRV_BUILD_DIR/tools/nas-sim/nas-sim
[[ -x $wine && -x $wineserver ]] || { echo "SKIP: no wine64"; exit 77; }
[[ -f $installer && -f $zip_file ]] ||
    { echo "SKIP: no $installer or $zip_file (bash scripts/package windows)"; exit 77; }
command -v unzip >/dev/null || { echo "SKIP: no unzip"; exit 77; }
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
lab_check || exit 77
P=$(lab_prefix) || exit 1
work=$MRV_BUILD_DIR/windows-installer-test
rm -rf "$work"
mkdir -p "$work" || exit 1
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
failures=0
# The prefix (700 MB) stays only when something failed, to be looked at.
trap 'lab_exec "$P" pc timeout 20 "$wineserver" -k 2>/dev/null; lab_down "$P"
      ((failures)) || rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pc() { lab_exec "$P" pc timeout 120 "$@"; }
# pc_text CMD...: CMD's output and errors without CRs; CMD's exit status.
pc_text() {
    local out rc
    out=$(pc "$@" 2>&1)
    rc=$?
    tr -d '\r' <<<"$out"
    return $rc
}
# wine's own netsh prints what it was asked for; nothing else of wine's is kept.
netsh_trace() { WINEDEBUG=-all,fixme+netsh pc_text "$wine" "$@"; }
# Waits for every process of the prefix to end: an NSIS uninstaller returns
# at once and finishes from a copy of itself.
settle() { pc "$wineserver" -w; }

key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$app_id"
dir=$WINEPREFIX/drive_c/Program\ Files/MRV-7K2\ Setup
menu=$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs
reg_value() { pc "$wine" reg query "$key" /v "$1" /reg:64 2>/dev/null | tr -d '\r' |
    sed -n -E "s/^ +$1 +REG_[A-Z_]+ +//p"; }

lab_up "$P" || exit 1
unzip -q "$zip_file" -d "$work/zip" || exit 1
start=$(date +%s)
pc "$wine" wineboot -i >/dev/null 2>&1 || { echo "FAIL: wineboot"; exit 1; }
settle
install_log=$(netsh_trace "$installer" /S) || fail "installer exit status $?"
settle
echo "prefix and silent install: $(($(date +%s) - start)) s"

# The installed files are the zip's, byte for byte.
for f in mrv7k2-setup.exe mrv7k2-find.exe LICENSE.txt README.txt; do
    cmp -s "$work/zip/$base/$f" "$dir/$f" || fail "installed $f differs from the zip's or is missing"
done
[[ -f $dir/uninstall.exe ]] || fail "no uninstall.exe"
lnk=$(find "$menu" -maxdepth 1 -name '*.lnk' -printf '%f\n')
[[ $lnk == "MRV-7K2 Setup.lnk" ]] || fail "all-users Start menu holds '$lnk'"
grep -qaF 'MRV-7K2 Setup\mrv7k2-setup.exe' "$menu/$lnk" 2>/dev/null ||
    fail "the shortcut does not point at the installed program"

inst='C:\Program Files\MRV-7K2 Setup'
expect_value() { [[ $(reg_value "$1") == "$2" ]] || fail "$1 is '$(reg_value "$1")', not '$2'"; }
expect_value DisplayName "MRV-7K2 Setup"
expect_value DisplayVersion "$version"
expect_value Publisher "The MRV-7K2 setup utility developers"
expect_value DisplayIcon "$inst\\mrv7k2-setup.exe,0"
expect_value InstallLocation "$inst"
expect_value UninstallString "\"$inst\\uninstall.exe\""
expect_value QuietUninstallString "\"$inst\\uninstall.exe\" /S"
expect_value NoModify 0x1
expect_value NoRepair 0x1
size_kb=$(($(reg_value EstimatedSize)))
bytes=$(du -s -b --apparent-size "$dir" | cut -f1)
((size_kb > 0 && size_kb * 1024 <= bytes && bytes < (size_kb + 5) * 1024)) ||
    fail "EstimatedSize ${size_kb} KB for $bytes bytes installed"

# wine's trace doubles each backslash.
traced_inst=${inst//\\/\\\\}
for exe in mrv7k2-setup mrv7k2-find; do
    rule="name=MRV-7K2 Setup ($exe.exe)"
    grep -F '"add" L"rule"' <<<"$install_log" | grep -F "L\"$rule\"" |
        grep -F "L\"program=$traced_inst\\\\$exe.exe\"" | grep -F 'L"dir=in" L"action=allow"' |
        grep -qF 'L"profile=private" L"protocol=UDP"' || fail "no firewall rule added for $exe"
done

# The installed console program in the lab finds a simulated unit.
installed_find=$dir/mrv7k2-find.exe
[[ -x $nas_sim ]] || { fail "no simulated unit at $nas_sim (build nas-sim)"; exit 1; }
lab_host "$P" u1 192.168.1.50/24 || exit 1
lab_exec "$P" u1 "$nas_sim" --identity 00:80:87:00:00:50 --ip 192.168.1.50 \
    --ready-file "$work/u1.ready" --lifetime 120 >"$work/u1.out" 2>&1 &
for ((i = 0; i < 50; i++)); do
    [[ -e $work/u1.ready ]] && break
    sleep 0.1
done
found=$(pc_text "$wine" "$installed_find") || fail "installed mrv7k2-find exit $?"
grep -q '^1 .*00:80:87:00:00:50  192\.168\.1\.50 ' <<<"$found" ||
    fail "installed mrv7k2-find did not find the unit:"$'\n'"$found"

uninstall_log=$(netsh_trace "$dir/uninstall.exe" /S) || fail "uninstaller exit status $?"
settle
for exe in mrv7k2-setup mrv7k2-find; do
    grep -F '"delete" L"rule"' <<<"$uninstall_log" |
        grep -qF "L\"name=MRV-7K2 Setup ($exe.exe)\"" || fail "firewall rule for $exe not deleted"
done
[[ ! -e $dir ]] || fail "left behind: $(find "$dir" | tr '\n' ' ')"
[[ -z $(find "$menu" -maxdepth 1 -name '*.lnk') ]] || fail "the shortcut is left"
pc "$wine" reg query "$key" /reg:64 >/dev/null 2>&1 && fail "the Uninstall key is left"

((failures == 0)) || exit 1
echo "PASS: silent install, shortcut, Uninstall key, firewall rules and a clean uninstall"
