#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// One prepared SQLite statement. Values bind as parameters; nothing is ever pasted into SQL text.
class Statement {
public:
    Statement(sqlite3 *db, const QString &sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(int index, const QVariant &value); // 1-based
    bool step();                                 // true while a row is available
    void reset();
    void run(); // steps to the end

    int columnCount() const;
    bool isNull(int column) const;
    qint64 int64(int column) const;
    QVariant value(int column) const; // typed by what SQLite holds
    QString sql() const { return m_sql; }

private:
    [[noreturn]] void fail(const char *what) const;

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    QString m_sql;
};

} // namespace store
