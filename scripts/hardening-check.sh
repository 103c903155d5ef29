#!/usr/bin/env bash
# The whole test suite again, built by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the fuzz tests (bounded runs of the
# libFuzzer targets). Fails on any failing test, any sanitizer report and any
# fuzz crash. Uses build-check/; the end-to-end tests (label e2e) run in the
# normal build only.
#
#   scripts/hardening-check.sh            configure, build, suite, fuzz
#   ZENTROVA_FUZZ_SECONDS=300 scripts/hardening-check.sh   a longer fuzz run
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-check
jobs=$(nproc)
start=$(date +%s)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZENTROVA_SANITIZE=ON -DZENTROVA_FUZZ=ON \
  -DZENTROVA_FUZZ_SECONDS="${ZENTROVA_FUZZ_SECONDS:-60}" >/dev/null

# Everything: the install test needs the program, and the few targets no test
# uses (benchmarks, examples tool) cost seconds, less than a list kept by hand.
cmake --build "$build" -j"$jobs"

# Reports go to files as well as failing the process, so that a report in a
# child process whose exit status a test ignores still fails the check.
logs=$build/sanitizer-logs
rm -rf "$logs"
mkdir -p "$logs"
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:log_path=$logs/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$logs/ubsan"
if [ -f "$root/tests/sanitizer/lsan.supp" ]; then
  export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp"
fi
export QT_QPA_PLATFORM=offscreen

status=0
ctest --test-dir "$build" --output-on-failure -j"$jobs" -LE '^(e2e|fuzz)$' || status=1
suite_end=$(date +%s)
ctest --test-dir "$build" --output-on-failure -L '^fuzz$' || status=1

if compgen -G "$logs/*" >/dev/null; then
  echo "Sanitizer reports:" >&2
  for f in "$logs"/*; do
    echo "==== $f" >&2
    cat "$f" >&2
  done
  status=1
fi

end=$(date +%s)
echo "hardening check: build and suite $((suite_end - start)) s, fuzz $((end - suite_end)) s"
if [ "$status" -ne 0 ]; then
  echo "hardening check FAILED (fuzz crash inputs, if any, are in $build/tests/fuzz/*/artifacts)" >&2
fi
exit "$status"
