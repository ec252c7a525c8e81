#!/usr/bin/env bash
# A private network of namespaces for tests that send broadcasts, datagrams to
# units or ICMP probes. Nothing here touches the machine's own interfaces: every
# link is made inside namespaces named after a per-run prefix.
#
# Two ways to use it (see tools/lab/README.md):
#   tools/lab/lab.sh up mrv1a2b            # command line
#   source tools/lab/lab.sh; lab_up "$P"   # sourced, for test scripts
#
# Layout of one lab with prefix P:
#   P-br    holds the LAN segments: bridge br1 (segment 1) and br2 (segment 2)
#   P-pc    the PC: eth0 on segment 1, 192.168.1.37/24, default via 192.168.1.1
#   P-gw    the gateway: 192.168.1.1/24 (plus any "taken" addresses), answers ping
#   P-NAME  one namespace per further host (units), joined by veth pairs
# Interfaces inside a host are eth0, eth1, ... in the order they were added;
# the bridge-side ends are p1, p2, ... inside P-br, so no name ever exists
# outside the lab's namespaces and none is longer than 15 characters.

LAB_STATE_ROOT=${LAB_STATE_ROOT:-/run/mrv-lab}
# Prefixes this tool hands out: "mrv" and four hex digits.
LAB_PREFIX_RE='^mrv[0-9a-f]{4}$'
# A lab left without a recorded owner is swept only after this many seconds, so
# a lab being built right now by another run is never taken down.
LAB_ORPHAN_AGE=${LAB_ORPHAN_AGE:-600}

lab__err() { echo "lab: $*" >&2; }

lab__valid_prefix() {
    if [[ ! $1 =~ $LAB_PREFIX_RE ]]; then
        lab__err "bad prefix '$1' (expected mrv + 4 hex digits, e.g. from 'lab.sh prefix')"
        return 1
    fi
}

lab__valid_name() {
    if [[ ! $1 =~ ^[a-z][a-z0-9]{0,11}$ ]]; then
        lab__err "bad host name '$1' (lower-case letters and digits, at most 12, letter first)"
        return 1
    fi
}

lab_ns() { echo "$1-$2"; }

lab__ns_exists() { [[ -e /run/netns/$1 ]]; }

lab__state() { echo "$LAB_STATE_ROOT/$1"; }

# A fresh prefix that no lab uses yet.
lab_prefix() {
    local p i
    for ((i = 0; i < 50; i++)); do
        p=$(printf 'mrv%04x' $((RANDOM % 65536)))
        if [[ ! -d $(lab__state "$p") ]] && ! lab__ns_exists "$p-br"; then
            echo "$p"
            return 0
        fi
    done
    lab__err "no free prefix found"
    return 1
}

# Exit status 0 when namespaces, veth pairs and bridges can be made here; 77 with
# the reason on stderr otherwise (the test runner's "skipped").
lab_check() {
    local why="" t
    if [[ $(id -u) != 0 ]]; then
        why="not root (the lab needs CAP_NET_ADMIN and CAP_SYS_ADMIN)"
    elif ! command -v ip >/dev/null; then
        why="iproute2 ('ip') is not installed"
    else
        t="mrvchk$$"
        if ! ip netns add "$t" 2>/dev/null; then
            why="cannot create a network namespace (ip netns add failed)"
        elif ! ip -n "$t" link add b0 type bridge 2>/dev/null; then
            why="cannot create a bridge inside a namespace"
        elif ! ip -n "$t" link add v0 type veth peer name v1 2>/dev/null; then
            why="cannot create a veth pair inside a namespace"
        elif ! ip netns exec "$t" true 2>/dev/null; then
            why="cannot run a program inside a namespace (ip netns exec failed)"
        fi
        ip netns del "$t" 2>/dev/null
    fi
    if [[ -n $why ]]; then
        echo "lab unavailable: $why" >&2
        return 77
    fi
    return 0
}

lab__sysctl() { ip netns exec "$1" sysctl -qw "$2" >/dev/null; }

# A namespace with lo up and IPv6 off (no router solicitations or DAD chatter on
# the segments: the program and the units speak IPv4 only).
lab__new_ns() {
    local ns=$1
    ip netns add "$ns" || return 1
    lab__sysctl "$ns" net.ipv6.conf.all.disable_ipv6=1
    lab__sysctl "$ns" net.ipv6.conf.default.disable_ipv6=1
    ip -n "$ns" link set lo up
}

# Next free number in a per-lab counter file.
lab__next() {
    local f
    f="$(lab__state "$1")/$2"
    local n=0
    [[ -f $f ]] && n=$(<"$f")
    n=$((n + 1))
    echo "$n" >"$f"
    echo "$n"
}

# Takes down every lab whose owner process is gone, and old labs with no owner
# record at all. Labs of live runs are never touched.
lab_sweep() {
    local d p owner ns age now
    now=$(date +%s)
    if [[ -d $LAB_STATE_ROOT ]]; then
        for d in "$LAB_STATE_ROOT"/mrv*; do
            [[ -d $d ]] || continue
            p=${d##*/}
            [[ $p =~ $LAB_PREFIX_RE ]] || continue
            owner=$(cat "$d/owner" 2>/dev/null)
            if [[ -n $owner ]] && kill -0 "$owner" 2>/dev/null; then
                continue
            fi
            lab_down "$p"
        done
    fi
    for ns in /run/netns/mrv*-br; do
        [[ -e $ns ]] || continue
        p=${ns##*/}
        p=${p%-br}
        [[ $p =~ $LAB_PREFIX_RE ]] || continue
        [[ -d $(lab__state "$p") ]] && continue
        age=$((now - $(stat -c %Y "$ns")))
        ((age > LAB_ORPHAN_AGE)) && lab_down "$p"
    done
    return 0
}

# lab_up PREFIX [--pc ADDR/LEN] [--gateway GW|none] [--no-gw-host] [--ping-group]
# Builds the segments, the PC and the gateway. The gateway host takes the PC's
# gateway address (192.168.1.1 unless --gateway says otherwise).
lab_up() {
    local p=$1
    shift
    lab__valid_prefix "$p" || return 1
    local pc=192.168.1.37/24 gw=192.168.1.1 gwhost=1 pinggroup=0
    while (($#)); do
        case $1 in
        --pc) pc=$2; shift 2 ;;
        --gateway) gw=$2; shift 2 ;;
        --no-gw-host) gwhost=0; shift ;;
        --ping-group) pinggroup=1; shift ;;
        *) lab__err "lab_up: unknown option '$1'"; return 1 ;;
        esac
    done
    lab_sweep
    if lab__ns_exists "$p-br"; then
        lab__err "lab $p already exists"
        return 1
    fi
    local st
    st=$(lab__state "$p")
    mkdir -p "$st" || return 1
    echo "${LAB_OWNER_PID:-$$}" >"$st/owner"
    lab__new_ns "$p-br" || { lab_down "$p"; return 1; }
    local b
    for b in br1 br2; do
        ip -n "$p-br" link add "$b" type bridge stp_state 0 forward_delay 0 &&
            ip -n "$p-br" link set "$b" up || { lab_down "$p"; return 1; }
    done
    lab_host "$p" pc "$pc" "$gw" || { lab_down "$p"; return 1; }
    if ((pinggroup)); then
        lab_ping_group "$p" pc || { lab_down "$p"; return 1; }
    fi
    if ((gwhost)) && [[ $gw != none ]]; then
        lab_host "$p" gw "$gw/${pc#*/}" none || { lab_down "$p"; return 1; }
    fi
    return 0
}

# lab_host PREFIX NAME ADDR/LEN [GATEWAY|none] [--segment N]
# Joins host NAME to segment N (1 or 2; default 1) by a new veth pair. A new
# host gets its namespace; an existing one gets one more adapter (eth1, ...).
# Without GATEWAY the host gets an on-link default route ("default dev ethN"),
# enough to send a limited broadcast; "none" leaves it without a default route.
# A second default route through another adapter gets a higher metric.
lab_host() {
    local p=$1 name=$2 addr=$3
    shift 3
    local gw="" seg=1
    if (($#)) && [[ $1 != --* ]]; then
        gw=$1
        shift
    fi
    while (($#)); do
        case $1 in
        --segment) seg=$2; shift 2 ;;
        *) lab__err "lab_host: unknown option '$1'"; return 1 ;;
        esac
    done
    lab__valid_prefix "$p" && lab__valid_name "$name" || return 1
    [[ $name != br ]] || { lab__err "host name br is the segments' own"; return 1; }
    [[ $seg == 1 || $seg == 2 ]] || { lab__err "segment must be 1 or 2"; return 1; }
    [[ $addr == */* ]] || { lab__err "address '$addr' needs a /LEN"; return 1; }
    lab__ns_exists "$p-br" || { lab__err "lab $p is not up"; return 1; }
    local ns="$p-$name"
    if ! lab__ns_exists "$ns"; then
        lab__new_ns "$ns" || return 1
    fi
    local port dev idx
    port="p$(lab__next "$p" ports)"
    idx=$(ip -n "$ns" -o link show type veth 2>/dev/null | wc -l)
    dev="eth$idx"
    ip -n "$p-br" link add "$port" type veth peer name "$dev" netns "$ns" &&
        ip -n "$p-br" link set "$port" master "br$seg" &&
        ip -n "$p-br" link set "$port" up &&
        ip -n "$ns" addr add "$addr" dev "$dev" &&
        ip -n "$ns" link set "$dev" up || return 1
    local metric=$((idx * 100))
    if [[ -z $gw ]]; then
        ip -n "$ns" route add default dev "$dev" metric "$metric" || return 1
    elif [[ $gw != none ]]; then
        ip -n "$ns" route add default via "$gw" dev "$dev" metric "$metric" || return 1
    fi
    return 0
}

# lab_addr PREFIX NAME ADDR/LEN [--dev ethN]: one more address on a host.
lab_addr() {
    local p=$1 name=$2 addr=$3 dev=eth0
    shift 3
    [[ ${1:-} == --dev ]] && dev=$2
    lab__ns_exists "$p-$name" || { lab__err "no host $name in lab $p"; return 1; }
    ip -n "$p-$name" addr add "$addr" dev "$dev"
}

# lab_exec PREFIX NAME CMD...: runs CMD inside the host's namespace.
lab_exec() {
    local p=$1 name=$2
    shift 2
    lab__ns_exists "$p-$name" || { lab__err "no host $name in lab $p"; return 1; }
    ip netns exec "$p-$name" "$@"
}

# lab_exec_nobody PREFIX NAME CMD...: as lab_exec, run by the user nobody (any
# other local user of the PC, no privilege, no groups).
lab_exec_nobody() {
    local p=$1 name=$2
    shift 2
    lab_exec "$p" "$name" setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
}

# lab_mute PREFIX NAME: the host ignores ICMP echo requests but still answers ARP.
lab_mute() { lab__sysctl "$1-$2" net.ipv4.icmp_echo_ignore_all=1; }

# lab_ping_group PREFIX NAME [RANGE]: lets these groups open unprivileged ICMP
# sockets (a new namespace allows none: "1 0").
lab_ping_group() { lab__sysctl "$1-$2" "net.ipv4.ping_group_range=${3:-0 2147483647}"; }

# lab_loss PREFIX NAME PERCENT: the host drops that share of the exchange's
# datagrams each way, at random and independently: requests arriving on UDP
# 12311 and replies leaving for UDP 12310. 0 removes the rules. Needs nft.
lab_loss() {
    local ns="$1-$2" pct=$3
    lab__ns_exists "$ns" || { lab__err "no host $2 in lab $1"; return 1; }
    [[ $pct =~ ^[0-9]+$ ]] && ((pct <= 100)) || { lab__err "loss must be 0 to 100"; return 1; }
    command -v nft >/dev/null || { lab__err "nft (package nftables) is not installed"; return 1; }
    ip netns exec "$ns" nft delete table inet mrvloss 2>/dev/null
    ((pct == 0)) && return 0
    ip netns exec "$ns" nft -f - <<EOF
table inet mrvloss {
    chain requests {
        type filter hook input priority 0; policy accept;
        udp dport 12311 numgen random mod 100 < $pct drop
    }
    chain replies {
        type filter hook output priority 0; policy accept;
        udp dport 12310 numgen random mod 100 < $pct drop
    }
}
EOF
}

# lab_unplug PREFIX NAME [DEV]: pulls the cable of a host's adapter (default
# eth0): its bridge-side peer goes down, so the adapter stays UP with its
# address and routes but has no carrier (NO-CARRIER), as an unplugged one does.
lab_unplug() {
    local p=$1 name=$2 dev=${3:-eth0} peer port
    lab__ns_exists "$p-$name" || { lab__err "no host $name in lab $p"; return 1; }
    peer=$(ip -n "$p-$name" -o link show "$dev" 2>/dev/null | sed -n 's/^[0-9]*: [^@]*@if\([0-9]*\):.*/\1/p')
    [[ -n $peer ]] || { lab__err "no veth adapter $dev on $name"; return 1; }
    port=$(ip -n "$p-br" -o link show 2>/dev/null | sed -n "s/^$peer: \([^@:]*\)[@:].*/\1/p")
    [[ -n $port ]] || { lab__err "no bridge port for $name $dev"; return 1; }
    ip -n "$p-br" link set "$port" down || return 1
    # The kernel reports the lost carrier a moment later (link watch).
    local i
    for ((i = 0; i < 40; i++)); do
        ip -n "$p-$name" -o link show "$dev" | grep -q NO-CARRIER && return 0
        sleep 0.05
    done
    lab__err "$name $dev still has a carrier"
    return 1
}

# lab_down PREFIX: ends the processes left inside the lab's namespaces and removes
# every namespace (and with it every link) of the prefix. Safe to repeat.
lab_down() {
    local p=$1 ns pid i
    lab__valid_prefix "$p" || return 1
    for ns in /run/netns/"$p"-*; do
        [[ -e $ns ]] || continue
        for pid in $(ip netns pids "${ns##*/}" 2>/dev/null); do
            kill -TERM "$pid" 2>/dev/null
        done
    done
    for ns in /run/netns/"$p"-*; do
        [[ -e $ns ]] || continue
        for ((i = 0; i < 20; i++)); do
            [[ -z $(ip netns pids "${ns##*/}" 2>/dev/null) ]] && break
            sleep 0.1
        done
        for pid in $(ip netns pids "${ns##*/}" 2>/dev/null); do
            kill -KILL "$pid" 2>/dev/null
        done
        ip netns del "${ns##*/}" 2>/dev/null
    done
    rm -rf "$(lab__state "$p")"
    return 0
}

# lab_list: the labs that exist now, one prefix a line, with their owner.
lab_list() {
    local ns p
    for ns in /run/netns/mrv*-br; do
        [[ -e $ns ]] || continue
        p=${ns##*/}
        p=${p%-br}
        echo "$p owner=$(cat "$(lab__state "$p")/owner" 2>/dev/null || echo none)"
    done
}

lab__usage() {
    cat <<'EOF'
usage: lab.sh COMMAND ...
  check                               exit 0 if a lab can be built here, else 77 and why
  prefix                              print a fresh prefix (mrvXXXX)
  up PREFIX [--pc ADDR/LEN] [--gateway GW|none] [--no-gw-host] [--ping-group]
  host PREFIX NAME ADDR/LEN [GATEWAY|none] [--segment 1|2]
  addr PREFIX NAME ADDR/LEN [--dev ethN]
  exec PREFIX NAME CMD...
  ns PREFIX NAME                      print the namespace name
  mute PREFIX NAME                    drop ICMP echo requests (ARP still answered)
  loss PREFIX NAME PERCENT            drop that share of requests in and replies out (nft)
  unplug PREFIX NAME [DEV]            take the adapter's link away (NO-CARRIER, still UP)
  ping-group PREFIX NAME [RANGE]      set ping_group_range (default "0 2147483647")
  down PREFIX                         remove the lab (idempotent)
  sweep                               remove labs whose owner process is gone
  list                                show existing labs
The owner of a lab made from the command line is the calling process; set
LAB_OWNER_PID to name another one.
EOF
}

lab__main() {
    local cmd=${1:-}
    (($#)) && shift
    case $cmd in
    check) lab_check ;;
    prefix) lab_prefix ;;
    up) LAB_OWNER_PID=${LAB_OWNER_PID:-$PPID} lab_up "$@" ;;
    host) lab_host "$@" ;;
    addr) lab_addr "$@" ;;
    exec) lab_exec "$@" ;;
    ns) lab_ns "$@" ;;
    mute) lab_mute "$@" ;;
    loss) lab_loss "$@" ;;
    unplug) lab_unplug "$@" ;;
    ping-group) lab_ping_group "$@" ;;
    down) lab_down "$@" ;;
    sweep) lab_sweep ;;
    list) lab_list ;;
    -h | --help | help) lab__usage ;;
    *) lab__usage >&2; return 2 ;;
    esac
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
    lab__main "$@"
    exit $?
fi
