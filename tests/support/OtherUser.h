#pragma once
// Permission checks need a user the kernel holds to them; root writes
// read-only files. Under root, a test reruns itself as user nobody through
// setpriv.
//
//   TEST(X, Y) {
//       ORBIX_RUN_AS_OTHER_USER();
//       ... checks, now run by an ordinary user ...
//   }

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <string>

namespace orbix::test {

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
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ORBIX_TEST_OTHER_USER", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", QDir::tempPath());
    env.remove("XDG_RUNTIME_DIR");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(setpriv, {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                      QCoreApplication::applicationFilePath(),
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
    if (p.exitStatus() != QProcess::NormalExit || !out.contains("[ RUN      ]")) {
        skip = "the test binary cannot run as user nobody here: " + out.left(300).toStdString();
        return true;
    }
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
