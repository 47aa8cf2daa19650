#!/usr/bin/env bash
# Extraction cost of the RAR engine with the installer folder's libunrar.so
# (extract-trace --quiet) against three peers measured in the same run:
#   loop    the same library driven by a bare loop over its interface
#           (rar_library_loop): what the engine itself adds
#   unrar   `unrar x` from Debian's unrar package (fetched by build.sh into
#           build/debian; it is not part of any installer folder)
#   bsdtar  libarchive's bsdtar -xf
# For each archive it prints user+system CPU seconds, wall seconds and peak
# resident memory of every tool (best CPU of ROUNDS rounds, each round
# running every tool once in turn, and the highest peak; small archives are
# extracted many times per run and the figures divided), and
# the engine's CPU ratio to each peer, and the bare loop's to `unrar x`.
# Goals: engine/loop <= 1.05 (<= 1.10 on the 100,000 tiny files, where the
# engine's checks of each path show), engine peak RSS < 40 MB. A tool that
# fails on an archive is marked "FAILED".
#
# usage: bench/engine_bench.sh [BUILD_DIR] [WORK_DIR] [ROUNDS]
#   BUILD_DIR  a build holding bin/extract-trace, bin/libunrar.so,
#              bin/rar_library_loop and bin/rarwrite (default: build);
#              build it in Release for figures (see docs/tools-and-benchmarks.md)
#   WORK_DIR   scratch space, about 1 GB (default: a new temporary folder)
#   ROUNDS     rounds per archive (default: 5)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
work=${2:-$(mktemp -d /tmp/zk-engine-bench-XXXXXX)}
rounds=${3:-5}
samples="$root/../shared/rar-samples"
library="$build/bin/libunrar.so"
unrar_tool="$root/build/debian/root/usr/bin/unrar-nonfree"
for tool in "$build/bin/extract-trace" "$build/bin/rar_library_loop" "$build/bin/rarwrite" "$library"; do
  [ -e "$tool" ] || { echo "missing $tool (build extract-trace, rar_library_loop, rarwrite, rar_library)" >&2; exit 2; }
done
[ -x "$unrar_tool" ] || { echo "missing $unrar_tool (run ./build.sh once: it fetches Debian's unrar)" >&2; exit 2; }
command -v bsdtar >/dev/null || { echo "bsdtar missing (libarchive-tools)" >&2; exit 2; }
[ -d "$samples" ] || { echo "no $samples" >&2; exit 2; }
mkdir -p "$work"
trap 'rm -rf "$work/out"' EXIT

. "$root/bench/many_files.sh"

# COUNT small files of up to WORDS words, 100 to a folder, written with the
# project's rarwrite into NAME.rar.
make_many_files() { # COUNT WORDS NAME
  local count=$1 words=$2 name=$3
  [ -e "$work/$name.rar" ] && return
  write_many_files "$work/$name" "$count" "$words"
  "$build/bin/rarwrite" --host unix --from-dir "$work/$name" "$work/$name.rar"
  rm -rf "${work:?}/$name"
}

# Runs an extraction $repeat times into a fresh folder (small archives take
# too little CPU to time once); prints "cpu wall peak-kb status" per run.
# The kernel frees the last tree's inodes a moment after its removal; the
# pause keeps that work out of the next tool's time.
measure() {
  rm -rf "$work/out" && mkdir -p "$work/out"
  sleep 1
  local status=0
  /usr/bin/time -f "%U %S %e %M" -o "$work/time.txt" \
    bash -c 'for ((i = 0; i < $0; i++)); do "$@" || exit; done' "$repeat" "$@" \
    > /dev/null 2> "$work/stderr.txt" || status=$?
  awk -v s="$status" -v n="$repeat" 'END { printf "%.4f %.4f %d %d\n", ($1 + $2) / n, $3 / n, $4, s }' "$work/time.txt"
}

# bsdtar reads a volume set only as one stream of its volumes.
bsdtar_extract() {
  local first=$1 stem
  case "$first" in
    *.part*.rar) stem=${first%.part*.rar}; cat "$stem".part*.rar | bsdtar -xf - -C "$work/out" ;;
    *) bsdtar -xf "$first" -C "$work/out" ;;
  esac
}
# The four tools, each given the archive.
engine_extract() { "$build/bin/extract-trace" --quiet --library "$library" "$1" "$work/out"; }
loop_extract() { "$build/bin/rar_library_loop" "$library" "$1" "$work/out"; }
unrar_extract() { "$unrar_tool" x -o+ -idq "$1" "$work/out/"; }
export -f bsdtar_extract engine_extract loop_extract unrar_extract
export work build library unrar_tool
tools=(engine loop unrar bsdtar)

# One run of every tool per round, the tools in turn, so that a slow spell of
# the machine falls on all of them alike; each tool keeps its best CPU of
# $rounds rounds with that run's wall time, its highest peak and its worst
# status, as "cpu wall peak-kb status" in result[TOOL].
declare -A result
run_rounds() { # ARCHIVE
  local round tool cpu wall kb status best_cpu best_wall best_kb worst
  result=()
  for ((round = 0; round < rounds; round++)); do
    for tool in "${tools[@]}"; do
      read -r cpu wall kb status < <(measure bash -c "${tool}_extract \"\$0\"" "$1")
      if [ -z "${result[$tool]:-}" ]; then
        result[$tool]="$cpu $wall $kb $status"
        continue
      fi
      read -r best_cpu best_wall best_kb worst <<< "${result[$tool]}"
      if awk -v a="$cpu" -v b="$best_cpu" 'BEGIN { exit !(a < b) }'; then
        best_cpu=$cpu best_wall=$wall
      fi
      [ "$kb" -gt "$best_kb" ] && best_kb=$kb
      [ "$status" -ne 0 ] && worst=$status
      result[$tool]="$best_cpu $best_wall $best_kb $worst"
    done
  done
}

line() { # LABEL CPU WALL KB STATUS
  awk -v l="$1" -v c="$2" -v w="$3" -v k="$4" -v s="$5" 'BEGIN {
    printf "  %-7s cpu %8.3fs  wall %8.3fs  peak RSS %7.1f MB%s\n", l, c, w, k / 1024, s == 0 ? "" : "  FAILED" }'
}

ratio() { # LABEL CPU PEER-CPU GOAL
  awk -v l="$1" -v e="$2" -v p="$3" -v g="$4" 'BEGIN {
    if (p > 0) printf "  %-13s %6.3f%s\n", l, e / p, g == "" ? "" : "  (goal <= " g ")"
    else printf "  %-13s  n/a (peer too fast to time)\n", l }'
}

compare() { # LABEL ARCHIVE REPEAT [GOAL]
  local label=$1 archive=$2 goal=${4:-1.05}
  repeat=$3
  echo "$label ($(basename "$archive")), per run, $repeat runs in a row"
  run_rounds "$archive"
  read -r ec ew ek es <<< "${result[engine]}"
  read -r lc lw lk ls <<< "${result[loop]}"
  read -r uc uw uk us <<< "${result[unrar]}"
  read -r bc bw bk bs <<< "${result[bsdtar]}"
  line engine "$ec" "$ew" "$ek" "$es"
  line loop "$lc" "$lw" "$lk" "$ls"
  line unrar "$uc" "$uw" "$uk" "$us"
  line bsdtar "$bc" "$bw" "$bk" "$bs"
  ratio engine/loop "$ec" "$lc" "$goal"
  ratio engine/unrar "$ec" "$uc" ""
  ratio engine/bsdtar "$ec" "$bc" ""
  # What the library's interface itself costs over the library's own tool.
  ratio loop/unrar "$lc" "$uc" ""
  awk -v k="$ek" 'BEGIN { printf "  engine peak RSS %.1f MB (goal < 40 MB)\n", k / 1024 }'
}

make_many_files 17600 2000 many
make_many_files 100000 40 tiny
echo "library: $(readlink -f "$library")"
compare "multi-volume, RAR 5, 3 volumes" "$samples/rar5-volumes.part01.rar" 40
compare "multi-volume, RAR 4, 241 MB PPMd/LZSS" "$samples/rar4-multivolume.part0001.rar" 1
compare "solid, 512 MB dictionary" "$samples/rar5-solid-bigdict.rar" 40
compare "17,600 small files, stored" "$work/many.rar" 4
# Where the engine's own work per entry shows most (give a tmpfs WORK_DIR).
compare "100,000 tiny files, stored" "$work/tiny.rar" 1 1.10
