// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// orbix-calc of the program folder, run as a process.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <functional>

struct Outcome {
    int status = -1;
    QByteArray out, err;
};

// `setup` may redirect the process's output or change it as it starts.
inline Outcome Calc(const QStringList& args, const std::function<void(QProcess&)>& setup = {}) {
    QProcess p;
    if (setup) setup(p);
    p.start(QString(ORBIX_PROGRAM_DIR) + "orbix-calc", args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// Through the shell, for arguments that must reach the program as bytes, not
// through a QString: the wait status and the standard output.
inline void CalcInShell(const QByteArray& arguments, Outcome& r) {
    const QByteArray command =
        "'" + QFile::encodeName(QString(ORBIX_PROGRAM_DIR)) + "orbix-calc' " + arguments;
    std::FILE* pipe = ::popen(command.constData(), "r");
    ASSERT_TRUE(pipe);
    char buf[4096];
    for (size_t got; (got = std::fread(buf, 1, sizeof buf, pipe)) > 0;) r.out.append(buf, got);
    r.status = ::pclose(pipe);
}

// A limit on the size of files the process writes: every write beyond it
// fails (EFBIG), as on a full disk, without privileges.
inline void SizeLimit(QProcess& p, rlim_t bytes) {
    p.setChildProcessModifier([bytes] {
        ::signal(SIGXFSZ, SIG_IGN);  // fail the write rather than end the process
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
}

inline QString Tpl(const char* name) {
    return QString(ORBIX_PROGRAM_DIR) + "template/" + name + ".tpl";
}
