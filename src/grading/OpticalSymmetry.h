#pragma once

#include <QString>

#include <span>

namespace tav {

class FrmStoneID;

// The largest azimuth deviation of each facet group (crown, pavilion, halves, upper,
// star) and the girdle-type deviation, written as six key=value lines: the five group
// lines to the per-stone file, their five second copies, then the girdle line.
void OpticalSym(FrmStoneID& window);

// Largest of the first n values, zeros left out; element 0 when none is larger.
// n beyond the list counts only the values there are; an empty list gives 0.
double MAX(std::span<const double> values, qint16 n);
// Smallest non-zero value of elements start to end - 1, starting from element start
// (so a zero there gives 0). Indexes outside the list are not read.
double MIN(std::span<const double> values, qint16 end, qint16 start);
// Average of the non-zero values of elements start to end - 1; 0 when there are none.
double AVG(std::span<const double> values, qint16 end, qint16 start);

// Writes a grading line: first to the per-stone file, then its second copy.
void writeGradingLine(FrmStoneID& window, const QString& line);

} // namespace tav
