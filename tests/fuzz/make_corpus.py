#!/usr/bin/env python3
"""Writes the fuzz corpus: the test sets as they are, and hand-made records
with the bit patterns that matter to an 80-bit reader (NaNs, infinities,
denormals, unnormals, pseudo-denormals), zero and huge values, coincident
particles, odd presence bytes and short files. Each name says what it holds.
Run from anywhere; rewrites tests/fuzz/corpus/."""
import math
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "data")
OUT = os.path.join(HERE, "corpus")
SIZE = 3784
PARAMS = ["A1", "B1", "A2", "B2", "C2", "D2", "A3", "B3", "C3", "D3"]
ARRAYS = {"X": 120, "Y": 720, "Z": 1320, "Ux": 1920, "Uy": 2520, "Uz": 3120}
PRESENT = 3720


def ext(significand, exponent, sign=0):
    return struct.pack("<QH", significand, (sign << 15) | exponent)


def real(x):
    """The extended value of a finite float (exact for any double)."""
    if x == 0:
        return ext(0, 0, 1 if math.copysign(1, x) < 0 else 0)
    sign = 1 if x < 0 else 0
    m, e = math.frexp(abs(x))  # x = m * 2^e, 0.5 <= m < 1
    return ext(int(m * 2 ** 64), e - 1 + 16383, sign)


QNAN = ext(0xC000000000000000, 0x7FFF)
SNAN = ext(0x8000000000000001, 0x7FFF)
INF = ext(0x8000000000000000, 0x7FFF)
NINF = ext(0x8000000000000000, 0x7FFF, 1)
MAX = ext(0xFFFFFFFFFFFFFFFF, 0x7FFE)
DENORM_MIN = ext(1, 0)
DENORM = ext(0x0000123456789ABC, 0)
PSEUDO_DENORM = ext(0x8000000000000123, 0)
UNNORMAL = ext(0x4000000000000000, 0x3FFF)
PSEUDO_INF = ext(0, 0x7FFF)
PSEUDO_NAN = ext(0x4000000000000000, 0x7FFF)


def base():
    with open(os.path.join(DATA, "set-a.lis1"), "rb") as f:
        return bytearray(f.read())


def put(rec, offset, value):
    rec[offset:offset + 10] = value


def param_offset(name):
    return 16 + 10 * PARAMS.index(name)


def slot(array, i):
    return ARRAYS[array] + 10 * (i - 1)


def fill_all(rec, value, with_params=True):
    if with_params:
        put(rec, 0, value)
        for p in PARAMS:
            put(rec, param_offset(p), value)
    for a in ARRAYS:
        for i in range(1, 61):
            put(rec, slot(a, i), value)


def tail(step=0, view=0, angles=None, width=None, pan_top=None):
    """Switch bytes after the record (see fuzz_set_file.cpp)."""
    t = bytearray([step, view])
    if angles is not None or width is not None:
        reals = angles or [real(0)] * 3 + [real(120.0), real(0), real(0)]
        for r in reals:
            t += r
        t += struct.pack("<HH", width or 703, pan_top or 400)
    return bytes(t)


TAOSCOPE, PE_OUT, PES1_OUT, PES2_OUT, COOL, BLOCKADE, LITERAL, COMPARE = (1 << n for n in range(8))
COMMA, NUMBERS, SPIRAL = 1, 2, 4


def main():
    shutil.rmtree(OUT, ignore_errors=True)
    os.makedirs(OUT)
    cases = {}
    for name in sorted(os.listdir(DATA)):
        if name.endswith(".lis1"):
            with open(os.path.join(DATA, name), "rb") as f:
                cases["data-" + name[:-5]] = f.read()

    cases["data-set-a-compare"] = bytes(base()) + tail(COMPARE | COOL, NUMBERS | SPIRAL)
    cases["data-set-a-taoscope-blockade-compare"] = bytes(base()) + tail(TAOSCOPE | BLOCKADE | COMPARE, COMMA)
    cases["data-set-a-groups-out"] = bytes(base()) + tail(PE_OUT | PES1_OUT | PES2_OUT | LITERAL)

    for name, value in [("nan", QNAN), ("snan", SNAN), ("inf", INF), ("neg-inf", NINF), ("max", MAX),
                        ("denorm-min", DENORM_MIN), ("denorm", DENORM), ("pseudo-denorm", PSEUDO_DENORM),
                        ("unnormal", UNNORMAL), ("pseudo-inf", PSEUDO_INF), ("pseudo-nan", PSEUDO_NAN)]:
        rec = base()
        fill_all(rec, value)
        cases["all-" + name] = bytes(rec)
        rec = base()
        fill_all(rec, value, with_params=False)
        cases["positions-" + name] = bytes(rec) + tail(COMPARE, NUMBERS | SPIRAL)
        rec = base()
        put(rec, slot("X", 7), value)
        put(rec, slot("Uz", 33), value)
        put(rec, param_offset("B1"), value)
        cases["one-" + name] = bytes(rec) + tail(COMPARE | TAOSCOPE)
        rec = base()
        put(rec, 0, value)
        cases["dt-" + name] = bytes(rec) + tail(LITERAL)

    zero = bytearray(SIZE)
    cases["zeros"] = bytes(zero)
    z = bytearray(zero)
    z[PRESENT:PRESENT + 60] = b"\x01" * 60
    cases["zeros-all-present"] = bytes(z)  # every particle at the origin
    rec = base()
    for p in PARAMS:
        put(rec, param_offset(p), real(0.0))
    cases["zero-params"] = bytes(rec) + tail(COMPARE)
    rec = base()
    put(rec, 0, real(0.0))
    cases["zero-dt"] = bytes(rec) + tail(COOL | COMPARE)
    rec = base()
    put(rec, param_offset("B3"), real(0.0))
    cases["zero-b3-pes2-out"] = bytes(rec) + tail(PES2_OUT)

    rec = base()
    for a in ("X", "Y", "Z"):
        put(rec, slot(a, 40), rec[slot(a, 20):slot(a, 20) + 10])
    cases["coincident-held"] = bytes(rec) + tail(BLOCKADE | COMPARE)
    rec = base()
    for a in ("X", "Y", "Z"):
        put(rec, slot(a, 12), rec[slot(a, 11):slot(a, 11) + 10])
    cases["coincident-pe"] = bytes(rec) + tail(COMPARE)

    rec = base()
    for i in range(1, 61):
        put(rec, slot("X", i), real(1e300 * i))
    cases["huge-positions"] = bytes(rec) + tail(COMPARE, SPIRAL)
    rec = base()
    for i in range(1, 61):
        put(rec, slot("X", i), real(1e17 * i))
    cases["positions-beyond-screen"] = bytes(rec) + tail(0, NUMBERS)
    rec = base()
    for i in range(1, 61):
        put(rec, slot("Ux", i), real(1e308))
    put(rec, 0, real(1e300))
    cases["huge-velocities"] = bytes(rec) + tail(COMPARE)
    rec = base()
    put(rec, param_offset("B1"), real(-50.0))  # d^(B1/d) overflows at small d
    for a in ("X", "Y", "Z"):
        put(rec, slot(a, 1), real(0.0))
        put(rec, slot(a, 2), real(0.0))
    put(rec, slot("X", 2), real(1e-3))
    cases["pe-overflow-close"] = bytes(rec) + tail(COMPARE)
    rec = base()
    for i in range(1, 61):
        put(rec, slot("X", i), real(1e-300 * i))
    cases["tiny-positions"] = bytes(rec) + tail(COMPARE)

    rec = base()
    rec[PRESENT:PRESENT + 60] = bytes((i * 37) % 256 for i in range(60))
    cases["presence-bytes"] = bytes(rec)
    rec = base()
    rec[PRESENT:PRESENT + 60] = bytes(60)
    cases["none-present"] = bytes(rec) + tail(COMPARE)
    rec = base()
    rec[PRESENT:PRESENT + 60] = bytes(60)
    rec[PRESENT + 20] = 1
    cases["one-present"] = bytes(rec) + tail(COMPARE | COOL)
    rec = base()
    rec[10:16] = b"\xff" * 6
    rec[116:120] = b"\xff" * 4
    rec[3780:3784] = b"\xff" * 4
    cases["padding-set"] = bytes(rec)

    views = {
        "view-inf-angle": [INF, real(0), real(0), real(120.0), real(0), real(0)],
        "view-nan-distance": [real(0), real(0), real(0), QNAN, real(0), real(0)],
        "view-huge-angle": [real(2.0 ** 63), real(-2.0 ** 70), real(1e300), real(120.0), real(0), real(0)],
        "view-huge-distance": [real(0.5), real(0.25), real(1.0), MAX, real(0), real(0)],
        "view-huge-shift": [real(0), real(0), real(0), real(120.0), real(2.0 ** 62), real(-2.0 ** 40)],
        "view-negative-zero-distance": [real(0.1), real(0.2), real(0.3), real(-0.0), real(0), real(0)],
        "view-unnormal-angle": [UNNORMAL, PSEUDO_DENORM, DENORM, real(-120.0), real(0), real(0)],
    }
    for name, angles in views.items():
        cases[name] = bytes(base()) + tail(0, NUMBERS | SPIRAL, angles)
    cases["view-tiny-window"] = bytes(base()) + tail(TAOSCOPE, NUMBERS, width=1, pan_top=1)
    cases["view-wide-window"] = bytes(base()) + tail(0, SPIRAL, width=65535, pan_top=65535)

    cases["short-3783"] = bytes(base()[:SIZE - 1])
    cases["short-empty"] = b""
    cases["trailing-bytes"] = bytes(base()) + bytes(base()[:70])

    for name, data in sorted(cases.items()):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print(f"{len(cases)} records in {OUT}")


if __name__ == "__main__":
    main()
