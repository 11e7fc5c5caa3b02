#pragma once

#include <QString>

namespace tav {

// Joins a folder and a name with the platform's separator, as the program joins
// every path: plainly, without looking at what the folder text ends with.
QString joinPath(const QString& folder, const QString& name);

// The hidden name beside a file that one of the program's own files about it takes: a
// dot, the file's name and the suffix (".bench_rows.txt.append"). Neither the export nor
// a reader of the export folder takes it for one of the export files.
QString hiddenPathBeside(const QString& path, const QString& suffix);

// The folder of the program, where the scanner leaves its files and the settings
// live. File names in it match without regard to case: the program names one file
// in several spellings ("reports.mdb", "Reports.mdb").
class ProgramFolder {
public:
    explicit ProgramFolder(QString path);

    const QString& path() const { return path_; }

    // Full path of the file of that name: the spelling found on disk when a file or
    // folder matches without regard to case, else the name as given (for writers
    // that create it).
    QString file(const QString& name) const;

    // True when a plain file of that name (any case) exists.
    bool hasFile(const QString& name) const;

private:
    QString path_;
};

} // namespace tav
