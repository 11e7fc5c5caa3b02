#include "grading/LabAdapters.h"

#include "app/FrmStoneID.h"
#include "export/ColumnMerge.h"
#include "grading/LabGrader.h"
#include "grading/LabKeyTables.h"
#include "platform/NumberText.h"
#include "platform/StepFailure.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace tav {

namespace {

// The component is given each proportion as it would read it from its text form.
double readBack(double value) {
    return require(wholeNumber(doubleToText(value)));
}

double proportion(const PolishData& data, const char* key) {
    for (std::size_t i = 0; i < PolishData::fieldCount; ++i)
        if (std::string_view(PolishData::keys[i]) == key)
            return readBack(data.field(i));
    throw StepFailure(QStringLiteral("No proportion ") + QLatin1String(key));
}

std::vector<double> arguments(const PolishData& data, std::span<const ProportionArgument> list) {
    std::vector<double> values;
    values.reserve(list.size());
    for (const ProportionArgument& a : list) {
        double value = proportion(data, a.key);
        if (a.minus)
            value -= proportion(data, a.minus);
        values.push_back(value);
    }
    return values;
}

QVariant readProperty(LabGrader& grader, const char* name) {
    std::optional<QVariant> value = grader.property(QLatin1String(name));
    if (!value)
        throw StepFailure(QStringLiteral("Object doesn't support this property or method"), 438);
    return *value;
}

// A facetware measure that is not a number leaves the measure at 0.
void takeMeasure(double& target, double result) {
    if (std::isfinite(result))
        target = result;
}

// One grading of the current stone under one system.
class LabRun {
public:
    LabRun(FrmStoneID& window, const LabSystem& system) : w(window), system(system) {}

    void run() {
        if (w.CurrentShape != QLatin1String("Brilliant"))
            return;
        step([&] { appPathObjectOf(w.gradingComponent).SetAppPath(w.folder.path()); });
        grade();
        for (const LabLine& line : system.lines)
            firstCopy(line);
        for (const LabLine& line : system.lines)
            secondCopy(line);
    }

private:
    LabGrader& grader() const { return graderOf(w.gradingComponent, system.system); }
    LabGrader& companion() const { return graderOf(w.gradingComponent, *system.companion); }

    void grade() {
        if (system.facetware) {
            step([&] {
                const std::vector<double> v = arguments(w.PolishData, facetwareArguments());
                takeMeasure(facetware.girdle, grader().FWGirdle(v[0], v[1], v[2], v[3]));
            });
            step([&] {
                const std::vector<double> v = arguments(w.PolishData, facetwareArguments());
                takeMeasure(facetware.totalDepth, grader().FWTotalHeight(v[0], v[1], v[2], v[3]));
            });
        }
        step([&] {
            const std::vector<double> values = arguments(w.PolishData, system.findGradeArguments);
            overall = grader().FindGrade(values, system.facetware ? &facetware : nullptr);
        });
        if (system.companion)
            step([&] {
                const LabSystem& other = labSystem(*system.companion);
                companion().FindGrade(arguments(w.PolishData, other.findGradeArguments));
            });
    }

    // The line's text, or nothing when its value cannot be had. Properties (and
    // Strict) are asked afresh for every copy.
    std::optional<QString> lineText(const LabLine& line) {
        std::optional<QString> text;
        step([&] { text = QLatin1String(system.prefix) + QLatin1String(line.key) + value(line); });
        return text;
    }

    QString value(const LabLine& line) {
        switch (line.source) {
        case LineSource::Property:
            return componentValueText(readProperty(grader(), line.property));
        case LineSource::UpperCaseProperty:
            return componentValueText(readProperty(grader(), line.property)).toUpper();
        case LineSource::Overall:
            return componentValueText(overall);
        case LineSource::FacetwareTotalDepth:
            return doubleToText(facetware.totalDepth);
        case LineSource::FacetwareGirdle:
            return doubleToText(facetware.girdle);
        case LineSource::Strict: {
            const QVariant own = readProperty(grader(), line.property);
            const QVariant other = readProperty(companion(), line.companionProperty);
            return componentValueText(grader().Strict(own, other));
        }
        case LineSource::Blank:
            break;
        }
        return QString();
    }

    void firstCopy(const LabLine& line) {
        const std::optional<QString> text = lineText(line);
        if (text && w.StoneExportStream)
            w.StoneExportStream->writeLine(*text);
    }

    void secondCopy(const LabLine& line) {
        if (const std::optional<QString> text = lineText(line)) {
            ColumnMergeRule(w, *text);
            return;
        }
        // Merging, the old line this copy would have extended still belongs in the
        // rebuilt file.
        if (w.ColumnMergeMode != 0)
            mergeOldLine(w, QString());
    }

    FrmStoneID& w;
    const LabSystem& system;
    FacetwareMeasures facetware;
    QVariant overall;
};

void grade(FrmStoneID& window, GradingSystem system) {
    LabRun(window, labSystem(system)).run();
}

} // namespace

void DataAGS(FrmStoneID& window) {
    grade(window, GradingSystem::AGS);
}

void DataAGSGOLD(FrmStoneID& window) {
    grade(window, GradingSystem::AGSGold);
}

void DataGIA(FrmStoneID& window) {
    grade(window, GradingSystem::GIA);
}

void DataHRDHA(FrmStoneID& window) {
    grade(window, GradingSystem::HRDHA);
}

void DataHRD09(FrmStoneID& window) {
    grade(window, GradingSystem::HRD2009);
}

} // namespace tav
