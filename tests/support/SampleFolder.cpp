#include "support/SampleFolder.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <utime.h>

namespace tav::test {

void copySampleFolder(const TempProgramFolder& target) {
    const QString source = QStringLiteral(TAV_SAMPLE_FOLDER);
    ASSERT_TRUE(QFileInfo(source).isDir()) << "build the sample_folder target first";
    QDirIterator it(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(source).relativeFilePath(path);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        if (relative.endsWith(QStringLiteral(".txt")))
            bytes.replace("@FOLDER@", target.path().toLocal8Bit());
        target.write(relative, bytes);
    }
    // The image store is told apart by folder dates: keep them.
    QDirIterator dirs(source, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (dirs.hasNext()) {
        const QString path = dirs.next();
        QDir().mkpath(target.filePath(QDir(source).relativeFilePath(path)));
        const qint64 when = QFileInfo(path).lastModified().toSecsSinceEpoch();
        const utimbuf times{static_cast<time_t>(when), static_cast<time_t>(when)};
        ::utime(QFile::encodeName(target.filePath(QDir(source).relativeFilePath(path))).constData(),
                &times);
    }
}

void setLine(const TempProgramFolder& folder, const QString& name, int lineNumber,
             const QString& text) {
    QStringList lines = splitLines(QString::fromLatin1(folder.read(name)));
    while (lines.size() < lineNumber)
        lines.append(QString());
    lines[lineNumber - 1] = text;
    folder.writeLines(name, lines);
}

void addTemplateRows(const TempProgramFolder& folder, int rows) {
    const QString name = QStringLiteral("template-rows");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(folder.filePath(QStringLiteral("Reports.mdb")));
        ASSERT_TRUE(db.open());
        QSqlQuery insert(db);
        ASSERT_TRUE(insert.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                                               "SELECT i + 1 FROM n WHERE i < %1) INSERT INTO "
                                               "Template_GIA SELECT 'Proportions.TABLE_PC', "
                                               "'Table', 1 FROM n")
                                    .arg(rows)));
    }
    QSqlDatabase::removeDatabase(name);
}

void setScanKey(const TempProgramFolder& folder, const QString& key, const QString& value) {
    QStringList lines = splitLines(QString::fromLatin1(folder.read(QStringLiteral("test.txt"))));
    lines.removeIf(
        [&](const QString& line) { return line.startsWith(key + QStringLiteral(" =")); });
    if (!value.isNull())
        lines.insert(1, key + QStringLiteral(" = ") + value);
    folder.writeLines(QStringLiteral("test.txt"), lines);
}

SampleWindow::SampleWindow(const QStringList& statements, const QString& cuttingType) {
    copySampleFolder(folder);
    if (!statements.isEmpty())
        folder.createDatabase(QStringLiteral("Reports.mdb"), statements);
    if (!cuttingType.isEmpty())
        setScanKey(folder, QStringLiteral("CUTTING_TYPE"), cuttingType);
    window = std::make_unique<FrmStoneID>(folder.folder(), platform, wide);
}

QStringList standardUserDataTable() {
    return {
        QStringLiteral("DROP TABLE UserData"),
        QStringLiteral(
            "CREATE TABLE UserData (ID INTEGER, COLOR TEXT, CLARITY TEXT, FLAURASANSE TEXT, "
            "LOT TEXT, FILENAME TEXT, OPERATOR TEXT, COMPANY TEXT, STONE_ID TEXT, "
            "ExportDataFile TEXT, ExportAsciiFile TEXT, Symbol TEXT, isBookmark TEXT, "
            "DecimalPoint TEXT, LenNumber TEXT, FileFormat TEXT, SystemNumber TEXT, "
            "ShapeName TEXT, RealWeight TEXT, Polish TEXT, DATE TEXT, TIME TEXT, L_D_CALC REAL, "
            "SYMMETRY TEXT, B_N_CALC REAL, SHAPE TEXT, RepID TEXT, Stn1 TEXT, Stn2 TEXT, "
            "Stn3 TEXT, PROCESS TEXT, ZED_TBLMAX REAL)"),
        QStringLiteral(
            "INSERT INTO UserData (ID, COLOR, CLARITY, FLAURASANSE, ShapeName, SYMMETRY) "
            "VALUES (101, 'G', 'VS1', 'None', 'Pear', 'VG')"),
    };
}

} // namespace tav::test
