#!/usr/bin/env bash
# Starts the program under a virtual display and saves a screenshot of it.
# usage: scripts/screenshot.sh OUT.png [seconds-to-wait] [xdotool commands...]
set -euo pipefail
out=$1; shift
wait=${1:-2}; shift || true
display=:${ZENTROVA_DISPLAY:-77}
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $prog $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display ./build/zentrova &
prog=$!
sleep "$wait"
for cmd in "$@"; do DISPLAY=$display bash -c "$cmd"; sleep 0.5; done
DISPLAY=$display import -window root "$out"
