// SPDX-License-Identifier: BSD-3-Clause
// The readers on hostile input.
//
// RtfParagraph/N: one paragraph of N groups "{\b x}{\i y}..." with changing
// formats. Time per run should grow linearly: compare the per-run figures
// ("ns_per_run") of N = 4,000 and N = 40,000.
//
// ShowDocument/kind: the text of a viewer, read and laid out 700 px wide in
// the viewer's font. Kinds 20000, 40000 and 100000 are one paragraph of that
// many runs "\b a\b0 b" (one word); kinds 1 to 4 are documents of 1 MB: that
// word, plain text of one word, one paragraph of short formatted words
// "{\b a}b ", and plain text alternating Latin and Japanese. "ns_per_byte"
// must stay about the same from 20000 to 100000 runs.
//
// PeakMemory/kind: a child process reads a 16 MB molecule file (0: commas
// after "[Atom]=", 1: empty lines) and is refused; the counter "peak_ratio"
// is the child's peak resident size over the file size, "baseline_MB" the
// peak of a child that reads nothing.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
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

QByteArray Repeated(const QByteArray& head, const QByteArray& piece, qsizetype size) {
    QByteArray out = head;
    out.reserve(size + piece.size());
    while (out.size() + piece.size() <= size) out += piece;
    return out;
}

QByteArray ShownDocument(int kind) {
    constexpr qsizetype kMegabyte = 1000000;
    const QByteArray rtf = "{\\rtf1\\ansi ";
    switch (kind) {
        case 1:
            return Repeated(rtf, "\\b a\\b0 b", kMegabyte - 1) + "}";
        case 2:
            return QByteArray(kMegabyte, 'x');
        case 3:
            return Repeated(rtf, "{\\b a}b ", kMegabyte - 1) + "}";
        case 4:
            return Repeated("", "a\xe3\x81\x82", kMegabyte);
        default:
            return Repeated(rtf, "\\b a\\b0 b", rtf.size() + 9 * qsizetype{kind}) + "}";
    }
}

void BM_ShowDocument(benchmark::State& state) {
    const QByteArray data = ShownDocument(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("IPAPGothic"), 12));
        doc.setTextWidth(700);
        RtfReader::Read(data, doc);
        benchmark::DoNotOptimize(doc.documentLayout()->documentSize());
    }
    state.counters["ns_per_byte"] = benchmark::Counter(
        static_cast<double>(data.size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ShowDocument)
    ->Arg(20000)
    ->Arg(40000)
    ->Arg(100000)
    ->DenseRange(1, 4)
    ->Unit(benchmark::kMillisecond);

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
