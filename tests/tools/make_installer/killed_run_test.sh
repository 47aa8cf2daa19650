#!/usr/bin/env bash
# killed_run_test.sh BUILD_DIR: make-installer killed while copying, with
# every process it started (as a closed terminal does), leaves nothing under
# the output's name, and the next run clears what the killed one left behind.
set -euo pipefail
build=$(realpath "${1:?usage: killed_run_test.sh BUILD_DIR}")
tool="$build/bin/make-installer"
base="$build/demo-package/files"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "killed run test: $*" >&2; exit 1; }

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
echo "killed run test: no output left by a run killed with SIGTERM or SIGKILL"
