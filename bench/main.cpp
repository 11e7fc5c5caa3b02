// The cost benchmarks: one export per layout, the Col merge over season-sized layout
// files with its peak memory, and start-up to an idle window. Every case prints its
// ratio to a baseline timed in the same run.
#include "LargeInputs.h"
#include "SqliteFloor.h"
#include "Timing.h"

#include "app/FrmStoneID.h"
#include "app/StartUp.h"
#include "export/ExportProcedure.h"
#include "platform/Database.h"
#include "platform/DurableFile.h"
#include "platform/NumberText.h"
#include "scan/KeyFileBuilder.h"
#include "support/EmfWriter.h"
#include "support/RecordingPlatform.h"
#include "support/SampleFolder.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tav::bench {
namespace {

enum class Inputs { Sample, Large };

// A balance that does not exist, in the program folder: start-up tries it once, and no
// other program's lock on a device name is met.
QString missingBalance(const test::TempProgramFolder& dir) {
    return dir.filePath(QStringLiteral("tty-balance"));
}

// One start of the program on a fresh program folder, set up to the idle window, with
// recording doubles: the export's pause is recorded, not slept.
struct Run {
    explicit Run(Inputs inputs, const QString& layout, const QString& oldLayoutFile = {},
                 const QString& layoutFileName = {}) {
        qputenv("TAVEXPORT_COM1", QFile::encodeName(missingBalance(dir)));
        if (inputs == Inputs::Large)
            makeLargeFolder(dir);
        else
            test::copySampleFolder(dir);
        test::setLine(dir, QStringLiteral("ExportPa.txt"), 8, layout);
        if (!oldLayoutFile.isEmpty())
            QFile::copy(oldLayoutFile, dir.filePath(layoutFileName));
        window = std::make_unique<FrmStoneID>(dir.folder(), services, program);
        if (Form_Load(*window) != StartUpOutcome::Waiting)
            qFatal("start-up did not reach the idle window");
    }
    ~Run() { QDir::setCurrent(previousFolder); }

    void exportStone() { ExportData(*window); }

    test::TempProgramFolder dir;
    test::RecordingPlatform recording;
    Platform services = recording.platform();
    ProgramWide program;
    std::unique_ptr<FrmStoneID> window;
    QString previousFolder = QDir::currentPath();
};

QHash<QString, QByteArray> folderFiles(const QString& root) {
    QHash<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(root).relativeFilePath(path), file.readAll());
    }
    return files;
}

QByteArray readWhole(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Through the replace path the program's own files take: the data synced, then renamed
// over the old file.
void saveWhole(const QString& path, const QByteArray& bytes) {
    FileReplacement file(path);
    if (!file.open() || !file.write(bytes) || !file.commit())
        qFatal("cannot save %s", qPrintable(path));
}

// The durable work an export cannot do without: read its inputs (the scan, the key
// file, the settings and the database file), save the bytes it leaves behind in files,
// each synced before it takes its place, and write one UserData value into a copy of
// its Reports.mdb, in a transaction of its own.
struct ExportFloor {
    QStringList inputs;
    std::vector<std::pair<QString, QByteArray>> outputs;
    test::TempProgramFolder scratch;
    std::unique_ptr<Database> reports;
    mutable int stones = 0;

    void run() const {
        for (const QString& input : inputs)
            readWhole(input);
        for (const auto& [name, bytes] : outputs)
            saveWhole(scratch.filePath(name), bytes);
        if (!reports->exec(QStringLiteral("UPDATE UserData SET STONE_ID = ?"),
                           {QStringLiteral("K7-%1").arg(++stones)}))
            qFatal("the floor's UPDATE failed");
    }
    // The export creates its files anew; so does the floor in every run.
    void removeOutputs() const {
        for (const auto& output : outputs)
            QFile::remove(scratch.filePath(output.first));
    }
};

std::unique_ptr<ExportFloor> exportFloor(Inputs inputs, const QString& layout) {
    Run run(inputs, layout);
    auto floor = std::make_unique<ExportFloor>();
    for (const char* name :
         {"test.txt", "test_export.txt", "ExportPa.txt", "testSetting.txt", "Reports.mdb"})
        floor->inputs.append(run.dir.filePath(QString::fromLatin1(name)));
    const QHash<QString, QByteArray> before = folderFiles(run.dir.path());
    run.exportStone();
    const QHash<QString, QByteArray> after = folderFiles(run.dir.path());
    int index = 0;
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        // The database's bytes change through its one UPDATE, not through a file write.
        if (it.key().compare(u"Reports.mdb", Qt::CaseInsensitive) != 0 &&
            before.value(it.key()) != it.value())
            floor->outputs.emplace_back(QString::number(index++), it.value());
    }
    const QString reports = floor->scratch.filePath(QStringLiteral("Reports.mdb"));
    if (!QFile::copy(run.dir.filePath(QStringLiteral("Reports.mdb")), reports) ||
        !(floor->reports = Database::openExisting(reports)))
        qFatal("cannot open the floor's Reports.mdb");
    return floor;
}

void exportCases(int runs) {
    for (const Inputs inputs : {Inputs::Sample, Inputs::Large}) {
        for (const char* layout : {"Row", "Col", "Col_Row", "Table"}) {
            const QString name =
                QStringLiteral("export %1, %2")
                    .arg(QString::fromLatin1(layout), inputs == Inputs::Sample
                                                          ? QStringLiteral("sample folder")
                                                          : QStringLiteral("large inputs"));
            std::unique_ptr<Run> run;
            const Timing subject = measure(
                runs, [&] { run = std::make_unique<Run>(inputs, QString::fromLatin1(layout)); },
                [&] { run->exportStone(); });
            run.reset();
            const std::unique_ptr<ExportFloor> floor =
                exportFloor(inputs, QString::fromLatin1(layout));
            const Timing baseline = measure(
                runs, [&] { floor->removeOutputs(); }, [&] { floor->run(); });
            report(name, subject, QStringLiteral("synced writes+UPDATE"), baseline);
        }
    }
}

// The layout file of a Col export, relative to the program folder, and its line count.
std::pair<QString, int> colLayoutFile() {
    Run run(Inputs::Large, QStringLiteral("Col"));
    run.exportStone();
    const QString path = run.window->ExportTextFile;
    return {QDir(run.dir.path()).relativeFilePath(path), int(readWhole(path).count("\r\n"))};
}

void plainCopy(const QString& source, const QString& target) {
    QFile input(source);
    QFile output(target);
    if (!input.open(QIODevice::ReadOnly) ||
        !output.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot copy %s", qPrintable(source));
    while (!input.atEnd())
        output.write(input.read(1 << 20));
}

// Peak resident memory of one Col export in a child process, in MiB.
double childPeakMiB(const QString& self, const QString& oldLayoutFile,
                    const QString& layoutFileName) {
    const pid_t child = fork();
    if (child == 0) {
        const QByteArray program = QFile::encodeName(self);
        const QByteArray old = QFile::encodeName(oldLayoutFile);
        const QByteArray name = QFile::encodeName(layoutFileName);
        execl(program.constData(), program.constData(), "--col-child", old.constData(),
              name.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        qFatal("the Col export child failed");
    return double(usage.ru_maxrss) / 1024.0;
}

void colMergeCases(const QString& self, int runs) {
    const auto [layoutFileName, rows] = colLayoutFile();
    test::TempProgramFolder store;
    const double peakWithout = childPeakMiB(self, QString(), layoutFileName);
    Timing first;
    for (const int stones : {0, 1000, 10000, 50000}) {
        QString oldFile;
        Timing copy;
        if (stones > 0) {
            oldFile = store.filePath(QStringLiteral("cols_%1.txt").arg(stones));
            writeColsFile(oldFile, stones, rows);
            // Like the export, the copy takes the place of a file of that size.
            const QString target = store.filePath(QStringLiteral("copy.txt"));
            copy = measure(
                runs,
                [&] {
                    QFile::remove(target);
                    QFile::copy(oldFile, target);
                },
                [&] { plainCopy(oldFile, target); });
        }
        std::unique_ptr<Run> run;
        const Timing subject = measure(
            runs,
            [&] {
                run = std::make_unique<Run>(Inputs::Large, QStringLiteral("Col"), oldFile,
                                            layoutFileName);
            },
            [&] { run->exportStone(); });
        run.reset();
        const double peak = stones > 0 ? childPeakMiB(self, oldFile, layoutFileName) : peakWithout;
        if (stones == 0) {
            first = subject;
            std::printf("%-44s %9.2f ms (cpu %8.2f ms)   peak %.1f MiB\n",
                        "Col export, new layout file", subject.wallMs, subject.cpuMs, peak);
            continue;
        }
        const double size = double(QFileInfo(oldFile).size()) / (1 << 20);
        report(
            QStringLiteral("Col export over %1 stones (%2 MiB)").arg(stones).arg(size, 0, 'f', 1),
            subject, QStringLiteral("plain copy"), copy);
        std::printf("%-44s growth over a new file / plain copy: ratio %.2f;  peak %.1f MiB "
                    "(%+.1f MiB against a new file)\n",
                    "", (subject.wallMs - first.wallMs) / copy.wallMs, peak, peak - peakWithout);
        std::fflush(stdout);
        QFile::remove(oldFile);
    }
}

// One run of the start-up probe to its end, timed: the whole process's wall time, and
// the peak resident memory of the program and of the largest helper it ran.
struct StartUpRun {
    double wallMs = 0;
    double peakMiB = 0;
    double helperPeakMiB = 0;
};

// The environment of a probe whose balance is the missing device `balance`.
QProcessEnvironment probeEnvironment(const QString& balance) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TAVEXPORT_COM1"), balance);
    return environment;
}

StartUpRun runStartUp(const QString& probe, const QStringList& arguments, const QString& balance) {
    QProcess process;
    process.setProcessEnvironment(probeEnvironment(balance));
    StartUpRun run;
    run.wallMs =
        measure(1, {}, [&] {
            process.start(probe, arguments);
            if (!process.waitForFinished(120000) || process.exitCode() != 0)
                qFatal("the start-up probe failed: %s", process.readAllStandardError().constData());
        }).wallMs;
    const QStringList peaks =
        QString::fromLatin1(process.readAllStandardOutput()).simplified().split(u' ');
    if (peaks.size() != 3 || peaks[0] != u"peak")
        qFatal("the start-up probe gave no peaks");
    run.peakMiB = wholeNumber(peaks[1]).value_or(0) / 1024.0;
    run.helperPeakMiB = wholeNumber(peaks[2]).value_or(0) / 1024.0;
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Start-up to the idle window in a process of its own, against a bare window of 30
// line edits and two pictures; the whole process, wall time. Then start-up with report
// views far heavier than a scanner's (one facet edge drawn 250,000 times, the girdle
// 42,000 times), against the sample folder's start-up: the time and the peak memory of
// the program and of its picture helpers.
void startUpCase(const QString& probe, int runs) {
    std::unique_ptr<test::TempProgramFolder> dir;
    const auto freshFolder = [&] {
        dir = std::make_unique<test::TempProgramFolder>();
        test::copySampleFolder(*dir);
    };
    // The bare window shows two pictures of the sample's image store.
    const auto storePicture = [&](const QString& name) {
        QDirIterator it(dir->path(), {name}, QDir::Files, QDirIterator::Subdirectories);
        return it.hasNext() ? it.next() : QString();
    };
    // Alternating, so all see the same load of the machine.
    std::vector<double> app;
    std::vector<double> bare;
    std::vector<StartUpRun> sample;
    for (int i = 0; i < runs; ++i) {
        freshFolder();
        sample.push_back(
            runStartUp(probe, {QStringLiteral("app"), dir->path()}, missingBalance(*dir)));
        app.push_back(sample.back().wallMs);
        bare.push_back(runStartUp(probe,
                                  {QStringLiteral("bare"), storePicture(QStringLiteral("0-4.jpg")),
                                   storePicture(QStringLiteral("0-5.jpg"))},
                                  missingBalance(*dir))
                           .wallMs);
    }
    Timing appTiming;
    appTiming.wallMs = median(app);
    Timing bareTiming;
    bareTiming.wallMs = median(bare);
    report(QStringLiteral("start-up to idle, sample folder"), appTiming,
           QStringLiteral("bare window"), bareTiming);

    test::TempProgramFolder views;
    const QString crown = views.filePath(QStringLiteral("crown.emf"));
    const QString pavilion = views.filePath(QStringLiteral("pavilion.emf"));
    if (!test::writeHeavyCrownViewEmf(crown, test::RepeatedRecord::FacetEdge, 250000) ||
        !test::writeHeavyCrownViewEmf(pavilion, test::RepeatedRecord::Girdle, 42000))
        qFatal("cannot write the heavy report views");
    std::vector<double> heavy;
    double peak = 0;
    double helperPeak = 0;
    const int heavyRuns = std::max(1, runs / 3);
    for (int i = 0; i < heavyRuns; ++i) {
        freshFolder();
        for (const auto& [view, name] : {std::pair{crown, "POLISH_MODEL_REPORT_CRN_VIEW.emf"},
                                         std::pair{pavilion, "POLISH_MODEL_REPORT_PAV_VIEW.emf"}}) {
            const QString target = dir->filePath(QString::fromLatin1(name));
            if (!QFile::remove(target) || !QFile::copy(view, target))
                qFatal("cannot lay the heavy report views");
        }
        const StartUpRun run =
            runStartUp(probe, {QStringLiteral("app"), dir->path()}, missingBalance(*dir));
        heavy.push_back(run.wallMs);
        peak = std::max(peak, run.peakMiB);
        helperPeak = std::max(helperPeak, run.helperPeakMiB);
    }
    Timing heavyTiming;
    heavyTiming.wallMs = median(heavy);
    report(QStringLiteral("start-up to idle, heavy report views"), heavyTiming,
           QStringLiteral("sample folder"), appTiming);
    double samplePeak = 0;
    for (const StartUpRun& run : sample)
        samplePeak = std::max(samplePeak, run.peakMiB);
    std::printf("%-44s peak %.1f MiB (sample folder %.1f MiB), largest helper %.1f MiB\n", "", peak,
                samplePeak, helperPeak);
    std::fflush(stdout);
}

// One run of the probe to its end: the wall time of the whole process, and the wall and
// CPU time of start-up and export themselves as the probe gives them.
struct ProbeRun {
    double processMs = 0;
    Timing startUpAndExport;
};

ProbeRun probeExport(const QString& probe, const test::TempProgramFolder& folder) {
    QProcess process;
    process.setProcessEnvironment(probeEnvironment(missingBalance(folder)));
    QElapsedTimer wall;
    wall.start();
    process.start(probe, {QStringLiteral("export"), folder.path()});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        qFatal("the probe failed (%d): %s", process.exitCode(),
               process.readAllStandardError().constData());
    ProbeRun run;
    run.processMs = double(wall.nsecsElapsed()) / 1e6;
    const QList<QByteArray> times = process.readAllStandardOutput().trimmed().split(' ');
    if (times.size() != 2)
        qFatal("the probe gave no times");
    run.startUpAndExport = {times[0].toDouble(), times[1].toDouble()};
    return run;
}

Timing medians(const std::vector<Timing>& timings) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Timing& timing : timings) {
        wall.push_back(timing.wallMs);
        cpu.push_back(timing.cpuMs);
    }
    return {median(wall), median(cpu)};
}

// Start-up and one export in a process of their own, on the sample folder and on the
// large inputs; what the large inputs add to start-up and export, against the key file's
// reads done bare through SQLite on the same database: open it and read the first record
// of every listed table with its declared types, twice, as start-up and the export each
// do. Start-up and export are timed inside the process, where the rest of it (loading the
// libraries, the window, the end) does not blur the difference on a busy machine; the
// whole processes are shown too.
void keyFileCase(const QString& probe, int runs) {
    test::TempProgramFolder floorDir;
    makeLargeFolder(floorDir);
    const QString reports = floorDir.filePath(QStringLiteral("Reports.mdb"));
    const QStringList tables = ReadTableSlots(floorDir.folder());
    std::vector<ProbeRun> sample;
    std::vector<ProbeRun> large;
    std::vector<Timing> floor;
    // Alternating, so all three see the same load of the machine.
    for (int i = 0; i < runs; ++i) {
        test::TempProgramFolder sampleDir;
        test::copySampleFolder(sampleDir);
        sample.push_back(probeExport(probe, sampleDir));
        test::TempProgramFolder largeDir;
        makeLargeFolder(largeDir);
        large.push_back(probeExport(probe, largeDir));
        floor.push_back(measure(1, {}, [&] {
            readFirstRecords(reports, tables);
            readFirstRecords(reports, tables);
        }));
    }
    const auto processes = [](const std::vector<ProbeRun>& runs) {
        std::vector<double> ms;
        for (const ProbeRun& run : runs)
            ms.push_back(run.processMs);
        return Timing{median(ms), 0};
    };
    const auto inside = [](const std::vector<ProbeRun>& runs) {
        std::vector<Timing> timings;
        for (const ProbeRun& run : runs)
            timings.push_back(run.startUpAndExport);
        return medians(timings);
    };
    report(QStringLiteral("whole process, large inputs"), processes(large),
           QStringLiteral("sample folder"), processes(sample));
    const Timing sampleTiming = inside(sample);
    const Timing largeTiming = inside(large);
    const Timing floorTiming = medians(floor);
    report(QStringLiteral("start-up+export, large inputs"), largeTiming,
           QStringLiteral("sample folder"), sampleTiming);
    const Timing added{largeTiming.wallMs - sampleTiming.wallMs,
                       largeTiming.cpuMs - sampleTiming.cpuMs};
    report(QStringLiteral("what the large inputs add"), added, QStringLiteral("SQLite reads x2"),
           floorTiming);
    std::printf("%-44s %9.2f ms of CPU time against %9.2f ms            ratio %6.2f\n",
                "what the large inputs add, CPU time", added.cpuMs, floorTiming.cpuMs,
                added.cpuMs / floorTiming.cpuMs);
    std::fflush(stdout);
}

int colChild(const QString& oldFile, const QString& layoutFileName) {
    Run run(Inputs::Large, QStringLiteral("Col"), oldFile, layoutFileName);
    run.exportStone();
    return 0;
}

} // namespace
} // namespace tav::bench

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication app(argc, argv);
    tav::useCNumberLocale(); // the report's printf writes "." as the point
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments[1] == u"--col-child")
        return tav::bench::colChild(arguments[2], arguments[3]);
    const QString self = QCoreApplication::applicationFilePath();
    const QString probe = QFileInfo(self).dir().filePath(QStringLiteral("startup_probe"));
    // The groups named on the command line, or all of them.
    const QStringList groups = arguments.size() > 1
                                   ? arguments.mid(1)
                                   : QStringList{"startup", "keyfile", "export", "col"};
    if (groups.contains(u"startup"))
        tav::bench::startUpCase(probe, 15);
    if (groups.contains(u"keyfile"))
        tav::bench::keyFileCase(probe, 15);
    if (groups.contains(u"export"))
        tav::bench::exportCases(9);
    if (groups.contains(u"col"))
        tav::bench::colMergeCases(self, 5);
    return 0;
}
