#include "app/FrmStoneID.h"

#include "app/BalanceLink.h"
#include "app/CodePageFields.h"
#include "app/ExportSettings.h"
#include "scan/KeyReader.h"

namespace tav {

namespace {

// Everything up to and including the first ":"; a Linux path has no drive part.
QString driveOf(const QString& folderPath) {
    const qsizetype colon = folderPath.indexOf(u':');
    return colon < 0 ? QString() : folderPath.left(colon + 1);
}

} // namespace

FrmStoneID::FrmStoneID(const ProgramFolder& folder, Platform& platform, ProgramWide& program,
                       QWidget* parent)
    : QMainWindow(parent), folder(folder), platform(platform), program(program),
      folderLock(this->folder) {
    program.AppDrive = driveOf(folder.path());
    buildControls();
    // TxtExport_Change and txtOperator_Click save the settings.
    connectSettingsTriggers(*this);
    connectCodePageWarnings(*this);
    MSComm1 = new SerialControl(this);
    connectBalanceLink(*this);
    commands = std::make_unique<Commands>(*this);
}

void FrmStoneID::closeEvent(QCloseEvent* event) {
    Form_Unload(*this);
    QMainWindow::closeEvent(event);
}

void FrmStoneID::appendStatus(const QString& text) {
    msgb1->appendText(QString(QChar(10)) + QChar(13) + text);
}

void FrmStoneID::appendWarning(const QString& text) {
    appendStatus(text);
    program.ExportWarningFlag = -1;
}

QString FrmStoneID::GetString(const QString& section, const QString& key,
                              const QString& filePath) const {
    return ::tav::GetString(section, key, *scanFile(filePath), TranslateGiaGrades);
}

QString FrmStoneID::GetString(const QString& section, const QString& key,
                              const IniFile& file) const {
    return ::tav::GetString(section, key, file, TranslateGiaGrades);
}

std::shared_ptr<const IniFile> FrmStoneID::scanFile(const QString& filePath) const {
    return scanFiles_.read(filePath);
}

std::optional<RoundedValue> FrmStoneID::RoundToDecimals(float value, qint16 places) const {
    return ::tav::RoundToDecimals(value, places, FixedDecimalFormat);
}

std::optional<RoundedValue> FrmStoneID::RoundToDecimals(const QString& numberText,
                                                        qint16 places) const {
    return ::tav::RoundToDecimals(numberText, places, FixedDecimalFormat);
}

} // namespace tav
