#include "app/ReportPictures.h"

#include "app/FrmStoneID.h"
#include "app/PictureBox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>

#include <utility>

namespace tav {

namespace {

// A report view's SVG is a few hundred kilobytes; a helper that keeps writing is broken.
constexpr qsizetype maxSvgBytes = 64 * 1024 * 1024;

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

std::optional<QImage> drawSvg(const QByteArray& svg, QSize bounds) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return std::nullopt;
    QSizeF natural = renderer.viewBoxF().size();
    if (natural.isEmpty())
        natural = renderer.defaultSize();
    if (natural.isEmpty() || bounds.isEmpty())
        return std::nullopt;
    const QSize size = natural.scaled(QSizeF(bounds), Qt::KeepAspectRatio).toSize();
    if (size.isEmpty())
        return std::nullopt;
    // Transparent where the metafile draws nothing, as if played onto the box.
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return image;
}

} // namespace

MetafileConverter::MetafileConverter(QString helperPath, std::chrono::milliseconds timeBudget)
    : helperPath_(std::move(helperPath)), deadline_(timeBudget) {}

QString MetafileConverter::defaultHelperPath() {
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tavemf2svg"));
#ifdef TAV_EMF2SVG_PATH
    if (!QFileInfo(beside).isExecutable())
        return QStringLiteral(TAV_EMF2SVG_PATH);
#endif
    return beside;
}

std::optional<QByteArray> MetafileConverter::toSvg(const QString& metafilePath) const {
    return MetafileConversion(*this, metafilePath).result();
}

MetafileConversion::MetafileConversion(const MetafileConverter& converter,
                                       const QString& metafilePath)
    : deadline_(converter.deadline()) {
    // A spent budget starts no helper at all.
    if (deadline_.hasExpired())
        return;
    process_.setProgram(converter.helperPath());
    process_.setArguments({metafilePath});
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(QIODevice::ReadOnly);
}

MetafileConversion::~MetafileConversion() {
    if (process_.state() != QProcess::NotRunning)
        stop(process_);
}

std::optional<QByteArray> MetafileConversion::result() {
    if (process_.program().isEmpty())
        return std::nullopt;
    if (!process_.waitForStarted(int(deadline_.remainingTime()))) {
        stop(process_);
        return std::nullopt;
    }
    QByteArray svg;
    while (process_.state() != QProcess::NotRunning) {
        if (deadline_.hasExpired()) {
            stop(process_);
            return std::nullopt;
        }
        // Without new output (the helper closed it, or ended) wait for the end instead.
        if (!process_.waitForReadyRead(int(deadline_.remainingTime())))
            process_.waitForFinished(int(deadline_.remainingTime()));
        svg += process_.readAllStandardOutput();
        if (svg.size() > maxSvgBytes) {
            stop(process_);
            return std::nullopt;
        }
    }
    svg += process_.readAllStandardOutput();
    if (process_.exitStatus() != QProcess::NormalExit || process_.exitCode() != 0 || svg.isEmpty())
        return std::nullopt;
    return svg;
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
    if (isEnhancedMetafile(path)) {
        const std::optional<QByteArray> svg = converter.toSvg(path);
        if (!svg)
            return std::nullopt;
        return drawSvg(*svg, bounds);
    }
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
        pavilionConversion.emplace(converter, pavilion);
    showPicture(*window.Image1[0],
                window.folder.file(QStringLiteral("POLISH_MODEL_REPORT_CRN_VIEW.emf")), converter);
    if (!pavilionConversion) {
        showPicture(*window.Image1[1], pavilion, converter);
        return;
    }
    if (const std::optional<QByteArray> svg = pavilionConversion->result()) {
        if (const std::optional<QImage> picture = drawSvg(*svg, metafileDrawingBounds))
            window.Image1[1]->setPicture(*picture);
    }
}

} // namespace tav
