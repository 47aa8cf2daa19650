#!/usr/bin/env bash
# check_package_test.sh BUILD_DIR: check-package on variants of the demo
# package, each accepted, warned about or refused with a line naming the key
# or file and what to do. CHECK_PACKAGE_LIBRARY names another RAR library to
# judge with (the build's own, build/own-unrar/libunrar.so); every verdict
# holds for either.
set -euo pipefail
build=$(realpath "${1:?usage: check_package_test.sh BUILD_DIR}")
tool="$build/bin/check-package"
library=${CHECK_PACKAGE_LIBRARY:-$build/bin/libunrar.so}
rarwrite="$build/bin/rarwrite"
base="$build/demo-package/files"
payload=$(cd "$(dirname "$0")/../../../demo/payload" && pwd)
samples=$(cd "$(dirname "$0")/../../../.." && pwd)/shared/rar-samples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "check-package test: $*" >&2; exit 1; }
for file in "$tool" "$library" "$rarwrite" "$base/install.ini"; do
  [ -e "$file" ] || fail "$file is missing; build the demo target first"
done
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

# Archives for the cases, written into the package copy: the demo's start
# script, executable, beside one more entry given as rarwrite arguments.
with_entry() { "$rarwrite" --host unix --attr 0100755 --file start.sh "$payload/start.sh" "$@" demo.rar; }
# A file of random bytes in the archive, the given number of megabytes.
with_random() {
  head -c "$(($1 * 1000000))" /dev/urandom > big.bin
  with_entry --file big.bin big.bin && rm big.bin
}
# Sets the key $1 of install.ini to the value $2.
ini() {
  awk -v key="$1" -v value="$2" 'index($0, key "=") == 1 { $0 = key "=" value } 1' install.ini > ini.new
  mv ini.new install.ini
}

# name | expected outcome | line the tool must print ("" for none) | shell
# command run inside the package copy to make the variant
cases=(
  # install.ini: its form and encoding, colours, sizes and key names
  "as built|accept|note: RARFile: tested demo.rar: 6 entries|:"
  "byte order mark, quotes, text after ]|accept||printf '\xef\xbb\xbf[zenkor installer] the keys\nGameTitleColorBackground=000000\nGameTitleColorForeground=\"00FFFF\"\nInfoLine1ColorForeground=FFFFFF\nInfoLine2ColorForeground=FFFFFF\nInfoLine3ColorForeground=FFFFFF\nSpaceRequired=1\nRARFile='demo.rar'\nMidiFile=music.mid\n' > install.ini"
  "Windows-1252 title|accept||sed -i 's/^GameTitle=.*/GameTitle=Caf\xe9/' install.ini"
  "UTF-16 install.ini|refuse|error: install.ini: its encoding is UTF-16 (little-endian)|iconv -f UTF-8 -t UTF-16 install.ini > wide && mv wide install.ini"
  "UTF-16 without a mark|refuse|error: install.ini: its encoding is UTF-16 (little-endian, no byte order mark)|iconv -f UTF-8 -t UTF-16LE install.ini > wide && mv wide install.ini"
  "misspelled section|refuse|error: install.ini: has no section [zenkor Installer]; rename [zenkor Instaler]|sed -i 's/^\[zenkor Installer\]/[zenkor Instaler]/' install.ini"
  "misspelled RunProgram|refuse|error: RunProgramm: is not a key setup reads; rename it to RunProgram|sed -i 's/^RunProgram=/RunProgramm=/' install.ini"
  "misspelled GameTitle|refuse|error: GameTitel: is not a key setup reads; rename it to GameTitle|sed -i 's/^GameTitle=/GameTitel=/' install.ini"
  "a key setup ignores|warn|warning: Publisher: is not a key setup reads; it is ignored|echo Publisher=Zenkor >> install.ini"
  "hash colour|refuse|error: GameTitleColorBackground: setup shows \"'\$#FFFFFF' is not a valid integer value.\"|ini GameTitleColorBackground '#FFFFFF'"
  "huge title|refuse|error: GameTitleFontSize: a title of 2147483647 points|ini GameTitleFontSize 2147483647"
  "title wider than the window|warn|warning: GameTitle: at 300 points the title is|ini GameTitleFontSize 300"
  "title taller than the window|warn|pixels down it shows the values setup keeps hidden: use at most|ini GameTitle Z && ini GameTitleFontSize 150"
  "line wider than the window|warn|warning: InfoLine2: is|ini InfoLine2 \"\$(printf 'wide %.0s' {1..40})\""
  "title size in words|warn|warning: GameTitleFontSize: 'big' is not a number|ini GameTitleFontSize big"
  "space in words|refuse|error: SpaceRequired: setup shows \"'one' is not a valid integer value.\"|ini SpaceRequired one"
  "space smaller than the archive|refuse|error: SpaceRequired: 1 MB is less than the 3.0 MB the archive unpacks to|with_random 3"
  # RARFile: the archive and what it holds
  "archive not RAR|refuse|error: RARFile: zenkor.nfo is not a RAR archive|ini RARFile zenkor.nfo"
  "archive missing|refuse|error: RARFile: the archive|rm demo.rar"
  "archive named in another case|refuse|error: RARFile: the archive demo.rar is not in the package, but Demo.rar is|mv demo.rar Demo.rar"
  "missing volume|refuse|needs the volume rar5-volumes.part02.rar|cp '$samples/rar5-volumes.part01.rar' . && ini RARFile rar5-volumes.part01.rar"
  "4 bytes changed at 20 MB|refuse|error: RARFile: demo.rar: the entry big.bin is damaged or incomplete|with_random 21 && ini SpaceRequired 22 && printf XXXX | dd of=demo.rar bs=1 seek=20000000 conv=notrunc status=none"
  "archive cut short|refuse|the entry big.bin is damaged or incomplete|with_random 3 && ini SpaceRequired 4 && truncate -s 2000000 demo.rar"
  "archive cut where an entry begins|refuse|demo.rar ends early|head -c 148 '$samples/rar4-unix-basic.rar' > demo.rar && ini RunProgram ''"
  "name with ..|refuse|error: RARFile: the entry ../evil.txt would land outside the install folder|with_entry --file ../evil.txt '$payload/readme.txt'"
  "absolute name|refuse|error: RARFile: the entry /evil.txt would land outside the install folder|with_entry --file /evil.txt '$payload/readme.txt'"
  "link leaving the folder|refuse|link data/up|with_entry --link data/up ../../etc/passwd"
  "absolute link|refuse|the link abs|with_entry --link abs /etc/passwd"
  "links inside the folder, newer archive|accept||cp '$samples/rar5-stored-crc.rar' demo.rar && ini RunProgram game/start.sh && ini SpaceRequired 3"
  "program behind a link|accept||with_entry --link data/run ../start.sh && ini RunProgram 'data/run --windowed'"
  "program behind a link without execute bit|refuse|error: RunProgram: data/run (a link to readme.txt) has mode 644|with_entry --link data/run ../readme.txt --file readme.txt '$payload/readme.txt' && ini RunProgram data/run"
  "program not in the archive|refuse|error: RunProgram: game.sh is not in the archive: setup says the program is installed and starts nothing|ini RunProgram game.sh"
  "program in another case|refuse|error: RunProgram: Start.sh is not in the archive, but start.sh is: write RunProgram=start.sh|ini RunProgram Start.sh"
  "program without execute bit|refuse|error: RunProgram: readme.txt has mode 644 in the archive|ini RunProgram readme.txt"
  "program from a Windows archive|refuse|error: RunProgram: the archive was not made on Unix and keeps no execute bits|'$rarwrite' --host windows --from-dir '$payload' demo.rar"
  # the files beside install.ini
  "music missing|warn|warning: MidiFile: setup shows \"The music file music.mid does not exist.\"|rm music.mid"
  "huge NFO|warn|warning: zenkor.nfo: the NFO button shows \"Text exceeds memo capacity.\"|printf '%300000s' x > zenkor.nfo"
  "NFO in UTF-8|warn|warning: zenkor.nfo: is saved as UTF-8, but the viewer shows each byte in code page 437, so its 2 characters|printf 'caf\xc3\xa9 \xe2\x96\x88\n' > zenkor.nfo"
  "small header|warn|warning: header.png: is 10 x 10 pixels, not 594 x 171|convert -size 10x10 xc:red header.png"
  "header as JPEG|refuse|error: header.jpg: setup reads only header.png, a PNG picture|convert -size 594x171 xc:red header.jpg"
  "button in another case|refuse|error: Exit.png: setup reads only exit.png, a PNG picture, and shows its built-in one instead: rename it exit.png|convert -size 77x30 xc:red Exit.png"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r name outcome line command <<<"$entry"
  package="$work/package"
  rm -rf "$package"
  cp -a "$base" "$package"
  (cd "$package" && eval "$command") || fail "$name: the variant could not be made"
  status=0
  output=$("$tool" "$package" "$library" 2>/dev/null) || status=$?
  case $outcome in
    accept) [[ $status -eq 0 && $output != *error:* && $output != *warning:* ]] ;;
    warn) [[ $status -eq 0 && $output != *error:* && $output == *warning:* ]] ;;
    refuse) [[ $status -eq 1 && $output == *error:* ]] ;;
  esac || fail "$name: expected $outcome, got status $status: $output"
  [[ -z $line || $output == *"$line"* ]] || fail "$name: no line \"$line\" in: $output"
  # Every archive that is read is decoded whole, and the time is told.
  [[ $output != *"note: RARFile: tested"* || $output =~ decoded\ in\ [0-9]+\.[0-9]{2}\ s ]] ||
    fail "$name: the test's time is not told: $output"
done
echo "check-package test: ${#cases[@]} variants accepted, warned about or refused as expected"
