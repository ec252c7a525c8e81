# Shared by the settings lab tests: a lab with the PC, units under nas-sim, the
# dialog driver inside the PC's namespace, and JSON checks. Sourced.
set -u
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
lab_check || exit 77

SIM="$MRV_BUILD_DIR/tools/nas-sim/nas-sim"
DRIVER="$MRV_BUILD_DIR/tests/lab/settings/form3-lab-driver"
FIND="$MRV_BUILD_DIR/app/mrv7k2-find"
for tool in "$SIM" "$DRIVER" "$FIND"; do
    [[ -x $tool ]] || { echo "SKIP: $tool is not built"; exit 77; }
done

WORK=$(mktemp -d)
P=$(lab_prefix) || exit 1
trap 'lab_down "$P"; rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen

# check DESCRIPTION PYTHON-EXPRESSION JSON-FILE: counts a failure and goes on.
check() { check_json "$1" "$2" "$(<"$3")"; }

# start_unit NAME ARGS...: nas-sim in host NAME, logging to $WORK/NAME.log.
start_unit() {
    local name=$1
    shift
    lab_exec "$P" "$name" "$SIM" --log "$WORK/$name.log" --ready-file "$WORK/$name.ready" \
        --lifetime 300 "$@" >"$WORK/$name.out" 2>&1 &
    for _ in $(seq 50); do
        [[ -e $WORK/$name.ready ]] && return 0
        sleep 0.1
    done
    fail "nas-sim in $name did not start"
}

# drive OUT ARGS...: the dialog driver in the PC's namespace; its JSON into OUT.
drive() {
    local out=$1
    shift
    lab_exec "$P" pc "$DRIVER" "$@" >"$out" 2>"$out.err" || fail "driver: $(cat "$out.err")"
}

# setup_requests NAME: the setup requests the unit received, one JSON list.
setup_requests() {
    python3 - "$WORK/$1.log" <<'PY'
import json, sys
reqs = []
for line in open(sys.argv[1]):
    e = json.loads(line)
    if e.get("dir") == "in" and bytes.fromhex(e["hex"]).startswith(b"0C02S"):
        reqs.append(e["hex"])
print(json.dumps(reqs))
PY
}
