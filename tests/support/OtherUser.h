// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Permission checks need a user the kernel holds to them; root writes
// read-only files. Under root, a test reruns itself as user nobody through
// setpriv.
//
//   TEST(X, Y) {
//       ORBIX_RUN_AS_OTHER_USER();
//       ... checks, now run by an ordinary user ...
//   }
//
// The project may lie in a folder nobody cannot enter, so the rerun gets a
// folder of its own that it can read: the test program, the program folder
// and the project's shipped files (testing_support::ProgramDir, SourceDir).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <string>

#include "tests/support/TestFolders.h"

namespace orbix::test {

// Puts the file `from` at `to` for any user to read: a hard link where the
// file is readable by all and on the same file system, else a copy made so.
inline bool ShareFile(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
    struct stat st {};
    if (::stat(source.constData(), &st) != 0) return false;
    if ((st.st_mode & S_IROTH) && ::linkat(AT_FDCWD, source.constData(), AT_FDCWD,
                                           target.constData(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (!QFile::copy(from, to)) return false;
    return ::chmod(target.constData(), (st.st_mode & S_IXUSR) ? 0755 : 0644) == 0;
}

// Puts every file under the folder `from` at the same place under `to`.
inline bool ShareFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        const QString folder = QFileInfo(target).path();
        if (!QDir().mkpath(folder) || !ShareFile(file, target)) return false;
    }
    return true;
}

// True when the caller must return: the test ran as nobody (its outcome is
// recorded in this test) or cannot (skip then holds why). False: the caller
// is an ordinary user and runs the checks itself.
inline bool RerunAsOtherUser(std::string& skip) {
    skip.clear();
    if (::geteuid() != 0) return false;
    if (qEnvironmentVariableIsSet("ORBIX_TEST_OTHER_USER")) {
        ADD_FAILURE() << "still root after setpriv";
        return true;
    }
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty()) {
        skip = "running as root without setpriv, and root ignores file permissions";
        return true;
    }

    QTemporaryDir own(QDir::tempPath() + "/orbix-other-user-XXXXXX");
    const QString root = own.path() + "/";
    const QString program = QCoreApplication::applicationFilePath();
    const QString copy = root + QFileInfo(program).fileName();
    const QString source = QString::fromStdString(testing_support::SourceDir());
    const bool shared =
        own.isValid() && ShareFile(program, copy) &&
        ShareFolder(QString::fromStdString(testing_support::ProgramDir()), root + "program/") &&
        ShareFolder(source + "data/", root + "source/data/") &&
        ShareFolder(source + "template/", root + "source/template/");
    if (!shared) {
        ADD_FAILURE() << "cannot prepare a folder for user nobody in " << root.toStdString();
        return true;
    }
    QDirIterator folders(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    ::chmod(QFile::encodeName(root).constData(), 0755);
    while (folders.hasNext()) ::chmod(QFile::encodeName(folders.next()).constData(), 0755);

    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORBIX_TEST_OTHER_USER", "1");
    env.insert(testing_support::kProgramDirVariable, root + "program/");
    env.insert(testing_support::kSourceDirVariable, root + "source/");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", QDir::tempPath());
    env.remove("XDG_RUNTIME_DIR");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(root);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(setpriv, {"--reuid=nobody", "--regid=nogroup", "--clear-groups", copy,
                      QStringLiteral("--gtest_filter=%1.%2")
                          .arg(QString::fromUtf8(info->test_suite_name()),
                               QString::fromUtf8(info->name()))});
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "the test run as nobody did not end";
        return true;
    }
    const QString out = QString::fromLocal8Bit(p.readAll());
    EXPECT_TRUE(p.exitStatus() == QProcess::NormalExit && out.contains("[ RUN      ]"))
        << "the test program did not run as user nobody:\n"
        << out.left(2000).toStdString();
    EXPECT_FALSE(out.contains("[  SKIPPED ]")) << "run as nobody:\n" << out.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << "run as nobody:\n" << out.toStdString();
    return true;
}

}  // namespace orbix::test

// Reruns the current test as user nobody when run by root, and returns.
#define ORBIX_RUN_AS_OTHER_USER()                              \
    do {                                                       \
        std::string orbixSkip;                                 \
        if (orbix::test::RerunAsOtherUser(orbixSkip)) {        \
            if (!orbixSkip.empty()) GTEST_SKIP() << orbixSkip; \
            return;                                            \
        }                                                      \
    } while (false)
