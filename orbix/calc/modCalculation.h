// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The simple LCAO pi-electron calculation of CurrentMolecule.
//
// Secular matrix in units of beta relative to alpha: H(i,i) = h_i (Coulomb
// integral alpha + h_i·beta), H(i,j) = k_ij (resonance integral k_ij·beta).
// An eigenvalue x is an orbital energy alpha + x·beta; beta < 0, so a larger
// x is more bonding. Orbitals are numbered from the largest x down.
//
// Results stay in the module arrays below until the next calculation.

#include <array>
#include <cstdint>

#include "orbix/model/Array1.h"

class Molecule;

namespace modCalculation {

struct PointF {
    float x = 0;
    float y = 0;
};

inline constexpr int kMaxAtoms = 36;

// After the calculation: the charge-and-bond-order matrix P (densities on
// the diagonal, bond orders off it). Before: the secular matrix, rotated in
// place by the diagonalisation.
extern orbix::Mat1<double> Hmat;
extern orbix::Mat1<double> Hmat0;   // the secular matrix as built
extern orbix::Mat1<double> Cvec;    // column k = orbital k, row r = atom r
extern orbix::Vec1<double> EigVal;  // non-increasing
extern std::int16_t LevelCount;
extern orbix::Vec1<double> LevelE;     // 36 entries; x of each level
extern orbix::Vec1<float> LevelDeg;    // n entries; orbitals per level
extern orbix::Vec1<std::int16_t> Occ;  // 36 entries; electrons per orbital
extern orbix::Vec1<PointF> AtomPos;    // sketch centre of each atom

// Constants of the method.
inline constexpr double kConvergenceBound = 0.00001;
inline constexpr double kSweepThresholdFactor = 0.1;
inline constexpr double kDegeneracyTolerance = 0.0001;
inline constexpr float kLevelStart = -1000.0f;
inline constexpr double kLevelTolerance = 0.001;

// The whole calculation: arrays re-created, secular matrix, diagonalisation,
// sort, eigenvalue copy, degenerate-pair orientation, total energy, levels,
// occupation and the charge-and-bond-order matrix.
void RunCalculation(double& maxOff);

void BuildSecularMatrix();
// Threshold cyclic Jacobi on Hmat, accumulating Cvec; maxOff receives each
// measurement of the largest off-diagonal magnitude, finally the one that
// ended the iteration.
void JacobiDiagonalize(double& maxOff);

// The work of the last JacobiDiagonalize, for benchmarks: sweeps made (the
// measurement that ends the iteration starts none) and rotations.
struct JacobiWork {
    int sweeps = 0;
    long rotations = 0;
};
extern JacobiWork LastJacobiWork;

void SortEigenpairs();
void CopyEigenvalues();
void AlignDegeneratePairs();
void ComputeTotalEnergy();
void GroupLevels();
void FillOrbitals();
void BuildChargeBondOrderMatrix();

// AtomPos of CurrentMolecule: the sketch 300 units wide centred on (320, 200),
// its longer extent horizontal.
void ComputeAtomPos();

// CurrentMolecule, the molecule the calculation and the pages work on.
const Molecule& Mol();

// Sizes the result arrays for n atoms, all zero (LevelE and Occ keep 36).
void ResetResults(int n);

}  // namespace modCalculation
