#include "support/EmfWriter.h"

#include <QFile>

#include <uemf.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <vector>

namespace tav::test {

namespace {

constexpr int pageWidth = 400;
constexpr int pageHeight = 300;

U_COLORREF colourRef(const QColor& colour) {
    return colorref3_set(static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
                         static_cast<uint8_t>(colour.blue()));
}

U_RECTL rect(int left, int top, int right, int bottom) {
    return rectl_set(pointl_set(left, top), pointl_set(right, bottom));
}

// One metafile being written: the records go to memory and reach the file on finish().
// A record that cannot be made or appended spoils the document, and finish() says so.
class EmfDocument {
public:
    explicit EmfDocument(const QString& path) {
        const QByteArray name = QFile::encodeName(path);
        // Grown a megabyte at a time: a heavy view has megabytes of records, and growing
        // by small steps copies them over and over.
        ok_ = emf_start(name.constData(), 16384, 1 << 20, &track_) == 0 &&
              htable_create(16, 16, &handles_) == 0;
        if (!ok_)
            return;
        U_SIZEL device;
        U_SIZEL millimetres;
        U_RECTL bounds;
        U_RECTL frame;
        constexpr float unitsPerMm = 4.0F;
        device_size(216, 279, unitsPerMm, &device, &millimetres);
        drawing_size(pageWidth / 4, pageHeight / 4, unitsPerMm, &bounds, &frame);
        append(U_EMRHEADER_set(bounds, frame, nullptr, 0, nullptr, device, millimetres, 0));
        append(U_EMRSETMAPMODE_set(U_MM_TEXT));
        append(U_EMRSETBKMODE_set(U_TRANSPARENT));
    }
    ~EmfDocument() {
        if (track_)
            emf_free(&track_);
        if (handles_)
            htable_free(&handles_);
    }
    EmfDocument(const EmfDocument&) = delete;
    EmfDocument& operator=(const EmfDocument&) = delete;

    void append(char* record) {
        if (!record) {
            ok_ = false;
            return;
        }
        if (!ok_ || emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), track_, U_REC_FREE))
            ok_ = false;
        if (!ok_)
            std::free(record);
    }

    // Selects a new solid brush and pen; the previous ones are deleted.
    void useColours(const QColor& fill, const QColor& line, int lineWidth) {
        if (!ok_)
            return;
        dropObject(brush_);
        dropObject(pen_);
        append(createbrushindirect_set(&brush_, handles_,
                                       logbrush_set(U_BS_SOLID, colourRef(fill), 0)));
        append(selectobject_set(brush_, handles_));
        append(createpen_set(
            &pen_, handles_,
            logpen_set(U_PS_SOLID, point_set(lineWidth, lineWidth), colourRef(line))));
        append(selectobject_set(pen_, handles_));
    }

    void polygon(const std::vector<U_POINTL>& points) {
        append(U_EMRPOLYGON_set(boundsOf(points), static_cast<uint32_t>(points.size()),
                                points.data()));
    }
    void line(U_POINTL from, U_POINTL to) {
        const std::vector<U_POINTL> points{from, to};
        append(U_EMRPOLYLINE_set(boundsOf(points), 2, points.data()));
    }

    bool finish() {
        if (!ok_)
            return false;
        dropObject(brush_);
        dropObject(pen_);
        append(U_EMREOF_set(0, nullptr, track_));
        return ok_ && emf_finish(track_, handles_) == 0;
    }

private:
    static U_RECTL boundsOf(const std::vector<U_POINTL>& points) {
        int32_t left = points.front().x, right = left;
        int32_t top = points.front().y, bottom = top;
        for (const U_POINTL& point : points) {
            left = std::min(left, point.x);
            right = std::max(right, point.x);
            top = std::min(top, point.y);
            bottom = std::max(bottom, point.y);
        }
        return rect(left, top, right, bottom);
    }

    void dropObject(uint32_t& handle) {
        if (handle != 0)
            append(deleteobject_set(&handle, handles_));
        handle = 0;
    }

    EMFTRACK* track_ = nullptr;
    EMFHANDLES* handles_ = nullptr;
    uint32_t brush_ = 0;
    uint32_t pen_ = 0;
    bool ok_ = false;
};

void whitePage(EmfDocument& emf) {
    emf.useColours(Qt::white, Qt::white, 1);
    emf.append(U_EMRRECTANGLE_set(rect(0, 0, pageWidth, pageHeight)));
}

// Points on a circle around the page centre, the first at the top.
std::vector<U_POINTL> ring(int corners, double radius, double turn = 0) {
    std::vector<U_POINTL> points;
    for (int i = 0; i < corners; ++i) {
        const double angle = 2 * std::numbers::pi * (i + turn) / corners - std::numbers::pi / 2;
        points.push_back(pointl_set(
            static_cast<int32_t>(std::lround(pageWidth / 2.0 + radius * std::cos(angle))),
            static_cast<int32_t>(std::lround(pageHeight / 2.0 + radius * std::sin(angle)))));
    }
    return points;
}

} // namespace

bool writeSampleEmf(const QString& path, QColor fill, SampleFigure figure) {
    EmfDocument emf(path);
    whitePage(emf);
    emf.useColours(fill, fill, 1);
    const U_RECTL box = rect(pageWidth / 4, pageHeight / 4, pageWidth * 3 / 4, pageHeight * 3 / 4);
    emf.append(figure == SampleFigure::Rectangle ? U_EMRRECTANGLE_set(box) : U_EMRELLIPSE_set(box));
    return emf.finish();
}

namespace {

// The number of times each record is drawn: once, but for the repeated one.
struct Repeats {
    std::optional<RepeatedRecord> record;
    int times = 1;
    int of(RepeatedRecord which) const { return record == which ? times : 1; }
};

bool writeView(const QString& path, StoneView view, Repeats repeats) {
    constexpr int girdleCorners = 16;
    constexpr double girdleRadius = 130;
    EmfDocument emf(path);
    whitePage(emf);
    emf.useColours(QColor(225, 232, 240), QColor(30, 30, 30), 2);
    const std::vector<U_POINTL> girdle = ring(girdleCorners, girdleRadius);
    for (int i = 0; i < repeats.of(RepeatedRecord::Girdle); ++i)
        emf.polygon(girdle);
    emf.useColours(QColor(205, 215, 228), QColor(30, 30, 30), 1);
    if (view == StoneView::Crown) {
        // The table, with bezel edges to every other girdle corner and star facets between.
        const std::vector<U_POINTL> table = ring(8, girdleRadius * 0.55);
        emf.polygon(table);
        const std::vector<U_POINTL> stars = ring(8, girdleRadius * 0.78, 0.5);
        for (int i = 0; i < 8; ++i) {
            for (int j = 0; j < (i == 0 ? repeats.of(RepeatedRecord::FacetEdge) : 1); ++j)
                emf.line(table[i], girdle[2 * i]);
            emf.line(table[i], stars[i]);
            emf.line(stars[i], table[(i + 1) % 8]);
            emf.line(stars[i], girdle[2 * i + 1]);
        }
    } else {
        // Main facets meeting in the culet, with the lower-girdle edges between them.
        const U_POINTL culet = pointl_set(pageWidth / 2, pageHeight / 2);
        const std::vector<U_POINTL> lowerGirdle = ring(8, girdleRadius * 0.6, 0.5);
        for (int i = 0; i < 8; ++i) {
            emf.line(culet, girdle[2 * i]);
            emf.line(girdle[2 * i], lowerGirdle[i]);
            emf.line(lowerGirdle[i], girdle[(2 * i + 2) % girdleCorners]);
            emf.line(lowerGirdle[i], girdle[2 * i + 1]);
        }
    }
    return emf.finish();
}

} // namespace

bool writeStoneViewEmf(const QString& path, StoneView view) {
    return writeView(path, view, {});
}

bool writeHeavyCrownViewEmf(const QString& path, RepeatedRecord record, int repeats) {
    return writeView(path, StoneView::Crown, {record, repeats});
}

} // namespace tav::test
