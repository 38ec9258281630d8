// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/calc/modCalculation.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "orbix/model/RunTimeError.h"
#include "orbix/model/modOrbix.h"

namespace modCalculation {

orbix::Mat1<double> Hmat;
orbix::Mat1<double> Hmat0;
orbix::Mat1<double> Cvec;
orbix::Vec1<double> EigVal;
std::int16_t LevelCount = 0;
orbix::Vec1<double> LevelE(kMaxAtoms);
orbix::Vec1<float> LevelDeg;
orbix::Vec1<std::int16_t> Occ(kMaxAtoms);
orbix::Vec1<PointF> AtomPos;
JacobiWork LastJacobiWork;

namespace {
constexpr int kMaxSweeps = 10000;
}  // namespace

const Molecule& Mol() { return *modOrbix::CurrentMolecule; }

void ResetResults(int n) {
    Hmat.assign(n, n, 0.0);
    Hmat0.assign(n, n, 0.0);
    Cvec.assign(n, n, 0.0);
    EigVal.assign(n, 0.0);
    LevelDeg.assign(n, 0.0f);
    if (LevelE.size() != kMaxAtoms) LevelE.assign(kMaxAtoms, 0.0);
    if (Occ.size() != kMaxAtoms) Occ.assign(kMaxAtoms, 0);
}

void RunCalculation(double& maxOff) {
    ResetResults(Mol().Count());
    BuildSecularMatrix();
    JacobiDiagonalize(maxOff);
    SortEigenpairs();
    CopyEigenvalues();
    AlignDegeneratePairs();
    ComputeTotalEnergy();
    GroupLevels();
    FillOrbitals();
    BuildChargeBondOrderMatrix();
}

void BuildSecularMatrix() {
    const Molecule& m = Mol();
    const int n = m.Count();
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            Hmat(i, j) = i == j ? static_cast<double>(m.Item(i)->Atom()->Ha()) : 0.0;

    // Inductive corrections: every bonded pair once, lower-numbered atom as i.
    for (int i = 1; i <= n - 1; ++i) {
        const clsAtom& ai = *m.Item(i)->Atom();
        for (int j = i + 1; j <= n; ++j) {
            if (!m.Bond(i, j)) continue;
            const clsAtom& aj = *m.Item(j)->Atom();
            if (ai.index() == 1) {
                if (aj.index() != 1) Hmat(i, i) += static_cast<double>(aj.Hb());
            } else {
                Hmat(j, j) += static_cast<double>(ai.Hb());
            }
        }
    }
    for (int i = 1; i <= n; ++i)
        for (int j = i + 1; j <= n; ++j)
            Hmat(i, j) = (m.Bond(i, j) ? 1.0 : 0.0) * static_cast<double>(m.Item(i)->Atom()->Hl()) *
                         static_cast<double>(m.Item(j)->Atom()->Hl());
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j < i; ++j) Hmat(i, j) = Hmat(j, i);
    Hmat0 = Hmat;
}

namespace {

// The diagonalisation works on Hmat's storage in place and on the transpose
// of Cvec (row k = orbital k), so that the loops of a rotation run through
// contiguous memory. Indices below are from 0; bounds are checked once where
// the routines are entered.
//
// Which pairs are rotated depends on the values the rotations before have
// left, so the processor cannot know in advance; the loops over elements
// therefore have the same length for every pair, which keeps their branches
// predictable, and the chain of divisions and square roots that gives a
// rotation's angle has no branch in it.

// Largest off-diagonal magnitude, lower triangle row by row. Four running
// maxima instead of one, each taking only a larger magnitude as the single
// one does: the largest is the same value, and a NaN is passed over in the
// same way unless it stands first.
[[gnu::always_inline]] inline double MeasureOffDiagonal(const double* a, int n) {
    const double first = std::fabs(a[n]);
    double m[4] = {first, first, first, first};
    for (int i = 1; i < n; ++i) {
        const double* row = a + i * n;
        int j = 0;
        for (; j + 4 <= i; j += 4)
            for (int l = 0; l < 4; ++l)
                m[l] = std::fabs(row[j + l]) > m[l] ? std::fabs(row[j + l]) : m[l];
        for (; j < i; ++j) m[0] = std::fabs(row[j]) > m[0] ? std::fabs(row[j]) : m[0];
    }
    double best = m[0];
    for (int l = 1; l < 4; ++l) best = m[l] > best ? m[l] : best;
    return best;
}

// x := c·x − s·y and y := s·x + c·y, element by element (x, y rows of one
// array, never the same row).
[[gnu::always_inline]] inline void RotateRows(double* __restrict x, double* __restrict y, int n,
                                              double c, double s) {
    for (int k = 0; k < n; ++k) {
        const double vx = x[k];
        const double vy = y[k];
        x[k] = vx * c - vy * s;
        y[k] = vx * s + vy * c;
    }
}

struct PlaneRotation {
    int p, q;
    double c, s;
};

// The rotation that annihilates (p, q), p > q.
[[gnu::always_inline]] inline PlaneRotation RotationOf(const double* a, int n, int p, int q) {
    const double app = a[p * n + p];
    const double aqq = a[q * n + q];
    const double t = (app - aqq) / (2.0 * a[p * n + q]);
    // u = t + r when float(t) > 0, else t − r; the sign test decides which
    // of the two annihilating rotations is taken, hence the order and signs
    // of Cvec. float(t) > 0 exactly when t > 2^-150 (2^-150 itself rounds to
    // zero), and t − r is t + (−r) to the bit: the sign bit of r is chosen
    // by a mask, without a branch.
    using Double2 = double __attribute__((vector_size(16)));
    using Int2 = long long __attribute__((vector_size(16)));
    const Int2 keep = Double2{t, t} > Double2{0x1p-150, 0x1p-150};
    const double r = std::sqrt(t * t + 1.0);
    const Int2 signedR =
        reinterpret_cast<Int2>(Double2{r, r}) | (~keep & Int2{1ll << 63, 1ll << 63});
    const double u = t + reinterpret_cast<Double2>(signedR)[0];
    const double c = 1.0 / std::sqrt(u * u + 1.0);
    return {p, q, c, u * c};
}

// The rotation r on the symmetric matrix a. Each element gets the operations
// of the textbook loop over k in the same order, so the results are the same
// to the bit.
[[gnu::always_inline]] inline void Rotate(double* a, int n, const PlaneRotation& r) {
    const int p = r.p;
    const int q = r.q;
    const double c = r.c;
    const double s = r.s;
    double* ap = a + p * n;
    double* aq = a + q * n;
    const double app = ap[p];
    const double aqq = aq[q];
    const double apq = ap[q];
    // Rows p and q for every k; the four elements where k is p or q are
    // computed in passing and set below from the values saved above.
    RotateRows(ap, aq, n, c, s);
    aq[q] = 2.0 * apq * s * c + aqq * c * c + app * s * s;
    ap[p] = aqq + app - aq[q];
    // Exactly zero in exact arithmetic; the rounding residue is kept.
    ap[q] = (c * c - s * s) * apq + (app - aqq) * s * c;
    aq[p] = ap[q];
    // Columns p and q mirror the rows (the diagonal and (p, q) included,
    // which mirror themselves).
    double* row = a;
#pragma GCC unroll 4
    for (int k = 0; k < n; ++k, row += n) {
        row[q] = aq[k];
        row[p] = ap[k];
    }
}

enum class SweepEnd { converged, notFinite, tooMany };

// The sweeps until convergence. Built three times where the compiler can: for
// processors with 512-bit vectors, with 256-bit vectors and for any x86-64;
// the choice is made once at load time and changes only the width of the
// vector loops, never an operation or its order (contraction into fused
// multiply-adds is off), so all give the same bits. Not under the thread
// sanitizer: the choosing code runs while the program is loaded, before that
// sanitizer's runtime is ready.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#endif
SweepEnd
Sweeps(double* a, double* v, int n, double& maxOff, JacobiWork& work) {
    // The eigenvector rows never feed back into a, so each rotation of them
    // waits for the next rotation of a: it runs while the processor works
    // out that rotation's angle, a chain of divisions and square roots.
    PlaneRotation pending{};
    bool isPending = false;
    auto rotatePending = [&] {
        if (isPending) RotateRows(v + pending.p * n, v + pending.q * n, n, pending.c, pending.s);
    };
    // Converges in a few dozen sweeps for any finite matrix; the limit only
    // keeps a corrupted matrix from spinning for ever.
    for (int sweep = 0;; ++sweep) {
        const double m = MeasureOffDiagonal(a, n);
        maxOff = m;
        if (m < kConvergenceBound || !std::isfinite(m) || sweep > kMaxSweeps) {
            rotatePending();
            if (m < kConvergenceBound) return SweepEnd::converged;
            return std::isfinite(m) ? SweepEnd::tooMany : SweepEnd::notFinite;
        }
        const double threshold = kSweepThresholdFactor * m;
        ++work.sweeps;
        for (int p = 1; p < n; ++p)
            for (int q = 0; q < p; ++q) {
                // Most pairs are skipped; written as a skip, that is the
                // straight path.
                if (!(std::fabs(a[p * n + q]) >= threshold)) continue;
                const PlaneRotation r = RotationOf(a, n, p, q);
                rotatePending();
                Rotate(a, n, r);
                pending = r;
                isPending = true;
                ++work.rotations;
            }
    }
}

}  // namespace

void JacobiDiagonalize(double& maxOff) {
    const int n = Hmat.rows();
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) Cvec(i, j) = i == j ? 1.0 : 0.0;
    LastJacobiWork = {};
    // The first measurement reads (2, 1).
    if (n < 2 || Hmat.cols() != n) orbix::RaiseSubscript();
    std::vector<double> v(n * n, 0.0);  // transpose of Cvec: row k = orbital k
    for (int k = 0; k < n; ++k) v[k * n + k] = 1.0;
    const SweepEnd end = Sweeps(Hmat.data(), v.data(), n, maxOff, LastJacobiWork);
    for (int k = 0; k < n; ++k)
        for (int r = 0; r < n; ++r) Cvec(r + 1, k + 1) = v[k * n + r];
    if (end == SweepEnd::notFinite) orbix::RaiseOverflow();
    if (end == SweepEnd::tooMany)
        throw orbix::RunTimeError(orbix::errOverflow, "固有値の計算が収束しませんでした。");
}

void SortEigenpairs() {
    const int n = Hmat.rows();
    if (Hmat.cols() != n || Cvec.rows() != n || Cvec.cols() != n) orbix::RaiseSubscript();
    // The exchange sort runs on the diagonal alone and records which column
    // ends where; the columns are then moved once.
    std::vector<double> d(n);
    std::vector<int> from(n);
    for (int i = 0; i < n; ++i) {
        d[i] = Hmat.data()[i * n + i];
        from[i] = i;
    }
    for (int i = 0; i < n - 1; ++i)
        for (int k = i + 1; k < n; ++k)
            if (d[k] >= d[i]) {
                std::swap(d[k], d[i]);
                std::swap(from[k], from[i]);
            }
    std::vector<double> row(n);
    double* c = Cvec.data();
    for (int r = 0; r < n; ++r) {
        for (int k = 0; k < n; ++k) row[k] = c[r * n + from[k]];
        std::copy(row.begin(), row.end(), c + r * n);
    }
    for (int i = 0; i < n; ++i) Hmat.data()[i * n + i] = d[i];
}

void CopyEigenvalues() {
    for (int k = 1; k <= Hmat.rows(); ++k) EigVal(k) = Hmat(k, k);
}

void AlignDegeneratePairs() {
    const int n = EigVal.size();
    for (int f = 1; f <= n - 1; ++f) {
        const int g = f + 1;
        if (std::fabs(EigVal(f) - EigVal(g)) > kDegeneracyTolerance) continue;
        // Reference atom: the largest |C(r,g)| + |C(r,f)| in single
        // precision; scanning upwards with >= lets the lowest row win ties.
        float best = 0.0f;
        int r = n;
        for (int row = n; row >= 1; --row) {
            const float w = static_cast<float>(std::fabs(Cvec(row, g)) + std::fabs(Cvec(row, f)));
            if (w >= best) {
                best = w;
                r = row;
            }
        }
        // A zero reference coefficient leaves the pair as it is: the two
        // vectors are orthonormal already, and the quotient is undefined.
        if (Cvec(r, f) == 0.0) continue;
        // The quotient itself serves as the angle, in single precision.
        const float phi = static_cast<float>(Cvec(r, g) / Cvec(r, f));
        const double cs = std::cos(static_cast<double>(phi));
        const double sn = std::sin(static_cast<double>(phi));
        for (int j = 1; j <= n; ++j) {
            const double a = Cvec(j, f);
            const double b = Cvec(j, g);
            Cvec(j, f) = static_cast<float>(cs * a + sn * b);
            Cvec(j, g) = static_cast<float>(-sn * a + cs * b);
        }
    }
}

void ComputeTotalEnergy() {
    Molecule& m = *modOrbix::CurrentMolecule;
    const int h = m.Homo_num();
    double etot = 0.0;
    for (int k = 1; k <= h; ++k) etot += EigVal(k);
    etot *= 2.0;
    if (m.E_num() % 2 != 0) etot -= EigVal(h);
    m.Energy(etot);
}

void GroupLevels() {
    const int n = EigVal.size();
    float ref = kLevelStart;
    LevelCount = 0;
    int count = 0;
    for (int i = 1; i <= n; ++i) {
        // The first orbital always starts a level, whatever its value.
        if (i == 1 || std::fabs(static_cast<double>(ref) - EigVal(i)) >= kLevelTolerance) {
            ++LevelCount;
            count = 1;
            LevelE(LevelCount) = EigVal(i);
            LevelDeg(LevelCount) = 1.0f;
            ref = static_cast<float>(EigVal(i));
        } else {
            ++count;
            LevelDeg(LevelCount) = static_cast<float>(count);
        }
    }
}

void FillOrbitals() {
    const int n = EigVal.size();
    for (int k = 1; k <= n; ++k) Occ(k) = 0;
    int remaining = Mol().E_num();
    int k0 = 0;
    for (int level = 1; level <= LevelCount && remaining > 0; ++level) {
        const int d = static_cast<int>(LevelDeg(level));
        if (2 * d <= remaining) {
            for (int k = 1; k <= d; ++k) Occ(k0 + k) = 2;
            k0 += d;
            remaining -= 2 * d;
        } else if (remaining <= d) {
            for (int k = 1; k <= remaining; ++k) Occ(k0 + k) = 1;
            remaining = 0;
        } else {
            for (int k = 1; k <= d; ++k) Occ(k0 + k) = 1;
            for (int k = 1; k <= remaining - d; ++k) Occ(k0 + k) = 2;
            remaining = 0;
        }
    }
}

void BuildChargeBondOrderMatrix() {
    const int n = Cvec.rows();
    if (Cvec.cols() != n || Hmat.rows() < n || Hmat.cols() < n || Occ.size() < n)
        orbix::RaiseSubscript();
    // P(u, j) sums Occ(v)·C(u, v)·C(j, v) over v in order, in single
    // precision after every term. Here the loop over v runs outside the
    // loop over j (the same terms in the same order for each element), on
    // the transpose of Cvec; an empty orbital adds an exact zero, which
    // leaves the sum as it is, and is skipped.
    std::vector<double> ct(n * n);
    for (int r = 0; r < n; ++r)
        for (int k = 0; k < n; ++k) ct[k * n + r] = Cvec.data()[r * n + k];
    std::vector<float> p(n);
    for (int u = 0; u < n; ++u) {
        std::fill(p.begin(), p.begin() + u + 1, 0.0f);
        for (int v = 0; v < n; ++v) {
            if (Occ(v + 1) == 0) continue;
            const double w = Occ(v + 1) * ct[v * n + u];
            const double* cv = ct.data() + v * n;
            for (int j = 0; j <= u; ++j)
                p[j] = static_cast<float>(static_cast<double>(p[j]) + w * cv[j]);
        }
        for (int j = 0; j <= u; ++j) {
            Hmat(u + 1, j + 1) = p[j];
            Hmat(j + 1, u + 1) = p[j];
        }
    }
}

void ComputeAtomPos() {
    const Molecule& m = Mol();
    const int n = m.Count();
    std::vector<int> X(n + 1), Y(n + 1);
    for (int i = 1; i <= n; ++i) {
        X[i] = modOrbix::SiteX[m.Item(i)->index()];
        Y[i] = modOrbix::SiteY[m.Item(i)->index()];
    }
    int minX = X[1], maxX = X[1], minY = Y[1], maxY = Y[1];
    for (int i = 2; i <= n; ++i) {
        minX = std::min(minX, X[i]);
        maxX = std::max(maxX, X[i]);
        minY = std::min(minY, Y[i]);
        maxY = std::max(maxY, Y[i]);
    }
    int dx = maxX - minX, dy = maxY - minY;
    if (dx == 0 && dy == 0) dx = 1;  // a single atom: keep the division defined
    if (dx <= dy) {
        // Longer extent horizontal: mirror the drawing in its diagonal.
        std::swap(X, Y);
        std::swap(minX, minY);
        std::swap(maxX, maxY);
        std::swap(dx, dy);
    }
    const double cx = (maxX + minX) * 0.5;
    const double cy = (maxY + minY) * 0.5;
    AtomPos.assign(n);
    for (int i = 1; i <= n; ++i) {
        const double x = (X[i] - cx) / dx;
        const double y = (Y[i] - cy) / dx;
        AtomPos(i) = {static_cast<float>(x * 300 + 320), static_cast<float>(y * 300 + 200)};
    }
}

}  // namespace modCalculation
