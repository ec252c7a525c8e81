# Shared by the settings lab tests: a lab with the PC, units under nas-sim, the
# dialog driver inside the PC's namespace, and JSON checks. Sourced.
set -u
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
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

fails=0
check() { # check DESCRIPTION PYTHON-EXPRESSION JSON-FILE
    if python3 - "$3" "$2" <<'PY'; then echo "PASS: $1"; else echo "FAIL: $1"; fails=$((fails + 1)); fi
import json, sys
with open(sys.argv[1]) as f:
    d = json.load(f)
ok = eval(sys.argv[2], {"d": d})
if not ok:
    print(json.dumps(d, ensure_ascii=False, indent=1), file=sys.stderr)
sys.exit(0 if ok else 1)
PY
}

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
    echo "FAIL: nas-sim in $name did not start"
    exit 1
}

# drive OUT ARGS...: the dialog driver in the PC's namespace; its JSON into OUT.
drive() {
    local out=$1
    shift
    lab_exec "$P" pc "$DRIVER" "$@" >"$out" 2>"$out.err" || {
        echo "FAIL: driver: $(cat "$out.err")"
        exit 1
    }
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

finish() {
    if ((fails)); then
        echo "$fails check(s) failed"
        exit 1
    fi
    echo "all checks passed"
}
