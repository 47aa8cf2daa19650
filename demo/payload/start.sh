#!/bin/sh
# The demo program: shows that the installation arrived complete.
cd "$(dirname "$0")" || exit 1
missing=""
for file in readme.txt data/level1.map data/level2.map data/tiles.dat; do
    [ -f "$file" ] || missing="$missing $file"
done
if [ -n "$missing" ]; then
    message="Zenkor Demo is incomplete; missing:$missing"
else
    message="$(cat readme.txt)"
fi
if command -v xmessage >/dev/null 2>&1 && [ -n "$DISPLAY" ]; then
    exec xmessage -center -title "Zenkor Demo" -buttons "Play later:0" "$message"
fi
printf '%s\n' "$message"
