#pragma once
// orbix-calc of the program folder, run as a process.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <cstdio>

struct Outcome {
    int status = -1;
    QByteArray out, err;
};

inline Outcome Calc(const QStringList& args) {
    QProcess p;
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

inline QString Tpl(const char* name) {
    return QString(ORBIX_PROGRAM_DIR) + "template/" + name + ".tpl";
}
