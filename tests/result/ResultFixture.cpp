// SPDX-License-Identifier: BSD-3-Clause
#include "tests/result/ResultFixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>

#include "orbix/model/modOrbix.h"
#include "orbix/platform/WaitSeconds.h"
#include "orbix/result/InputReady.h"
#include "tests/support/TestMolecules.h"

void ResultWindowTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    programFolder_ = modOrbix::ProgramFolder;
    modOrbix::ProgramFolder = dir.path().toStdString() + "/";
    modCommon::testing::MillisecondsPerSecond = 5;
    modResult::InputReady = true;
    testing_support::UseShippedAtoms();
}

void ResultWindowTest::TearDown() {
    delete window.data();
    Settle();
    modCommon::testing::MillisecondsPerSecond = 1000;
    modOrbix::ProgramFolder = programFolder_;
    EXPECT_EQ(design.dialogs.unexpected, 0) << "a dialog was shown that the test did not expect";
}

frmResult& ResultWindowTest::Open(const std::string& atoms, const std::string& bonds) {
    auto out = testing_support::Calculate(atoms, bonds);
    EXPECT_EQ(out.code, 0) << out.message;
    window = frmResult::Open(design);
    std::int16_t progress = 0;
    window->Display(progress);
    EXPECT_EQ(progress, 1);
    Settle();
    return *window;
}

void ResultWindowTest::Settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

std::string LatticeAtoms(int n) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += (i > 1 ? "," : "") + std::to_string(i) + "-1";
    return s;
}

std::string LatticeBonds(int n) {
    if (modOrbix::colAtoms.Count() == 0) testing_support::UseShippedAtoms();
    std::string s;
    for (int a = 1; a <= n; ++a)
        for (int b = a + 1; b <= n; ++b)
            if (modOrbix::SitesLinked(a, b))
                s += (s.empty() ? "" : ",") + std::to_string(a) + "-" + std::to_string(b);
    return s;
}
