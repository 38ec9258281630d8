// SPDX-License-Identifier: BSD-3-Clause
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "portico/RunningInstance.h"

TEST(RunningInstance, OnlyTheFirstHoldsTheLock) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("portico.lock"));
    auto first = std::make_unique<RunningInstance>(path);
    EXPECT_TRUE(first->Acquire());
    // QLockFile locks per process too: a second object is a second launcher.
    RunningInstance second(path);
    EXPECT_FALSE(second.Acquire());
    first.reset();
    RunningInstance third(path);
    EXPECT_TRUE(third.Acquire());
}

TEST(RunningInstance, LockOfALauncherThatCrashedIsTakenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("portico.lock"));
    // A process that has ended: start one and wait for it.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 pid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(pid) + "\nPortico\n\n");
    file.close();
    RunningInstance instance(path);
    EXPECT_TRUE(instance.Acquire());
}

TEST(RunningInstance, UnwritableLockFolderDoesNotKeepTheLauncherFromStarting) {
    RunningInstance instance(QStringLiteral("/nonexistent-folder/portico.lock"));
    EXPECT_TRUE(instance.Acquire());
}

// A lock whose holder cannot be read is stale. One that cannot be removed
// or written leaves the decision to the running launcher's socket: the first
// launcher starts, a second one calls it and ends.
TEST(RunningInstance, UnreadableOrUnwritableLocksLeaveTheSocketToDecide) {
    const std::pair<const char*, std::function<bool(const QString&)>> planted[] = {
        {"empty file", [](const QString& p) { return QFile(p).open(QIODevice::WriteOnly); }},
        {"no lock",
         [](const QString& p) {
             QFile f(p);
             return f.open(QIODevice::WriteOnly) && f.write("not a lock\n\x01\x02") > 0;
         }},
        {"folder", [](const QString& p) { return QDir().mkdir(p); }},
    };
    for (const auto& [name, plant] : planted) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("portico.lock"));
        ASSERT_TRUE(plant(path)) << name;
        RunningInstance first(path);
        EXPECT_TRUE(first.Acquire()) << name;
        int calls = 0;
        ASSERT_TRUE(first.Listen([&] { ++calls; })) << name;
        RunningInstance second(path);
        EXPECT_FALSE(second.Acquire()) << name;
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, 5000)) << name;
    }
}

TEST(RunningInstance, LockPathNamesTheDisplay) {
    QTemporaryDir runtime;
    const QByteArray saved[] = {qgetenv("XDG_RUNTIME_DIR"), qgetenv("DISPLAY"),
                                qgetenv("WAYLAND_DISPLAY")};
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", ":1");
    const QString one = RunningInstance::DefaultLockPath();
    qputenv("DISPLAY", ":1.0");
    EXPECT_EQ(RunningInstance::DefaultLockPath(), one) << "a screen of the same display";
    qputenv("DISPLAY", "_3a1");
    EXPECT_NE(RunningInstance::DefaultLockPath(), one);
    qputenv("WAYLAND_DISPLAY", "/run/user/0/" + QByteArray(120, 'w'));
    const QFileInfo wayland(RunningInstance::DefaultLockPath());
    EXPECT_EQ(wayland.absolutePath(), QFileInfo(runtime.path()).absoluteFilePath());
    EXPECT_LT(wayland.fileName().size(), 64);
    const char* names[] = {"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY"};
    for (int i = 0; i < 3; ++i) {
        if (saved[i].isNull())
            qunsetenv(names[i]);
        else
            qputenv(names[i], saved[i]);
    }
}

namespace {

QStringList LockFiles(const QTemporaryDir& runtime) {
    return QDir(runtime.path()).entryList({QStringLiteral("portico*.lock")}, QDir::Files);
}

QProcess* StartLauncher(QProcessEnvironment env, const QString& display, QObject* parent) {
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("DISPLAY"), display);
    auto* p = new QProcess(parent);
    p->setProcessEnvironment(env);
    p->start(QStringLiteral(ORBIX_PROGRAM_DIR) + QStringLiteral("Portico"));
    return p;
}

void Stop(QProcess& p) {
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
}

}  // namespace

// One menu per desktop session: a launcher on a second display of the same
// user opens its own; one on the first display again ends.
TEST(RunningInstance, EachDisplayHasItsOwnLauncher) {
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QObject owner;
    QProcess* first = StartLauncher(env, QStringLiteral(":7"), &owner);
    ASSERT_TRUE(QTest::qWaitFor([&] { return LockFiles(runtime).size() == 1; }, 10000));
    QProcess* other = StartLauncher(env, QStringLiteral(":8"), &owner);
    EXPECT_TRUE(QTest::qWaitFor([&] { return LockFiles(runtime).size() == 2; }, 10000))
        << "the launcher on the second display did not start";
    QProcess* again = StartLauncher(env, QStringLiteral(":7.0"), &owner);
    EXPECT_TRUE(again->waitForFinished(10000));
    EXPECT_EQ(again->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(other->state(), QProcess::Running);
    Stop(*first);
    Stop(*other);
}

// The real program, twice, with its own runtime folder.
TEST(RunningInstance, SecondLauncherEndsSilentlyWhileTheFirstRuns) {
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString program = QStringLiteral(ORBIX_PROGRAM_DIR) + QStringLiteral("Portico");

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program);
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !LockFiles(runtime).isEmpty(); }, 10000));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    if (!first.waitForFinished(5000)) {
        first.kill();
        first.waitForFinished();
    }

    // With the first gone, a launcher starts again.
    QProcess third;
    third.setProcessEnvironment(env);
    third.start(program);
    ASSERT_TRUE(third.waitForStarted());
    EXPECT_FALSE(third.waitForFinished(1500));
    third.kill();
    third.waitForFinished();
}
