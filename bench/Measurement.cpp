#include "Measurement.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>

namespace bench {

namespace {

// Keeps a report readable: a figure that disagrees lists a few cases, not thousands.
constexpr int DisagreementsKept = 5;

QString statName(Limit::Stat s)
{
    switch (s) {
    case Limit::Stat::Median:
        return QStringLiteral("median");
    case Limit::Stat::P95:
        return QStringLiteral("p95");
    case Limit::Stat::Max:
        return QStringLiteral("max");
    case Limit::Stat::Ratio:
        return QStringLiteral("ratio");
    }
    return QString();
}

QString figure(double v)
{
    if (v == 0)
        return QStringLiteral("0");
    if (std::fabs(v) < 0.1)
        return QString::number(v, 'f', 4);
    if (std::fabs(v) < 10)
        return QString::number(v, 'f', 2);
    return QString::number(v, 'f', 1);
}

QString padded(const QString &s, int width, bool right = false)
{
    return right ? s.rightJustified(width) : s.leftJustified(width);
}

} // namespace

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    // Nearest rank: the smallest value with at least `fraction` of the runs at or below it.
    const size_t rank = size_t(std::ceil(fraction * double(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

double Measurement::median() const
{
    return percentile(samples, 0.5);
}

double Measurement::p95() const
{
    return percentile(samples, 0.95);
}

double Measurement::max() const
{
    return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

double Measurement::baselineMedian() const
{
    return percentile(baseline, 0.5);
}

double Measurement::ratio() const
{
    const double b = baselineMedian();
    return b > 0 ? median() / b : 0;
}

QString Measurement::targetText() const
{
    QStringList parts;
    for (const Limit &l : limits)
        parts << (l.stat == Limit::Stat::Ratio ? QStringLiteral("ratio <= %1").arg(l.value)
                                                : QStringLiteral("%1 < %2 %3").arg(statName(l.stat)).arg(l.value).arg(unit));
    return parts.join(QLatin1String(", "));
}

bool Measurement::targetMet() const
{
    for (const Limit &l : limits) {
        switch (l.stat) {
        case Limit::Stat::Median:
            if (!(median() < l.value))
                return false;
            break;
        case Limit::Stat::P95:
            if (!(p95() < l.value))
                return false;
            break;
        case Limit::Stat::Max:
            if (!(max() < l.value))
                return false;
            break;
        case Limit::Stat::Ratio:
            if (!(ratio() <= l.value))
                return false;
            break;
        }
    }
    return true;
}

QString Measurement::status() const
{
    if (!disagreements.isEmpty())
        return QStringLiteral("DIFFERS");
    if (limits.isEmpty())
        return QString();
    return targetMet() ? QStringLiteral("OK") : QStringLiteral("MISSED");
}

void Measurement::disagree(const QString &what)
{
    if (disagreements.size() < DisagreementsKept)
        disagreements << what;
}

QString formatTable(const QList<Measurement> &measurements, const QList<Pending> &pending)
{
    int titleWidth = 9;
    for (const Measurement &m : measurements)
        titleWidth = std::max(titleWidth, int(m.title.size()));
    for (const Pending &p : pending)
        titleWidth = std::max(titleWidth, int(p.title.size()));

    QString out;
    const QString header = padded(QStringLiteral("operation"), titleWidth)
        + QStringLiteral("  unit    runs     median        p95   baseline    ratio  target                      result");
    out += header + QLatin1Char('\n') + QString(header.size(), QLatin1Char('-')) + QLatin1Char('\n');
    for (const Measurement &m : measurements) {
        out += padded(m.title, titleWidth) + QStringLiteral("  ") + padded(m.unit, 4)
            + padded(QString::number(m.samples.size()), 8, true)
            + padded(figure(m.median()), 11, true) + padded(figure(m.p95()), 11, true)
            + padded(m.baseline.empty() ? QStringLiteral("-") : figure(m.baselineMedian()), 11, true)
            + padded(m.baseline.empty() ? QStringLiteral("-") : QString::number(m.ratio(), 'f', 2), 9, true)
            + QStringLiteral("  ") + padded(m.targetText(), 26) + QStringLiteral("  ") + m.status() + QLatin1Char('\n');
    }
    for (const Pending &p : pending)
        out += padded(p.title, titleWidth) + QStringLiteral("  not yet\n");

    for (const Measurement &m : measurements) {
        if (!m.details.isEmpty()) {
            QStringList parts;
            for (auto it = m.details.cbegin(); it != m.details.cend(); ++it)
                parts << QStringLiteral("%1 %2").arg(it.key(), it.value().typeId() == QMetaType::Double
                                                                     ? figure(it.value().toDouble())
                                                                     : it.value().toString());
            out += QStringLiteral("\n%1: %2").arg(m.title, parts.join(QLatin1String(", ")));
        }
        for (const QString &d : m.disagreements)
            out += QStringLiteral("\n%1 DIFFERS from SQLite: %2").arg(m.title, d);
    }
    return out + QLatin1Char('\n');
}

QJsonObject toJson(const QList<Measurement> &measurements, const QList<Pending> &pending)
{
    QJsonArray ops;
    for (const Measurement &m : measurements) {
        QJsonObject o;
        o[QStringLiteral("id")] = m.id;
        o[QStringLiteral("title")] = m.title;
        o[QStringLiteral("unit")] = m.unit;
        o[QStringLiteral("runs")] = int(m.samples.size());
        o[QStringLiteral("median")] = m.median();
        o[QStringLiteral("p95")] = m.p95();
        o[QStringLiteral("max")] = m.max();
        if (!m.baseline.empty()) {
            o[QStringLiteral("baseline_runs")] = int(m.baseline.size());
            o[QStringLiteral("baseline_median")] = m.baselineMedian();
            o[QStringLiteral("baseline_p95")] = percentile(m.baseline, 0.95);
            o[QStringLiteral("ratio")] = m.ratio();
        }
        o[QStringLiteral("target")] = m.targetText();
        o[QStringLiteral("status")] = m.status();
        if (!m.disagreements.isEmpty())
            o[QStringLiteral("disagreements")] = QJsonArray::fromStringList(m.disagreements);
        if (!m.details.isEmpty())
            o[QStringLiteral("details")] = QJsonObject::fromVariantMap(m.details);
        ops << o;
    }
    QJsonArray later;
    for (const Pending &p : pending)
        later << QJsonObject{{QStringLiteral("id"), p.id}, {QStringLiteral("title"), p.title}, {QStringLiteral("status"), QStringLiteral("not yet")}};
    return QJsonObject{{QStringLiteral("operations"), ops}, {QStringLiteral("not_yet"), later}};
}

} // namespace bench
