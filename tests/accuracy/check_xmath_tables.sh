#!/usr/bin/env bash
# Writes the tables of exp and log again with their generator and compares
# them with the committed header: an edit by hand, or a generator changed
# without its output, shows here.
# usage: check_xmath_tables.sh PYTHON SOURCE_DIR OUT
set -euo pipefail
python=$1 source=$2 out=$3
"$python" "$source/scripts/make_xmath_tables.py" "$out"
if ! diff -u "$source/src/dynamics/xmath_tables.h" "$out" >"$out.diff"; then
  head -n 40 "$out.diff" >&2
  echo "FAIL: src/dynamics/xmath_tables.h differs from what scripts/make_xmath_tables.py writes" >&2
  exit 1
fi
echo "xmath tables OK"
