# Windows programs under wine, inside a lab. Sourced after lab.sh by tests:
#
#   source "$MRV_SOURCE_DIR/tools/lab/wine.sh"
#   wine_check || exit 77              # prints the reason
#   wine_prefix_up "$P" DIR            # a fresh prefix in DIR, its wineserver in P's pc
#   wine_display "$P" DIR              # a private X display in P's pc, as DISPLAY
#   wine_exec "$P" PROGRAM.exe ARGS    # runs it in P's pc namespace
#   wine_prefix_down                   # ends the wineserver and the display
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
# program as wine passes them on: through their WINE-prefixed names. With
# WINE_TIMEOUT set, the run is ended after that many seconds.
wine_exec() {
    local p=$1
    shift
    local env v bound=()
    mapfile -t env < <(wine__env)
    while IFS='=' read -r v _; do
        [[ $v == QT_* ]] && env+=("WINE$v=${!v}")
    done < <(env)
    [[ -n ${WINE_TIMEOUT:-} ]] && bound=(timeout "$WINE_TIMEOUT")
    lab_exec "$p" pc "${bound[@]}" env "${env[@]}" "$WINE_BIN" "$@"
}

# wine_display PREFIX DIR [WxH]: an X display (default 1024x768) for wine's
# windows in P's pc namespace,
# exported as DISPLAY (Xvfb picks a free number, so tests never share one);
# its process in WINE_XVFB, its log in DIR/xvfb.log.
wine_display() {
    local p=$1 dir=$2 size=${3:-1024x768} i
    exec 3>"$dir/display"
    lab_exec "$p" pc Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset \
        >"$dir/xvfb.log" 2>&1 &
    WINE_XVFB=$!
    exec 3>&-
    for ((i = 0; i < 100; i++)); do
        [[ -s $dir/display ]] && break
        sleep 0.1
    done
    [[ -s $dir/display ]] || { echo "wine: Xvfb did not start (see $dir/xvfb.log)" >&2; return 1; }
    DISPLAY=:$(head -n1 "$dir/display")
    export DISPLAY
}

# wine_window PREFIX TITLE S: the id of the visible window titled exactly
# TITLE on the wine display, waiting at most S seconds.
wine_window() {
    local p=$1 id i
    for ((i = 0; i < $3 * 10; i++)); do
        id=$(lab_exec "$p" pc xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | head -n1)
        [[ -n $id ]] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# wine_prefix_down: the wineserver ends first, then the display it drew on.
wine_prefix_down() {
    if [[ -n ${WINEPREFIX:-} ]]; then
        WINEPREFIX=$WINEPREFIX "$WINESERVER_BIN" -k 2>/dev/null
        WINEPREFIX=$WINEPREFIX "$WINESERVER_BIN" -w 2>/dev/null
    fi
    [[ -n ${WINE_XVFB:-} ]] && kill "$WINE_XVFB" 2>/dev/null
    return 0
}
