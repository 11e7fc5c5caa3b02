#include "app/WindowPosition.h"

#include "app/FrmStoneID.h"
#include "platform/NumberText.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <limits>

namespace tav {
namespace {

const QString kFileName = QStringLiteral("winpos_TAV.txt");

// " 1500 ", "-300 ": the sign's place holds "-" or a blank.
QString twipsLine(float twips) {
    const QString digits = singleToText(twips);
    return digits.startsWith(u'-') ? digits + u' ' : u' ' + digits + u' ';
}

// One item of the file as a single-precision number; nothing when it is none.
std::optional<float> singleItem(const QString& item) {
    const auto value = wholeNumber(item);
    return value ? toSingle(*value) : std::nullopt;
}

std::optional<int> pixelsOf(float twips) {
    const double pixels = std::round(static_cast<double>(twips) / kTwipsPerPixel);
    if (std::fabs(pixels) > std::numeric_limits<int>::max() / 2)
        return std::nullopt;
    return static_cast<int>(pixels);
}

// Sets property n (0 Left, 1 Top, 2 Width, 3 Height); false when it cannot take the value.
bool setProperty(QWidget& window, int n, float twips) {
    const auto pixels = pixelsOf(twips);
    if (!pixels)
        return false;
    switch (n) {
    case 0:
        window.move(*pixels, window.y());
        return true;
    case 1:
        window.move(window.x(), *pixels);
        return true;
    case 2:
        if (*pixels < 0)
            return false;
        window.resize(*pixels, window.height());
        return true;
    case 3:
        if (*pixels < 0)
            return false;
        window.resize(window.width(), *pixels);
        return true;
    default:
        return false;
    }
}

qint64 distanceSquared(const QRect& a, const QRect& b) {
    const auto gap = [](int lowA, int highA, int lowB, int highB) -> qint64 {
        if (highA < lowB)
            return qint64(lowB) - highA;
        if (highB < lowA)
            return qint64(lowA) - highB;
        return 0;
    };
    const qint64 dx = gap(a.left(), a.right(), b.left(), b.right());
    const qint64 dy = gap(a.top(), a.bottom(), b.top(), b.bottom());
    return dx * dx + dy * dy;
}

// Until a window is first shown it knows nothing of the frame that the desktop draws
// around it; room for a usual one, borders and a title bar, is kept then.
constexpr QSize kUsualFrame(2 * 8, 32 + 8);

QSize decorationOf(const QWidget& window) {
    const QSize known = window.frameGeometry().size() - window.size();
    if (known != QSize(0, 0) || window.windowFlags().testFlag(Qt::FramelessWindowHint))
        return known;
    return kUsualFrame;
}

void keepOnScreen(QWidget& window) {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    const QSize decoration = decorationOf(window);
    const QSize frameSize = window.size() + decoration;
    const QRect kept = keptOnScreen(QRect(window.pos(), frameSize), areas);
    if (kept.size() != frameSize)
        window.resize(kept.size() - decoration);
    if (kept.topLeft() != window.pos())
        window.move(kept.topLeft());
}

} // namespace

QRect keptOnScreen(const QRect& frame, const QList<QRect>& screenAreas) {
    if (screenAreas.isEmpty())
        return frame;
    // The area the window shows most on, or, off every one, the nearest.
    const QRect* home = nullptr;
    qint64 shownOnHome = 0;
    for (const QRect& area : screenAreas) {
        const QRect seen = frame.intersected(area);
        const qint64 shown = seen.isEmpty() ? 0 : qint64(seen.width()) * seen.height();
        if (shown > shownOnHome) {
            home = &area;
            shownOnHome = shown;
        }
    }
    if (!home) {
        home = &screenAreas.first();
        for (const QRect& area : screenAreas) {
            if (distanceSquared(frame, area) < distanceSquared(frame, *home))
                home = &area;
        }
    }
    if (home->contains(frame))
        return frame;
    // No larger than the area, and moved no further than it takes to lie wholly inside.
    const QSize size = frame.size().boundedTo(home->size());
    const int x = std::max(home->left(), std::min(frame.left(), home->right() - size.width() + 1));
    const int y = std::max(home->top(), std::min(frame.top(), home->bottom() - size.height() + 1));
    return QRect(QPoint(x, y), size);
}

void setwindowsize(QWidget& window, const ProgramFolder& folder) {
    if (!folder.hasFile(kFileName))
        return;
    const auto items = readListItemsFromFile(folder.file(kFileName));
    if (!items)
        return;
    bool changed = false;
    for (int n = 0; n < 4 && n < items->size(); ++n) {
        const auto twips = singleItem(items->at(n));
        if (!twips || !setProperty(window, n, *twips))
            break;
        changed = true;
    }
    if (changed)
        keepOnScreen(window);
}

void setwindowsize(FrmStoneID& window) {
    setwindowsize(window, window.folder);
}

bool Writewindowsize(const QWidget& window, const ProgramFolder& folder) {
    const float factor = kTwipsPerPixel;
    const QStringList lines = {
        twipsLine(window.x() * factor),
        twipsLine(window.y() * factor),
        twipsLine(window.width() * factor),
        twipsLine(window.height() * factor),
    };
    return replaceFileLines(folder.file(kFileName), lines);
}

bool Writewindowsize(FrmStoneID& window) {
    return Writewindowsize(window, window.folder);
}

} // namespace tav
