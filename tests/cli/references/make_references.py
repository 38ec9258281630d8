#!/usr/bin/env python3
# SPDX-License-Identifier: BSD-3-Clause
"""Writes the inputs and the expected `orbix-calc --json` output of the
byte-for-byte output test.

    make_references.py ORBIX_CALC_DIR

molecules.txt (name, atoms and bonds of seeded random patches of the lattice,
some of which the structure check refuses, and two names that need escaping)
is written only when it does not exist yet; the expected outputs are always
rewritten from the orbix-calc given.
"""

import gzip
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SEED = 20261207
COUNT = 300


def linked(a, b):
    """The lattice links: zigzag rows of 9 sites, even sites joined downwards."""
    a, b = min(a, b), max(a, b)
    if b - a == 1:
        return (a % 2 == 1 and (b - 1) % 9 != 0) or (a % 2 == 0 and a % 9 != 0)
    return b - a == 9 and a % 2 == 0 and a <= 26


HETERO = [2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12]
HANDS = {1: 3, 2: 2, 3: 3, 4: 1, 5: 2, 6: 2, 7: 1, 8: 1, 9: 1, 10: 1, 11: 3, 12: 2}


def grow(rng):
    size = rng.randint(2, 36)
    sites = [rng.randint(1, 36)]
    while len(sites) < size:
        frontier = sorted({t for s in sites for t in range(1, 37) if t not in sites and linked(s, t)})
        if not frontier:
            break
        sites.append(rng.choice(frontier))
    bonds = [(min(s, t), max(s, t)) for i, s in enumerate(sites) for t in sites[i + 1:] if linked(s, t)]
    # Now and then drop a bond, which may leave the drawing in pieces.
    if rng.random() < 0.1 and bonds:
        bonds.pop(rng.randrange(len(bonds)))
    degree = {s: sum(1 for b in bonds if s in b) for s in sites}
    element = {s: 1 for s in sites}
    careless = rng.random() < 0.15  # heteroatoms placed without the rules
    for s in sites:
        if rng.random() >= 0.2:
            continue
        e = rng.choice(HETERO)
        if not careless:
            if any(element[t] != 1 and linked(s, t) for t in sites if t != s):
                continue
            if HANDS[e] < degree[s]:
                continue
        element[s] = e
    atoms = ",".join(f"{s}-{element[s]}" for s in sites)
    bond_text = ",".join(f"{a}-{b}" for a, b in bonds)
    return atoms, bond_text


def write_molecules(path):
    rng = random.Random(SEED)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        for i in range(COUNT):
            atoms, bonds = grow(rng)
            f.write(f"r{i:03d}.mol\t{atoms}\t{bonds}\n")
        # Names the JSON writer must escape, or pass through as UTF-8.
        f.write('ベンゼン "環" \\ 1.mol\t2-1,3-1,4-1,13-1,12-1,11-1\t2-3,3-4,4-13,12-13,11-12,2-11\n')
        # Under a folder that does not exist: never written, so the open fails.
        f.write("ピリジン/..\t2-2,3-1,4-1,13-1,12-1,11-1\t2-3,3-4,4-13,12-13,11-12,2-11\n")


def main():
    program = os.path.abspath(sys.argv[1])
    calc = os.path.join(program, "orbix-calc")
    molecules = os.path.join(HERE, "molecules.txt")
    if not os.path.exists(molecules):
        write_molecules(molecules)

    templates = sorted(f for f in os.listdir(os.path.join(program, "template")) if f.endswith(".tpl"))
    out = subprocess.run([calc, "--json"] + [f"template/{t}" for t in templates],
                         cwd=program, capture_output=True, check=False).stdout
    with gzip.GzipFile(os.path.join(HERE, "templates.jsonl.gz"), "wb", mtime=0) as f:
        f.write(out)

    with tempfile.TemporaryDirectory() as tmp:
        names = []
        with open(molecules, encoding="utf-8") as f:
            for line in f:
                name, atoms, bonds = line.rstrip("\n").split("\t")
                text = f"[Atom]={atoms}\r\n" + (f"[Bond]={bonds}\r\n" if bonds else "")
                if "/" not in name:
                    with open(os.path.join(tmp, name), "w", encoding="ascii", newline="") as m:
                        m.write(text)
                names.append(name)
        out = subprocess.run([calc, "--json"] + names, cwd=tmp, capture_output=True,
                             check=False).stdout
    with gzip.GzipFile(os.path.join(HERE, "random.jsonl.gz"), "wb", mtime=0) as f:
        f.write(out)


if __name__ == "__main__":
    main()
