#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest, then
# the core and window tests again under LC_ALL=ru_RU.UTF-8.
# Afterwards, unless ZENTROVA_QUICK=1, the sanitizer build runs the whole suite
# again and the fuzzers run for a bounded time (scripts/hardening-check.sh).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
# A new compiler warning fails the build.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTROVA_WERROR=ON >/dev/null
cmake --build build -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
# Once more with a decimal comma: the window follows the locale, text written
# for other programs must not.
LC_ALL=ru_RU.UTF-8 ctest --test-dir build --output-on-failure -j"$(nproc)" -L '^(core|window)$' "$@"
if [ "${ZENTROVA_QUICK:-0}" != 1 ] && [ -x scripts/hardening-check.sh ]; then
  ./scripts/hardening-check.sh
fi
