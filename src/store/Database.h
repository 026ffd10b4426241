#pragma once

#include "Order.h"
#include "SortKey.h"
#include "Statement.h"
#include "TableDef.h"
#include "TableInfo.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

struct sqlite3;

namespace store {

// The database file of one folder. One file holds all of that folder's tables.
class Database {
public:
    enum class OpenMode { Existing, Create };
    static constexpr const char *FileName = "Herbaxis.sqlite";
    static constexpr int ApplicationId = 0x48425853; // "HBXS"

    // Opens the database of a folder. An existing file must be one of ours and pass SQLite's quick
    // check, otherwise nothing is written to it and Error names the file.
    Database(const QString &folder, OpenMode mode);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    static QString filePathFor(const QString &folder);
    static bool existsIn(const QString &folder);

    QString filePath() const { return m_path; }
    sqlite3 *handle() const { return m_db; }

    void exec(const QString &sql);
    qint64 lastInsertRowId() const;
    // A prepared statement kept for reuse: step it to its end or reset it before the next use.
    Statement &cached(const QString &sql);

    bool hasTable(const QString &name) const;
    const TableInfo &info(const QString &name);
    void createTable(const TableDef &def);
    // What differs between the stored table and the declaration; empty when they agree.
    QStringList checkTable(const TableDef &def);
    void createIndex(const QString &table, const IndexDef &index);

    // Whole-table orders, shared by every cursor on this database.
    std::shared_ptr<const Order> order(const QString &table, const QString &indexName);
    SortKey keyOf(const QString &table, const Order &order, qint64 rowid);

    enum class Change { Inserted, Updated, Deleted };
    void rowChanged(const QString &table, qint64 rowid, Change change);
    void tableReset(const QString &table);
    quint64 generation(const QString &table) const;

    void begin();
    void commit();
    void rollback();

    // Within its scope commits do not wait for the disk: for rows that the program recreates when
    // they are missing, so that a crash can cost nothing. The next ordinary commit makes them
    // durable with everything else.
    class LightCommits {
    public:
        explicit LightCommits(Database &db);
        ~LightCommits();
        LightCommits(const LightCommits &) = delete;
        LightCommits &operator=(const LightCommits &) = delete;

    private:
        Database &m_db;
    };

private:
    void openFile(int flags);
    void checkOurs();
    TableInfo readInfo(const QString &name);
    std::shared_ptr<Order> buildOrder(const TableInfo &info, const QString &indexName);

    QString m_path;
    sqlite3 *m_db = nullptr;
    QHash<QString, std::shared_ptr<Statement>> m_statements;
    QHash<QString, std::shared_ptr<TableInfo>> m_infos;              // by lower-case name
    QHash<QString, std::shared_ptr<const Order>> m_orders;           // by "table\nindex", lower case
    QHash<QString, quint64> m_generations;                           // by lower-case table name
};

} // namespace store

// A database is always reached through a session, and callers name the two together.
#include "Session.h"
