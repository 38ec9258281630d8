// The readers on hostile input.
//
// RtfParagraph/N: one paragraph of N groups "{\b x}{\i y}..." with changing
// formats. Time per run should grow linearly: compare the per-run figures
// ("ns_per_run") of N = 4,000 and N = 40,000.
//
// PeakMemory/kind: a child process reads a 16 MB molecule file (0: commas
// after "[Atom]=", 1: empty lines) and is refused; the counter "peak_ratio"
// is the child's peak resident size over the file size, "baseline_MB" the
// peak of a child that reads nothing.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>
#include <fstream>
#include <string>

#include "orbix/model/MoleculeFile.h"
#include "portico/RtfReader.h"

namespace {

QByteArray RtfParagraph(int runs) {
    static const char* const kFormats[] = {"\\b", "\\i", "\\ul", "\\fs28", "\\cf1", "\\super"};
    QByteArray rtf = "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\pard ";
    for (int i = 0; i < runs; ++i) {
        rtf += '{';
        rtf += kFormats[i % 6];
        rtf += " x}";
    }
    rtf += "\\par}";
    return rtf;
}

void BM_RtfParagraph(benchmark::State& state) {
    const int runs = static_cast<int>(state.range(0));
    const QByteArray rtf = RtfParagraph(runs);
    for (auto _ : state) {
        QTextDocument doc;
        RtfReader::Read(rtf, doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.counters["ns_per_run"] =
        benchmark::Counter(static_cast<double>(runs) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(BM_RtfParagraph)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond);

// Peak resident size in kB of a child that runs read().
template <class Read>
long ChildPeakKb(Read&& read) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        read();
        ::_exit(0);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss;
}

void BM_PeakMemory(benchmark::State& state) {
    constexpr size_t kSize = 16 * 1024 * 1024;
    const std::string path = "bench_readers_" + std::to_string(::getpid()) + ".mol";
    {
        // Written in small pieces, so that this process's own size stays the
        // children's baseline.
        std::ofstream f(path, std::ios::binary);
        const char fill = state.range(0) == 0 ? ',' : '\n';
        size_t left = kSize;
        if (state.range(0) == 0) {
            f << "[Atom]=";
            left -= 7;
        }
        const std::string piece(4096, fill);
        for (; left >= piece.size(); left -= piece.size()) f << piece;
        f << piece.substr(0, left);
    }
    long peak = 0, baseline = 0;
    for (auto _ : state) {
        baseline = ChildPeakKb([] {});
        peak = ChildPeakKb([&] {
            MoleculeFile::Drawing d;
            benchmark::DoNotOptimize(MoleculeFile::ReadDrawingFile(path, 12, d));
        });
    }
    std::remove(path.c_str());
    state.counters["peak_MB"] = static_cast<double>(peak) / 1024;
    state.counters["baseline_MB"] = static_cast<double>(baseline) / 1024;
    state.counters["peak_ratio"] =
        static_cast<double>(peak - baseline) * 1024 / static_cast<double>(kSize);
}
BENCHMARK(BM_PeakMemory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The fonts of the document need a GUI application; no window is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
