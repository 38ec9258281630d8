#!/usr/bin/python3
# SPDX-License-Identifier: BSD-3-Clause
"""The comparison for orbix-calc --json: reads the same molecule files,
builds the same secular matrix, diagonalises it with numpy.linalg.eigh and
writes the same arrays as one JSON line per file.

    numpy_calc.py ATOM_DAT FILE...
"""

import json
import sys

import numpy as np


def read_atoms(path):
    """Element number -> (E_num, Ha, Hb, Hl)."""
    table = {}
    with open(path, encoding="cp932") as f:
        for i, line in enumerate(f, start=1):
            fields = line.strip().split(",")
            if len(fields) >= 5:
                table[i] = (int(fields[1]), float(fields[2]), float(fields[3]), float(fields[4]))
    return table


def read_molecule(path):
    atoms, bonds = [], []
    with open(path, encoding="cp932") as f:
        for line in f:
            line = line.strip()
            if line.startswith("[Atom]="):
                atoms = [tuple(int(x) for x in a.split("-")) for a in line[7:].split(",") if a]
            elif line.startswith("[Bond]="):
                bonds = [tuple(int(x) for x in b.split("-")) for b in line[7:].split(",") if b]
    return atoms, bonds


def calculate(path, table):
    atoms, bonds = read_molecule(path)
    n = len(atoms)
    index = {site: i for i, (site, _) in enumerate(atoms)}
    element = [e for _, e in atoms]
    h = np.zeros((n, n))
    for i, e in enumerate(element):
        h[i, i] = table[e][1]
    for a, b in bonds:
        i, j = sorted((index[a], index[b]))
        ei, ej = element[i], element[j]
        if ei == 1:
            if ej != 1:
                h[i, i] += table[ej][2]
        else:
            h[j, j] += table[ei][2]
        h[i, j] = h[j, i] = table[ei][3] * table[ej][3]
    x, c = np.linalg.eigh(h)
    x, c = x[::-1], c[:, ::-1]  # most bonding first
    electrons = sum(table[e][0] for e in element)
    occ = np.zeros(n, dtype=int)
    left = electrons
    for k in range(n):
        occ[k] = min(2, left)
        left -= occ[k]
    p = (c * occ) @ c.T
    return {
        "file": path, "code": 0, "message": "", "n": n, "E_num": electrons,
        "EigVal": x.tolist(), "Cvec": c.tolist(), "Occ": occ.tolist(),
        "Energy": float(occ @ x), "P": p.tolist(), "Hmat0": h.tolist(),
    }


def main():
    table = read_atoms(sys.argv[1])
    out = sys.stdout
    for path in sys.argv[2:]:
        out.write(json.dumps(calculate(path, table), separators=(",", ":"), ensure_ascii=False))
        out.write("\n")


if __name__ == "__main__":
    main()
