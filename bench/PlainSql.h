#pragma once

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

#include <stdexcept>

namespace bench {

// The baselines talk to SQLite directly, with nothing of the store in between: a connection of
// their own on the same file, prepared statements, values taken straight from the columns.
class PlainDb {
public:
    explicit PlainDb(const QString &file)
    {
        if (sqlite3_open_v2(file.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
            sqlite3_close_v2(m_db);
            throw std::runtime_error(message);
        }
    }
    ~PlainDb() { sqlite3_close_v2(m_db); }
    PlainDb(const PlainDb &) = delete;
    PlainDb &operator=(const PlainDb &) = delete;
    sqlite3 *handle() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

class PlainQuery {
public:
    PlainQuery(const PlainDb &db, const QString &sql) : m_db(db.handle())
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
    }
    ~PlainQuery() { sqlite3_finalize(m_stmt); }
    PlainQuery(const PlainQuery &) = delete;
    PlainQuery &operator=(const PlainQuery &) = delete;

    void bind(int index, qint64 value) { sqlite3_bind_int64(m_stmt, index, value); }
    void bind(int index, const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        return rc == SQLITE_ROW;
    }
    void reset() { sqlite3_reset(m_stmt); }

    qint64 int64(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString text(int column) const
    {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        return t ? QString::fromUtf8(t, sqlite3_column_bytes(m_stmt, column)) : QString();
    }
    int columnCount() const { return sqlite3_column_count(m_stmt); }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace bench
