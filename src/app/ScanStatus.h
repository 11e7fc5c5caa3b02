#pragma once

#include <QColor>
#include <QString>

#include <optional>

namespace tav {

class FrmStoneID;

// What the two status labels show once the scanner's model status has been read.
struct ScanStatusDisplay {
    // Msg_1, the caption as stored ("&&" for one ampersand).
    QString caption;
    QString toolTip;
    // Nothing: the label keeps its designed colour.
    std::optional<QColor> background;
    std::optional<QColor> foreground;
    // Msg_11; its caption only changes when it is shown.
    bool adviceVisible = false;
    std::optional<QString> adviceCaption;

    bool operator==(const ScanStatusDisplay&) const = default;
};

// The scanner's wording softened: "small errors" reads as built correctly, and the
// scanner's own words go into the tooltip. Works on Msg_1's caption and tooltip;
// status texts are compared exactly but for trailing blanks.
void Change_MSG(QString& caption, QString& toolTip);

// Background of Msg_1 by the status text, compared exactly but for trailing blanks;
// nothing for a text without a colour.
std::optional<QColor> modelStatusColour(const QString& caption);

// White or black, whichever reads better on the background.
QColor readableTextOn(const QColor& background);

// The status display from the scanner's MODEL_BUILDING_ERROR_STATUS and the girdle
// deviations MODEL_BUILDING_GIRDLE_ERR_VALUE_1 of test_export.txt and of test.txt.
ScanStatusDisplay scanStatusDisplay(const QString& status, const QString& keyFileGirdle,
                                    const QString& testFileGirdle);

// Start-up, once Msg_1 holds the scanner's status: colours and explains it on Msg_1
// and Msg_11, reading both girdle deviations through the window's GetString. A
// background that comes without a text colour of its own gets the one that reads on it.
void showScanStatus(FrmStoneID& window);

} // namespace tav
