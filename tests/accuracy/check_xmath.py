#!/usr/bin/env python3
"""Runs xmath_dump and checks every exp and log it prints against mpmath at
200 bits: each result must lie within one unit in the last place of the
exact value (64-bit significand; the denormal spacing below the normal range).

usage: check_xmath.py XMATH_DUMP [ARGUMENTS_PER_RANGE]"""
import subprocess
import sys

import mpmath
from mpmath import mpf

mpmath.mp.prec = 200
TINY = mpf(2) ** -16445
ONE = mpf(1)
# e^x above this rounds to infinity.
OVERFLOW = (mpf(2) ** 64 - mpf(0.5)) * mpf(2) ** (16383 - 63)


def decode(h):
    se, m = int(h[:4], 16), int(h[4:], 16)
    sign, e = se >> 15, se & 0x7FFF
    if e == 0x7FFF:
        return mpmath.inf * (-1 if sign else 1) if m & ((1 << 63) - 1) == 0 else mpmath.nan
    return mpf((-m if sign else m, max(e, 1) - 16383 - 63))


def ulp(z):
    if z == 0:
        return TINY
    _, e = mpmath.frexp(z)  # z = f * 2^e, 0.5 <= |f| < 1
    return max(mpmath.ldexp(ONE, e - 64), TINY)


def main():
    cmd = [sys.argv[1]] + sys.argv[2:3]
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    worst = {"e": (0, None), "l": (0, None)}
    count = {"e": 0, "l": 0}
    failures = []
    for line in out.splitlines():
        f, hx, hy = line.split()
        x, y = decode(hx), decode(hy)
        count[f] += 1
        if f == "e":
            z = mpmath.exp(x)
            if z > OVERFLOW:
                ok = y == mpmath.inf
                err = 0 if ok else mpmath.inf
            else:
                err = abs(y - z) / ulp(z) if y != mpmath.inf else mpmath.inf
        elif x <= 0:
            err = 0 if (y == -mpmath.inf if x == 0 else mpmath.isnan(y)) else mpmath.inf
        else:
            z = mpmath.log(x)
            err = abs(y - z) / ulp(z)
        if err > worst[f][0]:
            worst[f] = (err, hx)
        if not err < 1:
            failures.append(f"{f} {hx} -> {hy}: {mpmath.nstr(err, 4)} ulp")
    for f, name in (("e", "exp"), ("l", "log")):
        e, hx = worst[f]
        print(f"{name}: {count[f]} arguments, largest error {mpmath.nstr(e, 4)} ulp at {hx}")
    for line in failures[:20]:
        print("FAIL", line)
    return 1 if failures or not count["e"] or not count["l"] else 0


if __name__ == "__main__":
    sys.exit(main())
