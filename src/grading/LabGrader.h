#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

// The outside grading component as the adapters see it. The bench never creates it:
// whoever installs the component hands its objects to the window through a
// LabGraderProvider. Every member may fail; a failing call throws StepFailure.
namespace tav {

enum class GradingSystem { AGS, AGSGold, GIA, HRDHA, HRD2009 };

// The two facetware measures that the GIA grader's FindGrade takes by reference: it
// may change them, and what it leaves in them is what gets written.
struct FacetwareMeasures {
    double girdle = 0;
    double totalDepth = 0;
};

class LabGrader {
public:
    virtual ~LabGrader() = default;

    // The program folder; called on the object that takes it, not on a grader.
    virtual void SetAppPath(const QString& path) = 0;

    // Grades the stone from the proportions of its system, fills the grader's
    // properties and returns the overall grade. The GIA grader also gets the
    // facetware measures, which it may change; the other systems pass none.
    virtual QVariant FindGrade(const std::vector<double>& values, FacetwareMeasures* facetware) = 0;
    QVariant FindGrade(const std::vector<double>& values) { return FindGrade(values, nullptr); }

    // Facetware girdle and total depth from pavilion angle, crown angle, table and
    // total depth (GIA grader).
    virtual double FWGirdle(double pavilionAngle, double crownAngle, double table,
                            double totalDepth) = 0;
    virtual double FWTotalHeight(double pavilionAngle, double crownAngle, double table,
                                 double totalDepth) = 0;

    // The strict class from the GIA class and the AGS class (GIA grader).
    virtual QVariant Strict(const QVariant& classGIA, const QVariant& classAGS) = 0;

    // A property by member name; nothing when it cannot be read.
    virtual std::optional<QVariant> property(const QString& name) = 0;
};

// Where the adapters find the component's objects. A null object means the
// component cannot be reached: every call on it fails.
class LabGraderProvider {
public:
    virtual ~LabGraderProvider() = default;

    // The object that is given the program folder.
    virtual LabGrader* appPathObject() = 0;
    // The grader of one system.
    virtual LabGrader* grader(GradingSystem system) = 0;
};

// The object, or a StepFailure when there is no provider or it has no such object.
LabGrader& appPathObjectOf(LabGraderProvider* provider);
LabGrader& graderOf(LabGraderProvider* provider, GradingSystem system);

// A value of the component in its general text form: numbers unrounded (doubles with
// up to 15 significant digits), booleans as "True"/"False", an empty value as "".
// A value with no text form (a list, an object) throws StepFailure.
QString componentValueText(const QVariant& value);

} // namespace tav
