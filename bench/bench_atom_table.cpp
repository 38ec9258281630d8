// SPDX-License-Identifier: BSD-3-Clause
// Large element tables.
//
// AtomTable/N: reading a table of N lines whose captions are 480 characters
// long and differ only in their last characters (at the largest legal table,
// 32,767 lines, the file-size limit leaves about 500 bytes a line). The time
// per line ("per_line", in seconds) must stay flat as N grows.
//
// DesignWindow/N: starting the design window on a table of N short captions
// (reading it, building the palette and the canvas) until the window has
// been shown; "peak_MB" is this process's peak resident size afterwards.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QToolBar>
#include <fstream>
#include <string>

#include "orbix/design/StartUp.h"
#include "orbix/design/frmDesign.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/ScriptedDialogs.h"

namespace {

// N element lines; every caption is `prefix` followed by the line's number.
void WriteTable(const std::string& path, int lines, const std::string& prefix) {
    std::ofstream f(path, std::ios::binary);
    f << "C,1,0,0,1,3\r\n";
    for (int i = 2; i <= lines; ++i) f << prefix << i << ",1,0.5,0.05,1,2\r\n";
}

void BM_AtomTable(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const std::string path = dir.filePath("atom.dat").toStdString();
    WriteTable(path, lines, std::string(475, 'x'));
    AtomTable table;
    for (auto _ : state) {
        std::string message;
        if (!modOrbix::LoadAtomDataFrom(path, table, message)) state.SkipWithError(message.c_str());
        benchmark::DoNotOptimize(table.Count());
    }
    state.counters["per_line"] =
        benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AtomTable)
    ->Arg(4000)
    ->Arg(8000)
    ->Arg(16000)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

void BM_DesignWindow(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    // A program folder of its own: the shipped tile plugin and the table.
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("data");
    WriteTable(dir.filePath("data/atom.dat").toStdString(), lines, "E");
    QFile::link(QStringLiteral(ORBIX_PROGRAM_DIR "libTessera.so"), dir.filePath("libTessera.so"));
    for (auto _ : state) {
        orbix::ScriptedDialogs dialogs;
        int code = 0;
        modOrbix::CurrentMolecule.reset();
        auto form = modDesign::StartUp(dir.path(), dialogs, code);
        if (!form) {
            state.SkipWithError("the design window did not start");
            break;
        }
        QApplication::processEvents();
        benchmark::DoNotOptimize(form->tbrAtomBox().actions().size());
        state.PauseTiming();
        form.reset();
        modOrbix::CurrentMolecule.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_DesignWindow)->Arg(32767)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
