#!/usr/bin/env bash
# self_extractor_test.sh BUILD_DIR: make-run's single file carries an
# installer folder whole through a copy that lost every execute bit (a zip
# round trip, a vfat stick): given to sh, it runs setup in a temporary folder
# beside the whole tree and leaves nothing behind; --extract unpacks the same
# tree; a damaged or cut file writes nothing and runs nothing.
set -euo pipefail
build=$(realpath "${1:?usage: self_extractor_test.sh BUILD_DIR}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "self-extractor test: $*" >&2; exit 1; }

# An installer folder whose setup reports where it ran and what lay beside it.
folder="$work/installer"
mkdir -p "$folder/lib" "$folder/empty"
cat > "$folder/setup" <<EOF
#!/bin/sh
here=\$(cd "\$(dirname "\$0")" && pwd)
{ echo "\$here"; cd "\$here" && find . | sort; } > "$work/ran"
EOF
chmod 755 "$folder/setup"
printf 'library\0bytes' > "$folder/lib/libgame.so.1"
ln -s libgame.so.1 "$folder/lib/libgame.so"
printf 'Ω' > "$folder/café.txt"
"$build/bin/make-run" "$folder" "$work/game.run" >/dev/null
cp "$work/game.run" "$work/copy.run"
chmod 644 "$work/copy.run"

tmp="$work/tmp"
mkdir "$tmp"
TMPDIR="$tmp" sh "$work/copy.run" || fail "the copy without execute bits did not run"
[ -f "$work/ran" ] || fail "setup was not run"
ran_in=$(head -n 1 "$work/ran")
[[ $ran_in == "$tmp"/zenkor-setup.* ]] || fail "setup ran in $ran_in, not in a temporary folder"
[ ! -e "$ran_in" ] || fail "the temporary folder $ran_in was left behind"
[ "$(tail -n +2 "$work/ran")" = "$(cd "$folder" && find . | sort)" ] ||
  fail "setup did not find the whole folder beside it: $(cat "$work/ran")"

sh "$work/copy.run" --extract "$work/out" || fail "--extract failed"
diff -r --no-dereference "$folder" "$work/out" || fail "--extract did not give the folder back"
[ -x "$work/out/setup" ] || fail "setup lost its execute bit"

# Damaged: one byte of the payload changed; incomplete: the second half cut.
size=$(stat -c %s "$work/copy.run")
cp "$work/copy.run" "$work/damaged.run"
for byte in X Y; do
  printf '%s' "$byte" | dd of="$work/damaged.run" bs=1 seek=$((size - 60)) conv=notrunc 2>/dev/null
  cmp -s "$work/copy.run" "$work/damaged.run" || break
done
head -c $((size / 2)) "$work/copy.run" > "$work/cut.run"
for bad in damaged cut; do
  rm -f "$work/ran"
  status=0
  said=$(TMPDIR="$tmp" sh "$work/$bad.run" 2>&1) || status=$?
  [ $status -ne 0 ] || fail "the $bad file reported success"
  [[ $said == *"damaged or incomplete. Please download it again."* ]] || fail "the $bad file said: $said"
  [ ! -e "$work/ran" ] || fail "the $bad file ran setup"
  [ -z "$(ls -A "$tmp")" ] || fail "the $bad file wrote into $tmp"
done
echo "self-extractor test: run without execute bits, unpacked whole, damaged and cut files refused"
