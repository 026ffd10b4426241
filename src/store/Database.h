#pragma once

#include "SortKey.h"
#include "Statement.h"
#include "TableDef.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

struct sqlite3;

namespace store {

// What the store knows of a stored table, read back from the database itself.
struct TableInfo {
    QString name; // as stored
    QList<FieldDef> fields;
    QList<IndexDef> indexes;
    QString primaryField; // empty: the primary order is the insertion order
    QString rowidField;   // the auto-increment field, which is SQLite's rowid

    int fieldIndex(const QString &fieldName) const;
    const IndexDef *index(const QString &indexName) const;
};

// The rows of a whole table in the order of one index, with each row's sort key. Immutable once
// built: a change to the table makes a new one, and cursors move to it when they refresh.
struct Order {
    QString field; // empty: ordered by rowid
    bool caseInsensitive = false;
    bool descending = false;
    std::vector<qint64> rowids;
    std::vector<SortKey> keys;

    // Compares key and rowid of position i with a key and rowid; descending indexes run from
    // the highest key down, ties always by ascending rowid.
    int compare(size_t i, const SortKey &key, qint64 rowid) const;
    int compareKey(size_t i, const SortKey &key) const;
    // The position where a row with this key and rowid stands, or would stand.
    size_t lowerBound(const SortKey &key, qint64 rowid) const;
};

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

// A table name as the program spells it ("Usos.db", "USOS.DB", "English\Glossary.DB") split into
// the folder below the working folder and the bare table name.
struct TableAddress {
    QString subfolder; // empty for the working folder
    QString table;
    static TableAddress parse(const QString &name);
};

// The working folder and every database below it that the program has opened.
class Session {
public:
    explicit Session(const QString &folder, Database::OpenMode mode = Database::OpenMode::Existing);
    QString folder() const { return m_folder; }
    Database &database(const QString &subfolder = QString());
    // The database holding a named table and the table's bare name.
    std::pair<Database *, QString> resolve(const QString &tableName);

private:
    QString m_folder;
    QHash<QString, std::shared_ptr<Database>> m_databases; // by lower-case subfolder
};

} // namespace store
