// SPDX-License-Identifier: BSD-3-Clause
#include <gtest/gtest.h>

#include "XSession.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Before the static objects go: the X server must outlive the
    // application's connection to it.
    desktop::XSession::Shutdown();
    return result;
}
