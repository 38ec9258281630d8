// SPDX-License-Identifier: BSD-3-Clause
// orbix-calc [--atoms FILE] [--json] FILE...
// orbix-calc [--atoms FILE] --page SCENE|all ... FILE (pictures, PageCommand.h)
// orbix-calc --help | --version
// Calculates molecule files without any window. Exit status: 0 when every
// file was calculated, 1 when any was refused or unreadable, 2 for a usage
// error, an unreadable element table or output that could not be written.

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "orbix/calc/CalcSession.h"
#include "orbix/cli/CalcJson.h"
#include "orbix/cli/CalcReport.h"
#include "orbix/cli/PageCommand.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/FileNames.h"
#include "orbix/platform/FileOutput.h"
#include "orbix/platform/Translation.h"

namespace {

// Messages name files by the bytes they were given (see FileNames.h).
void Err(const QString& text) {
    std::fputs(orbix::FileNameBytes(text).constData(), stderr);
    std::fputc('\n', stderr);
}

// The standard output, every write checked: the first failure's errno is
// kept, and writing stops there.
class Output {
  public:
    void Write(const char* bytes, size_t size) {
        if (error_.load(std::memory_order_relaxed)) return;
        if (std::fwrite(bytes, 1, size, stdout) != size) Fail();
    }
    void Write(const QByteArray& bytes) { Write(bytes.constData(), bytes.size()); }
    bool Failed() const { return error_.load(std::memory_order_relaxed) != 0; }

    // Flushes and closes the stream: 0, or the errno of the first failure.
    int Close() {
        if (!Failed() && std::fflush(stdout) != 0) Fail();
        if (std::fclose(stdout) != 0 && !Failed()) Fail();
        return error_.load();
    }

  private:
    void Fail() {
        int expected = 0;
        error_.compare_exchange_strong(expected, errno ? errno : EIO);
    }
    std::atomic<int> error_{0};
};

// A standard stream the program was started without would be taken by the
// next file opened, and the output would go into that file: a descriptor that
// cannot be written holds its place, so writing fails as on a closed stream.
void HoldClosedStreams() {
    for (int fd : {STDOUT_FILENO, STDERR_FILENO})
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int held = ::open("/dev/null", O_RDONLY);
            if (held >= 0 && held != fd) {
                ::dup2(held, fd);
                ::close(held);
            }
        }
}

// Writes the JSON lines of the results pushed to it, in order, on a thread
// of its own; a few results wait at most, so memory stays small.
class LineWriter {
  public:
    explicit LineWriter(Output& out) : out_(out), thread_([this] { Run(); }) {}
    ~LineWriter() { Finish(); }

    void Push(CalcJson::Result result) {
        std::unique_lock lock(mutex_);
        roomLeft_.wait(lock, [this] { return waiting_.size() < kMaxWaiting; });
        waiting_.push_back(std::move(result));
        ready_.notify_one();
    }

    // Returns once every line pushed is written.
    void Finish() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        ready_.notify_one();
        if (thread_.joinable()) thread_.join();
    }

  private:
    static constexpr std::size_t kMaxWaiting = 4;

    void Run() {
        std::string line;
        for (;;) {
            CalcJson::Result result;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return !waiting_.empty() || finished_; });
                if (waiting_.empty()) return;
                result = std::move(waiting_.front());
                waiting_.pop_front();
            }
            roomLeft_.notify_one();
            if (out_.Failed()) continue;  // nothing more can be written
            line.clear();
            CalcJson::AppendLine(line, result);
            out_.Write(line.data(), line.size());
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_, roomLeft_;
    std::deque<CalcJson::Result> waiting_;
    bool finished_ = false;
    Output& out_;
    std::thread thread_;  // last: started once the members above exist
};

}  // namespace

int main(int argc, char** argv) {
    HoldClosedStreams();
    // Each JSON line is built in a buffer of about 100 kB that grows step by
    // step; served by mmap, every step would fault its pages in afresh.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    const auto app = PageCommand::MakeApplication(argc, argv);
    orbix::InstallJapaneseTranslation(*app);
    QCoreApplication::setApplicationName("orbix-calc");
    QCoreApplication::setApplicationVersion(ORBIX_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "分子データファイルを単純ＬＣＡＯ法で計算し、結果を表示します。");
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption atomsOption(
        "atoms", "原子データファイル（既定: プログラムフォルダの data/atom.dat）", "FILE");
    QCommandLineOption jsonOption("json", "ファイルごとに１行の JSON で出力します。");
    parser.addOption(atomsOption);
    parser.addOption(jsonOption);
    PageCommand::AddOptions(parser);
    parser.addPositionalArgument("FILE", "分子データファイル (.mol, .tpl)", "FILE...");
    // Every name, options' values included, as the bytes it was given.
    if (!parser.parse(orbix::CommandLineArguments(argc, argv))) {
        Err(parser.errorText());
        return 2;
    }
    Output out;
    const auto finish = [&out](int status) {
        if (const int error = out.Close()) {
            Err(QStringLiteral("出力を書き込めません: ") + orbix::ErrorText(error));
            return 2;
        }
        return status;
    };
    if (parser.isSet("help")) {
        out.Write(parser.helpText().toUtf8());
        return finish(0);
    }
    if (parser.isSet("version")) {
        out.Write("orbix-calc " ORBIX_VERSION "\n");
        return finish(0);
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        Err("分子データファイルを指定してください。");
        Err(parser.helpText());
        return 2;
    }
    std::optional<PageCommand::Request> page;
    if (PageCommand::Wanted(parser)) {
        QString error;
        if (!(page = PageCommand::Check(parser, files, error))) {
            Err(error);
            return 2;
        }
    }

    modOrbix::ProgramFolder =
        modOrbix::FolderWithSlash(QCoreApplication::applicationDirPath().toStdString());
    const QString atoms = parser.isSet(atomsOption)
                              ? parser.value(atomsOption)
                              : QString::fromStdString(modOrbix::ProgramFolder + "data/atom.dat");
    std::string message;
    if (!modOrbix::LoadAtomDataFrom(orbix::FileNameBytes(atoms).toStdString(), modOrbix::colAtoms,
                                    message)) {
        Err(atoms + ": " + QString::fromStdString(message));
        return 2;
    }
    modOrbix::ComputeSites();
    modOrbix::BuildSiteLinks();
    if (page) return finish(PageCommand::Run(*page));

    const bool json = parser.isSet(jsonOption);
    int status = 0;
    // JSON lines are written on a second thread while the next file is
    // calculated; the calculation itself stays on this one.
    std::optional<LineWriter> lines;
    if (json) lines.emplace(out);
    for (const QString& file : files) {
        if (out.Failed()) break;  // the rest could not be reported
        const QByteArray bytes = orbix::FileNameBytes(file);
        const QString shown = QString::fromUtf8(bytes);
        modOrbix::CurrentMolecule = std::make_shared<Molecule>();
        modOrbix::CurrentMolecule->filename(bytes.mid(bytes.lastIndexOf('/') + 1).toStdString());
        CalcSession::Outcome outcome;
        try {
            outcome = CalcSession::CalculateFile(bytes.toStdString());
        } catch (const std::exception& e) {
            outcome.code = CalcSession::kUnreadable;
            outcome.message = e.what();
        }
        if (outcome.code != CalcSession::kAccepted) {
            status = 1;
            Err(file + ": " + orbix::FileNameText(outcome.message));
        }
        if (json) {
            lines->Push(CalcJson::TakeResult(shown.toStdString(), outcome));
        } else if (outcome.code == CalcSession::kAccepted) {
            const std::string text = CalcReport::Text(shown.toStdString(), outcome.maxOff) + '\n';
            out.Write(text.data(), text.size());
        }
    }
    if (lines) lines->Finish();
    return finish(status);
}
