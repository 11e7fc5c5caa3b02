#include "app/FrmStoneID.h"
#include "app/ProgramWide.h"
#include "app/StartUp.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolder.h"
#include "platform/ProgramVersion.h"
#include "platform/QtInteraction.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tav::useCNumberLocale();
    QApplication::setApplicationName(QStringLiteral("tavexport"));
    QApplication::setApplicationVersion(tav::programVersionText());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Export utility of the diamond-scanning bench"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption folderOption(
        QStringLiteral("program-folder"),
        QStringLiteral("Folder with the scan, the settings and Reports.mdb "
                       "(default: the folder of the executable)."),
        QStringLiteral("DIR"));
    parser.addOption(folderOption);
    parser.process(app);

    const QString folderPath = parser.isSet(folderOption)
                                   ? QDir(parser.value(folderOption)).absolutePath()
                                   : QCoreApplication::applicationDirPath();

    tav::QtPlatform platform;
    tav::Platform services = platform.platform();
    tav::ProgramWide program;
    tav::FrmStoneID window(tav::ProgramFolder(folderPath), services, program);
    if (tav::Form_Load(window) == tav::StartUpOutcome::ProgramEnded ||
        platform.programEnd.hasEnded())
        return 0;
    window.show();
    return platform.programEnd.hasEnded() ? 0 : app.exec();
}
