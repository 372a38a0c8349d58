#!/bin/bash
# Idle CPU of a window at a click wait whose cursor is animated: the engine in
# its window on a virtual X server (software rendering), a game that prints a
# line and waits for a click with a cursor0.bmp of three frames at the default
# 160 ms. Reads the process's CPU time from /proc over SECONDS seconds at the
# game's size (1x) and with the window made twice as large (2x), and prints
# the share of one core each time.
#
#   bench/idle_cpu.sh [ORIVANE_BINARY] [SECONDS]
#
# Needs Xvfb, xdotool and python3. A release build gives the figures of
# docs/benchmarks.md; a sanitizer build costs more.
set -euo pipefail

binary=${1:-build-release/src/orivane}
seconds=${2:-10}
[ -x "$binary" ] || { echo "no engine at $binary (give its path)" >&2; exit 2; }
binary=$(realpath "$binary")
for tool in Xvfb xdotool python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 2; }
done

work=$(mktemp -d)
xvfb_pid=""
engine_pid=""
finish() {
  [ -n "$engine_pid" ] && kill "$engine_pid" 2>/dev/null && wait "$engine_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

# The game, and its wait cursor: three 24×24 cells side by side, a triangle
# that grows from cell to cell on a background of the top-left pixel's
# colour, which is transparent.
mkdir -p "$work/game"
python3 -c 'import sys; open(sys.argv[1], "wb").write("*define\ncaption \"idle-cpu-bench\"\ngame\n*start\nbg #406080,1\n待機中@\nend\n".encode("cp932"))' "$work/game/0.txt"
python3 - "$work/game/cursor0.bmp" <<'PY'
import struct, sys
cell, cells = 24, 3
w, h = cell * cells, cell
row = (w * 3 + 3) & ~3
pixels = bytearray()
for y in range(h - 1, -1, -1):          # bottom-up rows
    line = bytearray()
    for x in range(w):
        c, cx = divmod(x, cell)
        inside = y >= 4 and abs(cx - cell // 2) <= (y - 4) * (c + 1) // 6
        line += bytes((255, 255, 255) if inside else (255, 0, 255))
    pixels += line + bytes(row - len(line))
header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
open(sys.argv[1], 'wb').write(header + info + pixels)
PY

# A screen large enough for the window at twice the game's size.
# The server writes its display number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  grep -q . "$work/display" && break
  sleep 0.1
done
number=$(head -n 1 "$work/display")
[ -n "$number" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER

(cd "$work/game" && exec "$binary" . >"$work/out.txt" 2>"$work/err.txt") &
engine_pid=$!
window=""
for _ in $(seq 1 200); do
  window=$(xdotool search --onlyvisible --name idle-cpu-bench 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$engine_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$window" ] || { echo "the window did not open:" >&2; cat "$work/err.txt" >&2; exit 1; }

ticks_per_second=$(getconf CLK_TCK)
# The process's user and system CPU time, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$engine_pid/stat"; }
measure() {
  sleep 2  # the start, or the resize, settles first
  local before after
  before=$(cpu_ticks)
  sleep "$seconds"
  after=$(cpu_ticks)
  python3 -c "print(f'{($after - $before) / $ticks_per_second / $seconds * 100:.2f}')"
}

width=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { split($2, g, "x"); print g[1] }')
height=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { split($2, g, "x"); print g[2] }')
one=$(measure)
echo "1x (${width}x${height}): ${one} % of a core"
# Twice the picture: the menu bar keeps its height.
xdotool windowsize "$window" $((width * 2)) $(((height - 20) * 2 + 20))
two=$(measure)
echo "2x ($(xdotool getwindowgeometry "$window" | awk '/Geometry/ { print $2 }')): ${two} % of a core"
