#!/usr/bin/env bash
# run_under_xvfb.sh COMMAND [ARG...]
# Runs COMMAND on a virtual X server of its own: Xvfb takes the first free
# display itself (-displayfd), so tests running at the same time never share
# or race for one. Exits with the command's status; 124 if it ran 40 s.
set -euo pipefail
numberFile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$numberFile" 2>/dev/null &
server=$!
trap 'kill $server; wait $server || true; rm -f "$numberFile"' EXIT
for _ in $(seq 200); do [[ -s $numberFile ]] && break; sleep 0.05; done
[[ -s $numberFile ]] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=:$(cat "$numberFile") QT_QPA_PLATFORM=xcb timeout 40 "$@"
