// herbaxis-gen SIZE FOLDER [SEED]: writes a working folder of generated content for the benchmark.
#include "Generator.h"

#include "store/Database.h"
#include "store/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: herbaxis-gen S|M|L FOLDER [SEED]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2 || args.size() > 3)
        return usage();
    bool ok = true;
    const std::uint64_t seed = args.size() == 3 ? args[2].toULongLong(&ok) : 1;
    if (!ok)
        return usage();
    const QString folder = QDir(args[1]).absolutePath();
    if (store::Database::existsIn(folder)) {
        std::fprintf(stderr, "herbaxis-gen: %s already holds a database\n", qPrintable(folder));
        return 1;
    }
    // Written beside the target and moved into place at the end, so that an interrupted run never
    // leaves a half-filled folder that looks finished.
    const QString partial = folder + QStringLiteral(".partial");
    QDir(partial).removeRecursively();
    try {
        const bench::GenSize size = bench::genSize(args[0]);
        const bench::GenReport r = bench::generate(size, partial, seed);
        if (QFileInfo::exists(folder) && !QDir().rmdir(folder))
            throw store::Error(QStringLiteral("%1 exists and is not empty").arg(folder));
        if (!QDir().rename(partial, folder))
            throw store::Error(QStringLiteral("cannot move %1 to %2").arg(partial, folder));
        std::printf("%s: size %s, seed %llu: %d plants (%d formulas), %d classes, %lld action rows, "
                    "%lld indication rows, %lld ingredient rows, %lld component rows in %.1f s\n",
                    qPrintable(folder), qPrintable(size.name), static_cast<unsigned long long>(seed), r.plants,
                    r.formulas, r.classes, static_cast<long long>(r.actionRows), static_cast<long long>(r.indicationRows),
                    static_cast<long long>(r.ingredientRows), static_cast<long long>(r.componentRows), r.seconds);
    } catch (const store::Error &e) {
        std::fprintf(stderr, "herbaxis-gen: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
