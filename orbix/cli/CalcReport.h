#pragma once
// What orbix-calc prints for one molecule file: a readable report in the
// pages' number formats, or one JSON object.

#include <QJsonObject>
#include <QString>

#include "orbix/calc/CalcSession.h"

namespace CalcReport {

// The results of the calculation just run (modCalculation's arrays and
// CurrentMolecule) as a readable text.
QString Text(const QString& file, double maxOff);

// The JSON object of one file; results are included when outcome.code is 0,
// otherwise the arrays are empty.
QJsonObject Json(const QString& file, const CalcSession::Outcome& outcome);

}  // namespace CalcReport
