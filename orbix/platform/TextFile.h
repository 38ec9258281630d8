#pragma once
// Writing the program's text files (molecule files, CSV output).

#include <QString>
#include <string>

#include "orbix/platform/FileOutput.h"  // its test hook serves WriteTextFile too

namespace orbix {

// Creates or replaces the file at path with text (UTF-8 in memory, stored in
// CP932) followed by CR LF. The text goes to a temporary file that replaces
// the target only once it is complete, so a failure leaves any earlier file
// intact. An existing file the user may not write is a failure; a replaced
// file keeps its permissions, and a symbolic link is written through to its
// target, as writing in place would. False on any failure, text CP932 cannot
// hold included.
bool WriteTextFile(const QString& path, const std::string& text);

}  // namespace orbix
