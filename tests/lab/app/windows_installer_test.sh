#!/usr/bin/env bash
# The Windows installer under wine, in the lab's PC namespace. It is packaged
# here from the Windows build, signed with a certificate made for this run:
# both programs, the installer and the uninstaller verify. A folder outside
# Program Files is refused; a silent install puts the zip's files under
# Program Files, a Start-menu shortcut for all users, a complete Apps &
# Features entry and the firewall rules (wine's netsh is a stub, so what is
# checked is the commands netsh received); the installed mrv7k2-find.exe
# finds a simulated unit; while mrv7k2-setup.exe runs, installing and
# uninstalling are refused with a non-zero code; an upgrade through the
# installer's pages starts the program through the shell, never itself; a
# silent uninstall leaves no file, shortcut or key and deletes the rules.
# Every wine process, the wineserver and wine's services included, starts in
# the lab, and so does its display.
# Usage: windows_installer_test.sh VERSION APP-ID
set -u
version=$1 app_id=$2
base=mrv7k2-setup-$version-windows-x64
windows=${MRV_WINDOWS_BUILD_DIR:-$MRV_SOURCE_DIR/build-windows}
nas_sim=$MRV_BUILD_DIR/tools/nas-sim/nas-sim
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tools/lab/wine.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
wine_check || exit 77
# Its own wine environment, not wine_exec's: some runs tell wine to prefer
# DLLs planted beside the programs (WINEDLLOVERRIDES below).
wine=$WINE_BIN wineserver=$WINESERVER_BIN
[[ -f $windows/app/mrv7k2-setup.exe ]] ||
    { echo "SKIP: no Windows build at $windows (bash scripts/build windows)"; exit 77; }
for tool in unzip osslsigncode openssl Xvfb xdotool; do
    command -v $tool >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
lab_check || exit 77
P=$(lab_prefix) || exit 1
work=$MRV_BUILD_DIR/windows-installer-test
rm -rf "$work"
mkdir -p "$work" || exit 1
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The prefix (700 MB) stays only when something failed, to be looked at.
trap 'lab_exec "$P" pc timeout 20 "$wineserver" -k 2>/dev/null; [[ -n ${WINE_XVFB:-} ]] && kill "$WINE_XVFB"
      lab_down "$P"; ((SCRIPT_TEST_FAILURES)) || rm -rf "$work"' EXIT

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

# A throwaway code-signing certificate; nothing of it outlives the run.
(
    cd "$work" || exit 1
    openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 1 \
        -subj "/CN=MRV-7K2 throwaway signer" -addext extendedKeyUsage=codeSigning &&
        head -c 18 /dev/urandom | base64 >pass &&
        openssl pkcs12 -export -inkey key.pem -in cert.pem -passout file:pass -out cert.pfx
) >/dev/null 2>&1 || fail "no throwaway certificate"
start=$(date +%s)
MRV_SIGN_PKCS12=$work/cert.pfx MRV_SIGN_PASSWORD_FILE=$work/pass MRV_DIST_DIR=$work/dist \
    MRV_WINDOWS_BUILD_DIR=$windows "$MRV_SOURCE_DIR/scripts/package-windows" >"$work/package.log" 2>&1 ||
    { tail -n 20 "$work/package.log"; fail "scripts/package windows (above)"; }
echo "signed package: $(($(date +%s) - start)) s"
installer=$work/dist/$base-installer.exe
unzip -q "$work/dist/$base.zip" -d "$work/zip" || exit 1
signed() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >/dev/null 2>&1 || count_fail "$2 is not signed"; }
signed "$installer" "the installer"
signed "$work/zip/$base/mrv7k2-setup.exe" "mrv7k2-setup.exe"
signed "$work/zip/$base/mrv7k2-find.exe" "mrv7k2-find.exe"

# A zip unpacked in Downloads may sit beside a planted DLL. The programs
# import only KnownDLLs, which Windows takes from System32 alone; the other
# system DLLs are delay-loaded after the search is limited to System32.
known=" advapi32.dll combase.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll
       oleaut32.dll rpcrt4.dll sechost.dll setupapi.dll shcore.dll shell32.dll shlwapi.dll
       user32.dll ws2_32.dll "
delayed=$(sed -n '/^set(MRV_DELAY_LOADED_DLLS/,/)/p' "$MRV_SOURCE_DIR/cmake/SystemDllsOnly.cmake" |
    sed 's/set(MRV_DELAY_LOADED_DLLS//; s/)//' | xargs)
for exe in mrv7k2-setup.exe mrv7k2-find.exe; do
    # An empty import list means objdump failed, not that all is well.
    imports=$(x86_64-w64-mingw32-objdump -p "$work/zip/$base/$exe" |
        sed -n -E 's/^\s*DLL Name: (.*)$/\L\1/p')
    [[ $imports == *kernel32.dll* ]] || count_fail "no imports read from $exe"
    for dll in $imports; do
        [[ ${known//[$'\n']/ } == *" $dll "* || $dll == api-ms-win-* ]] ||
            count_fail "$exe imports $dll, which Windows looks for beside the exe first"
    done
done
# The attack: every delay-loaded DLL planted beside the programs, and wine
# told to prefer such a copy to its own. Not version.dll and uxtheme.dll:
# wine's own user32 loads them by name, whatever program runs (Windows'
# user32, a KnownDLL, takes them from System32).
cat >"$work/planted.c" <<'EOF_C'
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID unused)
{
    char path[MAX_PATH + 8];
    DWORD n = GetModuleFileNameA(self, path, MAX_PATH);
    (void)unused;
    if (reason == DLL_PROCESS_ATTACH && n > 0 && n < MAX_PATH) {
        lstrcatA(path, ".loaded");
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    }
    return TRUE;
}
EOF_C
x86_64-w64-mingw32-gcc -shared -o "$work/planted.dll" "$work/planted.c" || exit 1
native_first="mscoree,mshtml=;winemenubuilder.exe=d"
for dll in $delayed; do
    [[ $dll == version || $dll == uxtheme ]] && continue
    cp "$work/planted.dll" "$work/zip/$base/$dll.dll"
    native_first+=";$dll=n,b"
done

lab_up "$P" || exit 1
# The program and the installer's pages need a display: one in the lab.
wine_display "$P" "$work" || fail "no display"
start=$(date +%s)
pc "$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot"
settle

# Outside Program Files any user could swap the programs: refused, nothing written.
pc "$wine" "$installer" /S '/D=C:\Tools\MRV-7K2' >/dev/null 2>&1 && count_fail "/D=C:\Tools accepted"
settle
[[ -e $WINEPREFIX/drive_c/Tools ]] && count_fail "/D=C:\Tools wrote: $(find "$WINEPREFIX/drive_c/Tools" | tr '\n' ' ')"

install_log=$(netsh_trace "$installer" /S) || count_fail "installer exit status $?"
settle
echo "prefix and silent installs: $(($(date +%s) - start)) s"

# The installed files are the zip's, byte for byte.
for f in mrv7k2-setup.exe mrv7k2-find.exe LICENSE.txt README.txt; do
    cmp -s "$work/zip/$base/$f" "$dir/$f" || count_fail "installed $f differs from the zip's or is missing"
done
[[ -f $dir/uninstall.exe ]] || count_fail "no uninstall.exe"
signed "$dir/uninstall.exe" "the uninstaller"
lnk=$(find "$menu" -maxdepth 1 -name '*.lnk' -printf '%f\n')
[[ $lnk == "MRV-7K2 Setup.lnk" ]] || count_fail "all-users Start menu holds '$lnk'"
grep -qaF 'MRV-7K2 Setup\mrv7k2-setup.exe' "$menu/$lnk" 2>/dev/null ||
    count_fail "the shortcut does not point at the installed program"

inst='C:\Program Files\MRV-7K2 Setup'
expect_value() { [[ $(reg_value "$1") == "$2" ]] || count_fail "$1 is '$(reg_value "$1")', not '$2'"; }
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
    count_fail "EstimatedSize ${size_kb} KB for $bytes bytes installed"

# wine's trace doubles each backslash.
traced_inst=${inst//\\/\\\\}
# Each program: any UDP on private and domain networks, the reply port alone
# on public ones.
rules=$(grep -F '"add" L"rule"' <<<"$install_log")
for exe in mrv7k2-setup mrv7k2-find; do
    for rule in "($exe.exe)\" L\"dir=in\" L\"action=allow\" L\"program=$traced_inst\\\\$exe.exe\" L\"profile=private,domain\" L\"protocol=UDP\" L\"enable" \
        "($exe.exe) public\" L\"dir=in\" L\"action=allow\" L\"program=$traced_inst\\\\$exe.exe\" L\"profile=public\" L\"protocol=UDP\" L\"localport=12310\" L\"enable"; do
        grep -qF "L\"name=MRV-7K2 Setup $rule" <<<"$rules" || count_fail "no firewall rule 'MRV-7K2 Setup $rule'"
    done
done
((${#rules} > 0 && $(wc -l <<<"$rules") == 4)) || count_fail "not four firewall rules:"$'\n'"$rules"

# The installed console program in the lab finds a simulated unit.
installed_find=$dir/mrv7k2-find.exe
[[ -x $nas_sim ]] || fail "no simulated unit at $nas_sim (build nas-sim)"
lab_host "$P" u1 192.168.1.50/24 || exit 1
lab_exec "$P" u1 "$nas_sim" --identity 00:80:87:00:00:50 --ip 192.168.1.50 \
    --ready-file "$work/u1.ready" --lifetime 120 >"$work/u1.out" 2>&1 &
for ((i = 0; i < 50; i++)); do
    [[ -e $work/u1.ready ]] && break
    sleep 0.1
done
found=$(pc_text "$wine" "$installed_find") || count_fail "installed mrv7k2-find exit $?"
WINEDLLOVERRIDES=$native_first pc_text "$wine" "$work/zip/$base/mrv7k2-find.exe" >/dev/null ||
    count_fail "the zip's mrv7k2-find.exe beside planted DLLs: exit $?"
grep -q '^1 .*00:80:87:00:00:50  192\.168\.1\.50 ' <<<"$found" ||
    count_fail "installed mrv7k2-find did not find the unit:"$'\n'"$found"

# While the program runs (the zip's, beside the planted DLLs), neither an
# upgrade nor an uninstall touches the installed one.
WINEDLLOVERRIDES=$native_first pc env DISPLAY="$DISPLAY" "$wine" "$work/zip/$base/mrv7k2-setup.exe" \
    >"$work/program.log" 2>&1 &
program=$!
for ((i = 0; i < 60; i++)); do
    lab_exec "$P" pc xdotool search --name '^MRV-7K2$' >/dev/null 2>&1 && break
    sleep 0.5
done
pc "$wine" "$installer" /S >/dev/null 2>&1
status=$?
((status == 170)) || count_fail "installing over the running program: exit $status, not 170 (busy)"
# _?= runs the uninstaller in place (no copy that returns at once); its value
# is taken unquoted, so here a folder without spaces that holds nothing.
pc "$wine" "$dir/uninstall.exe" /S '_?=C:\Nothing' >/dev/null 2>&1
status=$?
((status == 170)) || count_fail "uninstalling the running program: exit $status, not 170 (busy)"
[[ -f $dir/mrv7k2-setup.exe && -f $dir/uninstall.exe ]] || count_fail "files went while the program ran"
pc "$wine" taskkill /f /im mrv7k2-setup.exe >/dev/null 2>&1
wait "$program"
settle
planted=$(find "$work/zip/$base" -name '*.loaded' -printf '%f ')
[[ -z $planted ]] || count_fail "the programs loaded planted DLLs: $planted"

# An upgrade through the pages (Enter on each; "Run" is ticked on the last)
# starts the program through explorer.exe, not elevated from the installer.
WINEDEBUG=-all,+pid,trace+process pc env DISPLAY="$DISPLAY" "$wine" "$installer" >"$work/pages.log" 2>&1 &
pages=$!
for ((i = 0; i < 60; i++)); do
    kill -0 "$pages" 2>/dev/null || break
    window=$(lab_exec "$P" pc xdotool search --name 'MRV-7K2 Setup' 2>/dev/null | tail -n 1)
    [[ -n $window ]] && lab_exec "$P" pc xdotool windowfocus --sync "$window" key Return 2>/dev/null
    sleep 1
done
kill -0 "$pages" 2>/dev/null && count_fail "the installer's pages did not finish on Enter"
wait "$pages"
# CREATOR-PID for each process started: "PID:TID:trace:process:CreateProcessInternalW ... cmdline L"...".
creators() { tr -d '\r' <"$work/pages.log" | grep -F ':CreateProcessInternalW ' |
    grep -F "cmdline L\"$1\"" | cut -d: -f1 | sort -u; }
program_cmd="\\\"$traced_inst\\\\mrv7k2-setup.exe\\\""
through_shell=$(creators "\\\"C:\\\\windows\\\\explorer.exe\\\" $program_cmd")
[[ -n $through_shell ]] || count_fail "the finish page did not start the program through explorer.exe"
[[ -n $(creators "$program_cmd") ]] || count_fail "explorer.exe did not start the program"
[[ -n $through_shell && $(creators "$program_cmd") == *"$through_shell"* ]] &&
    count_fail "the installer started the program itself"
pc "$wineserver" -k
settle

uninstall_log=$(netsh_trace "$dir/uninstall.exe" /S) || count_fail "uninstaller exit status $?"
settle
for rule in "(mrv7k2-setup.exe)" "(mrv7k2-setup.exe) public" "(mrv7k2-find.exe)" "(mrv7k2-find.exe) public"; do
    grep -F '"delete" L"rule"' <<<"$uninstall_log" |
        grep -qF "L\"name=MRV-7K2 Setup $rule\"" || count_fail "firewall rule '$rule' not deleted"
done
[[ ! -e $dir ]] || count_fail "left behind: $(find "$dir" | tr '\n' ' ')"
[[ -z $(find "$menu" -maxdepth 1 -name '*.lnk') ]] || count_fail "the shortcut is left"
pc "$wine" reg query "$key" /reg:64 >/dev/null 2>&1 && count_fail "the Uninstall key is left"

checks_done "PASS: signed, Program Files only, silent install, shortcut, Uninstall key, firewall rules, refused while running, the program started as the user, a clean uninstall"
