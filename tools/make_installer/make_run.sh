#!/usr/bin/env bash
# make-run FOLDER FILE.run
# Writes an installer folder as one self-extracting file: a short POSIX sh
# header, then the folder as an xz-compressed tar. Started (or given to sh,
# when a copy lost its execute bit), the file checks the SHA-256 of its
# payload before writing anything, unpacks into a temporary folder where
# programs may run, runs setup there and removes the folder when setup ends.
# It also takes --check (check only) and --extract DIR (check and unpack into
# DIR, nothing run).
set -euo pipefail

fail() { echo "make-run: $*" >&2; exit 1; }
[ $# -eq 2 ] || { echo "usage: make-run FOLDER FILE.run" >&2; exit 2; }
folder=$(realpath -- "$1") || fail "no folder $1"
run=$(realpath -m -- "$2")
[ -f "$folder/setup" ] || fail "$folder holds no setup"
[[ $run != "$folder"/* ]] || fail "the file cannot lie inside the folder it holds"
for tool in tar xz sha256sum; do command -v "$tool" >/dev/null || fail "$tool is not installed"; done

partial=$(mktemp "$run.partial.XXXXXX")
payload=$(mktemp "$run.payload.XXXXXX")
trap 'rm -f "$partial" "$payload"' EXIT
# Owners are left out: the user who unpacks owns the files.
tar -C "$folder" --owner=0 --group=0 --numeric-owner --sort=name -cf - . | xz -T2 -6 -c > "$payload"
sum=$(sha256sum < "$payload" | cut -d' ' -f1)

header() {
  cat <<EOF
#!/bin/sh
# A self-extracting installer: sh $(basename "$run") [--check | --extract DIR]
# The payload after this header is checked before anything is written.
skip=$1
sum=$sum
EOF
  cat <<'EOF'
me=$0
fail() { echo "$me: $*" >&2; exit 1; }
payload() { tail -c +$((skip + 1)) "$me"; }
for tool in tail sha256sum xz tar mktemp; do
  command -v "$tool" >/dev/null 2>&1 || fail "the command $tool is needed"
done
[ -r "$me" ] || fail "cannot read this file"
actual=$(payload | sha256sum | cut -d' ' -f1)
[ "$actual" = "$sum" ] || fail "this file is damaged or incomplete. Please download it again."
unpack() { payload | xz -dc | tar -xf - -C "$1"; }
case ${1:-} in
  --check) echo "$me: intact"; exit 0 ;;
  --extract)
    [ -n "${2:-}" ] || fail "--extract needs a folder"
    mkdir -p "$2" && unpack "$2" || fail "could not unpack into $2"
    exit 0 ;;
  '') ;;
  *) echo "usage: sh $me [--check | --extract DIR]" >&2; exit 2 ;;
esac
# A temporary folder where programs may run: some systems mount /tmp noexec.
dir=
trap '[ -z "$dir" ] || rm -rf "$dir"' EXIT
trap 'exit 1' INT TERM HUP
for base in "${TMPDIR:-/tmp}" "${XDG_RUNTIME_DIR:-}" "${HOME:-}/.cache"; do
  [ -n "$base" ] && [ -d "$base" ] && [ -w "$base" ] || continue
  dir=$(mktemp -d "$base/zenkor-setup.XXXXXX") || { dir=; continue; }
  printf '#!/bin/sh\nexit 0\n' > "$dir/probe" && chmod 700 "$dir/probe" &&
    "$dir/probe" 2>/dev/null && rm -f "$dir/probe" && break
  rm -rf "$dir"
  dir=
done
[ -n "$dir" ] || fail "found no temporary folder where setup may run"
unpack "$dir" || fail "could not unpack into $dir (is the disk full?)"
status=0
"$dir/setup" || status=$?
exit $status
EOF
}
# The header names its own length: settle the number.
skip=0
while length=$(header "$skip" | wc -c) && [ "$length" -ne "$skip" ]; do skip=$length; done
{ header "$skip"; cat "$payload"; } > "$partial"
chmod 755 "$partial"
mv "$partial" "$run"
echo "make-run: $run holds $folder, $(stat -c %s "$run" | awk '{ printf "%.1f MB", $1 / 1e6 }')"
