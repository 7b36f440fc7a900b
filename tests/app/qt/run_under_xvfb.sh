#!/usr/bin/env bash
# Starts the editor through its harness on a virtual X server, saves screenshots
# of the main and about windows into the build folder and quits with the Quit
# shortcut; fails unless the program exits with 0 and both pictures exist.
set -euo pipefail
harness=$1
out=$2
rm -f "$out/main-window.png" "$out/about-window.png"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1280x800x24" timeout 60 "$harness" \
  --screenshot "$out/main-window.png" --about-screenshot "$out/about-window.png" --report-shown
for picture in "$out/main-window.png" "$out/about-window.png"; do
  [ -s "$picture" ] || { echo "missing screenshot $picture" >&2; exit 1; }
done
echo "screenshots: $out/main-window.png $out/about-window.png"
