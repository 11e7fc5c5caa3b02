#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace tav {

class Database;

// A column as the catalogue lists it; the declared type is "" when it has none.
struct TableColumn {
    QString name;
    QString declaredType;
};

// The table's columns in their stored order, none when there is no such table; nothing
// when the database could not be read.
std::optional<std::vector<TableColumn>> tableColumns(const Database& database,
                                                     const QString& table);

} // namespace tav
