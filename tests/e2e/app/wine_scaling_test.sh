#!/usr/bin/env bash
# The Windows window program under wine at the scales laptops ship with, on a
# private X display in the lab's pc namespace, one wine prefix for all: for
# each LogPixels in the list the main window's client area is the 96-DPI
# size times the ratio, its welcome picture is a smooth scaling of the art
# (ImageMagick's RMSE against the 2x raster resized by the ratio), its X11
# window carries the program's icon, and 閉じる, where the ratio puts it,
# still ends the program. Screenshots go to $MRV_BUILD_DIR/e2e-artifacts/wine_scaling.
# MRV_SCALING_EXPECT_WIDTH overrides the 96-DPI width (to see the test fail).
set -u
windows=${MRV_WINDOWS_BUILD_DIR:-$MRV_SOURCE_DIR/build-windows}
program=$windows/app/mrv7k2-setup.exe
art=$windows/resources/images/guide_welcome@2x.png
icon=$windows/desktop/program.ico
source "$MRV_SOURCE_DIR/tools/lab/lab.sh"
source "$MRV_SOURCE_DIR/tools/lab/wine.sh"
source "$MRV_SOURCE_DIR/tests/testsupport/script-test.sh"
wine_check || exit 77
[[ -f $program ]] || { echo "SKIP: no Windows build at $windows (bash scripts/build windows)"; exit 77; }
for tool in Xvfb xdotool xwininfo xprop import compare convert; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
lab_check || exit 77
export LC_ALL=C.UTF-8
artifacts=$MRV_BUILD_DIR/e2e-artifacts/wine_scaling
rm -rf "$artifacts"
mkdir -p "$artifacts"
work=$(mktemp -d /tmp/mrv-wine-dpi.XXXXXX)
P=$(lab_prefix) || exit 1
cleanup() {
    wine_prefix_down
    lab_down "$P"
    rm -rf "$work"
}
trap cleanup EXIT

# The window at 96 DPI (the forms' own size) and its welcome picture.
width=${MRV_SCALING_EXPECT_WIDTH:-652} height=538 picture_width=652 picture_height=348
# The LogPixels tried: 125, 150, 175 and 250 %.
dpis="120 144 168 240"
# The picture's largest RMSE (0..1) from the art resized smoothly: measured
# 0.001 to 0.006; nearest-neighbour scaling of the same raster gives 0.021 to
# 0.026, the 1x raster blown up to 2.5x 0.035.
picture_limit=0.012

lab_up "$P" || exit 1
# Large enough for the window at 2.5x and its frame.
wine_display "$P" "$work" 2048x1600 || exit 1
x() { lab_exec "$P" pc "$@"; }
ratio() { echo $(($1 * dpi / 96)); } # N at the current DPI, rounded down
window() { wine_window "$P" "$@"; } # TITLE S

# same_icon XPROP-OUTPUT: an icon in it is the program's: program.ico's frame
# of that size (wine picks sizes by DPI; one missing there it stretches from
# another frame), on average within a few steps per channel.
same_icon() {
    /usr/bin/python3 - "$1" "$icon" <<'PY'
import re, subprocess, sys
values = [int(v) for v in re.findall(r"\d+", open(sys.argv[1]).read().partition("=")[2])]
frames = subprocess.run(["identify", "-format", "%w %[scene]\n", sys.argv[2]],
                        capture_output=True, text=True).stdout.split("\n")
scene = {int(w): s for w, s in (f.split() for f in frames if f)}
matched, i = False, 0
while i + 2 <= len(values):
    side = values[i]
    got = values[i + 2 : i + 2 + side * values[i + 1]]
    # The exact frame, else the nearest-neighbour resize of the one wine took
    # (its stretch rounds otherwise, hence the looser limit).
    candidates, limit = ([scene[side]], 2) if side in scene else (list(scene.values()), 8)
    best = None
    for frame in candidates:
        want = subprocess.run(["convert", f"{sys.argv[2]}[{frame}]", "-filter", "Point", "-resize",
                               f"{side}x{side}!", "-depth", "8", "rgba:-"], capture_output=True).stdout
        if side == values[i + 1] and len(want) == 4 * len(got) == 4 * side * side:
            diff = sum(abs(x - y) for n, argb in enumerate(got)
                       for x, y in zip(((argb >> 16) & 255, (argb >> 8) & 255, argb & 255, argb >> 24),
                                       want[4 * n : 4 * n + 4])) / (4 * len(got))
            best = diff if best is None else min(best, diff)
    if best is not None:
        print(f"icon {side}x{side}: {best:.1f} from the program's on average (at most {limit})")
        matched = matched or best <= limit
    i += 2 + side * values[i + 1]
sys.exit(0 if matched else 1)
PY
}

start=$(date +%s)
wine_prefix_up "$P" "$work/prefix" || exit 1
echo "fresh wine prefix: $(($(date +%s) - start)) s"

for dpi in $dpis; do
    began=$(date +%s%N)
    wine_exec "$P" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1 || { count_fail "$dpi DPI: reg add failed"; continue; }
    wine_exec "$P" "$program" >"$work/program-$dpi.log" 2>&1 &
    program_pid=$!
    if search=$(window "NAS検索..." 30); then
        sleep 0.5
        x import -window "$search" "$artifacts/$dpi-search.png"
    fi
    # The main window shows once the start-up search ends.
    for _ in $(seq 100); do
        x xdotool search --onlyvisible --name "^NAS検索...\$" >/dev/null 2>&1 || break
        sleep 0.1
    done
    if ! main=$(window "MRV-7K2" 20); then
        count_fail "$dpi DPI: no main window"
        kill "$program_pid"
        wait "$program_pid"
        continue
    fi
    sleep 1
    x import -window "$main" "$artifacts/$dpi-welcome.png"

    # The X window wine makes is the client area: no window manager frames it.
    read -r left top < <(x xwininfo -id "$main" |
        awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}')
    read -r got_width got_height < <(x xwininfo -id "$main" |
        awk '/^ +Width:/ {w = $2} /^ +Height:/ {h = $2} END {print w, h}')
    want_width=$(ratio "$width") want_height=$(ratio "$height")
    if ((${got_width:-0} < want_width - 2 || ${got_width:-0} > want_width + 2 ||
        ${got_height:-0} < want_height - 2 || ${got_height:-0} > want_height + 2)); then
        count_fail "$dpi DPI: client area ${got_width}x$got_height, want ${want_width}x$want_height"
    fi

    # Wine gives every window an icon, its own when the program has none.
    x xprop -id "$main" -notype -f _NET_WM_ICON 32c _NET_WM_ICON >"$work/icon"
    same_icon "$work/icon" || count_fail "$dpi DPI: _NET_WM_ICON is not the program's icon"

    # The welcome picture sits at the client area's top left corner.
    size=$(ratio "$picture_width")x$(ratio "$picture_height")
    convert "$artifacts/$dpi-welcome.png" -crop "$size+0+0" +repage "$work/picture.png"
    convert "$art" -filter Triangle -resize "$size!" "$work/art.png"
    rmse=$(compare -metric RMSE "$work/picture.png" "$work/art.png" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
    echo "$dpi DPI: client ${got_width}x$got_height, picture RMSE ${rmse:-none}"
    awk -v r="${rmse:-1}" -v l="$picture_limit" 'BEGIN {exit !(r <= l)}' ||
        count_fail "$dpi DPI: the picture is $rmse from a smooth scaling of the art (at most $picture_limit)"

    # 閉じる, where the ratio puts it, asks; Return (OK) ends the program.
    x xdotool mousemove --window "$main" "$(ratio 581)" "$(ratio 484)" click 1
    if window "警告" 10 >/dev/null; then
        x import -window root -crop "$(ratio "$width")x$(ratio "$height")+$left+$top" \
            "$artifacts/$dpi-close-question.png"
        x xdotool key Return
    else
        count_fail "$dpi DPI: no 警告 question on 閉じる"
    fi
    for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$program_pid" 2>/dev/null; then
        count_fail "$dpi DPI: the program still runs after OK"
        kill "$program_pid"
    fi
    wait "$program_pid"
    echo "$dpi DPI: $((($(date +%s%N) - began) / 1000000)) ms"
done

checks_done "PASS: the window scales with LogPixels under wine (screenshots in $artifacts)"
