#include "grading/LabGrader.h"

#include "platform/NumberText.h"
#include "platform/StepFailure.h"

#include <QMetaType>

namespace tav {

namespace {
[[noreturn]] void objectRequired() {
    throw StepFailure(QStringLiteral("Object required"), 424);
}
} // namespace

LabGrader& appPathObjectOf(LabGraderProvider* provider) {
    LabGrader* object = provider ? provider->appPathObject() : nullptr;
    if (!object)
        objectRequired();
    return *object;
}

LabGrader& graderOf(LabGraderProvider* provider, GradingSystem system) {
    LabGrader* object = provider ? provider->grader(system) : nullptr;
    if (!object)
        objectRequired();
    return *object;
}

QString componentValueText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
        return doubleToText(value.toDouble());
    case QMetaType::Float:
        return singleToText(value.toFloat());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QString:
        return value.toString();
    default:
        break;
    }
    if (!value.canConvert<QString>())
        throw StepFailure(QStringLiteral("Type mismatch"), 13);
    return value.toString();
}

} // namespace tav
