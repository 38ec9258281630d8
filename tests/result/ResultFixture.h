// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// A design window stand-in and a result window on a molecule built in code.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <string>

#include "orbix/platform/ScriptedDialogs.h"
#include "orbix/result/DesignHost.h"
#include "orbix/result/frmResult.h"
#include "tests/support/TestMolecules.h"

class FakeDesign : public DesignHost {
  public:
    // The design window on a 1024 × 768 screen: the screen less 600 twips,
    // centred, in a frame 1 pixel wide with a title bar of 20.
    modResult::WindowPlace place{QRect(19, 9, 986, 750), QRect(20, 29, 984, 728),
                                 QRect(20, 29, 984, 728), Qt::WindowNoState,
                                 QRect(0, 0, 1024, 768)};
    int shown = 0, saves = 0, saveAs = 0, exits = 0;
    orbix::ScriptedDialogs dialogs;

    modResult::WindowPlace DesignWindowPlace() const override { return place; }
    void ShowDesign() override { ++shown; }
    void mnuFileSave_Click() override { ++saves; }
    void mnuFileSaveAs_Click() override { ++saveAs; }
    void mnuFileExit_Click() override { ++exits; }
    orbix::Dialogs& CommonDialog() override { return dialogs; }
};

class ResultWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Fills CurrentMolecule and opens a result window that has run Display.
    frmResult& Open(const std::string& atoms, const std::string& bonds);
    // Lets posted events run (repaints, deferred deletes).
    static void Settle();

    FakeDesign design;
    QPointer<frmResult> window;
    // The test's own folder, which is also the program folder (where the
    // file dialogs start).
    QTemporaryDir dir;

  private:
    std::string programFolder_;
};

// A file's bytes; empty when it cannot be read.
QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

// "1-1,2-1,...", and every lattice link between the first n sites.
std::string LatticeAtoms(int n);
std::string LatticeBonds(int n);

using testing_support::kBenzeneAtoms;
using testing_support::kBenzeneBonds;
