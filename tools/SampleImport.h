#pragma once

#include <QString>
#include <QStringList>
#include <QList>

namespace data {

// Reads comma-separated text with RFC 4180 quoting; the first row is the header.
QList<QStringList> parseCsv(const QString &text);

// Builds a working folder from the plain-text sources (see sample/README.md): the database with
// every table filled, the English data set (in English.off, so that the folder opens in Spanish)
// and the pages. Throws store::Error naming the file and line of the first source that does not
// resolve, or listing, one a line with file and line, every breach of the grading convention and
// every cited name that has no record.
void importSample(const QString &sourceFolder, const QString &targetFolder);

// Doses in grams to percentages with one decimal that add up to exactly 100.
QList<double> dosesToPercentages(const QList<double> &doses);

} // namespace data
