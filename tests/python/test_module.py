"""The Python module against the reference vectors and the simulator."""
import os
import subprocess
import time

import numpy as np
import pytest

import zentrova

DATA = os.environ["ZENTROVA_TEST_DATA"]
EXAMPLES = os.environ["ZENTROVA_EXAMPLES"]
SIM = os.environ["ZENTROVA_SIM"]


def data(name):
    return os.path.join(DATA, name)


def ten_bytes(values):
    """The 10 significant bytes of every 80-bit real, in C order."""
    a = np.ascontiguousarray(values, dtype=np.longdouble)
    return a.view(np.uint8).reshape(-1, 16)[:, :10]


def close(got, want):
    """Within 1e-15 relative: the vectors were made with the C library's exp and log."""
    got, want = np.asarray(got, np.longdouble), np.asarray(want, np.longdouble)
    return bool((np.abs(got - want) <= np.longdouble("1e-15") * np.abs(want)).all())


def read(path):
    with open(path, "rb") as f:
        return f.read()


def test_load_save_and_edits_are_bit_for_bit(tmp_path):
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


@pytest.mark.parametrize("name, switches, expected", [
    ("set-a.lis1", {}, "set-a.forces.txt"),
    ("set-a.lis1", {"taoscope": True}, "set-a.forces-taoscope.txt"),
    ("set-b.lis1", {"pe_out": True, "pes1_out": True}, "set-b.forces-pe-pes1-out.txt"),
])
def test_forces_match_reference(name, switches, expected):
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
def test_steps_match_reference(tmp_path, name, switches, after):
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


def test_steps_match_simulator(tmp_path):
    example = os.path.join(EXAMPLES, "three-groups.lis1")
    subprocess.run([SIM, "run", example, "-n", "25", "--taoscope", "--cool", "-o", tmp_path / "sim.lis1"],
                   check=True, capture_output=True)
    s = zentrova.load(example)
    zentrova.step(s, 25, taoscope=True, cool=True)
    s.save(tmp_path / "py.lis1")
    assert read(tmp_path / "py.lis1") == read(tmp_path / "sim.lis1")


def test_fault_leaves_last_completed_step_and_edits_take_effect(tmp_path):
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


def test_figures_and_observe():
    sq = zentrova.easy_square()
    assert sq.present.sum() == 4 and sq.dt == 0
    assert (ten_bytes(sq.params["B1"]) == ten_bytes(np.longdouble("2.718"))).all()
    o = zentrova.observe(sq)
    assert o["present"] == 4 and o["kinetic"] == 0 and (o["min_i"], o["min_k"]) == (1, 2)
    assert o["min_distance"] == np.longdouble("0.424")
    assert o["conservative"] == 1 and o["energy"] == o["kinetic"] + o["potential"] != 0
    cooled = zentrova.observe(sq, cool=True)
    assert cooled["conservative"] == 0 and cooled["energy"] == "not conserved: Cool is on"
    sp = zentrova.spiral()
    assert sp.present.sum() == 19 and list(sp.positions[1]) == [1, 0, 0]


def test_step_in_forked_child():
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
