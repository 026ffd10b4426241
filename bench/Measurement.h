#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace bench {

// One condition an operation should meet on the M database.
struct Limit {
    enum class Stat { Median, P95, Max, Ratio };
    Stat stat;
    double value; // below it (Median, P95, Max), at most it (Ratio)
};

// The figures of one operation: every run of the program's own path and of the plain SQLite
// baseline that computes the same result, and whether the two results agreed.
struct Measurement {
    QString id;
    QString title;
    QString unit = QStringLiteral("ms");
    std::vector<double> samples;
    std::vector<double> baseline;
    QList<Limit> limits;
    QStringList disagreements; // where the program and the baseline came to different results
    QVariantMap details;       // extra figures worth printing (the phases of a cold start...)

    double median() const;
    double p95() const;
    double max() const;
    double baselineMedian() const;
    double ratio() const; // median / baseline median; 0 without a baseline
    QString targetText() const;
    bool targetMet() const;
    QString status() const; // OK, MISSED, DIFFERS, or empty without a target
    void disagree(const QString &what);
};

// An operation of the program that the benchmark will time once it exists.
struct Pending {
    QString id;
    QString title;
};

QString formatTable(const QList<Measurement> &measurements, const QList<Pending> &pending);
QJsonObject toJson(const QList<Measurement> &measurements, const QList<Pending> &pending);

double percentile(std::vector<double> values, double fraction);

} // namespace bench
