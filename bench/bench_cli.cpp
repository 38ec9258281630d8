// SPDX-License-Identifier: BSD-3-Clause
// orbix-calc --json on 1,000 files of 36-atom molecules in one call, beside
// a NumPy script that reads the same files, diagonalises with eigh and
// writes the same arrays as JSON. Output is read through a pipe.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QStringList>
#include <QTemporaryDir>
#include <cerrno>
#include <fstream>
#include <random>
#include <string>

#include "bench/LatticePatch.h"
#include "orbix/cli/CalcJson.h"

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

// The 1,000 files, written once.
const QStringList& Files() {
    static QTemporaryDir dir;
    static QStringList files;
    if (files.isEmpty()) {
        std::mt19937 rng(1);
        for (int i = 0; i < 1000; ++i) {
            QString path = dir.filePath(QString("m%1.mol").arg(i));
            std::ofstream(path.toStdString(), std::ios::binary) << MoleculeText(rng);
            files << path;
        }
    }
    return files;
}

double ChildrenCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The program's output, read through a pipe in large blocks and counted:
// the reader keeps up with any writer, so the time is the program's own.
// Returns the bytes read, or -1 when the program could not run or failed.
long long RunReadingOutput(const QString& program, const QStringList& args) {
    std::vector<std::string> texts{program.toStdString()};
    for (const QString& a : args) texts.push_back(a.toStdString());
    std::vector<char*> argv;
    for (std::string& t : texts) argv.push_back(t.data());
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    long long bytes = 0;
    std::vector<char> block(1 << 20);
    for (ssize_t got; (got = read(fds[0], block.data(), block.size())) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        bytes += got;
    }
    close(fds[0]);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return bytes;
}

// Wall time counts when the machine is free; on a loaded one the processor
// time of the child (files_per_cpu_s) is the steadier figure.
void RunBatch(benchmark::State& state, const QString& program, const QStringList& args) {
    long long bytes = 0;
    const double cpu0 = ChildrenCpuSeconds();
    for (auto _ : state) {
        bytes = RunReadingOutput(program, args);
        if (bytes < 0) state.SkipWithError("the batch failed");
    }
    const double files = 1000.0 * static_cast<double>(state.iterations());
    state.counters["output_MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["files_per_s"] = benchmark::Counter(files, benchmark::Counter::kIsRate);
    state.counters["files_per_cpu_s"] = files / (ChildrenCpuSeconds() - cpu0);
}

// ORBIX_CALC names another orbix-calc to measure, an earlier build say.
void BM_OrbixCalcJson1000(benchmark::State& state) {
    const QString other = qEnvironmentVariable("ORBIX_CALC");
    RunBatch(state, other.isEmpty() ? QString(ORBIX_PROGRAM_DIR) + "orbix-calc" : other,
             QStringList{"--json"} + Files());
}

void BM_NumpyJson1000(benchmark::State& state) {
    RunBatch(state, "/usr/bin/python3",
             QStringList{QString(ORBIX_SOURCE_DIR) + "bench/numpy_calc.py",
                         QString(ORBIX_SOURCE_DIR) + "data/atom.dat"} +
                 Files());
}

// The JSON line of one 36-atom result alone: the writer's share of a batch.
void BM_JsonLine36(benchmark::State& state) {
    std::vector<int> sites = FullLattice();
    std::mt19937 rng(1);
    std::shuffle(sites.begin(), sites.end(), rng);
    CalculateLatticePatch(sites);
    CalcSession::Outcome outcome;
    std::string line;
    for (auto _ : state) {
        line.clear();
        CalcJson::AppendLine(line, "m0.mol", outcome);
        benchmark::DoNotOptimize(line.data());
    }
    state.counters["bytes"] = static_cast<double>(line.size());
}

}  // namespace

BENCHMARK(BM_JsonLine36)->Unit(benchmark::kMicrosecond);
// Real time: the work is done in the child processes.
BENCHMARK(BM_OrbixCalcJson1000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_NumpyJson1000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK_MAIN();
