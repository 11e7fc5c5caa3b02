// Paints the hearts and arrows pictures of the sample image store: one folder per
// stone, a dated folder per scan day and a timed folder per scan, the newest scan
// dated last.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <sys/stat.h>
#include <utime.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr double kPi = 3.14159265358979323846;

QImage pattern(bool hearts, QColor tint) {
    QImage image(480, 480, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(240, 240);
    painter.setPen(QPen(tint.lighter(140), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0, 0), 220, 220);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    for (int i = 0; i < 8; ++i) {
        painter.save();
        painter.rotate(i * 45.0 + 22.5);
        QPainterPath shape;
        if (hearts) {
            // A heart pointing to the centre.
            shape.moveTo(0, -70);
            shape.cubicTo(-40, -110, -70, -160, -35, -185);
            shape.cubicTo(-15, -198, 0, -185, 0, -170);
            shape.cubicTo(0, -185, 15, -198, 35, -185);
            shape.cubicTo(70, -160, 40, -110, 0, -70);
        } else {
            // An arrow shaft with its head on the rim.
            shape.moveTo(-6, -40);
            shape.lineTo(6, -40);
            shape.lineTo(6, -160);
            shape.lineTo(22, -160);
            shape.lineTo(0, -205);
            shape.lineTo(-22, -160);
            shape.lineTo(-6, -160);
            shape.closeSubpath();
        }
        painter.drawPath(shape);
        painter.restore();
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(tint.darker(120), 1));
    for (int i = 0; i < 16; ++i) {
        const double angle = i * kPi / 8;
        painter.drawLine(QPointF(0, 0), QPointF(220 * std::cos(angle), 220 * std::sin(angle)));
    }
    return image;
}

bool writeScan(const QString& folder, QColor tint, time_t when) {
    if (!QDir().mkpath(folder))
        return false;
    if (!pattern(true, tint).save(folder + "/0-5.jpg", "JPG", 90) ||
        !pattern(false, tint).save(folder + "/0-4.jpg", "JPG", 90))
        return false;
    utimbuf times{when, when};
    return ::utime(QFile::encodeName(folder).constData(), &times) == 0;
}

bool setTime(const QString& path, time_t when) {
    utimbuf times{when, when};
    return ::utime(QFile::encodeName(path).constData(), &times) == 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_sample_images SAMPLE_FOLDER STONE_ID\n");
        return 2;
    }
    const QString stone =
        QString::fromLocal8Bit(argv[1]) + "/ImageStore/" + QString::fromLocal8Bit(argv[2]);
    const time_t day1 = 1796716800; // 2026-12-08
    const time_t day2 = day1 + 86400;
    const bool ok = writeScan(stone + "/2026-12-08/10-00", QColor(150, 150, 160), day1 + 36000) &&
                    setTime(stone + "/2026-12-08", day1 + 36000) &&
                    writeScan(stone + "/2026-12-09/10-15", QColor(180, 60, 60), day2 + 36900) &&
                    writeScan(stone + "/2026-12-09/11-30", QColor(220, 40, 60), day2 + 41400) &&
                    setTime(stone + "/2026-12-09", day2 + 41400);
    return ok ? 0 : 1;
}
