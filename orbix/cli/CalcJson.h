#pragma once
// The JSON line of one molecule file for orbix-calc --json, written straight
// from modCalculation's arrays and CurrentMolecule into a text, without a
// document in between.
//
// The keys come in the order of their UTF-16 code units; whole numbers up to
// 2^53 are written as integers, other numbers as the shortest text that reads
// back as the same double, in plain or exponent notation, whichever is
// shorter (plain on a tie, exponent with a sign and at least two digits).
// Text that is not valid UTF-8 has each bad sequence replaced by U+FFFD.

#include <QString>
#include <string>

#include "orbix/calc/CalcSession.h"

namespace CalcJson {

// Appends the object of one file and a line end to out. Results are included
// when outcome.code is 0; otherwise the arrays are empty and the numbers 0.
void AppendLine(std::string& out, const QString& file, const CalcSession::Outcome& outcome);

// The number text of a value as described above; NaN and infinities give
// "null". text must hold 32 characters; returns the length.
int NumberText(double value, char* text);

}  // namespace CalcJson
