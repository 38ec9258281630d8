// SPDX-License-Identifier: BSD-3-Clause
// The windows need one application object for the whole run.

#include <gtest/gtest.h>

#include <QApplication>

#include "orbix/platform/Fonts.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    orbix::RegisterFontSubstitutions();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
