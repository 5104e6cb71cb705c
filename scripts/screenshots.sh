#!/usr/bin/env bash
# Takes screenshots of the six bundled models in the viewer: builds the
# viewer, starts a virtual X display when there is none, runs the viewer in
# models/, photographs the first model, then presses "]" and photographs each
# of the others. Writes 1-AH64.png ... 6-F22.png (or 1-AH64-2.png and so on
# with --shots N) into the output folder.
#
# Usage: scripts/screenshots.sh [--out DIR] [--build-dir DIR] [--no-build]
#                               [--shots N] [--interval SECONDS] [--tilt PIXELS]
#   --out DIR          where the PNGs go (default out/screenshots)
#   --build-dir DIR    CMake build folder (default build)
#   --no-build         use DIR/bin/tessaly as it is
#   --shots N          screenshots per model, --interval seconds apart (default 1, 0.7)
#   --tilt PIXELS      drag with the left button this far down first, which
#                      tilts the models towards the viewer by as many degrees
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

out=out/screenshots
build_dir=build
build=1
shots=1
interval=0.7
tilt=0
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out=$2; shift 2 ;;
    --build-dir) build_dir=$2; shift 2 ;;
    --no-build) build=0; shift ;;
    --shots) shots=$2; shift 2 ;;
    --interval) interval=$2; shift 2 ;;
    --tilt) tilt=$2; shift 2 ;;
    -h|--help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown option: $1 (see --help)" >&2; exit 2 ;;
  esac
done
case "$out" in /*) ;; *) out="$root/$out" ;; esac
case "$build_dir" in /*) ;; *) build_dir="$root/$build_dir" ;; esac

models=(AH64 A10 MIG21 F16 F117A F22)
title="Tessaly OpenGL Application Frame"

if [ "$build" = 1 ]; then
  scripts/install-deps.sh test
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build "$build_dir" -j "$(nproc)" --target tessaly
fi
viewer="$build_dir/bin/tessaly"
[ -x "$viewer" ] || { echo "no viewer at $viewer" >&2; exit 1; }
for tool in xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: scripts/install-deps.sh test" >&2; exit 1; }
done

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# A display of our own when there is none; Xvfb picks a free number and
# writes it to the given descriptor once it accepts connections.
if [ -z "${DISPLAY:-}" ]; then
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 300); do [ -s "$number_file" ] && break; sleep 0.1; done
  [ -s "$number_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file"
fi

mkdir -p "$out"
(cd models && exec "$viewer") &
viewer_pid=$!
pids=("$viewer_pid" "${pids[@]}")

wid=""
for _ in $(seq 300); do
  wid=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1 || true)
  [ -n "$wid" ] && break
  kill -0 "$viewer_pid" 2>/dev/null || { echo "the viewer ended early" >&2; exit 1; }
  sleep 0.1
done
[ -n "$wid" ] || { echo "no window titled \"$title\"" >&2; exit 1; }
xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
sleep 1

if [ "$tilt" != 0 ]; then
  xdotool mousemove --window "$wid" 400 250 mousedown 1
  xdotool mousemove_relative --sync 0 "$tilt" 2>/dev/null || xdotool mousemove_relative 0 "$tilt"
  xdotool mouseup 1
fi

for i in "${!models[@]}"; do
  if [ "$i" -gt 0 ]; then
    xdotool key --clearmodifiers bracketright
  fi
  sleep 0.5
  for k in $(seq "$shots"); do
    name="$((i + 1))-${models[$i]}"
    if [ "$shots" -gt 1 ]; then name="$name-$k"; fi
    kill -0 "$viewer_pid" 2>/dev/null || { echo "the viewer ended on ${models[$i]}" >&2; exit 1; }
    import -window "$wid" "$out/$name.png"
    echo "$out/$name.png"
    if [ "$k" -lt "$shots" ]; then sleep "$interval"; fi
  done
done

# SDL turns SIGTERM into a quit request: the viewer closes as from its window.
kill "$viewer_pid" 2>/dev/null || true
wait "$viewer_pid" 2>/dev/null || true
