#pragma once

#include "grading/LabGrader.h"
#include "platform/StepFailure.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

// A recording stand-in for the outside grading component: every call lands in one
// shared log with the object's name and its arguments; results and properties are
// scripted, and any member can be made to fail.
namespace tav::test {

struct GraderCall {
    QString object;
    QString member;
    QVariantList arguments;

    bool operator==(const GraderCall&) const = default;
};

class FakeLabGrader final : public LabGrader {
public:
    FakeLabGrader(QString name, std::vector<GraderCall>& log) : name_(std::move(name)), log_(log) {}

    // Scripted answers. A property left out cannot be read.
    std::map<QString, QVariant> properties;
    QVariant findGradeResult;
    double fwGirdleResult = 0;
    double fwTotalHeightResult = 0;
    QVariant strictResult;
    // What FindGrade leaves in the facetware measures, when it changes them.
    std::optional<FacetwareMeasures> facetwareAfterFindGrade;
    // Members ("FindGrade", "Strict", ...) that fail when called.
    std::set<QString> failing;

    void SetAppPath(const QString& path) override { call("SetAppPath", {path}); }

    QVariant FindGrade(const std::vector<double>& values, FacetwareMeasures* facetware) override {
        QVariantList arguments;
        for (double v : values)
            arguments << v;
        if (facetware)
            arguments << facetware->girdle << facetware->totalDepth;
        call("FindGrade", arguments);
        if (facetware && facetwareAfterFindGrade)
            *facetware = *facetwareAfterFindGrade;
        return findGradeResult;
    }

    double FWGirdle(double pavilionAngle, double crownAngle, double table,
                    double totalDepth) override {
        call("FWGirdle", {pavilionAngle, crownAngle, table, totalDepth});
        return fwGirdleResult;
    }

    double FWTotalHeight(double pavilionAngle, double crownAngle, double table,
                         double totalDepth) override {
        call("FWTotalHeight", {pavilionAngle, crownAngle, table, totalDepth});
        return fwTotalHeightResult;
    }

    QVariant Strict(const QVariant& classGIA, const QVariant& classAGS) override {
        call("Strict", {classGIA, classAGS});
        return strictResult;
    }

    std::optional<QVariant> property(const QString& name) override {
        log_.push_back({name_, QStringLiteral("property"), {name}});
        const auto found = properties.find(name);
        if (found == properties.end())
            return std::nullopt;
        return found->second;
    }

private:
    void call(const char* member, const QVariantList& arguments) {
        log_.push_back({name_, QLatin1String(member), arguments});
        if (failing.count(QLatin1String(member)))
            throw StepFailure(QStringLiteral("Automation error"));
    }

    QString name_;
    std::vector<GraderCall>& log_;
};

// The component's objects, each named after its system in the log. A system in
// `missing` has no grader.
class FakeGraderProvider final : public LabGraderProvider {
public:
    std::vector<GraderCall> calls;
    FakeLabGrader appPath{QStringLiteral("AppPath"), calls};
    FakeLabGrader ags{QStringLiteral("AGS"), calls};
    FakeLabGrader agsGold{QStringLiteral("AGSGOLD"), calls};
    FakeLabGrader gia{QStringLiteral("GIA"), calls};
    FakeLabGrader hrdHa{QStringLiteral("HRDHA"), calls};
    FakeLabGrader hrd2009{QStringLiteral("HRD2009"), calls};
    std::set<GradingSystem> missing;
    bool appPathMissing = false;

    LabGrader* appPathObject() override { return appPathMissing ? nullptr : &appPath; }

    LabGrader* grader(GradingSystem system) override {
        if (missing.count(system))
            return nullptr;
        return &of(system);
    }

    FakeLabGrader& of(GradingSystem system) {
        switch (system) {
        case GradingSystem::AGS:
            return ags;
        case GradingSystem::AGSGold:
            return agsGold;
        case GradingSystem::GIA:
            return gia;
        case GradingSystem::HRDHA:
            return hrdHa;
        case GradingSystem::HRD2009:
            break;
        }
        return hrd2009;
    }

    // The log without property reads and Strict: the calls that grade.
    std::vector<GraderCall> gradingCalls() const {
        std::vector<GraderCall> result;
        for (const GraderCall& c : calls)
            if (c.member != QLatin1String("property") && c.member != QLatin1String("Strict"))
                result.push_back(c);
        return result;
    }
};

} // namespace tav::test
