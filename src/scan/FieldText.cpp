#include "scan/FieldText.h"

#include "platform/AnsiText.h"
#include "platform/DateText.h"
#include "platform/NumberText.h"

#include <QDateTime>
#include <QMetaType>
#include <QRegularExpression>

namespace tav {
namespace {

bool isStoredNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool isStoredReal(const QVariant& value) {
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

// The value as the database stores it, without any kind applied.
QString storedText(const QVariant& value) {
    if (isStoredReal(value))
        return doubleToText(value.toDouble());
    if (isStoredNumber(value))
        return QString::number(value.toLongLong());
    if (value.typeId() == QMetaType::QByteArray)
        return fromAnsi(value.toByteArray());
    return value.toString();
}

// The value as a number: a stored number, or a text that is a number as a whole.
std::optional<double> numberOf(const QVariant& value) {
    if (isStoredReal(value) || isStoredNumber(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::QString)
        return wholeNumber(value.toString());
    return std::nullopt;
}

QString booleanText(const QVariant& value) {
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("True");
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("False");
    }
    const auto number = numberOf(value);
    if (!number)
        return storedText(value);
    return *number != 0 ? QStringLiteral("True") : QStringLiteral("False");
}

QString dateText(const QVariant& value) {
    if (value.typeId() != QMetaType::QString)
        return storedText(value);
    QString text = value.toString().trimmed();
    if (text.size() == 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid())
            return shortDateText(date);
    }
    if (text.size() > 10 && text[10] == u' ')
        text[10] = u'T';
    const QDateTime dateTime = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (dateTime.isValid())
        return generalDateTimeText(QDateTime(dateTime.date(), dateTime.time()));
    const QTime time = QTime::fromString(text, Qt::ISODateWithMs);
    if (time.isValid())
        return timeText(time);
    return value.toString();
}

QString integerText(const QVariant& value) {
    if (isStoredNumber(value))
        return QString::number(value.toLongLong());
    return storedText(value);
}

QString realText(const QVariant& value) {
    if (isStoredNumber(value) || isStoredReal(value))
        return doubleToText(value.toDouble());
    return storedText(value);
}

QString singleText(const QVariant& value) {
    if (isStoredNumber(value) || isStoredReal(value)) {
        // A number beyond the single range does not fit the kind.
        if (const std::optional<float> single = toSingle(value.toDouble()))
            return singleToText(*single);
    }
    return storedText(value);
}

} // namespace

FieldKind fieldKindOf(const QString& declaredType) {
    const QString type = declaredType.trimmed().toUpper();
    if (type.isEmpty())
        return FieldKind::Untyped;
    static const QRegularExpression nonWord(QStringLiteral("[^A-Z0-9_]+"));
    const QStringList words = type.split(nonWord, Qt::SkipEmptyParts);
    const auto hasWord = [&words](const char* word) { return words.contains(QLatin1String(word)); };
    const auto holds = [&type](const char* part) { return type.contains(QLatin1String(part)); };

    if (holds("BOOL") || holds("YESNO") || holds("LOGICAL") || hasWord("BIT"))
        return FieldKind::Boolean;
    if (holds("DATE") || holds("TIME"))
        return FieldKind::Date;
    if (holds("SINGLE") || hasWord("FLOAT4") || hasWord("REAL4"))
        return FieldKind::Single;
    if (holds("INT") || hasWord("LONG") || hasWord("COUNTER") || hasWord("AUTOINCREMENT") ||
        hasWord("BYTE"))
        return FieldKind::Integer;
    if (holds("REAL") || holds("DOUB") || holds("FLOA") || holds("NUMERIC") || holds("DECIMAL") ||
        holds("CURRENCY") || holds("MONEY"))
        return FieldKind::Real;
    return FieldKind::Text;
}

QString fieldText(const QVariant& value, FieldKind kind) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (kind) {
    case FieldKind::Boolean:
        return booleanText(value);
    case FieldKind::Date:
        return dateText(value);
    case FieldKind::Single:
        return singleText(value);
    case FieldKind::Real:
        return realText(value);
    case FieldKind::Integer:
        return integerText(value);
    case FieldKind::Text:
    case FieldKind::Untyped:
        break;
    }
    return storedText(value);
}

QString lineBreaksToBlanks(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

} // namespace tav
