#pragma once

#include <QString>

namespace tav {

// Values that belong to the run rather than to the main window; one set per program.
struct ProgramWide {
    // The drive part of the program folder ("D:"), "" on a path without one.
    QString AppDrive;
    // -1 once any warning of this run reached the status line; decides the problem log.
    qint16 ExportWarningFlag = 0;
    // Carried from the settings file and written back unchanged.
    double ExportPaSetting12 = 0;
    // Table width as a percentage of the stone width.
    float TablePercent = 0;
    // The weight put in place of an out-of-range balance reading.
    QString SubstitutedWeight;
};

} // namespace tav
