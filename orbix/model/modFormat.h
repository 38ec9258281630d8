// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Text-to-number conversions and the number formats the pages show.
// Nothing else in the program formats numbers for the user.

#include <cstdint>
#include <string>
#include <string_view>

namespace modFormat {

// Text to a 16-bit integer: blanks around the number are ignored, a fraction
// rounds to the nearest integer with halves to even. Raises the type-mismatch
// error for a text that is not a number and the overflow error for a number
// outside the 16-bit range.
std::int16_t ToInt16(std::string_view text);

// Text to single precision. Raises type mismatch for a text that is not a
// plain decimal number (NaN and infinity spellings included) and overflow for
// a finite number outside single precision.
float ToSingle(std::string_view text);

// Format strings, with what they produce (halves to even; a value that rounds
// to zero is written without a minus sign):
//   "0.00", "0.000", "0.0000"  at least one integer digit, that many decimals
//   "00.0000", "00.000000"      at least two integer digits
//   "0", "##"                   integer; "##" writes 0 as ""
//   "####.####"                 no leading zero, point always, at most four
//                               decimals without trailing zeros (".7071", "2.")
std::string Format(double value, std::string_view format);

// "@@@@@@@@@@@@": the text right-aligned in a field of `width` characters.
std::string RightAlign(std::string_view text, int width = 12);

// An eigen-table cell: "####.####" then right-aligned in 12 characters.
std::string TableCell(double value);

// A 16-bit integer as the platform prints it: a leading blank when it is not
// negative, a minus sign otherwise, and a trailing blank.
std::string PrintInt(int value);

// Shortest decimal text that reads back as the same double (17 significant
// digits at most), for machine-readable output.
std::string Exact(double value);

}  // namespace modFormat
