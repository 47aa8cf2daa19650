#!/usr/bin/env bash
# package_check_test.sh BUILD_DIR: make-installer on a package of each
# verdict: accepted and warned about, it assembles the folder; refused, it
# makes none unless --force is given. check-package's verdicts on every kind
# of mistake are tested on check-package itself (tests/tools/package_check).
set -euo pipefail
build=$(realpath "${1:?usage: package_check_test.sh BUILD_DIR}")
tool="$build/bin/make-installer"
base="$build/demo-package/files"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package check test: $*" >&2; exit 1; }

# name | expected outcome | line the tool must print ("" for none) | shell
# command run inside the package copy to make the variant
cases=(
  "as built|accept||:"
  "music missing|warn|warning: MidiFile: setup shows \"The music file music.mid does not exist.\"|rm music.mid"
  "hash colour|refuse|error: GameTitleColorBackground: setup shows \"'\$#FFFFFF' is not a valid integer value.\"|sed -i 's/^GameTitleColorBackground=.*/GameTitleColorBackground=#FFFFFF/' install.ini"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r name outcome line command <<<"$entry"
  package="$work/package" out="$work/out"
  rm -rf "$package" "$out"
  cp -a "$base" "$package"
  (cd "$package" && eval "$command")
  status=0
  output=$("$tool" "$package" "$out" 2>&1) || status=$?
  case $outcome in
    accept) [[ $status -eq 0 && $output != *error:* && $output != *warning:* ]] ;;
    warn) [[ $status -eq 0 && $output != *error:* && -x $out/setup ]] ;;
    refuse) [[ $status -eq 1 && ! -e $out ]] ;;
  esac || fail "$name: expected $outcome, got status $status: $output"
  [[ -z $line || $output == *"$line"* ]] || fail "$name: no line \"$line\" in: $output"
  # The sound font comes only with MIDI music, the demo's music.mid.
  if [ "$outcome" != refuse ]; then
    midi=no shipped=no
    [ ! -f "$package/music.mid" ] || midi=yes
    [ ! -f "$out/TimGM6mb.sf2" ] || shipped=yes
    [ $midi = $shipped ] || fail "$name: MIDI music: $midi, but sound font shipped: $shipped"
  fi
  if [ "$outcome" = refuse ]; then
    "$tool" --force "$package" "$out" >/dev/null 2>&1 || fail "$name: --force did not assemble the folder"
    [ -x "$out/setup" ] || fail "$name: --force left no setup"
  fi
done
echo "package check test: every variant accepted, warned about or refused as expected"
