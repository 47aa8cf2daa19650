#!/usr/bin/env bash
# package_check_test.sh BUILD_DIR: make-installer on variants of the demo
# package, each accepted, warned about or refused with a line naming the key;
# and a run killed half way leaves no output folder.
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
  "byte order mark, quotes, text after ]|accept||printf '\xef\xbb\xbf[zenkor installer] the keys\nGameTitleColorBackground=000000\nGameTitleColorForeground=\"00FFFF\"\nInfoLine1ColorForeground=FFFFFF\nInfoLine2ColorForeground=FFFFFF\nInfoLine3ColorForeground=FFFFFF\nSpaceRequired=1\nRARFile='demo.rar'\nMidiFile=music.mid\n' > install.ini"
  "Windows-1252 title|accept||sed -i 's/^GameTitle=.*/GameTitle=Caf\xe9/' install.ini"
  "hash colour|refuse|error: GameTitleColorBackground: setup shows \"'\$#FFFFFF' is not a valid integer value.\"|sed -i 's/^GameTitleColorBackground=.*/GameTitleColorBackground=#FFFFFF/' install.ini"
  "huge title|refuse|error: GameTitleFontSize: a title of 2147483647 points|sed -i 's/^GameTitleFontSize=.*/GameTitleFontSize=2147483647/' install.ini"
  "space in words|refuse|error: SpaceRequired: setup shows \"'one' is not a valid integer value.\"|sed -i 's/^SpaceRequired=.*/SpaceRequired=one/' install.ini"
  "archive not RAR|refuse|error: RARFile: zenkor.nfo is not a RAR archive|sed -i 's/^RARFile=.*/RARFile=zenkor.nfo/' install.ini"
  "archive missing|refuse|error: RARFile: the archive|rm demo.rar"
  "missing volume|refuse|needs the volume rar5-volumes.part02.rar|cp '$build/../../shared/rar-samples/rar5-volumes.part01.rar' . && sed -i 's/^RARFile=.*/RARFile=rar5-volumes.part01.rar/' install.ini"
  "title size in words|warn|warning: GameTitleFontSize: 'big' is not a number|sed -i 's/^GameTitleFontSize=.*/GameTitleFontSize=big/' install.ini"
  "music missing|warn|warning: MidiFile: setup shows \"The music file music.mid does not exist.\"|rm music.mid"
  "huge NFO|warn|warning: zenkor.nfo: the NFO button shows \"Text exceeds memo capacity.\"|printf '%300000s' x > zenkor.nfo"
  "small header|warn|warning: header.png: is 10 x 10 pixels, not 594 x 171|convert -size 10x10 xc:red header.png"
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
  if [ "$outcome" = refuse ]; then
    "$tool" --force "$package" "$out" >/dev/null 2>&1 || fail "$name: --force did not assemble the folder"
    [ -x "$out/setup" ] || fail "$name: --force left no setup"
  fi
done

# Killed while copying, with every process it started (as a closed terminal
# does): nothing under the output's name, and the next run clears what the
# killed one left behind.
for signal in TERM KILL; do
  out="$work/killed-$signal"
  setsid "$tool" "$base" "$out" >/dev/null 2>&1 &
  runner=$!
  for _ in $(seq 200); do compgen -G "$work/.killed-$signal.partial.*/lib/*" >/dev/null && break; sleep 0.05; done
  kill -"$signal" -- -"$runner" 2>/dev/null || true
  wait "$runner" 2>/dev/null || true
  while kill -0 -- -"$runner" 2>/dev/null; do sleep 0.05; done
  [ ! -e "$out" ] || fail "a run killed with SIG$signal left $out"
  "$tool" "$base" "$out" >/dev/null 2>&1 || fail "the run after SIG$signal failed"
  ! compgen -G "$work/.killed-$signal.partial.*" >/dev/null || fail "a partial folder survived the run after SIG$signal"
done
echo "package check test: every variant accepted, warned about or refused as expected"
