"""The Python module against the reference vectors and the simulator."""
import collections.abc
import copy
import importlib.util
import json
import os
import pathlib
import pickle
import re
import shutil
import signal
import subprocess
import sys
import textwrap
import time
from typing import Any, Callable

import numpy as np
import pytest

import zentrova

DATA = os.environ["ZENTROVA_TEST_DATA"]
EXAMPLES = os.environ["ZENTROVA_EXAMPLES"]
SIM = os.environ["ZENTROVA_SIM"]


def data(name: str) -> str:
    return os.path.join(DATA, name)


def ten_bytes(values: Any) -> "np.ndarray[Any, np.dtype[np.uint8]]":
    """The 10 significant bytes of every 80-bit real, in C order."""
    a = np.ascontiguousarray(values, dtype=np.longdouble)
    return a.view(np.uint8).reshape(-1, 16)[:, :10]


def close(got: Any, want: Any) -> bool:
    """Within 1e-15 relative: the vectors were made with the C library's exp and log."""
    got, want = np.asarray(got, np.longdouble), np.asarray(want, np.longdouble)
    return bool((np.abs(got - want) <= np.longdouble("1e-15") * np.abs(want)).all())


def read(path: "str | os.PathLike[str]") -> bytes:
    with open(path, "rb") as f:
        return f.read()


def test_load_save_and_edits_are_bit_for_bit(tmp_path: pathlib.Path) -> None:
    raw = read(data("set-a.lis1"))
    record = np.frombuffer(raw, np.uint8)
    s = zentrova.load(data("set-a.lis1"))
    assert s.positions.shape == (60, 3) and s.positions.dtype == np.longdouble
    # Column-major: all x, then all y, then all z, as in the record.
    assert (ten_bytes(s.positions.T) == record[120:1920].reshape(180, 10)).all()
    assert (ten_bytes(s.velocities.T) == record[1920:3720].reshape(180, 10)).all()
    assert (s.present == record[3720:3780]).all()
    out = tmp_path / "same.lis1"
    s.save(out)
    assert read(out) == raw

    s.positions[6, 1] = np.longdouble("1.1")
    s.velocities = s.velocities * 2
    s.present[3] = 0
    s.dt = "0.003"
    s.params["C3"] = "0.7"
    s.save(out)
    t = zentrova.load(out)
    assert t.positions[6, 1] == np.longdouble("1.1")
    assert (ten_bytes(t.velocities) == ten_bytes(s.velocities)).all()
    assert t.present[3] == 0 and t.dt == np.longdouble("0.003") and t.params["C3"] == np.longdouble("0.7")
    with pytest.raises(zentrova.FileError, match="Read beyond end of file"):
        (tmp_path / "short.lis1").write_bytes(raw[:3783])
        zentrova.load(tmp_path / "short.lis1")

    # The extension names the format, both ways; a CSV holds no set.
    t.save(tmp_path / "same.xyz")
    u = zentrova.load(tmp_path / "same.xyz")
    assert read(tmp_path / "same.xyz").startswith(b"59\n")
    on = t.present != 0
    assert (ten_bytes(u.positions[on]) == ten_bytes(t.positions[on])).all() and u.params["C3"] == t.params["C3"]
    assert (ten_bytes(u.velocities[on]) == ten_bytes(t.velocities[on])).all() and ((u.present != 0) == on).all()
    with pytest.raises(ValueError, match="csv"):
        t.save(tmp_path / "set.csv")
    assert not (tmp_path / "set.csv").exists()


@pytest.mark.parametrize("name, switches, expected", [
    ("set-a.lis1", {}, "set-a.forces.txt"),
    ("set-a.lis1", {"taoscope": True}, "set-a.forces-taoscope.txt"),
    ("set-b.lis1", {"pe_out": True, "pes1_out": True}, "set-b.forces-pe-pes1-out.txt"),
])
def test_forces_match_reference(name: str, switches: dict[str, bool], expected: str) -> None:
    f = zentrova.forces(zentrova.load(data(name)), **switches)
    rows = [line.split() for line in open(data(expected))]
    for i, *xyz in rows:
        assert close(f[int(i) - 1], [np.longdouble(v) for v in xyz]), i
    listed = {int(r[0]) - 1 for r in rows}
    assert all(np.isnan(f[a]).all() for a in range(60) if a not in listed)


@pytest.mark.parametrize("name, switches, after", [
    ("set-a.lis1", {}, "set-a.after10.lis1"),
    ("set-b.lis1", {"cool": True, "blockade": True}, "set-b.after10-cool-blockade.lis1"),
    ("set-c.lis1", {"taoscope": True, "pes2_out": True}, "set-c.after10-taoscope-pes2-out.lis1"),
])
def test_steps_match_reference(tmp_path: pathlib.Path, name: str, switches: dict[str, Any], after: str) -> None:
    s = zentrova.load(data(name))
    zentrova.step(s, 4, **switches)
    zentrova.step(s, 6, **switches)
    assert s.steps == 10
    s.save(tmp_path / "out.lis1")
    got, want = read(tmp_path / "out.lis1"), read(data(after))
    # Reals within the vectors' tolerance; every other byte exactly.
    assert got[:120] == want[:120] and got[3720:] == want[3720:]
    t = zentrova.load(data(after))
    assert close(s.positions, t.positions) and close(s.velocities, t.velocities)


def test_steps_match_simulator(tmp_path: pathlib.Path) -> None:
    example = os.path.join(EXAMPLES, "three-groups.lis1")
    subprocess.run([SIM, "run", example, "-n", "25", "--taoscope", "--cool", "-o", tmp_path / "sim.lis1"],
                   check=True, capture_output=True)
    s = zentrova.load(example)
    zentrova.step(s, 25, taoscope=True, cool=True)
    s.save(tmp_path / "py.lis1")
    assert read(tmp_path / "py.lis1") == read(tmp_path / "sim.lis1")


def test_fault_leaves_last_completed_step_and_edits_take_effect(tmp_path: pathlib.Path) -> None:
    s = zentrova.ParticleSet()
    s.params = dict(zentrova.easy_square().params)
    s.dt = 1
    s.present[:4] = 1
    s.positions[:4] = [[0, 0, 0], [0, 5, 0], [0, 0, 10], [0, 0, 10]]  # 3 and 4 coincide
    s.velocities[0, 0] = 1
    before = s.positions.copy()
    with pytest.raises(zentrova.FloatingPointFault, match="^Floating point division by zero$") as fault:
        zentrova.step(s, 2)
    assert isinstance(fault.value, ArithmeticError)
    with pytest.raises(zentrova.FloatingPointFault):
        zentrova.forces(s)
    assert s.steps == 0 and (ten_bytes(s.positions) == ten_bytes(before)).all()
    # Particles 1 and 2 had already taken part of the failed step. Stepping
    # on after moving 4 away must start from what Python sees, as a fresh
    # load of the same values does.
    s.positions[3] = [0, 0, 20]
    s.save(tmp_path / "edited.lis1")
    fresh = zentrova.load(tmp_path / "edited.lis1")
    zentrova.step(s, 3)
    zentrova.step(fresh, 3)
    assert (ten_bytes(s.positions) == ten_bytes(fresh.positions)).all()
    assert (ten_bytes(s.velocities) == ten_bytes(fresh.velocities)).all()


def test_figures_and_observe() -> None:
    sq = zentrova.easy_square()
    assert sq.present.sum() == 4 and sq.dt == 0
    assert (ten_bytes(sq.params["B1"]) == ten_bytes(np.longdouble("2.718"))).all()
    o = zentrova.observe(sq)
    assert o["present"] == 4 and o["kinetic"] == 0 and (o["min_i"], o["min_k"]) == (1, 2)
    assert o["min_distance"] == np.longdouble("0.424")
    assert o["conservative"] == 1 and o["energy"] == o["kinetic"] + o["potential"] != 0
    cooled = zentrova.observe(sq, cool=True)
    # Numbers only: the energy is still kinetic + potential, the reason apart.
    assert cooled["conservative"] == 0 and cooled["reasons"] == ["Cool is on"] and o["reasons"] == []
    assert cooled["energy"] == cooled["kinetic"] + cooled["potential"]
    sp = zentrova.spiral()
    assert sp.present.sum() == 19 and list(sp.positions[1]) == [1, 0, 0]


def test_step_in_forked_child() -> None:
    # multiprocessing forks by default; the step's worker threads do not.
    s = zentrova.load(os.path.join(EXAMPLES, "three-groups.lis1"))
    zentrova.step(s)
    pid = os.fork()
    if pid == 0:
        zentrova.step(s, 2)
        os._exit(0 if s.steps == 3 else 1)
    for _ in range(600):
        done, status = os.waitpid(pid, os.WNOHANG)
        if done:
            assert os.waitstatus_to_exitcode(status) == 0
            return
        time.sleep(0.1)
    os.kill(pid, 9)
    os.waitpid(pid, 0)
    pytest.fail("the step hangs in a forked child")


def record_of(s: zentrova.ParticleSet, tmp_path: pathlib.Path) -> bytes:
    s.save(tmp_path / "record.lis1")
    return read(tmp_path / "record.lis1")


def test_assignments_check_everything_before_changing_anything(tmp_path: pathlib.Path) -> None:
    a = zentrova.load(data("set-a.lis1"))
    b = zentrova.ParticleSet()
    b.params = a.params  # used to read a freed dict and crash
    a.params = a.params
    assert b.params == a.params and b.dt == a.dt
    assert isinstance(a.params, collections.abc.MutableMapping)
    assert list(a.params) == ["dt", "A1", "B1", "A2", "B2", "C2", "D2", "A3", "B3", "C3", "D3"]
    assert a.params.get("nope") is None and len(a.params.values()) == 11
    a.params.update(B2=" 0.3 ", C2="0.671")
    assert a.params["C2"] == np.longdouble("0.671")

    before = record_of(a, tmp_path)
    for name in ("positions", "velocities"):
        for bad, error in [(None, TypeError), (np.zeros((60, 2)), ValueError), (np.zeros(3), ValueError),
                           (np.full((60, 3), "1"), TypeError), (np.zeros((60, 3), complex), TypeError)]:
            with pytest.raises(error):
                setattr(a, name, bad)
    cases: list[tuple[Any, type[Exception]]] = [(None, TypeError), (np.ones(59, np.uint8), ValueError), (np.full(60, 0.5), TypeError),
                                                 (np.full(60, 256), ValueError)]
    for value, error in cases:
        with pytest.raises(error):
            a.present = value
    with pytest.raises(ValueError, match="'abc' is not a valid floating point value"):
        a.dt = "abc"
    with pytest.raises(OverflowError):
        a.dt = "1e5000"
    with pytest.raises(OverflowError):
        a.params["A1"] = 10 ** 5000
    with pytest.raises(ValueError):  # the good value must not go in before the bad one is seen
        a.params = {"A1": 7, "B1": "x"}
    with pytest.raises(KeyError):
        a.params = {"A1": 7, "E9": 1}
    with pytest.raises(TypeError):
        del a.params["A1"]
    with pytest.raises(OverflowError, match="at most 2147483647 steps"):
        zentrova.step(a, 2 ** 31)
    with pytest.raises(ValueError, match="threads '0'"):
        zentrova.step(a, 1, threads=0)
    assert record_of(a, tmp_path) == before and a.steps == 0

    a.dt = " 0.5 "  # blanks around, as --set takes them
    assert a.dt == np.longdouble("0.5")
    a.positions = np.zeros((60, 3), np.int32)
    assert (a.positions == 0).all()


def test_copies_pickles_and_comparisons_keep_every_byte(tmp_path: pathlib.Path) -> None:
    raw = read(data("set-a.lis1"))
    padded = bytearray(raw)
    padded[10:16] = b"padpad"  # padding travels with the record
    padded[3720] = 5  # so does a presence byte other than 1
    (tmp_path / "padded.lis1").write_bytes(bytes(padded))
    s = zentrova.load(tmp_path / "padded.lis1")
    zentrova.step(s, 3)
    assert s != zentrova.load(tmp_path / "padded.lis1")
    assert zentrova.load(data("set-a.lis1")) == zentrova.load(data("set-a.lis1"))
    for twin in (pickle.loads(pickle.dumps(s)), copy.copy(s), copy.deepcopy(s), s.copy()):
        assert twin == s and twin.steps == 3
        assert record_of(twin, tmp_path) == record_of(s, tmp_path)
        assert record_of(twin, tmp_path)[10:16] == b"padpad" and twin.present[0] == 5
        twin.velocities[0, 0] += 1
        assert twin != s
    t = s.copy()
    t.steps = 4
    assert t != s
    t.steps = 3
    t.positions[5, 2] = np.nan  # NaNs compare by their bits
    s.positions[5, 2] = np.nan
    assert t == s and s != zentrova.ParticleSet() and s != "a set"
    assert repr(s) == "<zentrova.ParticleSet: 60 present, step 3, dt 0.01>"
    with pytest.raises(TypeError):
        hash(s)


def test_file_errors_are_the_matching_os_errors(tmp_path: pathlib.Path) -> None:
    missing = str(tmp_path / "missing.lis1")
    with pytest.raises(FileNotFoundError) as caught:
        zentrova.load(missing)
    e = caught.value
    assert isinstance(e, zentrova.FileError)
    assert (e.errno, e.strerror, e.filename) == (2, "File not found", missing)
    again = pickle.loads(pickle.dumps(e))  # a Pool's worker sends its errors back pickled
    assert type(again) is type(e) and again.filename == missing
    with pytest.raises(FileNotFoundError):
        zentrova.easy_square().save(tmp_path / "no" / "such.lis1")
    (tmp_path / "short.lis1").write_bytes(b"x")
    with pytest.raises(zentrova.FileError, match="Read beyond end of file") as short:
        zentrova.load(tmp_path / "short.lis1")
    assert short.value.filename == str(tmp_path / "short.lis1")
    # The system's own errno, not one guessed back from the message.
    with pytest.raises(IsADirectoryError, match="File access denied"):
        zentrova.load(tmp_path)
    with pytest.raises(NotADirectoryError, match="File not found"):
        zentrova.load(tmp_path / "short.lis1" / "x.lis1")


def test_run_yields_what_the_simulator_observes(tmp_path: pathlib.Path) -> None:
    example = os.path.join(EXAMPLES, "three-groups.lis1")
    csv = subprocess.run([SIM, "observe", example, "-n", "25", "--every", "10", "--cool"],
                         check=True, capture_output=True, text=True).stdout.splitlines()
    s = zentrova.load(example)
    rows = list(zentrova.run(s, 25, every=10, cool=True))
    assert [r["step"] for r in rows] == [0, 10, 20, 25] and s.steps == 25
    header = csv[0].split(",")
    for want, row in zip(csv[1:], rows):
        got: dict[str, Any] = dict(row)
        assert set(header) <= set(got) and got["conservative"] == 0 and got["reasons"]
        for name, value in zip(header, want.split(",")):
            assert np.longdouble(got[name]) == np.longdouble(value), name
    assert rows[-1]["reasons"] == ["Cool is on", "particles of several groups pull each other"]
    assert np.isnan(rows[-1]["energy_max_error"]) and rows[-1]["work"] != 0
    with pytest.raises(TypeError):
        zentrova.run(s, 5, warp=True)  # type: ignore[call-arg]
    assert s.steps == 25

    # The second-order step and the structure, as the simulator has them.
    subprocess.run([SIM, "run", example, "-n", "3", "--integrator", "verlet", "-o", tmp_path / "v.lis1"], check=True)
    v = zentrova.load(example)
    last = list(zentrova.run(v, 3, integrator="verlet"))[-1]
    w = zentrova.load(tmp_path / "v.lis1")
    assert (ten_bytes(v.positions) == ten_bytes(w.positions)).all() and np.isnan(last["energy_start"])
    assert (ten_bytes(v.velocities) == ten_bytes(w.velocities)).all()
    with pytest.raises(ValueError):
        zentrova.step(v, 1, integrator="rk4")
    table = subprocess.run([SIM, "rdf", example, "--bins", "4", "--pairs", "PES2-PE"],
                           check=True, capture_output=True, text=True).stdout.splitlines()
    rdf = zentrova.rdf(zentrova.load(example), bins=4, pairs=["PES2-PE"])["PE-PES2"]
    assert [int(line.split(",")[3]) for line in table[1:]] == list(rdf["count"])
    assert [np.longdouble(line.split(",")[4]) for line in table[1:]] == list(rdf["g"])
    subprocess.run([SIM, "run", example, "-n", "4", "--every", "2", "--xyz", tmp_path / "t.xyz"], check=True)
    table = subprocess.run([SIM, "rdf", tmp_path / "t.xyz", "--bins", "3", "--range", "5"],
                           check=True, capture_output=True, text=True).stdout.splitlines()
    frames = [zentrova.read_xyz(tmp_path / "t.xyz", i) for i in range(3)]
    over = zentrova.rdf(frames, bins=3, range=5)
    assert [int(line.split(",")[3]) for line in table[1:]] == [int(c) for p in over.values() for c in p["count"]]

    for observed in zentrova.run(s, 100, every=7):
        if observed["step"] == 35:
            break
    assert s.steps == 35

    bad = zentrova.ParticleSet()
    bad.params = dict(zentrova.easy_square().params)
    bad.dt = 1
    bad.present[:2] = 1  # two particles at one place
    steps = zentrova.run(bad, 10)
    assert next(steps)["step"] == 0
    with pytest.raises(zentrova.FloatingPointFault):
        next(steps)
    assert list(steps) == [] and bad.steps == 0


def test_render_draws_what_the_simulator_draws(tmp_path: pathlib.Path) -> None:
    example = os.path.join(EXAMPLES, "three-groups.lis1")
    subprocess.run([SIM, "render", example, "-o", tmp_path / "sim.png", "--size", "320x200", "--taoscope",
                    "--numbers"], check=True, capture_output=True)
    s = zentrova.load(example)
    png = zentrova.render(s, size=(320, 200), taoscope=True, numbers=True)
    assert png == read(tmp_path / "sim.png")
    zentrova.render(s, tmp_path / "py.png", size=(320, 200), taoscope=True, numbers=True)
    assert read(tmp_path / "py.png") == png
    assert s._repr_png_() == zentrova.render(s) != png
    with pytest.raises(ValueError):
        zentrova.render(s, size=(8, 8))
    with pytest.raises(FileNotFoundError):
        zentrova.render(s, tmp_path / "no" / "such.png")
    # The module's own application keeps Qt's diagnostics to itself.
    env = {k: v for k, v in os.environ.items() if k != "XDG_RUNTIME_DIR"}
    child = subprocess.run([sys.executable, "-c", "import sys, zentrova\n"
                            "sys.stdout.buffer.write(zentrova.render(zentrova.easy_square(), numbers=True)[:4])"],
                           capture_output=True, env=env, timeout=120)
    assert (child.returncode, child.stdout, child.stderr) == (0, b"\x89PNG", b"")


def test_trajectories_go_to_ase_and_come_back_bit_for_bit(tmp_path: pathlib.Path) -> None:
    import ase.io

    s = zentrova.load(os.path.join(EXAMPLES, "three-groups.lis1"))
    path = tmp_path / "run.xyz"
    written = []
    for o in zentrova.run(s, 6, every=2):
        zentrova.write_xyz(path, s, append=o["step"] > 0)
        written.append(s.positions[s.present != 0].astype(float))
    frames = ase.io.read(path, index=":")
    assert len(frames) == len(written) == 4
    assert all(np.array_equal(f.positions, want) for f, want in zip(frames, written))

    back, present = zentrova.read_xyz(path), s.present != 0
    assert back.steps == s.steps == 6 and (back.present != 0).tolist() == present.tolist()
    for name in ("positions", "velocities"):
        assert (ten_bytes(getattr(back, name)[present]) == ten_bytes(getattr(s, name)[present])).all(), name
    assert (ten_bytes(list(back.params.values())) == ten_bytes(list(s.params.values()))).all()
    assert zentrova.read_xyz(path, 0).steps == zentrova.read_xyz(path, np.int64(-4)).steps == 0
    for beyond in (4, -5):
        with pytest.raises(IndexError):
            zentrova.read_xyz(path, beyond)
    every = zentrova.read_xyz(path, ":")
    assert [f.steps for f in every] == [0, 2, 4, 6] and every[-1] == back
    with open(path, "rb") as binary:
        assert zentrova.read_xyz(binary, -1) == back

    # ASE takes the velocities from momenta and masses: ours at unit mass.
    assert np.array_equal(frames[-1].get_velocities(), s.velocities[present].astype(float))
    # A frame ASE writes has momenta with the masses of its symbols.
    atoms = zentrova.to_ase(s)
    v = atoms.get_velocities()
    atoms.set_masses(None)
    atoms.set_velocities(v)
    assert not np.array_equal(atoms.get_momenta(), v)
    ase.io.write(tmp_path / "ase.xyz", atoms)
    assert np.allclose(zentrova.read_xyz(tmp_path / "ase.xyz").velocities[present].astype(float), v,
                       rtol=0, atol=1e-7)  # ASE writes 8 decimals
    assert (ten_bytes(zentrova.from_ase(atoms).velocities[present]) == ten_bytes(atoms.get_velocities())).all()

    with open(tmp_path / "one.xyz", "w") as f:  # a file the caller opened
        zentrova.write_xyz(f, s, taoscope=True)
    assert path.read_text().endswith((tmp_path / "one.xyz").read_text().replace("taoscope", "gravoscope"))
    (tmp_path / "bad.xyz").write_text("2\nProperties=species:S:1:pos:R:3\nH 1 2 3\nH 1 2\n")
    with pytest.raises(ValueError, match="line 4: expected 4 columns"):
        zentrova.read_xyz(tmp_path / "bad.xyz")
    with pytest.raises(FileNotFoundError):
        zentrova.read_xyz(tmp_path / "missing.xyz")
    with pytest.raises(zentrova.FileError, match="Disk full"):
        zentrova.write_xyz("/dev/full", s, append=True)


def test_nothing_invented_nothing_half_changed(tmp_path: pathlib.Path) -> None:
    s = zentrova.load(data("set-a.lis1"))
    before = record_of(s, tmp_path)
    bads: list[Any] = [float("nan"), float("inf"), np.longdouble("-inf")]
    for bad in bads:
        with pytest.raises(ValueError, match="is not a valid floating point value"):
            s.dt = bad
        with pytest.raises(ValueError):
            s.params["B1"] = bad
    with pytest.raises(ValueError):
        s.params.update(B1=2.0, B2="bad")
    with pytest.raises(ValueError):
        s.params.update({"A1": 3}, D3=float("nan"))
    assert record_of(s, tmp_path) == before

    head = "Properties=species:S:1:pos:R:3:id:I:1:group:S:1 A1=1 B1=1"
    (tmp_path / "f.xyz").write_text(f"1\n{head}\nC 1 2 3 1 PE\n")
    with pytest.raises(ValueError, match="the frame has no dt, A2, B2, C2, D2, A3, B3, C3 and D3; give each"):
        zentrova.read_xyz(tmp_path / "f.xyz")
    given: dict[str, Any] = dict(s.params)
    del given["A1"], given["dt"]
    t = zentrova.read_xyz(tmp_path / "f.xyz", dt=s.dt, **given)
    assert t.params["A1"] == 1 and t.params["C3"] == s.params["C3"] and t.positions[0, 2] == 3
    with pytest.raises(ValueError):
        zentrova.read_xyz(tmp_path / "f.xyz", **given, dt=float("nan"))
    for line, error in [(f"{head} dt=inf\nC 1 2 3 1 PE", "line 2: dt: 'inf'"),
                        (f"{head}\nC 1 2 3 21 PE", "line 3: group 'PE' of particle 21"),
                        (f"{head}\nC 1 2 3 1 P\0E", "line 3: a control byte")]:
        (tmp_path / "g.xyz").write_text(f"1\n{line}\n")
        with pytest.raises(ValueError, match=error):
            zentrova.read_xyz(tmp_path / "g.xyz", dt=1, **given)
    atoms = zentrova.to_ase(s)
    atoms.arrays["group"][0] = "PES2"
    with pytest.raises(ValueError, match="^atom 0: group 'PES2' of particle 1, which is in PE$"):
        zentrova.from_ase(atoms)
    del atoms.info["dt"]
    atoms.arrays["group"][0] = "PE"
    with pytest.raises(ValueError, match="the frame has no dt"):
        zentrova.from_ase(atoms)
    assert zentrova.from_ase(atoms, dt="0.01").dt == np.longdouble("0.01")


def test_corners_of_the_python_way(tmp_path: pathlib.Path) -> None:
    s = zentrova.load(data("set-a.lis1"))
    s.steps = np.int64(3)
    for protocol in range(pickle.HIGHEST_PROTOCOL + 1):
        assert pickle.loads(pickle.dumps(s, protocol)) == s
        assert pickle.loads(pickle.dumps(s.params, protocol)) == dict(s.params)
    params = copy.copy(s.params)
    params["A1"] = 5
    assert s.params["A1"] != 5
    t = zentrova.ParticleSet()
    t.__setstate__(s.__getstate__())
    assert t == s
    for bad in ("x", None, (b"x", 1)):
        with pytest.raises((TypeError, ValueError)):
            t.__setstate__(bad)  # type: ignore[arg-type]
    assert t == s and len(t) == 60 and len(zentrova.easy_square()) == 4

    writers: list[Callable[[pathlib.Path], None]] = [s.save, lambda p: zentrova.render(s, p),
                                                     lambda p: zentrova.write_xyz(p, s)]
    for write in writers:
        with pytest.raises(IsADirectoryError):
            write(tmp_path)
    with pytest.raises(ValueError, match="embedded null byte"):
        zentrova.load("a\0b")
    with pytest.raises(FileNotFoundError) as empty:
        zentrova.load("")
    assert empty.value.filename == ""

    o: zentrova.Observables = zentrova.observe(s)
    assert set(zentrova.Observables.__annotations__) == set(o)
    assert zentrova.as_float64(o)["energy"] == float(o["energy"]) and type(zentrova.as_float64(o)["present"]) is int
    assert zentrova.as_float64(s.positions).dtype == np.float64
    s.positions[0, 0] = np.inf
    assert s._repr_png_() is None


def test_ase_bridge_and_calculator() -> None:
    import ase.md.verlet
    import ase.units

    s = zentrova.load(data("set-a.lis1"))
    s.present[20:] = 0  # one group: its energy is conserved
    atoms = zentrova.to_ase(s)
    assert (atoms.arrays["id"] == np.arange(1, 21)).all() and atoms.info["B1"] == float(s.params["B1"])
    back = zentrova.from_ase(atoms)
    assert (back.positions[:20].astype(float) == atoms.positions).all() and back.steps == s.steps
    atoms.calc = zentrova.ZentrovaCalculator(taoscope=True)
    assert isinstance(atoms.calc, zentrova.ZentrovaCalculator)
    want = zentrova.forces(back, taoscope=True)[:20].astype(np.float64)
    assert (atoms.get_forces() == want).all()
    assert atoms.get_potential_energy() == float(zentrova.observe(back, taoscope=True)["potential"])

    atoms.calc = zentrova.ZentrovaCalculator()
    start = atoms.get_total_energy()
    ase.md.verlet.VelocityVerlet(atoms, timestep=float(s.dt) / 10).run(200)
    assert abs(atoms.get_total_energy() - start) < 1e-4 * abs(start)
    # ASE stays out of the module until asked for.
    done = subprocess.run([sys.executable, "-c", "import sys, zentrova; print('ase' in sys.modules)"],
                          capture_output=True, text=True, check=True)
    assert done.stdout.strip() == "False"


@pytest.mark.skipif(importlib.util.find_spec("distributed") is None or importlib.util.find_spec("nbconvert") is None,
                    reason="python3-distributed or python3-nbconvert is not installed")
def test_sweep_and_notebook_examples_run(tmp_path: pathlib.Path) -> None:
    source = pathlib.Path(EXAMPLES).parent
    blocks = re.findall(r"```python\n(.*?)```", (source / "README.md").read_text(), re.S)
    (tmp_path / "sweep.py").write_text(next(b for b in blocks if "LocalCluster" in b))
    done = subprocess.run([sys.executable, tmp_path / "sweep.py"], cwd=source, capture_output=True, text=True,
                          timeout=600)
    assert done.returncode == 0 and done.stdout.count("B1 = ") == 4, done.stderr[-3000:]
    done = subprocess.run([sys.executable, "-m", "nbconvert", "--to", "notebook", "--execute", "--output-dir",
                           tmp_path, os.path.join(EXAMPLES, "zentrova.ipynb")], capture_output=True, text=True,
                          timeout=600)
    assert done.returncode == 0, done.stderr[-3000:]
    cells = json.loads((tmp_path / "zentrova.ipynb").read_text())["cells"]
    pictures = [o for c in cells for o in c.get("outputs", []) if "image/png" in o.get("data", {})]
    assert len(pictures) == 3  # the set before and after the run, and the energy plot


# Run in a child: on failure the step would hold the interpreter and never end.
THREADS_AND_CTRL_C = """
import os, pickle, signal, sys, threading, time
import zentrova

s = zentrova.load(sys.argv[1])
start = s.copy()
other = s.copy()
seen = {}

def meanwhile():
    while s.steps == 0:  # Python runs while the main thread steps
        time.sleep(0.001)
    for attempt in (lambda: zentrova.step(s, 1), lambda: setattr(s, "dt", 1), lambda: pickle.dumps(s)):
        try:
            attempt()
        except RuntimeError as e:
            seen.setdefault("refused", []).append(str(e))
    zentrova.step(other, 20, threads=1)  # a second set steps meanwhile
    seen["other"] = other.steps
    seen["sent"] = time.monotonic()
    os.kill(os.getpid(), signal.SIGINT)

helper = threading.Thread(target=meanwhile)
helper.start()
try:
    zentrova.step(s, 2**31 - 1, threads=1)
except KeyboardInterrupt:
    seen["delay"] = time.monotonic() - seen["sent"]
helper.join()
zentrova.step(start, s.steps, threads=1)
print(len(seen["refused"]), seen["other"], seen["delay"] < 5, start == s, s.steps > 0)
"""


def test_steps_leave_the_interpreter_free_and_stop_on_ctrl_c() -> None:
    done = subprocess.run([sys.executable, "-c", THREADS_AND_CTRL_C, os.path.join(EXAMPLES, "three-groups.lis1")],
                          capture_output=True, text=True, timeout=180)
    assert done.stdout.split() == ["3", "20", "True", "True", "True"], done.stderr


@pytest.mark.skipif(shutil.which("valgrind") is None, reason="valgrind is not installed")
def test_assignments_under_valgrind() -> None:
    script = textwrap.dedent("""
        import numpy as np, zentrova
        a = zentrova.easy_square()
        b = zentrova.ParticleSet()
        b.params = a.params
        a.params = a.params
        for bad in (None, np.zeros((2, 2)), np.full((60, 3), "x")):
            try:
                a.positions = bad
            except (TypeError, ValueError):
                pass
        print(b.params == a.params)
    """)
    env = dict(os.environ, PYTHONMALLOC="malloc")
    done = subprocess.run(["valgrind", "-q", "--error-exitcode=99", "--leak-check=no", sys.executable, "-c", script],
                          capture_output=True, text=True, env=env, timeout=600)
    assert done.returncode == 0 and done.stdout.strip() == "True", done.stderr[-3000:]
