#pragma once

#include <QString>

#include <optional>
#include <stdexcept>
#include <utility>

namespace tav {

// A statement that could not be carried out. Long procedures (start-up, the export,
// the key-file builder) skip such a statement and go on with the next one, leaving
// the statement's target as it was; a few handlers report it instead.
class StepFailure : public std::runtime_error {
public:
    explicit StepFailure(const QString& description, int number = 0)
        : std::runtime_error(description.toStdString()), description_(description),
          number_(number) {}

    const QString& description() const { return description_; }
    int number() const { return number_; }

private:
    QString description_;
    int number_;
};

// The value of an operation that may have failed, or a StepFailure.
template <class T> T require(std::optional<T> value, const char* what = "Type mismatch") {
    if (!value)
        throw StepFailure(QString::fromLatin1(what), 13);
    return std::move(*value);
}

inline void require(bool condition, const char* what) {
    if (!condition)
        throw StepFailure(QString::fromLatin1(what));
}

// Runs one statement of a skip-and-go-on procedure. A StepFailure skips the rest of
// that statement only; the result says whether it ran through. Anything else (a bug,
// the end of the program) is not swallowed here.
template <class Statement> bool step(Statement&& statement) {
    try {
        std::forward<Statement>(statement)();
        return true;
    } catch (const StepFailure&) {
        return false;
    }
}

} // namespace tav
