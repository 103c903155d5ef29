#!/usr/bin/env bash
# run_fuzzer.sh replay FUZZER CORPUS WORKDIR
# run_fuzzer.sh run FUZZER CORPUS WORKDIR SECONDS
# replay runs every corpus file once; run mutates a fresh copy of the corpus
# for SECONDS. Crash inputs land in WORKDIR/artifacts.
set -euo pipefail
mode=$1 fuzzer=$2 corpus=$3 work=$4 seconds=${5:-60}
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
# Room for the record and its tail of switch bytes.
common=(-max_len=3860 -artifact_prefix="$work/artifacts/" -print_final_stats=1)
case "$mode" in
  replay)
    exec "$fuzzer" "${common[@]}" -runs=0 "$corpus" ;;
  run)
    cp "$corpus"/* "$work/corpus/"
    exec "$fuzzer" "${common[@]}" -max_total_time="$seconds" -timeout=60 -len_control=0 \
      -print_pcs=0 "$work/corpus" ;;
  *) echo "usage: $0 replay|run FUZZER CORPUS WORKDIR [SECONDS]" >&2; exit 2 ;;
esac
