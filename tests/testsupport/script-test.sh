# Shared by the script tests under tests/lab, tests/e2e and tests/package:
# the two ways a check fails, a JSON check, polling and the end of a test.
# Sourced; the wine preamble is tools/lab/wine.sh.
#
#   fail MESSAGE          stops the test at once (what follows depends on it);
#                         runs the test's own on_fail first when it has one
#   count_fail MESSAGE    counts a failure and goes on with the next check
#   check_json LABEL PYTHON-EXPRESSION JSON
#                         counts a failure when the expression, over the JSON
#                         text as d, is false
#   until_true SECONDS CMD...  polls CMD every 0.1 s, at most SECONDS
#   checks_done [PASS-MESSAGE] ends the test: status 1 with the number of
#                         failures counted, else 0 with PASS-MESSAGE
#
# count_fail inside $( ) or a pipe counts in a subshell and is lost: call it
# in the test's own shell.

SCRIPT_TEST_FAILURES=0
SCRIPT_TEST_CHECKS=0

fail() {
    echo "FAIL: $*" >&2
    if declare -F on_fail >/dev/null; then
        on_fail
    fi
    exit 1
}

count_fail() {
    echo "FAIL: $*" >&2
    SCRIPT_TEST_FAILURES=$((SCRIPT_TEST_FAILURES + 1))
}

check_json() {
    SCRIPT_TEST_CHECKS=$((SCRIPT_TEST_CHECKS + 1))
    if python3 - "$2" "$3" <<'PY'; then echo "ok: $1"; else count_fail "$1: expected $2"; fi
import json, sys
try:
    d = json.loads(sys.argv[2])
except ValueError as e:
    print("not JSON:", e, sys.argv[2][:2000], file=sys.stderr)
    sys.exit(1)
# In parentheses, so that an expression may span lines.
ok = eval("(" + sys.argv[1] + "\n)", {"d": d})
if not ok:
    print(json.dumps(d, ensure_ascii=False, indent=1)[:4000], file=sys.stderr)
sys.exit(0 if ok else 1)
PY
}

until_true() {
    local limit=$1 i
    shift
    for ((i = 0; i < limit * 10; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

checks_done() {
    if ((SCRIPT_TEST_FAILURES)); then
        echo "$SCRIPT_TEST_FAILURES check(s) failed" >&2
        exit 1
    fi
    echo "${1:-all checks passed}"
    exit 0
}
