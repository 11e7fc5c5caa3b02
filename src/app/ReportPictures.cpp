#include "app/ReportPictures.h"

#include "app/FrmStoneID.h"
#include "app/PictureBox.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>

#include <utility>

#include <sys/resource.h>

namespace tav {

namespace {

// A PNG of the largest picture a helper is asked for is a few megabytes; a helper that
// keeps writing is broken, and the system stops it at this size.
constexpr qsizetype maxPictureBytes = 16 * 1024 * 1024;

quint32 littleEndian32(const QByteArray& bytes, qsizetype offset) {
    quint32 value = 0;
    for (qsizetype i = 0; i < 4; ++i)
        value |= quint32(quint8(bytes[offset + i])) << (8 * i);
    return value;
}

void stop(QProcess& process) {
    process.kill();
    process.waitForFinished(1000);
}

// The helper's PNG, when it is one no larger than the bounds; its size is read from
// its header before any pixel is decoded.
std::optional<QImage> decodePicture(QByteArray& png, QSize bounds) {
    QBuffer buffer(&png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QByteArrayLiteral("png"));
    const QSize size = reader.size();
    if (size.isEmpty() || size.width() > bounds.width() || size.height() > bounds.height())
        return std::nullopt;
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

} // namespace

MetafileConverter::MetafileConverter(QString helperPath, std::chrono::milliseconds timeBudget)
    : helperPath_(std::move(helperPath)), deadline_(timeBudget) {}

QString MetafileConverter::helperBesideProgram() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tavemf2png"));
}

std::optional<QImage> MetafileConverter::draw(const QString& metafilePath, QSize bounds) const {
    return MetafileConversion(*this, metafilePath, bounds).result();
}

MetafileConversion::MetafileConversion(const MetafileConverter& converter,
                                       const QString& metafilePath, QSize bounds)
    : deadline_(converter.deadline()), bounds_(bounds) {
    // A spent budget starts no helper at all.
    if (deadline_.hasExpired() || bounds_.isEmpty() || !scratch_.isValid())
        return;
    process_.setProgram(converter.helperPath());
    process_.setArguments(
        {metafilePath, QString::number(bounds_.width()), QString::number(bounds_.height())});
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setStandardOutputFile(picturePath());
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.setChildProcessModifier([] {
        const rlimit limit{rlim_t(maxPictureBytes), rlim_t(maxPictureBytes)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    process_.start(QIODevice::ReadOnly);
}

MetafileConversion::~MetafileConversion() {
    if (process_.state() != QProcess::NotRunning)
        stop(process_);
}

QString MetafileConversion::picturePath() const {
    return scratch_.filePath(QStringLiteral("picture.png"));
}

std::optional<QImage> MetafileConversion::result() {
    if (process_.program().isEmpty())
        return std::nullopt;
    // A helper that ended in time counts even when the budget is spent by now.
    if (!process_.waitForFinished(int(deadline_.remainingTime()))) {
        stop(process_);
        return std::nullopt;
    }
    if (process_.exitStatus() != QProcess::NormalExit || process_.exitCode() != 0)
        return std::nullopt;
    QFile file(picturePath());
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxPictureBytes)
        return std::nullopt;
    QByteArray png = file.read(maxPictureBytes);
    return decodePicture(png, bounds_);
}

bool isEnhancedMetafile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(44);
    return start.size() == 44 && littleEndian32(start, 0) == 1 &&
           littleEndian32(start, 40) == 0x464D4520;
}

std::optional<QImage> loadPicture(const QString& path, const MetafileConverter& converter,
                                  QSize bounds) {
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    if (isEnhancedMetafile(path))
        return converter.draw(path, bounds);
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

bool showPicture(PictureBox& box, const QString& path, const MetafileConverter& converter) {
    const std::optional<QImage> picture = loadPicture(path, converter);
    if (!picture)
        return false;
    box.setPicture(*picture);
    return true;
}

void showReportViews(FrmStoneID& window, const MetafileConverter& converter) {
    const QString pavilion = window.folder.file(QStringLiteral("POLISH_MODEL_REPORT_PAV_VIEW.emf"));
    // The pavilion's helper converts while the crown's does: each runs in a process of
    // its own, and start-up waits for both.
    std::optional<MetafileConversion> pavilionConversion;
    if (QFileInfo(pavilion).isFile() && isEnhancedMetafile(pavilion))
        pavilionConversion.emplace(converter, pavilion, metafileDrawingBounds);
    showPicture(*window.Image1[0],
                window.folder.file(QStringLiteral("POLISH_MODEL_REPORT_CRN_VIEW.emf")), converter);
    if (!pavilionConversion) {
        showPicture(*window.Image1[1], pavilion, converter);
        return;
    }
    if (const std::optional<QImage> picture = pavilionConversion->result())
        window.Image1[1]->setPicture(*picture);
}

} // namespace tav
