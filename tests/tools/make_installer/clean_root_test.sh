#!/usr/bin/env bash
# clean_root_test.sh BUILD_DIR [RELEASE]: copies BUILD_DIR/demo alone into a
# minimal Debian root (BUILD_DIR/clean-root for Debian 12, bookworm, or
# BUILD_DIR/clean-root-RELEASE for another codename; made once) and drives a whole installation
# there on an X server. The main window's title must look exactly as it does on
# this machine, where the fonts are installed; Install, the directory dialog's
# Install and Extract must end in the success box, after which the installer
# starts the installed demo program, whose files must all have arrived.
set -euo pipefail
build=$(realpath "${1:?usage: clean_root_test.sh BUILD_DIR [RELEASE]}")
release=${2:-bookworm}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/installed_demo.sh"
payload=$(cd "$here/../../../demo/payload" && pwd)
suffix=""
[ "$release" = bookworm ] || suffix="-$release"
root="$build/clean-root$suffix"
evidence="$build/clean-root-test$suffix"
folder=/opt/demo

fail() { echo "clean-root test: $*" >&2; exit 1; }
[ -x "$build/demo/setup" ] || fail "$build/demo/setup is missing; build the demo target first"
for tool in convert compare Xvfb xdotool; do
  command -v $tool >/dev/null || fail "$tool is needed on this machine too"
done
"$here/make_clean_root.sh" "$root" "$release" || fail "could not make the clean Debian root $root (see above)"

rm -rf "$evidence" "$root$folder" "$root/tmp/fb" "$root/root/Games/ZenkorDemo"
mkdir -p "$evidence/fb" "$root/tmp/fb"
cp -a "$build/demo" "$root$folder"

# One session is an X server on a free display and setup, both started
# through `run` (chroot and env exec the command, so $! is the program's own
# pid), with the server's framebuffer file as the screenshot.
run=() fb="" display="" server_pid="" setup_pid=""
stop_session() {
  [ -z "$setup_pid" ] || kill "$setup_pid" 2>/dev/null || true
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  setup_pid="" server_pid=""
}
trap 'stop_session; umount "$root/proc" 2>/dev/null || true' EXIT
trap 'exit 1' INT TERM

start_session() {
  local name=$1 fbdir=$2
  local number="$evidence/$name-display"
  "${run[@]}" Xvfb -displayfd 3 -screen 0 1024x768x24 -fbdir "$fbdir" -nolisten tcp \
    3> "$number" > "$evidence/$name-xvfb.log" 2>&1 &
  server_pid=$!
  for _ in $(seq 50); do [ -s "$number" ] && break; sleep 0.2; done
  [ -s "$number" ] || fail "the X server did not start: $(cat "$evidence/$name-xvfb.log")"
  display=":$(cat "$number")"
  # SDL's dummy audio driver stands in for a sound card, so the music (MIDI
  # through the folder's sound font) must load without an error box.
  "${run[@]}" DISPLAY=$display SDL_AUDIODRIVER=dummy sh -c 'cd "$0" && exec ./setup' "$3" > "$evidence/$name.log" 2>&1 &
  setup_pid=$!
  log="$evidence/$name.log"
}

xdo() { "${run[@]}" DISPLAY=$display xdotool "$@"; }
# Waits for the visible window whose whole title is $1 and prints its id.
window_named() {
  local id=""
  for _ in $(seq 120); do
    kill -0 "$setup_pid" 2>/dev/null || fail "setup ended while waiting for \"$1\": $(cat "$log")"
    id=$(xdo search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) || true
    [ -z "$id" ] || { echo "$id"; return; }
    sleep 0.5
  done
  fail "no window \"$1\" appeared; visible: $(xdo search --onlyvisible --name . getwindowname %@ | tr '\n' '|'); setup said: $(cat "$log")"
}
click() { xdo mousemove --window "$1" "$2" "$3" click 1; }
screenshot() { convert "xwd:$fb" "$evidence/$1.png"; }
# The main window's title band, below the header, as a picture of its own.
title_band() {
  local main X Y
  main=$(window_named "Install Program")
  sleep 1
  screenshot "$1"
  eval "$(xdo getwindowgeometry --shell "$main" | grep -E '^[XY]=')"
  convert "$evidence/$1.png" -crop "624x26+$((X + 8))+$((Y + 178))" +repage "$evidence/$1-title.png"
}

# The reference: the same folder on this machine, whose fonts are installed.
run=(env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8)
fb="$evidence/fb/Xvfb_screen0"
start_session host "$evidence/fb" "$build/demo"
title_band host
stop_session

run=(chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8)
fb="$root/tmp/fb/Xvfb_screen0"
mount -t proc proc "$root/proc" || fail "cannot mount /proc in $root"
start_session clean-root /tmp/fb "$folder"
title_band clean-root
# The title "Zenkor Demo" is drawn in red (E02020) on black; without the
# folder's fonts it would be missing or drawn as empty boxes.
red=$(convert "$evidence/clean-root-title.png" -fuzz 15% -fill white -opaque '#E02020' \
        -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:)
[ "$red" -ge 40 ] || fail "the title band has $red pixels of title colour (see $evidence/clean-root.png)"
differing=$(compare -metric AE "$evidence/host-title.png" "$evidence/clean-root-title.png" null: 2>&1) || true
[ "$differing" = 0 ] ||
  fail "the title differs from this machine's in $differing pixels (see $evidence/host.png, $evidence/clean-root.png)"

main=$(window_named "Install Program")
click "$main" 584 164                 # Install
directory=$(window_named "Select Install Directory")
click "$directory" 248 288            # the dialog's Install
extraction=$(window_named "Install ")
click "$extraction" 405 88            # Extract

# The installer's box after Extract. Qt's boxes offer their text to no
# outside tool, so the outcome shows in what follows it: only after "Program
# sucessfully installed!" is confirmed does the installer start RunProgram, the
# demo's start.sh, which checks its files and prints its readme (there is no
# xmessage in the root).
box=$(window_named Setup)
sleep 0.5
screenshot done
xdo windowfocus "$box" sleep 0.3 key Return
# The demo's InstallPath is ~/Games/ZenkorDemo: the root user's home there.
expect_demo_installed "$log" "$root/root/Games/ZenkorDemo"
[ ! -e "$root$folder/start.sh" ] || fail "the demo was installed beside setup"
echo "clean-root test: installed in a Debian $release root without Qt, SDL, libarchive or fonts; the title looks as on this machine"
