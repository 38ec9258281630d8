// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Writing the program's text files (molecule files, CSV output).

#include <QString>
#include <string>
#include <string_view>

#include "orbix/platform/FileOutput.h"  // its test hook serves WriteTextFile too

namespace orbix {

// The character sets the program writes text files in.
enum class TextEncoding { kCp932, kUtf8 };

// The character set of the user's locale, for files the desktop's own
// programs open (the CSV output): CP932 when the locale's character set is a
// Shift-JIS one, else UTF-8 (the C locale and one not installed included).
TextEncoding DesktopEncoding();
// The locale's character set as the C library names it ("UTF-8",
// "SHIFT_JIS", "ANSI_X3.4-1968"); "" when the locale is not installed.
std::string LocaleCodeset();
// True for the names of Shift-JIS and its extensions (SHIFT_JIS, SJIS, CP932,
// WINDOWS-31J, ...), in any case, with or without "-" and "_".
bool IsShiftJisCodeset(std::string_view codeset);

// Creates or replaces the file at path with text (UTF-8 in memory, stored in
// the given encoding) followed by CR LF. The text goes to a temporary file
// that replaces the target only once it is complete, so a failure leaves any
// earlier file intact. An existing file the user may not write is a failure;
// a replaced file keeps its permissions, and a symbolic link is written
// through to its target, as writing in place would. False on any failure,
// text the encoding cannot hold included.
bool WriteTextFile(const QString& path, const std::string& text,
                   TextEncoding encoding = TextEncoding::kCp932);

namespace testing {
// Test hook: when not empty, stands for the locale's character set.
extern std::string LocaleCodeset;
}  // namespace testing

}  // namespace orbix
