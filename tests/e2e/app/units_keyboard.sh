# No unit answers the start-up search, so the program opens on the guide;
# two units come up when the scenario says so (it writes $work/units-go), in
# time for the search the guide's last page starts. One is in the PC's
# subnet, the other outside it.
late_unit() { # NAME ADDR/LEN nas-sim options...
    local name=$1 addr=$2
    shift 2
    lab_host "$P" "$name" "$addr" || exit 1
    lab_exec "$P" "$name" bash -c 'for _ in $(seq 1200); do [[ -e $0 ]] && exec "$@"; sleep 0.1; done' \
        "$work/units-go" "$sim" --lifetime 240 --log "$work/sim-$name.log" "$@" \
        >"$work/sim-$name.out" 2>&1 &
    disown
}
late_unit office 192.168.1.50/24 --identity 00:0D:0B:7A:10:50 --ip 192.168.1.50 \
    --host NAS-OFFICE --user admin --password secret
late_unit remote 10.10.0.20/24 --identity 00:0D:0B:7A:10:20 --ip 10.10.0.20 \
    --gateway 10.10.0.1 --host NAS-REMOTE --user admin --password secret --broadcast
