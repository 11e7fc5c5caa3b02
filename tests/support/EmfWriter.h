#pragma once

#include <QColor>
#include <QString>

// Small enhanced metafiles written record by record, standing in for the scanner's
// report views in tests and in the sample program folder.
namespace tav::test {

enum class SampleFigure { Rectangle, Ellipse };

// A white page of 400 x 300 units with one figure filled with `fill` that covers the
// middle of the page. False when the file could not be written.
bool writeSampleEmf(const QString& path, QColor fill,
                    SampleFigure figure = SampleFigure::Rectangle);

enum class StoneView { Crown, Pavilion };

// A report view as the scanner draws one: the stone's outline seen from above
// (crown) or below (pavilion) with its facet edges. False when it could not be written.
bool writeStoneViewEmf(const QString& path, StoneView view);

// The crown view with one of its records drawn `repeats` times in a row: the first facet
// edge (a polyline record of 44 bytes) or the girdle outline (a polygon record of 156
// bytes). A view far heavier to draw than any scanner's, on the same small page.
enum class RepeatedRecord { FacetEdge, Girdle };
bool writeHeavyCrownViewEmf(const QString& path, RepeatedRecord record, int repeats);

} // namespace tav::test
