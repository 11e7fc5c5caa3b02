#include "export/TableColumns.h"

#include "platform/Database.h"

namespace tav {

std::optional<std::vector<TableColumn>> tableColumns(const Database& database,
                                                     const QString& table) {
    const auto info = database.select(
        QStringLiteral("PRAGMA table_info(%1)").arg(Database::quoteIdentifier(table)));
    if (!info)
        return std::nullopt;
    std::vector<TableColumn> columns;
    for (const QVariantList& row : info->rows)
        columns.push_back({row.value(1).toString(), row.value(2).toString()});
    return columns;
}

} // namespace tav
