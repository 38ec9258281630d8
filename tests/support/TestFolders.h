// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Where the tests find the program folder of the build and the project's
// shipped files. A test rerun as another user (OtherUser.h) is handed copies
// of them in a folder that user can read, wherever the project lies.

#include <string>

namespace testing_support {

// The program folder (Orbix, the tile plugin, data/, template/), with "/".
std::string ProgramDir();

// The project's folder (data/atom.dat, template/), with "/".
std::string SourceDir();

// What the two folders are called in the environment of a rerun.
inline constexpr const char* kProgramDirVariable = "ORBIX_TEST_PROGRAM_DIR";
inline constexpr const char* kSourceDirVariable = "ORBIX_TEST_SOURCE_DIR";

}  // namespace testing_support
