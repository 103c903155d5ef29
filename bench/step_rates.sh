#!/bin/bash
# Steps per second of the fast step on the four sets kept in step_rates.md,
# one thread and two, over several rounds: zentrova-sim bench times them in
# turns with the literal step and checks that both agree bit for bit.
#   bench/step_rates.sh [ZENTROVA_SIM] [ROUNDS]
set -euo pipefail
sim=${1:-build/zentrova-sim}
rounds=${2:-5}
root=$(cd "$(dirname "$0")/.." && pwd)
sets=(
  "dense||-n 20"
  "three-groups after 2000 steps|$root/examples/three-groups.lis1|-n 20 --warm 2000"
  "set A|$root/tests/data/set-a.lis1|-n 20"
  "easy square|$root/examples/easy-square.lis1|-n 2000"
)
printf '%-28s %-6s %12s %12s %s\n' set round "1 thread" "2 threads" identical
for ((r = 1; r <= rounds; ++r)); do
  for entry in "${sets[@]}"; do
    IFS='|' read -r name file args <<<"$entry"
    # shellcheck disable=SC2086
    "$sim" bench $file $args --threads 2 | awk -v name="$name" -v r="$r" '
      /^fast:/ { two = $2 } /^fast, 1 thread:/ { one = $4 } /^identical:/ { same = $2 }
      END { printf "%-28s %-6s %12.0f %12.0f %s\n", name, r, one, two, same }'
  done
done
