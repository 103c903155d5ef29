"""A trajectory written by zentrova-sim run --xyz, read with ASE: every
frame, its step and parameters, ASE's velocities, and a last frame equal to
the set of -o. A frame ASE writes with set_velocities converts to a set with
those velocities.

usage: check_xyz_ase.py ZENTROVA_SIM SET.lis1
"""
import os
import subprocess
import sys
import tempfile

import ase.io
import numpy as np


def main():
    sim, set_file = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as d:
        traj, out, out_xyz = (os.path.join(d, n) for n in ("t.xyz", "o.lis1", "o.xyz"))
        subprocess.run([sim, "run", set_file, "-n", "7", "--every", "3", "--xyz", traj, "-o", out, "--taoscope"],
                       check=True)
        subprocess.run([sim, "convert", out, out_xyz], check=True)
        frames = ase.io.read(traj, index=":")
        assert [f.info["step"] for f in frames] == [0, 3, 6, 7], [f.info for f in frames]
        last, saved = frames[-1], ase.io.read(out_xyz)
        assert np.array_equal(last.positions, saved.positions)
        assert np.array_equal(last.get_velocities(), saved.get_velocities())
        assert (last.get_masses() == 1).all() and np.abs(last.get_velocities()).max() > 0
        assert np.array_equal(last.arrays["id"], saved.arrays["id"])
        for key in ("dt", "A1", "B1", "A2", "B2", "C2", "D2", "A3", "B3", "C3", "D3"):
            assert last.info[key] == saved.info[key], key
        assert last.info["mode"] == "taoscope" and saved.info["mode"] == "gravoscope"
        assert abs(last.info["time"] - 7 * last.info["dt"]) < 1e-15
        species = {"PE": "C", "PES1": "N", "PES2": "O"}
        for sym, group, i in zip(last.get_chemical_symbols(), last.arrays["group"], last.arrays["id"]):
            assert species[group] == sym, (sym, group)
            assert group == ("PE" if i <= 20 else "PES1" if i <= 40 else "PES2"), (group, i)
        assert not any(last.pbc)
        assert len(last) == len(frames[0]) > 0

        # ASE's momenta are mass times velocity with the masses of C, N, O.
        atoms = ase.Atoms("CNO", positions=[[0, 0, 0], [1, 0, 0], [0, 2, 0]])
        v = np.array([[0.25, -0.5, 1.0], [2.0, 0.125, -1.5], [0.75, 0.0, -4.0]])
        atoms.set_velocities(v)
        atoms.info.update(last.info)
        ase_xyz, back_lis1, back_xyz = (os.path.join(d, n) for n in ("ase.xyz", "b.lis1", "b.xyz"))
        ase.io.write(ase_xyz, atoms)
        subprocess.run([sim, "convert", ase_xyz, back_lis1], check=True)
        subprocess.run([sim, "convert", back_lis1, back_xyz], check=True)
        assert np.array_equal(ase.io.read(back_xyz).get_velocities(), v)


if __name__ == "__main__":
    main()
