// SPDX-License-Identifier: BSD-3-Clause
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

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orbix/calc/CalcSession.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/Array1.h"

namespace CalcJson {

// What the line of one file holds, copied out of the calculation's arrays and
// CurrentMolecule: a line can be written from it while the next file is
// calculated. Results are present when outcome.code is 0; otherwise the
// arrays are empty and the numbers 0.
struct Result {
    std::string file;  // UTF-8
    CalcSession::Outcome outcome;
    std::vector<modCalculation::PointF> atomPos;
    orbix::Mat1<double> cvec, hmat0, p;
    orbix::Vec1<double> eigVal, levelE;
    std::vector<float> levelDeg;
    std::vector<std::int16_t> occ;
    int eNum = 0, homoNum = 0;
    double energy = 0;
};

// The result of the calculation just made (or refused) for file.
Result TakeResult(std::string_view file, const CalcSession::Outcome& outcome);

// Appends the object of one file and a line end to out; reads nothing but r.
void AppendLine(std::string& out, const Result& r);

// The same for the calculation just made.
void AppendLine(std::string& out, std::string_view file, const CalcSession::Outcome& outcome);

// The number text of a value as described above; NaN and infinities give
// "null". text must hold 32 characters; returns the length.
int NumberText(double value, char* text);

// s with each byte that does not begin a well-formed UTF-8 sequence, and
// each stray byte after it, replaced by U+FFFD.
std::string ValidUtf8(std::string_view s);

}  // namespace CalcJson
