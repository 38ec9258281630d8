// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The design window started as the program starts it, on the program folder,
// with the dialogs answered from a script and pauses cut to a millisecond.

#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "orbix/design/StartUp.h"
#include "orbix/design/frmDesign.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/ScriptedDialogs.h"
#include "orbix/platform/WaitSeconds.h"
#include "orbix/result/frmResult.h"
#include "tests/support/TestFolders.h"

class DesignWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        modOrbix::CurrentMolecule.reset();
        modCommon::testing::MillisecondsPerSecond = 1;
        int code = -1;
        form = modDesign::StartUp(QString::fromStdString(testing_support::ProgramDir()), dlg, code);
        ASSERT_TRUE(form) << code << " "
                          << (dlg.messages.empty() ? "" : dlg.messages[0].text.toStdString());
        QApplication::processEvents();
    }
    void TearDown() override {
        modCommon::testing::MillisecondsPerSecond = 1000;
        frmResult::CloseForExit();
        form.reset();
        modOrbix::CurrentMolecule.reset();
    }
    // A left click on a site's marker.
    void Click(int site, Qt::KeyboardModifiers mods = {}) {
        QWidget* w = form->imgAtom(static_cast<std::int16_t>(site));
        ASSERT_TRUE(w);
        QTest::mouseClick(w, Qt::LeftButton, mods, QPoint(5, 5));
    }

    orbix::ScriptedDialogs dlg;
    std::unique_ptr<frmDesign> form;
    QTemporaryDir dir;
};

// Writes a file of these bytes, replacing any.
inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

inline QByteArray Bytes(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
