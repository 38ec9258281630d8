// SPDX-License-Identifier: BSD-3-Clause
#include "tests/support/TestFolders.h"

#include <cstdlib>

namespace testing_support {
namespace {

std::string Folder(const char* variable, const char* built) {
    const char* given = std::getenv(variable);
    return given && *given ? given : built;
}

}  // namespace

std::string ProgramDir() { return Folder(kProgramDirVariable, ORBIX_PROGRAM_DIR); }

std::string SourceDir() { return Folder(kSourceDirVariable, ORBIX_SOURCE_DIR); }

}  // namespace testing_support
