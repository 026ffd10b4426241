#pragma once

#include "Measurement.h"
#include "PlainSql.h"

#include "store/Database.h"

#include <QStringList>

#include <memory>

namespace bench {

struct Options {
    bool quick = false; // every operation once: a check that each path runs, not a measurement
    QString program;    // what the cold start runs in a fresh process; empty: this program
};

// The timed operations on one working folder. Each runs the program's own classes (sessions,
// cursors, the main window offscreen) and, beside them, plain SQLite statements that compute the
// same result on the same file, and notes where the two results differ.
class Suite {
public:
    Suite(const QString &folder, const Options &options);
    ~Suite();

    static QStringList operationIds();
    static QList<Pending> pendingOperations();

    QList<Measurement> run(const QString &id);

private:
    QList<Measurement> coldStart();
    Measurement typedLetter();
    Measurement findNearest();
    Measurement switchLanguageFirst();
    Measurement switchLanguage();
    Measurement filterCount();
    Measurement pageScroll();
    QList<Measurement> repertoryCounts(const QString &id);
    QList<Measurement> chart();

    int rounds(int full) const { return m_options.quick ? 1 : full; }
    QStringList prefixes() const;
    void consume(const QVariant &value);
    void consume(const QString &value);

    QString m_folder;
    Options m_options;
    std::unique_ptr<store::Session> m_session; // warm: shared by the operations that do not start afresh
    std::unique_ptr<PlainDb> m_plain;
    QStringList m_names; // real pin yin names of the folder, spread over the list
    int m_plants = 0;
    qint64 m_sink = 0; // what was read, so that no read is left out
};

// The child side of the cold start, run in a fresh process: `--cold-start FOLDER T0` opens the
// folder with the program's classes, `--cold-start-baseline FOLDER T0` with plain SQLite; each
// prints one line of figures. T0 is the parent's steady clock, in nanoseconds, at the launch.
bool isColdStartChild(int argc, char *argv[]);
int runColdStartChild(int argc, char *argv[]);

} // namespace bench
