// orbix-calc --json on 1,000 files of 36-atom molecules in one call.

#include <benchmark/benchmark.h>

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <fstream>
#include <random>
#include <string>

namespace {

// The full lattice with every link, atoms listed in a shuffled order so the
// files differ.
std::string MoleculeText(std::mt19937& rng) {
    std::vector<int> sites(36);
    for (int i = 0; i < 36; ++i) sites[i] = i + 1;
    std::shuffle(sites.begin(), sites.end(), rng);
    std::string atoms = "[Atom]=", bonds = "[Bond]=";
    for (int i = 0; i < 36; ++i) atoms += (i ? "," : "") + std::to_string(sites[i]) + "-1";
    bool first = true;
    auto add = [&](int a, int b) {
        bonds += (first ? "" : ",") + std::to_string(a) + "-" + std::to_string(b);
        first = false;
    };
    for (int s = 2; s <= 36; s += 2) {
        if ((s - 1) % 9 != 0) add(s - 1, s);
        if (s < 36 && s % 9 != 0) add(s, s + 1);
        if (s <= 26) add(s, s + 9);
    }
    return atoms + "\r\n" + bonds + "\r\n";
}

void BM_OrbixCalcJson1000(benchmark::State& state) {
    QTemporaryDir dir;
    std::mt19937 rng(1);
    QStringList args{"--json"};
    for (int i = 0; i < 1000; ++i) {
        QString path = dir.filePath(QString("m%1.mol").arg(i));
        std::ofstream(path.toStdString(), std::ios::binary) << MoleculeText(rng);
        args << path;
    }
    qint64 bytes = 0;
    for (auto _ : state) {
        QProcess p;
        p.start(QString(ORBIX_PROGRAM_DIR) + "orbix-calc", args);
        p.waitForFinished(-1);
        if (p.exitCode() != 0) state.SkipWithError("orbix-calc failed");
        bytes = p.readAllStandardOutput().size();
    }
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
}

}  // namespace

BENCHMARK(BM_OrbixCalcJson1000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
