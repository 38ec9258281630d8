// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The page routines of the result window. Each draws its whole page from the
// calculation results of modCalculation and CurrentMolecule; nothing is kept
// between calls. Page units: x to the right, y downwards, about 640 × 400.

#include <cstdint>

#include "orbix/calc/PageSurface.h"

namespace modCalculation {

// Palette colour of an element number in the sketches.
Rgb AtomColour(int element);

// AtomPos of CurrentMolecule (ComputeAtomPos); when draw is set, also the
// half-size sketch around (160, 100) in `s`.
void LayoutSketch(PageSurface& s, bool draw);
// The full-size sketch from AtomPos: circles of radius 20, olive bond lines.
void DrawSketch(PageSurface& s);
// One atom: a filled circle in the element's colour; filling is transparent
// again afterwards.
void DrawAtomMark(PageSurface& s, std::int16_t element, std::int16_t x, std::int16_t y,
                  std::int16_t radius);

// The eigen table in `grid` (cells of EigenTableCells, body magenta) and the
// total energy above it.
void ShowEigenTable(PageSurface& s, EigenGrid& grid);
void ShowCoulombIntegrals(PageSurface& s);
void ShowResonanceIntegrals(PageSurface& s);
void ShowDensities(PageSurface& s);
void ShowBondOrders(PageSurface& s);

// The level diagram: axis from y = 150 (x = -B) to y = 350, s = floor(200 /
// (|A| + |B|)) units per unit of x, levels of 1-4 orbitals as tabled with
// their electrons by Hund's rule. A level of d >= 5 orbitals is drawn like
// one of 4: d segments 30 long, 40 apart from x = 100, electrons 10 and 20
// units into each segment, first one per segment; from 14 orbitals on the
// segments share 100 ... 620 (each 3/4 of its 520/d share, electrons at a
// third and two thirds of it). Every level advances the running orbital
// number by its degeneracy.
void ShowEnergyDiagram(PageSurface& s);
// Floor of v, with a value within 1e-6 of a whole number taken as that number.
int DiagramFloor(double v);

// Orbital k + 1 (k zero-based) as concentric circles at each atom.
void ShowOrbitalPlanar(PageSurface& s, std::int16_t k);
// Orbital k + 1 seen from 15° above the plane, its lobes point by point;
// events are processed after each ring, and the drawing stops when the
// surface reports that the page was replaced meanwhile.
void ShowOrbital3D(PageSurface& s, std::int16_t k);

// Draws the page of one scene (orbital k for scenes 11 and 12); scenes without
// a page (group headings) draw nothing.
void ShowScenePage(PageSurface& s, EigenGrid& grid, int scene, std::int16_t k);

// The projection of the 3-D page: floor(floor(x·cx + y·cy + z·cz) × f) and
// floor(-f × floor(y·cy + z·cz)) + 250, in single precision.
std::int16_t ProjectX(float x, float y, float z, float cx, float cy, float cz, float f);
std::int16_t ProjectY(float y, float z, float cy, float cz, float f);

// The projection coefficients c, -c·s, s², s (θ = 0.2617995 in single
// precision, c and s computed in double).
struct Projection {
    float c, mcs, s2, s;
};
Projection ViewProjection();

}  // namespace modCalculation
