#pragma once

#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <optional>

namespace tav {

class FrmStoneID;
class PictureBox;

// Draws enhanced metafiles as pictures by running the helper program tavemf2png. The
// conversion library is not safe on every broken file, and a picture of many records can
// take long and much memory to draw, so none of it runs inside this process: a helper
// that fails, crashes or outlasts the time budget only means there is no picture, and
// what it hands back is a picture no larger than the size asked for.
//
// One converter serves the conversions of one start-up and they share its time budget,
// counted from the converter's creation: a hanging helper is killed when the budget is
// spent, and the conversions after it are not started. A real view is drawn in well
// under a tenth of a second.
class MetafileConverter {
public:
    static constexpr std::chrono::milliseconds defaultTimeBudget{2000};

    explicit MetafileConverter(QString helperPath = helperBesideProgram(),
                               std::chrono::milliseconds timeBudget = defaultTimeBudget);

    // The picture drawn as large as fits `bounds`; nothing when the helper did not
    // deliver one within the budget.
    std::optional<QImage> draw(const QString& metafilePath, QSize bounds) const;

    const QString& helperPath() const { return helperPath_; }
    const QDeadlineTimer& deadline() const { return deadline_; }

    // The helper beside the program's executable.
    static QString helperBesideProgram();

private:
    QString helperPath_;
    QDeadlineTimer deadline_;
};

// One conversion, its helper started at once so that it can run while the caller does
// other work; result() waits for it within the converter's shared budget. With the
// budget spent, no helper is started. The helper's output goes into a file of the
// conversion's own, so that it never waits for a reader.
class MetafileConversion {
public:
    MetafileConversion(const MetafileConverter& converter, const QString& metafilePath,
                       QSize bounds);
    ~MetafileConversion();
    MetafileConversion(const MetafileConversion&) = delete;
    MetafileConversion& operator=(const MetafileConversion&) = delete;

    // The picture; nothing when the helper did not deliver one in time, or delivered
    // something else than a picture within the bounds.
    std::optional<QImage> result();

private:
    QString picturePath() const;

    QTemporaryDir scratch_;
    QProcess process_;
    QDeadlineTimer deadline_;
    QSize bounds_;
};

// True when the file begins like an enhanced metafile (a header record with " EMF").
bool isEnhancedMetafile(const QString& path);

// Largest size at which a metafile is drawn; the picture box scales it further.
inline constexpr QSize metafileDrawingBounds{800, 800};

// A picture file as an image, recognised by its content: enhanced metafiles through
// the converter, drawn as large as fits `bounds`, other formats through Qt's image
// readers. Nothing when the file is missing or cannot be read.
std::optional<QImage> loadPicture(const QString& path, const MetafileConverter& converter,
                                  QSize bounds = metafileDrawingBounds);

// Shows the picture in the box; one that cannot be loaded leaves the box as it was.
bool showPicture(PictureBox& box, const QString& path, const MetafileConverter& converter);

// Start-up: the scanner's crown and pavilion report views of the program folder into
// Image1[0] and Image1[1].
void showReportViews(FrmStoneID& window, const MetafileConverter& converter = MetafileConverter());

} // namespace tav
