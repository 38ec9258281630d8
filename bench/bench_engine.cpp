// SPDX-License-Identifier: BSD-3-Clause
// RunCalculation for n = 6, 16 and 36 beside LAPACK's dsyevd (eigenvalues
// and eigenvectors) on the same secular matrix.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/LatticePatch.h"
#include "orbix/calc/CalcSession.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/modOrbix.h"

extern "C" void dsyevd_(const char* jobz, const char* uplo, const int* n, double* a, const int* lda,
                        double* w, double* work, const int* lwork, int* iwork, const int* liwork,
                        int* info);

namespace {

// n = 6 (benzene), 16 (two rows) or 36 (the whole lattice, its atoms
// numbered along the rows).
void Prepare(int n) {
    static const std::vector<int> benzene{2, 3, 4, 13, 12, 11};
    static const std::vector<int> two{2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 10, 18};
    CalculateLatticePatch(n == 36 ? FullLattice() : n == 16 ? two : benzene);
}

void BM_RunCalculation(benchmark::State& state) {
    Prepare(static_cast<int>(state.range(0)));
    double maxOff = 0;
    for (auto _ : state) {
        modCalculation::RunCalculation(maxOff);
        benchmark::DoNotOptimize(modCalculation::Cvec(1, 1));
    }
    state.counters["maxOff"] = maxOff;
    const auto work = modCalculation::LastJacobiWork;
    state.counters["sweeps"] = work.sweeps;
    state.counters["rotations"] = static_cast<double>(work.rotations);
    // Time per rotation: the whole calculation's time shared out over its rotations.
    state.counters["per_rotation"] = benchmark::Counter(
        static_cast<double>(work.rotations) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The whole lattice with its atoms numbered in 100 shuffled orders, as the
// drawings of a batch number them: the calculation alone, per molecule.
void BM_CalculateShuffledLattice(benchmark::State& state) {
    std::vector<MoleculeFile::Drawing> drawings;
    std::mt19937 rng(1);
    for (int i = 0; i < 100; ++i) {
        std::vector<int> sites = FullLattice();
        std::shuffle(sites.begin(), sites.end(), rng);
        drawings.push_back(LatticeDrawing(sites));
    }
    long rotations = 0;
    size_t i = 0;
    for (auto _ : state) {
        modOrbix::CurrentMolecule = std::make_shared<Molecule>();
        if (CalcSession::Calculate(drawings[i]).code != 0) std::abort();
        rotations += modCalculation::LastJacobiWork.rotations;
        i = (i + 1) % drawings.size();
    }
    state.counters["rotations"] =
        static_cast<double>(rotations) / static_cast<double>(state.iterations());
    state.counters["per_rotation"] = benchmark::Counter(
        static_cast<double>(rotations), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Dsyevd(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Prepare(n);
    std::vector<double> h(n * n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) h[(j - 1) * n + (i - 1)] = modCalculation::Hmat0(i, j);
    std::vector<double> a(n * n), w(n);
    int lwork = -1, liwork = -1, info = 0, iq = 0;
    double q = 0;
    dsyevd_("V", "U", &n, a.data(), &n, w.data(), &q, &lwork, &iq, &liwork, &info);
    lwork = static_cast<int>(q);
    liwork = iq;
    std::vector<double> work(lwork);
    std::vector<int> iwork(liwork);
    for (auto _ : state) {
        a = h;
        dsyevd_("V", "U", &n, a.data(), &n, w.data(), work.data(), &lwork, iwork.data(), &liwork,
                &info);
        benchmark::DoNotOptimize(a.data());
    }
}

}  // namespace

BENCHMARK(BM_RunCalculation)->Arg(6)->Arg(16)->Arg(36)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CalculateShuffledLattice)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Dsyevd)->Arg(6)->Arg(16)->Arg(36)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
