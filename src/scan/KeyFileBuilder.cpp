#include "scan/KeyFileBuilder.h"

#include "platform/Database.h"
#include "platform/Interaction.h"
#include "platform/ProgramFolder.h"
#include "platform/StepFailure.h"
#include "platform/TextFile.h"
#include "scan/FieldText.h"
#include "scan/KeyReader.h"

#include <QFile>
#include <QHash>

#include <memory>
#include <optional>

namespace tav {
namespace {

const QString kKeyFile = QStringLiteral("test_export.txt");

QString reportsFile(const ProgramFolder& folder) {
    return folder.file(QStringLiteral("Reports.mdb"));
}

// The box for a missing Reports.mdb; false when it was shown.
bool reportsPresent(const ProgramFolder& folder, MessageBoxes& messages) {
    if (folder.hasFile(QStringLiteral("Reports.mdb")))
        return true;
    messages.show(QStringLiteral("Report File does not Exists"),
                  QStringLiteral("REPORTS.MDB ABSENT"), MessageIcon::None);
    return false;
}

} // namespace

void ExportTableToTestExport(const Database& database, TextStream& keyFile, const QString& table) {
    // Only the first record is ever written; no need to fetch the others.
    const auto first = database.firstRecord(table);
    if (!first)
        throw StepFailure(QStringLiteral("Table '%1' cannot be read").arg(table), kTableNotRead);
    if (first->values.isEmpty())
        throw StepFailure(QStringLiteral("No current record"), 3021);
    // A wide table declares a handful of types over and over; each is read once.
    QHash<QString, FieldKind> kinds;
    const QString separator = QStringLiteral(" = ");
    // The table's lines are built in one buffer and go to the file in one write.
    QString lines;
    lines.reserve(first->columns.size() * (table.size() + 40));
    for (int column = 0; column < first->columns.size(); ++column) {
        const QString& type = first->declaredTypes[column];
        auto kind = kinds.constFind(type);
        if (kind == kinds.cend())
            kind = kinds.insert(type, fieldKindOf(type));
        const qsizetype start = lines.size();
        lines += table;
        lines += u'.';
        lines += first->columns[column];
        lines += separator;
        lines += fieldText(first->values[column], *kind);
        // A value holding a line break would split the line and lose its key.
        const QStringView line = QStringView(lines).sliced(start);
        if (line.contains(u'\r') || line.contains(u'\n'))
            lines.replace(start, line.size(), lineBreaksToBlanks(line.toString()));
        lines += QStringLiteral("\r\n");
    }
    if (!keyFile.write(lines))
        throw StepFailure(QStringLiteral("The key file cannot be written"));
}

QStringList ReadTableSlots(const ProgramFolder& folder) {
    if (!folder.hasFile(QStringLiteral("testSetting.txt")))
        return {};
    QStringList items = readListItemsFromFile(folder.file(QStringLiteral("testSetting.txt")))
                            .value_or(QStringList());
    if (items.size() > kTableSlots)
        items.resize(kTableSlots);
    return items;
}

KeyFileProblems WriteKeyFile(const ProgramFolder& folder, const QStringList& tables,
                             const Database* reports) {
    KeyFileProblems problems;
    TextStream keyFile(folder.file(kKeyFile), TextStream::Mode::Create);
    keyFile.writeLine(u'[' + numericalParameters + u']');
    // The tables are read from one state of the file.
    std::optional<Database::ReadSnapshot> snapshot;
    if (reports)
        snapshot.emplace(*reports);
    for (const QString& table : tables) {
        if (table.isEmpty())
            continue;
        try {
            if (!reports)
                throw StepFailure(QStringLiteral("Reports.mdb cannot be opened"), kTableNotRead);
            ExportTableToTestExport(*reports, keyFile, table);
        } catch (const StepFailure& failure) {
            // Skipped all the same. A table without rows simply has no keys, and a write
            // that failed shows when the key file is closed.
            if (failure.number() == kTableNotRead)
                problems.unreadTables.append(table);
        }
    }
    // A key file that could not be created failed at its first line already. The stream
    // took the system's cause when the call failed, before a read of the database could
    // change it.
    if (!keyFile.close()) {
        problems.notWritten = true;
        problems.cause = keyFile.error();
    }
    return problems;
}

KeyFileProblems WriteKeyFile(const ProgramFolder& folder, const QStringList& tables) {
    const std::unique_ptr<Database> own = Database::openExisting(reportsFile(folder));
    return WriteKeyFile(folder, tables, own.get());
}

void deleteKeyFile(const ProgramFolder& folder) {
    if (folder.hasFile(kKeyFile))
        QFile::remove(folder.file(kKeyFile));
}

KeyFileProblems BuildTestExport(const ProgramFolder& folder, MessageBoxes& messages) {
    if (!reportsPresent(folder, messages))
        return {};
    return WriteKeyFile(folder, ReadTableSlots(folder));
}

KeyFileProblems BuildTestExport(const ProgramFolder& folder, MessageBoxes& messages,
                                const Database* reports) {
    if (!reportsPresent(folder, messages))
        return {};
    return WriteKeyFile(folder, ReadTableSlots(folder), reports);
}

} // namespace tav
