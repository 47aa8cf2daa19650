# Sourced by the folder tests. expect_demo_installed LOG FOLDER: only after
# the success box is confirmed does the installer start the demo's start.sh,
# which prints its readme into LOG; then every payload file must be in FOLDER
# intact. Uses the caller's payload, evidence and fail.
expect_demo_installed() {
  local log=$1 folder=$2 started=no file
  for _ in $(seq 40); do
    grep -qF "$(head -n1 "$payload/readme.txt")" "$log" && { started=yes; break; }
    sleep 0.5
  done
  [ $started = yes ] || fail "the demo program was not started after the box (see $evidence/done.png): $(cat "$log")"
  for file in readme.txt start.sh data/level1.map data/level2.map data/tiles.dat; do
    cmp -s "$payload/$file" "$folder/$file" || fail "$file was not installed intact"
  done
  [ -x "$folder/start.sh" ] || fail "start.sh lost its execute bit"
}
