// herbaxis-bench FOLDER [--json FILE] [--quick] [--only ID[,ID...]]: times the program's paths on a
// generated working folder against plain SQLite (see bench/README.md).
#include "Suite.h"

#include "store/Database.h"
#include "store/Error.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSysInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: herbaxis-bench FOLDER [--json FILE] [--quick] [--only ID[,ID...]]\noperations: %s\n",
                 qPrintable(bench::Suite::operationIds().join(QLatin1String(", "))));
    return 2;
}

// The offscreen platform says so for every window it shows; it tells nothing about the figures.
void quietOffscreen(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")) && !message.startsWith(QLatin1String("QStandardPaths:")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The program writes as it browses (a plant's notes row is made the first time the plant is
// shown), so every run works on a copy: the generated folder stays as it was generated and two
// runs measure the same thing. The copy lies beside the folder, on the same disk.
bool copyDatabase(const QString &from, const QString &to)
{
    const QString file = store::Database::filePathFor(from);
    if (!QFile::copy(file, store::Database::filePathFor(to)))
        return false;
    const QString wal = file + QStringLiteral("-wal");
    return !QFileInfo::exists(wal) || QFile::copy(wal, store::Database::filePathFor(to) + QStringLiteral("-wal"));
}

} // namespace

int main(int argc, char *argv[])
{
    // The windows are made offscreen unless asked otherwise: the figures should not depend on
    // whether a desktop happens to be there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (bench::isColdStartChild(argc, argv))
        return bench::runColdStartChild(argc, argv);

    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString folder, json;
    bench::Options options;
    QStringList only;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--json") && i + 1 < args.size())
            json = args[++i];
        else if (args[i] == QLatin1String("--quick"))
            options.quick = true;
        else if (args[i] == QLatin1String("--only") && i + 1 < args.size())
            only << args[++i].split(QLatin1Char(','), Qt::SkipEmptyParts);
        else if (folder.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            folder = QDir(args[i]).absolutePath();
        else
            return usage();
    }
    if (folder.isEmpty())
        return usage();
    const QStringList ids = only.isEmpty() ? bench::Suite::operationIds() : only;
    for (const QString &id : ids)
        if (!bench::Suite::operationIds().contains(id))
            return usage();

    if (!store::Database::existsIn(folder)) {
        std::fprintf(stderr, "herbaxis-bench: no database in %s\n", qPrintable(folder));
        return 1;
    }
    QTemporaryDir scratch(QFileInfo(folder).absolutePath() + QStringLiteral("/.herbaxis-bench-XXXXXX"));
    if (!scratch.isValid() || !copyDatabase(folder, scratch.path())) {
        std::fprintf(stderr, "herbaxis-bench: cannot copy %s beside it\n", qPrintable(folder));
        return 1;
    }

    QList<bench::Measurement> measured;
    try {
        bench::Suite suite(scratch.path(), options);
        for (const QString &id : ids) {
            std::fprintf(stderr, "%s...\n", qPrintable(id));
            measured << suite.run(id);
        }
    } catch (const store::Error &e) {
        std::fprintf(stderr, "herbaxis-bench: %s\n", qPrintable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "herbaxis-bench: %s\n", e.what());
        return 1;
    }

    const QList<bench::Pending> pending = bench::Suite::pendingOperations();
    std::printf("Herbaxis on %s%s\n\n%s", qPrintable(folder), options.quick ? " (quick: one run each, not a measurement)" : "",
                qPrintable(bench::formatTable(measured, pending)));
    if (!json.isEmpty()) {
        QJsonObject report = bench::toJson(measured, pending);
        report[QStringLiteral("folder")] = folder;
        report[QStringLiteral("quick")] = options.quick;
        report[QStringLiteral("when")] = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
        report[QStringLiteral("machine")] = QSysInfo::prettyProductName() + QStringLiteral(", ") + QSysInfo::currentCpuArchitecture();
        QFile out(json);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "herbaxis-bench: cannot write %s\n", qPrintable(json));
            return 1;
        }
        out.write(QJsonDocument(report).toJson());
    }
    // Figures computed on different results compare nothing: that is a failure of the benchmark.
    for (const bench::Measurement &m : std::as_const(measured))
        if (!m.disagreements.isEmpty())
            return 1;
    return 0;
}
