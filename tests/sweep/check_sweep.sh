#!/bin/sh
# A four-point sweep through GNU parallel: one JSON line per run, none faulted.
# usage: check_sweep.sh ZENTROVA_SIM SET.lis1
set -eu
sim=$1
set_file=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
parallel --will-cite -j2 "$sim" run "$set_file" -n 30 --threads 1 --set B2={} --summary ::: 0.2 0.3 0.4 0.5 >"$out"
lines=$(wc -l <"$out")
[ "$lines" -eq 4 ] || { echo "expected 4 lines, got $lines"; cat "$out"; exit 1; }
distinct=$(grep -o '"B2":[^,]*' "$out" | sort -u | wc -l)
[ "$distinct" -eq 4 ] || { echo "expected 4 values of B2, got $distinct"; cat "$out"; exit 1; }
if grep -v '"steps":30,"fault":null,' "$out"; then echo "a run did not complete"; exit 1; fi
