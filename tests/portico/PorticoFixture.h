// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "portico/frmDocument.h"
#include "portico/frmMainMenu.h"

// A launcher in a folder of its own: the course documents copied from the
// program folder, message boxes recorded instead of shown.
class PorticoTest : public ::testing::Test {
  protected:
    struct Message {
        QString title, text;
    };

    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        frmMainMenu::ShowMessage = [this](QWidget*, const QString& title, const QString& text) {
            messages_.push_back({title, text});
        };
    }

    void TearDown() override {
        frmMainMenu::ShowMessage = nullptr;
        frmMainMenu::OpeningProbe = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmDocument*>(w)) w->close();
        Flush();
    }

    QString Folder() const { return folder_.path() + QLatin1Char('/'); }

    void CopyDocument(int n) {
        const QString name = QStringLiteral("document%1.rtf").arg(n);
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORBIX_PROGRAM_DIR) + name, Folder() + name))
            << name.toStdString();
    }
    void CopyDocuments() {
        for (int n = 1; n <= 3; ++n) CopyDocument(n);
    }

    // Runs the deletions that closed windows have asked for.
    static void Flush() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static std::vector<frmDocument*> Viewers() {
        std::vector<frmDocument*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* v = qobject_cast<frmDocument*>(w); v && v->isVisible()) found.push_back(v);
        return found;
    }

    QTemporaryDir folder_;
    std::vector<Message> messages_;
};
