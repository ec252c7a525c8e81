# Windows programs under wine, inside a lab. Sourced after lab.sh by tests:
#
#   source "$MRV_SOURCE_DIR/tools/lab/wine.sh"
#   wine_check || exit 77              # prints the reason
#   wine_prefix_up "$P" DIR            # a fresh prefix in DIR, its wineserver in P's pc
#   wine_exec "$P" PROGRAM.exe ARGS    # runs it in P's pc namespace
#   wine_prefix_down                   # ends the wineserver (also on lab_down)
#
# wine reads the adapters in a service process and keeps a server process for
# the prefix: both start with the first wine process, so that one is started
# inside the lab and every later one finds them there. Nothing of wine ever
# runs in this machine's own namespace.

WINE_BIN=$(command -v wine64 || echo /usr/lib/wine/wine64)
WINESERVER_BIN=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
[[ -x $WINESERVER_BIN ]] || WINESERVER_BIN=/usr/lib/wine/wineserver

wine_check() {
    if [[ ! -x $WINE_BIN ]]; then
        echo "wine64 is not installed (Debian: wine64)" >&2
        return 77
    fi
    return 0
}

# The environment of every wine process: no Mono or Gecko installers, no
# debug chatter, no desktop integration written into this machine's menus.
wine__env() {
    printf '%s\n' WINEPREFIX="$WINEPREFIX" WINEDEBUG="${WINEDEBUG:--all}" \
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
        WINEARCH=win64 LC_ALL="${WINE_LC_ALL:-C.UTF-8}"
}

# wine_prefix_up PREFIX DIR: a fresh prefix in DIR, made inside the lab.
wine_prefix_up() {
    local p=$1
    WINE_LAB=$p
    export WINEPREFIX=$2
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    local env
    mapfile -t env < <(wine__env)
    # -p30: the server waits 30 s after its last client, so the runs of one
    # test share it; it is ended explicitly anyway.
    lab_exec "$p" pc env "${env[@]}" "$WINESERVER_BIN" -p30 || return 1
    lab_exec "$p" pc env "${env[@]}" timeout 120 "$WINE_BIN" wineboot --init >/dev/null 2>&1 ||
        { echo "wine: wineboot failed in $WINEPREFIX" >&2; return 1; }
    lab_exec "$p" pc env "${env[@]}" "$WINESERVER_BIN" -w
    lab_exec "$p" pc env "${env[@]}" "$WINESERVER_BIN" -p30
}

# wine_exec PREFIX PROGRAM ARGS...: QT_* variables of the caller reach the
# program as wine passes them on: through their WINE-prefixed names.
wine_exec() {
    local p=$1
    shift
    local env v
    mapfile -t env < <(wine__env)
    while IFS='=' read -r v _; do
        [[ $v == QT_* ]] && env+=("WINE$v=${!v}")
    done < <(env)
    lab_exec "$p" pc env "${env[@]}" "$WINE_BIN" "$@"
}

wine_prefix_down() {
    [[ -n ${WINEPREFIX:-} ]] || return 0
    WINEPREFIX=$WINEPREFIX "$WINESERVER_BIN" -k 2>/dev/null
    WINEPREFIX=$WINEPREFIX "$WINESERVER_BIN" -w 2>/dev/null
    return 0
}
