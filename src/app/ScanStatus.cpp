#include "app/ScanStatus.h"

#include "app/FrmStoneID.h"
#include "scan/KeyReader.h"

#include <array>
#include <cmath>
#include <utility>

namespace tav {

namespace {

const QString builtCorrectly = QStringLiteral("The model is built correctly");
const QString negligibleErrors = QStringLiteral("The model has negligible errors");
const QString builtBadly = QStringLiteral("The model is built badly");
const QString notBuilt = QStringLiteral("The model is not built ");

const QString girdleKey = QStringLiteral("MODEL_BUILDING_GIRDLE_ERR_VALUE_1");

// The INI reader drops the blanks that end an unquoted value, as the Windows one does,
// so status texts are compared without them: a quoted and an unquoted line of the
// scanner read the same.
QStringView withoutTrailingBlanks(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return QStringView(text).left(end);
}

bool isStatus(const QString& caption, const QString& status) {
    return withoutTrailingBlanks(caption) == withoutTrailingBlanks(status);
}

// Relative luminance of a colour as the eye weighs it.
double luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

} // namespace

QColor readableTextOn(const QColor& background) {
    // Contrast ratios of white and of black text on the background.
    const double lit = luminance(background);
    const double onWhite = 1.05 / (lit + 0.05);
    const double onBlack = (lit + 0.05) / 0.05;
    return onWhite > onBlack ? QColor(255, 255, 255) : QColor(0, 0, 0);
}

void Change_MSG(QString& caption, QString& toolTip) {
    // Each rewrite is tried once, in this order, on the caption as it then stands.
    const std::array<std::pair<QString, QString>, 3> rewrites{{
        {QStringLiteral("The model has small errors"), builtCorrectly},
        {QStringLiteral("The model has medium errors"), negligibleErrors},
        {QStringLiteral("The model has big errors"), builtBadly},
    }};
    for (const auto& [scannerText, shownText] : rewrites) {
        if (isStatus(caption, scannerText))
            caption = shownText;
    }
    if (isStatus(caption, builtCorrectly))
        toolTip = QStringLiteral("The model has small errors -- ");
    else if (isStatus(caption, negligibleErrors))
        toolTip = QStringLiteral("The model has medium errors -- ");
    else if (isStatus(caption, builtBadly))
        toolTip = QStringLiteral("The model has big errors -- ");
}

std::optional<QColor> modelStatusColour(const QString& caption) {
    if (isStatus(caption, builtCorrectly))
        return QColor(0, 0, 255);
    if (isStatus(caption, negligibleErrors))
        return QColor(0, 255, 0);
    if (isStatus(caption, QStringLiteral("The model has noncritical errors")))
        return QColor(0, 180, 0);
    if (isStatus(caption, notBuilt))
        return QColor(200, 0, 0);
    return std::nullopt;
}

ScanStatusDisplay scanStatusDisplay(const QString& status, const QString& keyFileGirdle,
                                    const QString& testFileGirdle) {
    ScanStatusDisplay shown;
    shown.caption = status;
    shown.toolTip = status;

    if (!keyFileGirdle.isEmpty()) {
        shown.caption += QStringLiteral(" - ") + QStringLiteral("Girdle Deviation : ") +
                         keyFileGirdle + QStringLiteral(" mkm");
        shown.toolTip = QStringLiteral("Try to remove Girdle Deviation Warnings......") +
                        QChar(10) + QChar(13) +
                        QStringLiteral("Close This Windows.......Clean the stone ... ") +
                        QChar(10) + QChar(13) +
                        QStringLiteral("TRY TO RESCAN - If not Succesful Save the MMD ");
        shown.background = QColor(108, 108, 108);
    }

    Change_MSG(shown.caption, shown.toolTip);

    shown.adviceVisible = false;
    if (const std::optional<QColor> colour = modelStatusColour(shown.caption))
        shown.background = colour;

    if (isStatus(shown.caption, builtBadly)) {
        shown.adviceVisible = true;
        shown.toolTip += QStringLiteral("If required ,Clean the stone & Rescan.....");
        shown.adviceCaption = shown.toolTip;
        shown.background = QColor(255, 255, 255);
        shown.foreground = QColor(255, 0, 0);
        shown.caption = QStringLiteral("Check && confirm the Wireframe ");
    }

    if (!testFileGirdle.isEmpty()) {
        shown.caption += QStringLiteral(" - ") + QStringLiteral("Grd-Dev: ") + testFileGirdle +
                         QStringLiteral(" mkm") +
                         QStringLiteral("Check the Dust on Girdle ..If required ,Clean the "
                                        "stone & Rescan.....");
        shown.foreground = QColor(255, 255, 255);
        if (shown.background != QColor(255, 0, 0))
            shown.background = QColor(100, 255, 100);
        shown.toolTip =
            QStringLiteral("Check the Dust on Girdle ...If required Clean the stone & ReScan.");
        shown.adviceVisible = true;
        shown.adviceCaption = shown.toolTip;
    }
    return shown;
}

void showScanStatus(FrmStoneID& window) {
    const QString keyFileGirdle =
        window.GetString(numericalParameters, girdleKey, window.keyFile());
    const QString testFileGirdle =
        window.GetString(numericalParameters, girdleKey, window.testFile());
    const ScanStatusDisplay shown =
        scanStatusDisplay(window.Msg_1->caption(), keyFileGirdle, testFileGirdle);

    window.Msg_1->setCaption(shown.caption);
    window.Msg_1->setToolTip(shown.toolTip);
    window.Msg_1->setBackground(shown.background.value_or(CaptionLabel::designedBackground()));
    if (shown.foreground)
        window.Msg_1->setForeground(*shown.foreground);
    else if (shown.background)
        window.Msg_1->setForeground(readableTextOn(*shown.background));
    if (shown.adviceCaption)
        window.Msg_11->setCaption(*shown.adviceCaption);
    window.Msg_11->setVisible(shown.adviceVisible);
}

} // namespace tav
