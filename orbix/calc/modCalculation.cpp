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

namespace {
constexpr int kMaxSweeps = 10000;
const Molecule& Mol() { return *modOrbix::CurrentMolecule; }
}  // namespace

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

// Largest off-diagonal magnitude, lower triangle row by row.
double MeasureOffDiagonal(const orbix::Mat1<double>& a) {
    const int n = a.rows();
    double m = std::fabs(a(2, 1));
    for (int i = 2; i <= n; ++i)
        for (int j = 1; j <= i - 1; ++j)
            if (std::fabs(a(i, j)) > m) m = std::fabs(a(i, j));
    return m;
}

void Rotate(int p, int q) {
    const int n = Hmat.rows();
    const double app = Hmat(p, p);
    const double aqq = Hmat(q, q);
    const double t = (app - aqq) / (2.0 * Hmat(q, p));
    // The sign test is made in single precision; it decides which of the two
    // annihilating rotations is taken, hence the order and signs of Cvec.
    const double u =
        static_cast<float>(t) > 0.0f ? t + std::sqrt(t * t + 1.0) : t - std::sqrt(t * t + 1.0);
    const double c = 1.0 / std::sqrt(u * u + 1.0);
    const double s = u * c;
    for (int k = 1; k <= n; ++k) {
        if (k == q) {
            Hmat(q, q) = 2.0 * Hmat(p, q) * s * c + aqq * c * c + app * s * s;
            Hmat(p, p) = aqq + app - Hmat(q, q);
        } else if (k != p) {
            const double bq = Hmat(q, k);
            const double bp = Hmat(p, k);
            Hmat(q, k) = s * bp + c * bq;
            Hmat(p, k) = c * bp - s * bq;
            Hmat(k, q) = Hmat(q, k);
            Hmat(k, p) = Hmat(p, k);
        }
    }
    // Exactly zero in exact arithmetic; the rounding residue is kept.
    Hmat(p, q) = (c * c - s * s) * Hmat(p, q) + (app - aqq) * s * c;
    Hmat(q, p) = Hmat(p, q);
    for (int k = 1; k <= n; ++k) {
        const double vp = Cvec(k, p);
        const double vq = Cvec(k, q);
        Cvec(k, p) = vp * c - vq * s;
        Cvec(k, q) = vp * s + vq * c;
    }
}

}  // namespace

void JacobiDiagonalize(double& maxOff) {
    const int n = Hmat.rows();
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) Cvec(i, j) = i == j ? 1.0 : 0.0;
    // Converges in a few dozen sweeps for any finite matrix; the limit only
    // keeps a corrupted matrix from spinning for ever.
    for (int sweep = 0;; ++sweep) {
        const double m = MeasureOffDiagonal(Hmat);
        maxOff = m;
        if (m < kConvergenceBound) return;
        if (!std::isfinite(m)) orbix::RaiseOverflow();
        if (sweep > kMaxSweeps)
            throw orbix::RunTimeError(orbix::errOverflow, "固有値の計算が収束しませんでした。");
        const double threshold = kSweepThresholdFactor * m;
        for (int p = 2; p <= n; ++p)
            for (int q = 1; q <= p - 1; ++q)
                if (std::fabs(Hmat(p, q)) >= threshold) Rotate(p, q);
    }
}

void SortEigenpairs() {
    const int n = Hmat.rows();
    for (int i = 1; i <= n - 1; ++i) {
        for (int k = i + 1; k <= n; ++k) {
            if (Hmat(k, k) >= Hmat(i, i)) {
                std::swap(Hmat(k, k), Hmat(i, i));
                for (int r = 1; r <= n; ++r) std::swap(Cvec(r, i), Cvec(r, k));
            }
        }
    }
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
    for (int u = 1; u <= n; ++u) {
        for (int j = 1; j <= u; ++j) {
            float p = 0.0f;
            for (int v = 1; v <= n; ++v)
                p = static_cast<float>(static_cast<double>(p) + Occ(v) * Cvec(u, v) * Cvec(j, v));
            Hmat(u, j) = p;
            Hmat(j, u) = p;
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
