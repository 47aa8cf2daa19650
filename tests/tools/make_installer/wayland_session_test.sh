#!/usr/bin/env bash
# wayland_session_test.sh BUILD_DIR: runs a copy of BUILD_DIR/demo on a headless
# Wayland compositor (sway) with no X server, so Qt picks its wayland plugin
# from the folder, and clicks through a whole installation with a virtual
# mouse: the main window floats at its fixed size, the directory and
# extraction windows float above it, a click on the main window while a
# modal window is open leaves that one in front and focused, and the files
# must arrive intact.
# Screenshots go to BUILD_DIR/wayland-test/. Exits 77 (Skipped) where sway
# or its tools are missing.
set -euo pipefail
build=$(realpath "${1:?usage: wayland_session_test.sh BUILD_DIR}")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/installed_demo.sh"
payload=$(cd "$here/../../../demo/payload" && pwd)
pointer_tool="$build/bin/wayland_pointer"
evidence="$build/wayland-test"

for tool in sway swaymsg grim jq; do
  command -v $tool >/dev/null || { echo "wayland test skipped: $tool is not installed"; exit 77; }
done
fail() { echo "wayland test: $*" >&2; exit 1; }
[ -x "$build/demo/setup" ] || fail "$build/demo/setup is missing; build the demo target first"
[ -x "$pointer_tool" ] || fail "$pointer_tool is missing"

# sway refuses to run as root: the session belongs to nobody then, in a
# private folder that user owns.
work=$(mktemp -d)
as_user=()
[ "$(id -u)" -ne 0 ] || as_user=(runuser -u nobody --)
rm -rf "$evidence" && mkdir -p "$evidence"
mkdir -m 0700 "$work/run"
cp -a "$build/demo" "$work/demo"
printf 'output HEADLESS-1 resolution 1024x768\n' > "$work/sway.conf"
[ "$(id -u)" -ne 0 ] || chown -R nobody: "$work/run" "$work/demo"
chmod 755 "$work"
session=(env -i PATH=/usr/bin:/bin HOME="$work/demo" LANG=C.UTF-8 XDG_RUNTIME_DIR="$work/run")

sway_pid="" setup_pid="" pointer_pid=""
cleanup() {
  exec 7>&- 2>/dev/null || true
  for pid in $pointer_pid $setup_pid $sway_pid; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

"${as_user[@]}" "${session[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
  sway -c "$work/sway.conf" > "$evidence/sway.log" 2>&1 &
sway_pid=$!
for _ in $(seq 50); do ls "$work/run"/sway-ipc.*.sock >/dev/null 2>&1 && break; sleep 0.2; done
socket=$(ls "$work/run"/sway-ipc.*.sock 2>/dev/null) || fail "sway did not start: $(cat "$evidence/sway.log")"
display=$(cd "$work/run" && ls wayland-[0-9] | head -n1)
session+=(WAYLAND_DISPLAY="$display" SWAYSOCK="$socket")
in_session() { timeout 20 "${as_user[@]}" "${session[@]}" "$@"; }

"${as_user[@]}" "${session[@]}" SDL_AUDIODRIVER=dummy sh -c 'cd "$0" && exec ./setup' "$work/demo" \
  > "$evidence/setup.log" 2>&1 &
setup_pid=$!
log="$evidence/setup.log"

# The virtual mouse reads commands from a pipe and answers each with a line.
mkfifo "$work/pointer.in" "$work/pointer.out"
chmod 666 "$work/pointer.in" "$work/pointer.out"
"${as_user[@]}" "${session[@]}" "$pointer_tool" 1024 768 < "$work/pointer.in" > "$work/pointer.out" &
pointer_pid=$!
exec 7> "$work/pointer.in" 8< "$work/pointer.out"
mouse() {
  local answer
  echo "$*" >&7
  read -r -t 10 answer <&8 && [ "$answer" = ok ] || fail "the virtual mouse did not take \"$*\""
  sleep 0.2
}

# Waits for the window titled $1 and sets X, Y (its content's top left on
# the screen), W, H and FLOATING.
window_named() {
  local info=""
  for _ in $(seq 60); do
    kill -0 "$setup_pid" 2>/dev/null || fail "setup ended while waiting for \"$1\": $(cat "$log")"
    info=$(in_session swaymsg -r -t get_tree | jq -r --arg name "$1" '
      .. | objects | select(.name? == $name and .pid? != null) |
      "X=\(.rect.x + .window_rect.x) Y=\(.rect.y + .window_rect.y) W=\(.window_rect.width) H=\(.window_rect.height) FLOATING=\(.type == "floating_con")"' |
      head -n1) || true
    [ -z "$info" ] || { eval "$info"; sleep 0.5; return; }
    sleep 0.5
  done
  fail "no window \"$1\" appeared; setup said: $(cat "$log")"
}
click() { mouse move $((X + $1)) $((Y + $2)); mouse press; mouse release; }
screenshot() { in_session grim "$work/run/shot.png" && cp "$work/run/shot.png" "$evidence/$1.png"; }
floats() { [ "$FLOATING" = true ] || fail "\"$1\" is tiled, not floating"; }
# Clicks the main window beside the modal window titled $1, which must then
# be the focused window and the topmost of the floating ones; $2 names the
# screenshot. X, Y, W, H stay those of the modal window.
click_main_window_beside() {
  local modal=$1 shot=$2 state
  mouse move $((main_x + 30)) $((main_y + 240))
  mouse press
  mouse release
  for _ in $(seq 20); do
    sleep 0.25
    state=$(in_session swaymsg -r -t get_tree | jq -r '
      [.. | objects | select(.type? == "workspace") | .floating_nodes[]] |
      "\(last.name)|\(map(select(.focused)) | .[0].name)"')
    [ "$state" != "$modal|$modal" ] || break
  done
  screenshot "$shot"
  [ "$state" = "$modal|$modal" ] ||
    fail "after a click on the main window \"$modal\" is not in front and focused (topmost|focused: $state)"
  window_named "$modal"
}

window_named "Install Program"
floats "Install Program"
[ "$W" = 640 ] || fail "the main window is $W pixels wide, not 640"
# A borderless window moves when dragged by its header picture.
before_x=$X before_y=$Y
mouse move $((X + 100)) $((Y + 60))
mouse press
mouse move $((X + 40)) $((Y + 20))
mouse move $((X - 20)) $((Y - 20))
mouse release
window_named "Install Program"
[ "$X" -lt "$before_x" ] && [ "$Y" -lt "$before_y" ] ||
  fail "dragging the header did not move the main window (from $before_x,$before_y to $X,$Y)"
mouse move $((X + 584)) $((Y + 164))   # over Install: its lit twin shows
screenshot main
main_x=$X main_y=$Y
click 584 164                          # Install
window_named "Select Install Directory"
floats "Select Install Directory"
screenshot directory
click_main_window_beside "Select Install Directory" directory-kept-in-front
click 248 288                          # the dialog's Install
window_named "Install "
floats "Install "
click 405 88                           # Extract
window_named Setup                     # "Program sucessfully installed!"
screenshot done
click_main_window_beside Setup done-kept-in-front
click $((W - 50)) $((H - 25))          # OK

# Only after the success box is confirmed does the installer start the demo's
# start.sh, which prints its readme where there is no X display.
expect_demo_installed "$log" "$work/demo/Games/ZenkorDemo" # ~/Games/ZenkorDemo
! grep -q 'Failed to load client buffer integration' "$log" || fail "Qt warned at start: $(cat "$log")"
echo "wayland test: installed on a headless Wayland session; screenshots in $evidence"
