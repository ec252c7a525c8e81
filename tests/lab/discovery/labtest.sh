# Shared set-up of the discovery lab tests; sourced by each test script.
# Gives every test a fresh lab (prefix $P) and a scratch folder ($WORK), both
# removed on exit whatever happens, and helpers to run units and scans.

set -u
: "${MRV_BUILD_DIR:?run through ctest (MRV_BUILD_DIR unset)}"
: "${MRV_SOURCE_DIR:?run through ctest (MRV_SOURCE_DIR unset)}"
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"

NAS_SIM=$MRV_BUILD_DIR/tools/nas-sim/nas-sim
FIND=$MRV_BUILD_DIR/app/mrv7k2-find
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
PY=/usr/bin/python3
[[ -x $PY ]] || PY=python3

if ! lab_check; then
    echo "SKIP: the lab cannot be built here (see above)"
    exit 77
fi
for exe in "$NAS_SIM" "$FIND"; do
    [[ -x $exe ]] || fail "$exe is not built"
done

# A scan lasts 3000 ms; its wall time here includes the program's start. Qt's
# default (coarse) timers may fire up to 5 % early, hence the lower bound.
MIN_SCAN_MS=2800

WORK=$(mktemp -d /tmp/mrv-labtest.XXXXXX)
P=""
UNIT_PIDS=()
SANITIZER_RE='ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:'

# Stops the units (so a sanitizer build reports leaks on their way out), fails
# the test on any sanitizer report, and removes the lab and the scratch folder.
labtest_cleanup() {
    local status=$? pid i
    for pid in "${UNIT_PIDS[@]}"; do
        kill -TERM "$pid" 2>/dev/null
    done
    for ((i = 0; i < 40; i++)); do
        pid=""
        for pid in "${UNIT_PIDS[@]}"; do
            kill -0 "$pid" 2>/dev/null && break
            pid=""
        done
        [[ -z $pid ]] && break
        sleep 0.05
    done
    if grep -lE "$SANITIZER_RE" "$WORK"/*.out "$WORK"/*.err 2>/dev/null; then
        grep -hE -A20 "$SANITIZER_RE" "$WORK"/*.out "$WORK"/*.err | head -60
        echo "FAIL: sanitizer report above"
        status=1
    fi
    [[ -n $P ]] && lab_down "$P"
    rm -rf "$WORK"
    exit "$status"
}
trap labtest_cleanup EXIT

# new_lab [lab_up options]: tears down the previous lab of this test, builds a new one.
new_lab() {
    [[ -n $P ]] && lab_down "$P"
    P=$(lab_prefix) || fail "no lab prefix"
    lab_up "$P" "$@" || fail "lab_up $*"
}

# unit NAME ADDR/LEN [GATEWAY|none] [--segment N] -- nas-sim options...
# Joins a host and starts a simulated unit in it; returns once its port is bound.
# Its log is $WORK/NAME.log.
unit() {
    local name=$1
    shift
    local hostargs=()
    while (($#)) && [[ $1 != -- ]]; do
        hostargs+=("$1")
        shift
    done
    [[ ${1:-} == -- ]] && shift
    lab_host "$P" "$name" "${hostargs[@]}" || fail "lab_host $name"
    lab_exec "$P" "$name" "$NAS_SIM" --log "$WORK/$name.log" --ready-file "$WORK/$name.ready" \
        --lifetime 300 "$@" >"$WORK/$name.out" 2>&1 &
    UNIT_PIDS+=($!)
    local i
    for ((i = 0; i < 100; i++)); do
        [[ -e $WORK/$name.ready ]] && return 0
        sleep 0.05
    done
    cat "$WORK/$name.out"
    fail "unit $name did not start"
}

# shared_dir: $SHARED, a folder in $WORK that programs of other users may write.
shared_dir() {
    SHARED=$WORK/shared
    chmod 711 "$WORK"
    mkdir -p -m 1777 "$SHARED"
}

# wait_file FILE: waits up to 5 s for FILE to appear.
wait_file() {
    local i
    for ((i = 0; i < 100; i++)); do
        [[ -e $1 ]] && return 0
        sleep 0.05
    done
    return 1
}

# scan [mrv7k2-find options]: one scan from the PC. Sets SCAN_RC and SCAN_MS;
# the JSON is in $WORK/scan.json, stderr in $WORK/scan.err.
scan() {
    local t0 t1
    t0=$(date +%s%N)
    lab_exec "$P" pc timeout 30 "$FIND" --json "$@" >"$WORK/scan.json" 2>"$WORK/scan.err"
    SCAN_RC=$?
    t1=$(date +%s%N)
    SCAN_MS=$(((t1 - t0) / 1000000))
    export SCAN_MS
    if grep -qE "$SANITIZER_RE" "$WORK/scan.err"; then
        cat "$WORK/scan.err"
        fail "mrv7k2-find: sanitizer report"
    fi
    if ((SCAN_RC >= 124)); then
        cat "$WORK/scan.err"
        fail "mrv7k2-find ended abnormally (status $SCAN_RC)"
    fi
}

# assert_scan PYTHON: stops the test unless the assertions hold. They see `j`
# (the scan's JSON), `recs` (its records), `logs(name)` (a unit's log lines as
# dicts) and `err` (scan stderr).
assert_scan() {
    "$PY" - "$WORK" "$1" <<'PYEOF' || fail "scan check failed"
import json, sys, os
work, code = sys.argv[1], sys.argv[2]
try:
    j = json.load(open(os.path.join(work, "scan.json"), encoding="utf-8"))
except Exception as e:
    print("scan output is not JSON:", e); print(open(os.path.join(work, "scan.json"), encoding="utf-8", errors="replace").read()); sys.exit(1)
recs = j.get("records", [])
err = open(os.path.join(work, "scan.err"), encoding="utf-8", errors="replace").read()
def logs(name):
    return [json.loads(l) for l in open(os.path.join(work, name + ".log"), encoding="utf-8")]
def field(name):
    return [r[name] for r in recs]
try:
    exec(code)
except AssertionError as e:
    print("assertion failed:", e)
    print(json.dumps(j, ensure_ascii=False, indent=1)[:4000])
    sys.exit(1)
PYEOF
}
