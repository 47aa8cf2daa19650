#!/usr/bin/env bash
# An installation through the window against the engine alone, measured in the
# same run on the same archives: an installer folder made by make-installer
# (its own libunrar.so) for an archive of many small files is started on an X
# server and driven as a user does (Install, Install, Extract); the time runs
# from the release of the Extract button until the success box is mapped.
# extract-trace --quiet with the same library extracts the same archive into
# the same file system. Both extract into a tmpfs. Each is run RUNS times, alternating;
# medians are printed with the ratio window/engine (goal <= 1.3). A last run
# on the largest archive clicks Cancel a tenth of a second into the extraction and
# prints how long the window took to close.
#
# usage: bench/window_bench.sh [BUILD_DIR] [RUNS] [ENTRIES...]
#   BUILD_DIR  a build holding bin/make-installer, bin/extract-trace,
#              bin/rarwrite, bin/midiwrite and bin/window_wait (default:
#              build); build it in Release for figures
#   RUNS       runs of each (default: 3)
#   ENTRIES    archive sizes in files (default: 10000 100000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-3}
sizes=("${@:3}")
[ ${#sizes[@]} -gt 0 ] || sizes=(10000 100000)
for tool in make-installer extract-trace rarwrite midiwrite window_wait; do
  [ -x "$build/bin/$tool" ] || { echo "missing $build/bin/$tool (build it)" >&2; exit 2; }
done
for tool in Xvfb xdotool python3; do
  command -v $tool >/dev/null || { echo "$tool missing" >&2; exit 2; }
done
shm=/dev/shm
[ -d $shm ] && [ -w $shm ] || shm=/tmp
work=$(mktemp -d "$shm/zk-window-bench-XXXXXX")
server="" setup_pid=""
stop_setup() {
  [ -z "$setup_pid" ] || { kill "$setup_pid" 2>/dev/null; wait "$setup_pid" 2>/dev/null || true; }
  setup_pid=""
}
trap 'stop_setup; [ -z "$server" ] || kill $server 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "window_bench: $*" >&2; exit 1; }

. "$root/bench/many_files.sh"

# An installer folder for an archive of N files of 200 to 2000 bytes, a
# hundred to a folder, all below game/.
make_folder() {
  local n=$1 package="$work/package-$1"
  mkdir -p "$package"
  write_many_files "$work/payload/game" "$n" 400
  "$build/bin/rarwrite" --host unix --from-dir "$work/payload" "$package/game.rar"
  # The space the files take, in MB, as check-package asks of the package.
  space=$(($(du -sm "$work/payload" | cut -f1) + 1))
  rm -rf "$work/payload"
  cat > "$package/install.ini" <<'EOF'
[zenkor Installer]
GameTitle=Many Files
GameTitleColorBackground=000000
GameTitleColorForeground=2020E0
GameTitleFontSize=20
InfoLine1=A benchmark package
InfoLine2=of many small files
InfoLine3=Press Install to begin
InfoLine1ColorForeground=FFFFFF
InfoLine2ColorForeground=C0C0C0
InfoLine3ColorForeground=4040FF
InstallPath=game
SpaceRequired=1
RARFile=game.rar
MidiFile=music.mid
EOF
  sed -i "s/^SpaceRequired=.*/SpaceRequired=$space/" "$package/install.ini"
  cp "$root/demo/zenkor.nfo" "$package/"
  "$build/bin/midiwrite" "$package/music.mid"
  "$build/bin/make-installer" "$package" "$work/folder-$n" > "$work/make-installer.log" 2>&1 ||
    fail "make-installer: $(cat "$work/make-installer.log")"
  rm -rf "$package"
}

display_file="$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3> "$display_file" 2>/dev/null &
server=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || fail "Xvfb did not start"
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export DISPLAY=":$(cat "$display_file")" SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# Waits for the visible window whose whole title is $1 and prints its id.
window_named() {
  local id
  for _ in $(seq 400); do
    kill -0 "$setup_pid" 2>/dev/null || fail "setup ended while waiting for \"$1\""
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) || true
    [ -z "$id" ] || { echo "$id"; return; }
    sleep 0.05
  done
  fail "no window \"$1\" appeared"
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Starts setup in FOLDER and brings it to the extraction window, whose id it
# leaves in $extraction.
open_extraction_window() {
  local folder=$1 main directory
  rm -rf "$folder/game"
  (cd "$folder" && exec ./setup > "$work/setup.log" 2>&1) &
  setup_pid=$!
  main=$(window_named "Install Program")
  click "$main" 584 164              # Install
  directory=$(window_named "Select Install Directory")
  click "$directory" 248 288         # the dialog's Install
  extraction=$(window_named "Install ")
}

# Each run leaves its milliseconds in $ms.
# One installation through the window: from the Extract click to the success box.
window_run() {
  local folder=$1 n=$2 title files
  open_extraction_window "$folder"
  # xdotool's click takes about 100 ms of its own; the button is pressed
  # first and the clock starts with its release, which runs Extract.
  xdotool mousemove --window "$extraction" 405 88 mousedown 1
  read -r ms title < <("$build/bin/window_wait" Setup Error -- xdotool mouseup 1) ||
    fail "no box after Extract"
  [ "$title" = Setup ] || fail "an error box instead of the success box"
  stop_setup
  files=$(find "$folder/game" -type f | wc -l)
  [ "$files" -eq "$n" ] || fail "the window installed $files of $n files"
}

# One extraction by extract-trace, into the folder the window installs to:
# the same paths cost the same to look up.
engine_run() {
  local folder=$1 start end
  rm -rf "$folder/game" && mkdir -p "$folder/game"
  # The kernel frees a removed tree's inodes a moment later; the window's
  # run starts a second after its removal too.
  sleep 1
  start=$(date +%s%N)
  "$build/bin/extract-trace" --quiet --library "$folder/libunrar.so" "$folder/game.rar" "$folder/game" \
    > /dev/null || fail "extract-trace failed"
  end=$(date +%s%N)
  ms=$(((end - start) / 1000000))
}

# Cancel a tenth of a second into the entries of an installation: until the window
# has closed.
cancel_run() {
  local folder=$1
  open_extraction_window "$folder"
  click "$extraction" 405 88
  # The caption turns into the archive's path once the first entry begins
  # (after the volume check); Cancel comes a tenth of a second into the entries.
  window_named "$folder/game.rar" > /dev/null
  sleep 0.1
  xdotool search --onlyvisible --name "^$folder/game.rar\$" > /dev/null ||
    fail "the run had ended before Cancel could be clicked"
  # Closed, the window may be gone before its title can be read from an unmap
  # notice, so this asks for it until it is no longer shown.
  local start=$(date +%s%N) tries=0
  xdotool mousemove --window "$extraction" 60 88 click 1
  while xdotool search --onlyvisible --name "^$folder/game.rar\$" > /dev/null; do
    tries=$((tries + 1))
    [ $tries -lt 1000 ] || fail "the window did not close after Cancel"
    sleep 0.01
  done
  ms=$((($(date +%s%N) - start) / 1000000))
  stop_setup
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-9s %12s %12s %8s\n' entries window engine ratio
for n in "${sizes[@]}"; do
  make_folder "$n"
  window=() engine=()
  for _ in $(seq "$runs"); do
    window_run "$work/folder-$n" "$n" && window+=("$ms")
    engine_run "$work/folder-$n" && engine+=("$ms")
    echo "  run: window ${window[-1]} ms, engine ${engine[-1]} ms" >&2
  done
  w=$(median "${window[@]}") e=$(median "${engine[@]}")
  awk -v n="$n" -v w="$w" -v e="$e" \
    'BEGIN { printf "%-9d %10.2f s %10.2f s %7.2fx  (goal <= 1.3)\n", n, w / 1000, e / 1000, w / e }'
  last=$n
  [ "$n" = "${sizes[-1]}" ] || rm -rf "$work/folder-$n"
done
cancel_run "$work/folder-$last"
awk -v ms="$ms" -v n="$last" \
  'BEGIN { printf "Cancel during a run of %d entries: the window closed after %.0f ms (goal < 1000)\n", n, ms }'
echo "(medians of $runs runs each; the library: the installer folder's libunrar.so)"
