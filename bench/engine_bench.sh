#!/usr/bin/env bash
# Extraction speed and memory of the RAR engine with the project's
# libunrar.so (extract-trace --quiet) against bsdtar -xf on the same archives,
# measured in the same run. Prints per archive the best wall time of three
# runs of each, the ratio engine/bsdtar, and the peak resident memory of each.
#
# usage: bench/engine_bench.sh [BUILD_DIR] [WORK_DIR]
#   BUILD_DIR  a build holding bin/extract-trace, bin/libunrar.so and
#              bin/rarwrite (default: build); build it in Release for figures
#   WORK_DIR   scratch space, about 2 GB (default: a new temporary folder)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=${2:-$(mktemp -d /tmp/zk-engine-bench-XXXXXX)}
samples="$root/../shared/rar-samples"
trace="$build/bin/extract-trace"
rarwrite="$build/bin/rarwrite"
for tool in "$trace" "$rarwrite" "$build/bin/libunrar.so"; do
  [ -e "$tool" ] || { echo "missing $tool (build extract-trace, unrar and rarwrite)" >&2; exit 2; }
done
command -v bsdtar >/dev/null || { echo "bsdtar missing (libarchive-tools)" >&2; exit 2; }
mkdir -p "$work"
trap 'rm -rf "$work/out"' EXIT

make_archives() {
  if [ ! -e "$work/big.rar" ]; then
    mkdir -p "$work/big"
    for i in $(seq -w 1 64); do head -c 8M /dev/urandom > "$work/big/file$i.bin"; done
    "$rarwrite" --from-dir "$work/big" "$work/big.rar"
    rm -rf "$work/big"
  fi
  if [ ! -e "$work/small.rar" ]; then
    python3 - "$work/small" <<'PY'
import os, random, sys
root = sys.argv[1]
rng = random.Random(20000)
for i in range(20000):
    folder = os.path.join(root, "d%03d" % (i // 200))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%05d.dat" % i), "wb") as f:
        f.write(rng.randbytes(rng.randint(1024, 8192)))
PY
    "$rarwrite" --from-dir "$work/small" "$work/small.rar"
    rm -rf "$work/small"
  fi
  for v in "$samples"/rar4-multivolume.part000?.rar; do
    [ -e "$work/$(basename "$v")" ] || cp "$v" "$work/"
  done
}

# Runs one extraction into a fresh folder; prints "seconds peak-kilobytes".
measure() {
  rm -rf "$work/out" && mkdir -p "$work/out" && sync
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" > /dev/null 2>&1 || true
  tail -n 1 "$work/time.txt" # after a "Command exited with" line, if any
}

best_of_three() {
  local best="" peak=0 t m
  for _ in 1 2 3; do
    read -r t m < <(measure "$@")
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$best $peak"
}

# bsdtar reads a multi-volume archive only as one stream of its volumes.
bsdtar_volumes() {
  cat "$work"/rar4-multivolume.part000?.rar | bsdtar -xf - -C "$work/out"
}

# compare LABEL ARCHIVE TARGET PEER-COMMAND...
compare() {
  local label=$1 archive=$2 target=$3
  shift 3
  read -r et em < <(best_of_three "$trace" --quiet "$archive" "$work/out")
  read -r bt bm < <(best_of_three "$@")
  awk -v l="$label" -v et="$et" -v bt="$bt" -v em="$em" -v bm="$bm" -v t="$target" 'BEGIN {
    r = bt > 0 ? et / bt : 0
    printf "%-28s engine %7.2fs  bsdtar %7.2fs  ratio %.3f (target <= %s)  peak RSS engine %.1f MB, bsdtar %.1f MB (target < 40 MB)\n",
      l, et, bt, r, t, em / 1024, bm / 1024 }'
}

make_archives
export -f bsdtar_volumes
export work
compare "stored 64 files, 512 MB" "$work/big.rar" 1.03 bsdtar -xf "$work/big.rar" -C "$work/out"
compare "20,000 files of 1-8 KB" "$work/small.rar" 1.15 bsdtar -xf "$work/small.rar" -C "$work/out"
compare "multi-volume sample" "$work/rar4-multivolume.part0001.rar" 1.05 bash -c bsdtar_volumes
