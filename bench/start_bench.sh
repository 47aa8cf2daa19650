#!/usr/bin/env bash
# Start time and idle memory of an installer folder's setup against a bare Qt
# window of the same size, measured in the same run on one X server: the
# milliseconds from the start until the first window is mapped, and the peak
# resident memory one second later (the music playing on SDL's dummy driver).
# Each program starts RUNS times, alternating; medians are printed, with the
# ratios setup/bare. Goals: setup's first window under 300 ms, its idle peak
# under 50 MB.
#
# usage: bench/start_bench.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  a build holding demo/ (the installer folder), bin/window_start
#              and bin/bare_window (default: build)
#   RUNS       starts of each program (default: 15)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-15}
folder="$build/demo"
for file in "$folder/setup" "$build/bin/window_start" "$build/bin/bare_window"; do
  [ -x "$file" ] || { echo "missing $file (build the demo, window_start and bare_window targets)" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "Xvfb missing (xvfb)" >&2; exit 2; }

display_file=$(mktemp)
# -noreset: without it the server resets when the last client leaves, and
# the next run may find no display.
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3> "$display_file" 2>/dev/null &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$display_file" "${runtime_dir:-}"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || { echo "Xvfb did not start" >&2; exit 1; }
runtime_dir=$(mktemp -d)
export DISPLAY=":$(cat "$display_file")" SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$runtime_dir
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

setup_ms=() setup_mb=() bare_ms=() bare_mb=()
for _ in $(seq "$runs"); do
  read -r ms mb < <(cd "$folder" && "$build/bin/window_start" ./setup)
  setup_ms+=("$ms") setup_mb+=("$mb")
  read -r ms mb < <("$build/bin/window_start" "$build/bin/bare_window")
  bare_ms+=("$ms") bare_mb+=("$mb")
done

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
s_ms=$(median "${setup_ms[@]}") s_mb=$(median "${setup_mb[@]}")
b_ms=$(median "${bare_ms[@]}") b_mb=$(median "${bare_mb[@]}")
printf '%-12s %12s %14s\n' program 'first window' 'idle peak RSS'
printf '%-12s %9.1f ms %11.1f MB\n' setup "$s_ms" "$s_mb" 'bare window' "$b_ms" "$b_mb"
awk -v a="$s_ms" -v b="$b_ms" -v c="$s_mb" -v d="$b_mb" \
  'BEGIN { printf "setup/bare   %9.2f x  %11.2f x   (medians of '"$runs"' starts each)\n", a / b, c / d }'
